// menus_test.cpp - the menu bar as built from the menu definitions and
// texts, the operations popups of window types, the File dispatcher's
// ways out, and the enabling of menus for the active window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/mdi.h"
#include "platform/menu.h"
#include "shell/settings_menu.h"
#include "shell/ui_install.h"
#include "shell/window_utils.h"
#include "shell_fixture.h"

namespace {

class MenusTest : public ShellFixture {
protected:
    static std::vector<int> Ids(uint32_t menu)
    {
        std::vector<int> ids;
        for (int i = 0; i < MenuItemCount(menu); i++) ids.push_back(MenuItemId(menu, i));
        return ids;
    }
};

TEST_F(MenusTest, BarItemsTakeTheirIdsAndPositions)
{
    UiInstall();   // as the program's start: the settings' reload rebuilds the module popup
    MakeFrame();
    // A separator takes a position and no id; File has no item 6.
    EXPECT_EQ(Ids(MenuHandles.file), (std::vector<int>{101, 102, 0, 104, 105, 107, 108, 109, 110, 0, 112}));
    EXPECT_EQ(Ids(MenuHandles.edit), (std::vector<int>{201, 0, 203, 204, 205, 206, 207, 208, 0, 210}));
    EXPECT_EQ(Ids(MenuHandles.record), (std::vector<int>{301, 302, 0, 304, 305, 306, 307, 308, 309}));
    EXPECT_EQ(Ids(MenuHandles.window), (std::vector<int>{801, 804, 0, 805, 806, 807, 808, 809}));
    EXPECT_EQ(Ids(MenuHandles.help), (std::vector<int>{601, 100}));
    EXPECT_EQ(MenuItemText(MenuHandles.file, 5), "&Print\tCtrl+P");
    EXPECT_EQ(MenuItemText(MenuHandles.help, 1), "&About Orvel...");
    EXPECT_EQ(MenuItemText(MenuHandles.bar, 3), "&Registers");
    EXPECT_EQ(MenuItemCount(MenuHandles.bar), 8);
    EXPECT_EQ(MenuSubMenu(MenuHandles.bar, 4), MenuHandles.modulePopup);
    // The Settings popup follows the module popup.
    EXPECT_EQ(MenuSubMenu(MenuHandles.bar, 5), SettingsMenuHandle);
    EXPECT_EQ(MenuItemText(MenuHandles.bar, 5), "&Settings");
    // The module popup is filled from the start; the settings' reload refills it.
    EXPECT_EQ(Ids(MenuHandles.modulePopup), (std::vector<int>{501, 502, 503, 504, 505}));
    EXPECT_EQ(MenuItemText(MenuHandles.modulePopup, 1), "&Sales");
    EXPECT_EQ(AccessUiHooks.rebuildWindowTypeMenu, &RebuildWindowTypeMenu);
    // A menu the file lacks adds nothing.
    EXPECT_EQ(MenuFromTable(9), 0u);
    EXPECT_EQ(MenuItemCount(MenuHandles.bar), 8);
    // Items are enabled by position: File has no item 6, so item 7 sits
    // at position 5 and item 12 at 10.
    EXPECT_EQ(EnableMenuCmd(MenuHandles.file, 7, false), 1);
    EXPECT_TRUE(MenuItemFlags(MenuHandles.file, 5) & PlMenuFlag::Grayed);
    EXPECT_EQ(EnableMenuCmd(MenuHandles.file, 12, false), 1);
    EXPECT_TRUE(MenuItemFlags(MenuHandles.file, 10) & PlMenuFlag::Grayed);
    EXPECT_EQ(EnableMenuCmd(MenuHandles.file, 13, false), -1);

    // The compact variant has no module popup, and so no Settings popup.
    DropFrame();
    CompactVariant = true;
    MakeFrame();
    EXPECT_EQ(MenuHandles.modulePopup, 0u);
    EXPECT_EQ(SettingsMenuHandle, 0u);
    EXPECT_EQ(MenuItemCount(MenuHandles.bar), 6);
    EXPECT_EQ(MenuSubMenu(MenuHandles.bar, 4), MenuHandles.window);
}

TEST_F(MenusTest, OperationsPopupOfAWindowType)
{
    UseDict("wintype 30 { kind plain }\n"
            "window 30 {\n"
            "  op key \"P\" number 1 label \"Post\"\n"
            "  op number 2 label \"Reverse\"\n"
            "}\n"
            "wintype 31 { kind plain }\n");
    MakeFrame();
    uint32_t ops = BuildWindowOpsMenu(30);
    ASSERT_NE(ops, 0u);
    EXPECT_EQ(Ids(ops), (std::vector<int>{701, 702}));
    EXPECT_EQ(MenuItemText(ops, 0), "&Post\tCtrl+P");
    EXPECT_EQ(MenuItemText(ops, 1), "&Reverse");
    MenuDestroy(ops);
    EXPECT_EQ(BuildWindowOpsMenu(31), 0u);   // no operations part
    EXPECT_EQ(BuildWindowOpsMenu(32), 0u);   // no such type
}

TEST_F(MenusTest, FileMenuWaysOut)
{
    MenuCommand(0, 11);
    EXPECT_EQ(QuitFlag, 0);   // item 11 is nothing in the full variant
    MenuCommand(0, 12);
    EXPECT_EQ(QuitFlag, 1);
    QuitFlag = 0;
    CompactVariant = true;
    MenuCommand(0, 11);
    EXPECT_EQ(QuitFlag, 1);
    // Record and Edit commands need a window: without one nothing runs.
    StateRefreshFlag = 0;
    RecordCommand(0, 4);
    EXPECT_EQ(StateRefreshFlag, 0);
}

// File > Import is grey without a company and, in the full variant,
// opens the import list once one is open; the compact variant keeps it
// usable always.
TEST_F(MenusTest, FileImportFollowsTheOpenCompany)
{
    MakeFrame();
    auto importGrey = [] {
        int at = MenuFindCommand(MenuHandles.file, 105);
        EXPECT_GE(at, 0);
        return (MenuItemFlags(MenuHandles.file, at) & PlMenuFlag::Grayed) != 0;
    };
    MenuStateUpdate(0);
    EXPECT_TRUE(importGrey());
    MenuCommand(0, 5);
    EXPECT_EQ(WinFindByDef(10), 0);
    DbOpenFlag = LoggedInFlag = 1;   // a company open and its user logged in
    MenuStateUpdate(0);
    EXPECT_FALSE(importGrey());
    MenuCommand(0, 5);
    int n = WinFindByDef(10);
    ASSERT_GT(n, 0);
    EXPECT_EQ(ListBoxRows(n),
              (std::vector<std::string>{TextOf(10512), TextOf(10621), TextOf(12257), TextOf(11539)}));
    WinClose(n);
    DbOpenFlag = LoggedInFlag = 0;
    CompactVariant = true;
    MenuStateUpdate(0);
    EXPECT_FALSE(importGrey());
}

TEST_F(MenusTest, MaximisedChildShiftsTheGreyedMenus)
{
    UseDict("wintype 30 { kind plain menukind 1 }\n"
            "1572 \"Modules\"\n"
            "menu 2 \"File\" {\n  item 1 \"&Company...\"\n}\n"
            "menu 3 \"Edit\" {\n  item 1 \"&Undo\"\n}\n"
            "menu 4 \"Record\" {\n  item 1 \"&Next\"\n}\n");
    MakeFrame();
    int n = Bare(30);
    MdiMaximize(WinTable[n]->mdiChild);
    CurrentWindow = uint16_t(n);
    MenuStateUpdate(n);
    // The child's system menu takes position 0: File, Edit, Record follow.
    EXPECT_TRUE(MenuItemFlags(MenuHandles.bar, 1) & PlMenuFlag::Grayed);
    EXPECT_FALSE(MenuItemFlags(MenuHandles.bar, 2) & PlMenuFlag::Grayed);
    EXPECT_TRUE(MenuItemFlags(MenuHandles.bar, 3) & PlMenuFlag::Grayed);
    // A running job greys the module popup, one further right too.
    RunActiveFlag = 1;
    SyncRunMenu();
    int count = MenuItemCount(MenuHandles.bar);
    ASSERT_EQ(MenuItemText(MenuHandles.bar, 5), "&Modules");
    EXPECT_TRUE(MenuItemFlags(MenuHandles.bar, 5) & PlMenuFlag::Grayed);
    // A type without an operations popup takes nothing out of the bar
    // when its window is left, nor adds anything when it comes back.
    RemoveWindowMenu(n);
    EXPECT_EQ(MenuItemCount(MenuHandles.bar), count);
    InsertWindowMenu(n);
    EXPECT_EQ(MenuItemCount(MenuHandles.bar), count);

    // Restored, the same state greys positions 0 and 2.
    MdiRestore(WinTable[n]->mdiChild);
    ToolbarEnable(true);
    MenuStateUpdate(n);
    EXPECT_TRUE(MenuItemFlags(MenuHandles.bar, 0) & PlMenuFlag::Grayed);
    EXPECT_FALSE(MenuItemFlags(MenuHandles.bar, 1) & PlMenuFlag::Grayed);
    EXPECT_TRUE(MenuItemFlags(MenuHandles.bar, 2) & PlMenuFlag::Grayed);
}

}  // namespace
