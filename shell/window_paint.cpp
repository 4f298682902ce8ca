// window_paint.cpp - the two paint passes of a record window: the frame
// pass (background, page strip, texts, labels, boxes and icons) and the
// contents pass (fields, lists and matrix), and the module buttons.
#include "shell/window_drawing.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

// Paints n's background and frame: the client area erased white.
void WinPaintFrame(int n)
{
    MacRect client;
    WindowClientRect(n, &client);
    WinPaint(n, &client);
}

// Paints n's fields, texts, lists and matrix; paints nothing here.
void WinPaintContents(int n) {}

// Draws the module buttons of n; draws nothing here.
void WinDrawModuleButtons(int n, bool clear) {}
