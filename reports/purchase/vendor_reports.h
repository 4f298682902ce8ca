// vendor_reports.h - the purchase-ledger reports: the purchase-invoice
// journal (26) and the vendor ageing report (31) with the vendor-ledger
// amounts it rebuilds. The serial-number walk and the code summaries they
// share with the journal of vouchers are in reports/ledger/journal_reports.h.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"
#include "operations/vendor_payment_rows.h"
#include "reports/ledger/journal_reports.h"
#include "rules/rules_types.h"

struct ReportJob;

// ---- Report 26 (purchase_invoice_journal.cpp) ----

// Report 26: purchase invoices by serial number, with their rows in layout 1.
void ReportPurchInvoicesByVendor(ReportJob &job);

// ---- Report 31 (vendor_ageing_report.cpp, vendor_ledger_amounts.cpp) ----

// Report 31: what the company owes each vendor, in five layouts.
void VendorAgeingReport(ReportJob &job);
// Layout 0's lines of one invoice (open its open amount in the invoice
// currency, lineCount the vendor's lines so far): the invoice, then the
// credit notes and payments booked on it (up to the report date when
// dateGiven), in the invoice's currency when inCurrency. True when the
// invoice carries the mark flag.
bool AgeingInvoiceLines(const uint8_t *invoice, const PackedDecimal *open, int lineCount, bool dateGiven,
                        bool inCurrency, const DateRec &reportDate);
// Brings amount (the invoice currency) to what was open of invoice serial
// on date: the credit notes booked on it subtract their amount, other
// invoices add theirs, payments subtract what they paid on it; entries
// dated after date are left out.
void InvoiceOpenAtDate(int32_t serial, const DateRec *date, PackedDecimal *amount);
// Calls each for every vendor-ledger entry of invoice serial (its own,
// its credit notes', its payments') dated on or before upTo, every one
// when upTo is null, in the ledger's order.
void VendorEntriesOfInvoice(int32_t serial, const DateRec *upTo, void (*each)(const uint8_t *entry, void *context),
                            void *context);
// Minus the vendor's payments on account (counted payment rows without an
// invoice naming the vendor): in the payment currency (currency) and at
// the payment's rate (home). With asOf given, only payments dated on or
// before it count.
void VendorOnAccount(const uint8_t *vendorCode, const DateRec *asOf, PackedDecimal *home, PackedDecimal *currency);
