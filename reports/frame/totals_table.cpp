// totals_table.cpp - sums by code (a currency, a payment mode) gathered
// while a report walks and printed at its end; number-range captions and
// the range tests the reports share.
//
// There is one table in the program: a block of 42-byte rows in the
// order their codes were first added, and its row count. A report resets
// it, adds while walking and prints it, which empties it again.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "reports/frame/report_run.h"
#include "reports/frame/totals_table.h"

namespace {

MemBlock TotalsTable = 0;      // the rows
uint16_t TotalsTableRows = 0;  // how many

constexpr int CodeMax = 5;           // a code is a PString of at most 5 characters
constexpr int LineHeight = 15;
constexpr int TextAllRows = 2368;    // the empty code when it is the only row
constexpr int TextHomeCurrency = 2369;
constexpr int TextNoNumbers = 1823, TextOneNumber = 1822, TextNumbers = 1821;
constexpr uint32_t NotGiven = 0xFFFFFFFFu;

// Adds src into dst when src is given.
void AddInto(PackedDecimal *dst, const PackedDecimal *src)
{
    if (src) DecAdd(dst, src, dst);
}

// The 32-bit number n as field type 5 text appended to out.
void AppendNumber(uint8_t *out, uint32_t n)
{
    PString text;
    int32_t value = static_cast<int32_t>(n);
    FieldToText(reinterpret_cast<const uint8_t *>(&value), FtLongOrEmpty, text);
    PStringAppend(out, text);
}

// Reads a range end or a value as a field of type `type` into field;
// false when the text is no such value (an empty text is none either).
bool ParseAs(const uint8_t *text, uint16_t type, uint8_t *field)
{
    FieldClear(field, type, 0);
    return text[0] != 0 && FieldFromText(field, type, 0, text);
}

}  // namespace

// Frees the table's block and sets the count to 0. The first add makes
// a new block: a report that adds nothing (one in home currency) ends
// holding none.
void TotalsTableReset()
{
    if (TotalsTable) MemFree(&TotalsTable);
    TotalsTableRows = 0;
}

// The number of rows; all 0 leaves out the row of the empty code.
int TotalsTableCount(int all)
{
    if (!TotalsTable || TotalsTableRows == 0) return 0;
    if (all == 1) return TotalsTableRows;
    const TotalsRow *rows = reinterpret_cast<const TotalsRow *>(MemLock(TotalsTable));
    assert(rows);
    int n = 0;
    for (int i = 0; i < TotalsTableRows; ++i)
        if (rows[i].code[0] != 0) ++n;
    MemUnlock(TotalsTable);
    return n;
}

// Adds the given amounts (null: nothing in that column) into code's row,
// appending a zeroed row for a code not met before. Codes compare byte
// for byte; a code longer than 5 characters is cut to 5. False when the
// block could not grow (the memory layer told so).
bool TotalsTableAdd(const uint8_t *code, const PackedDecimal *a1, const PackedDecimal *a2, const PackedDecimal *a3)
{
    assert(code);
    if (!TotalsTable) TotalsTable = MemAlloc(0);
    if (!TotalsTable) return false;
    uint8_t key[sizeof(TotalsRow::code)] = {};
    key[0] = static_cast<uint8_t>(code[0] > CodeMax ? CodeMax : code[0]);
    std::memcpy(key + 1, code + 1, key[0]);
    assert(MemSize(TotalsTable) >= TotalsTableRows * sizeof(TotalsRow));
    TotalsRow *rows = reinterpret_cast<TotalsRow *>(MemLock(TotalsTable));
    for (int i = 0; rows && i < TotalsTableRows; ++i) {
        if (rows[i].code[0] != key[0] || std::memcmp(rows[i].code + 1, key + 1, key[0]) != 0) continue;
        AddInto(&rows[i].amount1, a1);
        AddInto(&rows[i].amount2, a2);
        AddInto(&rows[i].amount3, a3);
        MemUnlock(TotalsTable);
        return true;
    }
    if (rows) MemUnlock(TotalsTable);
    if (!MemRealloc(&TotalsTable, (TotalsTableRows + 1u) * sizeof(TotalsRow))) return false;
    rows = reinterpret_cast<TotalsRow *>(MemLock(TotalsTable));
    assert(rows);
    TotalsRow *row = &rows[TotalsTableRows];
    std::memcpy(row->code, key, sizeof key);
    DecSetZero(&row->amount1);
    DecSetZero(&row->amount2);
    DecSetZero(&row->amount3);
    AddInto(&row->amount1, a1);
    AddInto(&row->amount2, a2);
    AddInto(&row->amount3, a3);
    MemUnlock(TotalsTable);
    ++TotalsTableRows;
    return true;
}

