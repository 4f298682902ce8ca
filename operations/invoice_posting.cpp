// invoice_posting.cpp - a sales invoice's steps before insert, its
// posting (open item, stock, item history, voucher) and approve kind 1.
//
// Not built yet: kind 1 refuses (the user is told); the steps do nothing.
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"

// The steps of a new invoice before it is inserted. Not built yet: does
// nothing.
void InvoiceInsertSteps(uint8_t *invoice) {}

// Posts or takes back an invoice. Not built yet: does nothing.
void InvoicePosting(uint8_t *invoice, int post) {}

// The stock rows of an invoice. Not built yet: does nothing.
void InvoiceStockRows(uint8_t *invoice) {}

// Approve kind 1: posts a sales invoice. Not built yet: tells the user
// and gives Failed.
ApproveResult ApproveInvoice(int reg, uint8_t *invoice, uint32_t recid) {
    ShowTextMessage(Texts::FunctionNotYet);
    return ApproveResult::Failed;
}
