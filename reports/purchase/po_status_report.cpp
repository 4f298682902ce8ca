// po_status_report.cpp - report 81, the purchase orders still to receive:
// the open orders of the status index with the value of what is still to
// come per order (layout 0), each order in full with quantities or
// amounts (layout 1), or one line per item row (layout 2); the values per
// currency.
//
// The status index runs by vendor within the open orders, so an order
// numbered above the range is passed over rather than ending the walk:
// the next vendor's orders of the range follow it.
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
#include "reports/sales/order_reports.h"
#include "reports/sales/sales_reports.h"
#include "reports/stock/stock_reports.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
namespace R = PurchOrderVc::Rows;
constexpr int LineHeight = 15;

struct PORun {
    const uint8_t *selection = nullptr;   // the job record
    int layout = 0;
    bool quantities = false;
    int32_t from = -1, to = -1;
    PString groupFrom{}, groupTo{};
    PackedDecimal sums[3]{};
};

// Ordered less received.
PackedDecimal ToReceive(const uint8_t *row) {
    PackedDecimal a = OrderQty(row, R::Quantity), b = OrderQty(row, R::QtyReceived), r;
    DecSub(&a, &b, &r);
    return r;
}

// The row amount of qty: at the row's price less its discount.
PackedDecimal AmountOf(const uint8_t *row, const PackedDecimal *qty) {
    const PackedDecimal price = GetDec(row, R::Price), discount = GetDec(row, R::Discount);
    PackedDecimal unit, r;
    DecSetBlank(&unit);
    DecRowAmount(qty, &price, &unit, &discount, &r);
    if (DecIsBlank(&r)) DecSetZero(&r);
    return r;
}

// Calls each for every row of order (any kind when all, else item rows).
template <typename F>
void EachRow(const uint8_t *order, bool all, F each) {
    uint8_t row[R::Size];
    const int32_t n = MatrixRowCount(PurchOrderVc::Number, 0, order);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(PurchOrderVc::Number, order, i, row)) break;
        if (all || DocRowKind(GetU16(row, R::Kind)) == DocRowKind::Item) each(row);
    }
}

// True when the row's item lies in the item-group range (an item that
// does not exist is not tested).
bool RowInGroups(const PORun &run, const uint8_t *row) {
    if (!run.selection[P::SelText3]) return true;
    RuleRecord it(INVc::Number);
    if (!it.record) return false;
    PString item, group;
    GetText(row, R::ItemCode, item);
    PutText(it.record, INVc::Code, item);
    uint32_t recid = 0, position = 0;
    const bool found = RecFind(INVc::Number, it.record, 1, 1, &recid, &position);
    GetText(it.record, INVc::Group, group);
    RecFreeMatrix(INVc::Number, it.record);
    if (!found) return true;
    return PStringCompare(group, run.groupFrom) >= 0 && (!run.groupTo[0] || PStringCompare(group, run.groupTo) <= 0);
}

// True when the row carries the item SelText6 names (any row without one).
bool RowHasItem(const uint8_t *selection, const uint8_t *row) {
    if (!selection[P::SelText6]) return true;
    PString want, item;
    GetTextPrefix(selection, P::SelText6, 20, want);
    GetText(row, R::ItemCode, item);
    return PStringEqual(want, item);
}

// Headings of the layout.
void Headings(const PORun &run) {
    const StatusHeadingTexts texts = {.number = 5042, .date = 5043, .name = 5044, .value = 5047,
                                      .layout1Right = 5053, .rowText = 5053, .rowItem = 5052,
                                      .amounts = {5054, 2640, 5045}, .quantities = {2631, 5051, 5054, 0}};
    OrderStatusHeadings(run.layout, run.quantities, texts);
}

