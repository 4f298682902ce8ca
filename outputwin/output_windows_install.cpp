// output_windows_install.cpp - gives the output layer the windows it
// draws into and the shell services it shows its progress with.
#include "outputwin/output_windows_install.h"

#include "output/devices/device_table.h"
#include "output/job_queue.h"
#include "output/output_windows.h"
#include "shell/company.h"
#include "shell/draw_port.h"
#include "shell/field_editing.h"
#include "shell/menus.h"
#include "shell/net_services.h"
#include "shell/page_setup.h"
#include "shell/shell.h"
#include "shell/text_file_dialogs.h"
#include "shell/toolbar.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

uint8_t *WindowRecord(int n, int type, uint32_t *size)
{
    if (!WinIsOpen(n) || WinTypeOf(n) != type || !WinRecordBuffer(n)) return nullptr;
    *size = MemSize(WinTable[n]->recordHandle);
    return WinRecordBuffer(n);
}

uint32_t WindowListBox(int n) { return WinIsOpen(n) ? WinListBox(n) : 0; }

bool WindowClientRectOf(int n, MacRect *out)
{
    if (!WinIsOpen(n)) return false;
    WindowClientRect(n, out);
    return true;
}

// The job's preview may have been closed while its job ran.
void MarkChanged(int n)
{
    if (WinIsOpen(n)) WinMarkChanged(n);
}

DrawContext *PortContext() { return PortState.dc; }

uint32_t DialogOwner() { return MdiClientWindow; }

}  // namespace

void OutputWindowEntriesInstall()
{
    OutputWindows = OutputWindowsRec{
        .busyShow = ShowBusyMessage,
        .busyClose = CloseBusyMessage,
        .pollStop = PollStop,
        .jobFlagReset = ResetJobFlag,
        .toolbarEnable = ToolbarEnable,
        .statusLineSet = StatusLineSet,
        .statusLineText = StatusLineText,
        .importStatusText = ImportStatusText,
        .exportFileDialog = SaveExportFileDialog,
        .windowRecord = WindowRecord,
        .windowListBox = WindowListBox,
        .windowClientRect = WindowClientRectOf,
        .windowMarkChanged = MarkChanged,
        .portContext = PortContext,
        .dialogOwner = DialogOwner,
        .pageSetupLoad = PageSetupLoad,
        .jobQueueShown = JobQueueShown,
        .jobQueueList = RepJobQueueList,
        .sessionSelectByName = SessionSelectByName,
        .sessionOrderFlag = SessionOrderFlag,
    };
    RepDeviceInstall(OutPreview, &PreviewDevice);
}

void OutputWindowsInstall()
{
    OutputWindowEntriesInstall();
    JobQueueWindowInstall();
    RunOutcomeUiInstall();
}
