// Where a record window's elements stand: the resolver's rule for each
// kind of element, page areas, field bindings, the matrix rectangle and
// its cells, the matrix's scroll bar, and the matrix's screen-field
// numbering.
#include "core/window_entries.h"
#include "shell/window_layout.h"
#include "tests/shell/record_fixture.h"

using WindowRects = TestRecordWindows;

namespace {
// The same far-edge rectangle through each rule, on a 100 x 200 area.
MacRect By(ResolveRule rule)
{
    MacRect area{0, 0, 100, 200}, stored{-30, -40, -5, -10}, out;
    RectResolveBy(rule, &stored, &area, &out);
    return out;
}
bool Same(const MacRect &a, const MacRect &b)
{
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}
}  // namespace

TEST(RectResolve, EachElementAddsOnlyTheEdgesItsRuleNames)
{
    // List boxes keep exclusive edges: 5 free at the right, 20 below.
    MacRect area{0, 0, 100, 200}, stored{10, 5, -20, -5}, out;
    RectResolveBy(ResolveRule::ListBox, &stored, &area, &out);
    EXPECT_TRUE(Same(out, MacRect{10, 5, 80, 195}));
    EXPECT_TRUE(Same(By(ResolveRule::ListBox), MacRect{70, 160, 95, 190}));
    EXPECT_TRUE(Same(By(ResolveRule::Control), MacRect{70, 160, 97, 192})) << "controls: bottom and right + 2";
    EXPECT_TRUE(Same(By(ResolveRule::FieldX), MacRect{70, 162, 95, 192})) << "fields: left and right + 2";
    EXPECT_TRUE(Same(By(ResolveRule::Plain), MacRect{70, 160, 95, 190})) << "texts and icons: nothing";
    MacRect r{10, 20, 110, 220};
    EXPECT_EQ(RectXResolve(&r, -15), 205);
    EXPECT_EQ(RectXResolve(&r, 15), 35);
    EXPECT_EQ(RectYResolve(&r, -15), 95);
}

TEST_F(WindowRects, PagesBindingsAndTheMatrixResolveOnTheirPage)
{
    int n = Open(TypeRows);
    ASSERT_GT(n, 0);
    MacRect client, page, r;
    WindowClientRect(n, &client);
    ASSERT_GT(client.bottom, 200);

    // Page 0 is 60 high; pages 1 and 2 reach to the bottom, below it.
    WinPageRect(n, 0, &page);
    EXPECT_TRUE(Same(page, MacRect{0, 0, 60, client.right}));
    WinShowPage(n, 2, false);
    EXPECT_TRUE(WinPageShown(n, 2));
    EXPECT_FALSE(WinPageShown(n, 1));
    WinPageRect(n, 2, &page);
    EXPECT_TRUE(Same(page, MacRect{60, 0, client.bottom, client.right}));

    // A field's stored top is its base line: 12 above it, 16 high, on
    // its page; a cell's binding is absolute.
    uint8_t *code = WinDefEntry(n, WinPartDataFields, 0);
    WinBindingRect(n, code, &r);
    EXPECT_TRUE(Same(r, MacRect{8, 110, 24, 240}));
    uint8_t *chosen = WinDefEntry(n, WinPartDataFields, 2);
    WinBindingRect(n, chosen, &r);
    EXPECT_EQ(r.top, 60 + 22 - 12) << "page 1 is not shown: its offset is where it last stood";

    // The 100-pixel matrix is cut to 5 rows of 17 plus 1; its right edge
    // counts from the page's right plus 2.
    MatrixColumnRect(n, 0, &r);
    EXPECT_TRUE(Same(r, MacRect{70, 10, 156, int16_t(client.right - 28)}));
    EXPECT_EQ(MatrixRowsShown(n), 5);
    // Its scroll bar (control 2) stands beside the trimmed area.
    MacRect bar;
    WinFieldRect(n, 2, &bar);
    EXPECT_TRUE(Same(bar, MacRect{r.top, r.right, r.bottom, int16_t(r.right + 15)}));
    // A tab of page 0 resolves on page 0 by the control rule.
    WinFieldRect(n, 0, &bar);
    EXPECT_TRUE(Same(bar, MacRect{2, 300, 20, 380}));

    // Cells: column page 1 shows the text at 0, the amount at 80, the
    // flag at 200 up to the matrix's right edge.
    MacRect cell;
    ASSERT_TRUE(MatrixCellRect(n, 1, &cell, 1, 1));
    EXPECT_TRUE(Same(cell, MacRect{70 + 17 + 1, 93, 70 + 34, 208}));
    ASSERT_TRUE(MatrixCellRect(n, 1, &cell, 0, 2));
    EXPECT_EQ(cell.right, r.right - 1 - 2);
    EXPECT_FALSE(MatrixCellRect(n, 1, &cell, 0, 3)) << "a kind-1 row has three cells";
    EXPECT_FALSE(MatrixCellRect(n, 2, &cell, 0, 0)) << "no column has kind 2";
    ASSERT_TRUE(MatrixCellTextRect(n, 1, &cell, 2, 0));
    EXPECT_EQ(cell.top, 70 + 34 + 13);
}

TEST_F(WindowRects, ScreenFieldsNumberTheHeaderThenTheCellsRowByRow)
{
    int n = Open(TypeRows);
    ASSERT_GT(n, 0);
    int row, column;
    MatrixRowAt(n, 5, &row, &column);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(column, 0);
    MatrixRowAt(n, 5 + 3, &row, &column);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(column, 0);
    MatrixRowAt(n, 4, &row, &column);
    EXPECT_EQ(row, NoField);
    EXPECT_EQ(column, NoField);
    EXPECT_EQ(WinFieldCount(n), 9999);
    EXPECT_EQ(WinScreenFieldOfOffset(n, 24), 3);
    EXPECT_EQ(WinScreenFieldOfOffset(n, 76), 5) << "the rows handle is the first cell";
    EXPECT_EQ(WinScreenFieldOfOffset(n, 30), NoField);
    // Without rows, a row reads as kind 1 with no attribute.
    EXPECT_EQ(WinMatrixRowCount(n), 0);
    EXPECT_EQ(MatrixRowKind(n, 0), 1);
    EXPECT_EQ(MatrixRowAttr(n, 7), 0);
    // The second column page shows the hidden text, the tenths and the label.
    WinTable[n]->matrixColumnPage = 2;
    EXPECT_EQ(MatrixCellCount(n, 1), 3);
    EXPECT_EQ(DefU16(MatrixColumnAt(n, 1, 2) + ColumnEntry::Type), 12);
}
