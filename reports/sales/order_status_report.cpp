// order_status_report.cpp - the order status reports: report 54 (orders
// not delivered, not invoiced or closed, by its three option words) and
// reports 64 and 116 (one body: orders not delivered whose rows stock can
// cover, and orders shipped but not invoiced). One line per order, each
// order in full, or one line per item row; the open value per currency.
//
// Every order these reports take is still open (its open word is 1: an
// order that is delivered and invoiced in full is neither "not delivered"
// nor "not invoiced"), so the walk runs over the open orders of the
// status index in number order and ends at the first closed one. The
// objects are tested on each order's list, also when objects are chosen:
// the object index sorts an order by its whole list, where an order of
// "P1,P2" would lie before the start of "P2".
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
#include "reports/frame/kind_boxes.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/frame/totals_table.h"
#include "reports/sales/order_reports.h"
#include "reports/sales/sales_reports.h"
#include "reports/stock/stock_reports.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

namespace P = ReportParamsVc;
namespace R = ORVc::Rows;
constexpr int LineHeight = 15;

// What one run reads of the job record and gathers.
struct StatusRun {
    const uint8_t *selection = nullptr;   // the job record
    int report = 54;               // 54, 64 or 116
    int layout = 0;
    bool quantities = false;       // Option11: follow-up quantities instead of values
    int32_t from = -1, to = -1;    // order numbers, -1 open
    PString groupFrom{}, groupTo{};
    PackedDecimal grand{};
    PackedDecimal sums[4]{};       // layout 2's column sums
};

bool Given(const StatusRun &run, uint32_t offset) { return run.selection[offset] != 0; }

// What is still to follow up of a row: ordered less invoiced, or for
// report 116 shipped less invoiced.
PackedDecimal Remaining(const StatusRun &run, const uint8_t *row) {
    PackedDecimal a = OrderQty(row, run.report == 116 ? R::QtyShipped : R::Quantity), b = OrderQty(row, R::QtyInvoiced), r;
    DecSub(&a, &b, &r);
    return r;
}

// The value of qty on a row; with the row's discount when discounted.
PackedDecimal RowValue(const uint8_t *row, const PackedDecimal *qty, bool discounted) {
    PackedDecimal price = GetDec(row, R::Price), unit = GetDec(row, R::PriceUnit), discount, r;
    if (discounted) discount = GetDec(row, R::Discount);
    else DecSetBlank(&discount);
    DecRowAmount(qty, &price, &unit, &discount, &r);
    if (DecIsBlank(&r)) DecSetZero(&r);
    return r;
}

// True when the row's item passes the item code (SelText6) and the item
// group range (SelText3) of the selection.
bool RowPasses(const StatusRun &run, const uint8_t *row) {
    PString item;
    GetText(row, R::ItemCode, item);
    if (Given(run, P::SelText6)) {
        PString want;
        GetTextPrefix(run.selection, P::SelText6, 20, want);
        if (!PStringEqual(item, want)) return false;
    }
    if (Given(run, P::SelText3)) {
        RuleRecord it(INVc::Number);
        if (!it.record || !item[0]) return false;
        PutText(it.record, INVc::Code, item);
        uint32_t recid = 0, position = 0;
        bool found = RecFind(INVc::Number, it.record, 1, 1, &recid, &position);
        PString group;
        GetText(it.record, INVc::Group, group);
        RecFreeMatrix(INVc::Number, it.record);
        if (!found) return false;
        if (PStringCompare(group, run.groupFrom) < 0) return false;
        if (run.groupTo[0] && PStringCompare(group, run.groupTo) > 0) return false;
    }
    return true;
}

// True when some item row passes the row tests (always, without them).
bool OrderHasPassingRow(const StatusRun &run, const uint8_t *order) {
    if (!Given(run, P::SelText6) && !Given(run, P::SelText3)) return true;
    uint8_t row[R::Size];
    const int32_t n = MatrixRowCount(ORVc::Number, 0, order);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(ORVc::Number, order, i, row)) break;
        if (DocRowKind(GetU16(row, R::Kind)) == DocRowKind::Item && RowPasses(run, row)) return true;
    }
    return false;
}

