// operations.h - services of the sales and stock operations that other
// folders call.
#pragma once

#include <cstdint>

#include "core/decimal.h"

// The code after code (PStrings): the text before its trailing digits, then
// their number plus one without leading zeros (K0099 gives K100, ABC gives
// ABC1). false, out untouched, when the new number would not fit 32 bits.
bool IncrementCode(const uint8_t *code, uint8_t *out);
// Proposes the next free customer code after the last one kept in block 132
// into out and keeps it there; false when none could be made.
bool NextCustomerCode(uint8_t *out);
// True when the register-104 quantities of item with serial (PStrings),
// summed over every location, reach quantity.
bool SerialQtyTotal(const uint8_t *item, const uint8_t *serial, const PackedDecimal *quantity);
