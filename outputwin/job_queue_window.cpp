// job_queue_window.cpp - the window of saved output jobs (type 9): its
// list of the jobs' titles and its buttons Run, Delete and Open.
//
// Row r of the list stands for the r-th live job of the ring, counted as
// JobQueueLiveSlot counts them, so a deleted job never shifts the rows
// of the others. Its push buttons come here by their commands; its OK
// (Return or a double click on a row) is a handler of its type, which
// opens the selected job.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/list_slot.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "platform/control.h"
#include "platform/window.h"
#include "recordwin/record_windows.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/menu_lists.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// The list slots of the interface file's menu tables that name runs.
// The commands of the window's push buttons.
constexpr uint16_t CommandRun = 1, CommandDelete = 2, CommandOpen = 3;
// The word before the run number of a job its run's tables do not name.
constexpr int TextJobUnnamed = 11711;

// The title text number of run `number` from a five-word menu table; 0
// when the table does not list it.
int TitleIn(int slot, uint16_t number)
{
    for (int i = 0, count = ListTableCount(slot); i < count; i++) {
        const uint8_t *e = ListTableEntry(slot, i);
        if (e && DefU16(e + MenuTableEntry::Number) == number) return DefU16(e + MenuTableEntry::Text);
    }
    return 0;
}

// The title of a saved job: its run's text from the document runs, else
// from the reports; a run neither lists is named by its number.
void JobTitle(const uint8_t *job, uint8_t *title)
{
    uint16_t number = GetU16(job, ReportParamsVc::ReportNumber);
    int text = TitleIn(SlotCode(ListSlot::Documents), number);
    if (text == 0) text = TitleIn(SlotCode(ListSlot::Reports), number);
    if (text != 0) {
        GetUiText(title, text);
        return;
    }
    GetUiText(title, TextJobUnnamed);
    char digits[16];
    int n = std::snprintf(digits, sizeof digits, " %d", int(int16_t(number)));
    for (int i = 0; i < n && title[0] < 255; i++) title[++title[0]] = uint8_t(digits[i]);
}

// The slot of the job selected in window n's list; -1 none.
int SelectedSlot(int n)
{
    if (!WinIsOpen(n) || WinListBox(n) == 0) return -1;
    return JobQueueLiveSlot(ListSelectedIndex(n));
}

// The rules of the job-queue window: its OK (event 11) opens the
// selected job and goes no further.
uint8_t JobQueueWindowEvent(int window, int event, void *, void *)
{
    if (WindowEventCode(event) != WindowEventCode::Ok) return 1;
    RepJobQueueOpen(window);
    return 0;
}

}  // namespace

// Fills the list of queue window n with the titles of the live jobs,
// oldest first, and gives the list the focus (or, behind another window,
// selects its first row). Nothing for a window without a list.
void RepJobQueueList(int n)
{
    if (!WinIsOpen(n) || WinListBox(n) == 0) return;
    ListBoxReset(n);
    for (int k = 0, s; (s = JobQueueLiveSlot(k)) >= 0; k++) {
        const uint8_t *job = MemLock(JobQueue.slots[size_t(s)]);
        if (!job) continue;
        PString title;
        JobTitle(job, title);
        MemUnlock(JobQueue.slots[size_t(s)]);
        ListBoxAddString(n, title);
    }
    if (CurrentWindow == n)
        FocusField(n);
    else
        ListBoxSetCurSel(WinListBox(n), 0);
}

// Relists the queue window when one is open (a job was saved).
void JobQueueShown()
{
    int n = WinFindByDef(WinTypes::JobQueue);
    if (n) RepJobQueueList(n);
}

// Deletes the job selected in window n: it stays in its slot with run
// number 65535 until it is popped, and the list is rebuilt. Nothing when
// no job is selected.
void RepJobQueueDelete(int n)
{
    int s = SelectedSlot(n);
    if (s < 0) return;
    uint8_t *job = MemLock(JobQueue.slots[size_t(s)]);
    if (!job) return;
    PutU16(job, ReportParamsVc::ReportNumber, JobDeleted);
    MemUnlock(JobQueue.slots[size_t(s)]);
    RepJobQueueList(n);
}

// Opens the job selected in window n in a new window of its selection
// type, with the saved record and word 22 set, so that the window's OK
// neither runs nor saves the job again. A job saved without a selection
// window (word 21 is 0) beeps; so does an empty selection.
void RepJobQueueOpen(int n)
{
    int s = SelectedSlot(n);
    const uint8_t *job = s < 0 ? nullptr : MemLock(JobQueue.slots[size_t(s)]);
    uint16_t type = job ? GetU16(job, ReportParamsVc::SelWinType) : 0;
    if (job) MemUnlock(JobQueue.slots[size_t(s)]);
    if (type == 0) {
        Beep();
        return;
    }
    int m = OpenOrActivateWindow(type, 0, 0, true, 0);
    if (!m) return;
    // The first field took the focus with the empty record: its edit goes
    // uncommitted, and the field is focused again on the saved record.
    EditControlDestroy(m);
    uint8_t *record = WinRecordBuffer(m);
    job = MemLock(JobQueue.slots[size_t(s)]);
    if (record && job) {
        uint32_t size = std::min(MemSize(WinTable[m]->recordHandle), ReportParamsSize);
        std::memcpy(record, job, size);
        if (size >= ReportParamsVc::Reopened + 2) PutU16(record, ReportParamsVc::Reopened, 1);
    }
    if (job) MemUnlock(JobQueue.slots[size_t(s)]);
    WinRecordRefresh(m);
    if (WinDefCount(m, WinPartDataFields) > 0) WinGotoField(m, 1, true);
}

// The push button with command `command` of queue window n: Run, Delete
// or Open; other commands do nothing.
void RepJobQueueButton(int n, int command)
{
    switch (command) {
    case CommandRun: JobQueueRun(n); return;
    case CommandDelete: RepJobQueueDelete(n); return;
    case CommandOpen: RepJobQueueOpen(n); return;
    default: return;
    }
}

// Gives the job-queue window its rules.
void JobQueueWindowInstall() { WindowEventHandlerSet(WinTypes::JobQueue, JobQueueWindowEvent); }
