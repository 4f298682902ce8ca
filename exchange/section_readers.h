// section_readers.h - the readers of the text exchange's sections that do
// more than copy fields, and the after-reading effects that complete a
// read record before it is stored. The field-list table names them; each
// "...With" reader takes its list explicitly so that it can be driven by
// any list of the same shape.
#pragma once

#include <cstdint>

#include "exchange/field_lists.h"

// ---- Readers (section_readers.cpp) ----
// Reads the next field as text (at most 255); false: damaged.
bool ReadTextColumn(uint8_t *text);
// Parses text into a field of type; an empty text gives the type's empty
// value. False: damaged at the column just read.
bool ParseColumn(uint8_t *field, uint16_t type, int m, const uint8_t *text);
// Item (register 3): the 10th and 11th columns make a price-list record
// "2" when the 11th holds a non-zero amount; in layout 2 the 30th column
// is a text parsed as the last price (blank when empty). False: damaged.
bool ReadItemText(int number, int version, uint8_t *record);
bool ReadItemWith(const FieldList &l, int version, uint8_t *record);
// Purchase (register 4): an empty row price takes the item's cost price
// (the row has no name field to fill); layout 2 then recomputes that row's
// unit cost, layout 1 computes every row's and the header's sums.
bool ReadPurchaseText(int number, int version, uint8_t *record);
bool ReadPurchaseWith(const FieldList &l, int version, uint8_t *record);
// Order (register 7): "S" as the number takes the next serial number of
// the order's date; rows of kind 1 get their delivered quantities clamped
// and an empty location filled. False: damaged.
bool ReadOrderText(int number, int version, uint8_t *record);
bool ReadOrderWith(const FieldList &l, int version, uint8_t *record);
// Budget with period rows (register 21), layout 2: one row per period of
// the current fiscal year, the total spread over them by their dates.
bool ReadBudgetV2(int number, int version, uint8_t *record);
// Asset (register 60), layout 1: four columns of the old header become the
// one row. l is the newest list, whose header the old one follows.
bool ReadAssetV1(int number, int version, uint8_t *record);
bool ReadAssetV1With(const FieldList &l, uint8_t *record);
// Form definition (register 91): layout 0 is a code and five copy labels,
// one line each; layouts 1 and 2 have their coordinate pairs put in order
// and the field code of a text row found in choice list 101.
bool ReadDocText(int number, int version, uint8_t *record);
bool ReadDocV0(int number, int version, uint8_t *record);
bool ReadDocWith(const FieldList &l, int version, uint8_t *record);
// Customer (register 2), layout 1 ("kund1"): four lines; an empty text
// for the fields at 644 and 686 gives 1.
bool ReadCustomerV1(int number, int version, uint8_t *record);

// ---- Invoices and receipts (invoice_sections.cpp) ----
// Sales invoice (register 5, "fakt1"): four header lines, then a line per
// row whose columns follow its kind. The reader gives "S" the next free
// number, fills the row structure codes and repairs kind, account,
// totals, reference and due date.
void WriteInvoiceText(int number, const uint8_t *invoice);
bool ReadInvoiceText(int number, int version, uint8_t *invoice);
// Customer receipt (register 10): layout 3 ("betal3") written and read;
// layout 2 ("betal2") read, its three amounts made rows.
void WriteReceiptText(int number, const uint8_t *receipt);
bool ReadReceiptV3(int number, int version, uint8_t *receipt);
bool ReadReceiptV2(int number, int version, uint8_t *receipt);

// ---- After-reading effects (import_effects.cpp) ----
// Each runs on a read record before it is stored; "new" is a record whose
// key the register does not hold yet. A stock, history or project effect
// whose routine is not installed is not done: the record is counted once
// in ImportResult.effectsSkipped.
void AfterReadPurchase(int number, int version, uint8_t *record);
void AfterReadOrder(int number, int version, uint8_t *record);
void AfterReadDelivery(int number, int version, uint8_t *record);
void AfterReadPurchaseOrder(int number, int version, uint8_t *record);
void AfterReadStockMove(int number, int version, uint8_t *record);
void AfterReadProduction(int number, int version, uint8_t *record);
void AfterReadTimeSheet(int number, int version, uint8_t *record);
void AfterReadMark(int number, int version, uint8_t *record);
void AfterReadContract(int number, int version, uint8_t *record);
void AfterReadTotals(int number, int version, uint8_t *record);
void AfterReadVatCodes(int number, int version, uint8_t *record);
// Tells, once at the end of an import, how many imported documents had
// effects that were not done (nothing when none).
void ImportEffectsReport();
// Fills the empty row locations of a delivery (register 8) from its items.
void DeliveryLocationsFill(uint8_t *record);
