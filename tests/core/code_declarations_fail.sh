#!/bin/sh
# code_declarations_fail.sh - shows that the declaration check refuses a
# second declaration, or a bare number, of the codes that have one home:
# approve kinds, statistics slots, statement line kinds, the person
# payment and person-ledger kinds, invoice and row kinds declared in any
# integer spelling (an enum's enumerator, east const, the name on the next
# line, a sum of numbers) or an invoice's kind taken for a payment-terms
# kind, and an output kind declared or used as a bare number (compared
# either way round, or as a case of a switch on it).
#
# A scratch tree of one harmless file must pass, so that a failure is the
# probe and not a broken set-up; then each probe, put into a file of its
# own, must fail the check and be named by it.
#
# Usage: code_declarations_fail.sh SOURCE_ROOT DICT_HEADER WORK_DIR
root=${1:?usage: code_declarations_fail.sh SOURCE_ROOT DICT_HEADER WORK_DIR}
header=${2:?usage: code_declarations_fail.sh SOURCE_ROOT DICT_HEADER WORK_DIR}
work=${3:?usage: code_declarations_fail.sh SOURCE_ROOT DICT_HEADER WORK_DIR}
check="$root/tests/core/code_declarations.sh"
rm -rf "$work" && mkdir -p "$work/core" "$work/operations" || exit 2

printf 'constexpr int Harmless = 1;\n' > "$work/core/clean.h"
if ! sh "$check" "$work" "$header" > "$work/clean.log" 2>&1; then
    cat "$work/clean.log"
    echo "FAIL: a tree of one harmless constant was refused"
    exit 1
fi

# FILE|TEXT: the probe's file (from the tree's root) and its text (\n
# between lines).
probes=$(cat <<'EOF'
recordwin/probe.cpp|constexpr ApproveKind PrintTheInvoice = 11;
operations/probe.cpp|constexpr ApproveKind KindToLedger = 23;
output/probe.cpp|constexpr uint16_t KindPostInvoice = 1;
output/probe.cpp|constexpr uint16_t Lead = 1,\n                   KindQuotation = 25;
operations/probe.cpp|    ok = ApproveRecord(26, ORVc::Number, recid);
recordwin/probe.cpp|    if (button == 1) ApproveMarked(window, 5, VIVc::Number);
rules/probe.cpp|    return RunRecordAction(0, 16, reg, recid);
operations/approval.cpp|    case 16: return !FlagSet(record, Voucher::Reg18Done);
reports/probe.cpp|constexpr int CustomerKinds = 5, KindInvoiced = 1;
operations/probe.cpp|constexpr int SlotPaid = 2;
reports/probe.cpp|    PeriodBalanceAt(amounts, 5, CustomerStatSlot::Paid, to, &paid);
exchange/probe.cpp|constexpr int StatKinds = 3;
operations/probe.cpp|constexpr int16_t KindCreditOfCash = -3, KindPayment = 6;
output/probe.cpp|    if (GetI16(line, StatementLine::Kind) == 6) return;
output/probe.cpp|    Amount(KindSum(st, {1, 2, 3, 4}), FtAmount2, out);
output/probe.cpp|void StatementKindText(int16_t kind, uint8_t *out) { if (kind == 6) out[0] = 0; }
operations/probe.cpp|    PutU16(entry, PersLedgerVc::Kind, 1);
reports/probe.cpp|    if (GetU16(row, PersPayVc::Rows::Kind) != 1) continue;
exchange/probe.cpp|    if (text[0] == 0 && GetU16(row, DocVc::Rows::Kind) == 4) return;
shell/probe.cpp|    if (WinKindOf(n) == 4) PreviewPaint(n);
rules/probe.cpp|constexpr int KindCredit = 3;
rules/probe.cpp|static const unsigned short CreditKind = 3;
output/probe.cpp|constexpr std::uint16_t RowKindText{0x3u};
reports/probe.cpp|const long KindInvoice(1);
exchange/probe.cpp|inline constexpr auto InterestKind = 4;
recordwin/probe.cpp|#define KindCash 2
operations/probe.cpp|constexpr size_t TextRow = uint16_t(3);
rules/probe.cpp|    if (GetU16(invoice, IVVc::InvType) != TermsNextMonth) return;
rules/probe.cpp|    PutU16(pi, VIVc::InvType, uint16_t(PayTermsKind::Ordinary));
rules/probe.h|enum : int { KindCredit = 3 };
rules/probe.h|enum { Lead, KindCredit };
rules/probe.h|enum InvoiceKinds : uint16_t {\n    KindCash = 2, // paid at once\n    KindCredit,\n};
rules/probe.h|typedef enum\n{\n    KindCredit = 3\n} Kinds;
rules/probe.cpp|int const KindCredit = 3;
rules/probe.cpp|static unsigned short const CreditKind{3};
rules/probe.cpp|constexpr int\n    KindCredit = 3;
rules/probe.cpp|constexpr int KindCredit = 1 + 2;
rules/probe.cpp|constexpr uint16_t KindCredit =\n    (1 << 2) - 1;
output/probe.cpp|constexpr uint16_t OutPreview = 6;
shell/probe.cpp|    PutU16(own.job.selection, ReportParamsVc::OutputKind, 6);
reports/probe.cpp|    if (GetU16(params, P::OutputKind) != 1) return false;
reports/probe.cpp|    uint16_t kind = GetU16(job.selection, ReportParamsVc::OutputKind);\n    if (kind == 2 || kind == 12) OpenFile();
reports/probe.cpp|    if (6 == GetU16(job, ReportParamsVc::OutputKind)) ShowPreview();
output/probe.cpp|    switch (GetU16(job.selection, ReportParamsVc::OutputKind)) {\n    case KindPrinter: { Print(); break; }\n    case 6: ShowPreview(); break;\n    }
shell/probe.cpp|    const uint16_t kind = GetU16(job, P::OutputKind);\n    switch (kind) { case KindPrinter: Print(); break; case 12: Save(); break; }
EOF
)
count=0
printf '%s\n' "$probes" > "$work/probes.txt"
while IFS='|' read -r file line; do
    mkdir -p "$work/$(dirname "$file")"
    printf '%b\n' "$line" > "$work/$file"
    if sh "$check" "$work" "$header" > "$work/probe.log" 2>&1; then
        echo "FAIL: $file holds '$line', yet the check passed"
        exit 1
    fi
    grep -q "^$file" "$work/probe.log" || {
        cat "$work/probe.log"
        echo "FAIL: the check failed but did not name $file for '$line'"
        exit 1
    }
    rm -f "$work/$file"
    count=$((count + 1))
done < "$work/probes.txt"
echo "$count probes refused, each naming its file"
