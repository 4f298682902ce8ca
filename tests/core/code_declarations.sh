#!/bin/sh
# code_declarations.sh - fails when a numbered code the program tests is
# declared again beside its one declaration:
# - a register or a text the dictionary names, declared as a number of its
#   own instead of by its generated name (FontVc::Number, Texts::...);
# - a country variant, run mode or VAT treatment declared as a number
#   outside its home (CountryVariant in core/company_variant.h, the run
#   modes in database/access/record_access.h, VatTreatment in
#   rules/vat_currency.h), or a variant word compared with a bare number;
# - a code of those kinds, or a report or document type, declared with the
#   same number in two product files;
# - an invoice kind, a row kind of a document, purchase invoice, receipt,
#   payment or voucher, or a ledger entry's kind declared as a constant of
#   its own (each is an enum: InvoiceKind, DocRowKind, ContractRowKind,
#   PurchaseRowKind in rules/invoice_kind.h, LedgerEntryKind, PaidRowKind in
#   rules/payment_kinds.h, the voucher row kinds in rules/rules_types.h),
#   or an invoice's kind or such a row's or entry's kind word compared with
#   or set to a bare number (an invoice's kind also to a payment-terms kind) (a form item's kind is a FormItemKind, a
#   window's kind a WindowKind); the same for a person payment's row kind and a
#   person-ledger entry's kind (PersPayRowKind, PersLedgerKind in
#   rules/payment_kinds.h);
# - an approve kind declared outside its table of names in rules/approval.h
#   (typed ApproveKind or under an approve kind's name), or passed to
#   ApproveRecord, ApproveRecordList, ApproveMarked, RunRecordAction or a
#   sub-ledger's hooks, or tested in the table's gate, as a bare number;
# - a statistics register's slot count or slot declared outside
#   operations/statistics_slots.h (CustomerStatSlot, ItemStatSlot,
#   VendorStatSlot), or a period block read or a statistic added with a
#   bare slot count;
# - a statement line's kind (StatementLineKind in operations/statement.h)
#   declared elsewhere, or read, set or compared as a bare number where the
#   statement lines are made and printed;
# - a word of the modules' menu tables (core/list_slot.h) or a window
#   type's menu-kind or related-type word (shell/window_table.h) declared
#   outside its home;
# - an output kind (OutputKind in core/output_kind.h) declared as a
#   number of its own, or a job record's output kind read, set or
#   compared (on either side) as a bare number, or switched on with a bare
#   number as a case.
# Product files are the sources outside tests/, bench/ and fuzz/; a
# declaration continued over several lines is read whole, and a constant
# of any integer type counts, however spelt (constexpr or const before or
# after the type, any integer type or auto, an unscoped enum's enumerator,
# #define; decimal or hex, or a sum or product of such numbers).
#
# Usage: code_declarations.sh SOURCE_ROOT DICT_HEADER
root=${1:?usage: code_declarations.sh SOURCE_ROOT DICT_HEADER}
header=${2:?usage: code_declarations.sh SOURCE_ROOT DICT_HEADER}
[ -r "$header" ] || { echo "no generated header at $header"; exit 2; }
cd "$root" || exit 2

files=$(find . -path ./build -prune -o -path ./tests -prune -o -path ./bench -prune -o -path ./fuzz -prune -o \
        \( -name '*.h' -o -name '*.cpp' \) -type f -print | sed 's|^\./||' | sort)
[ -n "$files" ] || { echo "no product file found under $root"; exit 2; }

