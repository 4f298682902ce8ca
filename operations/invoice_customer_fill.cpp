// invoice_customer_fill.cpp - a sales invoice filled from its customer,
// and a document window's number started from its opener.
//
// Not built yet: the invoice is left untouched (the user is told).
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"

// Fills the invoice from its customer. Not built yet: tells the user and
// gives false (the invoice untouched).
bool InvoiceCustomerFill(uint8_t *invoice) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// Starts the window's number from its opener. Not built yet: does nothing.
void WindowDocNumber(int window) {}
