// fiscal_years.cpp - fiscal-year codes of dates, their names in voucher
// references ("name.number"), and codes for new years.
//
// The company's years are rows of block 149 (FiscalYearEntry): a code of
// 2..200, a name of at most five characters, a start and an end date.
// Codes 201..210 are the fixed codes of the sub-ledgers' vouchers; their
// names are interface texts. Code 1 means "in no year".
#include <array>
#include <cassert>
#include <cstdio>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "rules/series_terms.h"

namespace {

// The names of the fixed codes 201..210, in that order.
constexpr std::array<uint16_t, YearCodeFixedLast - YearCodeFixedFirst + 1> FixedYearNames = {
    Texts::YearName201, Texts::YearName202, Texts::YearName203, Texts::YearName204, Texts::YearName205,
    Texts::YearName206, Texts::YearName207, Texts::YearName208, Texts::YearName209, Texts::YearName210};

// A code a year may have, and how far apart codes are put when a year is
// added before the first or after the last one.
constexpr uint16_t YearCodeStep = 5, YearCodeFirstFree = 10;

// The name of code (PString): the fixed names, else the name of its year's
// row; empty when none.
void YearCodeName(uint16_t code, uint8_t *name) {
    name[0] = 0;
    if (code >= YearCodeFixedFirst && code <= YearCodeFixedLast) {
        GetUiText(name, FixedYearNames[code - YearCodeFixedFirst]);
        return;
    }
    SettingsRows years(FiscalYearBlk::Number, &FiscalYearRows, FiscalYearEntry::Size);
    for (int32_t i = 0; i < years.count; i++) {
        const uint8_t *row = years.data + (size_t)i * FiscalYearEntry::Size;
        if (GetU16(row, FiscalYearEntry::OrderCode) == code) {
            GetText(row, FiscalYearEntry::YearCode, name);
            return;
        }
    }
}

// True when code may name a company's year.
bool YearCodeAssignable(int code) { return code >= YearCodeMin && code <= YearCodeMax; }

}  // namespace

// The code of the first fiscal year whose start and end hold date;
// YearCodeNone when none does. A row with an empty start or end holds no
// date, and an empty date lies in no year.
uint16_t YearCodeOfDate(const DateRec *date) {
    assert(date);
    if (DateIsEmpty(date)) return YearCodeNone;
    SettingsRows years(FiscalYearBlk::Number, &FiscalYearRows, FiscalYearEntry::Size);
    for (int32_t i = 0; i < years.count; i++) {
        const uint8_t *row = years.data + (size_t)i * FiscalYearEntry::Size;
        DateRec start = GetDate(row, FiscalYearEntry::StartDate), end = GetDate(row, FiscalYearEntry::EndDate);
        if (DateIsEmpty(&start) || DateIsEmpty(&end)) continue;
        if (DateCompare(&start, date) <= 0 && DateCompare(date, &end) <= 0)
            return GetU16(row, FiscalYearEntry::OrderCode);
    }
    return YearCodeNone;
}

// The name of a series (fiscal-year) code: the fixed kinds' names, else
// its year's; empty when none has the code.
void YearCodeNameText(uint8_t *text, uint16_t code) {
    assert(text);
    YearCodeName(code, text);
}

// The voucher reference of code and number: the code's name, ".", the
// number; the number alone when the code has no name.
void YearCodeText(uint8_t *text, uint16_t code, uint32_t number) {
    assert(text);
    uint8_t name[256];
    YearCodeName(code, name);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%u", number);
    PStringCopy(text, name);
    if (name[0]) PStringAppendChar(text, '.');
    PStringAppendC(text, digits);
}

// The reference of a voucher: its year code and serial number.
void VoucherYearCodeText(uint8_t *text, const uint8_t *voucher) {
    assert(voucher);
    YearCodeText(text, GetU16(voucher, Voucher::YearCode), GetU32(voucher, Voucher::SerNr));
}

// The reference a voucher row of kind 3 or 4 points at: the linked
// voucher's year code and serial number.
void EntryYearCodeText(uint8_t *text, const uint8_t *record) {
    assert(record);
    YearCodeText(text, GetU16(record, TransRow::LinkYearCode), GetU32(record, TransRow::LinkSerNr));
}

