// fiscal_year_text.cpp - the fiscal years of an import: a year inserted by
// its dates into block 149, and the "yearcode1" section.
//
// The years stay in start-date order. A new year's code is the one the
// order asks for (50 for the first, 10 below the year it precedes, 10
// above the last) when it is free and in 2..200; else a free code that
// keeps the order. A stored year's code never changes, since vouchers and
// balances carry it.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "exchange/text_exchange.h"
#include "operations/operations.h"
#include "rules/series_terms.h"

namespace {

namespace Y = FiscalYearEntry;

// The code asked for by the years' order: the first year's, one before a
// year, one after the last.
constexpr int FirstYearCode = 50, YearCodeGap = 10;

// Makes room for a zeroed row at place of the bound rows of block 149;
// false when memory cannot be had.
bool InsertYearRow(int32_t place, int32_t count)
{
    if (!FiscalYearRows || !MemIsValid(FiscalYearRows)) {
        FiscalYearRows = 0;
        return MemResizeZero(&FiscalYearRows, Y::Size);
    }
    if (!MemArrayInsertRow(FiscalYearRows, Y::Size, place)) return false;
    uint8_t *data = nullptr;
    int32_t n = 0;
    MemArrayLock(FiscalYearRows, Y::Size, &data, &n);
    if (!data) return false;
    bool grown = n == count + 1;
    if (grown) std::memset(data + size_t(place) * Y::Size, 0, Y::Size);
    MemUnlock(FiscalYearRows);
    return grown;
}

}  // namespace

// Inserts the year from start to end into the bound rows of block 149 (the
// caller stores the block) at its place by start date; its name (at most
// five characters) from code. A year with the same start and end as a
// stored one is not inserted: its name comes back in code. False, told,
// when no code is free or memory ran out.
bool InsertYear(uint8_t *code, const DateRec *start, const DateRec *end)
{
    assert(code && start && end);
    SettingsBlockLoad(FiscalYearBlk::Number);
    int32_t place = 0, rule = FirstYearCode, count = 0;
    uint16_t given = 0;
    {
        SettingsRows years(FiscalYearBlk::Number, &FiscalYearRows, Y::Size);
        place = count = years.count;
        if (years.count > 0)
            rule = GetU16(years.data + size_t(years.count - 1) * Y::Size, Y::OrderCode) + YearCodeGap;
        for (int32_t i = 0; i < years.count; i++) {
            const uint8_t *row = years.data + size_t(i) * Y::Size;
            DateRec s = GetDate(row, Y::StartDate), e = GetDate(row, Y::EndDate);
            if (DateCompare(end, &s) < 0) {
                place = i;
                rule = GetU16(row, Y::OrderCode) - YearCodeGap;
                break;
            }
            if (DateCompare(start, &s) == 0 && DateCompare(end, &e) == 0) {
                GetText(row, Y::YearCode, code);
                return true;
            }
        }
        given = FiscalYearCodeFor(years.data, years.count, place, uint16_t(rule < 0 ? 0 : rule));
        if (given == 0) {
            ShowTextMessage(Texts::NoFreeYearCode);
            return false;
        }
        // The rows are unlocked here: the insert below may move them.
    }
    if (!InsertYearRow(place, count)) return false;
    SettingsRows years(FiscalYearBlk::Number, &FiscalYearRows, Y::Size);
    assert(place < years.count);
    uint8_t *row = years.data + size_t(place) * Y::Size;
    uint8_t name[256];
    PStringCopy(name, code);
    if (name[0] > 5) name[0] = 5;
    if (!FieldFromText(row + Y::YearCode, FtCode, 5, name)) PutText(row, Y::YearCode, name);
    PutDate(row, Y::StartDate, *start);
    PutDate(row, Y::EndDate, *end);
    PutU16(row, Y::OrderCode, given);
    return true;
}

// Reads a "yearcode1" section: a year (name, start date, end date) per
// line, each inserted by its dates; block 149 is stored once at the end.
// Once a year is refused (told) the section's other lines are passed over.
// A failed store fails the import's hold.
void YearCodeImport()
{
    bool refused = false;
    while (ImportNextLineHasData()) {
        if (refused) continue;
        uint8_t code[8] = {0};
        DateRec start, end;
        FieldClear(reinterpret_cast<uint8_t *>(&start), FtDate, 0);
        FieldClear(reinterpret_cast<uint8_t *>(&end), FtDate, 0);
        if (!ImportReadField(code, FtCodeNoSep, 5) || !ImportReadField(&start, FtDate, 0) ||
            !ImportReadField(&end, FtDate, 0))
            break;
        refused = !InsertYear(code, &start, &end);
    }
    if (SettingsBlockStoreHandle(FiscalYearBlk::Number, FiscalYearRows) != RecDone) DbHoldFail();
    ImportNextTag();
    ImportTagHeld();
}
