// receipt_window.h - the customer-receipt window (type 41) and its list
// (type 40): the handlers the window events reach, and the steps they
// share.
#pragma once

#include <cstdint>

#include "core/decimal.h"

// Window type 41's event handler: 1 = go on / allowed, 0 = refused.
uint8_t Win41Event(int window, int event, void *a, void *b);
// Button 1 (a discount row) or 2 (a fee row) of a receipt window.
void Win41Button(int window, int button);
// Window type 40's event handler: button 1 approves the marked receipts.
uint8_t Win40Event(int window, int event, void *a, void *b);
// What leaving screen field `field` of a receipt window does (changed: its
// value differs from before).
void ReceiptFieldLeave(int window, int field, uint8_t changed);
// Recomputes the receipt's rows total and amount received and redraws them.
void ReceiptTotalsRefresh(int window);
// Takes the rate of the receipt's currency on its date into the window,
// then the totals.
void ReceiptRateRefresh(int window, uint8_t *receipt);
// The sum of the amounts of the counted rows (kinds 1, 5, 6 with flag 0)
// of receipt that name invoice serial, into *sum (zero when none).
void ReceiptOtherRowsSum(const uint8_t *receipt, uint32_t serial, PackedDecimal *sum);
// Chooser list `list` opened for the Invoice cell of receipt `window`:
// when the cell's row names its customer, the list keeps that customer's
// open invoices only.
void ReceiptInvoiceChoiceLimit(int list, int window);
