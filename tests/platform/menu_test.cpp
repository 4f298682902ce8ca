// Menus: the item model, keyboard and mouse tracking, commands to the owner,
// and the maximised MDI child's system item at position 0.
#include <gtest/gtest.h>

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

intptr_t FrameProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::Command) {
        EXPECT_EQ(lParam, 0) << "menu commands carry no control";
        gCommands.push_back(PlLoWord(intptr_t(wParam)));
    }
    if (msg == PlMsg::InitMenu) ++gInitMenus;
    if (msg == PlMsg::User) {
        // Runs inside the tracking loop: click the item of the open popup.
        PlRect r = MenuOpenItemRect(gClickMenu, gClickItem);
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
