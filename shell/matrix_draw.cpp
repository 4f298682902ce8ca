// matrix_draw.cpp - drawing a record window's matrix: its rows, grid and
// headings, scrolling it, and its selection bands.
#include "shell/window_drawing.h"

// Draws row `row` (1-based) of n's matrix on a screen row; draws nothing here.
void MatrixDrawRow(int n, int row, int screenRow, bool highlighted) {}

// Draws the grid of n's matrix; nothing here.
void MatrixDrawGrid(int n) {}

// Draws the column headings of n's matrix; nothing here.
void MatrixHeaderDraw(int n) {}

// Scrolls n's matrix so that row `top` is the first shown; nothing here.
void MatrixScrollTo(int n, int slot, int32_t top) {}

// Scrolls n's matrix so that row `row` is shown; nothing here.
void MatrixEnsureVisible(int n, int slot, int row) {}

// Selects the band of row `row` of matrix area `area`; nothing here.
void MatrixSelectBand(int n, int area, int row, int maximum) {}

// Inverts the band of a screen row of matrix area `area`; nothing here.
void MatrixBandInvert(int n, int area, int screenRow) {}

// A click on a screen row of matrix area `area`; nothing here.
void MatrixClickRow(int n, int area, int screenRow) {}
