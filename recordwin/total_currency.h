// total_currency.h - the currency a payment window's totals are in, shown
// beside them: the receipt, the outgoing payment and the person payment.
#pragma once

#include <cstdint>

// The text screen field F of window `window` shows beside a total of a
// receipt, an outgoing payment or a person payment: the currency that
// total is in. False (text empty) for any other field or window.
bool TotalCurrencyText(int window, int F, uint8_t *text);
