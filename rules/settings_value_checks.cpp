// settings_value_checks.cpp - the checks of the settings blocks whose
// values other code reads as a closed set or a pair: the number and date
// formats, the bank-file layout, the value kind, named periods and
// currencies. Each refuses the first fault at its field (or row and
// column) with a message, so the window that stores the block keeps what
// was typed and puts the cursor there.
#include <cstring>

#include "core/date.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/settings_checks.h"

namespace {

constexpr int DateOrderMax = 5;        // the six orders of core/date.h
constexpr int16_t ForeignLayoutMax = 1;
constexpr int ValueKindMax = 3;        // text, date, two kinds of whole numbers

bool IsDigitChar(uint8_t c) { return c >= '0' && c <= '9'; }

// Refuses a block shorter than its layout: its fields cannot be read.
int ShortBlock() { return FieldError(Texts::RecordNotStored, nullptr, RecFocusNone); }

}  // namespace

// Block 145. A date order past 5 would be read as 5, a format the user
// did not choose; separators that dates and amounts could not be read
// back with are refused: a date separator that is empty or a digit (10
// January 1964, month first without leading zeros, would be written
// 11064 and read back as 6 November 2004), a decimal or thousands separator that is a digit, and a decimal separator
// that is also the thousands separator, which makes every amount typed
// with it ambiguous. A block without a decimal separator is never read
// (the defaults format in its place, as for a company that never chose
// its formats), so its separators are not judged.
int CheckFormatBlock(const uint8_t *block, uint32_t size)
{
    if (size < FormatBlk::Size || !block) return ShortBlock();
    if (GetU16(block, FormatBlk::DateOrder) > DateOrderMax)
        return FieldError(Texts::DateOrderRange, nullptr, FormatBlk::DateOrder);
    uint8_t date[4], decimal[4], thousands[4];
    GetText(block, FormatBlk::DateSep, date);
    GetText(block, FormatBlk::DecimalSep, decimal);
    GetText(block, FormatBlk::ThousandsSep, thousands);
    if (decimal[0] == 0) return 0;
    if (date[0] == 0 || IsDigitChar(date[1]))
        return FieldError(Texts::DateSepUnreadable, nullptr, FormatBlk::DateSep);
    if (IsDigitChar(decimal[1])) return FieldError(Texts::NumberSepDigit, nullptr, FormatBlk::DecimalSep);
    if (thousands[0] != 0 && IsDigitChar(thousands[1]))
        return FieldError(Texts::NumberSepDigit, nullptr, FormatBlk::ThousandsSep);
    if (PStringEqual(decimal, thousands))
        return FieldError(Texts::SeparatorsSame, nullptr, FormatBlk::ThousandsSep);
    return 0;
}

// Block 224: the foreign-payment layout is 0 or 1; a bank file with any
// other value would be refused when it is written, long after the choice.
int CheckBankFileBlock(const uint8_t *block, uint32_t size)
{
    if (size < BankFileBlk::Size || !block) return ShortBlock();
    int16_t layout = int16_t(GetU16(block, BankFileBlk::ForeignLayout));
    if (layout < 0 || layout > ForeignLayoutMax)
        return FieldError(Texts::ForeignLayoutRange, nullptr, BankFileBlk::ForeignLayout);
    return 0;
}

// Block 220: the value kind is one of the four its readers know.
int CheckValueKindBlock(const uint8_t *block, uint32_t size)
{
    if (size < ValueKindBlk::Size || !block) return ShortBlock();
    if (GetU16(block, ValueKindBlk::ValueKind) > ValueKindMax)
        return FieldError(Texts::ValueKindRange, nullptr, ValueKindBlk::ValueKind);
    return 0;
}

// Block 136, row by row: a period that ends before it begins is refused
// at its to-date (an open end, year 0, is allowed).
int CheckPeriodsBlock(const uint8_t *rows, uint32_t size)
{
    namespace P = PeriodsBlk::Rows;
    uint32_t count = size / P::Size;
    if (count > 0 && !rows) return ShortBlock();
    for (uint32_t i = 0; i < count; i++) {
        const uint8_t *row = rows + size_t(i) * P::Size;
        DateRec from = GetDate(row, P::FromDate), to = GetDate(row, P::ToDate);
        if (!DateIsEmpty(&from) && !DateIsEmpty(&to) && DateCompare(&from, &to) > 0)
            return FieldErrorAt(Texts::SeriesDatesReversed, nullptr, 0, uint16_t(i), P::ToDate);
    }
    return 0;
}

// Block 172, row by row: every currency has a code, and no code stands
// twice (rates and documents find a currency by its code alone).
int CheckCurrencyBlock(const uint8_t *rows, uint32_t size)
{
    namespace C = CurrencyBlk::Rows;
    uint32_t count = size / C::Size;
    if (count > 0 && !rows) return ShortBlock();
    uint8_t code[256], earlier[256];
    for (uint32_t i = 0; i < count; i++) {
        GetText(rows + size_t(i) * C::Size, C::Code, code);
        if (code[0] == 0) return FieldErrorAt(Texts::CodeMissing, nullptr, 0, uint16_t(i), C::Code);
        for (uint32_t j = 0; j < i; j++) {
            GetText(rows + size_t(j) * C::Size, C::Code, earlier);
            if (PStringEqual(code, earlier)) return FieldErrorAt(Texts::CodeTwice, nullptr, 0, uint16_t(i), C::Code);
        }
    }
    return 0;
}
