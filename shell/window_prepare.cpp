// window_prepare.cpp - preparing a window after it opened, before its
// record loads.
#include "recordwin/record_windows.h"
#include "shell/draw_port.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"

namespace {
constexpr int EventPrepared = 22;
}

// Prepares n after it opened, with n's drawing port selected, and lets
// its type finish the preparation (event 22, which may also change
// FirstFieldNumber). Record and settings windows need nothing more; the
// lists, report and job windows fill themselves with their windows.
void WinPrepareAfterOpen(int n)
{
    if (!WinIsOpen(n)) return;
    int saved = 0;
    GetPortWindow(&saved);
    SetPortWindow(n);
    WindowEvent(n, EventPrepared, nullptr, nullptr);
    RestorePortWindow(saved);
}
