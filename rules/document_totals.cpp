// document_totals.cpp - the totals of sales and purchase documents from
// their rows.
#include "rules/vat_currency.h"

// Totals of a sales invoice.
void DocTotalsRound(uint8_t *invoice) {}

// Totals of a document with 268-byte rows.
void DocTotals268(uint8_t *document) {}

// Totals of a contract.
void ContractTotals(uint8_t *contract) {}

// Totals of an order.
void OrderTotals(uint8_t *order) {}

// Totals of a quotation.
void QuotationTotals(uint8_t *quotation) {}

// Totals of a purchase order.
void PurchaseOrderTotals(uint8_t *order) {}

// Total of a customer receipt.
void DocRowsTotal(uint8_t *receipt) {}

// Totals of an item structure.
void ItemStructureTotals(uint8_t *structure) {}

// Quantity and value sums of a purchase.
void PurchaseRowTotals(uint8_t *purchase) {}

// An item's converted amount net of VAT with a charge added.
void NetAmountPlusCharge(const uint8_t *item, const PackedDecimal *amount, int kind, const uint8_t *charge,
                         const PackedDecimal *rate, PackedDecimal *result) {
    if (result) DecSetBlank(result);
}
