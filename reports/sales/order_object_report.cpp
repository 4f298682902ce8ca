// order_object_report.cpp - report 97, the orders' amounts without VAT per
// object: for each object the orders' sum, their count and the average
// over the period and over the fiscal year from its start to the period's
// end. An order with several objects counts once under each.
#include <cassert>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_frame.h"
#include "reports/frame/report_run.h"
#include "reports/sales/order_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15;

struct ObjectRun {
    const uint8_t *selection = nullptr;   // the job record
    int32_t from = -1, to = -1;
    DateRec dateFrom{}, dateTo{}, yearStart{};
    ObjectTotals period, year;
};

// The start of the fiscal year that holds date, or date itself when no
// year of the company holds it.
DateRec YearStartOf(const DateRec &date) {
    SettingsRows years(FiscalYearBlk::Number, &FiscalYearRows, FiscalYearEntry::Size);
    for (int32_t i = 0; i < years.count; i++) {
        const uint8_t *row = years.data + (size_t)i * FiscalYearEntry::Size;
        const DateRec start = GetDate(row, FiscalYearEntry::StartDate), end = GetDate(row, FiscalYearEntry::EndDate);
        if (!DateIsEmpty(&start) && !DateIsEmpty(&end) && DateInRange(&date, &start, &end)) return start;
    }
    return date;
}

bool EachOrder(const uint8_t *order, void *context) {
    ObjectRun &run = *static_cast<ObjectRun *>(context);
    if (run.to >= 0 && GetI32(order, ORVc::SerNr) > run.to) return false;
    const DateRec date = GetDate(order, ORVc::OrdDate);
    if (!DateInRange(&date, &run.yearStart, &run.dateTo)) return true;
    OrderObjectsAdd(run.selection, &run.year, order);
    if (DateInRange(&date, &run.dateFrom, &run.dateTo)) OrderObjectsAdd(run.selection, &run.period, order);
    return true;
}

// amount / count rounded to cents; blank for no orders.
PackedDecimal Average(const PackedDecimal &amount, int32_t count) {
    PackedDecimal r, n;
    DecSetBlank(&r);
    if (count == 0) return r;
    DecFromLong(&n, count);
    DecDiv(&amount, &n, &r);
    DecRound(&r, 2, &r);
    return r;
}

// Amount, count and average of one half at offset dx.
void Half(int dx, const PackedDecimal &amount, int32_t count) {
    const PackedDecimal average = Average(amount, count);
    OrderLineAmount(180 + dx, &amount, FtAmount2, 1);
    uint8_t slot[4];
    PutI32(slot, 0, count);
    RepValue(220 + dx, 0, slot, FtLong, 1);
    OrderLineAmount(280 + dx, &average, FtAmount2, 1);
}

}  // namespace

int ObjectTotalFind(const uint8_t *code, const ObjectTotals &table) {
    for (int i = (int)table.size() - 1; i >= 0; i--)
        if (PStringEqual(table[(size_t)i].code, code)) return i;
    return -1;
}

void ObjectTotalAdd(const uint8_t *selection, ObjectTotals *table, const uint8_t *code, const uint8_t *order) {
    assert(selection && table && code && order);
    PString sel;
    GetText(selection, P::ObjectSel, sel);
    if (sel[0] && !PStringEqual(sel, code)) return;
    const PackedDecimal amount = GetDec(order, ORVc::Net);
    bool found = false;
    for (ObjectTotal &row : *table) {
        if (!PStringEqual(row.code, code)) continue;
        DecAdd(&row.amount, &amount, &row.amount);
        row.count++;
        found = true;
    }
    if (found) return;
    ObjectTotal row{};
    PStringCopy(row.code, code);
    DecSetZero(&row.amount);
    DecAdd(&row.amount, &amount, &row.amount);
    row.count = 1;
    table->push_back(row);
}

void OrderObjectsAdd(const uint8_t *selection, ObjectTotals *table, const uint8_t *order) {
    PString list;
    GetText(order, ORVc::Objects, list);
    ObjectSlots slots{};
    ParseObjectList(list, &slots);
    for (const auto &code : slots)
        if (code[0]) ObjectTotalAdd(selection, table, code.data(), order);
}

void OrderObjectReport(ReportJob &job) {
    assert(job.selection);
    ObjectRun run;
    run.selection = job.selection;
    PString text;
    GetText(job.selection, P::SelText1, text);
    RangeSplitNumber(text, &run.from, &run.to);
    run.dateFrom = GetDate(job.selection, P::DateFrom);
    run.dateTo = GetDate(job.selection, P::DateTo);
    run.yearStart = YearStartOf(run.dateFrom);
    RepBeginJobNr(5260);
    RepStartLine(LineHeight);
    DateRangeText(&run.dateFrom, &run.dateTo, 3013, text);
    RepText(280, 0, text, 1);
    DateRangeText(&run.yearStart, &run.dateTo, 3013, text);
    RepText(480, 0, text, 1);
    RepEndLine();
    OrderLineGap(LineHeight);
    RepStartLine(LineHeight);
    RepTextNr(11, 0, 2411, 0);
    for (int dx : {0, 200}) {
        RepTextNr(180 + dx, 0, 5262, 1);
        RepTextNr(220 + dx, 0, 5263, 1);
        RepTextNr(280 + dx, 0, 5264, 1);
    }
    RepEndLine();
    RepRuleFull(1, 4);
    RuleRecord order(ORVc::Number), object(OBVc::Number);
    if (order.record) {
        PutI32(order.record, ORVc::SerNr, run.from < 0 ? 0 : run.from);
        ReportIndexWalk(ORVc::Number, "SerNr", order.record, 1, EachOrder, &run);
    }
    PackedDecimal sums[2];
    int32_t counts[2] = {0, 0};
    DecSetZero(&sums[0]);
    DecSetZero(&sums[1]);
    for (const ObjectTotal &row : run.year) {
        PackedDecimal periodAmount;
        DecSetBlank(&periodAmount);
        int32_t periodCount = 0;
        const int k = ObjectTotalFind(row.code, run.period);
        if (k >= 0) {
            periodAmount = run.period[(size_t)k].amount;
            periodCount = run.period[(size_t)k].count;
        }
        DecAdd(&sums[0], &periodAmount, &sums[0]);
        DecAdd(&sums[1], &row.amount, &sums[1]);
        counts[0] += periodCount;
        counts[1] += row.count;
        RepStartLine(LineHeight);
        RepText(11, 0, row.code, 0);
        if (object.record) {
            PutText(object.record, OBVc::Code, row.code);
            uint32_t recid = 0, position = 0;
            if (RecFind(OBVc::Number, object.record, 1, 1, &recid, &position))
                RepTextField(75, object.record, OBVc::Name);
        }
        Half(0, periodAmount, periodCount);
        Half(200, row.amount, row.count);
        RepEndLine();
    }
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    Half(0, sums[0], counts[0]);
    Half(200, sums[1], counts[1]);
    RepEndLine();
    RepEndJob();
}
