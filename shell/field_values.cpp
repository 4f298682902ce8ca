// field_values.cpp - the ids of a record window's fields and the values
// they show: setting a value by id, redrawing by id, drawing a matrix
// row's cells.
//
// A field's id is the low word of its record offset; a cell's is the low
// word of its column's offset in the row.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/field_types.h"
#include "core/window_entries.h"
#include "shell/draw_port.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// The id of a data-field entry.
int FieldIdOf(const uint8_t *field) { return DefU16(field + FieldEntry::Offset); }

// True when data-field entry `field` of n lies inside n's record.
bool FieldInRecord(int n, const uint8_t *field)
{
    uint32_t offset = DefU32(field + FieldEntry::Offset);
    int width = FieldSize(DefU16(field + FieldEntry::Type), DefU16(field + FieldEntry::Format));
    uint32_t size = WinTypeWord(WinTypeOf(n), 2);
    return WinTable[n]->record && offset <= size && offset + uint32_t(width) <= size;
}

// Draws data field F (entry `field`) of n from n's record.
void DrawDataField(int n, int F, const uint8_t *field)
{
    if (!FieldInRecord(n, field) || !WinPageShown(n, DefU16(field + FieldEntry::Page))) return;
    MacRect r;
    WinBindingRect(n, field, &r);
    WinDrawFieldValue(n, WinTable[n]->record + DefU32(field + FieldEntry::Offset), DefU16(field + FieldEntry::Type),
                      DefU16(field + FieldEntry::Format), F, &r, field[FieldEntry::Align] != 0, false, false);
}

}  // namespace

// The field id shown by data field F of n; NoField when there is none.
int WinFieldIdAt(int n, int F)
{
    const uint8_t *field = WinDefEntry(n, WinPartDataFields, F - 1);
    return field ? FieldIdOf(field) : NoField;
}

// The field id of screen field F of n, continuing into the matrix: a
// cell's column id among the columns of its row's kind on the shown
// column page. NoField for a row outside the rows on screen or a
// missing column.
int WinFieldIdAtCell(int n, int F)
{
    int row, column;
    MatrixRowAt(n, F, &row, &column);
    if (row == NoField) return WinFieldIdAt(n, F);
    int slot = MatrixSlotOf(n);
    int top = slot >= 0 ? WinTable[n]->controls[slot].position : 0;
    if (row - top < 0 || row - top >= MatrixRowsShown(n)) return NoField;
    const uint8_t *col = MatrixColumnAt(n, MatrixRowKind(n, row), column);
    return col ? DefU16(col + ColumnEntry::Offset) : NoField;
}

// Sets the record value of n's data field with the id (the last such
// field when several have it). Every text is cut to the field's length;
// a plain text and a two-decimal amount are copied only when they differ,
// other types always. A changed field on a shown page is redrawn.
void WinSetFieldValue(int n, int id, const uint8_t *value)
{
    assert(WinIsOpen(n));
    int F = 0;
    const uint8_t *field = nullptr;
    for (int i = 0; i < WinDefCount(n, WinPartDataFields); i++)
        if (FieldIdOf(WinDefEntry(n, WinPartDataFields, i)) == id) {
            field = WinDefEntry(n, WinPartDataFields, i);
            F = i + 1;
        }
    if (!field || !FieldInRecord(n, field)) return;
    uint8_t *at = WinTable[n]->record + DefU32(field + FieldEntry::Offset);
    uint16_t type = DefU16(field + FieldEntry::Type), format = DefU16(field + FieldEntry::Format);
    bool changed = true;
    if (FieldTypeIsText(type)) {
        // Every text is cut to the field: a longer one would claim bytes
        // past the field's width.
        uint8_t cut[256] = {};
        int length = std::min<int>(value[0], std::min<int>(format, 255));
        cut[0] = uint8_t(length);
        memcpy(cut + 1, value + 1, size_t(length));
        if (type == FtText) {
            changed = !PStringEqual(at, cut);
            if (changed) FieldFromText(at, type, format, cut);
        } else {
            FieldMove(at, cut, type, format);
        }
    } else if (type == FtAmount2) {
        changed = memcmp(at, value, sizeof(PackedDecimal)) != 0;
        if (changed) DecCopy(reinterpret_cast<PackedDecimal *>(at), reinterpret_cast<const PackedDecimal *>(value));
    } else {
        FieldMove(at, value, type, format);
    }
    if (changed) DrawDataField(n, F, field);
}

// Redraws every data field of n with the id whose page is shown.
void WinRedrawFieldById(int n, int id)
{
    for (int i = 0; i < WinDefCount(n, WinPartDataFields); i++) {
        const uint8_t *field = WinDefEntry(n, WinPartDataFields, i);
        if (FieldIdOf(field) == id) DrawDataField(n, i + 1, field);
    }
}

// Draws the cells of row `row` of n's matrix whose column holds the
// value at `rowOffset` of the row, when the row is on screen; label
// columns are never drawn here. A non-zero flag draws them selected; a
// row with an attribute is drawn struck.
void WinMatrixDrawRow(int n, int row, uint32_t rowOffset, int flag)
{
    int slot = MatrixSlotOf(n);
    int top = slot >= 0 ? WinTable[n]->controls[slot].position : 0;
    if (row < 0 || row >= WinMatrixRowCount(n) || row - top < 0 || row - top >= MatrixRowsShown(n)) return;
    int rowSize, kindAt;
    MatrixColumnInfo(n, 0, &rowSize, &kindAt);
    int kind = MatrixRowKind(n, row);
    bool struck = (MatrixRowAttr(n, row) & 0xFF) != 0;
    int first, cells;
    MatrixGeometry(n, &first, &cells);
    MemBlock rows = WinMatrixRows(n);
    for (int c = 0; c < MatrixCellCount(n, kind); c++) {
        const uint8_t *col = MatrixColumnAt(n, kind, c);
        uint16_t type = DefU16(col + ColumnEntry::Type), format = DefU16(col + ColumnEntry::Format);
        uint32_t at = DefU32(col + ColumnEntry::Offset);
        if (type == FtSpare12 || at != rowOffset || at + uint32_t(FieldSize(type, format)) > uint32_t(rowSize)) continue;
        MacRect r;
        if (!MatrixCellRect(n, kind, &r, row - top, c)) continue;
        const uint8_t *p = MemLock(rows);
        if (!p) return;
        WinDrawFieldValue(n, p + size_t(row) * rowSize + at, type, format, first + row * cells + c, &r,
                          col[ColumnEntry::Align] != 0, flag != 0, struck);
        MemUnlock(rows);
    }
}
