// customer_walk.cpp - the customers of a report's code range and group in
// code order, and their period balances from the customer statistics.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/statistics_slots.h"
#include "reports/frame/party_walk.h"
#include "reports/frame/report_run.h"
#include "reports/sales/customer_reports.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

const PartyFields CustomerParty{CUVc::Number, CUVc::Code, CUVc::Name, CUVc::CustGroup};

void CustomerWalk(const uint8_t *selection, void (*each)(const uint8_t *customer, void *context), void *context) {
    assert(each && selection);
    PString group;
    GetText(selection, ReportParamsVc::SelText3, group);
    PartyWalkOfJob(CustomerParty, selection, group, each, context);
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
        PeriodBalanceBefore(amounts, CustomerStatSlot::Count, CustomerStatSlot::Invoiced, from, opening);
        PeriodBalanceBefore(amounts, CustomerStatSlot::Count, CustomerStatSlot::Paid, from, &paid);
        DecSub(opening, &paid, opening);
        PeriodBalanceAt(amounts, CustomerStatSlot::Count, CustomerStatSlot::Invoiced, to, closing);
        PeriodBalanceAt(amounts, CustomerStatSlot::Count, CustomerStatSlot::Paid, to, &paid);
        DecSub(closing, &paid, closing);
    } else {
        PeriodBalanceBefore(amounts, CustomerStatSlot::Count, CustomerStatSlot::HomeBalance, from, opening);
        PeriodBalanceAt(amounts, CustomerStatSlot::Count, CustomerStatSlot::HomeBalance, to, closing);
    }
    if (DecIsBlank(opening)) DecSetZero(opening);
    if (DecIsBlank(closing)) DecSetZero(closing);
}
