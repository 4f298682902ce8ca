// batch_routines.h - the batch routines by number (batch_routines.cpp).
// Each reads its selection from the job it is handed; false when a store
// failed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/report_job.h"

// Runs the routine of the job's word 3; an unknown number does nothing.
bool RunMaintenance(const ReportJob &job);
// The registers a routine writes, up to four (0 ends the list), named
// beside the routine itself: a user runs it only where his group lets him
// write each of them, stand-alone and at a server alike.
using RoutineWrites = std::array<uint16_t, 4>;
// What routine `number` writes; null for a number that runs nothing.
const RoutineWrites *MaintenanceRoutineWrites(int number);
// 8: approves the unposted sales invoices of the serial range (byte 48).
bool InvoiceRangeApprove(const ReportJob &job);
// 10: re-posts the documents of register word 437 in the serial range.
bool RecordRangeRevalidate(const ReportJob &job);
// 11: item cost prices from their FIFO stock value per unit.
bool ItemCostFromFifo(const ReportJob &job);
// The FIFO value per unit in stock of item `code` at `location` (empty:
// all), rounded to 2 decimals; false when there is no stock above zero.
bool ItemFifoUnitCost(const uint8_t *code, const uint8_t *location, bool currentRate, PackedDecimal *cost);

// 16: the prices of the price lists of the code range (byte 48) made or
// brought up to date by their formulas; items filtered by the range at
// byte 304, the group at 560 and a default purchase choice at 1118.
bool PriceUpdate(const ReportJob &job);
bool PriceUpdateList(const ReportJob &job, const uint8_t *list);
bool PriceUpdateByGroup(const ReportJob &job, const uint8_t *list, const uint8_t *row, const uint8_t *formulaCode);
bool PriceUpdateByItem(const ReportJob &job, const uint8_t *list, const uint8_t *row, const uint8_t *formulaCode);
// The price of price record `price` for `item` by formula formulaCode
// (converted into the price list's currency); true when it changed.
bool PriceFormulaOf(uint8_t *price, const uint8_t *item, const uint8_t *formulaCode);

// 21: customer open items written off by unposted receipts, two rows an
// item, at most 92 rows a receipt.
bool ReceiptsFromOpenItems(const ReportJob &job);
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
bool TestInvoices(const ReportJob &job);
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
bool InvoicesFromOrders(const ReportJob &job);
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

// ---- 4: interest invoices (interest_invoices.cpp) ----

// interest = amount x rate x days / 36500, rounded to 2 decimals (the
// rate a percentage a year of 365 days); blank for a blank amount or rate.
void InterestAmount(const PackedDecimal *amount, int32_t days, const PackedDecimal *rate, PackedDecimal *result);

// The interest invoice being built for one customer: the register-5
// record, the customer's VAT zone, the late invoices whose notice count
// rises once the invoice holding their rows is stored, and its currency
// (chosen by the first late invoice); late invoices in other currencies
// wait in `later` for an invoice of their own.
struct InterestDraft {
    const uint8_t *selection = nullptr;   // the run's job selection
    uint8_t *invoice = nullptr;
    int zone = 0;
    int32_t interestRows = 0;
    std::vector<int32_t> notices;
    std::string currency;
    bool chosen = false;
    std::vector<std::string> later;
};

// 4: interest invoices for the period at bytes 848-854 (the first date
// before the second, else text 1142 and nothing is made) to the customers
// of the code range at byte 48 (group at 560) that are charged interest.
// False when the period was refused or an invoice could not be stored.
bool InterestInvoiceRun(const ReportJob &job);
// Builds and, when it reaches the minimum, inserts the customer's
// interest invoice: one for each currency of the late invoices.
bool InterestInvoice(const ReportJob &job, const uint8_t *customer, const DateRec &from, const DateRec &to);
// Starts a new, empty interest invoice for customer in draft->invoice;
// false when register 5 has no free number.
bool InterestInvoiceStart(const uint8_t *customer, const DateRec &from, const DateRec &to, InterestDraft *draft);
// Adds the rows of the customer's open items late at `to`; false when an
// invoice finished on the way could not be stored.
bool InterestFromOpenItems(const uint8_t *customer, InterestDraft *draft, const DateRec &from, const DateRec &to);
// Adds the rows of the invoices the customer paid late within the period.
bool InterestFromPayments(const uint8_t *customer, InterestDraft *draft, const DateRec &from, const DateRec &to);
// The row of one open item (register 13), when it earns one: true when a
// row was appended.
bool InterestDays(InterestDraft *draft, const uint8_t *openItem, const DateRec &from, const DateRec &to,
                  int32_t periodDays);
// The row of one late payment of `amount` on invoice (null: not found)
// paid on payDate: true when a row was appended.
bool InterestRowsOfReceipt(InterestDraft *draft, const uint8_t *invoice, int32_t invoiceNr, const DateRec &from,
                           const DateRec &payDate, const PackedDecimal &amount);
// The fee row (block 134's fee item) of a positive total.
void InterestInvoiceHeader(uint8_t *invoice);
// Totals the invoice, inserts it when it reaches the minimum and then
// raises the notice counts of its late invoices. *stored tells whether
// it was inserted; false when the insert failed.
bool InterestInvoiceFinish(InterestDraft *draft, bool *stored);
