// field_focus.cpp - the focused field of a record window, the binding
// of a matrix cell under edit, and the selected matrix row.
//
// A binding is the first FieldEntry::BindingSize bytes of a data-field
// entry (core/window_entries.h). A matrix cell has no entry, so its
// binding is made here: the cell's text rectangle marked absolute, the
// column's type and format, the value's offset in the rows block.
#include <cassert>
#include <cstring>

#include "core/field_types.h"
#include "core/window_entries.h"
#include "recordwin/record_windows.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/window_drawing.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// Writes a little-endian u16 and u32 into a binding.
void PutU16(uint8_t *p, int v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void PutU32(uint8_t *p, uint32_t v)
{
    PutU16(p, int(v & 0xFFFF));
    PutU16(p + 2, int(v >> 16));
}

// The binding of a list window's find-by-key field: data field 1 with the
// current list column's type, format and offset; false when the column
// sorts by no index.
bool ListKeyBinding(int n, uint8_t *binding)
{
    const uint8_t *column = WinDefEntry(n, WinPartFieldList, WinTable[n]->listColumn);
    const uint8_t *field = WinDefEntry(n, WinPartDataFields, 0);
    if (!column || !field || column[ListColEntry::Index] == 0) return false;
    memcpy(binding, field, FieldEntry::BindingSize);
    PutU16(binding + FieldEntry::Type, DefU16(column + ListColEntry::Type));
    PutU16(binding + FieldEntry::Format, DefU16(column + ListColEntry::Format));
    PutU32(binding + FieldEntry::Offset, DefU32(column + ListColEntry::Offset));
    return true;
}

}  // namespace

// Makes the binding of matrix cell F of n into `binding` and gives its
// row in *row. The matrix grows to hold the row (new rows cleared as kind
// 1, the window marked), its page is shown and the row scrolled into
// view. False, with nothing made, when F is no cell, the row is beyond
// the most rows, the column is missing or a label, the matrix cannot
// grow, or the value would lie outside the rows block.
bool MatrixCellBinding(int n, int F, uint8_t *binding, int *row)
{
    int column;
    MatrixRowAt(n, F, row, &column);
    if (*row == NoField || *row > MatrixMaxRows(n) - 1) return false;
    int count = WinMatrixRowCount(n);
    if (count < *row + 1) {
        if (!MatrixResize(n, *row + 1)) return false;
        MatrixRowsClear(n, 1, count, *row);
        if (!WinIsOpen(n)) return false;
        WinMarkChanged(n);
    }
    const uint8_t *area = WinDefEntry(n, WinPartMatrixAreas, 0);
    assert(area);
    int page = DefU16(area + MatrixEntry::Page);
    if (!WinPageShown(n, page)) WinShowPage(n, page, true);
    if (!WinIsOpen(n)) return false;
    MatrixEnsureVisible(n, MatrixSlotOf(n), *row);
    int kind = MatrixRowKind(n, *row), attribute = MatrixRowAttr(n, *row) & 0xFF;
    const uint8_t *col = MatrixColumnAt(n, kind, column);
    if (!col || DefU16(col + ColumnEntry::Type) == FtSpare12) return false;
    uint16_t type = DefU16(col + ColumnEntry::Type), format = DefU16(col + ColumnEntry::Format);
    int rowSize = DefU16(area + MatrixEntry::RowSize);
    uint32_t columnAt = DefU32(col + ColumnEntry::Offset);
    uint64_t offset = uint64_t(*row) * rowSize + columnAt;
    if (columnAt + uint64_t(FieldSize(type, format)) > uint64_t(rowSize) ||
        offset + FieldSize(type, format) > MemSize(WinMatrixRows(n)))
        return false;
    MacRect r;
    if (!MatrixCellTextRect(n, kind, &r, *row, column)) return false;
    memset(binding, 0, FieldEntry::BindingSize);
    PutU16(binding + FieldEntry::Size, FieldEntry::BindingSize);
    PutU16(binding + FieldEntry::Rect, r.top);
    PutU16(binding + FieldEntry::Rect + 2, r.left);
    PutU16(binding + FieldEntry::Rect + 4, r.bottom);
    PutU16(binding + FieldEntry::Rect + 6, r.right);
    PutU16(binding + FieldEntry::Type, type);
    PutU16(binding + FieldEntry::Access, attribute ? AccessReadOnly : AccessAlways);
    PutU16(binding + FieldEntry::Format, format);
    PutU32(binding + FieldEntry::Offset, uint32_t(offset));
    binding[FieldEntry::Align] = col[ColumnEntry::Align];
    binding[FieldEntry::CellMark] = 1;
    // A cell chooses as its column says (an item cell from the item list).
    PutU16(binding + FieldEntry::Chooser, DefU16(col + ColumnEntry::Chooser));
    PutU16(binding + FieldEntry::Page, page);
    return true;
}

// Puts n's edit control on screen field F: a data field, a list window's
// key field, or a matrix cell (MatrixCellBinding). The field's page is
// shown, the type told (event 29), and F becomes n's focused field.
// False when F names no field that can take the focus.
bool WinFocusField(int n, int F)
{
    assert(WinIsOpen(n));
    uint8_t binding[FieldEntry::BindingSize];
    MemBlock block = WinTable[n]->recordHandle;
    int row = 0, kind = WinKindOf(n);
    bool cell = false;
    const uint8_t *field = WinDefEntry(n, WinPartDataFields, F - 1);
    if ((kind == 1 || kind == 2) && F == 1 && ListKeyBinding(n, binding)) {
        WinSelectRow(n, -1, false);
    } else if (field) {
        memcpy(binding, field, FieldEntry::BindingSize);
    } else if (WinHasMatrix(n) && MatrixCellBinding(n, F, binding, &row)) {
        cell = true;
        block = WinMatrixRows(n);
        WinSelectRow(n, row, false);
    } else {
        return false;
    }
    if (!WinIsOpen(n)) return false;
    int page = DefU16(binding + FieldEntry::Page);
    if (!WinPageShown(n, page)) WinShowPage(n, page, true);
    int16_t number = int16_t(F);
    WindowEvent(n, WindowEventCode::RowClicked, &number, nullptr);
    if (!WinIsOpen(n)) return false;
    if (DefU16(binding + FieldEntry::Type) == FtSpare28) {
        uint8_t text[256];
        if (cell)
            MatrixCellDisplayText(n, F, text);
        else
            WinFieldDisplayText(n, F, text);
        EditControlOpen(n, binding, block, row, text);
    } else {
        EditControlOpenForBinding(n, binding, block, row);
    }
    if (!WinIsOpen(n)) return false;
    WinTable[n]->currentField = int16_t(F);
    return true;
}

// Makes `row` n's current matrix row (-1: none), the row its type's
// row commands work on, telling the type first (event 30); nothing when
// the row is current already and `force` is not set. The pane's selection
// band - the row selected as a row, which the row keys delete - is not
// moved here: a focused cell makes its row current without selecting it
// (MatrixSelectBand selects).
void WinSelectRow(int n, int row, bool force)
{
    assert(WinIsOpen(n));
    if (row == WinTable[n]->selectedMatrixRow && !force) return;
    int16_t number = int16_t(row);
    WindowEvent(n, WindowEventCode::RowAboutToChange, &number, nullptr);
    if (!WinIsOpen(n)) return;
    WinTable[n]->selectedMatrixRow = int16_t(row);
    WinMarkChanged(n);
}
