// ledger_queries.cpp - sums over the entries of register 18 and the item
// history of register 59 for the reports.
#include "rules/ledger.h"

// Sums nothing: result blank, false.
bool AccountObjectsBalance(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                           const void *unused, PackedDecimal *result) {
    DecSetBlank(result);
    return false;
}

// Sums nothing: result blank, false.
bool StockValueAtDate(const uint8_t *item, const uint8_t *customer, int mode, const DateRec *from, const DateRec *to,
                      PackedDecimal *result) {
    DecSetBlank(result);
    return false;
}
