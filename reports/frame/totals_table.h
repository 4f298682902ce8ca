// totals_table.h - sums by code gathered while a report walks and printed
// at its end, and the range captions and tests the reports share
// (totals_table.cpp).
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/field_access.h"

// One code's three sums.
struct TotalsRow {
    uint8_t code[6];
    PackedDecimal amount1, amount2, amount3;
};
static_assert(sizeof(TotalsRow) == 42);
// Empties the totals table.
void TotalsTableReset();
// The rows of the table; all 0 leaves out the empty code's row.
int TotalsTableCount(int all);
// Prints the rows (sums at x1..x3, a negative x skipped, the code at
// codeX; the empty code's row only with withEmpty) and empties the table.
void TotalsTablePrint(int x1, int x2, int x3, int codeX, int withEmpty);
// Adds three amounts to code's row; false: no memory (told by the memory layer).
bool TotalsTableAdd(const uint8_t *code, const PackedDecimal *a1, const PackedDecimal *a2, const PackedDecimal *a3);
// TotalsTableAdd of amount (the first sum) to the row of the currency
// record's text field f holds.
template <int N> bool TotalsTableAddInCurrency(const uint8_t *record, TextField<N> f, const PackedDecimal *amount) {
    uint8_t currency[256];
    GetText(record, f, currency);
    return TotalsTableAdd(currency, amount, nullptr, nullptr);
}
// The caption of a number range (1821 range, 1822 one number, 1823 none).
void NumberRangeCaption(uint32_t from, uint32_t to, uint8_t *out);
// True when value lies in range read by the kind block 220 gives.
bool InRangeBySetting(const uint8_t *range, const uint8_t *value);
