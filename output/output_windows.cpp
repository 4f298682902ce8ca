// output_windows.cpp - the wrappers through which the output layer
// reaches the windows: each calls the installed entry or, without one,
// does what a program without windows must (output_windows.h).
#include "output/output_windows.h"

#include "core/file_form.h"
#include "core/ui_text.h"
#include "output/devices/report_output.h"

OutputWindowsRec OutputWindows;

void OutBusyShow(const uint8_t *text)
{
    if (OutputWindows.busyShow) OutputWindows.busyShow(text);
}

void OutBusyClose()
{
    if (OutputWindows.busyClose) OutputWindows.busyClose();
}

void OutPollStop()
{
    if (OutputWindows.pollStop) OutputWindows.pollStop();
}

void OutJobFlagReset()
{
    if (OutputWindows.jobFlagReset) OutputWindows.jobFlagReset();
}

void OutToolbarEnable(bool on)
{
    if (OutputWindows.toolbarEnable) OutputWindows.toolbarEnable(on);
}

void OutStatusLineSet(std::string_view text)
{
    if (OutputWindows.statusLineSet) OutputWindows.statusLineSet(text);
}

std::string OutStatusLineText() { return OutputWindows.statusLineText ? OutputWindows.statusLineText() : std::string(); }

void OutImportStatusText(const uint8_t *text)
{
    if (OutputWindows.importStatusText) OutputWindows.importStatusText(text);
}

// The user asked for a file: without a dialog to ask with, the user is
// told, and the export goes nowhere rather than to a file nobody chose.
bool OutExportFileDialog(uint8_t *path, uint16_t *word)
{
    return ServiceInstalled(OutputWindows.exportFileDialog != nullptr) &&
           OutputWindows.exportFileDialog(path, word);
}

uint8_t *OutWindowRecord(int n, int type, uint32_t *size)
{
    *size = 0;
    return OutputWindows.windowRecord ? OutputWindows.windowRecord(n, type, size) : nullptr;
}

uint32_t OutWindowListBox(int n) { return OutputWindows.windowListBox ? OutputWindows.windowListBox(n) : 0; }

bool OutWindowClientRect(int n, MacRect *out)
{
    return OutputWindows.windowClientRect && OutputWindows.windowClientRect(n, out);
}

void OutWindowMarkChanged(int n)
{
    if (OutputWindows.windowMarkChanged) OutputWindows.windowMarkChanged(n);
}

DrawContext *OutPortContext() { return OutputWindows.portContext ? OutputWindows.portContext() : nullptr; }

uint32_t OutDialogOwner() { return OutputWindows.dialogOwner ? OutputWindows.dialogOwner() : 0; }

void OutPageSetupLoad(int windowType, int orderFlag, MemBlock *handle)
{
    if (OutputWindows.pageSetupLoad) {
        OutputWindows.pageSetupLoad(windowType, orderFlag, handle);
        return;
    }
    MemFree(handle);
}

void OutJobQueueShown()
{
    if (OutputWindows.jobQueueShown) OutputWindows.jobQueueShown();
}

void OutJobQueueList(int window)
{
    if (OutputWindows.jobQueueList) OutputWindows.jobQueueList(window);
}

bool OutSessionSelectByName(const uint8_t *name)
{
    return OutputWindows.sessionSelectByName && OutputWindows.sessionSelectByName(name);
}

int16_t OutSessionOrderFlag()
{
    if (OutputWindows.sessionOrderFlag) return OutputWindows.sessionOrderFlag();
    return RemoteOutput ? int16_t(-1) : int16_t(ByteOrder.program);
}
