// window_placement_test.cpp - where a window type opens, per user and type
// name: a store and reopen leaves a window where it stood, every time;
// size limits hold only for types that keep their size; 809 stores the
// default; nothing is kept without a company or a type name (nor asked
// of a server before the login), and a refused store is told.
#include <gtest/gtest.h>

#include <vector>

#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/access/transport.h"
#include "shell/company.h"
#include "shell/database_open.h"
#include "shell/record_commands.h"
#include "shell/window_mouse.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

constexpr int Placements = 115, TypePlain = 560, TypeSized = 561, TypeNameless = 562, TypeKept = 563;

// The placement register as the program has it, and four window types:
// a named one that keeps only its stored position, a named one that keeps
// its stored size within a minimum width of 200 and a maximum height of
// 120 (its minimum height 0 is no limit), one without a name, and a named
// one that keeps its stored size without limits.
const char *const PlacementDict = R"(
register 115 WRVc size 40 {
  UserCode     0  keycode 5
  WinTypeName  6  text 20
  Left        28  short
  Top         30  short
  Right       32  short
  Bottom      34  short
  Stored      36  bool
  Column      38  short
  index WinType     head 207 node 504 words 1 1 1 { WinTypeName UserCode }
  index UserWinType head 208 node 504 words 1 0 1 { UserCode WinTypeName }
}
1014 "viewing"
1520 "In use."
9701 "PlainWindow"
9702 "SizedWindow"
9703 "KeptWindow"
wintype 1 { kind plain rect 0 0 32 600 }
wintype 560 { kind plain rect 100 50 300 350 name 9701 }
wintype 561 { kind plain rect 100 50 300 350 name 9702 keepsize 1 minwidth 200 minheight 0 maxheight 120 }
wintype 562 { kind plain rect 100 50 300 350 keepsize 1 }
wintype 563 { kind plain rect 100 50 300 350 name 9703 keepsize 1 }
)";

class Placement : public RecordFixture {
protected:
    std::string InterfaceSource() override { return PlacementDict; }

    static void UserIs(const char *code) { SessionUserIs(code); }
    static PlRect ChildRect(int n) { return WinRect(WinTable[n]->mdiChild); }
    // Opens a window of the type, moved to r, its placement stored (808); closed unless asked.
    static int MovedAndSaved(int type, PlRect r, bool keepOpen = false)
    {
        int n = OpenWindow(type, 0);
        if (n == 0 || !WinMove(WinTable[n]->mdiChild, r)) return 0;
        WinPlacementSaveCommand(n);
        if (!keepOpen) WinClose(n);
        return n;
    }
    // Where a window of the type opens now; the window is closed again.
    static PlRect OpensAt(int type)
    {
        int n = OpenWindow(type, 0);
        EXPECT_GT(n, 0);
        PlRect r = n ? ChildRect(n) : PlRect{};
        if (n) WinClose(n);
        return r;
    }
    // The child rectangle of the type's default rectangle.
    static PlRect DefaultOf(int type)
    {
        MacRect r{int16_t(WinTypeWord(type, 3)), int16_t(WinTypeWord(type, 4)), int16_t(WinTypeWord(type, 5)),
                  int16_t(WinTypeWord(type, 6))};
        return WinTypeRectToChild(type, r);
    }
};

