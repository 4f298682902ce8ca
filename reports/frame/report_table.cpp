// report_table.cpp - what each report number -29..116 runs, as data: the
// body that prints it, or that its body comes with a later version, or
// that the number has none.
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
    {ReportRowKind::Body, PrintTimeSheetForms, nullptr, nullptr, 0},   // -29
    {ReportRowKind::Body, PrintProductionForms, nullptr, nullptr, 0},   // -28
    {ReportRowKind::Body, PrintDeliveryLabels, nullptr, nullptr, 0},   // -27
    {ReportRowKind::Body, PrintCustomerForms26, nullptr, nullptr, 0},   // -26
    {ReportRowKind::Body, PrintAssetForms, nullptr, nullptr, 0},   // -25
    {ReportRowKind::Body, PrintProjectForms, nullptr, nullptr, 0},   // -24
    {ReportRowKind::Body, PrintPurchaseLabels, nullptr, nullptr, 0},   // -23
    {ReportRowKind::Body, PrintPurchaseForms, nullptr, nullptr, 0},   // -22
    {ReportRowKind::Body, PrintItemForms, nullptr, nullptr, 0},   // -21
    {ReportRowKind::Body, PrintStockMoveForms, nullptr, nullptr, 0},   // -20
    {ReportRowKind::Body, ApprovePORange, nullptr, nullptr, 0},   // -19
    {ReportRowKind::Body, nullptr, nullptr, PrintInvoiceForms, -18},   // -18
    {ReportRowKind::Body, nullptr, nullptr, PrintInvoiceForms, -17},   // -17
    {ReportRowKind::Body, nullptr, nullptr, PrintInvoiceForms, -16},   // -16
    {ReportRowKind::Body, ApproveOrderRange26, nullptr, nullptr, 0},   // -15
    {ReportRowKind::Body, ApproveQuoteRange, nullptr, nullptr, 0},   // -14
    {ReportRowKind::Body, PrintCustomerForms13, nullptr, nullptr, 0},   // -13
    {ReportRowKind::Body, nullptr, nullptr, PrintDeliveryForms, -12},   // -12
    {ReportRowKind::Body, CustomerStatementRun, nullptr, nullptr, 0},   // -11
    {ReportRowKind::Body, ApprovePaymentRange, nullptr, nullptr, 0},   // -10
    {ReportRowKind::Body, VendorPaymentRun, nullptr, nullptr, 0},   // -9
    {ReportRowKind::Body, nullptr, nullptr, CustomerReport18, 0},   // -8
    {ReportRowKind::Body, nullptr, nullptr, PrintDeliveryForms, -7},   // -7
    {ReportRowKind::Body, ApproveOrderRange, nullptr, nullptr, 0},   // -6
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // -5
    {ReportRowKind::Body, PrintCustomerForms, nullptr, nullptr, 0},   // -4
    {ReportRowKind::Body, ApproveDeliveryRange, nullptr, nullptr, 0},   // -3
    {ReportRowKind::Body, ApproveInvoiceRange, nullptr, nullptr, 0},   // -2
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // -1
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 0
    {ReportRowKind::Body, SalesJournalReport, nullptr, nullptr, 0},   // 1
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 2
    {ReportRowKind::Body, CustomerListReport, nullptr, nullptr, 0},   // 3
    {ReportRowKind::Body, OrderListReport4, nullptr, nullptr, 0},   // 4
    {ReportRowKind::Body, CustomerLedgerReport, nullptr, nullptr, 0},   // 5
    {ReportRowKind::Body, LedgerReport6, nullptr, nullptr, 0},   // 6
    {ReportRowKind::Body, DeliveryReport, nullptr, nullptr, 0},   // 7
    {ReportRowKind::Body, ItemReport8, nullptr, nullptr, 0},   // 8
    {ReportRowKind::ByLayout, ItemListReportLayout0, ItemListReport, nullptr, 0},   // 9
    {ReportRowKind::Body, nullptr, nullptr, ItemPriceReport, 0},   // 10
    {ReportRowKind::Body, nullptr, nullptr, ItemPriceReport, 2},   // 11
    {ReportRowKind::Body, nullptr, nullptr, ItemPriceReport, 3},   // 12
    {ReportRowKind::Body, ReceiptJournalReport, nullptr, nullptr, 0},   // 13
    {ReportRowKind::Body, CustomerSalesReport, nullptr, nullptr, 0},   // 14
    {ReportRowKind::Body, TransJournalReport, nullptr, nullptr, 0},   // 15
    {ReportRowKind::Body, DueDateReport, nullptr, nullptr, 0},   // 16
    {ReportRowKind::Body, LedgerSetupListReport, nullptr, nullptr, 0},   // 17
    {ReportRowKind::Body, nullptr, nullptr, CustomerReport18, 1},   // 18
    {ReportRowKind::Body, FormulaReport19, nullptr, nullptr, 0},   // 19
    {ReportRowKind::Body, AccountBalanceReport, nullptr, nullptr, 0},   // 20
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 21
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 22
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 23
    {ReportRowKind::Body, TransByDateReport, nullptr, nullptr, 0},   // 24
    {ReportRowKind::Body, VoucherPrintRun, nullptr, nullptr, 0},   // 25
    {ReportRowKind::Body, ReportPurchInvoicesByVendor, nullptr, nullptr, 0},   // 26
    {ReportRowKind::Body, VendorListReport, nullptr, nullptr, 0},   // 27
    {ReportRowKind::Body, ReportPurchInvoicePayments, nullptr, nullptr, 0},   // 28
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 29
    {ReportRowKind::Body, VendorTurnoverReport, nullptr, nullptr, 0},   // 30
    {ReportRowKind::Body, VendorAgeingReport, nullptr, nullptr, 0},   // 31
    {ReportRowKind::Body, PurchDueDateReport, nullptr, nullptr, 0},   // 32
    {ReportRowKind::Body, FormulaReport33, nullptr, nullptr, 0},   // 33
    {ReportRowKind::Body, CustomerBalanceReport, nullptr, nullptr, 0},   // 34
    {ReportRowKind::Body, VendorBalanceReport, nullptr, nullptr, 0},   // 35
    {ReportRowKind::Body, Report36PurchInvoices, nullptr, nullptr, 0},   // 36
    {ReportRowKind::Body, FormulaReport37, nullptr, nullptr, 0},   // 37
    {ReportRowKind::Body, FormulaReport37, nullptr, nullptr, 0},   // 38
    {ReportRowKind::Body, FormulaReport37, nullptr, nullptr, 0},   // 39
    {ReportRowKind::Body, FormulaReport37, nullptr, nullptr, 0},   // 40
    {ReportRowKind::Body, FormulaReport37, nullptr, nullptr, 0},   // 41
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 42
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 43
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 44
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 45
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 46
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 47
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 48
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 49
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 50
    {ReportRowKind::Body, StatementReport, nullptr, nullptr, 0},   // 51
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 52
    {ReportRowKind::Body, PurchaseReport53, nullptr, nullptr, 0},   // 53
    {ReportRowKind::Body, OrderStatusReport, nullptr, nullptr, 0},   // 54
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 55
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 56
    {ReportRowKind::Body, InvoiceJournalReport, nullptr, nullptr, 0},   // 57
    {ReportRowKind::Body, SalesOrderReport, nullptr, nullptr, 0},   // 58
    {ReportRowKind::Body, QuotationReport, nullptr, nullptr, 0},   // 59
    {ReportRowKind::Body, LedgerReport60, nullptr, nullptr, 0},   // 60
    {ReportRowKind::Body, LedgerReport61, nullptr, nullptr, 0},   // 61
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 62
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 63
    {ReportRowKind::Body, nullptr, nullptr, OrderStatusReport64, 1},   // 64
    {ReportRowKind::Body, InvoiceByDateReport, nullptr, nullptr, 0},   // 65
    {ReportRowKind::Body, CustomerStatementReport, nullptr, nullptr, 0},   // 66
    {ReportRowKind::Body, VatCodeCheckReport, nullptr, nullptr, 0},   // 67
    {ReportRowKind::Body, ProjectListReport, nullptr, nullptr, 0},   // 68
    {ReportRowKind::Body, ProjectSummaryReport, nullptr, nullptr, 0},   // 69
    {ReportRowKind::Body, ProjectTransReport, nullptr, nullptr, 0},   // 70
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 71
    {ReportRowKind::Body, InvoiceReport72, nullptr, nullptr, 0},   // 72
    {ReportRowKind::Body, StockHistoryReport, nullptr, nullptr, 0},   // 73
    {ReportRowKind::Body, ItemInvCodeReport, nullptr, nullptr, 0},   // 74
    {ReportRowKind::Body, PurchaseOrderReport, nullptr, nullptr, 0},   // 75
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 76
    {ReportRowKind::Body, nullptr, nullptr, ItemPriceReport, 2},   // 77
    {ReportRowKind::Body, RecipeReport, nullptr, nullptr, 0},   // 78
    {ReportRowKind::Body, ProductionReport, nullptr, nullptr, 0},   // 79
    {ReportRowKind::Body, ItemQtyReport, nullptr, nullptr, 0},   // 80
    {ReportRowKind::Body, POStatusReport, nullptr, nullptr, 0},   // 81
    {ReportRowKind::Body, Register100Report, nullptr, nullptr, 0},   // 82
    {ReportRowKind::Body, ObjectBalanceReport, nullptr, nullptr, 0},   // 83
    {ReportRowKind::Body, SerialNumberHistoryReport, nullptr, nullptr, 0},   // 84
    {ReportRowKind::Body, RegisterCountReport, nullptr, nullptr, 0},   // 85
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 86
    {ReportRowKind::Body, Report87Batch, nullptr, nullptr, 0},   // 87
    {ReportRowKind::Body, ContractReport5541, nullptr, nullptr, 0},   // 88
    {ReportRowKind::Body, ContractReport5540, nullptr, nullptr, 0},   // 89
    {ReportRowKind::Body, PriceListReport, nullptr, nullptr, 0},   // 90
    {ReportRowKind::Body, Register109Report, nullptr, nullptr, 0},   // 91
    {ReportRowKind::Body, Register110Report, nullptr, nullptr, 0},   // 92
    {ReportRowKind::Body, UserTotalsReport, nullptr, nullptr, 0},   // 93
    {ReportRowKind::Body, SalesInvoiceJournal, nullptr, nullptr, 0},   // 94
    {ReportRowKind::Body, PurchInvoiceJournal, nullptr, nullptr, 0},   // 95
    {ReportRowKind::Body, StockMovementReport, nullptr, nullptr, 0},   // 96
    {ReportRowKind::Body, OrderObjectReport, nullptr, nullptr, 0},   // 97
    {ReportRowKind::Body, LocationReport, nullptr, nullptr, 0},   // 98
    {ReportRowKind::Body, AssetDepreciationReport, nullptr, nullptr, 0},   // 99
    {ReportRowKind::Body, DepPersonReport100, nullptr, nullptr, 0},   // 100
    {ReportRowKind::Body, nullptr, nullptr, TransDateReport101, 0},   // 101
    {ReportRowKind::Body, EmployeeDepReport, nullptr, nullptr, 0},   // 102
    {ReportRowKind::Body, EmployeeDepPersonReport, nullptr, nullptr, 0},   // 103
    {ReportRowKind::Body, nullptr, nullptr, TransDateReport101, 1},   // 104
    {ReportRowKind::Body, AssetDateReport, nullptr, nullptr, 0},   // 105
    {ReportRowKind::Body, AssetValueReport, nullptr, nullptr, 0},   // 106
    {ReportRowKind::None, nullptr, nullptr, nullptr, 0},   // 107
    {ReportRowKind::Body, AssetRowsReport, nullptr, nullptr, 0},   // 108
    {ReportRowKind::Body, DepreciationVoucherReport, nullptr, nullptr, 0},   // 109
    {ReportRowKind::Body, DocumentFlowReport, nullptr, nullptr, 0},   // 110
    {ReportRowKind::Body, ShipDateReport, nullptr, nullptr, 0},   // 111
    {ReportRowKind::Body, PostedDocumentVoucherReport, nullptr, nullptr, 0},   // 112
    {ReportRowKind::Body, PurchaseItemReport, nullptr, nullptr, 0},   // 113
    {ReportRowKind::Body, PurchInvoiceByVendorCode, nullptr, nullptr, 0},   // 114
    {ReportRowKind::Body, ProjectReport, nullptr, nullptr, 0},   // 115
    {ReportRowKind::Body, nullptr, nullptr, OrderStatusReport64, 2},   // 116
};

// The row of report number `number`; null outside -29..116.
const ReportRowRec *ReportRow(int number)
{
    if (number < ReportFirst || number > ReportLast) return nullptr;
    return &ReportTable[number - ReportFirst];
}
