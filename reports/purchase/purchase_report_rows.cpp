// purchase_report_rows.cpp - the report numbers of the purchase ledger
// (vendor, purchase-invoice, purchase-order, outgoing-payment and expense
// reports, the payment runs) and the body each runs.
#include "reports/frame/report_modules.h"
#include "reports/frame/report_run.h"
#include "reports/purchase/purchase_reports.h"
#include "reports/purchase/vendor_reports.h"
#include "reports/sales/order_reports.h"

namespace {

constexpr ReportRowEntry Rows[] = {
    BodyRow(-10, ApprovePaymentRange),
    BodyRow(-9, VendorPaymentRun),
    BodyRow(26, ReportPurchInvoicesByVendor),
    BodyRow(28, ReportPurchInvoicePayments),
    BodyRow(30, VendorTurnoverReport),
    BodyRow(31, VendorAgeingReport),
    BodyRow(32, PurchDueDateReport),
    BodyRow(35, VendorBalanceReport),
    BodyRow(36, Report36PurchInvoices),
    BodyRow(75, PurchaseOrderReport),
    BodyRow(81, POStatusReport),
    BodyRow(91, Register109Report),
    BodyRow(92, Register110Report),
    BodyRow(93, UserTotalsReport),
};

}  // namespace

ReportModuleRows PurchaseReportRows() { return ModuleRows("purchase", Rows); }
