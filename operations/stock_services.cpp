// stock_services.cpp - stock services of the sales and stock operations:
// serial quantities by location, delivery row costs, structure rows
// expanded for printing.
#include "operations/operations.h"

// Finds no quantity: false.
bool SerialQtyAtLocation(const uint8_t *item, const uint8_t *serial, const uint8_t *location,
                         const PackedDecimal *qty) {
    return false;
}

// Leaves the delivery's rows as they are.
void DeliveryRowsCostPrice(uint8_t *delivery) {}

// Expands nothing: false, copy untouched.
bool ExpandStructureRowsForPrint(int document, const uint8_t *record, uint8_t *copy) { return false; }
