// matrix_rows.cpp - the rows of a record window's matrix: resizing,
// deleting, trimming empty rows and clearing rows.
//
// Every cell is reached through its column's offset and stored width;
// a column whose value would reach past the row is left alone, so no
// layout can make these routines write or read outside the rows block.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/field_types.h"
#include "core/window_entries.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// The matrix area of n, its row size and the u32 offset of its rows
// handle in the record; false when n has no matrix that rows can be kept
// for.
bool MatrixPlace(int n, int *rowSize, uint32_t *handleAt)
{
    const uint8_t *area = WinDefEntry(n, WinPartMatrixAreas, 0);
    int32_t offset = WinRecordHandleOffset(n);
    if (!area || offset < 0 || !WinTable[n]->record) return false;
    if (uint32_t(offset) + 4 > WinTypeWord(WinTypeOf(n), 2)) return false;
    *rowSize = DefU16(area + MatrixEntry::RowSize);
    *handleAt = uint32_t(offset);
    return *rowSize > 0;
}

// True when column entry c's value lies inside a row of rowSize bytes;
// its offset and width go to *offset and *width.
bool ColumnInRow(const uint8_t *c, int rowSize, uint32_t *offset, int *width)
{
    *offset = DefU32(c + ColumnEntry::Offset);
    *width = FieldSize(DefU16(c + ColumnEntry::Type), DefU16(c + ColumnEntry::Format));
    return *offset <= uint32_t(rowSize) && *offset + uint32_t(*width) <= uint32_t(rowSize);
}

// True when `row` (of n's matrix, kind `kind`) holds a value: a column of
// its kind, on any column page, whose stored bytes differ from the
// column type's empty value (for a text: a non-empty length). A label
// column counts as a value.
bool RowHasValue(int n, const uint8_t *row, int rowSize, int kind)
{
    uint8_t empty[256];
    for (int i = 0; i < WinDefCount(n, WinPartMatrixColumns); i++) {
        const uint8_t *c = WinDefEntry(n, WinPartMatrixColumns, i);
        if (DefU16(c + ColumnEntry::Kind) != kind) continue;
        uint16_t type = DefU16(c + ColumnEntry::Type);
        if (type == FtSpare12) return true;
        uint32_t offset;
        int width;
        if (!ColumnInRow(c, rowSize, &offset, &width) || width == 0) continue;
        if (FieldTypeIsText(type)) {
            if (row[offset] != 0) return true;
            continue;
        }
        assert(width <= int(sizeof empty));
        FieldClear(empty, type, DefU16(c + ColumnEntry::Format));
        if (memcmp(row + offset, empty, size_t(width)) != 0) return true;
    }
    return false;
}

// The kind of a row in memory: its kind word, 1 without one.
int KindOfRow(const uint8_t *row, int rowSize, int kindAt)
{
    if (kindAt == NoEntryOffset || kindAt + 2 > rowSize) return 1;
    uint16_t kind;
    memcpy(&kind, row + kindAt, 2);
    return kind;
}

}  // namespace

// Sets n's matrix to `rows` rows: added rows are zero-filled, and a
// record without rows gets a new block whose handle goes into it. False
// (nothing changed) when n has no matrix or memory is short.
bool MatrixResize(int n, int rows)
{
    int rowSize;
    uint32_t handleAt;
    if (rows < 0 || !MatrixPlace(n, &rowSize, &handleAt)) return false;
    uint32_t bytes = uint32_t(rows) * uint32_t(rowSize);
    MemBlock h = WinMatrixRows(n);
    if (!h) {
        if (rows == 0) return true;
        h = MemAlloc(bytes);
        if (!h) return false;
    } else if (!MemRealloc(&h, bytes)) {
        return false;
    }
    memcpy(WinTable[n]->record + handleAt, &h, 4);
    return true;
}

// Removes row `row` (0-based) of n's matrix: the rows after it move up
// by one. Nothing for a row that does not exist.
void MatrixDeleteRow(int n, int row)
{
    int count = WinMatrixRowCount(n), rowSize, kindAt;
    if (row < 0 || row >= count) return;
    MatrixColumnInfo(n, 0, &rowSize, &kindAt);
    MemBlock h = WinMatrixRows(n);
    uint8_t *p = MemLock(h);
    if (!p) return;
    memmove(p + size_t(row) * rowSize, p + size_t(row + 1) * rowSize, size_t(count - row - 1) * rowSize);
    MemUnlock(h);
    bool shrunk = MatrixResize(n, count - 1);
    assert(shrunk);   // shrinking keeps the block
    (void)shrunk;
}

// Drops the empty rows at the end of n's matrix and gives the first empty
// row left between kept rows, NoField when none is. A row is empty when
// no column of its kind holds a value (RowHasValue).
int MatrixTrimEmptyRows(int n)
{
    int count = WinMatrixRowCount(n), rowSize, kindAt;
    if (count == 0) return NoField;
    MatrixColumnInfo(n, 0, &rowSize, &kindAt);
    MemBlock h = WinMatrixRows(n);
    const uint8_t *p = MemLock(h);
    if (!p) return NoField;
    int first = NoField, kept = 0;
    for (int row = count - 1; row >= 0; row--) {
        const uint8_t *r = p + size_t(row) * rowSize;
        if (!RowHasValue(n, r, rowSize, KindOfRow(r, rowSize, kindAt)))
            first = row;
        else if (kept == 0)
            kept = row + 1;
    }
    MemUnlock(h);
    if (kept < count && !MatrixResize(n, kept)) return NoField;
    return first < kept ? first : NoField;
}

// Empties rows from..to of n's matrix and makes them rows of `kind`:
// every byte 0, every column of the kind its empty value, the kind word
// set and the attribute word 0; then tells the window's type of each row
// (event 3). Nothing unless the block holds row `to`.
void MatrixRowsClear(int n, int kind, int from, int to)
{
    int rowSize, kindAt;
    MatrixColumnInfo(n, 0, &rowSize, &kindAt);
    int attrAt = MatrixColumnInfo2(n, 0);
    if (from < 0 || from > to || WinMatrixRowCount(n) < to + 1) return;
    for (int row = from; row <= to; row++) {
        MemBlock h = WinMatrixRows(n);   // the type may have replaced the rows
        uint8_t *p = MemLock(h);
        if (!p || MemSize(h) < uint32_t(row + 1) * uint32_t(rowSize)) {
            if (p) MemUnlock(h);
            return;
        }
        uint8_t *r = p + size_t(row) * rowSize;
        memset(r, 0, size_t(rowSize));
        for (int i = 0; i < WinDefCount(n, WinPartMatrixColumns); i++) {
            const uint8_t *c = WinDefEntry(n, WinPartMatrixColumns, i);
            uint32_t offset;
            int width;
            if (DefU16(c + ColumnEntry::Kind) != kind || !ColumnInRow(c, rowSize, &offset, &width) || width == 0)
                continue;
            FieldClear(r + offset, DefU16(c + ColumnEntry::Type), DefU16(c + ColumnEntry::Format));
        }
        uint16_t k = uint16_t(kind), zero = 0;
        if (kindAt != NoEntryOffset && kindAt + 2 <= rowSize) memcpy(r + kindAt, &k, 2);
        if (attrAt != NoEntryOffset && attrAt + 2 <= rowSize) memcpy(r + attrAt, &zero, 2);
        int16_t number = int16_t(row);
        WindowEvent(n, WindowEventCode::RowDefaults, p, &number);
        MemUnlock(h);
    }
}
