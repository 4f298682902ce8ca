// statement_values.cpp - the values a customer statement's form prints
// (documents -11 and -8): the customer, each statement line (its kind,
// dates, number, amount and running balance), the sums of the lines by
// kind, the balances, the open items by age, and the reminder texts of
// the highest reminder level among the lines.
//
// The printed record is a StatementRec; its lines a MemBlock of
// StatementLine rows. A line outside them prints empty.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "operations/statement.h"
#include "output/forms/forms.h"
#include "output/output_job.h"

namespace {
constexpr int AddressStep = 62, TextMax = 60, ReminderLevels = 3, ReminderLines = 3;
using K = StatementLineKind;

void Amount(PackedDecimal d, uint16_t type, uint8_t *out) { FieldToText((const uint8_t *)&d, type, out); }

// Statement line `row` into line; false outside the lines.
bool LineOf(const uint8_t *statement, int16_t row, uint8_t *line) {
    MemBlock h = GetU32(statement, StatementRec::Lines);
    if (row < 0 || !h || !MemIsValid(h)) return false;
    if ((uint32_t)(row + 1) * StatementLine::Size > MemSize(h)) return false;
    const uint8_t *data = MemLock(h);
    if (!data) return false;
    std::memcpy(line, data + (size_t)row * StatementLine::Size, StatementLine::Size);
    MemUnlock(h);
    return true;
}

StatementLineKind LineKind(const uint8_t *line) { return StatementLineKind(GetI16(line, StatementLine::Kind)); }

int32_t LineCount(const uint8_t *statement) {
    MemBlock h = GetU32(statement, StatementRec::Lines);
    return h && MemIsValid(h) ? (int32_t)(MemSize(h) / StatementLine::Size) : 0;
}

// The sum of the amounts of the lines whose kind is in kinds.
PackedDecimal KindSum(const uint8_t *statement, std::initializer_list<StatementLineKind> kinds) {
    PackedDecimal sum;
    DecSetZero(&sum);
    uint8_t line[StatementLine::Size];
    for (int32_t i = 0, n = LineCount(statement); i < n; i++) {
        if (!LineOf(statement, (int16_t)i, line)) break;
        const StatementLineKind kind = LineKind(line);
        for (StatementLineKind k : kinds)
            if (k == kind) {
                PackedDecimal a = GetDec(line, StatementLine::Amount);
                DecAdd(&sum, &a, &sum);
            }
    }
    return sum;
}

// The highest reminder level among the lines, at most 3.
int32_t HighestLevel(const uint8_t *statement) {
    int32_t level = 0;
    uint8_t line[StatementLine::Size];
    for (int32_t i = 0, n = LineCount(statement); i < n; i++)
        if (LineOf(statement, (int16_t)i, line) && GetI32(line, StatementLine::Level) > level)
            level = GetI32(line, StatementLine::Level);
    return level > ReminderLevels ? ReminderLevels : level;
}
}  // namespace

// Line `line` (0 to 2) of the reminder texts of level 1 to 3 (block 139);
// empty for any other level or line.
void ReminderLevelText(int32_t level, int16_t line, uint8_t *out) {
    out[0] = 0;
    if (level < 1 || level > ReminderLevels || line < 0 || line >= ReminderLines) return;
    uint8_t block[ReminderTextBlk::Size];
    if (!SettingsBlockRead(ReminderTextBlk::Number, block, sizeof block)) return;
    size_t at = ((size_t)(level - 1) * ReminderLines + (size_t)line) * AddressStep;
    GetPString(block, at, TextMax, out);
}

