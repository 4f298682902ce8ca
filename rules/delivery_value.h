// delivery_value.h - a delivery valued at the prices of its order, for
// the delivery note's printed total and the ship-date report.
#pragma once

#include <cstdint>

#include "core/decimal.h"

// The amount of a delivery's rows at its order's prices (see
// delivery_value.cpp); blank when nothing was added.
void RowsAmountTotal(const uint8_t *delivery, const uint8_t *order, PackedDecimal *result);
