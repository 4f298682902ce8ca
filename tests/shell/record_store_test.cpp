// record_store_test.cpp - the OK of a record window: a new record is
// inserted and a changed one updated as the window holds them, the
// window then shows them as stored; a refused store keeps the edit state,
// the record as edited and says why once.
#include <gtest/gtest.h>

#include <vector>

#include "dict_offsets.h"
#include "shell/record_commands.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

using namespace WinTypes;
using RecordStore = RecordFixture;
constexpr int OkCommand = 8, NewCommand = 3;

// A customers window with a new record of code and name, stored by OK;
// its window number.
int StoredCustomer(const char *code, const char *name)
{
    int n = OpenOrActivateWindow(Customers, 0, 0, true, 0);
    EXPECT_GT(n, 0);
    if (n == 0) return 0;
    ToolbarCommand(n, NewCommand, 0);
    PutText(WinRecordBuffer(n), CUVc::Code, code);
    PutText(WinRecordBuffer(n), CUVc::Name, name);
    ToolbarCommand(n, OkCommand, 0);
    return n;
}

TEST_F(RecordStore, OkInsertsThenUpdatesAndTheRecordReopensAsStored)
{
    int n = OpenOrActivateWindow(Customers, 0, 0, false, 0);
    ASSERT_GT(n, 0);
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(WinTable[n]->recordId, 0u);

    ToolbarCommand(n, NewCommand, 0);
    ASSERT_EQ(WinRecState(n), 1);
    EXPECT_EQ(TitleOf(n).substr(TitleOf(n).size() - TextOf(1015).size()), TextOf(1015));
    uint8_t *r = WinRecordBuffer(n);
    PutText(r, CUVc::Code, "C100");
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
    int n = OpenOrActivateWindow(Customers, 0, 0, true, 0);
    ToolbarCommand(n, NewCommand, 0);
    PutText(WinRecordBuffer(n), CUVc::Code, "C1");
    PutText(WinRecordBuffer(n), CUVc::Name, "Second");
    MessagesShown.clear();
    ToolbarCommand(n, OkCommand, 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(1547)});
    EXPECT_EQ(WinRecState(n), 1);
    EXPECT_EQ(TextAt(WinRecordBuffer(n), CUVc::Name), "Second");
    EXPECT_EQ(FieldErrorPos.field, CUVc::Code);
    EXPECT_EQ(RegRecordCount(CUVc::Number), 1u);
    // Mended and stored again, it goes in.
    PutText(WinRecordBuffer(n), CUVc::Code, "C2");
    ToolbarCommand(n, OkCommand, 0);
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(RegRecordCount(CUVc::Number), 2u);

    // Deleted by someone else while being changed: the update says the
    // record is gone and the window keeps the change and state 2.
    WinBeginEdit(first);
    ASSERT_EQ(WinRecState(first), 2);
    PutText(WinRecordBuffer(first), CUVc::Name, "First, changed");
    std::vector<uint8_t> gone(CUVc::Size);
    ASSERT_TRUE(StoredRecord(CUVc::Number, firstId, gone.data(), CUVc::Size));
    DbHoldBegin();
    ASSERT_TRUE(RecDeleteHooked(CUVc::Number, gone.data(), firstId));
    ASSERT_TRUE(DbHoldEnd());
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
    PutText(WinRecordBuffer(n), CUVc::Code, "B");
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

    int m = OpenOrActivateWindow(Customers, 0, 0, true, 0);
    ToolbarCommand(m, NewCommand, 0);
    PutText(WinRecordBuffer(m), CUVc::Code, "N");
    WinTable[m]->recordId = 0;
    ToolbarCommand(m, 5, 0);
    EXPECT_FALSE(WinIsOpen(m));
    EXPECT_EQ(RegRecordCount(CUVc::Number), 1u);
}

}  // namespace
