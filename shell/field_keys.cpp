// field_keys.cpp - the keys a record window takes as control characters:
// Tab, Return, the choose key, the Ctrl commands and the row keys.
#include "outputwin/designer.h"
#include "core/window_kind.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/matrix_editing.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// The arrow characters 28 left, 29 right, 30 up and 31 down as the
// designer's key numbers.
constexpr int DesignerArrowKeys[4] = {37, 39, 38, 40};

// True when n's matrix holds a row selected as a row (its number
// clicked, Edit > Select row): the row keys work on that row. The row of
// a focused cell is not selected so; its keys are the cell's.
bool RowSelected(int n) { return MatrixHasSelection(n); }

// Moves n's row selected as a row by `delta` when there is a row there.
void SelectedRowStep(int n, int delta)
{
    int row = MatrixBandRow(n) + delta, rows = WinMatrixRowCount(n);
    if (row < 0 || row >= rows) return;
    MatrixSelectBand(n, 0, row, rows - 1);
    WinSelectRow(n, row, false);
}

// Return: OK in a list, with Shift or on the last field of a window
// without matrix; a row inserted at the row selected as a row; else, in
// a cell too, the next field.
void ReturnKey(int n, bool shift)
{
    int kind = WinKindOf(n);
    if (IsWindowIconic(n)) {
        MaximizeWindowNumber(n);
    } else if (shift || WinListBox(n) || kind == 1 || kind == 2) {
        WindowOkAction(n);
    } else if (RowSelected(n)) {
        MatrixRowInsertCmd(n, MatrixBandRow(n));
    } else if (!WinHasMatrix(n) && WinFieldCount(n) > 0 && WinTable[n]->currentField == WinFieldCount(n)) {
        WindowOkAction(n);
    } else {
        MoveFieldFocus(n, 7);
    }
}

// Up (30) or down (31): the row selected as a row moves, a list
// selection moves, or else the focus moves a row.
void ArrowKey(int n, int key, bool shift)
{
    int delta = key == 30 ? -1 : 1;
    int kind = WinKindOf(n);
    if (RowSelected(n)) {
        SelectedRowStep(n, delta);
    } else if ((kind == 1 || kind == 2) && WinTable[n]->selCurrent >= 1) {
        ListMoveSelection(n, delta, shift);
    } else {
        MoveFieldFocus(n, key == 30 ? 5 : 6);
    }
}

}  // namespace

// Runs control character `key` (1..31) in window n; false when the key is
// not the window's, which leaves it to the caller. The Ctrl commands of
// the menus run without a window too.
bool WindowKeyCommand(int n, int key, bool shift)
{
    if (key < 1 || key > 31) return false;
    // Ctrl+letter: the menu item that shows the key (menu_keys.cpp).
    if (key <= 26 && MenuKeyRun(n, '@' + key)) return true;
    if (key < 3) return false;
    if (!WinIsOpen(n)) return false;
    switch (key) {
    case 8:
        if (!RowSelected(n) && WinKindOf(n) != KindCode(WindowKind::Designer)) return false;
        WindowDeleteCommand(n);
        return true;
    case 9: MoveFieldFocus(n, shift ? 3 : 2); return true;
    case 13: ReturnKey(n, shift); return true;
    case 28:
    case 29:
    case 30:
    case 31:
        // A form designer moves its selection by a unit.
        if (WinKindOf(n) == KindCode(WindowKind::Designer)) return DesignerArrowKey(n, DesignerArrowKeys[key - 28]);
        if (key >= 30) ArrowKey(n, key, shift);
        return key >= 30;
    default: return false;
    }
}
