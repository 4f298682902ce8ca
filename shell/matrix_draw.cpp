// matrix_draw.cpp - drawing a record window's matrix: its rows, grid and
// headings, scrolling it by rows, and its selection bands.
//
// The matrix area is matrix area 0 cut to whole rows (MatrixColumnRect):
// screen row r spans R.top + 17 r + 1 .. R.top + 17 (r + 1), and the cells
// of a row stand where MatrixCellRect puts them. Rows are 1-based here as
// the user counts them; a slot's top row (`position`) and its selected
// row are 0-based.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "recordwin/record_windows.h"
#include "shell/draw_port.h"
#include "shell/field_editing.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// The rows of n's matrix as drawing reads them.
struct RowsView {
    MemBlock handle = 0;
    const uint8_t *bytes = nullptr;
    uint32_t size = 0;        // bytes in the block
    int rowSize = 0, count = 0;
    int kindAt = NoEntryOffset, attrAt = NoEntryOffset;
};

// Looks at n's rows; the view is empty when there are none.
RowsView RowsOf(int n)
{
    RowsView v;
    int kindAt = 0;
    MatrixColumnInfo(n, 0, &v.rowSize, &kindAt);
    v.kindAt = kindAt;
    v.attrAt = MatrixColumnInfo2(n, 0);
    v.handle = WinMatrixRows(n);
    if (v.handle && MemIsValid(v.handle)) {
        v.bytes = MemLock(v.handle);
        MemUnlock(v.handle);   // the block stays put while the row is drawn: nothing here reallocates it
        v.size = MemSize(v.handle);
        v.count = WinMatrixRowCount(n);
        if (v.rowSize > 0) v.count = std::min<int>(v.count, int(v.size / uint32_t(v.rowSize)));
    }
    return v;
}

// The word at `at` of row `row` (1-based); `absent` beyond the rows, for
// a matrix without that word, or when the word would lie outside the row.
int RowWord(const RowsView &v, int row, int at, int absent)
{
    if (at == NoEntryOffset || row < 1 || row > v.count || !v.bytes || at + 2 > v.rowSize) return absent;
    return GetU16(v.bytes, size_t(row - 1) * size_t(v.rowSize) + size_t(at));
}

// The matrix area of n cut to whole rows; false when n shows no matrix
// (none, or its page hidden).
bool MatrixShown(int n, MacRect *area)
{
    const uint8_t *e = WinDefEntry(n, WinPartMatrixAreas, 0);
    if (!e || !WinPageShown(n, DefU16(e + MatrixEntry::Page))) return false;
    MatrixColumnRect(n, 0, area);
    return area->bottom > area->top;
}

// r widened by `left` and `right` pixels and filled white, or black when
// highlighted.
void FillStrip(int left, int top, int right, int bottom, bool highlighted)
{
    MacRect r;
    MakeRect(&r, left, top, right, bottom);
    FillRectMode(&r, highlighted ? FillBlack : FillWhite);
}

// Draws the row number of row `row` right-aligned in cell c, white on
// black when highlighted.
void DrawRowNumber(int n, const MacRect *c, int row, bool highlighted)
{
    FillStrip(c->left - 2, c->top, c->left, c->bottom, highlighted);
    FillStrip(c->right, c->top, c->right + 2, c->bottom, highlighted);
    FillRectMode(c, highlighted ? FillBlack : FillWhite);
    uint8_t value[2];
    PutU16(value, 0, uint16_t(row));
    PString text;
    FieldToText(value, FtShort, text);
    SetTextStyle(n, highlighted ? 1 : 0, false);
    DrawPString(c->right - PStringWidth(text) + 1, c->bottom - 3, text);
    SetTextNormal();
}

// Draws the value of column `col` of row `row` (1-based, existing) in
// cell c: a label's text, a looked-up text, or the stored value when it
// lies inside the row.
void DrawCellValue(int n, const RowsView &v, const uint8_t *col, int row, int F, const MacRect *c, bool highlighted)
{
    int type = DefU16(col + ColumnEntry::Type), format = DefU16(col + ColumnEntry::Format);
    bool right = DefU16(col + ColumnEntry::Align) == 1;
    PString text;
    text[0] = 0;
    if (type == FtSpare12 || type == FtSpare28) {
        if (type == FtSpare12) {
            GetUiText(text, format);
            UseRegularFont(n);
        } else {
            MatrixCellDisplayText(n, F, text);
        }
        WinDrawFieldValue(n, text, FtText, 255, F, c, right, highlighted, false);
        return;
    }
    uint32_t at = DefU32(col + ColumnEntry::Offset);
    int width = FieldSize(uint16_t(type), format);
    size_t rowStart = size_t(row - 1) * size_t(v.rowSize);
    if (width <= 0 || at + uint32_t(width) > uint32_t(v.rowSize) || rowStart + at + width > v.size) {
        WinDrawFieldValue(n, text, FtText, 255, F, c, right, highlighted, false);
        return;
    }
    WinDrawFieldValue(n, v.bytes + rowStart + at, type, format, F, c, right, highlighted, false);
}

}  // namespace