// The code of a name: 201..210 for the fixed names (tested first, in
// order), else the code of the first year of that name, else 0. The empty
// name has no code.
uint16_t YearCodeByName(const uint8_t *name) {
    assert(name);
    if (name[0] == 0) return 0;
    uint8_t fixed[256];
    for (size_t i = 0; i < FixedYearNames.size(); i++) {
        GetUiText(fixed, FixedYearNames[i]);
        if (PStringEqual(fixed, name)) return (uint16_t)(YearCodeFixedFirst + i);
    }
    SettingsRows years(FiscalYearBlk::Number, &FiscalYearRows, FiscalYearEntry::Size);
    uint8_t rowName[256];
    for (int32_t i = 0; i < years.count; i++) {
        const uint8_t *row = years.data + (size_t)i * FiscalYearEntry::Size;
        GetText(row, FiscalYearEntry::YearCode, rowName);
        if (PStringEqual(rowName, name)) return GetU16(row, FiscalYearEntry::OrderCode);
    }
    return 0;
}

// Splits a reference "name.number" (or "name:number") into the name's code
// and the number. A text without a separator is a number alone: code 0.
// A number that cannot be read gives -1.
void ParseVoucherRef(const uint8_t *text, uint16_t *code, int32_t *number) {
    assert(text && code && number);
    uint8_t s[256], name[256], sep[256], digits[256];
    PStringCopy(s, text);
    for (int i = 1; i <= s[0]; i++)
        if (s[i] == '.') s[i] = ':';
    int p = 1;
    RangeWord(s, &p, name);
    bool separated = RangeSepRun(s, &p, sep);
    RangeWord(s, &p, digits);
    *number = -1;
    if (!separated) {
        *code = 0;
        FieldFromText(reinterpret_cast<uint8_t *>(number), FtLongOrEmpty, 0, name);
        return;
    }
    *code = YearCodeByName(name);
    FieldFromText(reinterpret_cast<uint8_t *>(number), FtLongOrEmpty, 0, digits);
}

// Splits a from-to range of references ("A.12:A.40") and parses each end.
void ParseVoucherRefRange(const uint8_t *text, uint16_t *codeFrom, uint16_t *codeTo, int32_t *nrFrom,
                          int32_t *nrTo) {
    assert(text);
    uint8_t from[256], to[256];
    RangeSplit(text, from, to);
    ParseVoucherRef(from, codeFrom, nrFrom);
    ParseVoucherRef(to, codeTo, nrTo);
}

// The code for a new year at position among count block-149 rows in date
// order. The rule's code wins when it may name a year and no row has it.
// Otherwise a free code between the neighbours' codes keeps the years'
// order: midway between two neighbours, YearCodeStep past the last year or
// before the first, YearCodeFirstFree for the first year of all. Failing
// that any free code of 2..200; 0 when none is left (the caller refuses).
uint16_t FiscalYearCodeFor(const uint8_t *rows, int32_t count, int32_t position, uint16_t ruleCode) {
    assert(count >= 0 && (rows || count == 0));
    if (position < 0) position = 0;
    if (position > count) position = count;
    std::array<bool, YearCodeMax + 1> used{};
    for (int32_t i = 0; i < count; i++) {
        uint16_t c = GetU16(rows + (size_t)i * FiscalYearEntry::Size, FiscalYearEntry::OrderCode);
        if (YearCodeAssignable(c)) used[c] = true;
    }
    if (YearCodeAssignable(ruleCode) && !used[ruleCode]) return ruleCode;

    // The open interval (low, high) between the neighbours.
    int low = YearCodeMin - 1, high = YearCodeMax + 1;
    bool hasLow = position > 0, hasHigh = position < count;
    if (hasLow) low = GetU16(rows + (size_t)(position - 1) * FiscalYearEntry::Size, FiscalYearEntry::OrderCode);
    if (hasHigh) high = GetU16(rows + (size_t)position * FiscalYearEntry::Size, FiscalYearEntry::OrderCode);
    if (low < YearCodeMin - 1) low = YearCodeMin - 1;
    if (high > YearCodeMax + 1) high = YearCodeMax + 1;
    if (high - low >= 2) {
        int want;
        if (hasLow && hasHigh) want = low + (high - low) / 2;
        else if (hasLow) want = low + YearCodeStep < high ? low + YearCodeStep : low + (high - low) / 2;
        else if (hasHigh) want = high - YearCodeStep > low ? high - YearCodeStep : low + (high - low) / 2;
        else want = YearCodeFirstFree;
        // The free code nearest to want inside the interval.
        for (int d = 0; d < high - low; d++) {
            if (want - d > low && want - d < high && !used[want - d]) return (uint16_t)(want - d);
            if (want + d > low && want + d < high && !used[want + d]) return (uint16_t)(want + d);
        }
    }
    for (int c = YearCodeMin; c <= YearCodeMax; c++)
        if (!used[c]) return (uint16_t)c;
    return 0;
}
