// sales_services.cpp - codes and serial quantities of the sales operations.
#include "operations/operations.h"

// The code after a code.
bool IncrementCode(const uint8_t *code, uint8_t *out) {
    return false;
}

// Proposes the next free customer code.
bool NextCustomerCode(uint8_t *out) {
    if (out) out[0] = 0;
    return false;
}

// Tells whether an item's serial is in stock in a quantity; unread stock
// counts as enough.
bool SerialQtyTotal(const uint8_t *item, const uint8_t *serial, const PackedDecimal *quantity) {
    return true;
}
