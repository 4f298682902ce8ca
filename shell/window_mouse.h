// window_mouse.h - the mouse on a record window: clicks on fields and
// controls, the tracking of a press, dialog buttons, and the current list
// column.
#pragma once

#include <cstdint>

// A click at point (y high, x low) in n, single or double.
void WindowMouseClick(int n, int32_t point, bool shift, bool dbl);
// A notification of control `control` of n.
void WinControlNotify(int n, uint32_t control, int code);
// One move step of the press in progress.
void WinMouseTrack(int n, int32_t point);
// Ends the press in progress at point, running its action when inside.
void WinMouseRelease(int n, int32_t point);
// True while a press is in progress.
bool PressRunning();
// Runs push button `control` of n with its button code.
void DialogButton(int n, int control, int code, int flag);
// Makes `column` n's current list column.
void SetWindowStateWord(int n, int column);
