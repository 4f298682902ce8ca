// currency.cpp - conversion of amounts by exchange rates, percentages and
// the decimals of a document's currency.
#include "rules/vat_currency.h"

// An amount converted by a rate.
void AmountTimesRate(const PackedDecimal *amount, const PackedDecimal *rate, PackedDecimal *result) {
    if (result) DecSetBlank(result);
}

// An amount converted back by a rate.
void AmountByRateInverse(const PackedDecimal *amount, const PackedDecimal *rate, PackedDecimal *result) {
    if (result) DecSetBlank(result);
}

// A quotient whose zero divisor counts as 1.
void DecDivOrOne(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r) {
    if (r) DecSetBlank(r);
}

// An amount with a percentage added.
void DecAddPercent(const PackedDecimal *amount, const PackedDecimal *percent, PackedDecimal *r) {
    if (r) DecSetBlank(r);
}

// An amount with a charge typed as text added.
void AddAmountOrPercent(const PackedDecimal *amount, const uint8_t *charge, PackedDecimal *result) {
    if (result) DecSetBlank(result);
}

// The decimals of a document in a currency.
int DocumentDecimals(const uint8_t *currency) {
    return 0;
}
