// company_text.cpp - the company block in the older text layouts
// "företag2" and "företag3": company name and address lines, the
// registration texts, the sign and entry words, the fiscal year as a
// first and a last period (YYMM), and in "företag2" up to five number
// ranges of the invoice and order series.
#include <cstring>
#include <string>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/company_text.h"
#include "exchange/text_exchange.h"
#include "rules/documents.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

CurrentFiscalYearRec CurrentFiscalYear;

namespace {

// The range lines of "företag2": the first four belong to document kind
// 1's series, the fifth to kind 2's.
constexpr int RangeLines = 5, FirstKindLines = 4;

// Reads the next field into the company block; false: damaged.
bool Read(uint32_t offset, uint16_t type, uint16_t max)
{
    return ImportReadField(CompanyBlock + offset, type, max);
}

// The shorts of line 7 (three groups of five sign words).
bool ReadSigns()
{
    for (uint32_t i = 0; i < 15; i++)
        if (!Read(CompanyBlk::SignA0 + 2 * i, FtShort, 0)) return false;
    return true;
}

// A period line's YYMM value into *period; false when the line is
// damaged.
bool ReadPeriod(int16_t *period)
{
    uint8_t v[2] = {0, 0};
    if (!ImportReadField(v, FtShort, 0)) return false;
    std::memcpy(period, v, 2);
    return true;
}

// One range line: first, last, text; valid over the current year.
void ReadRange(int line)
{
    uint8_t row[SeriesRow::Size] = {};
    int32_t first = int32_t(ImportReadLong()), last = int32_t(ImportReadLong());
    PString text = {0};
    if (!ImportReadField(text, FtText, 20)) return;
    PutI32(row, SeriesRow::FirstNr, first);
    PutI32(row, SeriesRow::LastNr, last);
    PutDate(row, SeriesRow::ValidFrom, CurrentFiscalYear.start);
    PutDate(row, SeriesRow::ValidTo, CurrentFiscalYear.end);
    PutText(row, SeriesRow::Text, text);
    InsertBlockRow(RegisterOfDocKind(line < FirstKindLines ? 1 : 2), row);
}

// Lines 7 to 11 and the range lines, each read when it holds data; the
// first missing line ends the section.
void OptionalLines(bool third)
{
    if (!ImportNextLineHasData() || !ReadSigns()) return;
    if (!ImportNextLineHasData()) return;
    if (!Read(CompanyBlk::VoucherEnterStep1, FtShort, 0) || !Read(CompanyBlk::VoucherEnterStep2, FtShort, 0) ||
        !Read(CompanyBlk::AccountSignCheck, FtShort, 0))
        return;
    if (third && (!Read(CompanyBlk::CompanyVariant, FtShort, 0) || !Read(CompanyBlk::SecondVariant, FtShort, 0)))
        return;
    if (!ImportNextLineHasData()) return;
    if (!Read(CompanyBlk::Code484, FtCodeNoSep, 5) || !Read(CompanyBlk::Code506, FtCodeNoSep, 5)) return;
    int16_t first = 0, last = 0;
    if (!ImportNextLineHasData() || !ReadPeriod(&first)) return;
    if (!ImportNextLineHasData() || !ReadPeriod(&last)) return;
    YearFromPeriodCode(first, last);
    for (int line = 0; !third && line < RangeLines && !ImportAbortFlag; line++) {
        if (!ImportNextLineHasData()) return;
        ReadRange(line);
    }
    ImportNextLineHasData();   // to the section's closing empty line
}

}  // namespace

