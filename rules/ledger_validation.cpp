// ledger_validation.cpp - the checks of vouchers, sm1, sp1 and fb1 records
// before they are stored.
#include "rules/checks.h"

// Checks a voucher before it is stored.
int ValidateVoucher(uint8_t *record, uint8_t *stored, int mode) {
    return -1;
}

// Checks an sm1 record before it is stored.
int ValidateSm1(uint8_t *record, uint8_t *stored, int mode) {
    return -1;
}

// Checks an sp1 record before it is stored.
int ValidateSp1(uint8_t *record, uint8_t *stored, int mode) {
    return -1;
}

// Checks an fb1 record before it is stored.
int ValidateFb1(uint8_t *record, uint8_t *stored, int mode) {
    return -1;
}
