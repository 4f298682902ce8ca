// module_menu_test.cpp - the modules and their menus under the user's
// rights: the register popup, Ctrl+digit and the bottom bar's module
// buttons count the same permitted windows of the current module; the
// module popup keeps each entry's id; a switch reaches the menus, the
// bars and the network layer only when the module changes and may be
// entered; the first module after a login.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/menu.h"
#include "platform/queue.h"
#include "recordwin/record_windows.h"
#include "shell/login.h"
#include "shell/menus.h"
#include "shell/net_services.h"
#include "shell/toolbar.h"
#include "shell/window_table.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

// Window types 500..513 stand in the module table: 501 in module 3, the
// others in every module. The module menu offers modules 2, 1 (the
// server's), 3 and 5. Type 1's bottom bar has module buttons 5 to 7.
std::string ModuleDict()
{
    std::string d = R"(
1572 "Modules"
1573 "Registers"
1575 "Module list"
9700 "Ledger"
9701 "Server"
9702 "Sales"
9703 "Stock"
9710 "Button"
wintype 1 { kind plain rect 0 0 32 600 }
window 1 {
  icon icon 20 pressed 20 x 0 y 0 command 0 label ""
  icon icon 13 pressed 13 x 40 y 18 command 11 label "Company"
  icon icon 19 pressed 19 x 100 y 18 command 16 label "Jobs"
  icon icon 16 pressed 16 x 160 y 18 command 15 label "Windows"
  icon icon 20 pressed 20 x 220 y 18 command 14 label "Quit"
  icon icon 15 pressed 15 x 280 y 18 command 10 arg 1 label ""
  icon icon 17 pressed 17 x 340 y 18 command 10 arg 2 label ""
  icon icon 18 pressed 18 x 400 y 18 command 10 arg 3 label ""
}
wintype 9 { kind plain rect 40 40 300 440 }
wintype 13 { kind plain rect 40 40 300 440 }
list modulemenu {
  text 9700 word1 0 module 2 word3 0
  text 9701 word1 0 module 1 word3 0
  text 9702 word1 0 module 3 word3 0
  text 9703 word1 0 module 5 word3 0
}
)";
    std::string table = "list modules {\n";
    for (int i = 0; i < 14; i++) {
        std::string type = std::to_string(500 + i), text = std::to_string(9720 + i);
        d += text + " \"W" + type + "\"\n";
        d += "wintype " + type + " { kind plain rect 60 20 200 300 }\n";
        table += "  wintype " + type + " text " + text + " text2 9710 module " + (i == 1 ? "3" : "0") + "\n";
    }
    return d + table + "}\n";
}

// The items of a popup as "id text", a separator as "-".
std::vector<std::string> Items(uint32_t popup)
{
    std::vector<std::string> items;
    for (int i = 0; i < MenuItemCount(popup); i++)
        items.push_back(MenuItemFlags(popup, i) & PlMenuFlag::Separator
                            ? "-"
                            : std::to_string(MenuItemId(popup, i)) + " " + MenuItemText(popup, i));
    return items;
}

// The module changes the network layer heard of, as (module, previous).
std::vector<std::pair<int, int>> &Switches()
{
    static std::vector<std::pair<int, int>> switches;
    return switches;
}

class ModuleMenu : public RecordFixture {
protected:
    std::string InterfaceSource() override { return ModuleDict(); }
    void SetUp() override
    {
        RecordFixture::SetUp();
        if (HasFatalFailure()) return;
        Switches().clear();
        NetServices.moduleOneSwitch = [](int m, int previous) { Switches().push_back({m, previous}); };
        // Whatever the login chose, the tests start in module 2.
        LoggedInFlag = 1;
        ActivateModule(2, CurrentModule);
        Switches().clear();
    }
    void TearDown() override
    {
        AccessListUse({});
        RecordFixture::TearDown();
    }
    // Clicks bottom-bar entry i (its square is centred on x = 40 + 60 (i - 1));
    // true when a bar command ran (each raises the refresh flag).
    static bool ClickBottom(int i)
    {
        int x = 40 + 60 * (i - 1);
        StateRefreshFlag = 0;
        WinSend(BottomBarWindow, PlMsg::LButtonDown, PlMouseKey::LButton, PlMakeLong(x, 18));
        WinSend(BottomBarWindow, PlMsg::LButtonUp, 0, PlMakeLong(x, 18));
        bool ran = StateRefreshFlag != 0;
        Drain();
        return ran;
    }
};

