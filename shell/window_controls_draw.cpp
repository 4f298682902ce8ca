// window_controls_draw.cpp - drawing a record window's controls and the
// shortcut marks of its labels.
#include "shell/window_drawing.h"

// Draws n's controls, with their labels when asked; draws nothing here.
void WinDrawControls(int n, bool labels) {}

// Shows or hides the shortcut marks of n's fields; nothing here.
void WinDrawShortcuts(int n, bool show) {}
