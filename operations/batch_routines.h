// batch_routines.h - the batch routines by number (batch_routines.cpp).
// Each reads its selection from ReportParams; false when a store failed.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"

// Runs the routine of ReportParams word 3; an unknown number does nothing.
bool RunMaintenance();
// 8: approves the unposted sales invoices of the serial range (byte 48).
bool InvoiceRangeApprove();
// 10: re-posts the documents of register word 437 in the serial range.
bool RecordRangeRevalidate();
// 11: item cost prices from their FIFO stock value per unit.
bool ItemCostFromFifo();
// The FIFO value per unit in stock of item `code` at `location` (empty:
// all), rounded to 2 decimals; false when there is no stock above zero.
bool ItemFifoUnitCost(const uint8_t *code, const uint8_t *location, bool currentRate, PackedDecimal *cost);

// 16: the prices of the price lists of the code range (byte 48) made or
// brought up to date by their formulas; items filtered by the range at
// byte 304, the group at 560 and a default purchase choice at 1118.
bool PriceUpdate();
bool PriceUpdateList(const uint8_t *list);
bool PriceUpdateByGroup(const uint8_t *list, const uint8_t *row, const uint8_t *formulaCode);
bool PriceUpdateByItem(const uint8_t *list, const uint8_t *row, const uint8_t *formulaCode);
// The price of price record `price` for `item` by formula formulaCode
// (converted into the price list's currency); true when it changed.
bool PriceFormulaOf(uint8_t *price, const uint8_t *item, const uint8_t *formulaCode);

// 21: customer open items written off by unposted receipts, two rows an
// item, at most 92 rows a receipt.
bool ReceiptsFromOpenItems();
// Adds the item's pair of rows to the receipt being built, storing it
// first when full; false when a store failed.
bool ReceiptFromOpenItems(uint8_t *receipt, const uint8_t *item);
// Numbers, totals and inserts the receipt being built, then starts an
// empty one; false (with a message) when there is no free number or the
// store failed.
bool StoreWriteOffReceipt(uint8_t *receipt);

// 6: sample sales invoices, unposted: the count at byte 48 (below 1: 1 to
// 100 at random), numbered on from the number at byte 560 (else the next
// free one), dated at random between the dates at 848 and 854. A number
// already taken stops the run with a message naming it.
bool TestInvoices();
bool TestInvoice(uint32_t serial, const DateRec &date);
// A customer or item at a random position; false when the register is empty.
bool TestCustomerAt(uint8_t *customer);
bool TestItemAt(uint8_t *item);

// 13: sales invoices from the open orders of the customers of the code
// range (byte 48), of the customer group at 560 when given. Way 0 (word
// 46): the orders' rows in full, each order under a heading; way 1: one
// invoice a customer, a summary row per order, account and VAT code,
// with an item-history record (register 129). Any other way makes
// nothing (message, false). False when an invoice or an order could not
// be numbered or stored (message); that invoice's orders stay as they were.
bool InvoicesFromOrders();
// One customer's orders by way 0 and by way 1; false as above.
bool OrdersToOneInvoice(const uint8_t *customerCode);
bool OrdersToInvoices(const uint8_t *customerCode);
// Adds what is shipped and not yet invoiced on the order's rows to the
// invoice as summary rows (one per account and VAT code), to the history
// record (when given) as one row per order row, and to the order rows'
// invoiced quantity (in memory); empties the invoice's freight and
// totals it. Rows with nothing left add nothing.
void OrderRowsToInvoice(uint8_t *order, uint8_t *invoice, uint8_t *history);
// The index of the invoice row with the order row's VAT code and account,
// else of a new empty item row appended; -1 when no row could be added.
int32_t InvoiceRowMatch(uint8_t *invoice, const uint8_t *orderRow);
// Fills the header of a new invoice (customer or the invoice customer the
// order names, address, header fields, payment terms) from a stored
// order, keeping the invoice's rows; false when the order is not stored.
bool InvoiceHeaderFromOrder(const uint8_t *order, uint8_t *invoice);
// What InsertNewInvoice did.
enum class InvoiceInsert { Stored, NoRows, NoNumber, Failed };
// Totals the invoice and, when it has rows, numbers it (when it has no
// number) and inserts it unchecked, its order field all ones; then the
// history record (when given) under the invoice's number.
InvoiceInsert InsertNewInvoice(uint8_t *invoice, uint8_t *history);
