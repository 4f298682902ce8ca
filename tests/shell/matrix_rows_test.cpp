// The matrix's rows and the cell under edit: trimming empty rows at save
// (every stored field type counts as a value), clearing rows and the
// type's say on each, short blocks, deleting a row, and focusing a cell:
// the matrix grows to the row, a crossed-out row is read-only, a label
// or a row past the most rows takes no focus.
#include <cstring>
#include <vector>

#include "core/decimal.h"
#include "core/field_types.h"
#include "core/window_entries.h"
#include "recordwin/record_windows.h"
#include "shell/window_layout.h"
#include "tests/shell/record_fixture.h"

namespace {

constexpr int RowSize = 40, First = 5, Cells = 3;

// The events the window type was told, with their 16-bit argument (row
// number for 3, the value for 29 and 30).
std::vector<std::pair<int, int>> Events;
uint8_t Recorder(int, int event, void *, void *b)
{
    Events.push_back({event, event == 3 ? *static_cast<int16_t *>(b) : 0});
    return 1;
}
uint8_t RecorderA(int, int event, void *a, void *b)
{
    if (event == 29 || event == 30) {
        Events.push_back({event, *static_cast<int16_t *>(a)});
        return 1;
    }
    return Recorder(0, event, a, b);
}

// The events of one number, in order.
std::vector<int> Of(int event)
{
    std::vector<int> out;
    for (auto &[e, v] : Events)
        if (e == event) out.push_back(v);
    return out;
}

// The test dictionary without its label column: only stored values.
std::string WithoutLabel()
{
    std::string dict = TestRecordDict;
    std::string label = "  column  x 200 type label labeltext 9610 colpage 2 heading 9610\n";
    size_t at = dict.find(label);
    if (at != std::string::npos) dict.erase(at, label.size());
    return dict;
}

}  // namespace

class MatrixRows : public TestRecordWindows {
protected:
    void SetUp() override
    {
        TestRecordWindows::SetUp();
        if (HasFatalFailure()) return;
        Events.clear();
        WindowEventHandlerSet(TypeRows, RecorderA);
        n = Open(TypeRows);
        ASSERT_GT(n, 0);
    }
    void TearDown() override
    {
        WindowEventHandlerSet(TypeRows, nullptr);
        TestRecordWindows::TearDown();
    }
    // Row r's bytes (the rows stay valid until the next resize).
    uint8_t *Row(int r) { return MemLock(WinMatrixRows(n)) + r * RowSize; }
    // Gives the matrix `count` cleared rows of kind 1.
    void Rows(int count)
    {
        ASSERT_TRUE(MatrixResize(n, count));
        MatrixRowsClear(n, 1, 0, count - 1);
        Events.clear();
    }
    int n = 0;
};

class MatrixRowsNoLabel : public MatrixRows {
protected:
    std::string InterfaceSource() override { return WithoutLabel(); }
};

TEST_F(MatrixRowsNoLabel, TrimDropsTrailingEmptyRowsAndKeepsEveryStoredValue)
{
    // [empty, filled, empty, empty] keeps two rows and names row 0.
    Rows(4);
    PStringFromC(Row(1) + 4, "ab");
    EXPECT_EQ(MatrixTrimEmptyRows(n), 0);
    EXPECT_EQ(WinMatrixRowCount(n), 2);

    // A row holding only a flag, or only a one-decimal amount, is data.
    Rows(3);
    Row(0)[22] = 1;
    PString five;
    PStringFromC(five, "5");
    ASSERT_TRUE(FieldFromText(Row(1) + 28, FtAmount1, 0, five));
    EXPECT_EQ(MatrixTrimEmptyRows(n), NoField);
    EXPECT_EQ(WinMatrixRowCount(n), 2);
    // A zero amount is not a blank one.
    Rows(1);
    PackedDecimal zero;
    DecSetZero(&zero);
    memcpy(Row(0) + 10, &zero, sizeof zero);
    EXPECT_EQ(MatrixTrimEmptyRows(n), NoField);
    EXPECT_EQ(WinMatrixRowCount(n), 1);

    // All empty: no rows, and no empty row between kept ones.
    Rows(3);
    EXPECT_EQ(MatrixTrimEmptyRows(n), NoField);
    EXPECT_EQ(WinMatrixRowCount(n), 0);
    EXPECT_EQ(MatrixTrimEmptyRows(n), NoField) << "nothing to trim";
}

TEST_F(MatrixRows, ALabelColumnMakesEveryRowOfItsKindAValue)
{
    Rows(3);
    EXPECT_EQ(MatrixTrimEmptyRows(n), NoField);
    EXPECT_EQ(WinMatrixRowCount(n), 3);
    // Rows of a kind without a label column are still trimmed.
    uint16_t two = 2;
    memcpy(Row(2), &two, 2);
    EXPECT_EQ(MatrixTrimEmptyRows(n), NoField);
    EXPECT_EQ(WinMatrixRowCount(n), 2);
}

