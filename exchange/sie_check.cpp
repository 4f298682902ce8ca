// sie_check.cpp - the first pass of the SIE import: every line of the
// source read into memory, and the lines of the tags the import reads
// checked (field counts, codes, dates, amounts, #SIETYP, every #VER
// opened by "{", closed by "}" and balanced, #TRANS only inside one).
// Nothing is stored here; a file that fails is refused as a whole with
// its first fault, so the database stays as it was. The store pass reads
// only the items this pass made.
//
// Object codes are checked over the whole file before it is refused, so
// that the refusal names every code the register cannot hold, and every
// code that two dimensions share (the register keys an object by its
// code alone: stored, the two would become one and the bookings of one
// dimension would read as the other's).
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "exchange/import_lines.h"
#include "exchange/sie.h"
#include "exchange/text_exchange.h"

namespace {

// The widths of the codes the import stores.
constexpr size_t AccountMax = 10, ObjectCodeWidth = 5, ObjectsPerRow = 5, LineMax = 254;

struct Checker {
    std::vector<SieItem> *items;
    uint32_t line = 0;      // the line being checked
    int fault = 0;
    std::string detail;     // the field or tag at fault
    long type = 1;          // the SIE type read so far
    // Object codes too long for the register, and codes two dimensions
    // share, each named once in the order met, and the first line of each.
    std::vector<std::string> longCodes, sharedCodes;
    uint32_t longLine = 0, sharedLine = 0;
    std::map<std::string, std::string> dimensionOf;     // object code -> its first dimension
    std::set<std::string> declared;                     // codes of #OBJEKT lines
    std::set<std::string> namedCodes;                   // codes voucher rows named before their #OBJEKT
    std::vector<std::pair<std::string, std::string>> named;   // their (dimension, code), in the order met

