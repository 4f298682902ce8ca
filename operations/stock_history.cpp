// stock_history.cpp - the item history (register 59) of a sales invoice,
// from its rows or from its serial-number record (register 129).
//
// Not built yet: no item history is written (the user is told).
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"

// Writes the item history of an invoice's rows. Not built yet: does
// nothing.
void StockHistoryFromInvoice(const uint8_t *invoice) {}

// Writes the item history from the invoice's serial-number record. Not
// built yet: tells the user and gives false.
bool StockHistoryRow(const uint8_t *invoice) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}
