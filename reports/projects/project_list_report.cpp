// project_list_report.cpp - report 68, the project list: per project its
// time and cost budgets with their rows and totals, and what a project
// invoice made now would hold (a trial run that stores nothing), in the
// order and selection of the job record.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/record_buffer.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/projects/project_print.h"
#include "reports/frame/report_run.h"
#include "reports/projects/project_reports.h"
#include "rules/invoice_kind.h"
#include "rules/project_budget_lines.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;


// The parts of each project report 68 prints, from its job record.
struct ListParts {
    bool budgets, invoiceAll, invoiceRest, openOnly, values;
};

// The three column totals of budget rows in value mode and the project's
// total of budget amounts.
struct ProjectTotals {
    PackedDecimal columns[3];
    PackedDecimal budget;
    bool headed = false;     // the project heading is printed
    bool costHeaded = false; // the cost budgets' line is printed
    bool values = false;     // word 886: the columns as values
};

void TotalsClear(PackedDecimal *sums, int n) {
    for (int i = 0; i < n; i++) DecSetZero(&sums[i]);
}

// The heading a project's budgets start with, once per project.
void BudgetsHeading(ProjectTotals *t, const uint8_t *project) {
    if (t->headed) return;
    t->headed = true;
    RepStartLine(ProjectLineHeight);
    RepTextNr(0, 0, 4841, 0);
    RepEndLine();
    RepRuleFull(1, 1);
    ProjectReportHeading(project, false);
}

// A budget's line: item code, name, the fixed-budget flag and its budget.
void BudgetLine(const uint8_t *budget, uint32_t itemAt, uint32_t nameAt, uint32_t fixedAt, uint32_t budgetAt) {
    RepStartLine(ProjectLineHeight);
    ProjectTextAt(11, budget, itemAt, ProjectCodeMax);
    ProjectTextAt(80, budget, nameAt, ProjectTextMax);
    PString flag, digit;
    GetUiText(flag, 4838);
    PStringFromC(digit, GetU16(budget, fixedAt) ? "1" : "0");
    PStringAppend(flag, digit);
    ProjectPTextAt(300, flag);
    const PackedDecimal amount = ProjectAmount(budget, budgetAt);
    ProjectAmountAt(480, &amount);
    RepEndLine();
}

// The three columns of a row (quantities or values), right-aligned.
constexpr int ColumnX[3] = {205, 245, 305};

void RowColumns(const PackedDecimal cols[3], bool values) {
    for (int i = 0; i < 3; i++) {
        if (values) ProjectAmountAt(ColumnX[i], &cols[i]);
        else ProjectQtyAt(ColumnX[i], &cols[i]);
    }
}

// A rule and the column totals of one budget (value mode only), on a line
// that says they are its total.
void BudgetColumnTotals(const PackedDecimal sums[3]) {
    RepRule(150, 310, 1);
    RepStartLine(ProjectLineHeight);
    RepTextNr(40, 0, Texts::ReportTotalLabel, 0);
    RowColumns(sums, true);
    RepEndLine();
}

// One budget row: its text (person or row text) at x, the three columns,
// a fourth amount at 410 (nothing when blank) and the price at 480.
void BudgetRowLine(int x, const uint8_t *row, uint32_t textAt, int textMax, const PackedDecimal cols[3], bool values,
                   const PackedDecimal *fourth, const PackedDecimal *price) {
    RepStartLine(ProjectLineHeight);
    ProjectTextAt(x, row, textAt, textMax);
    RowColumns(cols, values);
    if (!DecIsBlank(fourth)) ProjectAmountAt(410, fourth);
    ProjectAmountAt(480, price);
    RepEndLine();
}

// The end of a budget: in value mode the rule and its column totals,
// which join the project's; its budget amount joins the project total.
void BudgetEnd(ProjectTotals *t, const PackedDecimal sums[3], const uint8_t *budget, uint32_t budgetAt) {
    if (t->values) {
        BudgetColumnTotals(sums);
        for (int c = 0; c < 3; c++) ProjectSumAdd(&t->columns[c], &sums[c]);
    }
    const PackedDecimal amount = ProjectAmount(budget, budgetAt);
    ProjectSumAdd(&t->budget, &amount);
}

// value = a x b, blank read as zero.
PackedDecimal Times(const PackedDecimal &a, const PackedDecimal &b) {
    PackedDecimal x = a, y = b, r;
    if (DecIsBlank(&x)) DecSetZero(&x);
    if (DecIsBlank(&y)) DecSetZero(&y);
    DecMul(&x, &y, &r);
    DecRound(&r, 2, &r);
    return r;
}

