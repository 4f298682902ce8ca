// invoice_window_parts.cpp - the invoice window's totals, exchange rate,
// row information and buttons.
//
// Not built yet: each does nothing.
#include "recordwin/record_windows.h"

// Recomputes and shows the totals. Not built yet: does nothing.
void InvoiceTotalsRefresh(int window) {}

// Takes the exchange rate into the invoice. Not built yet: does nothing.
void InvoiceRateRefresh(int window, uint8_t *invoice) {}

// Shows a row in the item-information window. Not built yet: does nothing.
void InvoiceRowInfo(int window, int row) {}

// A button of the invoice window. Not built yet: does nothing.
void InvoiceButton(int window, int button) {}
