// record_validation.cpp - the check of a record by its register, and the
// checks of customers, items, objects and accounts.
#include "rules/checks.h"

// Checks a record of a register before it is stored.
int ValidateRecordOf(int reg, uint8_t *record, uint8_t *stored, int mode) {
    return -1;
}

// Checks a customer before it is stored.
int ValidateCustomer(uint8_t *record, uint8_t *stored, int mode) {
    return -1;
}
