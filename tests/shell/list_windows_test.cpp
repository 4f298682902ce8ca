// list_windows_test.cpp - the command states that the Record menu and the
// top bar's buttons follow: open, new, OK and cancel by window kind, the
// record arrows, and what counts as one selected list row.
#include <gtest/gtest.h>

#include <cstring>

#include "core/memblock.h"
#include "shell/list_windows.h"
#include "tests/shell/shell_fixture.h"

namespace {

class ListWindowsTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        UseDict("wintype 2 { kind list related 3 }\n"
                "wintype 4 { kind list }\n"
                "wintype 5 { kind choicelist }\n"
                "wintype 3 { kind record register 5 }\n"
                "wintype 7 { kind record }\n"
                "wintype 8 { kind preview }\n"
                "wintype 10 { kind output }\n"
                "wintype 6 { kind plain }\n"
                "wintype 12 { kind plain }\n"
                "wintype 14 { kind plain }\n"
                "wintype 15 { kind list related 3 menukind 1 }\n"
                "wintype 353 { kind record register 5 }\n"
                "register 5 TestVc size 20 { Code 0 text 10 }\n");
    }
    int Window(int type, int state = 0)
    {
        int n = WinSlotAlloc();
        EXPECT_NE(n, WinTableFull);
        WinTable[n]->windowType = uint16_t(type);
        WinTable[n]->editState = uint16_t(state);
        return n;
    }
    // The four states as a string "onkc" with '-' for each one off.
    static std::string States(int w)
    {
        bool open, nw, ok, cancel;
        EditCommandsState(w, &open, &nw, &ok, &cancel);
        return std::string{open ? 'o' : '-', nw ? 'n' : '-', ok ? 'k' : '-', cancel ? 'c' : '-'};
    }
    static int Arrows(int w)
    {
        bool prev, next;
        int icon;
        RecordMoveState(w, &prev, &next, &icon);
        EXPECT_EQ(icon, 400 + (next ? 1 : 0) + (prev ? 2 : 0));
        return icon;
    }
};

TEST_F(ListWindowsTest, EditCommandStatesFollowKindTypeAndState)
{
    int list = Window(2);
    EXPECT_EQ(States(list), "-nk-");   // no row selected: nothing to open
    WinTable[list]->selCurrent = 2;
    EXPECT_EQ(States(list), "onk-");
    WinTable[list]->selStart = 1;      // several rows: nothing single to open
    WinTable[list]->selEnd = 2;
    EXPECT_EQ(States(list), "-nk-");
    EXPECT_EQ(States(Window(4)), "----");   // a list without a record window
    EXPECT_EQ(States(Window(5)), "--k-");   // a choice list picks with OK

    int record = Window(3);
    EXPECT_EQ(States(record), "on--");
    WinTable[record]->editState = 2;
    EXPECT_EQ(States(record), "onkc");
    WinTable[record]->editState = 1;
    WinTable[record]->opener = uint16_t(list);   // opened from another window
    EXPECT_EQ(States(record), "--kc");
    EXPECT_EQ(States(Window(7, 2)), "----");     // no register, nothing to store
    EXPECT_EQ(States(Window(353, 1)), "--kc");   // the type withdraws open and new

    EXPECT_EQ(States(Window(8)), "--k-");
    EXPECT_EQ(States(Window(10)), "----");
    EXPECT_EQ(States(Window(6)), "-nk-");    // the report list, type 14 defined
    EXPECT_EQ(States(Window(12)), "--k-");
    int menuKindOne = Window(15);
    WinTable[menuKindOne]->selCurrent = 1;
    EXPECT_EQ(States(menuKindOne), "----");
    EXPECT_EQ(States(0), "----");
}

TEST_F(ListWindowsTest, RecordArrowsAndSingleSelection)
{
    EXPECT_EQ(Arrows(0), 400);
    EXPECT_EQ(Arrows(Window(2)), 403);
    EXPECT_EQ(Arrows(Window(8)), 403);
    EXPECT_EQ(Arrows(Window(3, 0)), 403);
    EXPECT_EQ(Arrows(Window(3, 1)), 400);   // a new record has no neighbours
    EXPECT_EQ(Arrows(Window(12)), 400);

    int list = Window(2);
    int32_t id = 0;
    WinTable[list]->selCurrent = -2;   // the first row is to be picked
    EXPECT_TRUE(ListSingleSelection(list, nullptr));
    EXPECT_FALSE(ListSingleSelection(list, &id));
    WinTable[list]->selCurrent = 1;
    EXPECT_TRUE(ListSingleSelection(list, &id));
    EXPECT_EQ(id, -1);   // nothing marked yet
    WinTable[list]->markedIds = MemAlloc(2 * sizeof(int32_t));
    ASSERT_TRUE(MemIsValid(WinTable[list]->markedIds));
    int32_t ids[2] = {77, 78};
    memcpy(MemLock(WinTable[list]->markedIds), ids, sizeof ids);
    MemUnlock(WinTable[list]->markedIds);
    EXPECT_TRUE(ListSingleSelection(list, &id));
    EXPECT_EQ(id, 77);
    EXPECT_FALSE(ListSingleSelection(0, &id));
}

}  // namespace
