// window_rows.h - bounded access to the matrix rows of an open record
// window, shared by the field and row rules of the smaller windows.
//
// Row and cell numbers reach these rules from the framework and the user;
// every read goes through WinRows, which counts only the whole rows the
// rows block holds, so a row outside them is null and never read.
#pragma once

#include <cstdint>

#include "core/memblock.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

// The window's rows, locked for one scope, taken as rows of rowSize bytes.
struct WinRows {
    MemBlock handle = 0;
    uint8_t *data = nullptr;
    int count = 0;
    uint32_t size;
    WinRows(int window, uint32_t rowSize) : size(rowSize)
    {
        handle = WinMatrixRows(window);
        data = handle ? MemLock(handle) : nullptr;
        if (data && rowSize > 0) count = int(MemSize(handle) / rowSize);
    }
    ~WinRows()
    {
        if (data) MemUnlock(handle);
    }
    WinRows(const WinRows &) = delete;
    WinRows &operator=(const WinRows &) = delete;
    // Row `row`, or null when the window has no such row.
    uint8_t *At(int row) const { return data && row >= 0 && row < count ? data + uint32_t(row) * size : nullptr; }
};

// True when the records of the window (its buffer and its stored copy)
// are records of register reg: the rules of a type read them by that
// register's layout, and a type laid out otherwise is left alone.
inline bool WinRecordIs(int window, int reg) { return WinIsOpen(window) && WinRegisterOf(window) == reg; }

// True when the rules of the window's type may read its records: the type
// is not one whose rules name a register, or its records are of that
// register.
bool WinRulesApply(int window);

// Where screen field F of a window lies: a header field (row NoField) with
// its record byte in id, or a row cell with its row, column and byte in
// the row (cell NoField when the column is not shown).
struct FieldPlace {
    int id = NoField, row = NoField, column = NoField, cell = NoField;
    bool IsCell() const { return row != NoField; }
};
FieldPlace WinFieldPlace(int window, int F);

// What a window does with a field committed or left, split by place:
// header fields by their record byte (their id), row cells by screen
// field. A header field the window does not show by id is passed over.
using HeaderFieldStep = void (*)(int window, int id, uint8_t changed);
using RowCellStep = void (*)(int window, int field, uint8_t changed);
void FieldChangedSplit(int window, int field, uint8_t changed, HeaderFieldStep header, RowCellStep cell);

// The matrix row the user is on: the focused cell's, else the selected
// row; -1 when none.
int WinCurrentRow(int window);

// Puts an empty row of kind `kind` at row `row` of the window's rows: the
// rows from there move down, or the row comes after the last when `row`
// is their count. True when the window has the new row.
bool WinRowInsertAt(int window, int row, int kind);

// The row, the column and the row byte of the cell that screen field F
// shows; false when F is no shown cell of one of the window's rows, so
// that the row rules never reach past the rows the window holds.
bool WinRowCellAt(int window, int F, int *row, int *column, int *cell);
