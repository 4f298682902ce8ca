// item_sales_report.cpp - report 9 in its other layouts: per item its
// sales statistics for the period and for the fiscal year, its stock on
// hand valued first in first out, and its prices; subtotals per item
// group when a group range is given, and the totals.
//
// The three statistics kinds are shown as given (kind 2 also as a share
// of kind 1). The stock value is the FIFO value of what is on hand at
// every location, and the unit value that value per unit.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "operations/statistics_slots.h"
#include "operations/stock_docs.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_frame.h"
#include "reports/frame/report_run.h"
#include "reports/sales/order_reports.h"
#include "reports/stock/item_walk.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15;
constexpr int XPeriod = 90, XYear = 220, XThird = 370, XFourth = 470;

// The item statistics' amounts (ItemStatSlot) for the period and for the fiscal year.
struct Sums {
    PackedDecimal period[ItemStatSlot::Count], year[ItemStatSlot::Count];
};

struct SalesRun {
    const uint8_t *selection = nullptr;   // the job record
    uint16_t yearFrom = 0, yearTo = 0;
    Sums group{}, total{};
    PString current{};
};

void Zero(Sums *s) {
    for (int k = 0; k < ItemStatSlot::Count; k++) {
        DecSetZero(&s->period[k]);
        DecSetZero(&s->year[k]);
    }
}

void Add(Sums *into, const Sums &s) {
    for (int k = 0; k < ItemStatSlot::Count; k++) {
        DecAdd(&into->period[k], &s.period[k], &into->period[k]);
        DecAdd(&into->year[k], &s.year[k], &into->year[k]);
    }
}

// part x 100 / whole; blank when whole is zero.
PackedDecimal Share(const PackedDecimal &part, const PackedDecimal &whole) {
    PackedDecimal r;
    DecSetBlank(&r);
    if (DecIsZero(&whole)) return r;
    DecShiftUp2(&part, &r);
    DecDiv(&r, &whole, &r);
    DecRound(&r, 2, &r);
    return r;
}

void Amount(int x, const PackedDecimal &v) { OrderLineAmount(x, &v, FtAmount2, 1); }

// The three lines of sums: the quantity, the sales and the cost's share
// of the sales.
void SumLines(const Sums &s) {
    for (int k : {ItemStatSlot::Quantity, ItemStatSlot::Sales}) {
        RepStartLine(LineHeight);
        Amount(XPeriod, s.period[k]);
        Amount(XYear, s.year[k]);
        RepEndLine();
    }
    RepStartLine(LineHeight);
    Amount(XPeriod, Share(s.period[ItemStatSlot::Cost], s.period[ItemStatSlot::Sales]));
    Amount(XYear, Share(s.year[ItemStatSlot::Cost], s.year[ItemStatSlot::Sales]));
    RepEndLine();
}

// A group's or the report's block: its caption and its sums.
void SumBlock(const uint8_t *selection, const uint8_t *group, const Sums &s) {
    RepRuleFull(1, 2);
    PString caption, sel;
    if (selection[P::SelText3]) {
        GetUiText(caption, 1135);
        if (group) PStringAppend(caption, group);
        else {
            GetText(selection, P::SelText3, sel);
            PStringAppend(caption, sel);
        }
    } else {
        GetText(selection, P::SelText1, sel);
        SelectionRangeText(sel, 1106, 1107, caption);
    }
    RepStartLine(LineHeight);
    RepText(15, 0, caption, 0);
    RepEndLine();
    SumLines(s);
}

// The item's statistics over the period and the fiscal year.
Sums ItemSums(const SalesRun &run, const uint8_t *code) {
    Sums s;
    Zero(&s);
    RuleRecord stats(ISVc::Number);
    if (!stats.record) return s;
    PutText(stats.record, ISVc::ItemCode, code);
    uint32_t recid = 0, position = 0;
    if (RecFind(ISVc::Number, stats.record, 1, 1, &recid, &position)) {
        const MemBlock block = GetU32(stats.record, ISVc::Amounts);
        const uint16_t from = GetU16(run.selection, P::MonthFrom), to = GetU16(run.selection, P::MonthTo);
        for (int k = 0; k < ItemStatSlot::Count; k++) {
            PeriodBalanceChange(block, ItemStatSlot::Count, k, from, to, &s.period[k]);
            PeriodBalanceChange(block, ItemStatSlot::Count, k, run.yearFrom, run.yearTo, &s.year[k]);
            if (DecIsBlank(&s.period[k])) DecSetZero(&s.period[k]);
            if (DecIsBlank(&s.year[k])) DecSetZero(&s.year[k]);
        }
    }
    RecFreeMatrix(ISVc::Number, stats.record);
    return s;
}

