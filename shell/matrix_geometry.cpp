// matrix_geometry.cpp - where a record window's matrix stands: its
// screen fields, rows and columns, cells and their rectangles, and its
// selection.
//
// The matrix is entry 0 of the matrix-areas part; its rows are a block
// whose handle lies in the window's record (WinRecordHandleOffset). Row
// counts always come from the block's size, so no row past the block is
// ever read.
#include <cassert>
#include <cstring>
#include <string>

#include "core/pstring.h"
#include "core/window_entries.h"
#include "shell/draw_port.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// Matrix area `area` of n's type; null when it has none.
const uint8_t *MatrixArea(int n, int area) { return WinDefEntry(n, WinPartMatrixAreas, area); }

// True when column entry c belongs to rows of `kind` and shows on the
// current column page (page 0: on every page).
bool ColumnShown(int n, const uint8_t *c, int kind)
{
    int page = DefU16(c + ColumnEntry::ColPage);
    return DefU16(c + ColumnEntry::Kind) == kind && (page == 0 || page == MatrixColumnPageOf(n));
}

// Reads the u16 at `offset` of row `row`, or `none` when the word lies
// outside the row or the row outside the block.
int RowWord(int n, int row, int offset, int none)
{
    const uint8_t *area = MatrixArea(n, 0);
    if (!area || offset == NoEntryOffset) return none;
    int rowSize = DefU16(area + MatrixEntry::RowSize);
    if (row < 0 || row >= WinMatrixRowCount(n) || offset + 2 > rowSize) return none;
    MemBlock rows = WinMatrixRows(n);
    const uint8_t *p = MemLock(rows);
    if (!p) return none;
    uint16_t v;
    memcpy(&v, p + size_t(row) * rowSize + offset, 2);
    MemUnlock(rows);
    return v;
}

}  // namespace

// The first screen field of n's matrix and its cells per row; both 0
// when n has no matrix.
void MatrixGeometry(int n, int *first, int *cells)
{
    const uint8_t *area = MatrixArea(n, 0);
    *first = area ? DefU16(area + MatrixEntry::First) : 0;
    *cells = area ? DefU16(area + MatrixEntry::Cells) : 0;
}

// The 0-based row and column of screen field F of n's matrix; both
// NoField for a header field or without a matrix.
void MatrixRowAt(int n, int F, int *row, int *column)
{
    int first, cells;
    MatrixGeometry(n, &first, &cells);
    if (cells == 0 || first == 0 || F < first) {
        *row = *column = NoField;
        return;
    }
    *row = (F - first) / cells;
    *column = (F - first) % cells;
}

// The row size and row-kind offset of matrix area `area` of n; both 0
// without one.
void MatrixColumnInfo(int n, int area, int *rowSize, int *kindOffset)
{
    const uint8_t *a = MatrixArea(n, area);
    *rowSize = a ? DefU16(a + MatrixEntry::RowSize) : 0;
    *kindOffset = a ? DefU16(a + MatrixEntry::KindWord) : 0;
}

// The row-attribute offset of matrix area `area` of n; 0 without one.
int MatrixColumnInfo2(int n, int area)
{
    const uint8_t *a = MatrixArea(n, area);
    return a ? DefU16(a + MatrixEntry::AttrWord) : 0;
}

// The most rows n's matrix may hold; 0 without a matrix.
int MatrixMaxRows(int n)
{
    const uint8_t *a = MatrixArea(n, 0);
    return a ? DefU16(a + MatrixEntry::MaxRows) : 0;
}

// The rows handle in n's record; 0 without a matrix, without rows, or
// when the record cannot hold a handle at the type's offset.
MemBlock WinMatrixRows(int n)
{
    assert(WinIsOpen(n));
    if (!MatrixArea(n, 0)) return 0;
    int32_t offset = WinRecordHandleOffset(n);
    const uint8_t *record = WinTable[n]->record;
    if (!record || offset < 0 || uint32_t(offset) + 4 > WinTypeWord(WinTypeOf(n), 2)) return 0;
    MemBlock h;
    memcpy(&h, record + offset, 4);
    return MemIsValid(h) ? h : 0;
}

// The row count of n's matrix: the rows block's size / the row size.
int WinMatrixRowCount(int n)
{
    const uint8_t *a = MatrixArea(n, 0);
    MemBlock rows = WinMatrixRows(n);
    int rowSize = a ? DefU16(a + MatrixEntry::RowSize) : 0;
    return rows && rowSize > 0 ? int(MemSize(rows) / rowSize) : 0;
}

// The kind of row `row` of n's matrix: its kind word, 1 beyond the rows
// or when rows have no kind word.
int MatrixRowKind(int n, int row)
{
    const uint8_t *a = MatrixArea(n, 0);
    return a ? RowWord(n, row, DefU16(a + MatrixEntry::KindWord), 1) : 1;
}

// The attribute of row `row` of n's matrix: its attribute word, 0 beyond
// the rows or when rows have none.
int MatrixRowAttr(int n, int row)
{
    const uint8_t *a = MatrixArea(n, 0);
    return a ? RowWord(n, row, DefU16(a + MatrixEntry::AttrWord), 0) : 0;
}

// The column page n's matrix shows; 0 (none chosen yet) stands for 1.
int MatrixColumnPageOf(int n)
{
    assert(WinIsOpen(n));
    return WinTable[n]->matrixColumnPage ? WinTable[n]->matrixColumnPage : 1;
}

