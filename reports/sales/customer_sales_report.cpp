// customer_sales_report.cpp - report 14, sales and cost per customer over
// the months of the period, from the customer statistics or, for one
// item, from the customer's item statistics; the cost as a share of the
// sales; customers below the minimum sales or cost left out.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/statistics_slots.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/customer_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15;
constexpr int ColSales = 1, ColName = 2, ColCost = 3, ColShare = 4;

struct SalesSums {
    const uint8_t *selection;   // the job record
    PackedDecimal sales, cost;
};

// cost x 100 / sales at x; blank when there are no sales.
void Share(int x, const PackedDecimal *cost, const PackedDecimal *sales) {
    PackedDecimal share;
    DecSetBlank(&share);
    if (!DecIsZero(sales)) {
        PackedDecimal hundred;
        DecFromLong(&hundred, 100);
        DecMul(cost, &hundred, &share);
        DecDiv(&share, sales, &share);
        DecRound(&share, 2, &share);
    }
    RepAmountAt(x, &share, FtPercent);
}

// Sales and cost of the customer (or of its item) over the period's months.
void SalesOf(const uint8_t *selection, const uint8_t *customer, PackedDecimal *sales, PackedDecimal *cost) {
    DecSetZero(sales);
    DecSetZero(cost);
    PString code, item;
    GetText(customer, CUVc::Code, code);
    GetText(selection, P::SelText2, item);
    const uint16_t from = GetU16(selection, P::MonthFrom), to = GetU16(selection, P::MonthTo);
    uint32_t recid = 0, position = 0;
    if (!item[0]) {
        RuleRecord stats(CSVc::Number);
        if (!stats.record) return;
        PutText(stats.record, CSVc::CustCode, code);
        if (!RecFind(CSVc::Number, stats.record, 1, 1, &recid, &position)) return;
        const MemBlock amounts = GetU32(stats.record, CSVc::Amounts);
        PeriodBalanceChange(amounts, CustomerStatSlot::Count, CustomerStatSlot::HomeSales, from, to, sales);
        PeriodBalanceChange(amounts, CustomerStatSlot::Count, CustomerStatSlot::Cost, from, to, cost);
    } else {
        RuleRecord stats(CustItemStatVc::Number);
        if (!stats.record) return;
        PutText(stats.record, CustItemStatVc::CustCode, code);
        PutText(stats.record, CustItemStatVc::ItemCode, item);
        if (!RecFindByIndex(CustItemStatVc::Number, "CustItem", stats.record, 2, 1, &recid, &position)) return;
        const MemBlock amounts = GetU32(stats.record, CustItemStatVc::Amounts);
        PeriodBalanceChange(amounts, ItemStatSlot::Count, ItemStatSlot::Sales, from, to, sales);
        PeriodBalanceChange(amounts, ItemStatSlot::Count, ItemStatSlot::Cost, from, to, cost);
    }
    if (DecIsBlank(sales)) DecSetZero(sales);
    if (DecIsBlank(cost)) DecSetZero(cost);
}

// True when amount is not below the minimum at offset (a blank minimum
// lets everything through).
bool NotBelow(const uint8_t *selection, const PackedDecimal *amount, uint32_t offset) {
    const PackedDecimal minimum = GetDec(selection, offset);
    if (DecIsBlank(&minimum)) return true;
    PackedDecimal diff;
    DecSub(amount, &minimum, &diff);
    return !DecIsNegative(&diff);
}

void EachCustomer(const uint8_t *customer, void *context) {
    SalesSums *g = static_cast<SalesSums *>(context);
    PString salesman, own;
    GetText(g->selection, P::SelText7, salesman);
    GetText(customer, CUVc::SalesMan, own);
    if (salesman[0] && !PStringEqual(salesman, own)) return;
    PackedDecimal sales, cost;
    SalesOf(g->selection, customer, &sales, &cost);
    if (!NotBelow(g->selection, &sales, P::Amount1) || !NotBelow(g->selection, &cost, P::Amount2)) return;
    PString t;
    RepStartLine(LineHeight);
    GetText(customer, CUVc::Code, t);
    RepTextEx(0, -1, 0, 0, 0, t);
    GetText(customer, CUVc::Name, t);
    RepTextEx(ColName, -1, 0, 0, 0, t);
    RepAmountAt(ColCost, &cost);
    Share(ColShare, &cost, &sales);
    RepAmountAt(ColSales, &sales);
    RepEndLine();
    DecAdd(&g->sales, &sales, &g->sales);
    DecAdd(&g->cost, &cost, &g->cost);
}

}  // namespace

void CustomerSalesReport(ReportJob &job) {
    assert(job.selection);
    SalesSums g;
    g.selection = job.selection;
    DecSetZero(&g.sales);
    DecSetZero(&g.cost);
    RepBeginJobNr(2481);
    ReportHeadings(LineHeight, {{0, 2482}, {ColName, 2483}, {ColCost, 2493, -1}, {ColShare, 2494, -1},
                                {ColSales, 2484, -1}});
    RepRuleFull(1, 4);
    CustomerWalk(job.selection, EachCustomer, &g);
    if (GetU16(job.selection, P::ReportLayout) != 0) {
        RepRuleFull(1, 4);
        RepStartLine(LineHeight);
        RepAmountAt(ColCost, &g.cost);
        Share(ColShare, &g.cost, &g.sales);
        RepAmountAt(ColSales, &g.sales);
        RepEndLine();
    }
    RepEndJob();
}
