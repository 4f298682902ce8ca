// asset_reports.h - the reports of the fixed assets that the report run
// reaches by number: 99 depreciation, 105 by date, 106 values, 108 the
// asset cards with their rows, 109 the depreciation voucher.
#pragma once

void AssetDepreciationReport();     // 99
void AssetDateReport();             // 105
void AssetValueReport();            // 106
void AssetRowsReport();             // 108
void DepreciationVoucherReport();   // 109