TEST_F(ModuleMenu, RegisterPopupCtrlDigitsAndModuleButtonsCountThePermittedWindows)
{
    // Module 2 sees the 13 windows of every module; a refused 500 leaves 12.
    AccessListUse({{2, 500, 0}});
    RebuildRegisterMenu();
    RebuildRegisterMenu();
    std::vector<std::string> want;
    for (int k = 1; k <= 12; k++)
        want.push_back(std::to_string(400 + k) + " W" + std::to_string(501 + k) +
                       (k <= 9 ? "\tCtrl+" + std::to_string(k) : ""));
    EXPECT_EQ(Items(MenuHandles.registerPopup), want);

    // Ctrl+3 opens the third permitted window, the second module button
    // the second; in module 3 the second is that module's own window.
    Key('3', false, true);
    EXPECT_GT(WinFindByDef(504), 0);
    EXPECT_TRUE(ClickBottom(6));
    EXPECT_GT(WinFindByDef(503), 0);
    ActivateModule(3, 2);
    EXPECT_TRUE(ClickBottom(5));
    EXPECT_GT(WinFindByDef(501), 0);
    EXPECT_EQ(Items(MenuHandles.registerPopup)[0], "401 W501\tCtrl+1");

    // With one window permitted, the module buttons past it are not hit.
    AccessRows rows;
    for (int type = 500; type <= 513; type++)
        if (type != 505) rows.push_back({2, uint16_t(type), 0});
    AccessListUse(rows);
    EXPECT_FALSE(ClickBottom(6));
    EXPECT_FALSE(ClickBottom(8)) << "no eighth entry in the icon part";
    EXPECT_EQ(WinFindByDef(505), 0);
    EXPECT_TRUE(ClickBottom(5));
    EXPECT_GT(WinFindByDef(505), 0);

    // The compact variant puts the module list and one separator first,
    // however often it is rebuilt.
    CompactVariant = true;
    RebuildRegisterMenu();
    RebuildRegisterMenu();
    EXPECT_EQ(Items(MenuHandles.registerPopup), (std::vector<std::string>{"399 Module list\tCtrl+0", "-", "401 W505\tCtrl+1"}));
}

TEST_F(ModuleMenu, ModulePopupKeepsEntryIdsAndPicksOnlyWhatMayBeEntered)
{
    // Module 3 refused: entry 2 gets no item, the next keeps 501 + 3.
    AccessListUse({{9, 1, 1}, {1, 3, 0}});
    RebuildWindowTypeMenu();
    RebuildWindowTypeMenu();
    uint32_t popup = MenuHandles.modulePopup;
    EXPECT_EQ(Items(popup), (std::vector<std::string>{"501 Ledger", "502 Server", "504 Stock"}));
    EXPECT_TRUE(MenuItemFlags(popup, 0) & PlMenuFlag::Checked) << "module 2 is current";

    // The third permitted entry is Stock; the server's module only when allowed.
    ModuleMenuPick(3, false);
    EXPECT_EQ(CurrentModule, 5);
    EXPECT_TRUE(MenuItemFlags(popup, 2) & PlMenuFlag::Checked);
    EXPECT_FALSE(MenuItemFlags(popup, 0) & PlMenuFlag::Checked);
    ModuleMenuPick(2, false);
    ModuleMenuPick(4, true);   // no fourth permitted entry
    EXPECT_EQ(CurrentModule, 5);
    ModuleMenuPick(2, true);
    EXPECT_EQ(CurrentModule, 1);

    // The refused module's command changes nothing, nor does the current
    // module's; the network layer heard of the two real switches only.
    WinSend(FrameWindow, PlMsg::Command, 503, 0);
    SwitchModule(1, 0);
    EXPECT_EQ(CurrentModule, 1);
    EXPECT_EQ(Switches(), (std::vector<std::pair<int, int>>{{5, 2}, {1, 5}}));
    EXPECT_EQ(QuitFlag, 0);
    WinSend(FrameWindow, PlMsg::Command, 501, 0);
    EXPECT_EQ(CurrentModule, 2);
}

TEST_F(ModuleMenu, FirstModuleIsNoneWhenNoneIsPermitted)
{
    // (The order 2, 5, 3, 4, 6 is followed by the login tests' first module.)
    AccessListUse({{1, 2, 0}});
    OpenFirstModule();
    EXPECT_EQ(CurrentModule, 0);
    EXPECT_EQ(Switches(), (std::vector<std::pair<int, int>>{{0, 2}}));
    // A module refused to the user logged in asks no second login.
    ASSERT_EQ(LoggedInFlag, 1);
    EXPECT_FALSE(ModuleEnterCheck(3));
    EXPECT_EQ(QuitFlag, 0);
    EXPECT_EQ(WinFindByDef(15), 0);
}

}  // namespace
