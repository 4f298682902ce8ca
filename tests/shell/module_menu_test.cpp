// module_menu_test.cpp - the register popup lists the module table's
// windows the user may use, Ctrl+digit opens them empty, and the user's
// access list decides by its last matching row.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/memblock.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "shell/login.h"
#include "shell/menus.h"
#include "shell/window_table.h"
#include "tests/shell/record_fixture.h"

namespace {

// An access list of rows (kind, item, right).
MemBlock AccessList(std::vector<std::array<uint16_t, 3>> rows)
{
    MemBlock h = MemAlloc(uint32_t(rows.size() * 6));
    uint8_t *p = MemLock(h);
    for (size_t i = 0; i < rows.size(); i++) memcpy(p + i * 6, rows[i].data(), 6);
    MemUnlock(h);
    return h;
}

// The register popup's items as "id text".
std::vector<std::string> RegisterItems()
{
    std::vector<std::string> items;
    uint32_t popup = MenuHandles.registerPopup;
    for (int i = 0; i < MenuItemCount(popup); i++)
        items.push_back(std::to_string(MenuItemId(popup, i)) + " " + MenuItemText(popup, i));
    return items;
}

class ModuleMenu : public RecordFixture {
protected:
    void TearDown() override
    {
        if (LoggedInUser) memset(LoggedInUser + LoggedInUserAccessList, 0, 4);
        MemFree(&list);
        RunMode = saved;
        RecordFixture::TearDown();
    }
    // Gives the logged-in user an access list.
    void UseList(std::vector<std::array<uint16_t, 3>> rows)
    {
        ASSERT_NE(LoggedInUser, nullptr);
        MemFree(&list);
        list = AccessList(rows);
        memcpy(LoggedInUser + LoggedInUserAccessList, &list, 4);
    }
    MemBlock list = 0;
    uint16_t saved = RunMode;
};

TEST_F(ModuleMenu, RegisterPopupOffersTheWindowsTheUserMayUseAndCtrlDigitOpensThem)
{
    EXPECT_EQ(RegisterItems(), (std::vector<std::string>{"401 Customers\tCtrl+1", "402 Access groups\tCtrl+2",
                                                          "403 Company\tCtrl+3"}));
    Key('2', false, true);
    int n = WinFindByDef(591);
    ASSERT_GT(n, 0);

    // A row refusing access groups hides them; the company moves up to 402
    // and Ctrl+2 now opens it. A rebuild leaves no item of the last one.
    UseList({{2, 591, 0}});
    RebuildRegisterMenu();
    RebuildRegisterMenu();
    EXPECT_EQ(RegisterItems(), (std::vector<std::string>{"401 Customers\tCtrl+1", "402 Company\tCtrl+2"}));
    OpenModuleEntry(2);
    EXPECT_GT(WinFindByDef(592), 0);
    OpenModuleEntry(3);   // no third entry: nothing, and no harm
    EXPECT_EQ(WinFindByDef(590), 0);
}

TEST_F(ModuleMenu, AccessRightsTakeTheLastMatchingRow)
{
    EXPECT_EQ(UserAccessRight(0, 2, 590), 1);   // no list allows
    MemBlock l = AccessList({{2, 590, 0}, {3, 590, 5}, {2, 590, 4}, {2, 591, 5}});
    EXPECT_EQ(UserAccessRight(l, 2, 590), 4);
    EXPECT_EQ(UserAccessRight(l, 3, 590), 5);
    EXPECT_EQ(UserAccessRight(l, 2, 592), 1);   // no row for it
    MemFree(&l);

    // Modules: refused unless (9, 1) allows by default or a row of the module says so.
    EXPECT_EQ(UserAccessRightType1(0, 3), 1);
    l = AccessList({{1, 2, 4}});
    EXPECT_EQ(UserAccessRightType1(l, 3), 0);
    EXPECT_EQ(UserAccessRightType1(l, 2), 4);
    MemFree(&l);
    l = AccessList({{1, 3, 0}, {9, 1, 0}});
    EXPECT_EQ(UserAccessRightType1(l, 3), 1);
    MemFree(&l);

    UseList({{1, 2, 0}, {2, 590, 5}});
    EXPECT_FALSE(MayUseModule(1));   // a list without (9, 1) allows only the modules it names
    UseList({{9, 1, 1}, {1, 2, 0}, {2, 590, 5}});
    EXPECT_FALSE(MayUseModule(2));
    EXPECT_TRUE(MayUseModule(1));
    EXPECT_FALSE(MayUseWindowItem(590));
    EXPECT_FALSE(MayOpenWindowType(590));   // a register window: its window right
    EXPECT_TRUE(MayOpenWindowType(592));    // a settings window: its type right (none: allowed)
    // A client never enters module 1.
    RunMode = RunModeClient;
    EXPECT_FALSE(MayUseModule(1));
}

}  // namespace
