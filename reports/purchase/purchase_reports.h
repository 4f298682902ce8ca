// purchase_reports.h - the outgoing-payment, vendor, purchase-order and
// expense reports and the payment runs: their bodies, entered into the
// report table, and the helpers they share.
#pragma once

struct ReportJob;
struct PartyFields;

#include <cstdint>

#include "core/decimal.h"

// ---- Payment journals and runs (payment_journal.cpp, payment_runs.cpp) ----

// Report 28: the outgoing payments with their rows and the sums per
// payment mode.
void ReportPurchInvoicePayments(ReportJob &job);
// Report 92: the person payments in the same layout.
void Register110Report(ReportJob &job);
// Run -9: one payment advice per approved payment of the range.
void VendorPaymentRun(ReportJob &job);
// Run -10: approves the payments of the range (approve kind 27).
void ApprovePaymentRange(ReportJob &job);

// ---- Vendor and purchase reports (purchase_due_report.cpp,
// purchase_invoice_pages.cpp, vendor_turnover_report.cpp,
// purchase_order_report.cpp, expense_report.cpp, vendor_statements.cpp) ----

// Report 32: vendor open items by due date with the four due sums.
void PurchDueDateReport(ReportJob &job);
// Report 36: one printed page per purchase invoice (printer only).
void Report36PurchInvoices(ReportJob &job);
// Report 30: each vendor's movement over the period's months.
void VendorTurnoverReport(ReportJob &job);
// Report 75: purchase orders, as a list or with their rows.
void PurchaseOrderReport(ReportJob &job);
// Report 91: the expense records.
void Register109Report(ReportJob &job);
// Report 35: a statement per vendor over the period's months.
void VendorBalanceReport(ReportJob &job);
// Report 93: a statement per person over the period.
void UserTotalsReport(ReportJob &job);

// The due sum (0 to 3) of an item due in `days` (negative: passed):
// below 1, 1 to 15, 16 to 30, above 30.
int PurchDueBucket(int32_t days);

// ---- Vendors of a selection (vendor_turnover_report.cpp) ----

// The vendor register's fields for PartyWalk (reports/frame/party_walk.h).
extern const PartyFields VendorParty;
// Calls each(vendor, context) for the vendors of SelText1's code range
// and SelText2's group in code order; stops after the vendor at hand on Esc.
// The job record `job` selects.
void VendorWalk(const uint8_t *job, void (*each)(const uint8_t *vendor, void *context), void *context);
// The vendor's period balance of kind: before the job record's first
// month (before) or its movement over the months; zero without a record.
void VendorPeriodAmount(const uint8_t *job, const uint8_t *vendor, int kind, bool before, PackedDecimal *out);
