// report_check.cpp - the check of a job record's selection before a
// report runs.
#include "reports/ledger/ledger_reports.h"
#include "reports/sales/report_run.h"

// Checks a job record. Not built yet: tells so and refuses, so nothing runs.
bool CheckReportParameters(uint8_t *)
{
    ReportsNotBuilt();
    return false;
}

// Checks a job record for the output layer. Not built yet: tells so and refuses.
bool ReportParamsCheckBody(uint8_t *)
{
    ReportsNotBuilt();
    return false;
}
