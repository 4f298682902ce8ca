// import_missing.cpp - the customer, items and user an imported sales
// invoice names but the company lacks, made before the invoice is stored.
//
// Not built yet: nothing is made (the user is told).
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"

// Makes the invoice's customer when it is missing. Not built yet: tells
// the user and gives false.
bool CreateMissingCustomer(const uint8_t *invoice) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// Makes the invoice's items that are missing. Not built yet: tells the
// user and gives false.
bool CreateMissingItems(const uint8_t *invoice) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// Makes the invoice's user when missing. Not built yet: tells the user
// and gives false.
bool CreateMissingUser(const uint8_t *invoice) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}
