// toolbar_proc.cpp - the bars' window procedure: mouse, size and the
// push buttons' commands.
#include "shell/toolbar.h"

#include "platform/window.h"

// Window procedure of both bars.
intptr_t MPToolWndProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    return WinDefProc(win, msg, wParam, lParam);
}
