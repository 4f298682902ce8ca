// asset_report_rows.cpp - the report numbers of the fixed assets and the
// body each runs.
#include "reports/assets/asset_reports.h"
#include "reports/frame/report_modules.h"
#include "reports/frame/report_run.h"

namespace {

constexpr ReportRowEntry Rows[] = {
    BodyRow(99, AssetDepreciationReport),
    BodyRow(105, AssetDateReport),
    BodyRow(106, AssetValueReport),
    BodyRow(108, AssetRowsReport),
    BodyRow(109, DepreciationVoucherReport),
};

}  // namespace

ReportModuleRows AssetReportRows() { return ModuleRows("assets", Rows); }