    bool Fail(int text, const std::string &what)
    {
        fault = text;
        detail = what;
        return false;
    }
};

// The text of field i, empty when the line has fewer fields.
const std::string &At(const std::vector<SieField> &f, size_t i)
{
    static const std::string none;
    return i < f.size() ? f[i].text : none;
}

bool NeedFields(Checker &c, const std::vector<SieField> &f, size_t n)
{
    return f.size() >= n + 1 || c.Fail(Texts::SieFaultFieldMissing, At(f, 0));
}

bool Account(Checker &c, const std::string &a)
{
    return (!a.empty() && a.size() <= AccountMax) || c.Fail(Texts::SieFaultAccount, a);
}

bool Amount(Checker &c, const std::string &t, PackedDecimal *v)
{
    return SieAmountRead(t, v) || c.Fail(Texts::SieFaultAmount, t);
}

bool Date(Checker &c, const std::string &t, DateRec *d)
{
    return SieDateRead(t, d) || c.Fail(Texts::SieFaultDate, t);
}

bool Integer(Checker &c, const std::string &t, long lo, long hi, long *v)
{
    return SieIntegerRead(t, lo, hi, v) || c.Fail(Texts::SieFaultNumber, t);
}

void NoteOnce(std::vector<std::string> *codes, uint32_t *first, uint32_t line, const std::string &code)
{
    for (const std::string &k : *codes)
        if (k == code) return;
    if (codes->empty()) *first = line;
    codes->push_back(code);
}

// An empty code is refused at once; one longer than the register holds
// is noted and the check goes on, to name them all.
bool ObjectCode(Checker &c, const std::string &code)
{
    if (code.empty()) return c.Fail(Texts::SieFaultObjectCode, code);
    if (code.size() > ObjectCodeWidth) NoteOnce(&c.longCodes, &c.longLine, c.line, code);
    return true;
}

// An object the import stores under dimension: a code already met under
// another dimension is noted as shared.
void ObjectUse(Checker &c, const std::string &dimension, const std::string &code)
{
    auto [at, fresh] = c.dimensionOf.emplace(code, dimension);
    if (!fresh && at->second != dimension) NoteOnce(&c.sharedCodes, &c.sharedLine, c.line, code);
}

// The codes of an object list joined by ",", each checked; the objects
// of a row the import stores (stored) are noted by dimension too.
bool ObjectList(Checker &c, const SieField &f, std::string *joined, bool stored = false)
{
    joined->clear();
    std::vector<std::pair<std::string, std::string>> pairs;
    if (!f.list || !SieObjectPairs(f.text, &pairs)) return c.Fail(Texts::SieFaultObjects, f.text);
    if (pairs.size() > ObjectsPerRow) return c.Fail(Texts::SieFaultObjects, f.text);
    for (const auto &p : pairs) {
        if (!ObjectCode(c, p.first) || !ObjectCode(c, p.second)) return false;
        if (stored) {
            ObjectUse(c, p.first, p.second);
            if (c.declared.count(p.second) == 0 && c.namedCodes.insert(p.second).second) c.named.push_back(p);
        }
        if (!joined->empty()) *joined += ',';
        *joined += p.second;
    }
    return true;
}

// A row of a #VER block: account, object list, amount, and the optional
// transaction date, text and second amount.
bool TransRowOf(Checker &c, const std::vector<SieField> &f, SieRow *row)
{
    if (!NeedFields(c, f, 3) || !Account(c, At(f, 1)) || !ObjectList(c, f[2], &row->objects, true) ||
        !Amount(c, At(f, 3), &row->amount))
        return false;
    row->account = At(f, 1);
    DateRec d;
    if (!At(f, 4).empty() && !Date(c, At(f, 4), &d)) return false;
    row->text = At(f, 5);
    DecSetZero(&row->amount2);
    return At(f, 6).empty() || Amount(c, At(f, 6), &row->amount2);
}

// Checks a line outside a voucher block and adds its item when the
// import reads its tag at the current type.
bool PlainLine(Checker &c, const std::vector<SieField> &f)
{
    const std::string &tag = At(f, 0);
    SieItem it;
    it.line = c.line;
    auto add = [&](SieTag t) {
        it.tag = t;
        c.items->push_back(std::move(it));
        return true;
    };
    if (tag == "#SIETYP") {
        if (!NeedFields(c, f, 1)) return false;
        if (!SieIntegerRead(At(f, 1), 1, 4, &it.number)) return c.Fail(Texts::SieFaultType, At(f, 1));
        c.type = it.number;
        return add(SieTag::SieType);
    }
    if (tag == "#ORGNR") {
        // Written empty by programs of companies without a number: stored empty.
        it.a = At(f, 1);
        return add(SieTag::OrgNr);
    }
    if (tag == "#FNAMN") {
        if (!NeedFields(c, f, 1)) return false;
        it.a = At(f, 1);
        return add(SieTag::CompanyName);
    }
    if (tag == "#ADRESS") {
        // contact (dropped), address line 1, address line 2, telephone
        it.a = At(f, 2), it.b = At(f, 3), it.c = At(f, 4);
        return add(SieTag::Address);
    }
    if (tag == "#RAR") {
        if (!NeedFields(c, f, 3) || !Integer(c, At(f, 1), -99, 99, &it.number) || !Date(c, At(f, 2), &it.date1) ||
            !Date(c, At(f, 3), &it.date2))
            return false;
        if (DateCompare(&it.date1, &it.date2) > 0) return c.Fail(Texts::SieFaultYears, At(f, 2) + " " + At(f, 3));
        return add(SieTag::Year);
    }
    if (tag == "#KONTO" || tag == "#KTYP") {
        if (!NeedFields(c, f, 1) || !Account(c, At(f, 1))) return false;
        it.a = At(f, 1), it.b = At(f, 2);
        return add(tag == "#KONTO" ? SieTag::Account : SieTag::AccountType);
    }
    const bool objects = c.type == 3 || c.type == 4;
    if (objects && tag == "#DIM") {
        if (!NeedFields(c, f, 1) || !ObjectCode(c, At(f, 1))) return false;
        it.a = At(f, 1), it.b = At(f, 2);
        return add(SieTag::Dimension);
    }
    if (objects && tag == "#OBJEKT") {
        if (!NeedFields(c, f, 2) || !ObjectCode(c, At(f, 1)) || !ObjectCode(c, At(f, 2))) return false;
        ObjectUse(c, At(f, 1), At(f, 2));
        c.declared.insert(At(f, 2));
        it.a = At(f, 1), it.b = At(f, 2), it.c = At(f, 3);
        return add(SieTag::Object);
    }
    if (tag == "#IB" || (c.type == 1 && (tag == "#UB" || tag == "#RES"))) {
        if (!NeedFields(c, f, 3) || !Integer(c, At(f, 1), -99, 99, &it.number) || !Account(c, At(f, 2)) ||
            !Amount(c, At(f, 3), &it.amount))
            return false;
        it.a = At(f, 2);
        return add(tag == "#IB" ? SieTag::Opening : tag == "#UB" ? SieTag::Closing : SieTag::Result);
    }
    if (c.type == 2 && tag == "#PSALDO") {
        if (!NeedFields(c, f, 5) || !Integer(c, At(f, 1), -99, 99, &it.number)) return false;
        if (!SiePeriodRead(At(f, 2), &it.date1)) return c.Fail(Texts::SieFaultPeriod, At(f, 2));
        std::string joined;
        if (!Account(c, At(f, 3)) || !ObjectList(c, f[4], &joined) || !Amount(c, At(f, 5), &it.amount)) return false;
        // A line of one object's balance is a part of the account's total.
        if (!joined.empty()) return true;
        it.a = At(f, 3);
        return add(SieTag::PeriodBalance);
    }
    return true;   // a tag the import does not read
}

// Checks a #VER head: series, number (empty: the next free), date, text.
bool VoucherHead(Checker &c, const std::vector<SieField> &f, SieItem *it)
{
    it->tag = SieTag::Voucher;
    it->line = c.line;
    if (!NeedFields(c, f, 3)) return false;
    it->a = At(f, 1);
    it->number = -1;
    if (!At(f, 2).empty() && !Integer(c, At(f, 2), 0, 999999999, &it->number)) return false;
    if (!Date(c, At(f, 3), &it->date1)) return false;
    it->b = At(f, 4);
    return true;
}

std::string Joined(const std::vector<std::string> &codes)
{
    std::string out;
    for (const std::string &k : codes) out += (out.empty() ? "" : ", ") + k;
    return out;
}

// The faults only the whole file shows: object codes too long or shared,
// and a file that gives the import nothing to store (with or without its
// #SIETYP line).
bool WholeFileFaults(Checker &c)
{
    if (!c.longCodes.empty()) {
        c.line = c.longLine;
        return c.Fail(Texts::SieFaultObjectCodesLong, Joined(c.longCodes));
    }
    if (!c.sharedCodes.empty()) {
        c.line = c.sharedLine;
        return c.Fail(Texts::SieFaultObjectShared, Joined(c.sharedCodes));
    }
    bool typed = false;
    for (const SieItem &it : *c.items) {
        if (it.tag != SieTag::SieType) return true;
        typed = true;
    }
    // Without its #SIETYP line too, the file is no SIE file at all.
    c.line = 1;
    return c.Fail(typed ? Texts::SieFaultNothingRead : Texts::SieFaultNoType, "");
}

// Objects that voucher rows name without an #OBJEKT line become objects
// of the dimension the rows give (no name), stored before the first
// voucher: the company then knows them as the file used them.
void AddNamedObjects(Checker &c)
{
    std::vector<SieItem> made;
    for (const auto &[dimension, code] : c.named) {
        if (c.declared.count(code) != 0) continue;
        SieItem it;
        it.tag = SieTag::Object;
        it.a = dimension, it.b = code;
        made.push_back(std::move(it));
    }
    if (made.empty()) return;
    auto at = c.items->begin();
    while (at != c.items->end() && at->tag != SieTag::Voucher) ++at;
    for (SieItem &it : made) it.line = at == c.items->end() ? 0 : at->line;
    c.items->insert(at, std::make_move_iterator(made.begin()), std::make_move_iterator(made.end()));
}

}  // namespace

