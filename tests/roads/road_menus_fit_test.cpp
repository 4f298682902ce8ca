// road_menus_fit_test.cpp - the menus on a 1024x768 screen, as a user
// meets them in each module of a company made from the defaults: the
// mouse opens every menu of the bar and reaches every entry of it (the
// entry under the pointer is the one highlighted, and it lies on the
// screen), however long the menu is. The General ledger's register
// popup is the longest; its last entry is clicked and opens its window.
// Menus: none (the road walks no menu).
// Windows: Saved report selection, Voucher print-out selection.
#include "tests/roads/road_fixture.h"

#include <memory>
#include <string>

#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/shell.h"

namespace {

// More than any bar holds menus and any menu entries.
constexpr int MostMenus = 14, MostEntries = 90;

// What the walk of one menu learned while it ran.
struct Walk {
    uint32_t popup = 0;   // the popup opened, 0 when the bar has no such menu
    int hovered = -1;     // the entry the pointer was put on last
    int reached = 0;      // entries the pointer highlighted
    int total = 0;        // entries highlighted in every menu walked
};

// The bar's menu `top` opened by a click and each of its entries pointed
// at, then closed with Escape.
void WalkMenu(RoadTest *road, const std::string &module, int top, std::shared_ptr<Walk> walk)
{
    const std::string where = module + ", menu " + std::to_string(top);
    road->Do(where + " opened", [walk, top] {
        const int total = walk->total;
        *walk = Walk{};
        walk->total = total;
        uint32_t bar = FrameWindow ? WinMenu(FrameWindow) : 0;
        if (top >= MenuItemCount(bar) || !MenuSubMenu(bar, top)) return true;
        if (MenuItemFlags(bar, top) & PlMenuFlag::Grayed) return true;
        walk->popup = MenuSubMenu(bar, top);
        PlRect r = MenuBarItemRect(FrameWindow, top);
        PlPoint p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        MsgInputMouse(p, 1, true);
        MsgInputMouse(p, 1, false);
        return true;
    });
    for (int i = 0; i < MostEntries; i++) {
        road->Do(where + ", entry " + std::to_string(i) + " pointed at", [walk, i, where] {
            walk->hovered = -1;
            if (!walk->popup || i >= MenuItemCount(walk->popup)) return true;
            if (MenuItemFlags(walk->popup, i) & PlMenuFlag::Separator) return true;
            PlRect r = MenuOpenItemRect(walk->popup, i);
            EXPECT_FALSE(PlRectEmpty(r)) << where << ": the menu is not open";
            if (PlRectEmpty(r)) return false;
            EXPECT_TRUE(RoadTest::MenuItemOnScreen(walk->popup, i))
                << where << ": \"" << MenuItemText(walk->popup, i) << "\" lies off the screen at top " << r.top
                << ", left " << r.left;
            walk->hovered = i;
            MsgInputMouse(PlPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, 0, false);
            return true;
        });
        road->Check(where + ", entry " + std::to_string(i) + " highlighted", [walk, where] {
            if (walk->hovered < 0) return true;
            EXPECT_EQ(MenuTrackPopupItem(), walk->hovered)
                << where << ": the pointer on \"" << MenuItemText(walk->popup, walk->hovered)
                << "\" highlights another entry";
            if (MenuTrackPopupItem() == walk->hovered) walk->reached++, walk->total++;
            return true;
        });
    }
    road->Do(where + " closed", [walk, where] {
        if (!walk->popup) return true;
        EXPECT_GT(walk->reached, 0) << where;
        MsgInputKey(PlKey::Escape, true, 0);
        MsgInputKey(PlKey::Escape, false, 0);
        MsgInputKey(PlKey::Escape, true, 0);
        MsgInputKey(PlKey::Escape, false, 0);
        return true;
    });
}

TEST_F(RoadTest, EveryMenuEntryOfEveryModuleIsReachedByMouse)
{
    StartNewCompany();
    Check("the screen is 1024 x 768", [] {
        PlRect desk = WinDesktopRect();
        EXPECT_EQ(PlRectWidth(desk), 1024);
        EXPECT_EQ(PlRectHeight(desk), 768);
        return true;
    });
    auto walk = std::make_shared<Walk>();
    for (const char *module : {"General ledger", "Sales", "Purchasing", "Stock", "Projects"}) {
        Menu("Module", module);
        for (int top = 0; top < MostMenus; top++) WalkMenu(this, module, top, walk);
    }
    Check("every module's menus were walked", [walk] {
        EXPECT_GT(walk->total, 300) << "entries reached by the pointer";
        return true;
    });
    // The longest popup's last entry, clicked, opens its window.
    Menu("Module", "General ledger");
    auto registers = std::make_shared<uint32_t>(0);
    Do("the register popup opened", [registers] {
        uint32_t bar = WinMenu(FrameWindow);
        for (int top = 0; top < MenuItemCount(bar); top++) {
            if (MenuItemText(bar, top).find("Registers") == std::string::npos) continue;
            *registers = MenuSubMenu(bar, top);
            EXPECT_GT(MenuItemCount(*registers), 40) << "the register popup is longer than a screen holds";
            PlRect r = MenuBarItemRect(FrameWindow, top);
            PlPoint p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            MsgInputMouse(p, 1, true);
            MsgInputMouse(p, 1, false);
            return true;
        }
        ADD_FAILURE() << "the General ledger shows no Registers menu";
        return false;
    });
    auto before = std::make_shared<int>(0);
    Do("its last entry clicked", [registers, before] {
        int last = MenuItemCount(*registers) - 1;
        PlRect r = MenuOpenItemRect(*registers, last);
        EXPECT_TRUE(RoadTest::MenuItemOnScreen(*registers, last)) << MenuItemText(*registers, last);
        if (PlRectEmpty(r)) return false;
        *before = Active();
        PlPoint p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        MsgInputMouse(p, 0, false);
        MsgInputMouse(p, 1, true);
        MsgInputMouse(p, 1, false);
        return true;
    });
    Check("its window opened", [before] {
        EXPECT_NE(Active(), 0);
        EXPECT_NE(Active(), *before) << ActiveTitle();
        return true;
    });
    Run();
}

}  // namespace
