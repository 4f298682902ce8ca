// matrix_editing.h - inserting, deleting and crossing out the rows of a
// record window's matrix, and the Edit commands on its rows.
//
// The window's type is asked through WindowEvent with the 0-based row as
// an int16_t at the first argument: event 9 may a row be inserted there,
// 4 may it be deleted, 13 may a row that may not be deleted be crossed
// out instead; event 12 tells that a row was deleted or crossed out.
#pragma once

// Inserts an empty row (kind 1) at row `row` of n's matrix and selects it.
void MatrixRowInsertCmd(int n, int row);
// Deletes row `row` of n's matrix, or crosses it out when the type keeps it.
void MatrixRowDeleteCmd(int n, int row);
// Inserts an empty row of kind `kind` before row `row` of n's matrix.
void WinMatrixInsertRow(int n, int row, int kind);
// Runs Edit item 6 (delete the row), 7 (insert a row) or 8 (select the row).
void MatrixRowCommand(int n, int item);
// The row Edit > Insert row and Delete row work on (and the focused cell's column); -1 none.
int MatrixCurrentRowAt(int n, int *column);
// Whether n's type would take a row inserted at `row` now, asked quietly.
bool MatrixRowMayInsertQuietly(int n, int row);
// Whether Delete on `row` would delete or cross it out now, asked quietly.
bool MatrixRowMayDeleteQuietly(int n, int row);
// Deletes the row of n selected as a row (Edit 6, Backspace, Delete).
void WindowDeleteCommand(int n);
