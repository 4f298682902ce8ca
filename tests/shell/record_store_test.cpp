// record_store_test.cpp - the OK of a record window: a new record is
// inserted and a changed one updated as the window holds them, the
// window then shows them as stored; a refused store keeps the edit state,
// the record as edited and says why once.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dict_offsets.h"
#include "platform/queue.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

using namespace WinTypes;
constexpr int OkCommand = 8, NewCommand = 3;

class RecordStore : public RecordFixture {
protected:
    // A customers window with a new record: the code typed into the
    // focused first field, the name put into the record; its number.
    static int NewCustomer(const char *code, const char *name)
    {
        int n = OpenOrActivateWindow(Customers, 0, 0, true, 0);
        EXPECT_GT(n, 0);
        if (n == 0) return 0;
        ToolbarCommand(n, NewCommand, 0);
        Type(code);
        PutText(WinRecordBuffer(n), CUVc::Name, name);
        return n;
    }
    // The same, stored by OK.
    static int StoredCustomer(const char *code, const char *name)
    {
        int n = NewCustomer(code, name);
        if (n) ToolbarCommand(n, OkCommand, 0);
        return n;
    }
};

TEST_F(RecordStore, OkInsertsThenUpdatesAndTheRecordReopensAsStored)
{
    int n = OpenOrActivateWindow(Customers, 0, 0, false, 0);
    ASSERT_GT(n, 0);
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(WinTable[n]->recordId, 0u);

    ToolbarCommand(n, NewCommand, 0);
    ASSERT_EQ(WinRecState(n), 1);
    EXPECT_EQ(TitleOf(n).substr(TitleOf(n).size() - TextOf(1015).size()), TextOf(1015));
    Type("C100");
    uint8_t *r = WinRecordBuffer(n);
    PutText(r, CUVc::Name, "Acme Ltd");
    PutText(r, CUVc::Addr1, "1 High Street");
    ToolbarCommand(n, OkCommand, 0);

    EXPECT_EQ(WinRecState(n), 0);
    uint32_t id = WinTable[n]->recordId;
    ASSERT_NE(id, 0u);
    EXPECT_EQ(TitleOf(n), TextOf(9540) + ": " + TextOf(1014));
    std::vector<uint8_t> stored(CUVc::Size);
    ASSERT_TRUE(StoredRecord(CUVc::Number, id, stored.data(), CUVc::Size));
    EXPECT_EQ(TextAt(stored.data(), CUVc::Code), "C100");
    EXPECT_EQ(TextAt(stored.data(), CUVc::Addr1), "1 High Street");

    // A change starts the edit (state 2, the record locked) and OK updates.
    WinBeginEdit(n);
    ASSERT_EQ(WinRecState(n), 2);
    PutText(WinRecordBuffer(n), CUVc::Name, "Acme Trading");
    ToolbarCommand(n, OkCommand, 0);
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(WinTable[n]->recordId, id);
    EXPECT_EQ(RegRecordCount(CUVc::Number), 1u);
    // The update freed the lock: another user may take it now.
    AsOtherUser([&] { EXPECT_TRUE(RecordLockTakeCall(CUVc::Number, id, stored.data())); });
    AsOtherUser([&] { EXPECT_TRUE(RecordUnlockCall(CUVc::Number, id)); });

    WinClose(n);
    int m = OpenOrActivateWindow(Customers, 0, id, true, 0);
    ASSERT_GT(m, 0);
    EXPECT_EQ(WinTable[m]->recordId, id);
    EXPECT_EQ(TextAt(WinRecordBuffer(m), CUVc::Name), "Acme Trading");
    EXPECT_EQ(WinRecState(m), 0);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordStore, RefusedStoresKeepStateAndRecordAndSayWhyOnce)
{
    int first = StoredCustomer("C1", "First");
    ASSERT_GT(first, 0);
    uint32_t firstId = WinTable[first]->recordId;
    ASSERT_NE(firstId, 0u);

    // The code exists: the layer says so once, the window stays on the new
    // record as typed, and the field named is the code.
    int n = NewCustomer("C1", "Second");
    MessagesShown.clear();
    ToolbarCommand(n, OkCommand, 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(1547)});
    EXPECT_EQ(WinRecState(n), 1);
    EXPECT_EQ(TextAt(WinRecordBuffer(n), CUVc::Name), "Second");
    EXPECT_EQ(FieldErrorPos.field, CUVc::Code);
    EXPECT_EQ(RegRecordCount(CUVc::Number), 1u);
    // Mended and stored again, it goes in.
    Key(PlKey::Back);
    Type("2");
    ToolbarCommand(n, OkCommand, 0);
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(RegRecordCount(CUVc::Number), 2u);

    // Deleted by someone else while being changed: the update says the
    // record is gone and the window keeps the change and state 2.
    WinBeginEdit(first);
    ASSERT_EQ(WinRecState(first), 2);
    PutText(WinRecordBuffer(first), CUVc::Name, "First, changed");
    ASSERT_TRUE(DeleteHeld(CUVc::Number, firstId, CUVc::Size));
    MessagesShown.clear();
    ToolbarCommand(first, OkCommand, 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(RecNotFound)});
    EXPECT_EQ(WinRecState(first), 2);
    EXPECT_EQ(TextAt(WinRecordBuffer(first), CUVc::Name), "First, changed");
    EXPECT_EQ(RegRecordCount(CUVc::Number), 1u);
}

