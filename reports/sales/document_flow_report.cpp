// document_flow_report.cpp - report 110, the flow of one order: the order
// with what of each item row is still to deliver and what the stock at
// its location allows, then its deliveries and its invoices.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_headings.h"
#include "reports/frame/report_run.h"
#include "reports/sales/order_reports.h"
#include "reports/sales/sales_reports.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

namespace R = ORVc::Rows;
constexpr int LineHeight = 15;

// The order's head and addresses, then per item row: ordered, delivered,
// still to deliver, on hand at the order's location and what of it can be
// delivered (the smaller of the two, never below zero).
void OrderDeliveryBlock(const uint8_t *order) {
    OrderHeadLines(order);
    OrderLineGap(10);
    RepStartLine(LineHeight);
    const int heads[5][2] = {{280, 5501}, {320, 5502}, {380, 5503}, {420, 5504}, {480, 5505}};
    for (const auto &h : heads) RepTextNr(h[0], 0, h[1], 1);
    RepEndLine();
    PString location, item;
    GetText(order, ORVc::Location, location);
    uint8_t row[R::Size], stock[LSVc::Size];
    const int32_t n = MatrixRowCount(ORVc::Number, 0, order);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(ORVc::Number, order, i, row)) break;
        if (DocRowKind(GetU16(row, R::Kind)) != DocRowKind::Item) continue;
        GetText(row, R::ItemCode, item);
        Register6Lookup(item, location, stock);
        const PackedDecimal ordered = OrderQty(row, R::Quantity), delivered = OrderQty(row, R::QtyDelivered),
                            onHand = OrderQty(stock, LSVc::InStock);
        PackedDecimal left, deliverable;
        DecSub(&ordered, &delivered, &left);
        DecMin(&left, &onHand, &deliverable);
        if (DecSign(&deliverable) < 0) DecSetZero(&deliverable);
        RepStartLine(LineHeight);
        RepTextField(20, row, R::ItemCode);
        RepTextField(104, row, R::Text);
        OrderLineAmount(280, &ordered, FtAmount3, 1);
        OrderLineAmount(320, &delivered, FtAmount3, 1);
        OrderLineAmount(380, &left, FtAmount3, 1);
        OrderLineAmount(430, &onHand, FtAmount3, 1);
        OrderLineAmount(480, &deliverable, FtAmount3, 1);
        RepEndLine();
    }
}

// The order whose deliveries or invoices a walk lists.
struct FlowRun {
    int32_t order;
};

// A delivery's line: number, ship date, order, customer and name.
bool EachDelivery(const uint8_t *delivery, void *context) {
    const FlowRun &run = *static_cast<const FlowRun *>(context);
    if (GetI32(delivery, SHVc::OrderNr) != run.order) return false;
    RepStartLine(LineHeight);
    OrderLineNumber(0, GetI32(delivery, SHVc::SerNr), 0);
    RepValue(60, 0, delivery + SHVc::ShipDate, FtDate, 0);
    OrderLineNumber(130, GetI32(delivery, SHVc::OrderNr), 0);
    RepTextField(200, delivery, SHVc::CustCode);
    RepTextField(300, delivery, SHVc::DelAddr0);
    RepEndLine();
    RepRuleFull(1, 4);
    return true;
}

bool EachInvoice(const uint8_t *invoice, void *context) {
    const FlowRun &run = *static_cast<const FlowRun *>(context);
    if (GetI32(invoice, IVVc::OrderNr) != run.order) return false;
    PrintDocSummaryLine(invoice);
    RepRuleFull(1, 4);
    return true;
}

}  // namespace

void DocumentFlowReport(ReportJob &job) {
    assert(job.selection);
    FlowRun run{(int32_t)GetU32(job.selection, ReportParamsVc::NumberFrom)};
    RuleRecord order(ORVc::Number);
    if (!order.record) return;
    PutI32(order.record, ORVc::SerNr, run.order);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(ORVc::Number, "SerNr", order.record, 1, 1, &recid, &position)) {
        RecFreeMatrix(ORVc::Number, order.record);
        ReportPrintsNothing(run.order <= 0 ? Texts::ReportNoOrderGiven : Texts::ReportNoSuchOrder);
        return;
    }
    RepBeginJobNr(5500);
    ReportHeadings(LineHeight, {{0, 2622}, {130, 2623}, {210, 2624}, {480, 2638, 1}});
    RepRuleFull(1, 4);
    OrderDeliveryBlock(order.record);
    RecFreeMatrix(ORVc::Number, order.record);
    RepRuleFull(1, 4);
    OrderLineGap(LineHeight);

    ReportHeadings(LineHeight, {{0, 2582}, {60, 2583}, {130, 2584}, {200, 2585}, {300, 2586}});
    RepRuleFull(1, 4);
    RuleRecord delivery(SHVc::Number);
    if (delivery.record && !ReportCancelled()) {
        PutI32(delivery.record, SHVc::OrderNr, run.order);
        ReportIndexWalk(SHVc::Number, "OrderKey", delivery.record, 1, EachDelivery, &run);
    }

    OrderLineGap(LineHeight);
    RepRuleFull(1, 4);
    ReportHeadings(LineHeight, {{0, 2352}, {60, 2353}, {120, 2354}, {300, 2358}, {2, 2357, 1}});
    RepRuleFull(1, 4);
    RuleRecord invoice(IVVc::Number);
    if (invoice.record && !ReportCancelled()) {
        PutI32(invoice.record, IVVc::OrderNr, run.order);
        ReportIndexWalk(IVVc::Number, "OrderNr", invoice.record, 1, EachInvoice, &run);
    }
    RepRuleFull(1, 4);
    RepEndJob();
}
