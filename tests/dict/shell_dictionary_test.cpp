// shell_dictionary_test.cpp - the compiled interface file carries what the
// shell reads at run time: the window types the frame needs, the File,
// Edit and Record menus laid out where the enabling code addresses their
// items, and every text the shell shows.
#include <gtest/gtest.h>

#include <string>

#include "core/definitions.h"
#include "core/interface_load.h"
#include "core/pstring.h"
#include "shell/frame_commands.h"
#include "tests/core/built_interface.h"

namespace {

class ShellDictionary : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
    }
    void TearDown() override { InterfaceUnload(); }
};

const uint8_t *FindMenu(int number)
{
    for (const uint8_t *m = MenuDefFirst(); m; m = MenuDefNext(m))
        if (MenuDefNumber(m) == number) return m;
    return nullptr;
}

// True when text n is in the file and not empty.
bool TextPresent(int n)
{
    const uint8_t *t = UiTextFind(n);
    return t && t[0] != 0;
}

// The position of item `number` in the built popup: separators take a
// position but no number.
int ItemPosition(const uint8_t *menu, int number)
{
    for (int i = 0; i < MenuDefItemCount(menu); i++)
        if (DefU16(MenuDefItem(menu, i) + 6) == number) return i;
    return -1;
}

TEST_F(ShellDictionary, WindowTypesTheShellOpensAreDefined)
{
    for (int type : {1, 9, 18, 19}) {
        EXPECT_TRUE(WinTypeWord(type, 0) < 65535) << "type " << type;
        EXPECT_TRUE(TextPresent(WinTypeWord(type, 10))) << "title of type " << type;
    }
    // Type 9's list box keeps 10 px to the right and 44 px to the bottom,
    // where its buttons stand.
    EXPECT_EQ((int16_t)WinTypeWord(9, 13), -44);
    EXPECT_EQ((int16_t)WinTypeWord(9, 14), -10);
}

TEST_F(ShellDictionary, MenuItemsStandWhereTheEnablingCodeLooks)
{
    const uint8_t *file = FindMenu(2), *edit = FindMenu(3), *record = FindMenu(4);
    ASSERT_TRUE(file && edit && record);
    // Each File, Edit and Record command of the frame's table: item k at
    // k - 1, in File above 5 at k - 2 (there is no item 6).
    for (const FrameCommandRec &c : FrameCommands()) {
        const uint8_t *menu = c.menu == FrameMenu::File   ? file
                              : c.menu == FrameMenu::Edit ? edit
                              : c.menu == FrameMenu::Record ? record
                                                            : nullptr;
        if (!menu) continue;
        const int k = FrameMenuItem(c, c.first);
        EXPECT_EQ(ItemPosition(menu, k), c.menu == FrameMenu::File && k > 5 ? k - 2 : k - 1) << "command " << c.first;
    }
    EXPECT_EQ(ItemPosition(file, 6), -1);
    // The separators sit at the positions of the missing numbers.
    EXPECT_EQ(PStringToStd(MenuDefItem(file, 2) + 8), "(-");
    EXPECT_EQ(PStringToStd(MenuDefItem(record, 2) + 8), "(-");
}

TEST_F(ShellDictionary, EveryShellTextIsPresent)
{
    const int texts[] = {1014, 1015, 1016, 1017, 1018, 1022, 1165, 1517, 1555, 1571, 1572, 1573, 1575,
                         1601, 1602, 1603, 1611, 1612, 1615, 1616, 1617, 1618, 1619, 1620, 1802,
                         9504, 9505, 9506, 9507, 9508, 9509, 9510, 9511, 9520, 9521, 9522, 9523, 9856};
    for (int t : texts) EXPECT_TRUE(TextPresent(t)) << "text " << t;
    // Empty face names select the platform's UI fonts.
    EXPECT_FALSE(TextPresent(2006));
    EXPECT_FALSE(TextPresent(2007));
}

}  // namespace