struct BudgetRun {
    ProjectTotals *totals;
    const uint8_t *project;
};

bool TimeBudgetLines(const uint8_t *budget, void *data) {
    BudgetRun *run = static_cast<BudgetRun *>(data);
    ProjectTotals *t = run->totals;
    BudgetsHeading(t, run->project);
    namespace T = TimeBudgetVc;
    BudgetLine(budget, T::ItemCode, T::ItemName, T::FixedBudget, T::Budget);
    ProjectColumnLine({{90, 4830}, {205, 4833, -1}, {245, 4826, -1}, {305, 4845, -1}, {410, 4828, -1},
                       {480, 4846, -1}}, false);
    PackedDecimal sums[3];
    TotalsClear(sums, 3);
    uint8_t row[T::Rows::Size];
    const int32_t n = MatrixRowCount(T::Number, 0, budget);
    for (int32_t i = 0; i < n && !RepStopped; i++) {
        if (!MatrixRowRead(T::Number, budget, i, row)) continue;
        const PackedDecimal price = ProjectAmount(row, T::Rows::Price);
        PackedDecimal cols[3] = {ProjectAmount(row, T::Rows::BudgetQty), ProjectAmount(row, T::Rows::QtySpent),
                                 ProjectAmount(row, T::Rows::QtyInvoiced)};
        if (t->values)
            for (int c = 0; c < 3; c++) cols[c] = Times(price, cols[c]);
        const PackedDecimal amount = ProjectAmount(row, T::Rows::Qty42);
        BudgetRowLine(90, row, T::Rows::Person, PersonCodeMax, cols, t->values, &amount, &price);
        for (int c = 0; c < 3; c++) ProjectSumAdd(&sums[c], &cols[c]);
    }
    BudgetEnd(t, sums, budget, T::Budget);
    return !RepStopped;
}

bool CostBudgetLines(const uint8_t *budget, void *data) {
    BudgetRun *run = static_cast<BudgetRun *>(data);
    ProjectTotals *t = run->totals;
    BudgetsHeading(t, run->project);
    namespace C = CostBudgetVc;
    if (!t->costHeaded) {
        t->costHeaded = true;
        ReportBlankLine(8);
        RepStartLine(ProjectLineHeight);
        RepTextNr(0, 0, 12150, 0);
        RepEndLine();
    }
    BudgetLine(budget, C::ItemCode, C::ItemName, C::FixedBudget, C::Budget);
    ProjectColumnLine({{11, 4886}, {205, 4833, -1}, {245, 4826, -1}, {305, 4845, -1}, {410, 12153, -1},
                       {480, 4846, -1}}, false);
    PackedDecimal sums[3];
    TotalsClear(sums, 3);
    uint8_t row[C::Rows::Size];
    const int32_t n = MatrixRowCount(C::Number, 0, budget);
    for (int32_t i = 0; i < n && !RepStopped; i++) {
        if (!MatrixRowRead(C::Number, budget, i, row)) continue;
        const PackedDecimal price = ProjectAmount(row, C::Rows::UnitPrice);
        PackedDecimal cols[3] = {ProjectAmount(row, C::Rows::BudgetQty), ProjectAmount(row, C::Rows::QtySpent), {}};
        if (t->values) {
            cols[0] = Times(price, cols[0]);
            cols[1] = Times(price, cols[1]);
            cols[2] = ProjectAmount(row, C::Rows::Invoiced);
        } else {
            // The invoiced quantity is the invoiced amount at the unit price.
            const PackedDecimal invoiced = ProjectAmount(row, C::Rows::Invoiced);
            DecSetZero(&cols[2]);
            if (!DecIsZero(&price)) {
                DecDiv(&invoiced, &price, &cols[2]);
                DecRound(&cols[2], 3, &cols[2]);
            }
        }
        const PackedDecimal surcharge = GetDec(row, C::Rows::Surcharge);
        BudgetRowLine(11, row, C::Rows::Text, ProjectTextMax, cols, t->values, &surcharge, &price);
        for (int c = 0; c < 3; c++) ProjectSumAdd(&sums[c], &cols[c]);
    }
    BudgetEnd(t, sums, budget, C::Budget);
    return !RepStopped;
}

