// order_conversion.h - the fillers of the document flow: a new delivery,
// invoice, down-payment invoice, order or purchase invoice filled in
// memory from the document it comes from. ConvertDocument (rules/
// convert_document.h) numbers and stores what they fill.
//
// Sales orders are register 7 (ORVc), deliveries 8 (SHVc), sales invoices
// 5 (IVVc), quotations 55 (QuotationVc), purchase orders 58
// (PurchOrderVc), purchase invoices 28 (VIVc). Codes and texts are
// PStrings; amounts PackedDecimal.
#pragma once

#include <cstdint>

#include "core/decimal.h"

// Reads the record of reg whose code field at codeAt (max characters)
// is code, through the register's first index; false, record cleared,
// when there is none or the code is empty.
bool DocFlowReadByCode(int reg, uint32_t codeAt, int max, const uint8_t *code, uint8_t *record);

// Fills an invoice from the order whose record id is in its OrderNr (then
// replaced by the order's serial): customer (or the invoice customer the
// order names), header, the shipped and not yet invoiced quantities, the
// down payments not yet deducted, freight. Returns 1; an order that
// cannot be read leaves the invoice without rows.
int OrderToInvoice(uint8_t *invoice);
// Appends, after the invoice's last row, the lines of the standard text
// (register 130) keyed by that row's code and 30-character text; when no
// text has that key, the one keyed by the text alone.
void InvoiceStandardTextRows(uint8_t *invoice);
// Fills a down-payment invoice of one kind-5 row from the order whose
// record id is in its OrderNr (then replaced by the order's serial).
void DownPaymentInvoiceFromOrder(uint8_t *invoice);
// base x percentage / 100 rounded to whole units, the base itself at
// exactly 100 per cent.
void DownPaymentAmount(const PackedDecimal *base, const PackedDecimal *percentage, PackedDecimal *amount);
// Fills a delivery from the order whose record id is in its OrderNr (then
// replaced by the order's serial): address, header and a row per order
// row with something left to deliver, cut to what is available. false,
// the delivery without rows, when the order cannot be read or the
// customer is beyond the credit limit (text 1164 shown).
bool OrderToDelivery(uint8_t *delivery);
// Fills an order from the quotation with record id quotationId; false,
// the order without rows, when it cannot be read.
bool QuotationToOrder(uint8_t *order, uint32_t quotationId);
// Fills a purchase invoice from the purchase order with record id
// poId: one row per VAT code on the vendor's purchase account, and for
// goods whose receipt booked a stock voucher, rows on the clearing
// account of goods received, not invoiced, at the cost booked; the
// order's payment terms (else the vendor's) with the due and discount
// dates they give. false,
// the invoice without rows, when the purchase order is missing; also,
// with the reason told, when it is closed, its vendor is unknown, or an
// amount needs the vendor's purchase account and the vendor has none.
bool PurchaseOrderToPurchaseInvoice(uint8_t *invoice, uint32_t poId);
