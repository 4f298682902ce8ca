// item_value_report.cpp - report 8, the value of each stocked item's
// quantity on hand on the stock date, first in first out: one line per
// item (layout 0), the receipts that make up the value (layout 1), or the
// value of one location's stock at the unit value of the whole stock
// (layout 2); at the sales price instead of the cost with Option12; the
// serial numbers in stock with Option11; the quantity and value summed.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/stock_docs.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/stock/stock_reports.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

namespace P = ReportParamsVc;
constexpr int LineHeight = 15, GapHeight = 10;
constexpr int ColValue = 1, ColName = 2, ColQty = 3, ColUnit = 4;
constexpr int LayoutLines = 0, LayoutReceipts = 1, LayoutLocation = 2;

struct ValueRun {
    int layout;
    bool atSalesPrice, currentRate, serials, skipEmpty;
    PString location;
    DateRec stockDate;
    const DateRec *date;   // null: no stock date given
    PackedDecimal totalQty, totalValue;
};

void Headings(int layout, bool atSalesPrice) {
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 2325, 0);
    RepTextNr(ColName, 0, 2326, 0);
    if (layout == LayoutReceipts) {
        RepEndLine();
        RepStartLine(LineHeight);
        RepTextNr(80, 0, 2344, 0);
    }
    RepTextNr(ColQty, 0, 2330, -1);
    RepTextNr(ColUnit, 0, atSalesPrice ? 2350 : 2331, -1);
    RepTextNr(ColValue, 0, 2332, -1);
    RepEndLine();
}

void CodeAndName(const uint8_t *item) {
    StockFieldAt(0, item, INVc::Code);
    StockFieldAt(ColName, item, INVc::Name);
}

void ValuesAt(const PackedDecimal *qty, const PackedDecimal *unit, const PackedDecimal *value) {
    StockValueAt(ColQty, qty, FtAmount3);
    StockValueAt(ColUnit, unit, FtAmount2);
    StockValueAt(ColValue, value, FtAmount2);
}

// The item's serial numbers in stock (at the location when one is given).
void SerialNumbers(const uint8_t *code, const uint8_t *location) {
    RuleRecord serial(SerialStockVc::Number);
    if (!serial.record) return;
    PString got, at;
    PutText(serial.record, SerialStockVc::ItemCode, code);
    uint32_t recid = 0, position = 0;
    bool more = RecFindByIndex(SerialStockVc::Number, "ItemLocation", serial.record, 1, 0, &recid, &position);
    bool any = false;
    PackedDecimal one;
    DecFromLong(&one, 1);
    for (int32_t p = (int32_t)position; more; p++) {
        if (p != (int32_t)position && !RecReadAtIndex(SerialStockVc::Number, "ItemLocation", p, serial.record, &recid))
            break;
        GetText(serial.record, SerialStockVc::ItemCode, got);
        if (!PStringEqual(got, code)) break;
        GetText(serial.record, SerialStockVc::Location, at);
        if (location[0] && !PStringEqual(at, location)) continue;
        const PackedDecimal qty = GetDec(serial.record, SerialStockVc::Quantity);
        if (DecCompare(&qty, &one) < 0) continue;
        if (!any) {
            RepStartLine(LineHeight);
            RepRule(300, ColValue, 1);
            RepStartLine(LineHeight);
            RepTextNr(11, 0, 5018, 0);
            RepEndLine();
            any = true;
        }
        RepStartLine(LineHeight);
        StockFieldAt(110, serial.record, SerialStockVc::SerialNr);
        StockValueAt(ColQty, &qty, FtAmount3);
        RepEndLine();
    }
    if (!any) return;
    RepStartLine(LineHeight);
    RepRule(300, ColValue, 1);
    RepStartLine(GapHeight);
    RepEndLine();
}

