// report_install.cpp - the report run as the output layer sees it: the
// command that runs ReportParams, where it runs, and their install.
#include "output/output_job.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/sales/report_run.h"

// Runs the report of ReportParams at the server or here. Not built yet:
// does nothing.
void RunReportWhere()
{
}

// The output layer's report command. Not built yet: tells so, stops the
// job and gives false.
bool ReportRunCommand()
{
    ReportsNotBuilt();
    return false;
}

// Installs the report command and the job-record check.
void ReportsInstall()
{
    OutputRunServices.runReportCommand = ReportRunCommand;
    OutputRunServices.reportParamsCheck = ReportParamsCheckBody;
}