// The down payment due now: the plan's due lines less what the project
// has invoiced as down payments.
PackedDecimal DownPaymentDue(const uint8_t *project) {
    PackedDecimal due;
    PString text;
    bool settlement = false;
    ProjectLineSum(project, &due, &TodayDate, text, &settlement);
    const PackedDecimal invoiced = ProjectAmount(project, ProjectVc::DownPayInvoiced);
    DecSub(&due, &invoiced, &due);
    return due;
}

// The down payments invoiced plus those deducted.
PackedDecimal DownPayments(const uint8_t *project) {
    PackedDecimal sum = ProjectAmount(project, ProjectVc::DownPayInvoiced);
    const PackedDecimal deducted = ProjectAmount(project, ProjectVc::DownPayDeducted);
    ProjectSumAdd(&sum, &deducted);
    return sum;
}

// The invoice row's amount in the invoice's own layout.
void InvoiceRowLine(const uint8_t *row) {
    namespace R = IVVc::Rows;
    RepStartLine(ProjectLineHeight);
    if (DocRowKind(GetU16(row, R::Kind)) == DocRowKind::DownPayment) {
        PString text;
        GetText(row, R::Text, text);
        if (text[0]) ProjectPTextAt(130, text);
        else RepTextNr(130, 0, 4869, 0);
    } else {
        ProjectTextAt(20, row, R::ItemCode);
        const PackedDecimal qty = GetDec(row, R::Quantity);
        if (!DecIsBlank(&qty)) ProjectQtyAt(124, &qty);
        ProjectTextPrefixAt(130, row, R::Text, 40);
        const PackedDecimal price = GetDec(row, R::Price);
        if (!DecIsBlank(&price)) ProjectAmountAt(340, &price);
        const PackedDecimal discount = GetDec(row, R::Discount);
        if (!DecIsBlank(&discount)) ProjectAmountAt(370, &discount);
    }
    const PackedDecimal sum = GetDec(row, R::Sum);
    if (!DecIsBlank(&sum)) ProjectAmountAt(450, &sum);
    ProjectTextAt(470, row, R::VatCode);
    RepEndLine();
}

// A line of two labelled amounts: text a with x at 200, text b with y at 480.
void TwoAmountLine(int a, const PackedDecimal *x, int b, const PackedDecimal *y) {
    RepStartLine(ProjectLineHeight);
    RepTextNr(0, 0, a, 0);
    ProjectAmountAt(200, x);
    RepTextNr(260, 0, b, 0);
    ProjectAmountAt(480, y);
    RepEndLine();
}

// Whether a project's invoice may be made today: its invoicing start is
// not after today.
bool InvoicingStarted(const uint8_t *project) {
    const DateRec start = GetDate(project, ProjectVc::InvStart);
    return DateCompare(&start, &TodayDate) <= 0;
}

bool ListProject(const uint8_t *project, void *data) {
    const ListParts &parts = *static_cast<const ListParts *>(data);
    if (parts.budgets) ProjectReportLines(project, parts.openOnly, parts.values);
    if (parts.invoiceAll && InvoicingStarted(project)) ProjectInvoiceLines(project, true, parts.openOnly);
    if (parts.invoiceRest && InvoicingStarted(project)) ProjectInvoiceLines(project, false, parts.openOnly);
    return !RepStopped;
}

}  // namespace

void ProjectReportHeading(const uint8_t *project, bool withColumns) {
    const struct {
        int text;
        uint32_t code, name;
        int codeMax;
    } lines[3] = {{4822, ProjectVc::Code, ProjectVc::Name, ProjectCodeMax},
                  {4823, ProjectVc::CustCode, ProjectVc::CustName, ProjectCodeMax},
                  {4849, ProjectVc::Leader, ProjectVc::LeaderName, PersonCodeMax}};
    for (const auto &l : lines) {
        RepStartLine(ProjectLineHeight);
        RepTextNr(0, 0, l.text, 0);
        ProjectTextAt(100, project, l.code, l.codeMax);
        ProjectTextAt(200, project, l.name, ProjectTextMax);
        RepEndLine();
    }
    RepRuleFull(1, 1);
    ReportBlankLine(ProjectLineHeight);
    if (withColumns) ProjectColumnLine({{0, 4830}, {90, 4825}, {170, 4826}, {250, 4827}, {330, 4828},
                                        {410, 4829}}, true);
}