TEST_F(MatrixRows, ClearingEmptiesEachRowAndTellsTheTypeOncePerRow)
{
    ASSERT_TRUE(MatrixResize(n, 3));
    memset(Row(1), 0x5A, RowSize);
    MatrixRowsClear(n, 1, 1, 2);
    EXPECT_EQ(Of(3), (std::vector<int>{1, 2}));
    EXPECT_EQ(MatrixRowKind(n, 1), 1);
    EXPECT_EQ(MatrixRowAttr(n, 1), 0);
    EXPECT_EQ(Row(1)[4], 0) << "text emptied";
    PackedDecimal blank;
    DecSetBlank(&blank);
    EXPECT_EQ(memcmp(Row(1) + 10, &blank, sizeof blank), 0) << "amount blank";
    EXPECT_EQ(Row(1)[24], 0) << "hidden text of page 2 emptied too";
    EXPECT_EQ(Row(0)[0], 0) << "row 0 untouched";

    // A block that does not hold the last row is left alone.
    Events.clear();
    MatrixRowsClear(n, 1, 2, 3);
    EXPECT_TRUE(Of(3).empty());
    // A block of one and a half rows counts one row, and trimming it
    // reads nothing past the block.
    MemBlock rows = WinMatrixRows(n);
    ASSERT_TRUE(MemRealloc(&rows, RowSize + RowSize / 2));
    EXPECT_EQ(WinMatrixRowCount(n), 1);
    MatrixRowsClear(n, 1, 0, 1);
    EXPECT_TRUE(Of(3).empty());
    EXPECT_EQ(MatrixTrimEmptyRows(n), NoField);
}

TEST_F(MatrixRows, DeletingARowMovesTheLaterOnesUp)
{
    Rows(3);
    for (int r = 0; r < 3; r++) Row(r)[5] = uint8_t('a' + r), Row(r)[4] = 1;
    MatrixDeleteRow(n, 1);
    ASSERT_EQ(WinMatrixRowCount(n), 2);
    EXPECT_EQ(Row(0)[5], 'a');
    EXPECT_EQ(Row(1)[5], 'c');
    MatrixDeleteRow(n, 2);
    MatrixDeleteRow(n, -1);
    EXPECT_EQ(WinMatrixRowCount(n), 2);
}

TEST_F(MatrixRows, FocusingACellGrowsTheMatrixShowsItsPageAndBindsTheCell)
{
    Rows(1);
    ASSERT_FALSE(WinPageShown(n, 2));
    int F = First + 3 * Cells + 1;   // row 3, the amount
    ASSERT_TRUE(WinFocusField(n, F));
    EXPECT_EQ(WinMatrixRowCount(n), 4);
    EXPECT_EQ(Of(3), (std::vector<int>{1, 2, 3}));
    for (int r = 1; r < 4; r++) EXPECT_EQ(MatrixRowKind(n, r), 1);
    EXPECT_TRUE(WinPageShown(n, 2));
    EXPECT_EQ(WinFocusFieldNumber(n), F);
    EXPECT_EQ(WinSelectedRow(n), 3);
    EXPECT_EQ(Of(30), (std::vector<int>{3}));
    EXPECT_EQ(Of(29), (std::vector<int>{F}));
    EXPECT_TRUE(MatrixAtEnd(n));

    uint8_t b[FieldEntry::BindingSize];
    int row;
    ASSERT_TRUE(MatrixCellBinding(n, F, b, &row));
    EXPECT_EQ(row, 3);
    EXPECT_EQ(DefU32(b + FieldEntry::Offset), uint32_t(3 * RowSize + 10));
    EXPECT_EQ(DefU16(b + FieldEntry::Type), FtAmount2);
    EXPECT_EQ(DefU16(b + FieldEntry::Access), AccessAlways);
    EXPECT_EQ(b[FieldEntry::CellMark], 1);
    EXPECT_EQ(b[FieldEntry::Align], 1);
    EXPECT_EQ(DefU16(b + FieldEntry::Page), 2);
    MacRect r, text;
    WinBindingRect(n, b, &r);
    MatrixCellRect(n, 1, &text, 3, 1);
    EXPECT_EQ(r.top, text.top) << "the binding covers the cell's row";
    EXPECT_EQ(r.bottom, text.bottom);

    // A crossed-out row is read-only.
    uint16_t crossed = 1;
    memcpy(Row(2) + 2, &crossed, 2);
    ASSERT_TRUE(MatrixCellBinding(n, First + 2 * Cells, b, &row));
    EXPECT_EQ(DefU16(b + FieldEntry::Access), AccessReadOnly);
}

TEST_F(MatrixRows, LabelsMissingColumnsAndRowsPastTheLastTakeNoFocus)
{
    Rows(1);
    WinTable[n]->matrixColumnPage = 2;
    EXPECT_FALSE(WinFocusField(n, First + 2)) << "the label column";
    uint16_t two = 2;
    memcpy(Row(0), &two, 2);
    EXPECT_FALSE(WinFocusField(n, First)) << "no column of kind 2";
    EXPECT_FALSE(WinFocusField(n, First + 50 * Cells)) << "row 50 of at most 50";
    EXPECT_EQ(WinMatrixRowCount(n), 1);
    EXPECT_FALSE(WinFocusField(n, 0));
    EXPECT_EQ(WinFocusFieldNumber(n), 0);
    // A header field on a hidden page shows its page.
    WinShowPage(n, 2, false);
    ASSERT_TRUE(WinFocusField(n, 4));
    EXPECT_TRUE(WinPageShown(n, 1));

    // The same row again is no new selection; forced, it is.
    Events.clear();
    WinSelectRow(n, 0, false);
    WinSelectRow(n, 0, false);
    WinSelectRow(n, 0, true);
    EXPECT_EQ(Of(30), (std::vector<int>{0, 0}));
}
