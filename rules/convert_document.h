// convert_document.h - the document flow's one operation: a new document
// of the target register made from a source document (quotation to order,
// order to delivery and invoice, purchase order to purchase and purchase
// invoice), numbered and inserted with the register hooks; and the
// routines some kinds run on the given record instead.
//
// The caller passes a record buffer of the target register carrying the
// source's record id in the target's link field (the delivery's and the
// invoice's order number, the purchase's purchase-order number, the
// order's and the purchase invoice's own serial field).
#pragma once

#include <cstdint>

#include "rules/approval.h"

// The conversion kinds.
enum ConvertKind : int {
    ConvertOrderToDelivery = 1,
    ConvertOrderToInvoice = 2,
    ConvertQuotationToOrder = 3,
    ConvertOrderToDownPayment = 4,
    ConvertUnused = 5,
    ConvertBudgetByKey = 6,
    ConvertBudgetByDates = 7,
    ConvertPurchaseOrderToPurchase = 8,
    ConvertProjectToInvoice = 9,
    ConvertRowCosts = 10,
    ConvertPurchaseOrderToPurchaseInvoice = 11,
};
constexpr int ConvertKindFirst = 1, ConvertKindLast = 11;

// The register of the record a kind is given (the target of the kinds
// that make a document); -1 for a kind outside 1..11 and for kind 5.
int ConvertKindRegister(int kind);
// The register a kind's source document is read from; -1 for the kinds
// that make no document.
int ConvertKindSource(int kind);

// Runs kind on record (see the header). *newRecid is set to all ones
// first and to the new record's id when one is inserted (kind 9: the
// invoice of the project's plan, whose run says what it did). true when a
// document was made or the kind's routine ran; false when nothing was
// made: a kind outside 1..11 or 5, a source missing or locked by another
// session (text 1520), no free number, or a target the fill left without
// rows. unused is not read.
bool ConvertDocument(int kind, int unused, uint8_t *record, uint32_t *newRecid);
// ConvertDocument for a record of reg, refused (false, nothing read) when
// reg is not the register the kind is given.
bool ConvertDocumentLocal(int reg, int kind, uint8_t *record, uint32_t *newRecid);
// The same, on the server in client mode. false also when the server
// could not be reached.
bool ConvertDocumentCall(int reg, int kind, uint8_t *record, uint32_t *newRecid);

// Fills a purchase from the purchase order whose record id is in its
// purchase-order field (then replaced by the order's serial): vendor,
// text, currency and rate, location, and a row per unit still to come
// (one row per unit for items with a serial number each). false when the
// purchase order cannot be read or is closed.
bool PurchaseOrderToPurchase(uint8_t *purchase);
// Puts the customer's name and address (its delivery address when it has
// one) into a delivery's name and address lines; false when no customer
// has the code.
bool CopyCustomerAddress(uint8_t *delivery, const uint8_t *customerCode);
// Approve kind 35: a purchase of what is still to come on the purchase
// order; nothing when nothing is or no number is free.
ApproveResult ApprovePurchaseOrderToPurchase(int reg, uint8_t *order, uint32_t recid);
