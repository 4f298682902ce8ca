// open_items.cpp - what a sales invoice keeps in step: its open item
// (register 13), the invoiced quantities of its order and its down
// payments.
//
// Not built yet: the open items and orders are left as they are.
#include "operations/sales_invoice.h"

// Writes the invoice's open item. Not built yet: does nothing.
void UpdateOpenInvoice(const uint8_t *invoice, uint32_t serial, const PackedDecimal *amount,
                       const PackedDecimal *amount2, const uint8_t *dueDate, const uint8_t *secondDate, bool keepDates) {}

// Moves the order's invoiced quantities. Not built yet: does nothing.
void UpdateOrderFromInvoice(const uint8_t *newInv, const uint8_t *oldInv) {}

// The invoice's down-payment rows summed by sign. Not built yet: does
// nothing.
void InvoiceDownPaymentSums(const uint8_t *invoice, PackedDecimal *positive, PackedDecimal *negative) {}
