// window_mouse.cpp - the mouse on a record window's fields and controls,
// the buttons of dialog-like windows, and the reset of a window.
#include "shell/window_mouse.h"

#include "shell/login.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"

namespace {
constexpr int LoginType = 15, AboutType = 18, BusyType = 19;
constexpr int LoginCancelButton = 1;   // the login window's Cancel
}  // namespace

// A click at point (y high, x low) in n; not built yet: nothing.
void WindowMouseClick(int n, int32_t point, bool shift, bool dbl) {}

// A notification of control `control` of n; not built yet: nothing.
void WinControlNotify(int n, uint32_t control, int code) {}

// Runs push button `control` of n with its button code, by n's window
// type: the login window ends its loop (button 1 cancels it), the About
// window closes, the busy message closes as a record window does. The
// other types' buttons are not built yet: nothing.
void DialogButton(int n, int control, int code, int flag)
{
    if (!WinIsOpen(n)) return;
    switch (WinTypeOf(n)) {
    case LoginType: LoginWindowDone(control == LoginCancelButton); break;
    case AboutType: WinClose(n); break;
    case BusyType: (void)CloseRecordWindow(n); break;
    default: break;
    }
}

// The slot of n's control with a platform handle; not built yet: 65535 (none).
int WindowControlLookup(int n, uint32_t control) { return 65535; }

// Puts n back to its type's default rectangle; not built yet: nothing.
void WindowReset(int n) {}
