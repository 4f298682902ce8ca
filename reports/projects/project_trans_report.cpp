// project_trans_report.cpp - report 70, the hours of the project
// transactions (register 69) by person: each transaction's time-sheet
// rows with their value (layout 0), a line per person of chargeable and
// not chargeable hours (layout 1), or the hours per person and item
// (layout 2) or per person and project (layout 3).
//
// A transaction stands for the rows of its time sheet (register 54) that
// have its person, date, item and project; those rows are counted, each
// valued at its time budget's row price for the person. A row is
// chargeable unless its project is stored and marked not chargeable.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "operations/project_ops.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/projects/project_print.h"
#include "reports/projects/project_reports.h"
#include "rules/projects.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
namespace PT = ProjTransVc;
namespace TS = TimeSheetVc;

// One time-sheet row a transaction stands for.
struct TransRow {
    DateRec date;
    PString project, item, text;
    PackedDecimal qty, value;
};

// The selection of the walk: persons, dates and an exact project.
struct TransSelection {
    PString personFrom, personTo, project;
    DateRec from, to;
};

void SelectionLoad(const uint8_t *job, TransSelection *sel) {
    PString range;
    GetText(job, P::SelText1, range);
    RangeSplit(range, sel->personFrom, sel->personTo);
    GetTextPrefix(job, P::SelText2, ProjectCodeMax, sel->project);
    sel->from = GetDate(job, P::DateFrom);
    sel->to = GetDate(job, P::DateTo);
}

bool DateOutside(const TransSelection *sel, const DateRec *d) {
    if (!DateIsEmpty(&sel->from) && DateCompare(d, &sel->from) < 0) return true;
    return !DateIsEmpty(&sel->to) && DateCompare(d, &sel->to) > 0;
}

// Whether the project with code is chargeable: not stored, or stored
// without the not-chargeable mark.
bool Chargeable(const uint8_t *code) {
    RuleRecord project(ProjectVc::Number);
    if (!project.record || !code[0]) return true;
    PutText(project.record, ProjectVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(ProjectVc::Number, project.record, 1, 1, &recid, &position)) return true;
    return GetU16(project.record, ProjectVc::NotChargeable) == 0;
}

// Calls each for every row of the transaction's time sheet it stands for;
// the rows' quantities are summed into *qty and their values into *value.
// Nothing when the time sheet is gone.
void TransRows(const TransSelection *sel, const uint8_t *trans, void (*each)(const TransRow &, void *), void *data,
               PackedDecimal *qty, PackedDecimal *value) {
    DecSetZero(qty);
    DecSetZero(value);
    RuleRecord sheet(TS::Number);
    if (!sheet.record) return;
    PutU32(sheet.record, TS::SerNr, GetU32(trans, PT::SheetNr));
    uint32_t recid = 0, position = 0;
    if (!RecFind(TS::Number, sheet.record, 1, 1, &recid, &position)) return;
    PString person, item, project, rowPerson;
    GetText(trans, PT::Person, person);
    GetText(trans, PT::ItemCode, item);
    GetText(trans, PT::Project, project);
    const DateRec date = GetDate(trans, PT::TransDate);
    PackedDecimal price;
    TimeBudgetRowPrice(project, item, person, &price);
    if (DecIsBlank(&price)) DecSetZero(&price);
    uint8_t row[TS::Rows::Size];
    const int32_t n = MatrixRowCount(TS::Number, 0, sheet.record);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(TS::Number, sheet.record, i, row)) continue;
        TransRow r;
        GetText(row, TS::Rows::Person, rowPerson);
        GetText(row, TS::Rows::Project, r.project);
        GetText(row, TS::Rows::ItemCode, r.item);
        r.date = TimeSheetRowDate(sheet.record, i);
        if (!PStringEqual(rowPerson, person) || DateCompare(&r.date, &date) != 0) continue;
        if (sel->project[0] && !PStringEqual(r.project, sel->project)) continue;
        if (!PStringEqual(r.item, item) || !PStringEqual(r.project, project)) continue;
        r.qty = ProjectAmount(row, TS::Rows::Quantity);
        DecMul(&r.qty, &price, &r.value);
        DecRound(&r.value, 2, &r.value);
        GetText(row, TS::Rows::WorkText, r.text);
        ProjectSumAdd(qty, &r.qty);
        ProjectSumAdd(value, &r.value);
        if (each) each(r, data);
    }
}

// Walks the transactions by index from the person from-value (and, by
// date, the from date),
// calling each for every one in the selection's dates until it gives
// false; ends after the person to-value, on Esc after the transaction at
// hand, or when the job stopped.
void TransWalk(const TransSelection *sel, const char *index, bool byDate, bool (*each)(const uint8_t *trans, void *),
               void *data) {
    RuleRecord trans(PT::Number);
    if (!trans.record) return;
    PutText(trans.record, PT::Person, sel->personFrom);
    int parts = 1;
    if (byDate) {   // from the first day's first time sheet on
        PutDate(trans.record, PT::TransDate, sel->from);
        parts = 2;
    }
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(PT::Number, index, trans.record, parts, 0, &recid, &position)) return;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(PT::Number, index, (int32_t)p, trans.record, &recid)) break;
        PString person;
        GetText(trans.record, PT::Person, person);
        if (sel->personTo[0] && PStringCompare(person, sel->personTo) > 0) break;
        const DateRec d = GetDate(trans.record, PT::TransDate);
        if (!DateOutside(sel, &d) && !each(trans.record, data)) break;
        if (ReportCancelled() || RepStopped) break;
    }
}