// The value of the statement's field code for row into out; codes it
// does not serve are left as they are.
void StatementFieldValue(const uint8_t *statement, int16_t code, const uint8_t *param, int16_t row, uint8_t *out) {
    assert(statement && out);
    (void)param;
    const uint8_t *st = statement, *cu = FormCustomer;
    uint8_t line[StatementLine::Size];
    const bool hasLine = LineOf(st, row, line);
    const StatementLineKind kind = hasLine ? LineKind(line) : StatementLineKind{};
    // The credit of a cash invoice is a credit note to the reader: its
    // word is a credit note's.
    const int16_t kindWord = int16_t(kind == K::CreditOfCashInvoice ? K::CreditNote : kind);
    uint8_t text[256];
    switch (code) {
    case 2:
        out[0] = 0;
        if (row >= 1 && row <= 4) GetPString(cu, CUVc::Name + (size_t)(row - 1) * AddressStep, TextMax, out);
        return;
    case 73: Amount(GetDec(st, StatementRec::Closing), FtAmount2, out); return;
    case 79: GetText(cu, CUVc::Code, out); return;
    case 109: GetText(cu, CUVc::Text646, out); return;
    case 135: GetText(cu, CUVc::Name2, out); return;
    case 243: GetText(cu, CUVc::CurncyCode, out); return;
    case 227: ReminderLevelText(HighestLevel(st), (int16_t)(row - 1), out); return;
    case 238:
        Amount(KindSum(st, {K::Invoice, K::CashInvoice, K::CreditNote, K::InterestInvoice}), FtAmount2, out);
        return;
    case 239: {
        PackedDecimal cash = KindSum(st, {K::CashInvoice}), paid = KindSum(st, {K::Payment}), r;
        DecSub(&cash, &paid, &r);
        Amount(r, FtAmount2, out);
        return;
    }
    case 240: case 371:
        Amount(KindSum(st, {K::Invoice, K::CreditNote, K::InterestInvoice}), FtAmount2, out);
        return;
    case 241: {
        PackedDecimal paid = KindSum(st, {K::Payment}), r;
        DecNegateInto(&paid, &r);
        Amount(r, FtAmount2, out);
        return;
    }
    case 242: {
        PackedDecimal a = GetDec(st, StatementRec::Closing), b = GetDec(st, StatementRec::Opening), r;
        DecSub(&a, &b, &r);
        Amount(r, FtAmount2, out);
        return;
    }
    case 244: Amount(GetDec(st, StatementRec::Amount16), FtAmount2, out); return;
    case 245: case 246: {
        PackedDecimal a = GetDec(st, code == 245 ? StatementRec::Closing : StatementRec::Amount40),
                      b = GetDec(st, StatementRec::Amount16), r;
        DecAdd(&a, &b, &r);
        Amount(r, FtAmount2, out);
        return;
    }
    case 247:
        out[0] = 0;
        if (FormPageSeq == 1) Amount(GetDec(st, StatementRec::Opening), FtAmount2, out);
        return;
    case 248: case 249: case 250: case 251: case 252: case 253: {
        static constexpr uint32_t Ages[6] = {StatementRec::AgeTotal, StatementRec::AgeNotDue, StatementRec::Age1To15,
                                             StatementRec::Age16To30, StatementRec::Age31To60, StatementRec::AgeOver60};
        Amount(GetDec(st, Ages[code - 248]), FtAmount2, out);
        return;
    }
    case 254: Amount(GetDec(st, StatementRec::Amount40), FtAmount2, out); return;
    case 255: Amount(GetDec(st, StatementRec::Amount28), FtAmount2, out); return;
    case 256:
        out[0] = 0;
        if (const uint8_t *job = CurrentJobRecord()) FieldToText(job + ReportParamsVc::Date2From, FtDate, out);
        return;
    case 257: FieldToText(st + StatementRec::Word52, FtShort, out); return;
    case 258: FieldToText(st + StatementRec::Word54, FtShort, out); return;
    default: break;
    }
    // The line codes: a row outside the lines prints nothing.
    const bool lineCode = code == 69 || code == 219 || code == 220 || code == 222 || (code >= 228 && code <= 237) ||
                          code == 259;
    if (!lineCode) return;
    out[0] = 0;
    if (!hasLine) return;
    const bool positive = kind == K::CashInvoice || kind == K::CreditOfCashInvoice;
    PackedDecimal amount = GetDec(line, StatementLine::Amount), magnitude;
    DecAbs(&amount, &magnitude);
    switch (code) {
    case 69:
        if (StatementLineIsInvoice(kind)) InvoiceText290(GetI32(line, StatementLine::DocNr), out);
        return;
    case 219: FieldToText(line + StatementLine::Level, FtLongOrEmpty, out); return;
    case 220: KindText(kindWord, out); return;
    case 222: FieldToText(line + StatementLine::Date2, FtDate, out); return;
    case 228: FieldToText(line + StatementLine::Date, FtDate, out); return;
    case 229: case 236: FieldToText(line + StatementLine::DocNr, FtLongOrEmpty, out); return;
    case 230: FieldToText(line + StatementLine::Word16, FtLongOrEmpty, out); return;
    case 231: Amount(amount, FtAmount2, out); return;
    case 232: Amount(positive ? magnitude : amount, positive ? FtAmount2 : FtDebit, out); return;
    case 233: Amount(positive ? magnitude : amount, positive ? FtAmount2 : FtCredit, out); return;
    case 234: FieldToText(line + StatementLine::Balance, FtAmount2, out); return;
    case 235:
        KindText(kindWord, out);
        FieldToText(line + StatementLine::DocNr, FtLongOrEmpty, text);
        if (out[0] + 1 + text[0] <= 255) {
            PStringAppendChar(out, ' ');
            PStringAppend(out, text);
        }
        return;
    case 237: case 259: StatementKindText(kind, out); return;
    default: return;
    }
}
