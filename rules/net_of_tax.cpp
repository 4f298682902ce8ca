// net_of_tax.cpp - an amount without the VAT of a VAT code.
//
// Not built yet: net is left as it is.
#include "operations/sales_invoice.h"

// The amount without VAT at vatCode. Not built yet: does nothing.
void NetOfTax(const uint8_t *vatCode, const PackedDecimal *amount, uint16_t withTax, PackedDecimal *net) {}