// The order with each item row's ordered, received and on-purchase quantity.
void POBlockQuantities(const uint8_t *order) {
    namespace V = PurchOrderVc;
    constexpr int T = FtText;
    OrderLineFields(order, {{0, V::SerNr, FtLongOrEmpty, 0, 0}, {130, V::PODate, FtDate, 0, 0},
                            {210, V::VendCode, T, 20, 0}, {300, V::VendName, T, 60, 0}, {480, V::Reference, T, 20, 1}});
    for (uint32_t line : {V::Addr1, V::Addr2, V::Addr3}) OrderLineFields(order, {{300, line, T, 60, 0}}, true);
    OrderLineGap(10);
    ReportHeadings(LineHeight, {{3, 2631, 1}, {2, 2632, 1}, {1, 2633, 1}});
    EachRow(order, false, [](const uint8_t *row) {
        RepStartLine(LineHeight);
        RepTextField(20, row, R::ItemCode);
        RepTextField(104, row, R::Text);
        for (auto [stop, field] : {std::pair{3, R::Quantity}, std::pair{2, R::QtyReceived},
                                   std::pair{1, R::QtyOnPurchases}}) {
            const PackedDecimal q = OrderQty(row, field);
            OrderLineAmount(stop, &q, FtAmount3, 1);
        }
        RepEndLine();
    });
}

// The order with what is still to receive of each item row and its value.
void POBlockAmounts(const uint8_t *order) {
    namespace V = PurchOrderVc;
    constexpr int T = FtText;
    OrderLineFields(order, {{0, V::SerNr, FtLongOrEmpty, 0, 0}, {130, V::PODate, FtDate, 0, 0},
                            {220, V::Reference, T, 20, 0}, {480, V::CurncyCode, T, 5, 1}});
    OrderLineFields(order, {{50, V::VendCode, T, 20, 0}, {200, V::VendName, T, 60, 0}});
    OrderLineFields(order, {{200, V::Addr1, T, 60, 0}});
    OrderLineGap(LineHeight);
    OrderLineFields(order, {{50, V::PayTerms, T, 2, 0}, {200, V::Addr2, T, 60, 0}});
    OrderLineFields(order, {{200, V::Addr3, T, 60, 0}, {480, V::DelivText, T, 10, 1}});
    PackedDecimal sum;
    DecSetZero(&sum);
    EachRow(order, false, [&sum](const uint8_t *row) {
        const PackedDecimal left = ToReceive(row), amount = AmountOf(row, &left);
        const PackedDecimal price = GetDec(row, R::Price), discount = GetDec(row, R::Discount);
        DecAdd(&sum, &amount, &sum);
        RepStartLine(LineHeight);
        OrderLineAmount(124, &left, FtAmount3, 1);
        RepTextField(20, row, R::ItemCode);
        RepTextField(130, row, R::Text);
        OrderLineAmount(340, &price, FtAmount3Drop, 1);
        OrderLineAmount(370, &discount, FtAmount1, 1);
        OrderLineAmount(480, &amount, FtAmount2, 1);
        RepEndLine();
    });
    OrderLineRule(350, 480, 2);
    RepStartLine(LineHeight);
    OrderLineAmount(480, &sum, FtAmount2, 1);
    RepEndLine();
}

