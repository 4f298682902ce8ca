// matrix_rows.cpp - the rows of a record window's matrix: resizing,
// deleting, trimming empty rows and clearing rows.
#include "shell/window_layout.h"

// Sets n's matrix to `rows` rows; false here (nothing is resized).
bool MatrixResize(int n, int rows) { return false; }

// Removes row `row` of n's matrix; removes nothing here.
void MatrixDeleteRow(int n, int row) {}

// Removes n's empty rows; 0 here (nothing removed).
int MatrixTrimEmptyRows(int n) { return 0; }

// Clears rows from..to of n's matrix as rows of kind `kind`; clears nothing here.
void MatrixRowsClear(int n, int kind, int from, int to) {}
