// customer_ledger.cpp - approve kind 18: a posted sales invoice entered in
// the customer ledger (register 49) and the monthly statistics of the
// customer, the item and the salesperson (registers 1, 12, 112).
//
// Not built yet: the kind refuses (the user is told) and stores nothing.
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"

// Enters a posted invoice in the customer ledger and statistics. Not
// built yet: tells the user and gives Failed.
ApproveResult ApproveInvoiceToCustomerLedger(int reg, uint8_t *invoice, uint32_t recid) {
    ShowTextMessage(Texts::FunctionNotYet);
    return ApproveResult::Failed;
}
