// sales_doc_window.h - what the order (352) and quotation (272) windows
// share: their row step, their rate and price-list refreshes, the
// customer copies by position and the row information. Each window file
// describes itself with a SalesDocWindow.
#pragma once

#include <cstdint>

#include "core/field_desc.h"
#include "operations/sales_customer_fill.h"
#include "recordwin/document_rows.h"

struct SalesDocWindow {
    const DocLayout *layout;
    // The order keeps a typed quantity when an item is entered and takes
    // structure codes; the quotation does neither.
    bool isOrder;
    // Header: document date, customer code, first name line.
    uint32_t date, customer, firstName;
    // The header text the item-information window determines costs by
    // (NoDocCell: none), taken as 10 characters.
    uint32_t costKey;
    // The window's totals refresh.
    void (*totalsRefresh)(int window);
};

extern const SalesDocWindow OrderWindowDesc;
extern const SalesDocWindow QuotationWindowDesc;


// True when the window's type is laid out over the document's register,
// so that its rules may read the window's record by that layout.
bool SalesDocRulesApply(const SalesDocWindow &d, int window);
// The row cell shown by screen field F was left (changed: its value
// differs from before): prices, sums and profits the row.
void SalesDocRowLeft(const SalesDocWindow &d, int window, int F, uint8_t changed);
// Sets the rate of the document's currency on its date into the rate field.
void SalesDocRateRefresh(const SalesDocWindow &d, int window);
// The price list field was left changed: its "prices include VAT" word
// comes into the document; an unknown list beeps and changes nothing.
void SalesDocPriceListLeft(const SalesDocWindow &d, int window);
// Shows row `row` in the item-information window (an empty code and
// blank values for a row outside the rows).
void SalesDocRowInfo(const SalesDocWindow &d, int window, int row);
// Fills an empty price list from the customer group at groupAt and sets
// the "prices include VAT" word.
void SalesDocResolvePriceList(const SalesDocWindow &d, uint8_t *doc, uint32_t groupAt);
// Shows the customer's note as a message when it is not empty.
void CustomerNoteShow(const uint8_t *customer);
// Rewrites the delivery text field (ten characters in every document that
// has one) by settings block 220's first word: 1 a date, 2 or 3 a whole
// number, other values leave it as typed.
void DeliveryTextNormalise(int window, TextField<10> field);
// The screen field leave (event 6) of the order and quotation windows:
// true when F is a row cell (then handled), false for a header field
// whose record byte goes to *id (NoField when it has none).
bool SalesDocLeaveIsRow(const SalesDocWindow &d, int window, int F, uint8_t changed, int *id);