TEST_F(RecordStore, BrowsingStoresFirstAndDeleteOfTheLastRecordCloses)
{
    int n = StoredCustomer("A", "Alpha");
    ASSERT_GT(n, 0);
    ToolbarCommand(n, NewCommand, 0);
    Type("B");
    PutText(WinRecordBuffer(n), CUVc::Name, "Beta");
    // Browsing back stores the new record first, then shows the one before.
    ToolbarCommand(n, 2, 0);
    EXPECT_EQ(RegRecordCount(CUVc::Number), 2u);
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(TextAt(WinRecordBuffer(n), CUVc::Code), "A");
    ToolbarCommand(n, 1, 0);
    EXPECT_EQ(TextAt(WinRecordBuffer(n), CUVc::Code), "B");

    // Deleting with a record left shows that record; deleting the last closes.
    ToolbarCommand(n, 6, 0);
    ASSERT_TRUE(WinIsOpen(n));
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(TextAt(WinRecordBuffer(n), CUVc::Code), "A");
    EXPECT_EQ(RegRecordCount(CUVc::Number), 1u);
    ToolbarCommand(n, 6, 0);
    EXPECT_FALSE(WinIsOpen(n));
    EXPECT_EQ(RegRecordCount(CUVc::Number), 0u);
}

TEST_F(RecordStore, CancelRereadsTheStoredRecordAndClosesAnUnstoredOne)
{
    int n = StoredCustomer("K", "Kept");
    ASSERT_GT(n, 0);
    uint32_t id = WinTable[n]->recordId;
    WinBeginEdit(n);
    PutText(WinRecordBuffer(n), CUVc::Name, "Dropped");
    ToolbarCommand(n, 5, 0);
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(TextAt(WinRecordBuffer(n), CUVc::Name), "Kept");
    // The reread freed the lock.
    std::vector<uint8_t> other(CUVc::Size);
    AsOtherUser([&] { EXPECT_TRUE(RecordLockTakeCall(CUVc::Number, id, other.data())); });
    AsOtherUser([&] { EXPECT_TRUE(RecordUnlockCall(CUVc::Number, id)); });

    int m = NewCustomer("N", "Never stored");
    ASSERT_EQ(WinTable[m]->recordId, 0u);
    ToolbarCommand(m, 5, 0);
    EXPECT_FALSE(WinIsOpen(m));
    EXPECT_EQ(RegRecordCount(CUVc::Number), 1u);
}

// A register whose rules are not built (marked waiting, as customers are
// here) refuses the window's OK: a new record and a change are both told
// 9503 once, the window keeps its state and the record as edited, and the
// stored record stays as it was.
TEST_F(RecordStore, AWaitingRegisterRefusesTheOk)
{
    int stored = StoredCustomer("C1", "First");
    ASSERT_GT(stored, 0);
    uint32_t id = WinTable[stored]->recordId;
    ASSERT_NE(id, 0u);
    RegisterHookTable[CUVc::Number].rulesWaiting = true;

    int n = NewCustomer("C2", "Second");
    MessagesShown.clear();
    ToolbarCommand(n, OkCommand, 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(9503)});
    EXPECT_EQ(WinRecState(n), 1);
    EXPECT_EQ(TextAt(WinRecordBuffer(n), CUVc::Name), "Second");
    EXPECT_EQ(RegRecordCount(CUVc::Number), 1u);

    WinBeginEdit(stored);
    ASSERT_EQ(WinRecState(stored), 2);
    PutText(WinRecordBuffer(stored), CUVc::Name, "First, changed");
    MessagesShown.clear();
    ToolbarCommand(stored, OkCommand, 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(9503)});
    EXPECT_EQ(WinRecState(stored), 2);
    std::vector<uint8_t> back(CUVc::Size);
    ASSERT_TRUE(StoredRecord(CUVc::Number, id, back.data(), CUVc::Size));
    EXPECT_EQ(TextAt(back.data(), CUVc::Name), "First");
    RegisterHookTable[CUVc::Number].rulesWaiting = false;
}

TEST_F(RecordStore, EmptyRowBetweenFilledRowsStopsTheStoreAndTrailingOnesGo)
{
    int n = OpenOrActivateWindow(AccessGroups, 0, 0, true, 0);
    ASSERT_GT(n, 0);
    ToolbarCommand(n, NewCommand, 0);
    Type("G1");
    // Rows of (type, item, right): filled, empty, filled, empty, empty.
    const uint16_t rows[5][3] = {{3, 590, 1}, {0, 0, 0}, {3, 591, 2}, {0, 0, 0}, {0, 0, 0}};
    ASSERT_TRUE(MatrixResize(n, 5));
    memcpy(MemLock(WinMatrixRows(n)), rows, sizeof rows);
    MemUnlock(WinMatrixRows(n));
    int first = 0, cells = 0;
    MatrixGeometry(n, &first, &cells);
    ASSERT_EQ(cells, 3);

    ToolbarCommand(n, OkCommand, 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(1006)});
    EXPECT_EQ(WinRecState(n), 1);
    EXPECT_EQ(WinMatrixRowCount(n), 3);
    EXPECT_EQ(WinTable[n]->currentField, first + 1 * cells);
    EXPECT_EQ(RegRecordCount(AccessVc::Number), 0u);

    // Filled in, the group is stored with its three rows.
    uint16_t item = 592;
    memcpy(MemLock(WinMatrixRows(n)) + AccessVc::Rows::Size + AccessVc::Rows::Item, &item, 2);
    MemUnlock(WinMatrixRows(n));
    ToolbarCommand(n, OkCommand, 0);
    ASSERT_EQ(WinRecState(n), 0);
    std::vector<uint8_t> stored(AccessVc::Size);
    ASSERT_TRUE(StoredRecord(AccessVc::Number, WinTable[n]->recordId, stored.data(), AccessVc::Size));
    MemBlock h;
    memcpy(&h, stored.data() + AccessVc::Matrix, 4);
    EXPECT_EQ(MemSize(h), 3 * AccessVc::Rows::Size);
    MemFree(&h);
}

}  // namespace
