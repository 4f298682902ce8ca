// matrix_editing_test.cpp - rows of a record window's matrix are inserted,
// deleted and crossed out as the window's type allows, and a refused
// store on a cell of another column page shows that page with
// the cell focused.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/ui_text.h"
#include "database/access/register_hooks.h"
#include "recordwin/record_windows.h"
#include "shell/matrix_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

// Register 5's rows as TestRecordDict lays them out.
constexpr uint32_t RowSize = 40, RowAttr = 2, RowText = 4, RowHidden = 24, RowsAt = 76;
constexpr int FirstCell = 5, CellsPerRow = 3;

class MatrixEditing : public TestRecordWindows {
protected:
    void TearDown() override
    {
        WindowEventHandlerSet(TypeRows, nullptr);
        RegisterHooksClear();
        TestRecordWindows::TearDown();
    }
    // A window of type 580 on a new record with rows holding the texts
    // ("" leaves a row empty); its number.
    static int WithRows(std::initializer_list<const char *> texts)
    {
        int n = OpenOrActivateWindow(TypeRows, 0, 0, true, 0);
        if (!n || !WinNewRecord(n)) return 0;
        Type("R1");
        if (!MatrixResize(n, int(texts.size()))) return 0;
        MatrixRowsClear(n, 1, 0, int(texts.size()) - 1);
        int i = 0;
        for (const char *t : texts) {
            uint8_t *p = MemLock(WinMatrixRows(n));
            PutText(p + size_t(i++) * RowSize, RowText, t);
            MemUnlock(WinMatrixRows(n));
        }
        return n;
    }
    // The text of row `row` of n's matrix.
    static std::string RowTextOf(int n, int row)
    {
        uint8_t *p = MemLock(WinMatrixRows(n));
        std::string t = TextAt(p + size_t(row) * RowSize, RowText);
        MemUnlock(WinMatrixRows(n));
        return t;
    }
    // Events the type heard, with their rows; what it answers to 4, 9, 13.
    static inline std::vector<std::pair<int, int>> Heard;
    static inline uint8_t MayInsert = 1, MayDelete = 1, MayCross = 1;
    static uint8_t Recorder(int, int event, void *a, void *)
    {
        if (event == 4 || event == 9 || event == 12 || event == 13)
            Heard.emplace_back(event, a ? *static_cast<int16_t *>(a) : -1);
        if (event == 4) return MayDelete;
        if (event == 9) return MayInsert;
        if (event == 13) return MayCross;
        return 1;
    }
    static std::vector<std::pair<int, int>> HeardOnly(int event)
    {
        std::vector<std::pair<int, int>> out;
        for (auto e : Heard)
            if (e.first == event) out.push_back(e);
        return out;
    }
};

TEST_F(MatrixEditing, RowsAreInsertedDeletedAndCrossedOutAsTheTypeAllows)
{
    int n = WithRows({"a", "b", "c"});
    ASSERT_GT(n, 0);
    Heard.clear();
    MayInsert = MayDelete = MayCross = 1;

    // A type without a say refuses inserts in the middle of its rows.
    MatrixRowInsertCmd(n, 1);
    EXPECT_EQ(WinMatrixRowCount(n), 3);

    WindowEventHandlerSet(TypeRows, Recorder);
    MatrixRowInsertCmd(n, 1);
    ASSERT_EQ(WinMatrixRowCount(n), 4);
    EXPECT_EQ(RowTextOf(n, 0), "a");
    EXPECT_EQ(RowTextOf(n, 1), "");
    EXPECT_EQ(RowTextOf(n, 2), "b");
    EXPECT_EQ(MatrixRowKind(n, 1), 1);
    // After the last row, and with the matrix full, nothing is inserted
    // and the full matrix does not even ask.
    MatrixRowInsertCmd(n, 4);
    EXPECT_EQ(WinMatrixRowCount(n), 4);
    Heard.clear();
    ASSERT_TRUE(MatrixResize(n, MatrixMaxRows(n)));
    MatrixRowInsertCmd(n, 0);
    EXPECT_EQ(WinMatrixRowCount(n), MatrixMaxRows(n));
    EXPECT_TRUE(HeardOnly(9).empty());
    ASSERT_TRUE(MatrixResize(n, 4));

    // Refused by event 4 and, whatever the handler says to 13, by the
    // type's emptying rule (type 580 empties no row): the row stays as it
    // was, and since the type said nothing the user is told that the
    // record keeps it. (The payment windows' rows are crossed out when
    // their rule allows: edit_row_rules_test.cpp.)
    Heard.clear();
    MayDelete = 0;
    MessagesShown.clear();
    MatrixRowDeleteCmd(n, 2);
    EXPECT_EQ(WinMatrixRowCount(n), 4);
    EXPECT_EQ(MatrixRowAttr(n, 2), 0);
    EXPECT_EQ(Shown().size(), 1u) << "the kept row is not told";
    EXPECT_EQ(HeardOnly(13), (std::vector<std::pair<int, int>>{{13, 2}}));
    EXPECT_TRUE(HeardOnly(12).empty());
    // A row crossed out before is stored with its mark (below).
    uint16_t crossed = 1;
    memcpy(MemLock(WinMatrixRows(n)) + 2 * RowSize + RowAttr, &crossed, 2);
    MemUnlock(WinMatrixRows(n));
    // Refused by both: the row stays as it was.
    MayCross = 0;
    MatrixRowDeleteCmd(n, 0);
    EXPECT_EQ(MatrixRowAttr(n, 0), 0);
    EXPECT_EQ(WinMatrixRowCount(n), 4);
    // Allowed: gone.
    MayDelete = 1;
    MatrixRowDeleteCmd(n, 0);
    EXPECT_EQ(WinMatrixRowCount(n), 3);
    EXPECT_EQ(RowTextOf(n, 0), "");

    // The crossed-out row is stored with its mark.
    PutText(MemLock(WinMatrixRows(n)), RowText, "x");
    MemUnlock(WinMatrixRows(n));
    ToolbarCommand(n, 8, 0);
    ASSERT_EQ(WinRecState(n), 0) << (Shown().empty() ? "" : Shown().front());
    std::vector<uint8_t> stored(80);
    ASSERT_TRUE(StoredRecord(RowRegister, WinTable[n]->recordId, stored.data(), 80));
    MemBlock rows;
    memcpy(&rows, stored.data() + RowsAt, 4);
    ASSERT_EQ(MemSize(rows), 3 * RowSize);
    uint16_t attr;
    memcpy(&attr, MemLock(rows) + 1 * RowSize + RowAttr, 2);
    MemUnlock(rows);
    EXPECT_EQ(attr, 1);
    MemFree(&rows);
}

TEST_F(MatrixEditing, RefusalOnACellOfTheSecondColumnPageShowsThatPage)
{
    int n = WithRows({"a", "b"});
    ASSERT_GT(n, 0);
    RegisterHookTable[RowRegister].validateRecord = [](int, uint8_t *, uint8_t *, int) {
        return FieldErrorAt(0, nullptr, uint16_t(RowsAt), 1, uint16_t(RowHidden));
    };
    ToolbarCommand(n, 8, 0);
    EXPECT_EQ(WinRecState(n), 1);
    EXPECT_EQ(WinTable[n]->matrixColumnPage, 2);
    // The hidden text is the first cell of column page 2, on row 1.
    EXPECT_EQ(WinTable[n]->currentField, FirstCell + 1 * CellsPerRow);
    EXPECT_EQ(RegRecordCount(RowRegister), 0u);
}

}  // namespace