// value and unit of qty of the item: at the sales price, or first in
// first out at location (its receipt lines printed with print).
void ValueOf(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty, const ValueRun *run,
             bool print, PackedDecimal *unit, PackedDecimal *value) {
    PString code;
    GetText(item, INVc::Code, code);
    if (run->atSalesPrice) {
        *unit = GetDec(item, INVc::BasePrice);
        DecMul(unit, qty, value);
        return;
    }
    StockFifoValue(code, location, qty, value, run->currentRate, print, run->date);
    DecDiv(value, qty, unit);
}

void EachItem(const uint8_t *item, void *context) {
    ValueRun *run = static_cast<ValueRun *>(context);
    if (GetU16(item, INVc::Stocked) == 0) return;
    PString code;
    GetText(item, INVc::Code, code);
    const uint8_t all[1] = {0};
    PackedDecimal atLocation, qty, unit, value;
    StockQtyAtDate(code, run->location, &atLocation, run->date);
    if (run->skipEmpty && DecIsZero(&atLocation)) return;
    if (run->layout == LayoutLines) {
        qty = atLocation;
        ValueOf(item, run->location, &qty, run, false, &unit, &value);
        RepStartLine(LineHeight);
        CodeAndName(item);
        ValuesAt(&qty, &unit, &value);
        RepEndLine();
    } else {
        RepStartLine(LineHeight);
        CodeAndName(item);
        RepEndLine();
        if (run->layout == LayoutReceipts) {
            qty = atLocation;
            ValueOf(item, run->location, &qty, run, true, &unit, &value);
            RepRuleFull(1, 2);
        } else {
            // The unit value of the whole stock prices the location's share:
            // whole value x share / whole quantity, multiplied first so that
            // a share that is the whole stock keeps the whole value.
            PackedDecimal whole, wholeValue;
            StockQtyAtDate(code, all, &whole, run->date);
            ValueOf(item, all, &whole, run, false, &unit, &wholeValue);
            RuleRecord totals(LocationStock::Number);
            if (!totals.record) return;
            ItemStockTotals(code, run->location, totals.record, run->date);
            qty = GetDec(totals.record, LocationStock::InStock);
            DecMul(&wholeValue, &qty, &value);
            DecDiv(&value, &whole, &value);
            if (DecIsBlank(&value)) DecSetZero(&value);
            DecRound(&value, 2, &value);
        }
        DecRound(&unit, 2, &unit);
        RepStartLine(LineHeight);
        ValuesAt(&qty, &unit, &value);
        RepEndLine();
        if (run->serials) SerialNumbers(code, run->location);
        RepRuleFull(1, 4);
    }
    if (!DecIsBlank(&qty)) DecAdd(&run->totalQty, &qty, &run->totalQty);
    if (!DecIsBlank(&value)) DecAdd(&run->totalValue, &value, &run->totalValue);
}

}  // namespace

void ItemReport8(ReportJob &job) {
    assert(job.selection);
    ValueRun run{};
    run.layout = GetU16(job.selection, P::ReportLayout);
    if (run.layout > LayoutLocation) run.layout = LayoutLines;
    run.atSalesPrice = GetU16(job.selection, P::Option12) == 1;
    run.currentRate = GetU16(job.selection, P::Option2) == 1;
    run.serials = GetU16(job.selection, P::Option11) != 0 && run.layout != LayoutLines;
    run.skipEmpty = GetU16(job.selection, P::RangeKind) == 1;
    GetTextPrefix(job.selection, P::SelText2, 10, run.location);
    run.stockDate = GetDate(job.selection, P::Date2From);
    run.date = run.stockDate.year != 0 ? &run.stockDate : nullptr;
    DecSetZero(&run.totalQty);
    DecSetZero(&run.totalValue);

    RepBeginJobNr(2322);
    Headings(run.layout, run.atSalesPrice);
    StockItemWalk(job.selection, GetU16(job.selection, P::Option3), true, EachItem, &run);
    if (!CancelFlag) {
        if (run.layout == LayoutLines) RepRuleFull(1, 4);
        RepStartLine(LineHeight);
        StockValueAt(ColQty, &run.totalQty, FtAmount3);
        StockValueAt(ColValue, &run.totalValue, FtAmount2);
        RepEndLine();
    }
    RepEndJob();
}