bool EachOrder(const uint8_t *order, void *context) {
    PORun &run = *static_cast<PORun *>(context);
    if (GetU16(order, PurchOrderVc::Open) != 1) return false;
    const int32_t serial = GetI32(order, PurchOrderVc::SerNr);
    if ((run.from >= 0 && serial < run.from) || (run.to >= 0 && serial > run.to)) return true;
    if (GetU16(order, PurchOrderVc::Closed) != 0) return true;
    PackedDecimal receivedSum;
    DecSetZero(&receivedSum);
    EachRow(order, true, [&receivedSum](const uint8_t *row) {
        const PackedDecimal q = OrderQty(row, R::QtyReceived);
        DecAdd(&receivedSum, &q, &receivedSum);
    });
    const bool received = !DecIsZero(&receivedSum);
    const bool take = ParamBoxesNoneTicked(run.selection, {P::Option3, P::Option4}) || GetU16(run.selection, P::Option3) == 1 ||
                      (GetU16(run.selection, P::Option4) == 1 && received);
    if (!take) return true;
    PString want, have;
    const struct {
        uint32_t sel, field;
        int m;
    } equal[] = {{P::SelText8, PurchOrderVc::Location, 10}, {P::SelText2, PurchOrderVc::VendCode, 20}};
    for (const auto &e : equal) {
        if (!run.selection[e.sel]) continue;
        GetPString(run.selection, e.sel, e.sel == P::SelText2 ? 255 : 20, want);
        GetPString(order, e.field, e.m, have);
        if (!PStringEqual(want, have)) return true;
    }
    if (run.selection[P::SelText4]) {
        GetText(run.selection, P::SelText4, want);
        GetText(order, PurchOrderVc::Reference, have);
        if (!InRangeBySetting(want, have)) return true;
    }
    if (run.selection[P::SelText6]) {
        bool carries = false;
        EachRow(order, false, [&](const uint8_t *row) { carries = carries || RowHasItem(run.selection, row); });
        if (!carries) return true;
    }
    PString currency;
    GetText(order, PurchOrderVc::CurncyCode, currency);
    if (run.layout != 2) {
        PackedDecimal remaining;
        DecSetZero(&remaining);
        EachRow(order, true, [&remaining](const uint8_t *row) {
            const PackedDecimal left = ToReceive(row), amount = AmountOf(row, &left);
            DecAdd(&remaining, &amount, &remaining);
        });
        TotalsTableAdd(currency, &remaining, nullptr, nullptr);
        if (run.layout == 0) {
            RepStartLine(LineHeight);
            OrderLineNumber(0, serial, 0);
            RepValue(60, 0, order + PurchOrderVc::PODate, FtDate, 0);
            RepTextField(140, order, PurchOrderVc::VendName);
            OrderLineAmount(450, &remaining, FtAmount2, 1);
            RepTextField(480, order, PurchOrderVc::CurncyCode, 0, 1);
            RepEndLine();
        } else {
            RepRuleFull(1, 4);
            if (run.quantities) POBlockQuantities(order);
            else POBlockAmounts(order);
        }
        return true;
    }
    EachRow(order, false, [&](const uint8_t *row) {
        if (!RowHasItem(run.selection, row) || !RowInGroups(run, row)) return;
        RepStartLine(LineHeight);
        OrderLineNumber(0, serial, 0);
        RepValue(50, 0, order + PurchOrderVc::PODate, FtDate, 0);
        RepTextField(110, order, PurchOrderVc::Reference);
        RepTextField(175, row, R::ItemCode);
        const PackedDecimal left = ToReceive(row);
        if (!run.quantities) {
            const PackedDecimal price = GetDec(row, R::Price), amount = AmountOf(row, &left);
            OrderStatusRowAmounts(order, PurchOrderVc::CurncyCode, &left, &price, &amount, run.sums);
            TotalsTableAdd(currency, &amount, nullptr, nullptr);
        } else {
            const PackedDecimal cols[3] = {OrderQty(row, R::Quantity), OrderQty(row, R::QtyReceived), left};
            OrderStatusRowQuantities(cols, 3, run.sums);
        }
        RepEndLine();
    });
    return true;
}

}  // namespace

void POStatusReport(ReportJob &job) {
    assert(job.selection);
    PORun run;
    run.selection = job.selection;
    run.layout = GetU16(job.selection, P::ReportLayout) > 2 ? 2 : GetU16(job.selection, P::ReportLayout);
    run.quantities = GetU16(job.selection, P::Option11) != 0;
    PString text;
    GetText(job.selection, P::SelText1, text);
    RangeSplitNumber(text, &run.from, &run.to);
    GetText(job.selection, P::SelText3, text);
    if (text[0]) RangeSplit(text, run.groupFrom, run.groupTo);
    for (PackedDecimal &s : run.sums) DecSetZero(&s);
    RepBeginJobNr(5041);
    Headings(run);
    TotalsTableReset();
    if (run.layout == 0) RepRuleFull(1, 4);
    RuleRecord order(PurchOrderVc::Number);
    if (order.record) {
        PutU16(order.record, PurchOrderVc::Open, 1);
        ReportIndexWalk(PurchOrderVc::Number, "OSFlag", order.record, 1, EachOrder, &run);
    }
    RepRuleFull(1, 4);
    if (run.layout == 2) OrderStatusSumsLine(run.sums, 3, run.quantities);
    TotalsTablePrint(450, -1, -1, 300, 1);
    RepRuleFull(1, 4);
    RepEndJob();
}