# Every constant of an integer type given a number, in any spelling
# ("constexpr TYPE NAME = NUMBER", "const TYPE NAME{NUMBER}", "static const
# unsigned short NAME = 0x3u", "constexpr auto NAME = 3", "TYPE const NAME =
# 3", "#define NAME 3"), and every enumerator of an unscoped enum ("enum {
# ... }", "enum : TYPE { ... }", "enum NAME { ... }", on one line or
# several; one not given a number is one more than the one before), of the
# product as "FILE NAME NUMBER TYPE": TYPE is "integer" for every integer
# type, auto and an enumerator, else the type as written; several names of
# one declaration each on a line of its own; a declaration whose line ends
# in a comma, in "=" or before its name goes on on the next lines. A number
# is a literal in decimal or hex, whatever its suffix, or an expression of
# such literals ("1 + 2", "(1 << 4) - 1").
# shellcheck disable=SC2086
awk '
    # The value of a literal: decimal as written, hex turned decimal.
    function number(v,   n, i, neg) {
        sub(/[uUlL]+$/, "", v)
        if (v !~ /^-?0[xX]/) return v
        neg = v ~ /^-/
        sub(/^-?0[xX]/, "", v)
        n = 0
        for (i = 1; i <= length(v); i++) n = n * 16 + index("0123456789abcdef", tolower(substr(v, i, 1))) - 1
        return (neg ? "-" : "") sprintf("%.0f", n)
    }
    # Whether a type as written (words joined by "_") is an integer type.
    function integer(t,   words, i, n) {
        sub(/^std::/, "", t)
        if (t ~ /^(u?int(8|16|32|64)?_t|u?int_(least|fast)(8|16|32|64)_t|u?intptr_t|u?intmax_t|s?size_t|ptrdiff_t|auto)$/)
            return 1
        n = split(t, words, "_")
        for (i = 1; i <= n; i++)
            if (words[i] !~ /^(unsigned|signed|short|long|int|char)$/) return 0
        return n > 0
    }
    # The value of an expression of integer literals (+ - * / % << >>,
    # parentheses), as a decimal text; "" when it holds anything else.
    function value(s,   r) {
        E = s
        gsub(/[[:space:]]+/, "", E)
        EP = 1
        r = shifted()
        return (r != "" && EP > length(E)) ? sprintf("%.0f", r) : ""
    }
    function shifted(   a, b, op) {
        a = summed()
        while (a != "" && (substr(E, EP, 2) == "<<" || substr(E, EP, 2) == ">>")) {
            op = substr(E, EP, 2)
            EP += 2
            b = summed()
            if (b == "") return ""
            a = op == "<<" ? a * 2 ^ b : int(a / 2 ^ b)
        }
        return a
    }
    function summed(   a, b, op) {
        a = product()
        while (a != "" && (substr(E, EP, 1) == "+" || substr(E, EP, 1) == "-")) {
            op = substr(E, EP, 1)
            EP++
            b = product()
            if (b == "") return ""
            a = op == "+" ? a + b : a - b
        }
        return a
    }
    function product(   a, b, op) {
        a = unary()
        while (a != "" && (substr(E, EP, 1) == "*" || substr(E, EP, 1) == "/" || substr(E, EP, 1) == "%")) {
            op = substr(E, EP, 1)
            EP++
            b = unary()
            if (b == "" || (op != "*" && b == 0)) return ""
            a = op == "*" ? a * b : op == "/" ? int(a / b) : a % b
        }
        return a
    }
    function unary(   a) {
        if (substr(E, EP, 1) == "-") { EP++; a = unary(); return a == "" ? "" : -a }
        if (substr(E, EP, 1) == "+") { EP++; return unary() }
        if (substr(E, EP, 1) == "(") {
            EP++
            a = shifted()
            if (a == "" || substr(E, EP, 1) != ")") return ""
            EP++
            return a
        }
        if (match(substr(E, EP), /^(0[xX][0-9a-fA-F]+|[0-9]+)[uUlL]*/)) {
            a = substr(E, EP, RLENGTH)
            EP += RLENGTH
            return number(a) + 0
        }
        return ""
    }
    # An initialiser without the cast to an integer type it may carry:
    # TYPE(N), TYPE{N}, static_cast<TYPE>(N), N alone in braces.
    function uncast(v) {
        gsub(/^[[:space:]]+|[[:space:]]+$/, "", v)
        sub(/^static_cast<[^>]*>/, "", v)
        sub(/^(std::)?[A-Za-z_][A-Za-z_0-9]*[({]/, "(", v)
        sub(/^\{/, "(", v)
        sub(/\}$/, ")", v)
        return v
    }
    # The next line of the same file, its comment cut off; "" at its end.
    function more(   line) {
        if ((getline line) <= 0 || FNR == 1) return ""
        sub(/\/\/.*/, "", line)
        return " " line
    }
    /^[[:space:]]*#[[:space:]]*define[[:space:]]+[A-Za-z_][A-Za-z_0-9]*[[:space:]]+\(?-?(0[xX][0-9a-fA-F]+|[0-9]+)[uUlL]*\)?[[:space:]]*(\/\/.*|\/\*.*)?$/ {
        line = $0
        sub(/^[[:space:]]*#[[:space:]]*define[[:space:]]+/, "", line)
        name = line; sub(/[[:space:]].*/, "", name)
        lit = line; sub(/^[A-Za-z_0-9]+[[:space:]]+\(?/, "", lit); sub(/[)[:space:]\/].*/, "", lit)
        print FILENAME, name, number(lit), "integer"
        next
    }
    # An unscoped enum: each enumerator, numbered as the compiler numbers it.
    /^[[:space:]]*(typedef[[:space:]]+)?enum([[:space:]]+[A-Za-z_][A-Za-z_0-9]*)?[[:space:]]*(:[^{;]*)?(\{.*)?$/ {
        text = $0
        sub(/\/\/.*/, "", text)
        for (extra = 0; text !~ /}/ && extra < 400; extra++) {
            line = more()
            if (line == "") break
            text = text line
        }
        gsub(/\/\*([^*]|\*+[^*\/])*\*+\//, "", text)
        if (text !~ /\{/) next
        sub(/^[^{]*\{/, "", text)
        sub(/}.*/, "", text)
        n = split(text, parts, ",")
        following = 0
        for (i = 1; i <= n; i++) {
            p = parts[i]
            gsub(/^[[:space:]]+|[[:space:]]+$/, "", p)
            if (!match(p, /^[A-Za-z_][A-Za-z_0-9]*/)) continue
            name = substr(p, 1, RLENGTH)
            if (p ~ /=/) {
                v = p
                sub(/^[^=]*=/, "", v)
                following = value(uncast(v))
            }
            if (following == "") continue
            print FILENAME, name, following, "integer"
            following = sprintf("%.0f", following + 1)
        }
        next
    }
    # A constant, its type before or after its "const" or "constexpr".
    /^[[:space:]]*((static|inline|extern)[[:space:]]+)*(constexpr|const)[[:space:]]/ ||
    /^[[:space:]]*((static|inline|extern)[[:space:]]+)*((unsigned|signed|short|long|int|char)[[:space:]]+)*[A-Za-z_][A-Za-z_:0-9]*[[:space:]]+(constexpr|const)[[:space:]]+[A-Za-z_]/ {
        line = $0
        sub(/\/\/.*/, "", line)
        # Its name (or its value) on the next lines.
        for (extra = 0; line !~ /;/ && extra < 8 &&
             (line ~ /,[[:space:]]*$/ || line ~ /=[[:space:]]*$/ ||
              line ~ /^[[:space:]]*(((static|inline|extern|constexpr|const|unsigned|signed|short|long|int|char)[[:space:]]+)*[A-Za-z_][A-Za-z_:0-9]*)?([[:space:]]+(const|constexpr))?[[:space:]]*$/); extra++) {
            add = more()
            if (add == "") break
            line = line add
        }
        # East const: "TYPE const NAME" read as "const TYPE NAME".
        if (line !~ /^[[:space:]]*((static|inline|extern)[[:space:]]+)*(constexpr|const)[[:space:]]/) {
            sub(/^[[:space:]]*((static|inline|extern)[[:space:]]+)*/, "", line)
            if (!match(line, /^((unsigned|signed|short|long|int|char)[[:space:]]+)*[A-Za-z_][A-Za-z_:0-9]*[[:space:]]+(constexpr|const)[[:space:]]+/)) next
            head = substr(line, 1, RLENGTH)
            line = substr(line, RLENGTH + 1)
            sub(/[[:space:]]+(constexpr|const)[[:space:]]+$/, "", head)
            line = "const " head " " line
        }
        sub(/^[[:space:]]*(((static|inline|extern|constexpr|const)[[:space:]]+))+/, "", line)
        if (match(line, /^((unsigned|signed|short|long|int|char)[[:space:]]+)+/)) {
            type = substr(line, 1, RLENGTH)
            line = substr(line, RLENGTH + 1)
            gsub(/[[:space:]]+$/, "", type)
            gsub(/[[:space:]]+/, "_", type)
        } else {
            type = line
            sub(/[[:space:]].*/, "", type)
            if (!sub(/^[A-Za-z_:0-9]+[[:space:]]+/, "", line)) next
        }
        sub(/^(const|constexpr)[[:space:]]+/, "", line)
        if (integer(type)) type = "integer"
        sub(/;.*/, "", line)
        n = split(line, parts, ",")
        for (i = 1; i <= n; i++) {
            p = parts[i]
            gsub(/^[[:space:]]+|[[:space:]]+$/, "", p)
            # NAME = N, NAME{N}, NAME = {N}, NAME(N), the number perhaps
            # cast to an integer type or an expression of numbers.
            if (!match(p, /^[A-Za-z_][A-Za-z_0-9]*[[:space:]]*(=[[:space:]]*)?/)) continue
            name = p; sub(/[^A-Za-z_0-9].*/, "", name)
            given = substr(p, 1, RLENGTH) ~ /=/
            v = substr(p, RLENGTH + 1)
            if (!given && v !~ /^[({]/) continue   # no initialiser
            v = value(uncast(v))
            if (v != "") print FILENAME, name, v, type
        }
    }' $files > "${TMPDIR:-/tmp}/code_decl.$$"
decls="${TMPDIR:-/tmp}/code_decl.$$"
trap 'rm -f "$decls" "$decls.reg" "$decls.txt"' EXIT
[ -s "$decls" ] || { echo "no constant declaration was read"; exit 2; }

# The numbers the dictionary names: registers and texts.
sed -n 's|^namespace [A-Za-z0-9_]* {  // register \([0-9]*\)$|\1|p' "$header" | sort -u > "$decls.reg"
sed -n '/^namespace Texts {/,/^}/s|^inline constexpr [a-z0-9_]* [A-Za-z0-9_]* = \([0-9]*\);$|\1|p' "$header" |
    sort -u > "$decls.txt"
[ -s "$decls.reg" ] && [ -s "$decls.txt" ] || { echo "no register or text names in $header"; exit 2; }

failed=0
report() { echo "$1"; failed=1; }
# Each line of standard input, a place found, with what to do of it, into
# $decls.txt; then findings fails the check when there were any. (Two
# steps: the end of a pipeline runs in a shell of its own.)
tell() { while IFS= read -r hit; do echo "$hit: $1"; done > "$decls.txt"; }
findings() { [ -s "$decls.txt" ] && { cat "$decls.txt"; failed=1; }; }

# A register or named text under a number of its own.
while read -r file name value _; do
    case "$name" in
        First*Register | Last*Register) ;;   # a range's bound, not a register
        *Register | *Reg)
            grep -qx -e "$value" "$decls.reg" && report "$file: $name = $value is register $value: use its generated name" ;;
        *Text | *Text[A-Z]* | Text*)
            grep -qx -e "$value" "$decls.txt" && report "$file: $name = $value is a named text: use Texts::" ;;
    esac
done < "$decls"

# Variants, run modes and VAT treatments away from their home.
while read -r file name value _; do
    case "$name" in
        *Variant*) report "$file: $name = $value: a country variant is a CountryVariant" ;;
        *RunMode* | *ClientMode* | *ServerMode*)
            [ "$file" = database/access/record_access.h ] || [ "$value" -gt 3 ] ||
                report "$file: $name = $value: the run modes are record_access.h's" ;;
        *Treatment*) report "$file: $name = $value: a VAT treatment is a VatTreatment" ;;
    esac
done < "$decls"
# shellcheck disable=SC2086
grep -n 'CompanyVariant()[[:space:]]*[!=]=[[:space:]]*[0-9]\|VatTreatment)[[:space:]]*[!=]=[[:space:]]*[0-9]' $files |
    tell "compare with the code's name, not its number"
findings

# Invoice, row and entry kinds, approve kinds, statistics slots and
# statement line kinds as constants of their own, and the menu tables' and
# window types' words away from their homes.
invoice_kind='(Invoice|Purchase)?Kind(Cash|Credit|Interest|Invoice|Ordinary)|InvoiceCredit|CreditKind'
invoice_kind="$invoice_kind|CreditNote(Kind|Terms)?|OrdinaryInvoice|InterestKind"
row_kind='Row(Kind)?(Item|Text|Credit|Credited|Interest|Amount|DownPayment|Paid|Discount|Summed|Fee|Account|Note)'
row_kind="$row_kind|Row(Kind)?(Dated|Link|Reference)|VoucherCorrectionKind"
row_kind="$row_kind|(Item|Text|Interest|Amount|Sum|PaidInvoice|CreditNote|Reference|Link|Correction|Account)Row(Kind)?"
row_kind="$row_kind|Kind(Item|Amount|DownPayment|Account|AccountRow|Credited)"
row_kind="$row_kind|(Invoice|Purchase|Receipt|Payment)Row(Item|Text|DownPayment|Account|Credited|Paid|Discount|Fee)"
entry_kind='(Vend|Cust)?Entry(Invoice|Receipt|Payment)|ReceiptEntry|LedgerInvoice|TransKind[A-Z][A-Za-z]*'
menu_word='ModuleMenu[A-Za-z]*|ModuleEntry[A-Za-z]*|Modules(Type|Text)|MenuKind[A-Za-z]*|RelatedType[A-Za-z]*'
approve_kind='ApproveKind[A-Z][A-Za-z0-9]*|Kind(PostInvoice|Invoice|InvoiceAgain|Order2?|Shipment|Quotation|PurchaseOrder)'
approve_kind="$approve_kind|Kind(ToLedger|Approve[A-Za-z]*)|[A-Za-z]*(Print|Ledger)Kind(Nr)?|InvoicePrintKind"
stat_slot='(Customer|Item|Stat|Vendor|VendorBalance)Kinds|Slot(Paid|Invoiced|Sales|Cost|Quantity|Home[A-Za-z]*)|Kinds[A-Z][A-Za-z]*'
stat_slot="$stat_slot|Kind(Invoiced|HomeTotal|Movement)|(Customer|Item)(Sales|Cost)"
statement_kind='Kind(CreditOfCash|Payment)|StatementKind[A-Za-z]*|StatementLineKind[A-Za-z]*'
output_kind='(Out|Output|Device|Kind)(To)?(Printer|Preview|TextFile|File|TabFile|CharPrinter|JobQueue|Buffer|BufferKeep)(Kind)?'
output_kind="$output_kind|(Out|Output|Device)(To)?(BufferKept|Screen|None|Nowhere)|(Printer|Preview|TextFile|TabFile)Output(Kind)?"
output_kind="$output_kind|[A-Za-z]*OutputKind"
awk -v inv="^($invoice_kind)\$" -v row="^($row_kind)\$" -v entry="^($entry_kind)\$" -v menu="^($menu_word)\$" \
    -v approve="^($approve_kind)\$" -v slot="^($stat_slot)\$" -v statement="^($statement_kind)\$" \
    -v output="^($output_kind)\$" '
    $4 == "ApproveKind" && $1 != "rules/approval.h" {
        print $1 ": " $2 " = " $3 ": an approve kind is named in rules/approval.h\047s table"
        next
    }
    $4 != "integer" { next }
    {
        what = ""
        if ($2 ~ approve && $1 != "rules/approval.h") what = "an approve kind is named in rules/approval.h\047s table"
        else if ($2 ~ slot && $1 != "operations/statistics_slots.h")
            what = "a statistics slot is operations/statistics_slots.h\047s"
        else if ($2 ~ statement && $1 != "operations/statement.h") what = "a statement line\047s kind is a StatementLineKind"
        else if ($2 ~ output && $1 != "core/output_kind.h") what = "an output kind is an OutputKind (core/output_kind.h)"
        else if ($2 ~ inv) what = "an invoice kind is an InvoiceKind"
        else if ($2 ~ row && $1 != "rules/rules_types.h")
            what = "a row kind is its register\047s enum (DocRowKind, PurchaseRowKind, PaidRowKind, ...)"
        else if ($2 ~ entry) what = "a ledger entry\047s kind is a LedgerEntryKind"
        else if ($2 ~ menu && $1 != "core/list_slot.h" && $1 != "shell/window_table.h")
            what = "the menu tables\047 words are core/list_slot.h\047s, a window type\047s shell/window_table.h\047s"
        if (what != "") print $1 ": " $2 " = " $3 ": " what
    }' "$decls" > "$decls.txt"
findings
# A kind word read or set as a bare number.
kind_word='Get[UI]16\([^;]*::InvType\)[[:space:]]*[!=]=[[:space:]]*[0-9]|::InvType,[[:space:]]*[0-9]\)'
kind_word="$kind_word|WinKindOf\\([^)]*\\)[[:space:]]*[!=]=[[:space:]]*[0-9]"
kind_word="$kind_word|Get[UI]16\\([^;]*::OutputKind\\)[[:space:]]*[!=]=[[:space:]]*[0-9]|::OutputKind,[[:space:]]*[0-9]+\\)"
kind_word="$kind_word|(^|[^A-Za-z_0-9.])[0-9][0-9a-fA-FxXuUlL]*[[:space:]]*[!=]=[[:space:]]*Get[UI]16\\([^;]*::OutputKind\\)"
rows='(IVVc|VIVc|IPVc|OPVc|TRVc|ORVc|PurchOrderVc|ContractVc|ExpenseVc|PersPayVc|DocVc)::Rows::Kind'
entries='(CustTransVc|VLVc|PersLedgerVc)::Kind'
# shellcheck disable=SC2086
grep -nE -e "$kind_word" -e "Get[UI]16\([^;]*$rows\)[[:space:]]*[!=]=[[:space:]]*[0-9]" -e "$rows,[[:space:]]*[0-9]\)" \
         -e "Get[UI]16\([^;]*$entries\)[[:space:]]*[!=]=[[:space:]]*[0-9]" -e "$entries,[[:space:]]*[0-9]\)" $files |
    tell "name the kind, not its number"
findings
# An output kind read into a name of its own and then compared with a
# bare number (on either side), and a switch on an output kind, read
# there or held in such a name, with a bare number as a case of its own
# (a case of a switch nested in it is that switch's).
# shellcheck disable=SC2086
grep -lE '::OutputKind\)' $files | xargs -r awk '
    FNR == 1 { split("", held); depth = 0; top = 0; pending = 0 }
    match($0, /[A-Za-z_][A-Za-z_0-9]*[[:space:]]*=[[:space:]]*Get[UI]16\([^;]*::OutputKind\)/) {
        name = substr($0, RSTART, RLENGTH)
        sub(/[[:space:]]*=.*/, "", name)
        held[name] = 1
    }
    {
        hit = 0
        for (name in held)
            if ($0 ~ ("(^|[^A-Za-z_0-9])" name "[[:space:]]*[!=]=[[:space:]]*[0-9]") ||
                $0 ~ ("(^|[^A-Za-z_0-9.])[0-9][0-9a-fA-FxXuUlL]*[[:space:]]*[!=]=[[:space:]]*" name "([^A-Za-z_0-9]|$)"))
                hit = 1
        # Braces and cases of the code alone: no text, character or comment.
        code = $0
        gsub(/"([^"\\]|\\.)*"/, "\"\"", code)
        gsub(/\047([^\047\\]|\\.)*\047/, "0", code)
        sub(/\/\/.*/, "", code)
        for (i = 1; i <= length(code); i++) {
            c = substr(code, i, 1)
            before = i > 1 ? substr(code, i - 1, 1) : " "
            if (c == "{") {
                depth++
                if (pending) { body[++top] = depth; pending = 0 }
            } else if (c == "}") {
                if (top && depth == body[top]) top--
                depth--
            } else if (before !~ /[A-Za-z_0-9]/ && substr(code, i, 6) == "switch" &&
                       match(substr(code, i), /^switch[[:space:]]*\(/)) {
                on = substr(code, i + RLENGTH)
                if (on ~ /^[^;{]*Get[UI]16\([^;{]*::OutputKind\)/) pending = 1
                for (name in held)
                    if (on ~ ("^[[:space:]]*" name "[[:space:]]*\\)")) pending = 1
            } else if (top && depth == body[top] && before !~ /[A-Za-z_0-9]/ &&
                       match(substr(code, i), /^case[[:space:]]*\(?[[:space:]]*-?(0[xX][0-9a-fA-F]+|[0-9]+)[uUlL]*[[:space:]]*\)?[[:space:]]*:/)) {
                hit = 1
            }
        }
        if (hit) print FILENAME ":" FNR ":" $0
    }' | tell "name the output kind (OutputKind), not its number"
findings
# An invoice's kind word compared with or set to a payment-terms kind: the
# two share numbers that mean other things (4 is next month in one, an
# interest invoice in the other).
terms_kind='(Terms[A-Z][A-Za-z]*|[A-Za-z_:]*PayTermsKind::[A-Za-z]+)'
# shellcheck disable=SC2086
grep -nE -e "Get[UI]16\([^;]*::InvType\)[[:space:]]*[!=]=[[:space:]]*(u?int16_t\()?$terms_kind" \
         -e "::InvType,[[:space:]]*(u?int16_t\()?$terms_kind" $files |
    tell "an invoice's kind is an InvoiceKind, not a payment-terms kind"
findings
# An approve kind, a statistics slot count or a statement line's kind as a
# bare number.
approve_call='(ApproveRecord|ApproveRecordListLocal|ApproveAllowed)\([[:space:]]*[0-9]+[[:space:]]*,'
approve_call="$approve_call|(ApproveRecordList|ApproveMarked|RunRecordAction)\([^,()]*,[[:space:]]*[0-9]+[[:space:]]*,"
approve_call="$approve_call|SubLedgerEntry<[^,<>]*,[[:space:]]*[0-9]+[[:space:]]*,"
slot_count='PeriodBalance(Change|At|Before)\([^,]*,[[:space:]]*[0-9]+[[:space:]]*,|AddStatistics\(\{[^}]*,[[:space:]]*[0-9]+[[:space:]]*\}'
line_kind='GetI16\([^;]*StatementLine::Kind\)[[:space:]]*[!=<>]=?[[:space:]]*-?[0-9]|StatementLine::Kind,[[:space:]]*-?[0-9]'
line_kind="$line_kind|KindSum\([^;]*\{[[:space:]]*-?[0-9]"
# shellcheck disable=SC2086
{
    grep -nE -e "$approve_call" -e "$slot_count" -e "$line_kind" $files
    # The gate of the approve kinds' table, and where statement lines are
    # made and printed, say the kind by its name.
    grep -HnE '\b[Kk]ind[[:space:]]*[!=]=[[:space:]]*-?[0-9]|case[[:space:]]+-?[0-9]+:' operations/approval.cpp
    grep -lE 'StatementLine::Kind|void StatementKindText\(' $files |
        xargs -r grep -HnE '\b[Kk]ind[[:space:]]*[!=]=[[:space:]]*-?[0-9]'
} | tell "name the kind or slot, not its number"
findings

# One number of one kind declared in two files.
awk '{
        kind = ""
        if ($2 ~ /^(First|Last)/) next   # the bound of a range, not a code
        if ($2 ~ /Variant/) kind = "variant"
        else if ($2 ~ /RunMode|ClientMode|ServerMode/) kind = "run mode"
        else if ($2 ~ /Treatment/) kind = "VAT treatment"
        else if ($2 ~ /Register$|Reg$/) kind = "register"
        else if ($2 ~ /DocType|Report$|ReportNumber$/) kind = "report or document type"
        if (kind == "") next
        key = kind " " $3
        if (key in first && first[key] != $1) print first[key] ": " where[key] " and " $1 ": " $2 " are both " kind " " $3
        else if (!(key in first)) { first[key] = $1; where[key] = $2 }
    }' "$decls" > "$decls.txt"
findings

[ $failed -eq 0 ] && echo "$(wc -l < "$decls") constants read: each code the checks know is declared once"
exit $failed
