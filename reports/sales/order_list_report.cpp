// order_list_report.cpp - report 4, the order list: the orders of a number
// range and period whose invoicing state, delivery and open word the
// option words take, one line each (the total, or the net in layout 2) or
// each order in full (layout 1), with the totals per currency.
//
// The state the options test is the invoicing state (0 shipped and not
// all invoiced, 1 nothing shipped, 2 invoiced), the "closed" flag is the
// delivery-complete word and the third flag word is the open word.
#include <cassert>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/kind_boxes.h"
#include "reports/frame/line_values.h"
#include "reports/frame/report_run.h"
#include "reports/frame/totals_table.h"
#include "reports/sales/order_reports.h"
#include "reports/sales/sales_reports.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"

namespace {

namespace P = ReportParamsVc;
namespace R = ORVc::Rows;
constexpr int LineHeight = 15;

struct ListRun {
    const uint8_t *selection = nullptr;   // the job record
    int layout = 0;
    int32_t from = -1, to = -1;
    DateRec dateFrom{}, dateTo{};
};

uint16_t Option(const uint8_t *selection, uint32_t offset) { return GetU16(selection, offset); }

// The state options, then the customer, salesman, open word and period.
bool OrderTaken(const ListRun &run, const uint8_t *order) {
    const uint16_t state = GetU16(order, ORVc::InvState), closed = GetU16(order, ORVc::DelivComplete);
    const uint16_t third = GetU16(order, ORVc::Open);
    const bool status = ParamBoxesNoneTicked(run.selection, {P::Option2, P::Option3, P::Option4}) ||
                        (Option(run.selection, P::Option4) == 1 && closed == 1 && state == 2) ||
                        (Option(run.selection, P::Option3) == 1 && closed == 0 && (state == 0 || state == 2)) ||
                        (Option(run.selection, P::Option2) == 1 && (state == 0 || state == 1));
    if (!status) return false;
    PString want, have;
    if (run.selection[P::SelText2]) {
        GetText(run.selection, P::SelText2, want);
        GetText(order, ORVc::CustCode, have);
        if (!PStringEqual(want, have)) return false;
    }
    if (run.selection[P::SelText7]) {
        GetTextPrefix(run.selection, P::SelText7, 20, want);
        GetText(order, ORVc::SalesMan, have);
        if (!PStringEqual(want, have)) return false;
    }
    if (!ParamStateAdmits(run.selection, P::Option8, P::Option7, third == 1)) return false;
    const DateRec date = GetDate(order, ORVc::OrdDate);
    return DateInRange(&date, &run.dateFrom, &run.dateTo);
}

// The order in full: head, addresses, item rows and its sums.
void OrderBlock(const uint8_t *order) {
    constexpr int T = FtText;
    OrderLineFields(order, {{0, ORVc::SerNr, FtLongOrEmpty, 0, 0}, {130, ORVc::OrdDate, FtDate, 0, 0},
                            {220, ORVc::Reference, T, 60, 0}});
    OrderLineFields(order, {{50, ORVc::CustCode, T, 20, 0}, {200, ORVc::Addr0, T, 60, 0}});
    OrderLineFields(order, {{50, ORVc::SalesMan, T, 5, 0}, {200, ORVc::Addr1, T, 60, 0}});
    OrderLineGap(LineHeight);
    OrderLineFields(order, {{50, ORVc::PayTerms, T, 2, 0}, {200, ORVc::Addr2, T, 60, 0}});
    OrderLineFields(order, {{200, ORVc::Addr3, T, 60, 0}}, true);
    OrderLineFields(order, {{200, ORVc::Name2, T, 60, 0}}, true);
    OrderLineFields(order, {{460, ORVc::CurncyCode, T, 5, 0}}, true);
    uint8_t row[R::Size];
    const int32_t n = MatrixRowCount(ORVc::Number, 0, order);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(ORVc::Number, order, i, row)) break;
        if (DocRowKind(GetU16(row, R::Kind)) != DocRowKind::Item) continue;
        const PackedDecimal qty = GetDec(row, R::Quantity), price = GetDec(row, R::Price),
                            discount = GetDec(row, R::Discount), unit = GetDec(row, R::PriceUnit);
        PackedDecimal amount;
        DecRowAmount(&qty, &price, &unit, &discount, &amount);
        RepStartLine(LineHeight);
        OrderItemRowPieces(row, {qty, price, discount, amount}, 460);
        RepTextField(480, row, R::Text304, 0, 1);
        RepEndLine();
    }
    OrderLineRule(380, 460, 2);
    RepStartLine(LineHeight);
    if (GetU16(order, ORVc::InclVat) != 0) RepTextNr(20, 0, 2568, 0);
    RepTextField(100, order, ORVc::Text284);
    for (auto [x, field] : {std::pair{260, ORVc::Net}, std::pair{360, ORVc::Vat}, std::pair{460, ORVc::Total}}) {
        const PackedDecimal a = GetDec(order, field);
        OrderLineAmount(x, &a, FtAmount2, 1);
    }
    RepEndLine();
}

bool EachOrder(const uint8_t *order, void *context) {
    const ListRun &run = *static_cast<const ListRun *>(context);
    if (run.to >= 0 && GetI32(order, ORVc::SerNr) > run.to) return false;
    if (!OrderTaken(run, order)) return true;
    const PackedDecimal amount = GetDec(order, run.layout == 2 ? ORVc::Net : ORVc::Total);
    TotalsTableAddInCurrency(order, ORVc::CurncyCode, &amount);
    if (run.layout == 1) {
        RepRuleFull(1, 4);
        OrderBlock(order);
        return true;
    }
    RepStartLine(LineHeight);
    OrderLineNumber(0, GetI32(order, ORVc::SerNr), 0);
    RepValue(60, 0, order + ORVc::OrdDate, FtDate, 0);
    RepTextField(140, order, ORVc::Addr0);
    OrderLineAmount(440, &amount, FtAmount2, 1);
    RepTextField(445, order, ORVc::CurncyCode);
    RepEndLine();
    return true;
}

}  // namespace

void OrderListReport4(ReportJob &job) {
    assert(job.selection);
    ListRun run;
    run.selection = job.selection;
    run.layout = GetU16(job.selection, P::ReportLayout) > 2 ? 2 : GetU16(job.selection, P::ReportLayout);
    PString range;
    GetText(job.selection, P::SelText1, range);
    RangeSplitNumber(range, &run.from, &run.to);
    run.dateFrom = GetDate(job.selection, P::DateFrom);
    run.dateTo = GetDate(job.selection, P::DateTo);
    RepBeginJobNr(2561);
    RepStartLine(LineHeight);
    RepTextNr(0, 0, 2562, 0);
    if (run.layout == 1) {
        RepTextNr(130, 0, 2563, 0);
    } else {
        RepTextNr(60, 0, 2563, 0);
        RepTextNr(140, 0, 2564, 0);
        RepTextNr(1, 0, 2567, 1);
    }
    RepEndLine();
    TotalsTableReset();
    if (run.layout == 0) RepRuleFull(1, 4);
    RuleRecord order(ORVc::Number);
    if (order.record) {
        PutI32(order.record, ORVc::SerNr, run.from < 0 ? 0 : run.from);
        ReportIndexWalk(ORVc::Number, "SerNr", order.record, 1, EachOrder, &run);
    }
    RepRuleFull(1, 4);
    TotalsTablePrint(run.layout == 1 ? 460 : 440, -1, -1, 140, 1);
    RepEndJob();
}
