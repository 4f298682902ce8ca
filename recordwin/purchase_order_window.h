// purchase_order_window.h - what the purchase-order window's files
// (purchase_order_window.cpp, purchase_order_rows.cpp) share.
#pragma once

#include <cstdint>

// The row cell shown by screen field F of a purchase-order window was
// left (changed: its value differs from before): the vendor's terms for
// the item fill the row, the two quantities follow each other, and the
// row sum and the totals follow.
void PurchaseOrderRowLeft(int window, int F, uint8_t changed);
// The priced quantity of a purchase-order row from its quantity and
// factor, and the quantity from the priced quantity: a blank or zero
// factor counts as 1, a blank quantity gives a blank one.
void PurchaseOrderPricedFromQuantity(uint8_t *row);
void PurchaseOrderQuantityFromPriced(uint8_t *row);
