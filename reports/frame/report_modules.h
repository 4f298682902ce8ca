// report_modules.h - each module's report rows, which the report table
// gathers. A module's rows file (reports/<module>/<module>_report_rows.cpp)
// names its bodies; adding a report is a line there, not here.
#pragma once

#include "reports/frame/report_run.h"

ReportModuleRows LedgerReportRows();     // reports/ledger
ReportModuleRows SalesReportRows();      // reports/sales
ReportModuleRows PurchaseReportRows();   // reports/purchase
ReportModuleRows StockReportRows();      // reports/stock
ReportModuleRows AssetReportRows();      // reports/assets
ReportModuleRows ProjectReportRows();    // reports/projects
ReportModuleRows DocumentRunRows();      // output/forms' bodies, named in reports/frame
