// Drawing a record window's matrix: rows cut to whole rows, the cells of
// existing rows, blank cells after the last row, a crossed-out row, the
// selection band, headings, and scrolling by one row against a jump.
#include <gtest/gtest.h>

#include <cstring>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/memblock.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/field_editing.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "tests/shell/record_fixture.h"

namespace {

constexpr uint32_t White = 0xFFFFFF, Black = 0x000000, Red = 0xFF0000, Grey = 0x808080;
// The rows of TestRecordDict: the handle at 76, 40-byte rows with the kind
// word at 0, the attribute at 2, a text at 4 and an amount at 10.
constexpr uint32_t RowsAt = 76, RowSize = 40, KindAt = 0, AttrAt = 2, TextAt = 4, AmountAt = 10;

class MatrixDraw : public TestRecordWindows {
protected:
    int n = 0;
    MacRect area{};

    // Opens the rows window on its matrix page with `rows` rows (the
    // attribute set on row `crossed`, 1-based, 0 none); false when this
    // tree has no matrix geometry to draw on.
    bool OpenWithRows(int rows, int crossed)
    {
        LightGreyLook = 1;
        n = Open(TypeRows);
        if (!n) return false;
        WinShowPage(n, 2, false);
        WinTable[n]->matrixColumnPage = 1;
        MemBlock h = MemAlloc(uint32_t(rows) * RowSize);
        EXPECT_NE(h, 0u);
        uint8_t *p = MemLock(h);
        for (int r = 0; r < rows; r++) {
            uint8_t *row = p + r * RowSize;
            PutU16(row, KindAt, 1);
            PutU16(row, AttrAt, r + 1 == crossed ? 1 : 0);
            row[TextAt] = 3;
            memcpy(row + TextAt + 1, "ABC", 3);
            PackedDecimal d;
            DecFromLong(&d, 100 * (r + 1));
            PutDec(row, AmountAt, d);
        }
        MemUnlock(h);
        memcpy(WinRecordBuffer(n) + RowsAt, &h, 4);
        MatrixColumnRect(n, 0, &area);
        return area.bottom > area.top && MatrixSlotOf(n) >= 0;
    }
    void Paint()
    {
        SetPortWindow(n);
        WinPaintFrame(n);
        WinPaintContents(n);
    }
    uint32_t Pixel(int x, int y) const { return WinClientPixel(WinTable[n]->mdiChild, x, y); }
    // The y of the pixel row 9 above the bottom of screen row r.
    int StrikeY(int r) const { return area.top + MatrixRowHeight * (r + 1) - 9; }
};

#define NEED_GEOMETRY(rows, crossed) \
    if (!OpenWithRows(rows, crossed)) GTEST_SKIP() << "matrix geometry is not built in this tree"

TEST_F(MatrixDraw, RowsCellsCrossOutAndBlankRowsAfterTheLast)
{
    NEED_GEOMETRY(3, 2);
    // The 100-pixel area is cut to whole rows: 5 rows of 17 and one pixel.
    EXPECT_EQ(area.bottom - area.top, 86);
    Paint();
    ASSERT_TRUE(WinSavePng(WinTable[n]->mdiChild, (home / "matrix_rows.png").string()));
    EXPECT_EQ(WinTable[n]->controls[MatrixSlotOf(n)].rowsShown, 5);
    EXPECT_EQ(WinTable[n]->changed, 0) << "the contents pass clears the mark the frame pass set";

    int x = (area.left + area.right) / 2;
    EXPECT_EQ(Pixel(x, StrikeY(1)), Red) << "row 2 is crossed out";
    EXPECT_NE(Pixel(x, StrikeY(0)), Red);
    EXPECT_NE(Pixel(x, StrikeY(3)), Red) << "the row after the last has no line";
    // A row after the last (row 5: row 4 lies under a tab of the test
    // layout) shows blank white cells; an existing row shows
    // its text in its first cell.
    MacRect cell;
    ASSERT_TRUE(MatrixCellRect(n, 1, &cell, 0, 0));
    bool inked = false, blankInked = false;
    for (int y = cell.top; y < cell.bottom; y++)
        for (int xx = cell.left; xx < cell.right; xx++) {
            inked = inked || Pixel(xx, y) == Black;
            blankInked = blankInked || Pixel(xx, y + 4 * MatrixRowHeight) != White;
        }
    EXPECT_TRUE(inked);
    EXPECT_FALSE(blankInked);
    // The first cell's separator is black, the second's dark grey; the
    // grid line between rows is dark grey.
    EXPECT_EQ(Pixel(cell.left - 3, cell.top + 4), Black);
    MacRect second;
    ASSERT_TRUE(MatrixCellRect(n, 1, &second, 0, 1));
    EXPECT_EQ(Pixel(second.left - 3, second.top + 4), Grey);
    EXPECT_EQ(Pixel(second.left + 4, area.top + MatrixRowHeight), Grey);
}

TEST_F(MatrixDraw, SelectionBandAndHighlightedRow)
{
    NEED_GEOMETRY(3, 0);
    Paint();
    MacRect cell;
    ASSERT_TRUE(MatrixCellRect(n, 1, &cell, 1, 1));
    int x = cell.right - 1, y = cell.top + 1;
    uint32_t before = Pixel(x, y);
    int slot = MatrixSlotOf(n);
    MatrixSelectBand(n, 0, 1, 2);
    EXPECT_EQ(WinTable[n]->controls[slot].selectedRow, 1);
    EXPECT_NE(Pixel(x, y), before) << "the band is inverted";
    MatrixSelectBand(n, 0, 1, 2);
    EXPECT_NE(Pixel(x, y), before) << "selecting the selected row again changes nothing";
    MatrixSelectBand(n, 0, 5, 2);
    EXPECT_EQ(Pixel(x, y), before) << "the old band is inverted back";
    EXPECT_EQ(WinTable[n]->controls[slot].selectedRow, -1) << "a row beyond the maximum is not selected";

    // The contents pass draws the slot's selected row white on black.
    WinTable[n]->controls[slot].selectedRow = 0;
    Paint();
    MacRect number;
    ASSERT_TRUE(MatrixCellRect(n, 1, &number, 0, -1));
    EXPECT_EQ(Pixel(number.left + 1, number.top + 1), Black);
    ASSERT_TRUE(MatrixCellRect(n, 1, &number, 1, -1));
    EXPECT_EQ(Pixel(number.left + 1, number.top + 1), White);
}

TEST_F(MatrixDraw, OneRowScrollDrawsOneRowAJumpRepaints)
{
    NEED_GEOMETRY(12, 6);
    Paint();
    int slot = MatrixSlotOf(n);
    ControlSlot &s = WinTable[n]->controls[slot];
    ASSERT_EQ(s.position, 0);
    int x = (area.left + area.right) / 2;
    // Row 6 is crossed out and lies below the 5 rows shown; one row down
    // brings it onto the last screen row, drawn by the scroll itself.
    EXPECT_NE(Pixel(x, StrikeY(4)), Red);
    MatrixScrollTo(n, slot, 1);
    EXPECT_EQ(s.position, 1);
    EXPECT_EQ(WinTable[n]->changed, 0) << "one row is drawn, the window is not repainted";
    EXPECT_EQ(Pixel(x, StrikeY(4)), Red);
    // Back up one row: row 6 moves down out of view.
    MatrixScrollTo(n, slot, 0);
    EXPECT_EQ(WinTable[n]->changed, 0);
    EXPECT_NE(Pixel(x, StrikeY(4)), Red);
    // Two rows: the window is marked for a repaint; the top is clamped to
    // the rows the matrix may hold.
    MatrixScrollTo(n, slot, 2);
    EXPECT_EQ(s.position, 2);
    EXPECT_EQ(WinTable[n]->changed, 1);
    MatrixScrollTo(n, slot, 100000);
    EXPECT_EQ(s.position, s.maximum - s.rowsShown + 1);
    // Ensure-visible scrolls only when the row is out of view.
    MatrixEnsureVisible(n, slot, 0);
    EXPECT_EQ(s.position, 0);
    MatrixEnsureVisible(n, slot, 3);
    EXPECT_EQ(s.position, 0);
    MatrixEnsureVisible(n, slot, 7);
    EXPECT_EQ(s.position, 7 - 4) << "the row stands last of the 5 shown";
}

TEST_F(MatrixDraw, AHiddenMatrixPageDrawsNothingAndKeepsItsRows)
{
    NEED_GEOMETRY(3, 1);
    WinShowPage(n, 1, false);
    int slot = MatrixSlotOf(n);
    WinTable[n]->controls[slot].rowsShown = 42;
    Paint();
    EXPECT_EQ(WinTable[n]->controls[slot].rowsShown, 42);
    int x = (area.left + area.right) / 2;
    EXPECT_NE(Pixel(x, StrikeY(0)), Red);
    MatrixScrollTo(n, slot, 1);
    EXPECT_EQ(WinTable[n]->controls[slot].position, 0);
}

}  // namespace
