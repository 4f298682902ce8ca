// location_stock.cpp - the stock of an item at a location (register 6):
// the five running quantities the documents add to.
//
// Not built yet: nothing is stored (the user is told).
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"

// Adds the amounts to the item's stock at location. Not built yet: tells
// the user and gives false.
bool UpdateLocationStock(const uint8_t *item, const uint8_t *location, const PackedDecimal *inStock,
                         const PackedDecimal *onOrders, const PackedDecimal *reserved, const PackedDecimal *onConfPo,
                         const PackedDecimal *toReceive) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}
