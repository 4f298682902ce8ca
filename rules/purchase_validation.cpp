// purchase_validation.cpp - the check of purchases and the voucher a
// purchase makes.
#include "rules/checks.h"

// Checks a purchase before it is stored.
int ValidatePurchase(uint8_t *record, uint8_t *stored, int mode) {
    return -1;
}

// Builds the pending voucher of a purchase.
bool BuildPurchaseVoucher(const uint8_t *purchase, const uint8_t *location, bool always) {
    return false;
}
