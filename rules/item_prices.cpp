// item_prices.cpp - the price, discount, VAT code, account and cost of an
// item on a document row, and the prices of item structures.
#include "rules/prices.h"

// Finds no item: false, the answer untouched.
bool ItemPrice(const ItemPriceQuery *q, uint8_t *item, ItemPriceAnswer *a) { return false; }

// Finds no structure: price unchanged.
void StructurePrice(const uint8_t *structure, PackedDecimal *price) {}

// Finds no item: false.
bool ItemCost(const uint8_t *item, const uint8_t *location, PackedDecimal *cost, PackedDecimal *value) {
    return false;
}

// Knows no default: vatCode and account are left as they are.
void DefaultVatAndAccount(const void *unused, uint8_t *vatCode, uint8_t *account, int zone) {}
