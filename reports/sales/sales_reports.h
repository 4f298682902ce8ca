// sales_reports.h - the calculations of the sales and stock reports that
// other folders call.
#pragma once

#include <cstdint>

#include "core/decimal.h"

// ---- FIFO cost (fifo_cost.cpp) ----

// The FIFO cost of issuing `issued` of item at location out of onHand,
// taken from the newest receipts back, into cost.
void StockFifoCostOfQty(const uint8_t *item, const uint8_t *location, const PackedDecimal *onHand,
                        const PackedDecimal *issued, PackedDecimal *cost);

// ---- Components of an item structure (component_scan.cpp) ----

// How many units of item (times multiplier) its components in stock allow
// into result, and what they allow net of reservations into second when
// it is not null. explode scans the components' own structures too; print
// asks for one report line per component.
void RecipeComponentScan(const uint8_t *item, int multiplier, PackedDecimal *result, PackedDecimal *second,
                         int print, int explode);
