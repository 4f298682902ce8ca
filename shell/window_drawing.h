// window_drawing.h - drawing a record window and its controls, pages,
// the mouse on its fields, and scrolling its panes.
#pragma once

#include <cstdint>

// ---- window_drawing.cpp ----
// Paints n's background and frame.
void WinPaintFrame(int n);
// Paints n's fields, texts, lists and matrix.
void WinPaintContents(int n);
// Shows or hides the shortcut marks of n's fields.
void WinDrawShortcuts(int n, bool show);
// Brings n's scroll bars up to its panes.
void WinScrollBarsUpdate(int n);
// Shows page p of n (0 stands for 1) and focuses its field.
void WinChoosePage(int n, int page);
// Shows page p of n, redrawing when asked.
void WinShowPage(int n, int page, bool redraw);
// Creates n's scroll-bar controls.
void WinControlsCreate(int n);
// Opens the edit control over a binding's field in a record or row.
void EditControlOpenForBinding(int n, const uint8_t *binding, uint32_t recordHandle, int row);
// Draws n's controls, with their labels when asked.
void WinDrawControls(int n, bool labels);
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
// Asks n's type whether control `index` may change; true when it may.
bool WindowFieldChanged(int n, int index);
// Shows a page of n with the focus moved into it.
void WinPageSwitchFocus(int n, int page);
// Makes `column` n's current list column.
void SetWindowStateWord(int n, int column);
// True when n's type has a matrix.
bool WinHasMatrix(int n);
// True when a matrix row of n is selected.
bool MatrixHasSelection(int n);
// True when n's current matrix row is the last.
bool MatrixAtEnd(int n);
// Scrolls n's matrix so that row top is the first shown.
void MatrixScrollTo(int n, int slot, int32_t top);
// Scrolls a report or preview pane of n by pixels.
void WinScrollContents(int n, int slot, int32_t top);
// Scrolls a designer pane of n by pixels and repaints it.
void WinScrollPane(int n, int slot, int32_t top);
