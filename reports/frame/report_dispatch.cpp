// report_dispatch.cpp - the report run: a job record's number turned into
// the body that prints it, and the Esc poll every report walk makes.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/format_block.h"
#include "core/memblock.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "operations/run_outcome.h"
#include "output/devices/report_output.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "shell/net_services.h"
#include "shell/page_setup.h"
#include "shell/toolbar.h"
#include "shell/window_utils.h"

MemBlock PageSetupHandle = 0;

namespace {

// Loads the printer's page set-up of the report. The shell keeps a
// report's set-up under its selection window's type, so that is the key;
// a job record without one falls back to the report number. At a server
// the client's order flag is used and the set-up goes to the client;
// here a copy goes where the next print job takes it.
void LoadReportPageSetup(int number, const ReportJob &job)
{
    int windowType = int16_t(GetU16(job.selection, ReportParamsVc::SelWinType));
    if (windowType == 0) windowType = number;
    MemFree(&PageSetupHandle);
    if (RemoteOutput) {
        PageSetupLoad(windowType, SessionOrderFlag(), &PageSetupHandle);
        if (PageSetupHandle) RepSendHandle(PageSetupHandle);
        return;
    }
    PageSetupLoad(windowType, PageSetupDialogFlag, &PageSetupHandle);
    if (!PageSetupHandle) return;
    MemBlock copy = 0;
    CopyGlobalToMem(&PageSetupHandle, &copy);
    if (!copy) return;
    MemFree(&ReceivedPageSetup);
    ReceivedPageSetup = copy;
}

// Runs the body of a report number's row over job; a number without a
// body runs nothing, and report 9 without a body for the chosen layout
// tells the user it is not available.
void DispatchReport(int number, ReportJob &job)
{
    const ReportRowRec *row = ReportRow(number);
    if (!row) return;
    switch (row->kind) {
    case ReportRowKind::Body:
        RunRowBody(*row, job);
        return;
    case ReportRowKind::ByLayout: {
        ReportBody body = GetU16(job.selection, ReportParamsVc::ReportLayout) == 0 ? row->body : row->bodyAlt;
        if (!body) {
            ShowTextMessage(Texts::FunctionNotYet);
            return;
        }
        OutputJobAttach attached(job);
        body(job);
        return;
    }
    case ReportRowKind::None:
        return;
    }
}

}  // namespace

// Runs the report job names, the job attached to the output: amounts
// grouped on the devices a person reads, Esc cleared, the selection
// checked (a refusal was told and runs nothing), the printer's page
// set-up loaded, then the body.
void RunReport(ReportJob &job)
{
    assert(job.selection);
    OutputJobAttach attached(job);
    int number = int16_t(GetU16(job.selection, ReportParamsVc::ReportNumber));
    uint16_t kind = GetU16(job.selection, ReportParamsVc::OutputKind);
    ThousandsFlag = (kind == OutPrinter || kind == OutPreview || kind == OutCharPrinter) ? 1 : 0;
    CancelFlag = 0;
    if (!CheckReportParameters(job.selection)) {
        ThousandsFlag = 0;
        return;
    }
    if (kind == OutPrinter) LoadReportPageSetup(number, job);
    // The last run's line ("Printed to ...") is not this run's: a report
    // that prints to the screen, or tells why it printed nothing, would
    // leave it standing as if it were.
    if (!RemoteOutput) StatusLineSet("");
    DispatchReport(number, job);
    ThousandsFlag = 0;
}

bool RunRowBody(const ReportRowRec &row, ReportJob &job)
{
    OutputJobAttach attached(job);
    if (row.body) row.body(job);
    else if (row.bodyArg) row.bodyArg(job, row.arg);
    else return false;
    return true;
}

// The reason is a sentence a user reads in a message box, so it ends
// with a full stop (the runs' closing lines, which may go on with counts
// and "stopped by Esc", end without one).
void ReportPrintsNothing(int why)
{
    RunOutcome run;
    RunStart(&run, 0);
    RunNothing(&run, why, Texts::RunNothingToPrint);
    RunProgressEnd(&run);
    RunTellLine(RunOutcomeLine(run, 0) + ".", true, RunOutcomeOf(run));
}
