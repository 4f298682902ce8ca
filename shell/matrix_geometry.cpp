// matrix_geometry.cpp - where a record window's matrix stands: its
// screen fields, rows and columns, cells and their rectangles, and its
// selection.
#include "shell/window_layout.h"

// The first screen field of n's matrix and its cells per row; both 0 here.
void MatrixGeometry(int n, int *first, int *cells)
{
    *first = 0;
    *cells = 0;
}

// The 0-based row and column of screen field F of n's matrix; both 0 here.
void MatrixRowAt(int n, int F, int *row, int *column)
{
    *row = 0;
    *column = 0;
}

// The row size and row-kind offset of matrix area `area` of n; both 0 here.
void MatrixColumnInfo(int n, int area, int *rowSize, int *kindOffset)
{
    *rowSize = 0;
    *kindOffset = 0;
}

// The row-attribute offset of matrix area `area` of n; 0 here.
int MatrixColumnInfo2(int n, int area) { return 0; }

// The most rows n's matrix may hold; 0 here.
int MatrixMaxRows(int n) { return 0; }

// The rows handle of n's record; 0 here.
MemBlock WinMatrixRows(int n) { return 0; }

// The row count of n's matrix; 0 here.
int WinMatrixRowCount(int n) { return 0; }

// The kind of row `row` of n's matrix; 0 here.
int MatrixRowKind(int n, int row) { return 0; }

// The attribute of row `row` of n's matrix; 0 here.
int MatrixRowAttr(int n, int row) { return 0; }

// The cells of a row of kind `kind` on the shown column page; 0 here.
int MatrixCellCount(int n, int kind) { return 0; }

// The c-th column of kind `kind` on the shown column page; null here.
const uint8_t *MatrixColumnAt(int n, int kind, int c) { return nullptr; }

// The rectangle of a cell on a screen row; false here.
bool MatrixCellRect(int n, int kind, MacRect *out, int screenRow, int cell)
{
    *out = MacRect{};
    return false;
}

// The text rectangle of a cell of a row; false here.
bool MatrixCellTextRect(int n, int kind, MacRect *out, int row, int cell)
{
    *out = MacRect{};
    return false;
}

// The control slot of n's matrix; -1 here.
int MatrixSlotOf(int n) { return -1; }

// True when n's type has a matrix; false here.
bool WinHasMatrix(int n) { return false; }

// True when a matrix row of n is selected; false here.
bool MatrixHasSelection(int n) { return false; }

// True when n's current field is at or after its matrix's first field; false here.
bool MatrixAtEnd(int n) { return false; }
