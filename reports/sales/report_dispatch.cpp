// report_dispatch.cpp - the report run: a job record's number turned into
// the body that prints it, and the Esc poll every report walk makes.
#include "reports/sales/report_run.h"
#include "shell/window_utils.h"

MemBlock PageSetupHandle = 0;

// Runs the report ReportParams names. Not built yet: does nothing.
void RunReport()
{
}

// Lets the user's Esc reach CancelFlag, then tells whether it is set.
bool ReportCancelled()
{
    PollStop();
    return CancelFlag != 0;
}
