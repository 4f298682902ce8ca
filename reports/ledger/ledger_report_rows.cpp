// ledger_report_rows.cpp - the report numbers of the general and the
// purchase ledger (trial balances, statements, vouchers, vendor and
// purchase reports, the payment runs) and the body each runs.
#include "reports/frame/report_modules.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/ledger/purchase_reports.h"
#include "reports/ledger/statement_reports.h"
#include "reports/ledger/vendor_reports.h"

namespace {

constexpr ReportRowEntry Rows[] = {
    BodyRow(-10, ApprovePaymentRange),
    BodyRow(-9, VendorPaymentRun),
    BodyRow(6, LedgerReport6),
    BodyRow(15, TransJournalReport),
    BodyRow(17, LedgerSetupListReport),
    BodyRow(19, FormulaReport19),
    BodyRow(20, AccountBalanceReport),
    BodyRow(21, StatementReport),
    BodyRow(22, StatementReport),
    BodyRow(24, TransByDateReport),
    BodyRow(25, VoucherPrintRun),
    BodyRow(26, ReportPurchInvoicesByVendor),
    BodyRow(28, ReportPurchInvoicePayments),
    BodyRow(30, VendorTurnoverReport),
    BodyRow(31, VendorAgeingReport),
    BodyRow(32, PurchDueDateReport),
    BodyRow(33, FormulaReport33),
    BodyRow(35, VendorBalanceReport),
    BodyRow(36, Report36PurchInvoices),
    BodyRow(37, FormulaReport37),
    BodyRow(38, FormulaReport37),
    BodyRow(39, FormulaReport37),
    BodyRow(40, FormulaReport37),
    BodyRow(41, FormulaReport37),
    BodyRow(42, StatementReport),
    BodyRow(43, StatementReport),
    BodyRow(44, StatementReport),
    BodyRow(45, StatementReport),
    BodyRow(46, StatementReport),
    BodyRow(47, StatementReport),
    BodyRow(48, StatementReport),
    BodyRow(49, StatementReport),
    BodyRow(50, StatementReport),
    BodyRow(51, StatementReport),
    BodyRow(60, LedgerReport60),
    BodyRow(61, LedgerReport61),
    BodyRow(75, PurchaseOrderReport),
    BodyRow(82, Register100Report),
    BodyRow(83, ObjectBalanceReport),
    BodyRow(91, Register109Report),
    BodyRow(92, Register110Report),
    BodyRow(93, UserTotalsReport),
};

}  // namespace

ReportModuleRows LedgerReportRows() { return ModuleRows("ledger", Rows); }