void ProjectReportLines(const uint8_t *project, bool openOnly, bool values) {
    assert(project);
    PString code;
    GetText(project, ProjectVc::Code, code);
    if (openOnly) {
        PackedDecimal left;
        ProjectUninvoicedSums97(code, &left);
        if (DecIsZero(&left)) return;
    }
    ProjectTotals t;
    TotalsClear(t.columns, 3);
    DecSetZero(&t.budget);
    t.values = values;
    BudgetRun run{&t, project};
    if (ProjectBudgetWalk(TimeBudgetVc::Number, code, TimeBudgetLines, &run))
        ProjectBudgetWalk(CostBudgetVc::Number, code, CostBudgetLines, &run);
    if (!t.headed) return;
    RepRuleFull(1, 1);
    RepStartLine(ProjectLineHeight);
    RepTextNr(0, 0, 4837, 0);
    if (t.values) RowColumns(t.columns, true);
    ProjectAmountAt(480, &t.budget);
    RepEndLine();
    RepRuleFull(1, 1);
    const PackedDecimal due = DownPaymentDue(project), paid = DownPayments(project);
    ProjectTextAmountLine(4848, 480, &due);
    ProjectTextAmountLine(4847, 480, &paid);
    RepRuleFull(1, 1);
    ReportBlankLine(ProjectLineHeight);
}

void ProjectInvoiceLines(const uint8_t *project, bool detailAll, bool openOnly) {
    assert(project);
    RuleRecord invoice(IVVc::Number);
    if (!invoice.record) return;
    PackedDecimal before, budget, time, cost;
    ProjectInvoiceSums sums{&before, &budget, &time, &cost};
    ProjectInvoicing(CurrentJobRecord(), project, invoice.record, false, detailAll, false, sums);
    const PackedDecimal total = GetDec(invoice.record, IVVc::Total);
    if (openOnly && DecIsBlank(&total)) return;
    const int32_t rows = MatrixRowCount(IVVc::Number, 0, invoice.record);
    if (rows > 0) {
        RepStartLine(ProjectLineHeight);
        RepTextNr(0, 0, detailAll ? 4842 : 4843, 0);
        RepEndLine();
        RepRuleFull(1, 1);
        ProjectReportHeading(project, false);
        uint8_t row[IVVc::Rows::Size];
        for (int32_t i = 0; i < rows && !RepStopped; i++)
            if (MatrixRowRead(IVVc::Number, invoice.record, i, row)) InvoiceRowLine(row);
        RepRuleFull(1, 1);
        const PackedDecimal net = GetDec(invoice.record, IVVc::Net), vat = GetDec(invoice.record, IVVc::Vat);
        ProjectTextAmountLine(4835, 450, &net);
        ProjectTextAmountLine(4836, 450, &vat);
        ProjectTextAmountLine(4837, 450, &total);
    }
    ReportBlankLine(ProjectLineHeight);
    TwoAmountLine(5520, &time, 4825, &budget);
    TwoAmountLine(5521, &cost, 4827, &before);
    const PackedDecimal due = DownPaymentDue(project);
    ProjectTextAmountLine(4848, 480, &due);
    // The down payments as stored now, not as the record was read.
    RuleRecord stored(ProjectVc::Number);
    PackedDecimal paid = DownPayments(project);
    if (stored.record) {
        PString code;
        GetText(project, ProjectVc::Code, code);
        PutText(stored.record, ProjectVc::Code, code);
        uint32_t recid = 0, position = 0;
        if (RecFind(ProjectVc::Number, stored.record, 1, 1, &recid, &position)) paid = DownPayments(stored.record);
    }
    ProjectTextAmountLine(4847, 480, &paid);
    RepRuleFull(1, 1);
}

// Report 68: the projects of the selection in the order of word 890
// (code, leader, customer), each with the parts words 878, 880 and 882
// ask for. Esc ends the list after the project at hand.
void ProjectListReport(ReportJob &job) {
    const uint8_t *params = job.selection;
    assert(params);
    ProjectSelection sel;
    ProjectSelectionLoad(params, &sel, true);
    ListParts parts{GetU16(params, P::Option3) != 0, GetU16(params, P::Option4) != 0, GetU16(params, P::Option5) != 0,
                    GetU16(params, P::Option2) != 0, GetU16(params, P::Option7) == 1};
    const uint16_t sort = GetU16(params, P::Option9);
    const ProjectOrder order = sort == 1 ? ProjectOrder::Leader : sort == 2 ? ProjectOrder::Customer : ProjectOrder::Code;
    RepBeginJobNr(4821);
    ProjectWalk(&sel, order, ListProject, &parts);
    RepEndJob();
}
