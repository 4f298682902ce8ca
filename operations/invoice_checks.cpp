// invoice_checks.cpp - the checks a sales invoice passes before it is
// stored, and the currency check the purchase and payment checks share.
//
// Not built yet: every invoice is refused (the user is told).
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"

// Checks an invoice before it is stored. Not built yet: tells the user
// and refuses (-1).
int ValidateInvoice(uint8_t *invoice, const uint8_t *old, int mode) {
    ShowTextMessage(Texts::FunctionNotYet);
    return -1;
}

// True when code is a currency of block 172. Not built yet: tells the
// user and gives false.
bool IsCurrencyCode(const uint8_t *code) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}