bool SieCheckLines(const std::vector<std::string> &lines, std::vector<SieItem> *items, uint32_t *line, int *fault,
                   std::string *detail)
{
    Checker c;
    c.items = items;
    items->clear();
    enum class Block { None, Expect, Open } block = Block::None;
    bool reading = false;   // the open block is a voucher the import reads
    SieItem voucher;
    __int128 sum = 0;
    uint32_t verLine = 0;
    size_t tagged = 0;
    std::vector<SieField> f;
    bool ok = true;
    for (size_t i = 0; ok && i < lines.size(); i++) {
        c.line = uint32_t(i + 1);
        if (lines[i].size() > LineMax) {
            ok = c.Fail(Texts::SieFaultLineTooLong, "");
            break;
        }
        // A brace line is a brace alone (blanks and TABs around it pass).
        std::string_view bare = lines[i];
        while (!bare.empty() && (bare.front() == ' ' || bare.front() == '\t')) bare.remove_prefix(1);
        while (!bare.empty() && (bare.back() == ' ' || bare.back() == '\t')) bare.remove_suffix(1);
        if (bare == "{" || bare == "}") {
            f.assign(1, SieField{std::string(bare), false});
        } else {
            SieSplitLine(lines[i], &f);
            if (f.empty()) continue;
        }
        const std::string &tag = f[0].text;
        if (!tag.empty() && tag[0] == '#') tagged++;
        if (block == Block::Expect) {
            if (tag != "{") {
                c.line = verLine;
                ok = c.Fail(Texts::SieFaultVerOpen, "#VER");
                break;
            }
            block = Block::Open;
            continue;
        }
        if (block == Block::Open) {
            if (tag == "}") {
                if (reading && sum != 0) {
                    c.line = verLine;
                    ok = c.Fail(Texts::SieFaultUnbalanced, SieAmountText(&voucher.amount));
                    break;
                }
                if (reading) items->push_back(std::move(voucher));
                block = Block::None;
                continue;
            }
            if (tag == "{") {
                ok = c.Fail(Texts::SieFaultBrace, tag);
                break;
            }
            if (reading && tag == "#TRANS") {
                SieRow row;
                ok = TransRowOf(c, f, &row);
                if (!ok) break;
                __int128 v = 0;
                DecToThousandths(&row.amount, &v);
                sum += v;
                DecFromThousandths(&voucher.amount, sum);
                voucher.rows.push_back(std::move(row));
            }
            continue;   // #RTRANS, #BTRANS and other tags of the block are skipped
        }
        if (tag == "#TRANS" || tag == "#RTRANS" || tag == "#BTRANS") {
            ok = c.Fail(Texts::SieFaultStrayTrans, tag);
            break;
        }
        if (tag == "{" || tag == "}") {
            ok = c.Fail(Texts::SieFaultBrace, tag);
            break;
        }
        if (tag == "#VER") {
            reading = c.type == 4;
            verLine = c.line;
            sum = 0;
            voucher = SieItem{};
            DecSetZero(&voucher.amount);
            if (reading && !VoucherHead(c, f, &voucher)) {
                ok = false;
                break;
            }
            block = Block::Expect;
            continue;
        }
        ok = PlainLine(c, f);
    }
    if (ok && block != Block::None) {
        c.line = verLine;
        ok = c.Fail(Texts::SieFaultVerNotClosed, "#VER");
    }
    if (ok && tagged == 0) {
        c.line = 1;
        ok = c.Fail(Texts::SieFaultNoLines, "");
    }
    if (ok) ok = WholeFileFaults(c);
    if (ok) AddNamedObjects(c);
    *line = c.line;
    *fault = c.fault;
    *detail = c.detail;
    if (!ok) items->clear();
    return ok;
}

// Reads every line of the source as its bytes, whichever of LF, CR LF
// and CR ends it, then checks them. A line holding a control byte other
// than TAB has already been refused by the reader as damaged (the
// import's result names its line).
bool SieCheckSource(std::vector<SieItem> *items, uint32_t *line, int *fault, std::string *detail)
{
    std::vector<std::string> lines;
    *fault = 0;
    *line = 0;
    while (!ImportAtEnd()) {
        std::string text;
        bool tooLong = false;
        if (!ImportReadByteLine(&text, LineMax, &tooLong)) return false;   // damaged: told by the result
        if (tooLong) text.assign(LineMax + 1, ' ');   // refused below with its line
        lines.push_back(std::move(text));
    }
    if (ImportAbortFlag) return false;
    return SieCheckLines(lines, items, line, fault, detail);
}