// Draws row `row` (1-based) of n's matrix on screen row `screenRow`: the
// row number, a separator left of each cell of the row's kind on the
// shown column page (black at the first cell and beside labels), the
// cells' values, or blank cells beyond the last row, and a red line
// through a row whose attribute word is set.
void MatrixDrawRow(int n, int row, int screenRow, bool highlighted)
{
    assert(WinIsOpen(n));
    if (!WinMatrixRows(n) && WinRecordBuffer(n)) MatrixResize(n, 0);   // a record without rows gets an empty block
    RowsView v = RowsOf(n);
    int kind = RowWord(v, row, v.kindAt, 1);
    int attr = RowWord(v, row, v.attrAt, 0);
    bool exists = row >= 1 && row <= v.count;
    MacRect area;
    MatrixColumnRect(n, 0, &area);
    MacRect number;
    if (MatrixCellRect(n, 1, &number, screenRow, -1)) DrawRowNumber(n, &number, row, highlighted);

    int first = 0, cells = 0;
    MatrixGeometry(n, &first, &cells);
    UseSemiboldFont(n);
    int previousType = -1;
    for (int c = 0; c < MatrixCellCount(n, kind); c++) {
        const uint8_t *col = MatrixColumnAt(n, kind, c);
        MacRect cell;
        if (!col || !MatrixCellRect(n, kind, &cell, screenRow, c)) break;
        int type = DefU16(col + ColumnEntry::Type);
        bool black = previousType < 0 || type == FtSpare12 || previousType == FtSpare12;
        FillVLine(cell.left - 3, cell.top, cell.bottom - 1, black ? FillBlack : FillDark);
        previousType = type;
        if (!exists) {
            FillStrip(cell.left - 2, cell.top, cell.right + 2, cell.bottom, highlighted);
            continue;
        }
        FillStrip(cell.left - 2, cell.top, cell.left, cell.bottom, highlighted);
        FillStrip(cell.right, cell.top, cell.right + 2, cell.bottom, highlighted);
        int F = first + (row - 1) * cells + c;
        DrawCellValue(n, v, col, row, F, &cell, highlighted);
        UseSemiboldFont(n);
    }
    if (exists && attr != 0) {
        int y = area.top + MatrixRowHeight * (screenRow + 1) - 9;
        MoveTo(area.left + 1, y);
        RedLineTo(area.right - 2, y);
    }
}

// Draws the row separators of n's matrix in dark grey, broken where the
// first column's separator runs.
void MatrixDrawGrid(int n)
{
    assert(WinIsOpen(n));
    MacRect area;
    if (!MatrixShown(n, &area)) return;
    int firstX = area.left - 1;
    if (const uint8_t *col = MatrixColumnAt(n, 1, 0)) firstX = RectXResolve(&area, int16_t(DefU16(col + ColumnEntry::X)));
    int rows = (area.bottom - area.top - 2) / MatrixRowHeight;
    for (int i = 1; i <= rows; i++) {
        int y = area.top + MatrixRowHeight * i;
        FillHLine(area.left - 1, firstX - 1, y, FillDark);
        FillHLine(firstX + 1, area.right - 1, y, FillDark);
    }
}

// Draws the headings of the columns of row kind 1 on the shown column
// page of n's matrix, 2 pixels into each cell and 5 above the matrix.
void MatrixHeaderDraw(int n)
{
    assert(WinIsOpen(n));
    MacRect area;
    if (!MatrixShown(n, &area)) return;
    UseRegularFontTransparent(n);
    for (int c = 0; c < MatrixCellCount(n, 1); c++) {
        const uint8_t *col = MatrixColumnAt(n, 1, c);
        MacRect cell;
        if (!col || !MatrixCellRect(n, 1, &cell, 0, c)) break;
        PString heading;
        GetUiText(heading, DefU16(col + ColumnEntry::Heading));
        DrawPString(cell.left + 2, area.top - 5, heading);
    }
}

