// menu_keys_test.cpp - the Ctrl keys the menus show, as a user sees them
// with each window type of the built interface file active in the demo
// company: no key is shown on two items, and each key shown runs its
// item. An operations item's key is pressed (the window type's handler
// watches which operation comes and keeps it from running); the keys of
// the frame's own menus are looked up where the key dispatch looks them
// up.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/menu.h"
#include "platform/queue.h"
#include "shell/menus.h"
#include "shell/window_events.h"
#include "tests/features/demo_company_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

constexpr int OpsFirst = 701, OpsLast = 799;

// An item of the menu bar that shows a Ctrl key.
struct KeyShown {
    std::string where;   // "Menu > Item"
    int id = 0;
    char key = 0;
};

// Every item of the bar's popups showing "Ctrl+X", as the bar stands now.
std::vector<KeyShown> KeysShown()
{
    std::vector<KeyShown> shown;
    uint32_t bar = MenuHandles.bar;
    for (int top = 0; top < MenuItemCount(bar); top++) {
        uint32_t popup = MenuSubMenu(bar, top);
        for (int i = 0; popup && i < MenuItemCount(popup); i++) {
            std::string text = MenuItemText(popup, i);
            size_t at = text.find("\tCtrl+");
            if (at == std::string::npos || at + 6 >= text.size()) continue;
            shown.push_back({MenuItemText(bar, top) + " > " + text.substr(0, at), MenuItemId(popup, i), text[at + 6]});
        }
    }
    return shown;
}

// The operation the watched window type was last asked to run; its run
// is refused, so that pressing the keys changes nothing.
int OperationAsked = 0;
uint8_t WatchOperations(int, int event, void *a, void *)
{
    if (WindowEventCode(event) != WindowEventCode::Button) return 1;
    if (a) OperationAsked = *static_cast<int *>(a);
    return 0;
}

class MenuKeys : public LoggedIn {
protected:
    std::vector<std::string> faults;
    int opsKeysPressed = 0;

    // The menus with window n (of `type`) active.
    void CheckMenus(int n, int type)
    {
        std::string name = "window type " + std::to_string(type) + " (" + TitleOf(n) + ")";
        std::map<char, std::vector<std::string>> byKey;
        for (const KeyShown &k : KeysShown()) {
            byKey[k.key].push_back(k.where);
            if (k.id >= OpsFirst && k.id <= OpsLast) {
                WindowEventHandlerSet(type, WatchOperations);
                OperationAsked = 0;
                Key(uint32_t(k.key), false, true);
                WindowEventHandlerSet(type, nullptr);
                opsKeysPressed++;
                if (!WinIsOpen(n)) {
                    faults.push_back(name + ": Ctrl+" + k.key + " closed the window instead of running " + k.where);
                    return;
                }
                if (OperationAsked != k.id - OpsFirst + 1)
                    faults.push_back(name + ": Ctrl+" + k.key + " does not run " + k.where);
            } else if (MenuKeyCommand(n, k.key) != k.id) {
                faults.push_back(name + ": Ctrl+" + k.key + " does not run " + k.where);
            }
        }
        for (const auto &[key, items] : byKey) {
            if (items.size() < 2) continue;
            std::string all;
            for (const std::string &item : items) all += " [" + item + "]";
            faults.push_back(name + ": Ctrl+" + key + " is shown on" + all);
        }
    }
};

TEST_F(MenuKeys, EveryWindowTypesMenusShowOnlyTheKeysThatRunThem)
{
    constexpr int LoginType = 15;
    int checked = 0;
    for (int type = 2; type < WinTypeUseEntries - 1; type++) {
        if (!WinDefExists(type) || type == LoginType) continue;
        int n = OpenWindow(type, 0);
        if (n <= 0) continue;
        ActivateWindowNumber(n);
        Drain();
        if (!WinIsOpen(n)) continue;
        CheckMenus(n, type);
        checked++;
        CloseAll();
        ScriptReset();
    }
    EXPECT_GT(checked, 100);
    EXPECT_GT(opsKeysPressed, 10) << "the operations menus' keys were not reached";
    std::string all;
    for (const std::string &f : faults) all += f + "\n";
    EXPECT_TRUE(faults.empty()) << faults.size() << " menu key faults:\n" << all;
}

// With no window the frame's menus show the keys of File, Edit, Record
// and the register popup once each, and each runs its item.
TEST_F(MenuKeys, TheFramesOwnMenusKeepTheirKeysWithoutAWindow)
{
    CloseAll();
    std::map<char, int> seen;
    std::vector<KeyShown> shown = KeysShown();
    EXPECT_GE(shown.size(), 10u);
    for (const KeyShown &k : shown) {
        EXPECT_EQ(++seen[k.key], 1) << "Ctrl+" << k.key << " shown twice, on " << k.where;
        EXPECT_EQ(MenuKeyCommand(0, k.key), k.id) << k.where;
    }
}

}  // namespace
