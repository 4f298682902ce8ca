// sales_report_rows.cpp - the report numbers of sales and the register
// lists (journals, customer reports, orders, persons, the label and form
// runs, the day's journals in one run) and the body each runs.
#include "reports/frame/report_modules.h"
#include "reports/frame/report_run.h"
#include "reports/sales/contract_reports.h"
#include "reports/sales/customer_reports.h"
#include "reports/sales/label_runs.h"
#include "reports/sales/order_reports.h"
#include "reports/sales/person_reports.h"
#include "reports/sales/register_list_reports.h"
#include "reports/sales/sales_lists.h"
#include "reports/sales/sales_reports.h"
#include "reports/stock/stock_reports.h"

namespace {

constexpr ReportRowEntry Rows[] = {
    BodyRow(-27, PrintDeliveryLabels),
    BodyRow(-26, PrintCustomerForms26),
    BodyRow(-25, PrintAssetForms),
    BodyRow(-23, PrintPurchaseLabels),
    BodyRow(-22, PrintPurchaseForms),
    BodyRow(-21, PrintItemForms),
    BodyRow(-20, PrintStockMoveForms),
    BodyRow(-13, PrintCustomerForms13),
    BodyRow(-11, CustomerStatementRun),
    ArgRow(-8, CustomerReport18, 0),
    BodyRow(1, SalesJournalReport),
    BodyRow(3, CustomerListReport),
    BodyRow(4, OrderListReport4),
    BodyRow(5, CustomerLedgerReport),
    BodyRow(7, DeliveryReport),
    BodyRow(13, ReceiptJournalReport),
    BodyRow(14, CustomerSalesReport),
    BodyRow(16, DueDateReport),
    ArgRow(18, CustomerReport18, 1),
    BodyRow(27, VendorListReport),
    BodyRow(34, CustomerBalanceReport),
    BodyRow(53, PurchaseReport53),
    BodyRow(54, OrderStatusReport),
    BodyRow(57, InvoiceJournalReport),
    BodyRow(58, SalesOrderReport),
    BodyRow(59, QuotationReport),
    ArgRow(64, OrderStatusReport64, 1),
    BodyRow(65, InvoiceByDateReport),
    BodyRow(66, CustomerStatementReport),
    BodyRow(67, VatCodeCheckReport),
    BodyRow(72, InvoiceReport72),
    BodyRow(79, ProductionReport),
    BodyRow(85, RegisterCountReport),
    BodyRow(87, Report87Batch),
    BodyRow(88, ContractReport5541),
    BodyRow(89, ContractReport5540),
    BodyRow(90, PriceListReport),
    BodyRow(94, SalesInvoiceJournal),
    BodyRow(95, PurchInvoiceJournal),
    BodyRow(97, OrderObjectReport),
    BodyRow(100, DepPersonReport100),
    ArgRow(101, TransDateReport101, 0),
    BodyRow(102, EmployeeDepReport),
    BodyRow(103, EmployeeDepPersonReport),
    ArgRow(104, TransDateReport101, 1),
    BodyRow(110, DocumentFlowReport),
    BodyRow(111, ShipDateReport),
    BodyRow(112, PostedDocumentVoucherReport),
    BodyRow(113, PurchaseItemReport),
    ArgRow(116, OrderStatusReport64, 2),
};

}  // namespace

ReportModuleRows SalesReportRows() { return ModuleRows("sales", Rows); }