// Scrolls n's matrix (control slot `slot`) so that row `top` (0-based) is
// the first shown, within the slot's range. One row either way moves the
// pixels and draws the row that came into view; any other jump marks the
// window for a repaint. The grid is drawn again and the bars' states are
// to be recomputed.
void MatrixScrollTo(int n, int slot, int32_t top)
{
    assert(WinIsOpen(n) && slot >= 0 && slot < ControlSlotCount);
    ControlSlot &s = WinTable[n]->controls[slot];
    MacRect area;
    if (!MatrixShown(n, &area)) return;
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    int32_t upper = std::max<int32_t>(1, s.maximum - s.rowsShown + 1);
    top = std::clamp(top, std::min(s.minimum, upper), upper);
    int32_t old = s.position;
    MacRect inner{int16_t(area.top + 1), int16_t(area.left + 1), int16_t(area.bottom - 1), int16_t(area.right - 1)};
    if (top != old) {
        s.position = top;
        if (top == old + 1) {
            ScrollWindowRect(n, &inner, 0, -MatrixRowHeight);
            MatrixDrawRow(n, top + s.rowsShown, s.rowsShown - 1, false);
        } else if (top == old - 1) {
            ScrollWindowRect(n, &inner, 0, MatrixRowHeight);
            MatrixDrawRow(n, top + 1, 0, false);
        } else {
            WinMarkChanged(n);
        }
        StateRefreshFlag = 1;
    }
    MatrixDrawGrid(n);
    RestorePortWindow(saved);
}

// Scrolls n's matrix so that row `row` (0-based) is inside it.
void MatrixEnsureVisible(int n, int slot, int row)
{
    assert(WinIsOpen(n) && slot >= 0 && slot < ControlSlotCount);
    MacRect area;
    if (!MatrixShown(n, &area)) return;
    int visible = (area.bottom - area.top - 1) / MatrixRowHeight - 1;
    int32_t top = WinTable[n]->controls[slot].position;
    if (row < top)
        MatrixScrollTo(n, slot, row);
    else if (row > top + visible)
        MatrixScrollTo(n, slot, row - visible);
}

// Inverts the band of screen row `screenRow` of n's matrix inside its
// frame; rows outside the shown ones are left alone.
void MatrixBandInvert(int n, int area, int screenRow)
{
    assert(WinIsOpen(n));
    int slot = MatrixSlotOf(n);
    MacRect r;
    if (slot < 0 || !MatrixShown(n, &r)) return;
    if (screenRow < 0 || screenRow >= WinTable[n]->controls[slot].rowsShown) return;
    int top = r.top + 1 + MatrixRowHeight * screenRow + 1;
    MacRect band;
    MakeRect(&band, r.left + 2, top, r.right - 1, std::min(top + 16, r.bottom - 1));
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    InvertRectPort(&band);
    RestorePortWindow(saved);
}

// Moves the selection band of n's matrix to row `row` (0-based): the old
// band is inverted back, and the new one inverted when row is at most
// `maximum`. Nothing when the row is selected already.
void MatrixSelectBand(int n, int area, int row, int maximum)
{
    assert(WinIsOpen(n));
    int slot = MatrixSlotOf(n);
    if (slot < 0) return;
    ControlSlot &s = WinTable[n]->controls[slot];
    if (row == s.selectedRow) return;
    // The row selected as a row is what Edit > Delete row works on: the
    // menus follow it.
    StateRefreshFlag = 1;
    if (s.selectedRow >= 0) MatrixBandInvert(n, area, s.selectedRow - s.position);
    s.selectedRow = -1;
    if (row >= 0 && row <= maximum) {
        MatrixBandInvert(n, area, row - s.position);
        s.selectedRow = int16_t(row);
    }
}

// A click on screen row `screenRow` of n's matrix: the band moves to that
// row, the window is marked for a repaint and the row is selected.
void MatrixClickRow(int n, int area, int screenRow)
{
    assert(WinIsOpen(n));
    int slot = MatrixSlotOf(n);
    if (slot < 0) return;
    int row = WinTable[n]->controls[slot].position + screenRow;
    MatrixSelectBand(n, area, row, WinMatrixRowCount(n) - 1);
    WinMarkChanged(n);
    WinSelectRow(n, row, false);
}
