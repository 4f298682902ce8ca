// row_balances.cpp - totals and sums of the rows of ledger and payment
// records (the voucher rows' own are in voucher_rows.cpp).
#include "rules/checks.h"

// Totals of an sm1 record.
void AccountRowsBalance(uint8_t *r) {}

// Totals of an sp1 record.
void AccountRows118Balance(uint8_t *r) {}

// Totals of an fb1 record.
void Fb1RowsBalance(uint8_t *r) {}

// The sum of sm1 rows.
void AccountRowsSum(MemBlock rows, PackedDecimal *sum) {
    if (sum) DecSetBlank(sum);
}

// The sum of sp1 rows.
void AccountRows118Sum(MemBlock rows, PackedDecimal *sum) {
    if (sum) DecSetBlank(sum);
}

// Totals of an outgoing payment.
void OutPaymentTotals(uint8_t *r) {}

// Totals of a payment with 106-byte rows.
void PaymentTotals106(uint8_t *r) {}

// The two sums of a record's 154-byte rows.
void Rows154Totals(uint8_t *r) {}

// The total of a record's list of amounts.
void AmountListTotal(uint8_t *r) {}

// A purchase invoice's rows less its amount.
void PurchaseInvoiceRowsDifference(const uint8_t *invoice, PackedDecimal *result) {
    if (result) DecSetBlank(result);
}

// Tells whether an order has delivered rows; an unread order counts as having
// them.
bool OrderHasDeliveredRows(const uint8_t *order) {
    return true;
}

// Tells whether a purchase order has received rows; an unread order counts as
// having them.
bool PurchaseOrderHasReceivedRows(const uint8_t *order) {
    return true;
}
