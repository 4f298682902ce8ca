// customer_reports.h - the customer ledger report (5) and the amounts it
// reads from the customer ledger (register 49): what was still open of an
// invoice on a date, what a receipt paid on an invoice, and a customer's
// payments on account.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"

struct ReportJob;
struct PartyFields;
struct RuleRecord;

// Report 5: what each customer of the selection owes, in five layouts.
void CustomerLedgerReport(ReportJob &job);

// Lowers amount (in the invoice's currency) to what was still open of
// invoice serial on date: the receipts dated on or before it take off
// what they paid on it, the other invoices booked against it (a credit
// note) on or before it add their total (a credit note's negated).
void InvoiceOpenAmountAt(int32_t serial, const DateRec *date, PackedDecimal *amount);
// Calls act(entry) for each customer-ledger entry (register 49) booked
// against invoice serial, in the ledger's order, leaving out the invoice's
// own entry and, with until given, the entries dated after it. Stops when
// act returns false.
void ForEachInvoiceEntry(int32_t serial, const DateRec *until, bool (*act)(const uint8_t *entry, void *context),
                         void *context);
// Read sales invoice / receipt serial into r (the rows read before
// freed); false when it is gone.
bool SalesInvoiceRead(uint32_t serial, RuleRecord &r);
bool SalesReceiptRead(uint32_t serial, RuleRecord &r);
// The part of the receipt a customer-ledger entry names that paid the
// entry's invoice (its counted rows for that invoice); zero when the
// receipt is gone.
void ReceiptPaidOnInvoice(const uint8_t *entry, PackedDecimal *result);
// Minus the customer's payments on account: each paid receipt row (kind
// 1, counted) with no invoice, dated like its receipt and naming the customer, in the
// receipt's currency (foreign) and at its rate (home). With asOf given
// only receipts dated on or before it count.
void CustomerOnAccountSums(const uint8_t *customer, const DateRec *asOf, PackedDecimal *home,
                           PackedDecimal *foreign);

// ---- Customer walk (customer_walk.cpp) ----

// The customer register's fields for PartyWalk (reports/frame/party_walk.h).
extern const PartyFields CustomerParty;
// Calls each for every customer (register 2 record) of the code range in
// SelText1 and, when SelText3 is given, of that group, in code order;
// stops when the user presses Esc (after the customer at hand).
void CustomerWalk(const uint8_t *selection, void (*each)(const uint8_t *customer, void *context), void *context);
// The customer's statistics record (register 1) for the kinds of report
// 34 and the run: kind 1 less kind 2 with inCurrency, else kind 4, before
// month from (opening) and at month to (closing); zeros without a record.
void CustomerPeriodBalances(const uint8_t *customer, bool inCurrency, uint16_t from, uint16_t to,
                            PackedDecimal *opening, PackedDecimal *closing);

// Report 34: each customer's balance per period, or its transactions.
void CustomerBalanceReport(ReportJob &job);
// Report 34 layout 1: one customer's transactions of the period of the
// job record selection, from balance (its opening balance); balance ends
// as the closing balance.
void CustomerTransactionList(const uint8_t *selection, const uint8_t *customer, PackedDecimal *balance);
// Report 14: sales and cost per customer.
void CustomerSalesReport(ReportJob &job);
// Run -11: a statement on its form for each customer of the range.
void CustomerStatementRun(ReportJob &job);