bool operator==(const PlRect &a, const PlRect &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(Placement, StoreAndReopenLeavesTheWindowInPlaceForEachUser)
{
    UserIs("ANN");
    const PlRect first{13, 27, 313, 247}, second{140, 90, 440, 310};
    ASSERT_GT(MovedAndSaved(TypeKept, first), 0);
    EXPECT_TRUE(OpensAt(TypeKept) == first);
    ASSERT_GT(MovedAndSaved(TypeKept, second), 0);   // a second cycle: no drift
    EXPECT_TRUE(OpensAt(TypeKept) == second);

    UserIs("BOB");
    EXPECT_TRUE(OpensAt(TypeKept) == DefaultOf(TypeKept));
    ASSERT_GT(MovedAndSaved(TypeKept, first), 0);
    UserIs("ANN");
    EXPECT_TRUE(OpensAt(TypeKept) == second);
    EXPECT_EQ(RegRecordCount(Placements), 2u);

    // 809: back at the default, list column 0, and that is stored.
    int n = MovedAndSaved(TypeKept, first, true);
    ASSERT_GT(n, 0);
    WinTable[n]->listColumn = 2;
    WindowReset(n);
    EXPECT_TRUE(ChildRect(n) == DefaultOf(TypeKept));
    EXPECT_EQ(WinListColumn(n), 0);
    WinClose(n);
    EXPECT_TRUE(OpensAt(TypeKept) == DefaultOf(TypeKept));
    EXPECT_EQ(RegRecordCount(Placements), 2u);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(Placement, SizeLimitsHoldOnlyForTypesThatKeepTheirSize)
{
    UserIs("ANN");
    MacRect stored{10, 20, 60, 170};   // 150 wide, 50 high
    WinPlacementSave(TypeSized, &stored, 3);
    int n = OpenWindow(TypeSized, 0);
    ASSERT_GT(n, 0);
    EXPECT_EQ(ChildRect(n).right - ChildRect(n).left, 200 + 17);   // the minimum width
    EXPECT_EQ(ChildRect(n).bottom - ChildRect(n).top, 50 + 37);    // minimum height 0: none
    EXPECT_EQ(WinListColumn(n), 3);
    WinClose(n);

    // The rectangle a type takes from a stored one, over its default.
    auto loaded = [](int type, MacRect from) {
        WinPlacementSave(type, &from, 0);
        MacRect r{100, 50, 300, 350};
        uint16_t column = 0;
        WinPlacementLoad(type, &r, &column);
        return r;
    };
    MacRect r = loaded(TypeSized, MacRect{10, 20, 410, 400});
    EXPECT_EQ(r.bottom - r.top, 120);   // the maximum height
    r = loaded(TypePlain, MacRect{10, 20, 410, 400});   // without the flag only the position is taken
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 200);
    r = loaded(TypeSized, MacRect{10, 20, 60, 20});   // no width: damage, the default stays
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.right, 350);
}

TEST_F(Placement, NothingIsKeptWithoutCompanyOrNameAndARefusalIsTold)
{
    UserIs("ANN");
    const PlRect kept{13, 27, 313, 247}, other{140, 90, 440, 310};
    ASSERT_GT(MovedAndSaved(TypeNameless, kept), 0);
    EXPECT_EQ(RegRecordCount(Placements), 0u);

    // The placement record held by another user: refused, and said.
    ASSERT_GT(MovedAndSaved(TypeKept, kept), 0);
    std::vector<uint8_t> held(40);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(Placements, 1, held.data(), &id));
    AsOtherUser([&] { ASSERT_TRUE(RecordLockTakeCall(Placements, id, held.data())); });
    ASSERT_GT(MovedAndSaved(TypeKept, other), 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(Texts::RecordInUse)});
    EXPECT_TRUE(OpensAt(TypeKept) == kept);

    CompanyClose();
    EXPECT_TRUE(OpensAt(TypeKept) == DefaultOf(TypeKept));
    ASSERT_GT(MovedAndSaved(TypeKept, other), 0);
    PString path;
    PathOf("company.VDB", path);
    ASSERT_TRUE(DbLayerInit());
    ASSERT_TRUE(DbOpen(path, 0));
    UserIs("ANN");   // the reopening logged in anew
    EXPECT_TRUE(OpensAt(TypeKept) == kept);
}

// A client's server serves nothing before the login: the login window
// and anything else opened then take their type's default and ask the
// server nothing; once logged in the placement is asked for.
std::vector<uint16_t> PlacementAsks;
bool NothingServed(uint16_t code, MsgBuffer *, MsgBuffer *)
{
    PlacementAsks.push_back(code);
    return false;
}

TEST_F(Placement, AClientAsksForNoPlacementBeforeItsLogin)
{
    UserIs("ANN");
    const uint16_t mode = RunMode;
    const uint8_t loggedIn = LoggedInFlag;
    RemoteOpsInstall();
    TransportInstall(NothingServed, NothingServed);
    RunMode = RunModeClient;
    PlacementAsks.clear();
    LoggedInFlag = 0;
    MacRect r{100, 50, 300, 350};
    uint16_t column = 7;
    WinPlacementLoad(TypeKept, &r, &column);
    EXPECT_TRUE(PlacementAsks.empty()) << PlacementAsks.size() << " requests, the first " << PlacementAsks.front();
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.right, 350);
    EXPECT_EQ(column, 7);
    WinPlacementSave(TypeKept, &r, 0);
    EXPECT_TRUE(PlacementAsks.empty());

    LoggedInFlag = 1;
    WinPlacementLoad(TypeKept, &r, &column);
    EXPECT_FALSE(PlacementAsks.empty()) << "a logged-in client asks its server";
    RunMode = mode;
    LoggedInFlag = loggedIn;
    TransportInstall(nullptr, nullptr);
    MessagesShown.clear();   // the refused ask was told as a lost connection
}

}  // namespace
