// child_proc.cpp - the MDI children's window procedure, the window
// number of a child, and pane scrolling.
#include "shell/procedures.h"

#include "platform/mdi.h"

// Window procedure of every record window's MDI child.
intptr_t MPMDIChildWndProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    return MdiDefChildProc(win, msg, wParam, lParam);
}

// The window number whose MDI child this is; 0 when none.
int WindowNumberOf(uint32_t child) { return 0; }

// Moves the pane of scroll bar `bar` of window n by a scroll code.
void ScrollPane(int n, uint32_t bar, int code, int position) {}
