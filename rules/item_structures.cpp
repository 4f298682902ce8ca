// item_structures.cpp - the rows an item structure adds to a delivery.
#include "rules/stock.h"

// Finds no structure: false, the delivery untouched.
bool ExplodeItemStructure(const uint8_t *item, const uint8_t *structure, const PackedDecimal *qty, uint8_t *delivery) {
    return false;
}
