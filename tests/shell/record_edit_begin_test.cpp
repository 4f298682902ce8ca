// record_edit_begin_test.cpp - starting to change a shown record takes
// its lock: a record locked by another user stays read-only, one changed
// by another user since it was shown is reloaded (text 1404) before the
// user's change, typing into an empty window starts a new record, and a
// selection window is typed into as it is and closed by its Cancel.
#include <gtest/gtest.h>

#include <vector>

#include "core/date.h"
#include "core/field_access.h"
#include "dict_offsets.h"
#include "shell/field_editing.h"
#include "shell/window_mouse.h"
#include "recordwin/record_windows.h"
#include "shell/record_commands.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

using namespace WinTypes;

class EditBegin : public RecordFixture {
protected:
    // A customers window showing a stored record (state 0); its number.
    static int ShownCustomer(const char *code, const char *name)
    {
        int n = OpenOrActivateWindow(Customers, 0, 0, true, 0);
        if (n == 0) return 0;
        ToolbarCommand(n, 3, 0);
        Type(code);
        PutText(WinRecordBuffer(n), CUVc::Name, name);
        ToolbarCommand(n, 8, 0);
        return WinRecState(n) == 0 ? n : 0;
    }
};

TEST_F(EditBegin, LockedElsewhereStaysReadOnlyAndChangedElsewhereReloads)
{
    int n = ShownCustomer("E", "Before");
    ASSERT_GT(n, 0);
    uint32_t id = WinTable[n]->recordId;
    std::vector<uint8_t> other(CUVc::Size);

    AsOtherUser([&] { ASSERT_TRUE(RecordLockTakeCall(CUVc::Number, id, other.data())); });
    MessagesShown.clear();
    WinBeginEdit(n);
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(Texts::RecordInUse)});

    // The other user stores a change and lets go.
    PutText(other.data(), CUVc::Name, "Theirs");
    int result = -99;
    AsOtherUser([&] { RecUpdateChecked(CUVc::Number, other.data(), id, &result); });
    ASSERT_EQ(result, RecDone);
    MessagesShown.clear();
    WinBeginEdit(n);
    EXPECT_EQ(WinRecState(n), 2);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(1404)});
    EXPECT_EQ(TextAt(WinRecordBuffer(n), CUVc::Name), "Theirs");
    EXPECT_FALSE(WinRecordDiffers(n));

    // Unchanged meanwhile: the edit starts without a word.
    ToolbarCommand(n, 5, 0);
    MessagesShown.clear();
    WinBeginEdit(n);
    EXPECT_EQ(WinRecState(n), 2);
    EXPECT_TRUE(Shown().empty());
}

// The type may keep its records read-only (event 26).
uint8_t ReadOnlyType(int, int event, void *, void *) { return event == 26 ? 0 : 1; }

TEST_F(EditBegin, EmptyWindowStartsANewRecordUnlessTheTypeRefuses)
{
    int n = OpenOrActivateWindow(Customers, 0, 0, false, 0);
    ASSERT_GT(n, 0);
    ASSERT_EQ(WinTable[n]->recordId, 0u);
    WindowEventHandlerSet(Customers, ReadOnlyType);
    WinBeginEdit(n);
    WindowEventHandlerSet(Customers, nullptr);
    EXPECT_EQ(WinRecState(n), 0);
    WinBeginEdit(n);
    EXPECT_EQ(WinRecState(n), 1);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(EditBegin, SelectionWindowIsTypedIntoWithoutARecordOrALock)
{
    // A report's selection window holds the job record, which is never
    // stored: typing a date goes into it as typed.
    int n = OpenOrActivateWindow(VoucherPrintSel, 0, 0, false, 0);
    ASSERT_GT(n, 0);
    ASSERT_TRUE(WinGotoField(n, 1, true));
    Type("01.02.2024");
    EXPECT_EQ(WinRecState(n), 2);
    WinCommitField(n);
    DateRec from = GetDate(WinRecordBuffer(n), ReportParamsVc::DateFrom);
    EXPECT_EQ(from.day * 10000 + from.month * 100 + from.year % 100, 10224);
    EXPECT_EQ(RegRecordCount(ReportParamsVc::Number), 0u);
    EXPECT_TRUE(Shown().empty());
    // Its Cancel button (code 5) closes it without a question.
    DialogButton(n, 4, 5, 1);
    EXPECT_FALSE(WinIsOpen(n));
    EXPECT_TRUE(Asked().empty());
}

}  // namespace
