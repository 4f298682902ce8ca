// statement_run.cpp - run -11, a statement on the statement form for each
// customer of the code range, opening at the customer's balance in its
// own currency before the period's first month. The run shows the
// customer it is at, stops before the next one on Esc, and ends with the
// count of statements printed and where they went, or why none did.
#include <cassert>

#include "core/field_access.h"
#include "core/system.h"
#include "dict_offsets.h"
#include "operations/run_outcome.h"
#include "operations/statement.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/frame/report_run.h"
#include "reports/sales/customer_reports.h"

namespace {

// What the run counts besides what it printed: the customers passed over
// because they had nothing open.
struct StatementRun {
    const uint8_t *selection;   // the job record
    RunOutcome outcome;
    int32_t passedOver = 0;
};

void EachStatement(const uint8_t *customer, void *context) {
    StatementRun &run = *static_cast<StatementRun *>(context);
    PString code;
    GetText(customer, CUVc::Code, code);
    if (!RunGoesOn(&run.outcome, code)) return;   // the walk ends on the same Esc
    const uint16_t month = GetU16(run.selection, ReportParamsVc::MonthFrom);
    PackedDecimal opening, closing;
    CustomerPeriodBalances(customer, true, month, month, &opening, &closing);
    const uint8_t result = CustomerStatementLines(run.selection, customer, &opening);
    if (result == 1) RunCount(&run.outcome, 1, Texts::RunStatementPrinted, Texts::RunStatementsPrinted);
    else if (result == StatementPassedOver) run.passedOver++;
    else RunFailed(&run.outcome, 1, Texts::RunNotPrinted, Texts::RunNotPrinted);
}

}  // namespace

void CustomerStatementRun(ReportJob &job) {
    assert(job.selection);
    TodayToGlobals();   // once: every statement of the run is aged on this day
    RunDeviceKept device;
    StatementRun run{job.selection, {}, 0};
    RunStart(&run.outcome, Texts::TitleStatementRun);
    CustomerWalk(job.selection, EachStatement, &run);
    RunNothing(&run.outcome, run.passedOver > 0 ? Texts::RunWhyNothingOpen : Texts::RunWhyNoCustomer,
               Texts::RunNothingToPrint);
    RunFinish(&run.outcome, RunWhereOfOutput(job.selection));
}
