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
