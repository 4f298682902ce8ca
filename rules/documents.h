// documents.h - document kinds and their rows, the lookups of document
// windows, the status marks of productions and stock movements, the
// links of orders to their objects, the purchase order's vendor copy and
// the run mode of a stand-alone program.
#pragma once

#include <cstdint>

#include "rules/rules_types.h"

// ---- Document kinds (doc_kinds.cpp) ----

// The register of documents of kind, or -1 for a kind without one.
int RegisterOfDocKind(int kind);
// The name of document kind into text (a PString buffer of 256 bytes);
// text is left as it was for a kind without a name.
void DocKindText(int kind, uint8_t *text);
// Sets up row, a row of register reg, as an empty row of kind.
void InitDocRow(uint8_t *row, int reg, uint16_t kind);

// ---- Record lookups (record_lookups.cpp) ----

// An empty priceList takes the price list of customer group `group`;
// *setting gets whether the list's prices include VAT, block 133's
// default when there is still no list.
void ResolvePriceList(const uint8_t *group, uint8_t *priceList, uint16_t *setting);
// The text of the n-th (1-based) row of rows (68-byte text rows) whose
// code is code into text; defaultText, and false, when there are fewer.
bool NthRowWithCode(int n, uint8_t *text, MemBlock rows, const uint8_t *code, const uint8_t *defaultText);
// True when a person (register 44) with this code is stored.
bool PersonExists(const uint8_t *code);

// ---- Status marks (status_marks.cpp) ----

void StatusMarkProduction(uint8_t *production);   // register 77
void StatusMarkStockMovement(uint8_t *move);       // register 92

// ---- Order object links (order_object_links.cpp) ----

// True when the fields an order's object links (register 121) are made of
// are the same in order and stored.
bool OrderLinkFieldsEqual(const uint8_t *order, const uint8_t *stored);
// Replaces the links of stored (null for a new order) by those of order;
// false when a store failed.
bool UpdateOrderObjectLinks(const uint8_t *order, const uint8_t *stored);

// ---- Purchase orders and run mode (purchase_order_fill.cpp, run_mode.cpp) ----

// Fills a purchase order (register 58) from its vendor's record; false
// when the vendor does not exist.
bool CopyVendorToPurchaseOrder(uint8_t *order);
