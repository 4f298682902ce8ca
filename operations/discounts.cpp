// discounts.cpp - item discounts by customer group and by quantity steps.
#include "operations/operations.h"

// Finds no discount: *found false, discount zero.
void ItemDiscount(const uint8_t *item, const PackedDecimal *price, const PackedDecimal *qty, const uint8_t *group,
                  const uint8_t *discCode, PackedDecimal *discount, bool *found) {
    DecSetZero(discount);
    *found = false;
}

// Finds no step: *found false, discount zero.
void DiscountForQuantity(const uint8_t *item, const uint8_t *stepCode, const PackedDecimal *qty,
                         const PackedDecimal *price, const uint8_t *percentages, PackedDecimal *discount, bool *found) {
    DecSetZero(discount);
    *found = false;
}

// Reaches no threshold: 0.
int DiscountStepPercent(const PackedDecimal *basis, const uint8_t *steps) { return 0; }
