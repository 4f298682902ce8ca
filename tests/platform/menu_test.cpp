// Menus: the item model, keyboard and mouse tracking, commands to the owner,
// and the maximised MDI child's system item at position 0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mdi.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/window.h"

namespace {
std::vector<int> gCommands;
int gInitMenus = 0;
uint32_t gClient = 0;
uint32_t gClickMenu = 0;
int gClickItem = 0;
PlRect gClickRect{};   // where the clicked item stood on the screen
// The bar item and popup item selected, noted by message User + 1 while
// the menu is tracked.
std::vector<std::pair<int, int>> gSelected;

intptr_t FrameProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::Command) {
        EXPECT_EQ(lParam, 0) << "menu commands carry no control";
        gCommands.push_back(PlLoWord(intptr_t(wParam)));
    }
    if (msg == PlMsg::InitMenu) ++gInitMenus;
    if (msg == PlMsg::User + 1) gSelected.emplace_back(MenuTrackBarItem(), MenuTrackPopupItem());
    if (msg == PlMsg::User) {
        // Runs inside the tracking loop: click the item of the open popup.
        PlRect r = MenuOpenItemRect(gClickMenu, gClickItem);
        gClickRect = r;
        EXPECT_FALSE(PlRectEmpty(r)) << "the popup is open";
        PlPoint p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        MsgInputMouse(p, 0, false);
        MsgInputMouse(p, 1, true);
        MsgInputMouse(p, 1, false);
    }
    return MdiDefFrameProc(win, gClient, msg, wParam, lParam);
}

intptr_t DocProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    return MdiDefChildProc(win, msg, wParam, lParam);
}

class MenuTest : public ::testing::Test {
protected:
    uint32_t frame = 0, bar = 0, file = 0, edit = 0;
    void SetUp() override
    {
        WinResetAll();
        gCommands.clear();
        gInitMenus = 0;
        ASSERT_TRUE(WinRegisterClass({"m4frame", FrameProc, 13, kPlWorkspace, 0, 0}));
        ASSERT_TRUE(WinRegisterClass({"m4doc", DocProc, 15, kPlLightGrey, 0, 4}));
        bar = MenuCreateBar();
        file = MenuCreatePopup();
        MenuAppend(file, 0, 101, "&Open\tCtrl+O");
        MenuAppend(file, PlMenuFlag::Separator, 0, "");
        MenuAppend(file, PlMenuFlag::Grayed, 112, "&Quit");
        edit = MenuCreatePopup();
        MenuAppend(edit, 0, 201, "&Copy\tCtrl+C");
        MenuAppend(edit, 0, 202, "&Paste\tCtrl+V");
        MenuAppend(bar, PlMenuFlag::Popup, file, "&File");
        MenuAppend(bar, PlMenuFlag::Popup, edit, "&Edit");
        frame = WinCreate("m4frame", "Orvel", PlStyle::Visible, {0, 0, 640, 480}, 0, 0, 0);
        WinSetMenu(frame, bar);
        gClient = MdiCreateClient(frame, WinClientRect(frame), 0, 3244, 1);
        MsgPumpPending();
    }
    void TearDown() override
    {
        WinResetAll();
        MenuDestroy(bar);
    }
    void Key(uint32_t vk)
    {
        MsgInputKey(vk, true, 0);
        MsgInputKey(vk, false, 0);
    }
    void AltAlone()
    {
        MsgInputKey(PlKey::Menu, true, 0);
        MsgInputKey(PlKey::Menu, false, 0);
    }
};

TEST_F(MenuTest, ItemModelEnableCheckInsertRemove)
{
    EXPECT_EQ(MenuItemCount(file), 3);
    EXPECT_EQ(MenuItemId(file, 0), 101);
    EXPECT_EQ(MenuItemText(file, 0), "&Open\tCtrl+O");
    EXPECT_TRUE(MenuItemFlags(file, 1) & PlMenuFlag::Separator);
    EXPECT_EQ(MenuItemId(file, 9), -1);
    EXPECT_EQ(MenuSubMenu(bar, 1), edit);

    EXPECT_EQ(MenuEnableByPosition(file, 0, false), 1);
    EXPECT_TRUE(MenuItemFlags(file, 0) & PlMenuFlag::Grayed);
    EXPECT_EQ(MenuEnableByPosition(file, 0, true), 0);
    EXPECT_EQ(MenuEnableByCommand(bar, 202, false), 1) << "found inside the bar's popups";
    EXPECT_TRUE(MenuItemFlags(edit, 1) & PlMenuFlag::Grayed);
    EXPECT_EQ(MenuEnableByCommand(bar, 999, false), -1);
    EXPECT_EQ(MenuEnableByPosition(bar, 1, false), 1) << "a whole bar item greys";
    MenuEnableByPosition(bar, 1, true);
    EXPECT_EQ(MenuCheckByCommand(bar, 201, true), 0);
    EXPECT_TRUE(MenuItemFlags(edit, 0) & PlMenuFlag::Checked);
    EXPECT_EQ(MenuCheckByPosition(edit, 0, false), 1);

    // A window's operations popup goes in and out of the bar by position.
    uint32_t ops = MenuCreatePopup();
    MenuAppend(ops, 0, 701, "&Sort");
    EXPECT_TRUE(MenuInsert(bar, 1, PlMenuFlag::Popup, ops, "&Window"));
    EXPECT_EQ(MenuSubMenu(bar, 1), ops);
    EXPECT_EQ(MenuSubMenu(bar, 2), edit);
    EXPECT_TRUE(MenuRemove(bar, 1));
    EXPECT_TRUE(MenuIsMenu(ops)) << "removing keeps the popup for later";
    EXPECT_EQ(MenuItemCount(bar), 2);
    MenuInsert(bar, 1, PlMenuFlag::Popup, ops, "&Window");
    EXPECT_TRUE(MenuDelete(bar, 1));
    EXPECT_FALSE(MenuIsMenu(ops)) << "deleting destroys it";
    EXPECT_FALSE(MenuInsert(bar, 0, PlMenuFlag::Popup, ops, "dead"));
    EXPECT_EQ(MenuFindCommand(file, 112), 2);
}

