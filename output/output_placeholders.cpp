// output_placeholders.cpp - the running output job's state and the
// wrappers through which the output layer calls the runs that later
// subsystems install into OutputRunServices. A run that is not installed
// is refused, never reported as done: the user is told where the user
// asked for it, and the job's stop flag ends a run that called it.
#include "output/output_job.h"

#include "core/field_access.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/write_gate.h"
#include "dict_offsets.h"
#include "operations/batch_routines.h"

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

OutputJobAttach::OutputJobAttach(uint8_t *record) : previous(OutputJobState.jobRecord)
{
    OutputJobState.jobRecord = record;
}

OutputJobAttach::~OutputJobAttach() { OutputJobState.jobRecord = previous; }

uint8_t *CurrentJobRecord() { return OutputJobState.jobRecord; }

// Runs the report job selects, the job attached to the output; without a
// report run the user is told and the job stops.
bool RunReportCommand(ReportJob &job)
{
    OutputJobAttach attached(job);
    RunWrites writes;   // what it marks or posts is asked, and told once
    if (OutputRunServices.runReportCommand) return OutputRunServices.runReportCommand(job);
    StopRun();
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
bool RunTextExport(ReportJob &job, int kind)
{
    RunWrites writes;   // what it marks sent is asked, and told once
    if (OutputRunServices.runTextExport) return OutputRunServices.runTextExport(job, kind);
    StopRun();
    return RefuseAsked();
}

// Runs the maintenance routine of job: a client asks the server (request
// 30 with the whole job record), which asks the user's rights, runs it
// and reports; anyone else asks the same here (RunWrites) and runs the
// batch routine. A refused routine has told why and stored nothing, so
// nothing failed: true, as a client's refused request answers.
bool RunMaintenanceCall(ReportJob &job)
{
    if (!job.selection) return false;
    if (RunModeIsClient()) return JobRequestRemote(ReqMaintenance, job.selection, ReportParamsVc::Size);
    RunWrites run(ReqMaintenance, 0, job.selection);
    if (run.refused) return true;
    OutputJobAttach attached(job);
    return RunMaintenance(job);
}
