// invoice_printed.h - whether a sales invoice was printed as the invoice
// it is, as both the invoice print run and the invoice window tell it.
#pragma once

#include <cstdint>

// True when the invoice (a register 5 record) was printed as the invoice
// it is: only a posted invoice can be. An unposted one prints as a draft
// whatever its printed word says (new invoices are stored with the word
// set, and posting clears it), so it still waits for its first print.
bool InvoicePrintedBefore(const uint8_t *invoice);
