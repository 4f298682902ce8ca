// expense_report.cpp - report 91, the expense records (register 109) of a
// number range, person, state and period: a line each, or (layout 1)
// each with its total and its account rows; the amounts summed per
// currency.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/kind_boxes.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/purchase/purchase_reports.h"
#include "reports/purchase/purchase_walk.h"
#include "reports/sales/sales_reports.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"

namespace {

constexpr int LineHeight = 12;

// True when the selection takes the record: its person (SelText2), its
// state (Option2 the unposted, Option3 the posted, neither both) and its
// date.
bool ExpenseWanted(const uint8_t *selection, const uint8_t *expense) {
    uint8_t want[256], person[256];
    GetText(selection, ReportParamsVc::SelText2, want);
    GetText(expense, ExpenseVc::Person, person);
    if (want[0] && !PStringEqual(want, person)) return false;
    const bool posted = GetU16(expense, ExpenseVc::Posted) != 0;
    if (!ParamStateAdmits(selection, ReportParamsVc::Option2, ReportParamsVc::Option3, posted)) return false;
    const DateRec date = GetDate(expense, ExpenseVc::TransDate);
    const DateRec from = GetDate(selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(selection, ReportParamsVc::DateTo);
    return DateInRange(&date, &from, &to);
}

// The record's total line and its account rows (layout 1).
void PrintExpenseRows(const uint8_t *expense) {
    RepStartLine(LineHeight);
    RepValue(380, 0, expense + ExpenseVc::VatTotal, FtAmount2, -1);
    RepEndLine();
    uint8_t row[ExpenseVc::Rows::Size];
    const int32_t rows = MatrixRowCount(ExpenseVc::Number, 0, expense);
    for (int32_t i = 0; i < rows && MatrixRowRead(ExpenseVc::Number, expense, i, row); i++) {
        if (ExpenseRowKind(GetU16(row, ExpenseVc::Rows::Kind)) != ExpenseRowKind::Account) continue;
        RepStartLine(LineHeight);
        RepTextField(20, row, ExpenseVc::Rows::Account);
        RepTextField(80, row, ExpenseVc::Rows::Objects);
        RepTextField(150, row, ExpenseVc::Rows::Text);
        RepValue(380, 0, row + ExpenseVc::Rows::Amount, FtAmount2, -1);
        RepEndLine();
    }
}

}  // namespace

// Report 91: the expense records of SelText1's number range the selection
// takes, with the totals per currency. Esc stops the walk after the
// record at hand; the totals and the job's end still come.
void Register109Report(ReportJob &job) {
    assert(job.selection);
    namespace E = ExpenseVc;
    const bool withRows = GetU16(job.selection, ReportParamsVc::ReportLayout) == 1;
    TotalsTableReset();

    RepBeginJobNr(5140);
    ReportHeadings(LineHeight, {{0, 5142}, {60, 5143}, {140, 5147}, {220, 5144}, {440, 5145, -1}});
    if (withRows) {
        RepStartLine(LineHeight);
        RepEndLine();
    } else {
        RepRuleFull(1, 1);
    }

    SerialRangeWalk(job.selection, E::Number, E::SerNr, [withRows, &job](const uint8_t *expense, uint32_t) {
        if (!ExpenseWanted(job.selection, expense)) return true;
        uint8_t currency[256];
        const PackedDecimal amount = GetDec(expense, E::Total);
        GetText(expense, E::CurncyCode, currency);
        TotalsTableAdd(currency, &amount, nullptr, nullptr);
        if (withRows) RepRuleFull(1, 1);
        RepStartLine(LineHeight);
        RepValue(0, 0, expense + E::SerNr, FtLong, 0);
        RepValue(60, 0, expense + E::TransDate, FtDate, 0);
        RepTextField(140, expense, E::Person);
        RepTextField(220, expense, E::PersonName);
        RepValue(440, 0, expense + E::Total, FtAmount2, -1);
        RepTextEx(445, -1, 0, 0, 0, currency);
        RepEndLine();
        if (withRows) PrintExpenseRows(expense);
        return true;
    });
    RepRuleFull(1, 1);
    TotalsTablePrint(440, -1, -1, 300, 1);
    RepEndJob();
}