void EachItem(const uint8_t *item, void *context) {
    SalesRun &run = *static_cast<SalesRun *>(context);
    PString code, group;
    GetText(item, INVc::Code, code);
    GetText(item, INVc::Group, group);
    if (run.selection[P::SelText3] && !PStringEqual(group, run.current)) {
        SumBlock(run.selection, run.current, run.group);
        Zero(&run.group);
        PStringCopy(run.current, group);
    }
    RepRuleFull(1, 4);
    RepStartLine(LineHeight);
    RepText(15, 0, code, 0);
    RepTextField(150, item, INVc::Name);
    RepEndLine();
    const Sums s = ItemSums(run, code);
    Add(&run.group, s);
    Add(&run.total, s);

    uint8_t stock[LSVc::Size];
    const uint8_t all[1] = {0};
    Register6Lookup(code, all, stock);
    PackedDecimal onHand = GetDec(stock, LSVc::InStock), value, unitValue;
    if (DecIsBlank(&onHand)) DecSetZero(&onHand);
    DecSetBlank(&unitValue);
    DecSetZero(&value);
    if (!DecIsZero(&onHand)) {
        StockFifoValue(code, all, &onHand, &value, false, false, nullptr);
        if (DecIsBlank(&value)) DecSetZero(&value);
        DecDiv(&value, &onHand, &unitValue);
        DecRound(&unitValue, 2, &unitValue);
    }
    const PackedDecimal costPrice = GetDec(item, INVc::CostPrice);
    RepStartLine(LineHeight);
    Amount(XPeriod, s.period[0]);
    Amount(XYear, s.year[0]);
    Amount(XThird, costPrice);
    OrderLineAmount(XFourth, &onHand, FtAmount3, 1);
    RepEndLine();
    RepStartLine(LineHeight);
    Amount(XPeriod, s.period[1]);
    Amount(XYear, s.year[1]);
    Amount(XThird, unitValue);
    Amount(XFourth, value);
    RepEndLine();
    PackedDecimal price = GetDec(item, INVc::BasePrice);
    const uint8_t *block = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (block && GetU16(block, SalesAccountsBlk::PricesInclVat) != 0) {
        PString vat;
        ItemVatCode(item, 0, vat);
        NetOfTax(vat, &price, 1, &price);
    }
    RepStartLine(LineHeight);
    Amount(XPeriod, Share(s.period[2], s.period[1]));
    Amount(XYear, Share(s.year[2], s.year[1]));
    Amount(XThird, price);
    RepEndLine();
}

}  // namespace

void ItemListReport(ReportJob &job) {
    assert(job.selection);
    SalesRun run;
    run.selection = job.selection;
    if (CompanyBlock) {
        const DateRec start = GetDate(CompanyBlock, CompanyBlk::YearStart), end = GetDate(CompanyBlock, CompanyBlk::YearEnd);
        run.yearFrom = MonthIndex(&start);
        run.yearTo = MonthIndex(&end);
    }
    Zero(&run.group);
    Zero(&run.total);
    PString groups, to;
    GetText(job.selection, P::SelText3, groups);
    if (groups[0]) RangeSplit(groups, run.current, to);
    RepBeginJobNr(2461);
    PString text;
    const DateRec from = GetDate(job.selection, P::DateFrom), until = GetDate(job.selection, P::DateTo);
    RepStartLine(LineHeight);
    DateRangeText(&from, &until, 3013, text);
    RepText(30, 0, text, 0);
    if (CompanyBlock) {
        const DateRec start = GetDate(CompanyBlock, CompanyBlk::YearStart), end = GetDate(CompanyBlock, CompanyBlk::YearEnd);
        DateRangeText(&start, &end, 3013, text);
        RepText(180, 0, text, 0);
    }
    RepEndLine();
    const int heads[3][4] = {{2723, 2723, 2726, 2729}, {2724, 2724, 2727, 2730}, {2725, 2725, 2728, 0}};
    for (const auto &h : heads) {
        RepStartLine(LineHeight);
        RepTextNr(30, 0, h[0], 0);
        RepTextNr(180, 0, h[1], 0);
        RepTextNr(340, 0, h[2], 0);
        if (h[3]) RepTextNr(470, 0, h[3], 1);
        RepEndLine();
    }
    ItemWalk(job.selection, EachItem, &run);
    if (groups[0]) SumBlock(job.selection, run.current, run.group);
    RepRuleFull(1, 2);
    SumBlock(job.selection, nullptr, run.total);
    RepRuleFull(1, 2);
    RepEndJob();
}
