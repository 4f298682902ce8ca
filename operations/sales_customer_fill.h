// sales_customer_fill.h - what a customer gives the sales documents made
// for it (quotations, orders, invoices). The typed windows, the
// conversions that make one sales document from another and the runs
// that generate invoices all fill through these, so a document carries
// the same customer data whichever way it was made; a conversion then
// lays over it what its source document names itself.
//
// Quotations are register 55 (QuotationVc), orders 7 (ORVc), sales
// invoices 5 (IVVc), customers 2 (CUVc). Texts are PStrings.
#pragma once

#include <cstdint>
#include <span>

// One customer field a document takes: `length` characters of the
// customer's text at `from` into the document's text at `to`.
struct CustomerCopy {
    uint32_t to, from;
    int length;
};

// Copies the customer's fields listed into the document.
void CustomerCopiesApply(uint8_t *doc, const uint8_t *customer, const CustomerCopy *copies, int n);

// The price list the document's customer group (at groupAt) and own
// list (at listAt) resolve to, and with it its "prices include VAT" word
// (at inclVatAt).
void ResolveDocPriceList(uint8_t *doc, uint32_t groupAt, uint32_t listAt, uint32_t inclVatAt);

// The customer's text fields the document of register reg takes from
// it (the quotation's, the order's or the invoice's table); empty for any
// other register. Beside these each fill sets the delivery address, the
// VAT zone, the price list and (but for a credit note) the payment terms.
std::span<const CustomerCopy> SalesCustomerCopies(int reg);

// Fills the quotation from the customer its code names: the listed
// fields, the delivery address when the customer has one (a quotation
// keeps an address typed for it), the VAT zone and the price list with
// its VAT word. The customer's record comes back in customer (a CUVc
// buffer); false, the quotation untouched, when there is none.
bool QuotationCustomerFill(uint8_t *quotation, uint8_t *customer);
// The same for an order, whose delivery address is emptied when the
// customer has none (the postal address then serves).
bool OrderCustomerFill(uint8_t *order, uint8_t *customer);
// Fills the invoice from the customer record: the listed fields, no
// ordering customer, the price list and its VAT word, the delivery
// address, the VAT zone and, unless the invoice's first row is a credit
// note's, the customer's payment terms with the dates they give. Rate,
// freight and totals are the caller's.
void SalesInvoiceCustomerFill(uint8_t *invoice, const uint8_t *customer);
