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

// Draws a picture block in a running job; without a picture run the job stops.
bool RepPicture(MemBlock dib, const uint8_t *rectBlock, int mode)
{
    if (OutputRunServices.repPicture) return OutputRunServices.repPicture(dib, rectBlock, mode);
    return StopRun();
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

// Writes to the export stream; with none the running export stops.
void StreamWrite(const uint8_t *bytes, uint32_t n)
{
    if (OutputRunServices.streamWrite)
        OutputRunServices.streamWrite(bytes, n);
    else
        StopRun();
}

// The report writer's text at the current line; with none the run stops.
void RepText(int x, int font, const uint8_t *text, int align)
{
    if (OutputRunServices.repText)
        OutputRunServices.repText(x, font, text, align);
    else
        StopRun();
}

// The report writer's value at the current line; with none the run stops.
void RepValue(int x, int width, const uint8_t *value, int type, int align)
{
    if (OutputRunServices.repValue)
        OutputRunServices.repValue(x, width, value, type, align);
    else
        StopRun();
}

// The report writer's line feed; with none the run stops.
void RepLineFeed()
{
    if (OutputRunServices.repLineFeed)
        OutputRunServices.repLineFeed();
    else
        StopRun();
}

// A size on the device; unscaled when no device scales.
int32_t DeviceScaleSize(int32_t x)
{
    return OutputRunServices.deviceScaleSize ? OutputRunServices.deviceScaleSize(x) : x;
}

// The page header's lines; none when no header is installed.
void RepPrintPageHeader()
{
    if (OutputRunServices.repPrintPageHeader) OutputRunServices.repPrintPageHeader();
}

// Moves the current line down n points, through the installed advance
// when there is one (it may start a new page).
void RepAdvance(int32_t n)
{
    if (OutputRunServices.repAdvance)
        OutputRunServices.repAdvance(n);
    else
        OutputJobState.linePos += n;
}
