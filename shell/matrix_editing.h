// matrix_editing.h - inserting, deleting and crossing out the rows of a
// record window's matrix, and the Edit commands on its rows.
#pragma once

// Inserts a row before row `row` of n's matrix.
void MatrixRowInsertCmd(int n, int row);
// Deletes row `row` of n's matrix, or crosses it out.
void MatrixRowDeleteCmd(int n, int row);
// Inserts a row of kind `kind` before row `row` of n's matrix.
void WinMatrixInsertRow(int n, int row, int kind);
// Runs Edit item 6 (delete the row), 7 (nothing in record windows) or 8 (select the row).
void MatrixRowCommand(int n, int item);
// Deletes the selected row of n (Edit 6 and Backspace).
void WindowDeleteCommand(int n);