// The status test of the report, then the selection's filters.
bool OrderTaken(const StatusRun &run, const uint8_t *order) {
    const uint16_t a = GetU16(order, ORVc::DelivComplete), b = GetU16(order, ORVc::InvState);
    bool status = false;
    if (run.report == 54) {
        status = ParamBoxesNoneTicked(run.selection, {P::Option3, P::Option4, P::Option5}) ||
                 (GetU16(run.selection, P::Option3) == 1 && a == 0) ||
                 (GetU16(run.selection, P::Option4) == 1 && a == 0 && (b == 0 || b == 2)) ||
                 (GetU16(run.selection, P::Option5) == 1 && (b == 0 || b == 1));
    } else {
        status = run.report == 64 ? a == 0 : b == 0;
    }
    if (!status) return false;
    PString want, have;
    const struct {
        uint32_t sel, field;
        int m;
    } equal[] = {{P::SelText2, ORVc::CustCode, 20}, {P::SelText7, ORVc::SalesMan, 5},
                 {P::SelText5, ORVc::OrderClass, 5}};
    for (const auto &e : equal) {
        if (!Given(run, e.sel)) continue;
        GetPString(run.selection, e.sel, e.sel == P::SelText2 ? 255 : 20, want);
        GetPString(order, e.field, e.m, have);
        if (!PStringEqual(want, have)) return false;
    }
    if (Given(run, P::SelText4)) {
        GetText(run.selection, P::SelText4, want);
        GetText(order, ORVc::DelivText, have);
        if (!InRangeBySetting(want, have)) return false;
    }
    if (Given(run, P::ObjectSel)) {
        GetText(run.selection, P::ObjectSel, want);
        GetText(order, ORVc::Objects, have);
        if (!ObjectListContains(want, have) && !ObjectListContains(have, want)) return false;
    }
    if (run.report != 116 && b == 2 && a != 0) return false;
    if (!OrderHasPassingRow(run, order)) return false;
    if (run.report == 64 && !OrderRowsInStock(order)) return false;
    if (run.report == 116 && !OrderHasOpenRows(order)) return false;
    return true;
}

// The open value of the order: its item rows' remaining quantities at
// their prices, less their discounts.
PackedDecimal OpenValue(const StatusRun &run, const uint8_t *order) {
    PackedDecimal sum;
    DecSetZero(&sum);
    uint8_t row[R::Size];
    const int32_t n = MatrixRowCount(ORVc::Number, 0, order);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(ORVc::Number, order, i, row)) break;
        if (DocRowKind(GetU16(row, R::Kind)) != DocRowKind::Item) continue;
        const PackedDecimal left = Remaining(run, row);
        const PackedDecimal value = RowValue(row, &left, true);
        DecAdd(&sum, &value, &sum);
    }
    return sum;
}

void Headings(const StatusRun &run) {
    const StatusHeadingTexts texts = {
        .number = 2622, .date = 2623, .name = 2624, .value = 2627, .layout1Right = 2638, .rowText = 2638,
        .rowItem = 2637, .amounts = {2639, 2640, 2625},
        .quantities = {2631, 2632, 2630, run.report == 54 ? 2639 : Texts::TextNotInvoiced}};
    OrderStatusHeadings(run.layout, run.quantities, texts);
    if (run.layout == 0 || (run.layout == 2 && run.report != 54)) RepRuleFull(1, 4);
}

// The order with each item row's ordered, delivered and invoiced quantity.
void OrderStatusDetail(const uint8_t *order) {
    OrderHeadLines(order);
    ReportHeadings(LineHeight, {{3, 2631, 1}, {2, 2632, 1}, {1, 2633, 1}});
    uint8_t row[R::Size];
    const int32_t n = MatrixRowCount(ORVc::Number, 0, order);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(ORVc::Number, order, i, row)) break;
        if (DocRowKind(GetU16(row, R::Kind)) != DocRowKind::Item) continue;
        RepStartLine(LineHeight);
        RepTextField(20, row, R::ItemCode);
        RepTextField(104, row, R::Text);
        for (auto [stop, field] : {std::pair{3, R::Quantity}, std::pair{2, R::QtyDelivered}, std::pair{1, R::QtyInvoiced}}) {
            const PackedDecimal q = OrderQty(row, field);
            OrderLineAmount(stop, &q, FtAmount3, 1);
        }
        RepEndLine();
    }
}

