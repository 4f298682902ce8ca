// project_summary_report.cpp - report 69, the project summary: one line
// per project (code, name, leader, customer, dates) and, in layout 0, its
// descriptions, reference and total budget; and report 115, the budgeted
// amounts per project of time, of costs and of the time-budget rows with
// their totals.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/projects/project_print.h"
#include "reports/projects/project_reports.h"
#include "rules/project_budget_lines.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;

constexpr int DetailGap = 8;

// data: whether the layout lists projects on one line each (no details).
bool SummaryProject(const uint8_t *project, void *data) {
    const bool linesOnly = *static_cast<const bool *>(data);
    namespace V = ProjectVc;
    RepStartLine(ProjectLineHeight);
    ProjectTextAt(15, project, V::Code);
    ProjectTextAt(70, project, V::Name);
    ProjectTextAt(150, project, V::Leader);
    ProjectTextAt(210, project, V::CustCode);
    ProjectTextAt(270, project, V::CustName);
    for (const auto &[x, at] : {std::pair<int, uint32_t>{420, V::Date370}, {480, V::Date376}}) {
        const DateRec d = GetDate(project, at);
        if (!DateIsEmpty(&d)) RepValue(x, 0, project + at, FtDate, 0);
    }
    RepEndLine();
    if (linesOnly) return !RepStopped;
    const uint32_t descriptions[3] = {V::Desc1, V::Desc2, V::Desc3};
    for (int i = 0; i < 3; i++) {
        PString text;
        GetPString(project, descriptions[i], ProjectTextMax, text);
        if (i > 0 && !text[0]) continue;   // an empty further line is left out
        RepStartLine(ProjectLineHeight);
        if (i == 0) RepTextNr(15, 0, 4866, 0);
        ProjectPTextAt(150, text);
        RepEndLine();
    }
    ReportBlankLine(DetailGap);
    RepStartLine(ProjectLineHeight);
    RepTextNr(15, 0, 4867, 0);
    ProjectTextAt(150, project, V::Reference);
    RepEndLine();
    ReportBlankLine(DetailGap);
    PString code;
    GetText(project, V::Code, code);
    PackedDecimal budget;
    ProjectBudgetSums(code, &budget);
    RepStartLine(ProjectLineHeight);
    RepTextNr(15, 0, 4868, 0);
    ProjectAmountAt(250, &budget);
    RepEndLine();
    ReportBlankLine(ProjectLineHeight);
    RepRuleFull(1, 1);
    return !RepStopped;
}

// The four amounts of report 115 and their running totals.
struct BudgetReportSums {
    PackedDecimal totals[4];
    bool invoiced, toInvoice;
};

constexpr int AmountX[4] = {240, 320, 400, 480};

void AmountsLine(const PackedDecimal amounts[4]) {
    for (int i = 0; i < 4; i++) ProjectAmountAt(AmountX[i], &amounts[i]);
}

bool BudgetProject(const uint8_t *project, void *data) {
    BudgetReportSums *s = static_cast<BudgetReportSums *>(data);
    PString code;
    GetText(project, ProjectVc::Code, code);
    PackedDecimal a[4];
    ProjectBudgetLines(code, s->invoiced, s->toInvoice, &a[0], &a[1], &a[3]);
    DecAdd(&a[0], &a[1], &a[2]);
    RepStartLine(ProjectLineHeight);
    ProjectTextAt(0, project, ProjectVc::Code);
    ProjectTextPrefixAt(60, project, ProjectVc::Name, 30);
    AmountsLine(a);
    RepEndLine();
    for (int i = 0; i < 4; i++) ProjectSumAdd(&s->totals[i], &a[i]);
    return !RepStopped;
}

}  // namespace

// Report 69: the projects of the selection by code, or by customer with
// word 876; word 894 leaves closed projects out.
void ProjectSummaryReport(ReportJob &job) {
    const uint8_t *params = job.selection;
    assert(params);
    ProjectSelection sel;
    ProjectSelectionLoad(params, &sel, true);
    sel.skipClosed = GetU16(params, P::Option11) == 1;
    const ProjectOrder order = GetU16(params, P::Option2) != 0 ? ProjectOrder::Customer : ProjectOrder::Code;
    bool linesOnly = GetU16(params, P::ReportLayout) != 0;
    RepBeginJobNr(4861);
    ProjectColumnLine({{15, 4862}, {150, 4863}, {210, 2354}, {400, 4864}, {460, 4865}}, true);
    ProjectWalk(&sel, order, SummaryProject, &linesOnly);
    RepEndJob();
}

// Report 115: per project of the selection (closed ones left out) its
// time, cost, their sum and its row amounts: the invoiced amounts with
// word 876, which also walks by customer, plus those still to invoice
// with word 878; a rule and the totals after the last.
void ProjectReport(ReportJob &job) {
    const uint8_t *params = job.selection;
    assert(params);
    ProjectSelection sel;
    ProjectSelectionLoad(params, &sel, false);
    const bool byCustomer = GetU16(params, P::Option2) != 0;
    BudgetReportSums sums;
    for (PackedDecimal &t : sums.totals) DecSetZero(&t);
    sums.invoiced = byCustomer;
    sums.toInvoice = GetU16(params, P::Option3) != 0;
    RepBeginJobNr(5560);
    RepStartLine(ProjectLineHeight);
    RepTextNr(0, 0, 5561, 0);
    for (int i = 0; i < 4; i++) RepTextNr(AmountX[i], 0, 5562 + i, -1);
    RepEndLine();
    RepRuleFull(1, 2);
    ProjectWalk(&sel, byCustomer ? ProjectOrder::Customer : ProjectOrder::Code, BudgetProject, &sums);
    if (!CancelFlag) {
        RepRuleFull(1, 1);
        RepStartLine(ProjectLineHeight);
        RepTextNr(0, 0, 4837, 0);
        AmountsLine(sums.totals);
        RepEndLine();
    }
    RepEndJob();
}