// Prints a line per row in table order (the code at codeX, each amount
// whose x is 0 or more right-aligned at its x; the empty code's row only
// with withEmpty, captioned 2368 when it is the only row and 2369
// otherwise), then frees the table: a second print prints nothing.
void TotalsTablePrint(int x1, int x2, int x3, int codeX, int withEmpty)
{
    if (!TotalsTable) return;
    const TotalsRow *rows = TotalsTableRows ? reinterpret_cast<const TotalsRow *>(MemLock(TotalsTable)) : nullptr;
    const int xs[3] = {x1, x2, x3};
    for (int i = 0; rows && i < TotalsTableRows; ++i) {
        const TotalsRow &row = rows[i];
        if (row.code[0] == 0 && withEmpty != 1) continue;
        RepStartLine(LineHeight);
        if (row.code[0] != 0) {
            RepValueEx(codeX, -1, 0, row.code, FtCode, 0, 0);
        } else {
            PString caption;
            GetUiText(caption, TotalsTableRows == 1 ? TextAllRows : TextHomeCurrency);
            RepText(codeX, 0, caption, 0);
        }
        const PackedDecimal *amounts[3] = {&row.amount1, &row.amount2, &row.amount3};
        for (int c = 0; c < 3; ++c)
            if (xs[c] >= 0) RepValueEx(xs[c], -1, 0, reinterpret_cast<const uint8_t *>(amounts[c]), FtAmount2, 1, 0);
        RepEndLine();
    }
    if (rows) MemUnlock(TotalsTable);
    MemFree(&TotalsTable);
    TotalsTableRows = 0;
}

// The caption of a number range, the all-ones value meaning not given:
// 1823 when neither end is, 1822 and the number when the ends are equal,
// else 1821, from, " : " and to.
void NumberRangeCaption(uint32_t from, uint32_t to, uint8_t *out)
{
    if (from == NotGiven && to == NotGiven) {
        GetUiText(out, TextNoNumbers);
        return;
    }
    GetUiText(out, from == to ? TextOneNumber : TextNumbers);
    AppendNumber(out, from);
    if (from == to) return;
    PStringAppendC(out, " : ");
    AppendNumber(out, to);
}

// True when value lies inside the "from:to" range (no second end: to is
// from), compared as block 220's first word says: 0 text, 1 dates, 2 and
// 3 32-bit numbers, any other kind always inside. A date or number end
// or value that does not parse is outside.
bool InRangeBySetting(const uint8_t *range, const uint8_t *value)
{
    assert(range && value);
    PString from, to;
    RangeSplit(range, from, to);
    if (to[0] == 0) PStringCopy(to, from);
    uint16_t kind = Block220 ? GetU16(Block220, ValueKindBlk::ValueKind) : 0;
    switch (kind) {
    case 0:
        return PStringCompare(from, value) <= 0 && PStringCompare(to, value) >= 0;
    case 1: {
        DateRec f{}, t{}, v{};
        if (!ParseAs(from, FtDate, reinterpret_cast<uint8_t *>(&f)) ||
            !ParseAs(to, FtDate, reinterpret_cast<uint8_t *>(&t)) ||
            !ParseAs(value, FtDate, reinterpret_cast<uint8_t *>(&v)))
            return false;
        return DateCompare(&f, &v) <= 0 && DateCompare(&t, &v) >= 0;
    }
    case 2:
    case 3: {
        int32_t f = -1, t = -1, v = -1;
        if (!ParseAs(from, FtLongOrEmpty, reinterpret_cast<uint8_t *>(&f)) ||
            !ParseAs(to, FtLongOrEmpty, reinterpret_cast<uint8_t *>(&t)) ||
            !ParseAs(value, FtLongOrEmpty, reinterpret_cast<uint8_t *>(&v)))
            return false;
        return f <= v && v <= t;
    }
    default:
        return true;
    }
}
