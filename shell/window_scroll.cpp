// window_scroll.cpp - a record window's scroll bars and the scrolling of
// its report, preview and designer panes.
#include "shell/window_drawing.h"

// Brings n's scroll bars up to its panes and matrix; nothing here.
void WinScrollBarsUpdate(int n) {}

// Scrolls a report or preview pane of n by pixels; nothing here.
void WinScrollContents(int n, int slot, int32_t top) {}

// Scrolls a designer pane of n by pixels and repaints it; nothing here.
void WinScrollPane(int n, int slot, int32_t top) {}
