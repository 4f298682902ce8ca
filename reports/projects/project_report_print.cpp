// project_report_print.cpp - the selection and walks the project reports
// share: the projects a job record selects in one of three orders, the
// budgets of one project, a project's total budget, and the line pieces
// every project report prints with.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_run.h"
#include "reports/projects/project_print.h"
#include "reports/projects/project_reports.h"
#include "rules/project_budget_lines.h"
#include "rules/rules_types.h"

namespace {

// Whether the walk is to end: Esc pressed or the job stopped.
bool WalkEnds() { return ReportCancelled() || RepStopped; }

// A code below from or above to (each end only when given).
bool Outside(const uint8_t *code, const uint8_t *from, const uint8_t *to) {
    if (from[0] && PStringCompare(code, from) < 0) return true;
    return to[0] && PStringCompare(code, to) > 0;
}

enum class Verdict : uint8_t { Take, Skip, End };

// What the walk in order does with project: past the end of the walked
// range (or of the leader walked by) ends it; outside the other ranges,
// closed, or of another filter code or leader skips it.
Verdict Judge(const ProjectSelection *sel, ProjectOrder order, const uint8_t *project) {
    PString code, customer, leader, filter;
    GetText(project, ProjectVc::Code, code);
    GetText(project, ProjectVc::CustCode, customer);
    GetText(project, ProjectVc::Leader, leader);
    GetText(project, ProjectVc::FilterCode, filter);
    if (order == ProjectOrder::Code && sel->projTo[0] && PStringCompare(code, sel->projTo) > 0) return Verdict::End;
    if (order == ProjectOrder::Customer && sel->custTo[0] && PStringCompare(customer, sel->custTo) > 0)
        return Verdict::End;
    if (order == ProjectOrder::Leader && sel->leader[0] && !PStringEqual(leader, sel->leader)) return Verdict::End;
    if (Outside(code, sel->projFrom, sel->projTo) || Outside(customer, sel->custFrom, sel->custTo))
        return Verdict::Skip;
    if (sel->skipClosed && GetU16(project, ProjectVc::Closed) == 1) return Verdict::Skip;
    if (sel->filter[0] && !PStringEqual(filter, sel->filter)) return Verdict::Skip;
    if (sel->leader[0] && !PStringEqual(leader, sel->leader)) return Verdict::Skip;
    return Verdict::Take;
}

const char *IndexOf(ProjectOrder order) {
    switch (order) {
    case ProjectOrder::Customer: return "CustCode";
    case ProjectOrder::Leader: return "PRLeader";
    case ProjectOrder::Code: break;
    }
    return "Code";
}

}  // namespace

void ProjectSelectionLoad(const uint8_t *job, ProjectSelection *sel, bool useLeader) {
    assert(job && sel);
    PString range;
    GetText(job, ReportParamsVc::SelText1, range);
    RangeSplit(range, sel->projFrom, sel->projTo);
    GetText(job, ReportParamsVc::SelText3, range);
    RangeSplit(range, sel->custFrom, sel->custTo);
    sel->leader[0] = 0;
    if (useLeader) GetTextPrefix(job, ReportParamsVc::SelText2, PersonCodeMax, sel->leader);
    GetTextPrefix(job, ReportParamsVc::SelText5, PersonCodeMax, sel->filter);
    sel->skipClosed = true;
}

void ProjectWalk(const ProjectSelection *sel, ProjectOrder order, bool (*each)(const uint8_t *project, void *data),
                 void *data) {
    assert(sel && each);
    RuleRecord project(ProjectVc::Number);
    if (!project.record) return;
    PutText(project.record, ProjectVc::Code, sel->projFrom);
    if (order == ProjectOrder::Customer) PutText(project.record, ProjectVc::CustCode, sel->custFrom);
    if (order == ProjectOrder::Leader) PutText(project.record, ProjectVc::Leader, sel->leader);
    const char *index = IndexOf(order);
    uint32_t recid = 0, position = 0;
    const int parts = order == ProjectOrder::Code ? 1 : 2;
    if (!RecFindByIndex(ProjectVc::Number, index, project.record, parts, 0, &recid, &position)) return;
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(ProjectVc::Number, project.record);
            if (!RecReadAtIndex(ProjectVc::Number, index, (int32_t)p, project.record, &recid)) break;
        }
        const Verdict v = Judge(sel, order, project.record);
        if (v == Verdict::End) break;
        if (v == Verdict::Take && !each(project.record, data)) break;
        if (WalkEnds()) break;
    }
}

namespace {

struct BudgetSum {
    uint32_t at;
    PackedDecimal *sum;
};

bool AddBudgetField(const uint8_t *budget, void *data) {
    BudgetSum *s = static_cast<BudgetSum *>(data);
    const PackedDecimal v = ProjectAmount(budget, s->at);
    ProjectSumAdd(s->sum, &v);
    return true;
}

}  // namespace

void ProjectBudgetSums(const uint8_t *projectCode, PackedDecimal *sum) {
    DecSetZero(sum);
    BudgetSum time{TimeBudgetVc::Budget, sum}, cost{CostBudgetVc::Budget, sum};
    ProjectBudgetWalk(TimeBudgetVc::Number, projectCode, AddBudgetField, &time);
    ProjectBudgetWalk(CostBudgetVc::Number, projectCode, AddBudgetField, &cost);
}

void ProjectUninvoicedSums97(const uint8_t *projectCode, PackedDecimal *sum) {
    DecSetZero(sum);
    BudgetSum time{TimeBudgetVc::ToInvoice, sum}, cost{CostBudgetVc::SpentSum, sum};
    ProjectBudgetWalk(TimeBudgetVc::Number, projectCode, AddBudgetField, &time);
    ProjectBudgetWalk(CostBudgetVc::Number, projectCode, AddBudgetField, &cost);
}

void ReportBlankLine(int height) {
    RepStartLine(height);
    RepEndLine();
}

void ProjectSumAdd(PackedDecimal *sum, const PackedDecimal *value) {
    if (DecIsBlank(sum)) DecSetZero(sum);
    if (DecIsBlank(value)) return;
    DecAdd(sum, value, sum);
}

PackedDecimal ProjectAmount(const uint8_t *base, uint32_t at) {
    PackedDecimal a = GetDec(base, at);
    if (DecIsBlank(&a)) DecSetZero(&a);
    return a;
}

void ProjectTextAt(int x, const uint8_t *record, RawOffset offset, int max) {
    PString text;
    GetPString(record, offset, max, text);
    ProjectPTextAt(x, text);
}

void ProjectPTextAt(int x, const uint8_t *text) {
    if (text[0]) RepTextEx(x, -1, 0, 0, 0, text);
}

void ProjectAmountAt(int x, const PackedDecimal *amount) { RepAmountAt(x, amount, FtAmount2); }

void ProjectQtyAt(int x, const PackedDecimal *qty) { RepAmountAt(x, qty, FtAmount3); }

void ProjectColumnLine(std::initializer_list<HeadingText> columns, bool rule) {
    ReportHeadings(ProjectLineHeight, columns);
    if (rule) RepRuleFull(1, 1);
}

void ProjectTextAmountLine(int n, int x, const PackedDecimal *amount) {
    RepStartLine(ProjectLineHeight);
    RepTextNr(0, 0, n, 0);
    ProjectAmountAt(x, amount);
    RepEndLine();
}