// Makes the current fiscal year from two YYMM periods: the year number
// by the periods' century rule (below 64 is 20YY), the dates of the first
// period's first day and the last period's last day.
void YearFromPeriodCode(int16_t first, int16_t last)
{
    CurrentFiscalYearRec &y = CurrentFiscalYear;
    int yy = first / 100;
    y.number = uint16_t(yy < 64 ? 2000 + yy : 1900 + yy);
    PStringFromC(y.code, std::to_string(y.number).c_str());
    PeriodToDate(first, 1, &y.start);
    PeriodToDate(last, -1, &y.end);
    PutDate(CompanyBlock, CompanyBlk::YearStart, y.start);
    PutDate(CompanyBlock, CompanyBlk::YearEnd, y.end);
    y.periods = uint16_t(MonthIndex(&y.end) - MonthIndex(&y.start) + 1);
    DateAddDays(&y.start, -1, &y.dayBefore);
    uint8_t code[8];
    PStringCopy(code, y.code);
    if (InsertYear(code, &y.start, &y.end) &&
        SettingsBlockStoreHandle(FiscalYearBlk::Number, FiscalYearRows) != RecDone)
        DbHoldFail();
}

// Reads the section line by line into block 129 and stores the block
// whole; the next section's tag is held for the dispatch.
void CompanyOldImport(bool third)
{
    if (!CompanyBlock) {
        ImportSkipSection();
        return;
    }
    static const uint32_t lines[] = {CompanyBlk::CompanyName, CompanyBlk::Address1, CompanyBlk::Address2,
                                     CompanyBlk::Address3};
    bool ok = true;
    for (uint32_t offset : lines) {
        ImportSkipLine();
        ok = ok && Read(offset, FtText, 60);
    }
    ImportSkipLine();
    ok = ok && ImportReadField(nullptr, FtText, 0);
    ImportSkipLine();
    ok = ok && Read(CompanyBlk::OrgNr, FtText, 30);
    if (ok && third)
        ok = Read(CompanyBlk::Telephone, FtText, 20) && Read(CompanyBlk::Fax, FtText, 20) &&
             Read(CompanyBlk::BankAccount, FtText, 60) && Read(CompanyBlk::BankAccount2, FtText, 60) &&
             Read(CompanyBlk::Code598, FtCodeNoSep, 1) && Read(CompanyBlk::Code600, FtCodeNoSep, 1);
    if (!ok) return;   // damaged: the import stops, the block is not stored
    OptionalLines(third);
    if (ImportAbortFlag) return;
    if (SettingsBlockStore(CompanyBlk::Number, CompanyBlock, CompanyBlk::Size) != RecDone) DbHoldFail();
    ImportNextTag();
    ImportTagHeld();
}

// Appends the row unless an equal range (first, last, both dates) is
// there, and stores the block.
bool InsertBlockRow(int reg, const uint8_t *row)
{
    int block = SeriesBlockOfRegister(reg);
    if (block == 0) return false;
    MemBlock handle = 0;
    if (!SettingsBlockFetch(&handle, block)) handle = 0;
    uint8_t *rows = nullptr;
    int32_t count = 0;
    bool equal = false;
    MemArrayLock(handle, SeriesRow::Size, &rows, &count);
    for (int32_t i = 0; rows && i < count && !equal; i++) {
        const uint8_t *r = rows + size_t(i) * SeriesRow::Size;
        DateRec a = GetDate(r, SeriesRow::ValidFrom), b = GetDate(r, SeriesRow::ValidTo);
        DateRec c = GetDate(row, SeriesRow::ValidFrom), d = GetDate(row, SeriesRow::ValidTo);
        equal = GetI32(r, SeriesRow::FirstNr) == GetI32(row, SeriesRow::FirstNr) &&
                GetI32(r, SeriesRow::LastNr) == GetI32(row, SeriesRow::LastNr) && DateCompare(&a, &c) == 0 &&
                DateCompare(&b, &d) == 0;
    }
    if (rows) MemUnlock(handle);
    bool ok = true;
    if (!equal) {
        ok = MemResizeZero(&handle, uint32_t(count + 1) * SeriesRow::Size);
        if (ok) {
            uint8_t *data = nullptr;
            MemArrayLock(handle, SeriesRow::Size, &data, nullptr);
            if (data) {
                std::memcpy(data + size_t(count) * SeriesRow::Size, row, SeriesRow::Size);
                MemUnlock(handle);
            }
            ok = data && SettingsBlockStoreHandle(block, handle) == RecDone;
        }
    }
    MemFree(&handle);
    return ok;
}
