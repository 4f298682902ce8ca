// asset_reports.cpp - the reports of the fixed assets: the depreciation
// of a period (99), the assets by their date (105), their values (106),
// the asset cards with their rows (108) and the depreciation voucher in
// report form (109). Every walk is the assets' walk of the job record,
// stopped by Esc after the asset at hand.
#include "reports/assets/asset_reports.h"

#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "operations/asset_depreciation.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "rules/rules_types.h"

namespace {

constexpr int LineHeight = 12;

// Writes the text field of record at offset (at most m characters) at x.
void TextAt(int x, const uint8_t *record, uint32_t offset, int m) {
    PString text;
    GetPString(record, offset, m, text);
    RepTextEx(x, -1, 0, 0, 0, text);
}

// A line of column headings and the thin rule under it.
void Columns(std::initializer_list<HeadingText> columns) {
    ReportHeadings(LineHeight, columns);
    RepRuleFull(1, 2);
}

// ---- 99 ----

struct DepreciationRun {
    const uint8_t *selection;
    DateRec periodEnd;
    AssetAmounts sums;
};

// Assets bought by the period end and not disposed of by it.
bool DepreciationAsset(const uint8_t *asset, void *data) {
    DepreciationRun *run = static_cast<DepreciationRun *>(data);
    const DateRec bought = GetDate(asset, AssetVc::AcqDate);
    const DateRec disposed = GetDate(asset, AssetVc::DispDate);
    if (DateCompare(&bought, &run->periodEnd) > 0) return true;
    if (!DateIsEmpty(&disposed) && DateCompare(&disposed, &run->periodEnd) <= 0) return true;
    AssetPeriodAmounts(run->selection, asset, true, &run->sums);
    return !ReportCancelled();
}

// ---- 105 ----

bool DateAsset(const uint8_t *asset, void *data) {
    const DateRec *reportDate = static_cast<const DateRec *>(data);
    const DateRec date = GetDate(asset, AssetVc::InspectDate);
    if (reportDate && DateCompare(&date, reportDate) > 0) return !ReportCancelled();
    RepStartLine(LineHeight);
    TextAt(0, asset, AssetVc::Code, 10);
    TextAt(100, asset, AssetVc::Name, 60);
    RepValue(300, 0, asset + AssetVc::InspectDate, FtDate, 0);
    const PackedDecimal value = GetDec(asset, AssetVc::Value320);
    RepAmountAt(420, &value);
    RepTextNr(430, 0, 2766, 0);
    RepEndLine();
    return !ReportCancelled();
}

// ---- 106 ----

bool ValueAsset(const uint8_t *asset, void *data) {
    PackedDecimal *total = static_cast<PackedDecimal *>(data);
    const PackedDecimal value = GetDec(asset, AssetVc::Value302);
    RepStartLine(LineHeight);
    TextAt(0, asset, AssetVc::Code, 10);
    TextAt(100, asset, AssetVc::Name, 60);
    RepAmountAt(480, &value);
    RepEndLine();
    DecAdd(total, &value, total);
    return !ReportCancelled();
}

// ---- 108 ----

// A labelled line of a text field, when it is set.
void LabelledText(int label, const uint8_t *asset, uint32_t offset, int m) {
    PString text;
    GetPString(asset, offset, m, text);
    if (!text[0]) return;
    RepStartLine(LineHeight);
    RepTextNr(15, 0, label, 0);
    RepTextEx(150, -1, 0, 0, 0, text);
    RepEndLine();
}

// A labelled line of a date and an amount, when either is set.
void LabelledDateAmount(int label, const uint8_t *asset, uint32_t dateAt, uint32_t amountAt) {
    const DateRec date = GetDate(asset, dateAt);
    const PackedDecimal amount = GetDec(asset, amountAt);
    const bool hasDate = dateAt != 0 && !DateIsEmpty(&date);
    const bool hasAmount = amountAt != 0 && !DecIsZero(&amount);
    if (!hasDate && !hasAmount) return;
    RepStartLine(LineHeight);
    RepTextNr(15, 0, label, 0);
    if (hasDate) RepValue(150, 0, asset + dateAt, FtDate, 0);
    if (hasAmount) RepAmountAt(380, &amount);
    RepEndLine();
}

bool RowsAsset(const uint8_t *asset, void *) {
    RepStartLine(LineHeight);
    TextAt(15, asset, AssetVc::Code, 10);
    TextAt(100, asset, AssetVc::Name, 60);
    TextAt(400, asset, AssetVc::Class, 5);
    RepEndLine();
    LabelledText(5465, asset, AssetVc::VendCode, 20);
    LabelledText(5465, asset, AssetVc::VendName, 60);
    LabelledText(5466, asset, AssetVc::Location, 10);
    LabelledText(5467, asset, AssetVc::SerialNr, 20);
    LabelledText(5468, asset, AssetVc::Department, 5);
    LabelledDateAmount(5469, asset, AssetVc::AcqDate, AssetVc::AcqValue);
    LabelledDateAmount(5470, asset, AssetVc::DispDate, AssetVc::DispValue);
    LabelledText(5480, asset, AssetVc::Objects, 5);
    LabelledDateAmount(5471, asset, 0, AssetVc::Value320);
    LabelledDateAmount(5472, asset, AssetVc::InspectDate, 0);
    LabelledDateAmount(5473, asset, 0, AssetVc::Value302);
    LabelledText(5474, asset, AssetVc::Comment, 60);
    const int32_t rows = MatrixRowCount(AssetVc::Number, 0, asset);
    if (rows > 0) {
        ReportHeadings(LineHeight, {{30, 5475}, {120, 5476}, {200, 5477}, {380, 5478, -1}});
        RepRule(30, 380, 1);
        uint8_t row[AssetVc::Rows::Size];
        for (int32_t i = 0; i < rows && !RepStopped; i++) {
            if (!MatrixRowRead(AssetVc::Number, asset, i, row)) continue;
            RepStartLine(LineHeight);
            RepValue(30, 0, row + AssetVc::Rows::RowDate, FtDate, 0);
            TextAt(120, row, AssetVc::Rows::Model1, 5);
            TextAt(200, row, AssetVc::Rows::Model2, 5);
            const PackedDecimal value = GetDec(row, AssetVc::Rows::NewValue);
            if (!DecIsBlank(&value)) RepAmountAt(380, &value);
            RepEndLine();
        }
        RepRule(30, 380, 1);
    }
    RepRuleFull(1, 1);
    return !ReportCancelled();
}

}  // namespace

