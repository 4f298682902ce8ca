// window_drawing.h - painting a record window: its frame and contents
// passes, the matrix and its rows, scroll bars and panes, the drawn
// controls and their shortcut marks, and the 3-D elements, buttons and
// tabs they are drawn with.
#pragma once

#include <cstdint>

#include "core/definitions.h"

// ---- window_paint.cpp ----
// Paints n's background and frame.
void WinPaintFrame(int n);
// Paints n's fields, texts, lists and matrix.
void WinPaintContents(int n);
// Draws the module buttons of n, clearing their strip first when asked.
void WinDrawModuleButtons(int n, bool clear);

// ---- logo_draw.cpp ----
// Draws the program's logo in window n (the About window).
void DrawLogoBitmap(int n);

// ---- matrix_draw.cpp ----
// Draws row `row` (1-based) of n's matrix on screen row `screenRow`.
void MatrixDrawRow(int n, int row, int screenRow, bool highlighted);
// Draws the grid of n's matrix.
void MatrixDrawGrid(int n);
// Draws the column headings of n's matrix.
void MatrixHeaderDraw(int n);
// Scrolls n's matrix so that row `top` is the first shown.
void MatrixScrollTo(int n, int slot, int32_t top);
// Scrolls n's matrix so that row `row` is shown.
void MatrixEnsureVisible(int n, int slot, int row);
// Selects the band of row `row` of matrix area `area`.
void MatrixSelectBand(int n, int area, int row, int maximum);
// Inverts the band of a screen row of matrix area `area`.
void MatrixBandInvert(int n, int area, int screenRow);
// A click on a screen row of matrix area `area`.
void MatrixClickRow(int n, int area, int screenRow);

// ---- window_scroll.cpp ----
// Brings n's scroll bars up to its panes and matrix.
void WinScrollBarsUpdate(int n);
// Scrolls a designer pane of n by pixels and repaints it.
void WinScrollPane(int n, int slot, int32_t top);

// ---- draw_3d.cpp ----
// Draws a raised 3-D box with a title.
void DrawBox3D(const MacRect *r, const uint8_t *title);
// Draws a sunken 3-D frame around r.
void FrameSunken3D(const MacRect *r);
// Draws a push button of n, default or pressed as asked.
void PushButtonDraw(int n, const MacRect *r, const uint8_t *text, bool isDefault, bool pressed);
// Draws a page tab of n for page `page`.
void PageTabDraw(int n, const MacRect *r, const uint8_t *text, bool isDefault, bool pressed, int page);
// Draws a matrix-column tab of n for column page `number`.
void SecondTabDraw(int n, const MacRect *r, const uint8_t *text, bool isDefault, bool pressed, int number);
// Highlights the button of n bound to a record offset, or clears it.
void ButtonHighlight(int n, uint32_t fieldOffset, bool on);
// The x of the record arrows in the top bar.
int RecordArrowX();

// ---- window_controls_draw.cpp ----
// Draws n's controls, with their labels when asked.
void WinDrawControls(int n, bool labels);
// Shows or hides the shortcut marks of n's fields.
void WinDrawShortcuts(int n, bool show);
