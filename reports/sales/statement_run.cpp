// statement_run.cpp - run -11, a statement on the statement form for each
// customer of the code range, opening at the customer's balance in its
// own currency before the period's first month.
#include <cassert>

#include "core/field_access.h"
#include "core/system.h"
#include "dict_offsets.h"
#include "operations/statement.h"
#include "reports/sales/customer_reports.h"
#include "reports/sales/report_run.h"

namespace {

void EachStatement(const uint8_t *customer, void *) {
    const uint16_t month = GetU16(ReportParams, ReportParamsVc::MonthFrom);
    PackedDecimal opening, closing;
    CustomerPeriodBalances(customer, true, month, month, &opening, &closing);
    CustomerStatementLines(customer, &opening);
}

}  // namespace

void CustomerStatementRun() {
    assert(ReportParams);
    TodayToGlobals();   // once: every statement of the run is aged on this day
    CustomerWalk(EachStatement, nullptr);
}
