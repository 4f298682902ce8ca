// stock_levels.cpp - stock per item and location (register 6), quantities
// on a date from the item history (register 59), and the quantities a
// delivery's rows have available.
#include <cstring>

#include "rules/stock.h"

// Finds no stock record: stock zero-filled, false.
bool Register6Lookup(const uint8_t *item, const uint8_t *location, uint8_t *stock) {
    std::memset(stock, 0, LocationStock::Size);
    return false;
}

// Matches no location: false.
bool FifoLayerAtLocation(const uint8_t *layer, const uint8_t *location) { return false; }

// Knows no history: qty zero.
void StockQtyAtDate(const uint8_t *item, const uint8_t *location, PackedDecimal *qty, const DateRec *date) {
    DecSetZero(qty);
}

// Knows no history: qty zero.
void StockQtyBackToDate(const uint8_t *item, const uint8_t *location, PackedDecimal *qty, const DateRec *date) {
    DecSetZero(qty);
}

// Leaves the delivery's row as it is.
void OrderRowAvailable(uint8_t *delivery, int32_t row, const uint8_t *location) {}

// Leaves the delivery's rows as they are.
void OrderRowsAvailable(uint8_t *delivery) {}
