// component_scan.cpp - how many units of an item its components in stock
// allow, for the stock reports.
#include "reports/sales/sales_reports.h"

// Finds no components: result (and second, when given) zero.
void RecipeComponentScan(const uint8_t *item, int multiplier, PackedDecimal *result, PackedDecimal *second,
                         int print, int explode) {
    DecSetZero(result);
    if (second) DecSetZero(second);
}
