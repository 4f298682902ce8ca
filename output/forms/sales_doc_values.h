// sales_doc_values.h - the form codes that orders and quotations print
// alike (and, for the terms and the plainest row codes, purchase orders
// too).
//
// The documents keep the same things at different places of their
// records and rows, so each hands in a layout: the typed fields of its
// own record, row and side row that a shared code reads. What differs
// beyond the places (the decimals of the rounded row sum, code 37) is
// part of the layout as well.
#pragma once

#include <cstdint>

#include "core/field_desc.h"

// Where a document row keeps what codes 8-11, 13-16, 18 and 19 print.
struct DocRowFields {
    TextField<20> itemCode;
    AmountField quantity;
    TextField<100> text;
    AmountField price, discount, sum;
    TextField<2> vatCode;
};

// An order's or a quotation's row with its side row (built from each
// row's item when the document is loaded).
struct SalesRowLayout {
    DocRowFields row;
    AmountField priceUnit;
    TextField<10> sideUnit;
    AmountField sideStep1, sideStep2, sideQty196, sideQty208;
    int sumDecimals;   // code 37: the row sum rounded to this many decimals
};

// Where a sales or purchase document keeps its terms codes and the
// language they are printed in (codes 81, 86 and 90).
struct DocTermsFields {
    TextField<2> payTerms;
    TextField<5> delMode, delTerms, langCode;
};

// Where an order's or a quotation's header keeps what its shared header
// codes print.
struct SalesHeaderLayout {
    TextField<60> address0, delivery0;   // the first of four address lines each
    AmountField net, vat, total;
    TextField<20> custCode;
    DocTermsFields terms;
    TextField<20> text284;
    TextField<60> name2;
    TextField<10> delivText;
    TextField<5> salesMan, curncyCode;
    TextField<20> custPhone, customerText;   // each falls back to the customer's
};

// Codes 8-11, 13-16, 18 and 19 of row r into out; false (out untouched)
// for any other code.
bool DocRowBasicValue(const DocRowFields &f, const uint8_t *r, int16_t code, uint8_t *out);

// Codes 81, 86 and 90 of document d: its payment terms, delivery mode
// and delivery terms, each looked up in its register in the document's
// language; false (out untouched) for any other code.
bool DocTermsText(const DocTermsFields &f, const uint8_t *d, int16_t code, uint8_t *out);

// Whether code is a row code SalesRowValue serves.
bool SalesRowCode(int16_t code);
// The shared row codes of row r with its side row s (null when missing);
// false (out untouched) for a code that is not one of them.
bool SalesRowValue(const SalesRowLayout &l, const uint8_t *r, const uint8_t *s, int16_t code, uint8_t *out);

// The shared header and address codes of document d for address row
// `row`; false (out untouched) for a code that is not one of them.
bool SalesHeaderValue(const SalesHeaderLayout &l, const uint8_t *d, int16_t code, int16_t row, uint8_t *out);
