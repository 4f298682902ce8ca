// invoice_stock_check.h - the stock a sales invoice takes out when it is
// posted, measured against what its location holds.
#pragma once

#include <cstdint>
#include <string>

// Checks the invoice about to be posted: each stocked item of its free
// item rows (a structure's stocked components instead), summed over the
// rows, against the quantity in stock at the invoice's location. When
// the stock would fall below zero and block 203 refuses a delivery beyond
// the stock, refuses with FieldErrorAt on the quantity of the item's first
// row (-1); otherwise 0, with *warning (when given) the line that tells
// the user of the first item that goes below zero, empty when none does.
// A credit note, or an invoice that does not update stock, takes nothing.
int InvoiceStockCheck(const uint8_t *invoice, std::string *warning);

// Where the warning goes: the shell installs the status strip. A null
// sink (no frame: a server, a test) keeps it in InvoiceStockNoticeLast
// only.
using InvoiceStockNoticeSink = void (*)(const std::string &line);
void InvoiceStockNoticeSet(InvoiceStockNoticeSink sink);
// Tells warning through the sink; an empty warning tells nothing.
void InvoiceStockNotice(const std::string &warning);
// The last warning told (empty when none since the start).
const std::string &InvoiceStockNoticeLast();
