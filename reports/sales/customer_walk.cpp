// customer_walk.cpp - the customers of a report's code range and group in
// code order, and their period balances from the customer statistics.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/text_range.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "reports/frame/report_run.h"
#include "reports/sales/customer_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

constexpr int CustomerKinds = 5;
constexpr int KindInvoiced = 1, KindPaid = 2, KindHomeTotal = 4;

}  // namespace

void CustomerWalk(const uint8_t *selection, void (*each)(const uint8_t *customer, void *context), void *context) {
    assert(each && selection);
    PString range, from, to, group, code, own;
    GetText(selection, ReportParamsVc::SelText1, range);
    RangeSplit(range, from, to);
    GetText(selection, ReportParamsVc::SelText3, group);
    RuleRecord customer(CUVc::Number);
    if (!customer.record) return;
    PutText(customer.record, CUVc::Code, from);
    uint32_t recid = 0, position = 0;
    bool more = RecFindByIndex(CUVc::Number, "Code", customer.record, 1, 0, &recid, &position);
    for (int32_t p = (int32_t)position; more; p++) {
        if (p != (int32_t)position && !RecReadAtIndex(CUVc::Number, "Code", p, customer.record, &recid)) break;
        GetText(customer.record, CUVc::Code, code);
        if (to[0] && PStringCompare(code, to) > 0) break;
        GetText(customer.record, CUVc::CustGroup, own);
        if (group[0] && !PStringEqual(own, group)) continue;
        each(customer.record, context);
        if (ReportCancelled()) break;
    }
}

void CustomerPeriodBalances(const uint8_t *customer, bool inCurrency, uint16_t from, uint16_t to,
                            PackedDecimal *opening, PackedDecimal *closing) {
    assert(customer && opening && closing);
    DecSetZero(opening);
    DecSetZero(closing);
    RuleRecord stats(CSVc::Number);
    if (!stats.record) return;
    PString code;
    GetText(customer, CUVc::Code, code);
    PutText(stats.record, CSVc::CustCode, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(CSVc::Number, stats.record, 1, 1, &recid, &position)) return;
    const MemBlock amounts = GetU32(stats.record, CSVc::Amounts);
    if (inCurrency) {
        PackedDecimal paid;
        PeriodBalanceBefore(amounts, CustomerKinds, KindInvoiced, from, opening);
        PeriodBalanceBefore(amounts, CustomerKinds, KindPaid, from, &paid);
        DecSub(opening, &paid, opening);
        PeriodBalanceAt(amounts, CustomerKinds, KindInvoiced, to, closing);
        PeriodBalanceAt(amounts, CustomerKinds, KindPaid, to, &paid);
        DecSub(closing, &paid, closing);
    } else {
        PeriodBalanceBefore(amounts, CustomerKinds, KindHomeTotal, from, opening);
        PeriodBalanceAt(amounts, CustomerKinds, KindHomeTotal, to, closing);
    }
    if (DecIsBlank(opening)) DecSetZero(opening);
    if (DecIsBlank(closing)) DecSetZero(closing);
}
