// item_statistics_report.cpp - report 9 in its first layout: per item the
// change over the period of the three values of its statistics (or, for
// one customer, of the customer's statistics of the item), with subtotals
// per item group and a grand total. The statistics kept under an empty
// item code (what was sold without an item) close the list when it is not
// limited.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/sales/order_reports.h"
#include "reports/stock/item_walk.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15;
constexpr int ColName = 2, ColFirst = 3, ColThird = 4, ColText = 5, ColSecond = 1;

struct Values {
    PackedDecimal v[3];
};

struct StatsRun {
    const uint8_t *selection = nullptr;   // the job record
    DateRec from{}, to{};
    PString customer{};
    Values group{}, grand{};
    PString lastGroup{};
    int printed = 0;     // items printed
    int subtotals = 0;   // group subtotals printed
};

void Zero(Values *v) {
    for (PackedDecimal &d : v->v) DecSetZero(&d);
}

void Add(Values *into, const Values &v) {
    for (int k = 0; k < 3; k++) DecAdd(&into->v[k], &v.v[k], &into->v[k]);
}

// The three values of item's (or the customer's item's) statistics over
// the period; zeros without a statistics record (found, when given, is
// set to whether there is one).
Values ItemValues(const StatsRun &run, const uint8_t *item, bool *found = nullptr) {
    Values out;
    Zero(&out);
    bool dummy = false;
    if (!found) found = &dummy;
    *found = false;
    uint32_t recid = 0, position = 0;
    if (!run.customer[0]) {
        RuleRecord stats(ISVc::Number);
        if (!stats.record) return out;
        PutText(stats.record, ISVc::ItemCode, item);
        if (RecFind(ISVc::Number, stats.record, 1, 1, &recid, &position)) {
            *found = true;
            const MemBlock block = GetU32(stats.record, ISVc::Amounts);
            for (int k = 0; k < 3; k++)
                ValueBalanceChange(item, run.customer, 12, k, &run.from, &run.to, block, &out.v[k]);
        }
        RecFreeMatrix(ISVc::Number, stats.record);
        return out;
    }
    RuleRecord stats(CustItemStatVc::Number);
    if (!stats.record) return out;
    PutText(stats.record, CustItemStatVc::CustCode, run.customer);
    PutText(stats.record, CustItemStatVc::ItemCode, item);
    if (RecFindByIndex(CustItemStatVc::Number, "CustItem", stats.record, 2, 1, &recid, &position)) {
        *found = true;
        const MemBlock block = GetU32(stats.record, CustItemStatVc::Amounts);
        for (int k = 0; k < 3; k++)
            ValueBalanceChange(item, run.customer, 112, k, &run.from, &run.to, block, &out.v[k]);
    }
    RecFreeMatrix(CustItemStatVc::Number, stats.record);
    return out;
}

// The three values on the current line at their columns.
void ValueColumns(const Values &v) {
    OrderLineAmount(ColFirst, &v.v[0], FtAmount2, 1);
    OrderLineAmount(ColThird, &v.v[2], FtAmount2, 1);
    OrderLineAmount(ColSecond, &v.v[1], FtAmount2, 1);
}

void Subtotal(StatsRun &run) {
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    ValueColumns(run.group);
    RepEndLine();
    OrderLineGap(10);
    Zero(&run.group);
    run.subtotals++;
}

void EachItem(const uint8_t *item, void *context) {
    StatsRun &run = *static_cast<StatsRun *>(context);
    PString code, group;
    GetText(item, INVc::Code, code);
    GetText(item, INVc::Group, group);
    const Values v = ItemValues(run, code);
    if (GetU16(run.selection, P::RangeKind) != 0 && DecIsZero(&v.v[0]) && DecIsZero(&v.v[1])) return;
    if (run.selection[P::SelText3] && run.printed > 0 && !PStringEqual(group, run.lastGroup)) Subtotal(run);
    PStringCopy(run.lastGroup, group);
    run.printed++;
    RepStartLine(LineHeight);
    RepText(0, 0, code, 0);
    RepTextField(ColName, item, INVc::Name);
    ValueColumns(v);
    PString further;
    PStringFromC(further, " ");
    PString unit;
    GetText(item, INVc::Unit, unit);
    PStringAppend(further, unit);
    RepText(ColText, 0, further, 0);
    RepEndLine();
    Add(&run.group, v);
    Add(&run.grand, v);
}

}  // namespace

void ItemListReportLayout0(ReportJob &job) {
    assert(job.selection);
    if (CancelFlag) return;
    StatsRun run;
    run.selection = job.selection;
    run.from = GetDate(job.selection, P::DateFrom);
    run.to = GetDate(job.selection, P::DateTo);
    if (DateIsEmpty(&run.to)) run.to = TodayDate;
    GetTextPrefix(job.selection, P::SelText2, 20, run.customer);
    Zero(&run.group);
    Zero(&run.grand);
    RepBeginJobNr(2461);
    ReportHeadings(LineHeight, {{0, 2462}, {ColName, 2463}, {ColFirst, 2464, 1}, {ColThird, 2468, 1},
                                {ColSecond, 2466, 1}});
    ItemWalk(job.selection, EachItem, &run);
    PString codes, from, to;
    GetText(job.selection, P::SelText1, codes);
    RangeSplit(codes, from, to);
    const bool limited = job.selection[P::SelText3] || to[0];
    const uint8_t none[1] = {0};
    bool found = false;
    const Values v = ItemValues(run, none, &found);
    // What no item claims: without a customer when the list is not
    // limited, for a customer when its statistics hold such a record.
    if (!CancelFlag && (run.customer[0] ? found : !limited)) {
        RepStartLine(LineHeight);
        RepTextNr(0, 0, 2467, 0);
        ValueColumns(v);
        RepEndLine();
        Add(&run.grand, v);
    }
    if (run.subtotals > 0) Subtotal(run);
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    ValueColumns(run.grand);
    RepEndLine();
    RepEndJob();
}
