// frame_proc.cpp - the frame's window procedure and its commands.
#include "shell/procedures.h"

#include "platform/mdi.h"
#include "shell/shell.h"

// Window procedure of the frame.
intptr_t MPFrameWndProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    return MdiDefFrameProc(win, MdiClientWindow, msg, wParam, lParam);
}
