// stock_costs.cpp - the FIFO cost of an issue from stock, and the row
// costs of stock movements.
#include "rules/stock.h"

// Knows no receipts: cost as it was.
void FifoIssueCost(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty, PackedDecimal *cost) {}

// Knows no receipts: cost as it was.
void FifoIssueCostPlus(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty, PackedDecimal *cost,
                       const PackedDecimal *extra) {}

// Leaves the movement's row costs as they are.
void ConvertRowCost(uint8_t *move) {}
