// percentage_rows.cpp - the amounts of a document's percentage rows.
#include "rules/prices.h"

// Refuses every register and row: false.
bool DocRowSum(int reg, uint8_t *record, int row, PackedDecimal *total) { return false; }

// Adds nothing: total as it was.
void RowPercentSum(const uint8_t *table, const uint8_t *item, const PackedDecimal *amount, const uint8_t *vatCode,
                   int inclVat, PackedDecimal *total) {}
