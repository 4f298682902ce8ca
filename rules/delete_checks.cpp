// delete_checks.cpp - the checks before a record is deleted.
#include "rules/checks.h"

// Tells whether a record may be deleted.
int CanDeleteRecordOf(int reg, uint8_t *record, int show) {
    return 0;
}

// Tells whether a receipt may be deleted.
bool CanDeleteReceipt(const uint8_t *receipt) {
    return false;
}

// Tells whether an outgoing payment may be deleted.
bool CanDeleteOutPayment(const uint8_t *payment) {
    return false;
}