// Report 99: per asset its values, depreciation and book values before,
// in and at the end of the period; their sums at the end, under "Total".
void AssetDepreciationReport(ReportJob &job) {
    assert(job.selection);
    DepreciationRun run;
    run.selection = job.selection;
    run.periodEnd = GetDate(job.selection, ReportParamsVc::DateTo);
    DecSetZero(&run.sums.valueBefore);
    run.sums.valueChange = run.sums.deprBefore = run.sums.deprPeriod = run.sums.valueBefore;
    RepBeginJobNr(5280);
    Columns({{0, 5281}, {100, 5282}, {280, 5283, -1}, {380, 5284, -1}, {480, 5287, -1}});
    AssetWalk(job.selection, DepreciationAsset, &run);
    RepRuleFull(1, 2);
    // The sums stand under a line of their own, as each asset's amounts
    // stand under its code and name.
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 5425, 0);
    RepEndLine();
    AssetAmountLines(&run.sums);
    RepEndJob();
}

// Report 105: the assets whose date is not after the report date (every
// asset when none is given), with their value.
void AssetDateReport(ReportJob &job) {
    assert(job.selection);
    const DateRec date = GetDate(job.selection, ReportParamsVc::Date2From);
    RepBeginJobNr(5441);
    Columns({{0, 5442}, {100, 5443}, {300, 5444}, {420, 5445, -1}});
    DateRec given = date;
    AssetWalk(job.selection, DateAsset, DateIsEmpty(&date) ? nullptr : &given);
    RepEndJob();
}

// Report 106: the assets' values and their total.
void AssetValueReport(ReportJob &job) {
    assert(job.selection);
    PackedDecimal total;
    DecSetZero(&total);
    RepBeginJobNr(5421);
    Columns({{0, 5422}, {100, 5423}, {480, 5424, -1}});
    AssetWalk(job.selection, ValueAsset, &total);
    RepRuleFull(1, 2);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 5425, 0);
    RepAmountAt(480, &total);
    RepEndLine();
    RepEndJob();
}

// Report 108: each asset's card: its set fields, then its rows.
void AssetRowsReport(ReportJob &job) {
    assert(job.selection);
    RepBeginJobNr(5461);
    Columns({{15, 5462}, {100, 5463}, {400, 5464}});
    AssetWalk(job.selection, RowsAsset, nullptr);
    RepEndJob();
}

// Report 109: the depreciation voucher as it would be stored.
void DepreciationVoucherReport(ReportJob &job) {
    assert(job.selection);
    DepreciationVoucherRows(job.selection, 0);
}
