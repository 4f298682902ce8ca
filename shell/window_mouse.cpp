// window_mouse.cpp - the mouse on a record window's fields and controls.
// Record windows are worked by keyboard and the bars; a click on a field
// or control does nothing.
#include "shell/window_mouse.h"

// A click at point (y high, x low) in n, single or double; nothing.
void WindowMouseClick(int n, int32_t point, bool shift, bool dbl) {}

// A notification of control `control` of n; nothing.
void WinControlNotify(int n, uint32_t control, int code) {}

// One move step of the press in progress; nothing.
void WinMouseTrack(int n, int32_t point) {}

// Ends the press in progress at point; nothing.
void WinMouseRelease(int n, int32_t point) {}

// True while a press is in progress; never, as no press starts.
bool PressRunning() { return false; }

// Runs push button `control` of n with its button code; nothing.
void DialogButton(int n, int control, int code, int flag) {}

// Makes `column` n's current list column; nothing.
void SetWindowStateWord(int n, int column) {}