// The columns of rows of kind `kind` on the shown column page.
int MatrixCellCount(int n, int kind)
{
    int count = 0;
    for (int i = 0; i < WinDefCount(n, WinPartMatrixColumns); i++)
        if (ColumnShown(n, WinDefEntry(n, WinPartMatrixColumns, i), kind)) count++;
    return count;
}

// The c-th (0-based) column of rows of kind `kind` on the shown column
// page; null when there is none.
const uint8_t *MatrixColumnAt(int n, int kind, int c)
{
    for (int i = 0; c >= 0 && i < WinDefCount(n, WinPartMatrixColumns); i++) {
        const uint8_t *col = WinDefEntry(n, WinPartMatrixColumns, i);
        if (ColumnShown(n, col, kind) && c-- == 0) return col;
    }
    return nullptr;
}

// The rows n's matrix shows: (inner height - 1) / row height + 1 of its
// trimmed rectangle; 0 without a matrix.
int MatrixRowsShown(int n)
{
    if (!MatrixArea(n, 0)) return 0;
    MacRect r;
    MatrixColumnRect(n, 0, &r);
    int inner = r.bottom - r.top - 2;
    return inner < 0 ? 0 : inner / MatrixRowHeight + 1;
}

// The rectangle of cell `cell` of a row of kind `kind` drawn on screen
// row `screenRow`: from 3 right of the column's x to 2 left of the next
// column's (or of the matrix's right edge), one row high below the grid
// line. Cell -1 is the row-number cell left of the first column. False
// when there is no such cell.
bool MatrixCellRect(int n, int kind, MacRect *out, int screenRow, int cell)
{
    *out = MacRect{};
    if (!MatrixArea(n, 0)) return false;
    MacRect R;
    MatrixColumnRect(n, 0, &R);
    int left, right;
    const uint8_t *next = MatrixColumnAt(n, kind, cell + 1);
    int nextX = next ? RectXResolve(&R, int16_t(DefU16(next + ColumnEntry::X))) : R.right - 1;
    if (cell == -1) {
        left = R.left;
        right = next ? nextX : R.left;
    } else {
        const uint8_t *col = MatrixColumnAt(n, kind, cell);
        if (!col) return false;
        left = RectXResolve(&R, int16_t(DefU16(col + ColumnEntry::X)));
        right = nextX;
    }
    int top = R.top + MatrixRowHeight * screenRow + 1;
    *out = MacRect{int16_t(top), int16_t(left + 3), int16_t(R.top + MatrixRowHeight * (screenRow + 1)),
                   int16_t(right - 2)};
    return true;
}

// The rectangle a click on the number of screen row `screenRow` hits:
// the row-number cell (MatrixCellRect cell -1), or, where the first
// column starts at the matrix's left edge and leaves that cell no room,
// the room left of the matrix where the number is drawn right-aligned
// (matrix_draw.cpp), as wide as the highest row's number in the normal
// UI font. False without a matrix.
bool MatrixRowNumberRect(int n, int screenRow, MacRect *out)
{
    if (!MatrixCellRect(n, 1, out, screenRow, -1)) return false;
    if (out->right > out->left) return true;
    PString highest;
    PStringFromC(highest, std::to_string(MatrixMaxRows(n)).c_str());
    // The number's text ends one right of the cell's right edge.
    int end = out->right + 1;
    out->left = int16_t(end - DcPStringWidth(nullptr, highest));
    out->right = int16_t(end + 1);
    return true;
}

// The text rectangle of cell `cell` of row `row` (counted from the top
// of the rows, not of the screen): the cell's rectangle on its screen row
// with its top on the text base line, as a binding's stored top is.
bool MatrixCellTextRect(int n, int kind, MacRect *out, int row, int cell)
{
    int slot = MatrixSlotOf(n);
    int top = slot >= 0 ? WinTable[n]->controls[slot].position : 0;
    if (!MatrixCellRect(n, kind, out, row - top, cell)) return false;
    out->top = int16_t(out->top + 12);
    out->bottom = int16_t(out->bottom + 12);
    return true;
}

// The control slot keeping n's matrix scroll state; -1 without a matrix
// or when its control number names no slot.
int MatrixSlotOf(int n)
{
    const uint8_t *a = MatrixArea(n, 0);
    if (!a) return -1;
    int control = DefU16(a + MatrixEntry::Control);
    return control < ControlSlotCount ? control : -1;
}

// True when n's type has a matrix.
bool WinHasMatrix(int n) { return MatrixArea(n, 0) != nullptr; }

// The row n's matrix pane holds selected as a row (its selection band);
// -1 when none is, and without a matrix.
int MatrixBandRow(int n)
{
    int slot = MatrixSlotOf(n);
    return slot >= 0 ? WinTable[n]->controls[size_t(slot)].selectedRow : -1;
}

// True when n's matrix pane holds a row selected as a row - a row the
// row keys and Edit > Delete row work on - not merely the row of the
// focused cell.
bool MatrixHasSelection(int n) { return MatrixBandRow(n) >= 0; }

// True when n's focused screen field is a matrix cell: at or after the
// matrix's first field.
bool MatrixAtEnd(int n)
{
    int first, cells;
    MatrixGeometry(n, &first, &cells);
    return first > 0 && WinTable[n]->currentField >= first;
}
