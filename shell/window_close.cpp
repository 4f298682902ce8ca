// window_close.cpp - closing record windows: one window, the question
// about its changes, every window, and the quit.
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"

// Closes window n unless it is none, a report window (kind 5) or holds a
// record being entered or changed; true when closed.
bool CloseRecordWindow(int n)
{
    if (!WinIsOpen(n) || WinKindOf(n) == 5) return false;
    int state = WinRecState(n);
    if (state == 1 || state == 2) return false;
    WinClose(n);
    StateRefreshFlag = 1;
    return true;
}

// Asks whether n's changes are stored before n closes; false here (n stays).
bool WinAskStoreChanges(int n) { return false; }

// Closes every window; false here (none is closed).
bool CloseAllWindows(int force) { return false; }

// Runs the quit the user asked for; false here (the program goes on).
bool QuitConfirm() { return false; }
