// window_rows.cpp - where a screen field of a record window lies: a
// header field by its record byte, a row cell by row, column and byte.
#include "recordwin/window_rows.h"

#include "shell/window_table.h"

// Screen field F of an open window: a field before the matrix's first
// item (or any field of a window without a matrix) is a header field;
// the others are cells.
FieldPlace WinFieldPlace(int window, int F)
{
    FieldPlace p;
    if (!WinIsOpen(window)) return p;
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    if (!WinHasMatrix(window) || first == 0 || cells == 0 || F < first) {
        p.id = WinFieldIdAt(window, F);
        return p;
    }
    MatrixRowAt(window, F, &p.row, &p.column);
    p.cell = WinFieldIdAtCell(window, F);
    return p;
}
