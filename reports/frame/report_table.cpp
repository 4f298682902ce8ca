// report_table.cpp - what each report number -29..116 runs, as data: the
// body that prints it, or that its body comes with a later version, or
// that the number has none.
//
// Each body takes the job it runs. OnGlobalParams<...> marks a body still
// written against the global job record: it runs with the job's record
// lent to that global (report_run.h) until it is moved to its job.
//
// A Later row keeps the argument its body will take (the price list's
// column, a form number, a variant). Report 9 chooses by ReportLayout; a
// null body in its row is one a later version brings.
#include "output/forms/forms.h"
#include "reports/assets/asset_reports.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/ledger/purchase_reports.h"
#include "reports/ledger/statement_reports.h"
#include "reports/ledger/vendor_reports.h"
#include "reports/projects/project_reports.h"
#include "reports/sales/contract_reports.h"
#include "reports/sales/customer_reports.h"
#include "reports/sales/label_runs.h"
#include "reports/sales/order_reports.h"
#include "reports/sales/person_reports.h"
#include "reports/sales/register_list_reports.h"
#include "reports/sales/sales_lists.h"
#include "reports/sales/sales_reports.h"
#include "reports/sales/stock_reports.h"

ReportRowRec ReportTable[ReportCount] = {
    {ReportRowKind::Body, OnGlobalParams<PrintTimeSheetForms>, nullptr, nullptr, 0},   // -29
    {ReportRowKind::Body, OnGlobalParams<PrintProductionForms>, nullptr, nullptr, 0},   // -28
    {ReportRowKind::Body, OnGlobalParams<PrintDeliveryLabels>, nullptr, nullptr, 0},   // -27
    {ReportRowKind::Body, OnGlobalParams<PrintCustomerForms26>, nullptr, nullptr, 0},   // -26
    {ReportRowKind::Body, OnGlobalParams<PrintAssetForms>, nullptr, nullptr, 0},   // -25
    {ReportRowKind::Body, OnGlobalParams<PrintProjectForms>, nullptr, nullptr, 0},   // -24
    {ReportRowKind::Body, OnGlobalParams<PrintPurchaseLabels>, nullptr, nullptr, 0},   // -23
    {ReportRowKind::Body, OnGlobalParams<PrintPurchaseForms>, nullptr, nullptr, 0},   // -22
    {ReportRowKind::Body, OnGlobalParams<PrintItemForms>, nullptr, nullptr, 0},   // -21
    {ReportRowKind::Body, OnGlobalParams<PrintStockMoveForms>, nullptr, nullptr, 0},   // -20
    {ReportRowKind::Body, OnGlobalParams<ApprovePORange>, nullptr, nullptr, 0},   // -19
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<PrintInvoiceForms>, -18},   // -18
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<PrintInvoiceForms>, -17},   // -17
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<PrintInvoiceForms>, -16},   // -16
    {ReportRowKind::Body, OnGlobalParams<ApproveOrderRange26>, nullptr, nullptr, 0},   // -15
    {ReportRowKind::Body, OnGlobalParams<ApproveQuoteRange>, nullptr, nullptr, 0},   // -14
    {ReportRowKind::Body, OnGlobalParams<PrintCustomerForms13>, nullptr, nullptr, 0},   // -13
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<PrintDeliveryForms>, -12},   // -12
    {ReportRowKind::Body, OnGlobalParams<CustomerStatementRun>, nullptr, nullptr, 0},   // -11
    {ReportRowKind::Body, OnGlobalParams<ApprovePaymentRange>, nullptr, nullptr, 0},   // -10
    {ReportRowKind::Body, OnGlobalParams<VendorPaymentRun>, nullptr, nullptr, 0},   // -9
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<CustomerReport18>, 0},   // -8
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<PrintDeliveryForms>, -7},   // -7
    {ReportRowKind::Body, OnGlobalParams<ApproveOrderRange>, nullptr, nullptr, 0},   // -6
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // -5
    {ReportRowKind::Body, OnGlobalParams<PrintCustomerForms>, nullptr, nullptr, 0},   // -4
    {ReportRowKind::Body, OnGlobalParams<ApproveDeliveryRange>, nullptr, nullptr, 0},   // -3
    {ReportRowKind::Body, OnGlobalParams<ApproveInvoiceRange>, nullptr, nullptr, 0},   // -2
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // -1
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 0
    {ReportRowKind::Body, OnGlobalParams<SalesJournalReport>, nullptr, nullptr, 0},   // 1
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 2
    {ReportRowKind::Body, OnGlobalParams<CustomerListReport>, nullptr, nullptr, 0},   // 3
    {ReportRowKind::Body, OnGlobalParams<OrderListReport4>, nullptr, nullptr, 0},   // 4
    {ReportRowKind::Body, OnGlobalParams<CustomerLedgerReport>, nullptr, nullptr, 0},   // 5
    {ReportRowKind::Body, OnGlobalParams<LedgerReport6>, nullptr, nullptr, 0},   // 6
    {ReportRowKind::Body, OnGlobalParams<DeliveryReport>, nullptr, nullptr, 0},   // 7
    {ReportRowKind::Body, OnGlobalParams<ItemReport8>, nullptr, nullptr, 0},   // 8
    {ReportRowKind::ByLayout, OnGlobalParams<ItemListReportLayout0>, OnGlobalParams<ItemListReport>, nullptr, 0},   // 9
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<ItemPriceReport>, 0},   // 10
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<ItemPriceReport>, 2},   // 11
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<ItemPriceReport>, 3},   // 12
    {ReportRowKind::Body, OnGlobalParams<ReceiptJournalReport>, nullptr, nullptr, 0},   // 13
    {ReportRowKind::Body, OnGlobalParams<CustomerSalesReport>, nullptr, nullptr, 0},   // 14
    {ReportRowKind::Body, OnGlobalParams<TransJournalReport>, nullptr, nullptr, 0},   // 15
    {ReportRowKind::Body, DueDateReport, nullptr, nullptr, 0},   // 16
    {ReportRowKind::Body, LedgerSetupListReport, nullptr, nullptr, 0},   // 17
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<CustomerReport18>, 1},   // 18
    {ReportRowKind::Body, OnGlobalParams<FormulaReport19>, nullptr, nullptr, 0},   // 19
    {ReportRowKind::Body, AccountBalanceReport, nullptr, nullptr, 0},   // 20
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 21
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 22
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 23
    {ReportRowKind::Body, OnGlobalParams<TransByDateReport>, nullptr, nullptr, 0},   // 24
    {ReportRowKind::Body, OnGlobalParams<VoucherPrintRun>, nullptr, nullptr, 0},   // 25
    {ReportRowKind::Body, OnGlobalParams<ReportPurchInvoicesByVendor>, nullptr, nullptr, 0},   // 26
    {ReportRowKind::Body, OnGlobalParams<VendorListReport>, nullptr, nullptr, 0},   // 27
    {ReportRowKind::Body, OnGlobalParams<ReportPurchInvoicePayments>, nullptr, nullptr, 0},   // 28
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 29
    {ReportRowKind::Body, VendorTurnoverReport, nullptr, nullptr, 0},   // 30
    {ReportRowKind::Body, OnGlobalParams<VendorAgeingReport>, nullptr, nullptr, 0},   // 31
    {ReportRowKind::Body, OnGlobalParams<PurchDueDateReport>, nullptr, nullptr, 0},   // 32
    {ReportRowKind::Body, OnGlobalParams<FormulaReport33>, nullptr, nullptr, 0},   // 33
    {ReportRowKind::Body, OnGlobalParams<CustomerBalanceReport>, nullptr, nullptr, 0},   // 34
    {ReportRowKind::Body, VendorBalanceReport, nullptr, nullptr, 0},   // 35
    {ReportRowKind::Body, Report36PurchInvoices, nullptr, nullptr, 0},   // 36
    {ReportRowKind::Body, OnGlobalParams<FormulaReport37>, nullptr, nullptr, 0},   // 37
    {ReportRowKind::Body, OnGlobalParams<FormulaReport37>, nullptr, nullptr, 0},   // 38
    {ReportRowKind::Body, OnGlobalParams<FormulaReport37>, nullptr, nullptr, 0},   // 39
    {ReportRowKind::Body, OnGlobalParams<FormulaReport37>, nullptr, nullptr, 0},   // 40
    {ReportRowKind::Body, OnGlobalParams<FormulaReport37>, nullptr, nullptr, 0},   // 41
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 42
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 43
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 44
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 45
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 46
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 47
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 48
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 49
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 50
    {ReportRowKind::Body, OnGlobalParams<StatementReport>, nullptr, nullptr, 0},   // 51
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 52
    {ReportRowKind::Body, OnGlobalParams<PurchaseReport53>, nullptr, nullptr, 0},   // 53
    {ReportRowKind::Body, OnGlobalParams<OrderStatusReport>, nullptr, nullptr, 0},   // 54
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 55
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 56
    {ReportRowKind::Body, OnGlobalParams<InvoiceJournalReport>, nullptr, nullptr, 0},   // 57
    {ReportRowKind::Body, OnGlobalParams<SalesOrderReport>, nullptr, nullptr, 0},   // 58
    {ReportRowKind::Body, OnGlobalParams<QuotationReport>, nullptr, nullptr, 0},   // 59
    {ReportRowKind::Body, LedgerReport60, nullptr, nullptr, 0},   // 60
    {ReportRowKind::Body, LedgerReport61, nullptr, nullptr, 0},   // 61
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 62
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 63
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<OrderStatusReport64>, 1},   // 64
    {ReportRowKind::Body, OnGlobalParams<InvoiceByDateReport>, nullptr, nullptr, 0},   // 65
    {ReportRowKind::Body, OnGlobalParams<CustomerStatementReport>, nullptr, nullptr, 0},   // 66
    {ReportRowKind::Body, OnGlobalParams<VatCodeCheckReport>, nullptr, nullptr, 0},   // 67
    {ReportRowKind::Body, ProjectListReport, nullptr, nullptr, 0},   // 68
    {ReportRowKind::Body, ProjectSummaryReport, nullptr, nullptr, 0},   // 69
    {ReportRowKind::Body, ProjectTransReport, nullptr, nullptr, 0},   // 70
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 71
    {ReportRowKind::Body, OnGlobalParams<InvoiceReport72>, nullptr, nullptr, 0},   // 72
    {ReportRowKind::Body, OnGlobalParams<StockHistoryReport>, nullptr, nullptr, 0},   // 73
    {ReportRowKind::Body, OnGlobalParams<ItemInvCodeReport>, nullptr, nullptr, 0},   // 74
    {ReportRowKind::Body, PurchaseOrderReport, nullptr, nullptr, 0},   // 75
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 76
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<ItemPriceReport>, 2},   // 77
    {ReportRowKind::Body, OnGlobalParams<RecipeReport>, nullptr, nullptr, 0},   // 78
    {ReportRowKind::Body, OnGlobalParams<ProductionReport>, nullptr, nullptr, 0},   // 79
    {ReportRowKind::Body, OnGlobalParams<ItemQtyReport>, nullptr, nullptr, 0},   // 80
    {ReportRowKind::Body, OnGlobalParams<POStatusReport>, nullptr, nullptr, 0},   // 81
    {ReportRowKind::Body, OnGlobalParams<Register100Report>, nullptr, nullptr, 0},   // 82
    {ReportRowKind::Body, ObjectBalanceReport, nullptr, nullptr, 0},   // 83
    {ReportRowKind::Body, OnGlobalParams<SerialNumberHistoryReport>, nullptr, nullptr, 0},   // 84
    {ReportRowKind::Body, OnGlobalParams<RegisterCountReport>, nullptr, nullptr, 0},   // 85
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 86
    {ReportRowKind::Body, OnGlobalParams<Report87Batch>, nullptr, nullptr, 0},   // 87
    {ReportRowKind::Body, OnGlobalParams<ContractReport5541>, nullptr, nullptr, 0},   // 88
    {ReportRowKind::Body, OnGlobalParams<ContractReport5540>, nullptr, nullptr, 0},   // 89
    {ReportRowKind::Body, OnGlobalParams<PriceListReport>, nullptr, nullptr, 0},   // 90
    {ReportRowKind::Body, OnGlobalParams<Register109Report>, nullptr, nullptr, 0},   // 91
    {ReportRowKind::Body, OnGlobalParams<Register110Report>, nullptr, nullptr, 0},   // 92
    {ReportRowKind::Body, UserTotalsReport, nullptr, nullptr, 0},   // 93
    {ReportRowKind::Body, OnGlobalParams<SalesInvoiceJournal>, nullptr, nullptr, 0},   // 94
    {ReportRowKind::Body, OnGlobalParams<PurchInvoiceJournal>, nullptr, nullptr, 0},   // 95
    {ReportRowKind::Body, OnGlobalParams<StockMovementReport>, nullptr, nullptr, 0},   // 96
    {ReportRowKind::Body, OnGlobalParams<OrderObjectReport>, nullptr, nullptr, 0},   // 97
    {ReportRowKind::Body, OnGlobalParams<LocationReport>, nullptr, nullptr, 0},   // 98
    {ReportRowKind::Body, AssetDepreciationReport, nullptr, nullptr, 0},   // 99
    {ReportRowKind::Body, OnGlobalParams<DepPersonReport100>, nullptr, nullptr, 0},   // 100
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<TransDateReport101>, 0},   // 101
    {ReportRowKind::Body, OnGlobalParams<EmployeeDepReport>, nullptr, nullptr, 0},   // 102
    {ReportRowKind::Body, OnGlobalParams<EmployeeDepPersonReport>, nullptr, nullptr, 0},   // 103
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<TransDateReport101>, 1},   // 104
    {ReportRowKind::Body, AssetDateReport, nullptr, nullptr, 0},   // 105
    {ReportRowKind::Body, AssetValueReport, nullptr, nullptr, 0},   // 106
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 107
    {ReportRowKind::Body, AssetRowsReport, nullptr, nullptr, 0},   // 108
    {ReportRowKind::Body, DepreciationVoucherReport, nullptr, nullptr, 0},   // 109
    {ReportRowKind::Body, DocumentFlowReport, nullptr, nullptr, 0},   // 110
    {ReportRowKind::Body, OnGlobalParams<ShipDateReport>, nullptr, nullptr, 0},   // 111
    {ReportRowKind::Body, OnGlobalParams<PostedDocumentVoucherReport>, nullptr, nullptr, 0},   // 112
    {ReportRowKind::Body, OnGlobalParams<PurchaseItemReport>, nullptr, nullptr, 0},   // 113
    {ReportRowKind::Body, OnGlobalParams<PurchInvoiceByVendorCode>, nullptr, nullptr, 0},   // 114
    {ReportRowKind::Body, ProjectReport, nullptr, nullptr, 0},   // 115
    {ReportRowKind::Body, nullptr, nullptr, OnGlobalParamsArg<OrderStatusReport64>, 2},   // 116
};

// The row of report number `number`; null outside -29..116.
const ReportRowRec *ReportRow(int number)
{
    if (number < ReportFirst || number > ReportLast) return nullptr;
    return &ReportTable[number - ReportFirst];
}
