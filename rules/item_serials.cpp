// item_serials.cpp - serial numbers in stock by location (register 104)
// kept from the documents that move them.
#include "rules/stock.h"

// Stores nothing: false.
bool UpdateSerialAtLocation(const uint8_t *item, const uint8_t *location, const uint8_t *serial,
                            const PackedDecimal *qty) {
    return false;
}

// Stores nothing: false.
bool ItemSerialsFromStockMove(const uint8_t *move) { return false; }

// Stores nothing: false.
bool ItemSerialsFromDelivery(const uint8_t *delivery) { return false; }

// Stores nothing: false.
bool ItemSerialsFromProduction(const uint8_t *production) { return false; }

// Stores nothing: false.
bool ItemSerialsFromPurchase(const uint8_t *purchase) { return false; }