// The person's name (register 44) into name; empty when not stored.
void PersonName(const uint8_t *code, uint8_t *name) {
    name[0] = 0;
    RuleRecord person(PEVc::Number);
    if (!person.record || !code[0]) return;
    PutText(person.record, PEVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (RecFind(PEVc::Number, person.record, 1, 1, &recid, &position))
        GetText(person.record, PEVc::Name, name);
}

// A line of the person's code and name.
void PersonHeading(const uint8_t *code) {
    PString name;
    PersonName(code, name);
    RepStartLine(ProjectLineHeight);
    ProjectPTextAt(0, code);
    ProjectPTextAt(60, name);
    RepEndLine();
}

// A quantity at qtyX and an amount at valueX after text n (0: none).
void QtyValueLine(int n, int qtyX, const PackedDecimal *qty, int valueX, const PackedDecimal *value) {
    RepStartLine(ProjectLineHeight);
    if (n) RepTextNr(0, 0, n, 0);
    ProjectQtyAt(qtyX, qty);
    ProjectAmountAt(valueX, value);
    RepEndLine();
}

// ---- Layouts 0 and 1 ----

// Running figures per person (index 0) and for the report (index 1).
struct PersonRun {
    TransSelection sel;
    int layout;
    PString person;              // the person at hand (empty: none yet)
    bool seen = false;
    PackedDecimal qty[2], value[2], chargeable[2], notChargeable[2];
};

constexpr int QtyX = 300, ValueX = 380;

// Layout 1's line: code and name (or text 4837), chargeable, not
// chargeable and their sum.
void HoursLine(const uint8_t *code, const PackedDecimal *charge, const PackedDecimal *noCharge) {
    PString name;
    RepStartLine(ProjectLineHeight);
    if (code) {
        PersonName(code, name);
        ProjectPTextAt(0, code);
        ProjectPTextAt(60, name);
    } else {
        RepTextNr(0, 0, 4837, 0);
    }
    PackedDecimal sum = *charge;
    ProjectSumAdd(&sum, noCharge);
    ProjectQtyAt(QtyX, charge);
    ProjectQtyAt(ValueX, noCharge);
    ProjectQtyAt(460, &sum);
    RepEndLine();
}

// The end of a person: layout 0 its subtotal and a blank line, layout 1
// its line; its figures go to the report's.
void PersonEnd(PersonRun *run) {
    if (!run->seen) return;
    if (run->layout == 0) {
        QtyValueLine(4837, QtyX, &run->qty[0], ValueX, &run->value[0]);
        ReportBlankLine(ProjectLineHeight);
    } else {
        HoursLine(run->person, &run->chargeable[0], &run->notChargeable[0]);
    }
    ProjectSumAdd(&run->qty[1], &run->qty[0]);
    ProjectSumAdd(&run->value[1], &run->value[0]);
    ProjectSumAdd(&run->chargeable[1], &run->chargeable[0]);
    ProjectSumAdd(&run->notChargeable[1], &run->notChargeable[0]);
}

void DetailRow(const TransRow &r, void *) {
    RepStartLine(ProjectLineHeight);
    uint8_t date[sizeof(DateRec)];
    PutDate(date, 0, r.date);
    RepValue(0, 0, date, FtDate, 0);
    ProjectPTextAt(60, r.project);
    ProjectPTextAt(160, r.item);
    ProjectQtyAt(QtyX, &r.qty);
    ProjectAmountAt(ValueX, &r.value);
    ProjectPTextAt(390, r.text);
    RepEndLine();
}

bool PersonTrans(const uint8_t *trans, void *data) {
    PersonRun *run = static_cast<PersonRun *>(data);
    PString person, project;
    GetText(trans, PT::Person, person);
    if (!run->seen || !PStringEqual(person, run->person)) {
        PersonEnd(run);
        PStringCopy(run->person, person);
        run->seen = true;
        for (PackedDecimal *d : {&run->qty[0], &run->value[0], &run->chargeable[0], &run->notChargeable[0]})
            DecSetZero(d);
        if (run->layout == 0) PersonHeading(person);
    }
    PackedDecimal qty, value;
    TransRows(&run->sel, trans, run->layout == 0 ? DetailRow : nullptr, nullptr, &qty, &value);
    ProjectSumAdd(&run->qty[0], &qty);
    ProjectSumAdd(&run->value[0], &value);
    GetText(trans, PT::Project, project);
    ProjectSumAdd(Chargeable(project) ? &run->chargeable[0] : &run->notChargeable[0], &qty);
    return !RepStopped;
}

// ---- Layouts 2 and 3 ----

// Running figures per group (0), person (1) and report (2).
struct GroupRun {
    TransSelection sel;
    uint32_t groupAt;        // the transaction's item or project
    PString person, group;
    bool seen = false, grouped = false;
    PackedDecimal qty[3], value[3];
};

void GroupEnd(GroupRun *run) {
    if (!run->grouped) return;
    RepStartLine(ProjectLineHeight);
    ProjectPTextAt(160, run->group);
    ProjectQtyAt(QtyX, &run->qty[0]);
    ProjectAmountAt(400, &run->value[0]);
    RepEndLine();
    ProjectSumAdd(&run->qty[1], &run->qty[0]);
    ProjectSumAdd(&run->value[1], &run->value[0]);
    run->grouped = false;
}

void GroupPersonEnd(GroupRun *run) {
    GroupEnd(run);
    if (!run->seen) return;
    RepRule(160, 400, 1);
    QtyValueLine(0, QtyX, &run->qty[1], 400, &run->value[1]);
    ReportBlankLine(ProjectLineHeight);
    ProjectSumAdd(&run->qty[2], &run->qty[1]);
    ProjectSumAdd(&run->value[2], &run->value[1]);
}

bool GroupTrans(const uint8_t *trans, void *data) {
    GroupRun *run = static_cast<GroupRun *>(data);
    PString person, group;
    GetText(trans, PT::Person, person);
    GetPString(trans, run->groupAt, ProjectCodeMax, group);
    if (!run->seen || !PStringEqual(person, run->person)) {
        GroupPersonEnd(run);
        PStringCopy(run->person, person);
        run->seen = true;
        DecSetZero(&run->qty[1]);
        DecSetZero(&run->value[1]);
        PersonHeading(person);
    } else if (run->grouped && !PStringEqual(group, run->group)) {
        GroupEnd(run);
    }
    if (!run->grouped) {
        PStringCopy(run->group, group);
        run->grouped = true;
        DecSetZero(&run->qty[0]);
        DecSetZero(&run->value[0]);
    }
    PackedDecimal qty, value;
    TransRows(&run->sel, trans, nullptr, nullptr, &qty, &value);
    ProjectSumAdd(&run->qty[0], &qty);
    ProjectSumAdd(&run->value[0], &value);
    return !RepStopped;
}

// Layouts 2 and 3: the walk by index, grouped by the field at groupAt.
void GroupedReport(const uint8_t *job, const char *index, uint32_t groupAt, int groupText) {
    GroupRun run;
    SelectionLoad(job, &run.sel);
    run.groupAt = groupAt;
    for (int i = 0; i < 3; i++) {
        DecSetZero(&run.qty[i]);
        DecSetZero(&run.value[i]);
    }
    ProjectColumnLine({{160, groupText}, {QtyX, 4885, -1}, {400, 4887, -1}}, true);
    TransWalk(&run.sel, index, false, GroupTrans, &run);
    if (CancelFlag || RepStopped) return;
    GroupPersonEnd(&run);
    RepRuleFull(1, 2);
    QtyValueLine(4837, QtyX, &run.qty[2], 400, &run.value[2]);
}

}  // namespace

