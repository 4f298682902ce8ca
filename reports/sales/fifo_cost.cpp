// fifo_cost.cpp - the FIFO cost of a quantity issued from stock on hand,
// for the stock reports.
#include "reports/sales/sales_reports.h"

// Knows no receipts: cost blank.
void StockFifoCostOfQty(const uint8_t *item, const uint8_t *location, const PackedDecimal *onHand,
                        const PackedDecimal *issued, PackedDecimal *cost) {
    DecSetBlank(cost);
}
