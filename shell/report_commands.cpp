// report_commands.cpp - print, preview and print to file of a window, and
// the OK of report, export and maintenance windows.
//
// A report, export or maintenance run is specified in a window whose
// record has the layout of the job record (ReportParamsVc). Starting the
// run copies that record into a job of its own, sets the output device
// (word 0) and hands the job to the run. The report
// list (type 6) keeps the device in its own list record and runs its
// selected entry instead; the job queue (type 9) runs its queued jobs.
#include "shell/report_commands.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/output_kind.h"
#include "core/ui_text.h"
#include "core/window_kind.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "output/printer.h"
#include "shell/feature_commands.h"
#include "shell/field_editing.h"
#include "shell/menu_lists.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_events.h"
#include "shell/window_table.h"

namespace {

// Output devices of the job record's word 0.
constexpr uint16_t DevicePrinter = OutputCode(OutputKind::ToPrinter), DeviceFile = OutputCode(OutputKind::ToTextFile),
                   DevicePreview = OutputCode(OutputKind::ToPreview), DeviceJobQueue = OutputCode(OutputKind::ToJobQueue);
// Word 20 of the job record is cleared before a report runs from its window.
constexpr uint32_t RunWord20 = ReportParamsVc::ExportWord;

// Copies window n's record into job: the record's bytes, and the rest of
// the job record cleared so that no word of an earlier job rides along.
// False when n has no record.
bool CopyRecordToJob(int n, ReportJob &job)
{
    const uint8_t *record = WinRecordBuffer(n);
    if (!job.selection || !record) return false;
    uint32_t size = std::min(MemSize(WinTable[n]->recordHandle), ReportParamsSize);
    memcpy(job.selection, record, size);
    memset(job.selection + size, 0, ReportParamsSize - size);
    return true;
}

// Checks the selection of report window n on a copy of what its job
// record would be, so a refusal changes neither the window's record nor
// the job record. Refused: the check told why and the caret goes to the
// field at fault, when it names one.
bool ReportSelectionSound(int n)
{
    const uint8_t *record = WinRecordBuffer(n);
    if (!record) return false;
    std::vector<uint8_t> copy(ReportParamsSize, 0);
    uint32_t size = std::min(MemSize(WinTable[n]->recordHandle), ReportParamsSize);
    memcpy(copy.data(), record, size);
    if (ReportSelectionCheck(copy.data())) return true;
    if (FieldErrorPos.field != RecFocusNone && FieldErrorPos.field < size)
        WinGotoRecordField(n, FieldErrorPos.field, -1, 0);
    return false;
}

// Runs the report list's selected entry on `device` (its list record's
// word 0 tells the entry's window where the output goes).
void ReportListOnDevice(int n, uint16_t device)
{
    uint8_t *record = WinRecordBuffer(n);
    if (record && MemSize(WinTable[n]->recordHandle) >= MenuListRecord::Device + 2)
        PutU16(record, MenuListRecord::Device, device);
    ReportListRun(n);
}

// Runs the report window n specifies on `device`: the field under edit
// committed when asked, the record copied into the job record, the
// device set and the report run.
void RunFromWindow(int n, uint16_t device, bool commit)
{
    if (commit && WinTypedTextRefused(n)) return;
    if (commit) WinCommitField(n);
    OwnedJob own;
    if (!CopyRecordToJob(n, own.job)) return;
    PutU16(own.job.selection, ReportParamsVc::OutputKind, device);
    RunReportCommand(own.job);
}

// What CmdPrint prints of window n, on the printer.
void PrintWindow(int n)
{
    switch (WinKindOf(n)) {
    case KindCode(WindowKind::Preview): RunFromWindow(n, DevicePrinter, false); return;
    case KindCode(WindowKind::ReportSelection): RunFromWindow(n, DevicePrinter, true); return;
    default: break;
    }
    WindowEvent(n, WindowEventCode::Print, nullptr, nullptr);
}
}  // namespace

// Prints what window n shows: the report list runs its selected entry on
// the printer (its selection window asks for the printer on OK); the job
// queue runs its jobs, each as it was queued. Everything else prints as
// one print command, which asks the print dialog once, with the device
// of what it prints chosen, and prints on OK: a preview what it holds, a
// report window its report, any other window's type its record or list
// (event 8), so that a document and a report print the same way. The
// command holds a job on the printer while it runs: what prints without a
// run of its own (a document's form) prints from it.
void CmdPrint(int n)
{
    StateRefreshFlag = 1;
    if (!WinIsOpen(n)) return;
    OwnedJob own;
    PutU16(own.job.selection, ReportParamsVc::OutputKind, DevicePrinter);
    OutputJobAttach attached(own.job);
    if (WinTypeOf(n) == WinTypes::ReportList) {
        ReportListOnDevice(n, DevicePrinter);
        return;
    }
    if (WinTypeOf(n) == WinTypes::JobQueue) {
        JobQueueRun(n);
        return;
    }
    PrintCommandBegin();
    PrintWindow(n);
    PrintCommandEnd();
}

