// calc_calls.cpp - the dispatchers of the calculations a client asks the
// server for: the local rule, or in client mode the request-34 stub.
#include "rules/prices.h"

// Refuses: false.
bool ItemPriceCall(const ItemPriceQuery *q, uint8_t *item, ItemPriceAnswer *a) { return false; }

// Refuses: false.
bool ItemCostCall(const uint8_t *item, const uint8_t *location, PackedDecimal *cost, PackedDecimal *value) {
    return false;
}

// Refuses: false.
bool RowSumCall(int reg, uint8_t *record, int row, PackedDecimal *total) { return false; }

// Refuses: false, so no credit is granted.
bool CustomerBalanceCreditCall(uint8_t *customer, PackedDecimal *limit, PackedDecimal *balance) { return false; }

// Refuses: false, the delivery untouched.
bool OrderRowsAvailableCall(uint8_t *delivery) { return false; }
