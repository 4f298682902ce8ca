// output_windows.h - what the output layer asks of the windows above it:
// the busy message, the Esc poll, the status line and toolbar, the export
// file dialog, the open window a device writes into, the job-queue window
// and the session that takes a server's output.
//
// The output layer runs on a server and in tests without any window, so
// it never calls the window layer itself: the ui layer fills OutputWindows
// at start-up (OutputWindowsInstall, outputwin/output_windows_install.cpp)
// and the output code calls the wrappers below. Until an entry is
// installed its wrapper does what a program without windows must do: a
// display-only entry does nothing, an entry whose caller needs an answer
// tells the user (text FunctionNotYet) where the user asked for it and
// gives the caller a failure, never a success.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/definitions.h"
#include "core/memblock.h"
#include "platform/dialog.h"
#include "platform/draw.h"

struct OutputWindowsRec {
    void (*busyShow)(const uint8_t *text);                  // the busy message (a PString)
    void (*busyClose)();
    void (*pollStop)();                                     // Esc poll: sets UserCancelFlag
    void (*jobFlagReset)();                                 // a received job has ended
    void (*toolbarEnable)(bool on);
    void (*statusLineSet)(std::string_view text);
    std::string (*statusLineText)();
    void (*importStatusText)(const uint8_t *text);          // the import window's status (a PString)
    bool (*exportFileDialog)(uint8_t *path, uint16_t *word);  // false on cancel
    // The record of open window n when its type is `type`, its byte size
    // in *size; null when n is no open window of that type.
    uint8_t *(*windowRecord)(int n, int type, uint32_t *size);
    uint32_t (*windowListBox)(int n);                       // n's list box, 0 none
    bool (*windowClientRect)(int n, MacRect *out);          // false when n is not open
    void (*windowMarkChanged)(int n);                       // repaint n in the main loop
    DrawContext *(*portContext)();                          // the current drawing port, null none
    uint32_t (*dialogOwner)();                              // the window that owns the print dialog
    void (*pageSetupLoad)(int windowType, int orderFlag, MemBlock *handle);
    void (*jobQueueShown)();                                // relist the open queue window
    void (*jobQueueList)(int window);
    bool (*sessionSelectByName)(const uint8_t *name);
    int16_t (*sessionOrderFlag)();
};
extern OutputWindowsRec OutputWindows;

// ---- output_windows.cpp: the wrappers ----
void OutBusyShow(const uint8_t *text);
void OutBusyClose();
void OutPollStop();
void OutJobFlagReset();
void OutToolbarEnable(bool on);
void OutStatusLineSet(std::string_view text);
// Empty without a status line.
std::string OutStatusLineText();
void OutImportStatusText(const uint8_t *text);
// Asks for the file an export writes; without a dialog the user is told
// and the answer is a cancel (false).
bool OutExportFileDialog(uint8_t *path, uint16_t *word);
// Null (no such window) without a window layer.
uint8_t *OutWindowRecord(int n, int type, uint32_t *size);
uint32_t OutWindowListBox(int n);
bool OutWindowClientRect(int n, MacRect *out);
void OutWindowMarkChanged(int n);
DrawContext *OutPortContext();
uint32_t OutDialogOwner();
// The stored page set-up of the current user for a window type into
// *handle (freed first); null, the printer's defaults, without one.
void OutPageSetupLoad(int windowType, int orderFlag, MemBlock *handle);
void OutJobQueueShown();
void OutJobQueueList(int window);
// False (the output stays with the client that asked) without a network.
bool OutSessionSelectByName(const uint8_t *name);
// The program's own flag for local output; -1 for a server's output
// when no session takes it.
int16_t OutSessionOrderFlag();
