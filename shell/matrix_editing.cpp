// matrix_editing.cpp - inserting, deleting and crossing out matrix rows
// of a record window, and the Edit commands on its rows.
#include "shell/matrix_editing.h"

// Inserts a row before row `row` of n's matrix; inserts none here.
void MatrixRowInsertCmd(int n, int row) {}

// Deletes row `row` of n's matrix or crosses it out; nothing here.
void MatrixRowDeleteCmd(int n, int row) {}

// Inserts a row of kind `kind` before row `row` of n's matrix; inserts none here.
void WinMatrixInsertRow(int n, int row, int kind) {}

// Runs Edit item 6, 7 or 8 on n's matrix rows; nothing here.
void MatrixRowCommand(int n, int item) {}

// Deletes the selected row of n; nothing here.
void WindowDeleteCommand(int n) {}