TEST_F(MenuTest, KeyboardTracking)
{
    // Alt, Right, Down, Return: the first item of the second menu.
    AltAlone();
    Key(PlKey::Right);
    Key(PlKey::Down);
    Key(PlKey::Return);
    MsgPumpPending();
    EXPECT_EQ(gCommands, std::vector<int>{201});
    EXPECT_EQ(gInitMenus, 1);
    EXPECT_FALSE(MenuTracking());

    // Alt+F then the mnemonic O.
    gCommands.clear();
    MsgInputKey(PlKey::Menu, true, 0);
    Key('F');
    MsgInputKey(PlKey::Menu, false, 0);
    Key('O');
    MsgPumpPending();
    EXPECT_EQ(gCommands, std::vector<int>{101});

    // A greyed item is not chosen; Down skips the separator; Esc twice ends.
    gCommands.clear();
    AltAlone();
    Key('F');
    Key('Q');
    Key(PlKey::Down);
    Key(PlKey::Escape);
    Key(PlKey::Escape);
    MsgPumpPending();
    EXPECT_TRUE(gCommands.empty());
    EXPECT_FALSE(MenuTracking());

    // Up from the top wraps to the last item; Return on a greyed item does nothing.
    AltAlone();
    Key(PlKey::Down);
    Key(PlKey::Up);
    Key(PlKey::Return);
    Key(PlKey::Up);
    Key(PlKey::Return);
    MsgPumpPending();
    EXPECT_EQ(gCommands, std::vector<int>{101});
}

TEST_F(MenuTest, MouseTrackingAndPopupAtTheCursor)
{
    PlRect item = MenuBarItemRect(frame, 1);
    ASSERT_FALSE(PlRectEmpty(item));
    PlPoint p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    gClickMenu = edit;
    gClickItem = 1;
    MsgInputMouse(p, 1, true);
    MsgInputMouse(p, 1, false);
    MsgPost(frame, PlMsg::User, 0, 0);
    MsgPumpPending();
    EXPECT_EQ(gCommands, std::vector<int>{202});

    // A click outside the open menu ends it without a command.
    gCommands.clear();
    MsgInputMouse(p, 1, true);
    MsgInputMouse(p, 1, false);
    MsgInputMouse({600, 400}, 1, true);
    MsgInputMouse({600, 400}, 1, false);
    MsgPumpPending();
    EXPECT_TRUE(gCommands.empty());
    EXPECT_FALSE(MenuTracking());

    // A tracked popup: keys choose, the command is returned (and not posted).
    Key(PlKey::Down);
    Key(PlKey::Down);
    Key(PlKey::Return);
    EXPECT_EQ(MenuTrackPopup(edit, PlTrack::CenterAlign | PlTrack::ReturnCmd, {320, 200}, frame), 202);
    MsgPumpPending();
    EXPECT_TRUE(gCommands.empty());
    // With nothing to come in headless mode the popup closes with no choice.
    EXPECT_EQ(MenuTrackPopup(edit, 0, {320, 200}, frame), 0);
}