// Shows on the screen what window n specifies: the report list's
// selected entry, or a report window's report. Other windows have no
// preview.
void CmdPreview(int n)
{
    StateRefreshFlag = 1;
    if (!WinIsOpen(n)) return;
    if (WinTypeOf(n) == WinTypes::ReportList)
        ReportListOnDevice(n, DevicePreview);
    else if (WinKindOf(n) == KindCode(WindowKind::ReportSelection))
        RunFromWindow(n, DevicePreview, true);
}

// Prints what window n specifies to a file: the report list's selected
// entry, a preview's contents or a report window's report.
void CmdPrintToFile(int n)
{
    StateRefreshFlag = 1;
    if (!WinIsOpen(n)) return;
    if (WinTypeOf(n) == WinTypes::ReportList)
        ReportListOnDevice(n, DeviceFile);
    else if (WinKindOf(n) == KindCode(WindowKind::Preview))
        RunFromWindow(n, DeviceFile, false);
    else if (WinKindOf(n) == KindCode(WindowKind::ReportSelection))
        RunFromWindow(n, DeviceFile, true);
}

// The OK of a report window (kind 6). A window whose record's word 22 is
// set does not run (it waits for the parameters of the list that opens
// it). Otherwise its record becomes the job: on the job-queue device the
// type decides (event 28 gives 1) whether the job is queued here, or
// queues it itself (0); the window closes unless nothing was queued (2, or
// a queue that refused the job, which told the user why), when it stays
// open with the selection as typed; on any other device the window's placement is
// kept, the window closes, the bars are disabled while the report runs,
// and the report runs with word 20 cleared.
void ReportWindowOk(int n)
{
    if (!WinIsOpen(n)) return;
    StateRefreshFlag = 1;
    WinCommitField(n);
    const uint8_t *record = WinRecordBuffer(n);
    if (!record || MemSize(WinTable[n]->recordHandle) < ReportParamsVc::Reopened + 2) return;
    if (GetU16(record, ReportParamsVc::Reopened) != 0) return;
    if (!ReportSelectionSound(n)) return;   // the window stays open on the field at fault
    OwnedJob own;
    ReportJob &job = own.job;
    if (!CopyRecordToJob(n, job)) return;
    if (GetU16(job.selection, ReportParamsVc::OutputKind) == DeviceJobQueue) {
        uint8_t answer = WindowEvent(n, WindowEventCode::ReportOk, job.selection, nullptr);
        bool queued = answer == 0 || (answer == 1 && JobQueuePush(job.selection, 1));
        if (queued) WinClose(n);
        return;
    }
    WinPlacementSaveCommand(n);
    WinClose(n);
    ToolbarEnable(false);
    PutU16(job.selection, RunWord20, 0);
    RunReportCommand(job);
    StateRefreshFlag = 1;
}

// The OK of an export window (kind 7): its record becomes the job, the
// window closes, and the export (the job's word 3) runs once the job's
// dates and object lists pass their check.
void ExportWindowOk(int n)
{
    if (!WinIsOpen(n)) return;
    StateRefreshFlag = 1;
    WinCommitField(n);
    OwnedJob own;
    if (!CopyRecordToJob(n, own.job)) return;
    WinClose(n);
    if (ReportParamsCheck(own.job.selection))
        RunTextExport(own.job, GetU16(own.job.selection, ReportParamsVc::ReportNumber));
}

// The OK of a maintenance window (kind 10): its record becomes the job,
// the maintenance routine runs (at the server for a client), and the
// window closes.
void MaintenanceWindowOk(int n)
{
    if (!WinIsOpen(n)) return;
    StateRefreshFlag = 1;
    WinCommitField(n);
    OwnedJob own;
    if (!CopyRecordToJob(n, own.job)) return;
    RunMaintenanceCall(own.job);
    if (WinIsOpen(n)) WinClose(n);
}

// Button 1 of a report window runs it as OK does; other buttons are the
// window's own.
void ReportWindowRun(int n, int button)
{
    if (button == 1) ReportWindowOk(n);
}
