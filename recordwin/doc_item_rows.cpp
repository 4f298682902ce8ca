// doc_item_rows.cpp - what the document windows share about item rows:
// an item's text rows put after its row, and the percentage of a part.
//
// Not built yet: each does nothing.
#include "operations/sales_invoice.h"
#include "recordwin/record_windows.h"

// Puts the item's text rows after row. Not built yet: does nothing.
void DocItemTextRows(int window, const uint8_t *item, const uint8_t *lang, int textCell, int row) {}

// part as a percentage of base. Not built yet: does nothing.
void PercentOf(const PackedDecimal *base, const PackedDecimal *part, PackedDecimal *result) {}