// A popup longer than the screen is high breaks into columns inside the
// frame: at 1024x768 and at 800x600 each of 60 items (a separator among
// them) lies on the screen within the popup, a click on it gives its
// command, Down walks to the last item, and Right and Left move between
// the columns before they move along the bar.
TEST_F(MenuTest, LongPopupBreaksIntoColumnsOnTheScreen)
{
    uint32_t tall = MenuCreatePopup();
    for (int i = 0; i < 60; i++) {
        if (i == 30) MenuAppend(tall, PlMenuFlag::Separator, 0, "");
        MenuAppend(tall, 0, 300 + i, "Register number " + std::to_string(i));
    }
    MenuAppend(bar, PlMenuFlag::Popup, tall, "&Registers");
    const int last = MenuItemCount(tall) - 1;
    for (PlSize screen : {PlSize{1024, 768}, PlSize{800, 600}}) {
        SCOPED_TRACE(std::to_string(screen.cx) + "x" + std::to_string(screen.cy));
        ASSERT_TRUE(WinMove(frame, PlRect{0, 0, screen.cx, screen.cy}));
        MsgPumpPending();
        PlRect shown = WinScreenRect(frame);
        PlRect item = MenuBarItemRect(frame, 2);
        PlPoint p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        int lefts = 0, previousLeft = -1;
        for (int i = 0; i <= last; i++) {
            if (MenuItemFlags(tall, i) & PlMenuFlag::Separator) continue;
            gCommands.clear();
            gClickMenu = tall;
            gClickItem = i;
            gClickRect = PlRect{};
            MsgInputMouse(p, 1, true);
            MsgInputMouse(p, 1, false);
            MsgPost(frame, PlMsg::User, 0, 0);
            MsgPumpPending();
            const PlRect &r = gClickRect;
            EXPECT_TRUE(r.left >= shown.left && r.right <= shown.right && r.top >= shown.top && r.bottom <= shown.bottom)
                << "item " << i << " lies off the screen at " << r.left << "," << r.top;
            if (r.left != previousLeft) lefts++, previousLeft = r.left;
            EXPECT_EQ(gCommands, std::vector<int>{MenuItemId(tall, i)}) << "item " << i;
        }
        EXPECT_GE(lefts, 2) << "the items stand in more than one column";

        // Keys: Down from the top reaches the last item; Right moves to the
        // next column, Left back; Right from the last column opens the bar's
        // next menu (wrapping to File).
        auto note = [&] { MsgPost(frame, PlMsg::User + 1, 0, 0); };
        gCommands.clear();
        gSelected.clear();
        AltAlone();
        Key(PlKey::Left);
        Key(PlKey::Down);
        for (int i = 0; i < last - 1; i++) Key(PlKey::Down);
        note();
        Key(PlKey::Return);
        MsgPumpPending();
        ASSERT_EQ(gSelected.size(), 1u);
        EXPECT_EQ(gSelected[0], std::make_pair(2, last));
        EXPECT_EQ(gCommands, std::vector<int>{MenuItemId(tall, last)});
        gCommands.clear();
        gSelected.clear();
        AltAlone();
        Key(PlKey::Left);
        Key(PlKey::Down);
        Key(PlKey::Right);
        note();
        Key(PlKey::Left);
        note();
        for (int press = 0; press < 10; press++) {
            Key(PlKey::Right);
            note();
        }
        Key(PlKey::Escape);
        Key(PlKey::Escape);
        MsgPumpPending();
        ASSERT_EQ(gSelected.size(), 12u);
        EXPECT_EQ(gSelected[0].first, 2);
        EXPECT_GT(gSelected[0].second, 5) << "Right went to the second column";
        EXPECT_EQ(gSelected[1], std::make_pair(2, 0)) << "Left came back to the first";
        size_t moved = 2;
        while (moved < gSelected.size() && gSelected[moved].first == 2) moved++;
        ASSERT_LT(moved, gSelected.size()) << "Right never left the menu";
        EXPECT_GT(moved, 2u) << "the menu's columns were passed through first";
        EXPECT_EQ(gSelected[moved].first, 0) << "from the last column Right moves along the bar";
        EXPECT_TRUE(gCommands.empty());
    }
}

TEST_F(MenuTest, MaximisedChildTakesPositionZero)
{
    PlMdiCreate cs{"m4doc", "Doc", {10, 10, 200, 150}, PlStyle::OverlappedWindow, 0};
    uint32_t doc = MdiCreateChild(gClient, cs);
    EXPECT_EQ(MenuItemCount(bar), 2);
    MdiMaximize(doc);
    ASSERT_EQ(MenuItemCount(bar), 3);
    EXPECT_EQ(MenuSubMenu(bar, 1), file) << "the program's menus move one position on";
    EXPECT_EQ(MenuItemId(MenuSubMenu(bar, 0), 0), kPlScRestore);
    // The system item's Restore works on the child and takes the item away.
    AltAlone();
    Key(PlKey::Down);
    Key(PlKey::Return);
    MsgPumpPending();
    EXPECT_FALSE(WinIsZoomed(doc));
    EXPECT_EQ(MenuItemCount(bar), 2);
    EXPECT_TRUE(gCommands.empty());
    MdiMaximize(doc);
    MdiDestroyChild(gClient, doc);
    EXPECT_EQ(MenuItemCount(bar), 2) << "no maximised child, no system item";
}
}  // namespace