// Layout 2: one line per item row that passes and has something to show.
void RowLines(StatusRun &run, const uint8_t *order) {
    uint8_t row[R::Size];
    const int32_t n = MatrixRowCount(ORVc::Number, 0, order);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(ORVc::Number, order, i, row)) break;
        if (DocRowKind(GetU16(row, R::Kind)) != DocRowKind::Item || !RowPasses(run, row)) continue;
        const PackedDecimal ordered = GetDec(row, R::Quantity), q1 = OrderQty(row, R::QtyDelivered),
                            q2 = OrderQty(row, R::QtyShipped), q3 = OrderQty(row, R::QtyInvoiced);
        const PackedDecimal left = Remaining(run, row);
        if (run.report == 54) {
            if (DecIsBlank(&ordered)) continue;
            if (!run.quantities && DecIsZero(&left)) continue;
            if (run.quantities && DecCompare(&ordered, &q1) == 0 && DecCompare(&q1, &q2) == 0 &&
                DecCompare(&q2, &q3) == 0)
                continue;
        }
        RepStartLine(LineHeight);
        OrderLineNumber(0, GetI32(order, ORVc::SerNr), 0);
        RepValue(50, 0, order + ORVc::OrdDate, FtDate, 0);
        RepTextField(110, order, ORVc::DelivText);
        RepTextField(175, row, R::ItemCode);
        if (!run.quantities) {
            const PackedDecimal price = GetDec(row, R::Price), value = RowValue(row, &left, run.report == 54);
            OrderStatusRowAmounts(order, ORVc::CurncyCode, &left, &price, &value, run.sums);
        } else {
            PackedDecimal cols[4] = {OrderQty(row, R::Quantity), q1, {}, {}};
            DecSub(&cols[0], &q1, &cols[2]);
            DecSub(&q1, &q3, &cols[3]);
            OrderStatusRowQuantities(cols, 4, run.sums);
        }
        RepEndLine();
    }
}

bool EachOrder(const uint8_t *order, void *context) {
    StatusRun &run = *static_cast<StatusRun *>(context);
    const int32_t serial = GetI32(order, ORVc::SerNr);
    if (run.to >= 0 && serial > run.to) return false;
    if (GetU16(order, ORVc::Open) != 1) return false;
    if (!OrderTaken(run, order)) return true;
    const PackedDecimal open = OpenValue(run, order);
    DecAdd(&run.grand, &open, &run.grand);
    TotalsTableAddInCurrency(order, ORVc::CurncyCode, &open);
    switch (run.layout) {
    case 0:
        RepStartLine(LineHeight);
        OrderLineNumber(0, serial, 0);
        RepValue(60, 0, order + ORVc::OrdDate, FtDate, 0);
        RepTextField(140, order, ORVc::Addr0);
        OrderLineAmount(5, &open, FtAmount2, 1);
        RepTextField(1, order, ORVc::CurncyCode, 0, 1);
        RepEndLine();
        break;
    case 1:
        RepRuleFull(1, 4);
        if (!run.quantities) OrderDetailBlock(order, run.report == 116);
        else OrderStatusDetail(order);
        break;
    default:
        RowLines(run, order);
        break;
    }
    return true;
}

// The body of the three reports.
void OrderStatusRun(const uint8_t *selection, int report) {
    assert(selection);
    StatusRun run;
    run.selection = selection;
    run.report = report;
    run.layout = GetU16(selection, P::ReportLayout);
    if (run.layout > 2) run.layout = 2;
    run.quantities = GetU16(selection, P::Option11) != 0;
    PString text;
    GetText(selection, P::SelText1, text);
    RangeSplitNumber(text, &run.from, &run.to);
    GetText(selection, P::SelText3, text);
    if (text[0]) RangeSplit(text, run.groupFrom, run.groupTo);
    DecSetZero(&run.grand);
    for (PackedDecimal &s : run.sums) DecSetZero(&s);
    TotalsTableReset();
    int title = 5600;
    if (report == 54) title = run.quantities ? 2629 : 2621;
    else if (report == 64) title = run.quantities ? 2861 : 2860;
    RepBeginJobNr(title);
    Headings(run);
    RuleRecord order(ORVc::Number);
    if (order.record) {
        PutI32(order.record, ORVc::SerNr, run.from < 0 ? 0 : run.from);
        PutU16(order.record, ORVc::Open, 1);
        ReportIndexWalk(ORVc::Number, "OSFlag", order.record, 2, EachOrder, &run);
    }
    RepRuleFull(1, 4);
    if (run.layout == 2) {
        OrderStatusSumsLine(run.sums, 4, run.quantities);
        RepRuleFull(1, 4);
    }
    if (report == 54) TotalsTablePrint(450, -1, -1, 300, 1);
    else TotalsTablePrint(5, -1, -1, 140, 1);
    RepEndJob();
}

}  // namespace

void OrderStatusReport(ReportJob &job) { OrderStatusRun(job.selection, 54); }

void OrderStatusReport64(ReportJob &job, int mode) { OrderStatusRun(job.selection, mode == 2 ? 116 : 64); }