void ProjectTransByPerson(const uint8_t *job) { GroupedReport(job, "Item", PT::ItemCode, 4884); }

void ProjectTransByProject(const uint8_t *job) { GroupedReport(job, "PRCode", PT::Project, 4883); }

// Report 70 by its layout. Esc ends it after the transaction at hand,
// without the totals that would look whole.
void ProjectTransReport(ReportJob &job) {
    const uint8_t *params = job.selection;
    assert(params);
    const int layout = GetU16(params, P::ReportLayout);
    RepBeginJobNr(4881);
    if (layout == 2) {
        ProjectTransByPerson(params);
    } else if (layout == 3) {
        ProjectTransByProject(params);
    } else {
        PersonRun run;
        SelectionLoad(params, &run.sel);
        run.layout = layout == 1 ? 1 : 0;
        for (int i = 0; i < 2; i++)
            for (PackedDecimal *d : {&run.qty[i], &run.value[i], &run.chargeable[i], &run.notChargeable[i]})
                DecSetZero(d);
        if (run.layout == 0)
            ProjectColumnLine({{0, 4882}, {60, 4883}, {160, 4884}, {QtyX, 4885, -1}, {ValueX, 4887, -1},
                               {390, 4886}}, true);
        else
            ProjectColumnLine({{0, 4830}, {QtyX, 12151, -1}, {ValueX, 12152, -1}, {460, 4885, -1}}, true);
        TransWalk(&run.sel, "PersonDate", true, PersonTrans, &run);
        if (!CancelFlag && !RepStopped && run.seen) {
            PersonEnd(&run);
            RepRuleFull(1, 2);
            if (run.layout == 0) QtyValueLine(4837, QtyX, &run.qty[1], ValueX, &run.value[1]);
            else HoursLine(nullptr, &run.chargeable[1], &run.notChargeable[1]);
        }
    }
    RepEndJob();
}
