// reference_number.cpp - an invoice's payment reference and the
// eight-digit form of a record's serial number.
//
// Not built yet: the reference is left as it is.
#include "operations/sales_invoice.h"

// Fills the invoice's payment reference. Not built yet: does nothing.
void InvoiceReferenceNumber(uint8_t *invoice) {}

// The record's serial number as eight digits. Not built yet: does nothing.
void ZeroPad8(const uint8_t *record, uint8_t *out, bool grouped) {}
