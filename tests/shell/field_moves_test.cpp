// field_moves_test.cpp - focus moves between the fields of a record
// window and the screen field of a record field. Shift+Tab from the first
// field wraps to the last cell of the last existing row and never grows
// the matrix; without a matrix Tab and Shift+Tab wrap at both ends. The moves need the layout's geometry: without it they are
// skipped, saying so.
#include <gtest/gtest.h>

#include "platform/queue.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/shell/record_fixture.h"

namespace {

// Offsets of register 5 of the test dictionary.
namespace Row {
constexpr uint32_t Code = 0, Secret = 12, Day = 36, Lines = 76, Tenths = 28;
}

using FieldMoves = TestRecordWindows;

TEST_F(FieldMoves, ScreenFieldOfAHeaderFieldIsItsPlaceInTheLayout)
{
    int n = Open(TypeRows);
    ASSERT_GT(n, 0);
    WinTable[n]->matrixColumnPage = 1;
    int page = -1;
    EXPECT_EQ(WinFieldNumberOf(n, Row::Code, 0, 0, &page), 1);
    EXPECT_EQ(page, 1);
    EXPECT_EQ(WinFieldNumberOf(n, Row::Day, 0, 0, &page), 4);
    EXPECT_EQ(WinFieldNumberOf(n, 2, 0, 0, &page), NoField);   // inside the code, not its start
}

TEST_F(FieldMoves, ShiftTabFromTheFirstFieldEndsInTheLastExistingRow)
{
    int n = Open(TypeRows);
    ASSERT_GT(n, 0);
    if (!WinHasMatrix(n)) GTEST_SKIP() << "the matrix geometry is not built in this tree";
    WinSetRecState(n, 1);
    WinTable[n]->matrixColumnPage = 1;
    // Two rows as the window makes them: cleared, of kind 1.
    ASSERT_TRUE(MatrixResize(n, 2));
    MatrixRowsClear(n, 1, 0, 1);
    ASSERT_TRUE(WinGotoField(n, 1, true));
    Key(PlKey::Tab, true);
    int first, cells;
    MatrixGeometry(n, &first, &cells);
    EXPECT_EQ(WinTable[n]->currentField, first + 2 * cells - 1);
    EXPECT_EQ(WinMatrixRowCount(n), 2);
    // And back forward: Tab from there steps into a third row, which is added.
    Key(PlKey::Tab);
    EXPECT_EQ(WinTable[n]->currentField, first + 2 * cells);
    EXPECT_EQ(WinMatrixRowCount(n), 3);

    // A cell found by its row and offset on the other column page gives
    // that page back.
    int page = 0;
    EXPECT_EQ(WinFieldNumberOf(n, Row::Lines, 1, Row::Tenths, &page), first + cells + 1);
    EXPECT_EQ(page, 2);
}

TEST_F(FieldMoves, TabAndShiftTabWrapWithoutMatrix)
{
    int n = Open(TypeRowsSettings);
    ASSERT_GT(n, 0);
    if (WinFieldCount(n) != 2) GTEST_SKIP() << "the layout's field count is not built in this tree";
    WinSetRecState(n, 1);
    ASSERT_TRUE(WinGotoField(n, 2, true));
    Key(PlKey::Tab);
    EXPECT_EQ(WinTable[n]->currentField, 1);
    Key(PlKey::Tab, true);
    EXPECT_EQ(WinTable[n]->currentField, 2);
}

}  // namespace
