// output_placeholders.cpp - the running output job's state and the
// wrappers through which the output layer calls the runs that later
// subsystems install into OutputRunServices. A run that is not installed
// is refused, never reported as done: the user is told where the user
// asked for it, and the job's stop flag ends a run that called it.
#include "output/output_job.h"

#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"

OutputJobStateRec OutputJobState;
OutputRunServicesRec OutputRunServices;

namespace {

// Tells the user that what was asked for is not available; false.
bool RefuseAsked()
{
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// Stops the running output job, whose step cannot be done; false.
bool StopRun()
{
    OutputJobState.stopFlag = 1;
    return false;
}

}  // namespace

// Runs the report ReportParams selects; without a report run the user is
// told and the job stops.
bool RunReportCommand()
{
    if (OutputRunServices.runReportCommand) return OutputRunServices.runReportCommand();
    StopRun();
    return RefuseAsked();
}

// Queues a job record; without a queue the user is told.
bool RepJobQueuePush(const uint8_t *job, int flag)
{
    if (OutputRunServices.repJobQueuePush) return OutputRunServices.repJobQueuePush(job, flag);
    return RefuseAsked();
}

// Runs the job queue of a window; without a queue the user is told.
bool RepJobQueueRun(int window)
{
    if (OutputRunServices.repJobQueueRun) return OutputRunServices.repJobQueueRun(window);
    return RefuseAsked();
}

// Checks a job record's selection; without a check nothing is accepted
// and the user is told.
bool ReportParamsCheck(uint8_t *params)
{
    if (OutputRunServices.reportParamsCheck) return OutputRunServices.reportParamsCheck(params);
    return RefuseAsked();
}

// Runs a text export; without one the user is told and the job stops.
bool RunTextExport(int kind)
{
    if (OutputRunServices.runTextExport) return OutputRunServices.runTextExport(kind);
    StopRun();
    return RefuseAsked();
}

// Runs the maintenance routine of ReportParams: a client asks the server
// (request 30 with the whole job record), which runs it and reports;
// locally the installed routine runs, and without one the user is told.
bool RunMaintenanceCall()
{
    if (RunModeIsClient()) return ReportParams && JobRequestRemote(ReqMaintenance, ReportParams, ReportParamsSize);
    if (OutputRunServices.runMaintenance) return OutputRunServices.runMaintenance();
    return RefuseAsked();
}
