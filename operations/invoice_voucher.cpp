// invoice_voucher.cpp - the voucher of a posted sales invoice: its
// receivable, sales, VAT, freight and cost rows in the pending voucher,
// stored in register 11.
//
// Not built yet: the voucher is refused (the user is told), so no
// invoice is posted without one.
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"

// Makes and stores the voucher of a posted invoice. Not built yet: tells
// the user and gives false.
bool InvoiceVoucher(uint8_t *invoice, int force) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// Puts the invoice's receivable account into it. Not built yet: does
// nothing.
void InvoiceVoucherAccounts(uint8_t *invoice) {}
