// window_close_test.cpp - closing record and settings windows asks about
// their changes: Yes stores, No drops them and frees the lock, Cancel
// keeps the window; a quit and a company switch close every window
// first, and the user's Cancel calls the quit off.
#include <gtest/gtest.h>

#include <vector>

#include "dict_offsets.h"
#include "platform/queue.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

using namespace WinTypes;

class ClosingWindows : public RecordFixture {
protected:
    // A customers window showing a stored record of the code, changed (state
    // 2, locked) to the name.
    static int ChangedCustomer(const char *code, const char *name)
    {
        int n = OpenOrActivateWindow(Customers, 0, 0, true, 0);
        if (n == 0) return 0;
        ToolbarCommand(n, 3, 0);
        Type(code);
        PutText(WinRecordBuffer(n), CUVc::Name, "Stored");
        ToolbarCommand(n, 8, 0);
        WinBeginEdit(n);
        PutText(WinRecordBuffer(n), CUVc::Name, name);
        return n;
    }
};

constexpr int Yes = 1, No = 4, Cancel = 2;

// True when another user may lock record `id` of customers now.
bool OtherMayLock(uint32_t id)
{
    std::vector<uint8_t> buffer(CUVc::Size);
    bool taken = false;
    AsOtherUser([&] {
        taken = RecordLockTakeCall(CUVc::Number, id, buffer.data());
        if (taken) RecordUnlockCall(CUVc::Number, id);
    });
    return taken;
}

TEST_F(ClosingWindows, CloseAsksAndYesStoresNoDropsCancelKeeps)
{
    int n = ChangedCustomer("C", "Changed");
    ASSERT_GT(n, 0);
    ASSERT_EQ(WinRecState(n), 2);
    uint32_t id = WinTable[n]->recordId;
    EXPECT_FALSE(OtherMayLock(id));

    Answer({Cancel});
    EXPECT_FALSE(CloseRecordWindow(n));
    ASSERT_TRUE(WinIsOpen(n));
    EXPECT_EQ(Asked(), std::vector<std::string>{TextOf(1519)});
    EXPECT_EQ(WinRecState(n), 2);

    Answer({No});
    EXPECT_TRUE(CloseRecordWindow(n));
    EXPECT_FALSE(WinIsOpen(n));
    EXPECT_TRUE(OtherMayLock(id));
    std::vector<uint8_t> stored(CUVc::Size);
    ASSERT_TRUE(StoredRecord(CUVc::Number, id, stored.data(), CUVc::Size));
    EXPECT_EQ(TextAt(stored.data(), CUVc::Name), "Stored");

    n = OpenOrActivateWindow(Customers, 0, id, true, 0);
    WinBeginEdit(n);
    PutText(WinRecordBuffer(n), CUVc::Name, "Kept by Yes");
    Answer({Yes});
    EXPECT_TRUE(CloseRecordWindow(n));
    EXPECT_FALSE(WinIsOpen(n));
    ASSERT_TRUE(StoredRecord(CUVc::Number, id, stored.data(), CUVc::Size));
    EXPECT_EQ(TextAt(stored.data(), CUVc::Name), "Kept by Yes");
    EXPECT_TRUE(OtherMayLock(id));

    // A new record whose store is refused on Yes keeps its window.
    int m = OpenOrActivateWindow(Customers, 0, 0, true, 0);
    ToolbarCommand(m, 3, 0);
    Type("C");   // the code exists
    Answer({Yes});
    EXPECT_FALSE(CloseRecordWindow(m));
    EXPECT_TRUE(WinIsOpen(m));
    EXPECT_EQ(WinRecState(m), 1);
    EXPECT_TRUE(Said(TextOf(1547)));
}

TEST_F(ClosingWindows, WindowClosedWithoutAskingFreesItsLock)
{
    int n = ChangedCustomer("L", "Locked");
    ASSERT_GT(n, 0);
    uint32_t id = WinTable[n]->recordId;
    EXPECT_FALSE(OtherMayLock(id));
    WinClose(n);
    EXPECT_TRUE(OtherMayLock(id));

    int s = OpenOrActivateWindow(Company, 0, 0, true, 0);
    ASSERT_GT(s, 0);
    WinBeginEdit(s);
    ASSERT_EQ(WinRecState(s), 2);
    bool other = true;
    AsOtherUser([&] { other = RegisterLockTakeCall(CompanyBlk::Number); });
    EXPECT_FALSE(other);
    WinClose(s);
    AsOtherUser([&] {
        other = RegisterLockTakeCall(CompanyBlk::Number);
        RegisterUnlockCall(CompanyBlk::Number);
    });
    EXPECT_TRUE(other);
}

TEST_F(ClosingWindows, QuitClosesEveryWindowAndCancelCallsItOff)
{
    int n = ChangedCustomer("Q", "Quitting");
    int s = OpenOrActivateWindow(Company, 0, 0, true, 0);
    ASSERT_GT(n, 0);
    ASSERT_GT(s, 0);
    Type("Quit Ltd");   // into the company's first field

    // The frame's close box asks to quit; Cancel on the customer keeps
    // both windows and the program.
    Answer({Cancel});
    ASSERT_TRUE(MsgPost(FrameWindow, PlMsg::Close, 0, 0));
    Drain();
    EXPECT_EQ(QuitFlag, 0);
    EXPECT_TRUE(WinIsOpen(n));
    EXPECT_TRUE(WinIsOpen(s));

    // Yes on both: the customer is updated, the company settings stored
    // (the settings window closes itself and counts as closed), and the
    // quit goes on.
    Answer({Yes, Yes});
    ASSERT_TRUE(MsgPost(FrameWindow, PlMsg::Close, 0, 0));
    Drain();
    EXPECT_EQ(QuitFlag, 1);
    EXPECT_FALSE(WinIsOpen(n));
    EXPECT_FALSE(WinIsOpen(s));
    EXPECT_EQ(TextAt(CompanyBlock, CompanyBlk::CompanyName), "Quit Ltd");
    std::vector<uint8_t> block(CompanyBlk::Size);
    ASSERT_TRUE(SettingsBlockRead(CompanyBlk::Number, block.data(), CompanyBlk::Size));
    EXPECT_EQ(TextAt(block.data(), CompanyBlk::CompanyName), "Quit Ltd");
}

TEST_F(ClosingWindows, ForcedQuitClosesEvenWhatTheUserWouldKeep)
{
    int n = ChangedCustomer("F", "Forced");
    ASSERT_GT(n, 0);
    uint32_t id = WinTable[n]->recordId;
    QuitFlag = 1;
    QuitForced = 1;
    Answer({Cancel});
    EXPECT_TRUE(QuitConfirm());
    EXPECT_FALSE(WinIsOpen(n));
    EXPECT_TRUE(OtherMayLock(id));
    QuitFlag = QuitForced = 0;
}

}  // namespace
