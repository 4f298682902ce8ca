// currency_rates.cpp - the rate of a currency on a date, read locally or
// asked of the server.
#include "rules/prices.h"

// Knows no rate: the rate is blank.
void CurrencyRateLocal(const uint8_t *currency, const DateRec *date, PackedDecimal *rate) { DecSetBlank(rate); }

// Knows no rate: false, the rate blank.
bool CurrencyRate(const uint8_t *currency, const DateRec *date, PackedDecimal *rate) {
    DecSetBlank(rate);
    return false;
}
