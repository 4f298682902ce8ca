// item_qty_report.cpp - report 80, the items made from a structure with
// their own stock and the number of units their components in stock
// allow: one line per item, or with the components listed (layout 1).
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/sales_reports.h"
#include "reports/stock/stock_reports.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15, ColName = 2;
constexpr int OrderGroup = 1;

struct QtyRun {
    bool components;
    int explode;
};

void StockAndMade(const uint8_t *stock, const PackedDecimal *made) {
    const PackedDecimal onHand = GetDec(stock, LSVc::InStock), reserved = GetDec(stock, LSVc::Reserved);
    StockValueAt(300, &onHand, FtAmount3);
    StockValueAt(360, &reserved, FtAmount3);
    StockValueAt(430, made, FtAmount3);
}

void EachItem(const uint8_t *item, void *context) {
    const QtyRun &run = *static_cast<const QtyRun *>(context);
    if (GetU16(item, INVc::Stocked) == 0 && GetU16(item, INVc::StructFlag) == 0) return;
    PString code, structure;
    GetText(item, INVc::StructCode, structure);
    if (structure[0] == 0) return;
    GetText(item, INVc::Code, code);
    RuleRecord stock(LSVc::Number);
    if (!stock.record) return;
    const uint8_t all[1] = {0};
    Register6Lookup(code, all, stock.record);
    PackedDecimal made;
    RepStartLine(LineHeight);
    StockFieldAt(0, item, INVc::Code);
    StockFieldAt(ColName, item, INVc::Name);
    if (!run.components) {
        RecipeComponentScan(code, 1, &made, nullptr, 0, run.explode);
        StockAndMade(stock.record, &made);
        RepEndLine();
        return;
    }
    RepTextNr(250, 0, 5024, -1);
    RepTextNr(300, 0, 5029, -1);
    RepTextNr(360, 0, 5027, -1);
    RepTextNr(430, 0, 5028, -1);
    RepEndLine();
    RecipeComponentScan(code, 1, &made, nullptr, 1, run.explode);
    RepRuleFull(1, 2);
    RepStartLine(LineHeight);
    StockAndMade(stock.record, &made);
    RepEndLine();
    RepRuleFull(1, 4);
}

}  // namespace

void ItemQtyReport(ReportJob &job) {
    assert(job.selection);
    QtyRun run{};
    run.components = GetU16(job.selection, P::ReportLayout) != 0;
    run.explode = GetU16(job.selection, P::Option2) == 1 ? 1 : 0;
    RepBeginJobNr(5021);
    ReportHeadings(LineHeight, {{0, 5022}, {ColName, 5023}, {300, 5024, -1}, {360, 5025, -1}, {440, 5026, -1}});
    RepRuleFull(1, 4);
    StockItemWalk(job.selection, GetU16(job.selection, P::Option3) == OrderGroup ? OrderGroup : 0, true, EachItem, &run);
    RepRuleFull(1, 4);
    RepEndJob();
}
