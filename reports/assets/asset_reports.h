// asset_reports.h - the reports of the fixed assets that the report run
// reaches by number: 99 depreciation, 105 by date, 106 values, 108 the
// asset cards with their rows, 109 the depreciation voucher.
#pragma once

struct ReportJob;

void AssetDepreciationReport(ReportJob &job);     // 99
void AssetDateReport(ReportJob &job);             // 105
void AssetValueReport(ReportJob &job);            // 106
void AssetRowsReport(ReportJob &job);             // 108
void DepreciationVoucherReport(ReportJob &job);   // 109
