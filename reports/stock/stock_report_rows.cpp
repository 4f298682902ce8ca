// stock_report_rows.cpp - the report numbers of the items and the stock
// (item statistics and prices, stock value, position and history, the
// stock registers as lists) and the body each runs.
#include "reports/frame/report_modules.h"
#include "reports/frame/report_run.h"
#include "reports/sales/order_reports.h"
#include "reports/stock/stock_reports.h"

namespace {

constexpr ReportRowEntry Rows[] = {
    BodyRow(8, ItemReport8),
    LayoutRow(9, ItemListReportLayout0, ItemListReport),
    ArgRow(10, ItemPriceReport, 0),
    ArgRow(11, ItemPriceReport, 2),
    ArgRow(12, ItemPriceReport, 3),
    BodyRow(73, StockHistoryReport),
    BodyRow(74, ItemInvCodeReport),
    ArgRow(77, ItemPriceReport, 2),
    BodyRow(78, RecipeReport),
    BodyRow(80, ItemQtyReport),
    BodyRow(84, SerialNumberHistoryReport),
    BodyRow(96, StockMovementReport),
    BodyRow(98, LocationReport),
    BodyRow(114, PurchInvoiceByVendorCode),
};

}  // namespace

ReportModuleRows StockReportRows() { return ModuleRows("stock", Rows); }
