// The keys the shell takes before the controls: arrow keys that leave a
// field only when the caret is at its edge, module keys, Ctrl+Shift
// shortcuts that the company can turn off, and the characters the About
// and busy windows leave alone.
#include "shell_fixture.h"

#include <cstring>

#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "platform/control.h"

namespace {

PlMessage Key(uint32_t msg, uint32_t key)
{
    PlMessage m{};
    m.msg = msg;
    m.wParam = key;
    return m;
}

class Keys : public TestWindows {
protected:
    void TearDown() override
    {
        PlSetKeyDown(PlKey::Control, false);
        PlSetKeyDown(PlKey::Shift, false);
        CompanyBlock = nullptr;
        TestWindows::TearDown();
    }
    // Window n with an edit control holding `text`, selection start..end.
    static uint32_t EditIn(int n, const char *text, int start, int end)
    {
        uint32_t edit = WinCreate("Edit", "", PlStyle::Child | PlStyle::Visible, PlRect{10, 10, 120, 30},
                                  WinTable[n]->mdiChild, 0, 0);
        EditSetText(edit, text);
        EditSetSel(edit, start, end);
        WinTable[n]->editControl = edit;
        return edit;
    }
};

}  // namespace

TEST_F(Keys, ArrowsLeaveTheFieldOnlyAtItsEdge)
{
    int n = OpenWindow(TypeArticle, 0);
    ASSERT_GT(n, 0);
    EXPECT_EQ(EditArrowMode(n, PlKey::Right), 0);   // no edit control: nothing to leave
    uint32_t edit = EditIn(n, "ABC", 3, 3);
    EXPECT_EQ(EditArrowMode(n, PlKey::Right), 2);   // caret after the last character
    EditSetSel(edit, 0, -1);
    EXPECT_EQ(EditArrowMode(n, PlKey::Right), 2);   // all selected
    EditSetSel(edit, 1, 1);
    EXPECT_EQ(EditArrowMode(n, PlKey::Right), 0);   // the caret can still move
    EXPECT_EQ(EditArrowMode(n, PlKey::Left), 0);
    EditSetSel(edit, 0, 0);
    EXPECT_EQ(EditArrowMode(n, PlKey::Left), 3);

    // All selected from 0: the first Left stays in the field, a second
    // one (the previous key was Left) moves on.
    EditSetSel(edit, 0, -1);
    LastKeyDown = PlKey::Down;
    EXPECT_EQ(EditArrowMode(n, PlKey::Left), 0);
    LastKeyDown = PlKey::Left;
    EXPECT_EQ(EditArrowMode(n, PlKey::Left), 3);
    EXPECT_EQ(EditArrowMode(n, PlKey::Up), 5);
    EXPECT_EQ(EditArrowMode(n, PlKey::Down), 6);

    // While busy a move is not made but the key is still taken, so that
    // the control does not move the caret behind the user's back.
    BusyFlag = 1;
    EditSetSel(edit, 3, 3);
    EXPECT_TRUE(KeyPreTranslate(Key(PlMsg::KeyDown, PlKey::Right)));
    EditSetSel(edit, 1, 1);
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::KeyDown, PlKey::Right)));
    EXPECT_EQ(LastKeyDown, PlKey::Right);
}

TEST_F(Keys, ModuleAndShortcutKeysAreTakenUnlessTheCompanyTurnsThemOff)
{
    int n = OpenWindow(TypeArticle, 0);
    ASSERT_GT(n, 0);
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::KeyDown, '3')));
    PlSetKeyDown(PlKey::Control, true);
    EXPECT_TRUE(KeyPreTranslate(Key(PlMsg::KeyDown, '3')));
    EXPECT_TRUE(KeyPreTranslate(Key(PlMsg::KeyDown, '0')));
    EXPECT_EQ(CtrlDown, 1);
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::KeyDown, 'Q')));

    PlSetKeyDown(PlKey::Shift, true);
    EXPECT_TRUE(KeyPreTranslate(Key(PlMsg::KeyDown, 'Q')));
    std::vector<uint8_t> company(CompanyBlk::SecondVariant + 2, 0);
    uint16_t off = 25;
    memcpy(company.data() + CompanyBlk::SecondVariant, &off, 2);
    CompanyBlock = company.data();
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::KeyDown, 'Q')));
    EXPECT_EQ(LastKeyDown, 'Q');
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::KeyUp, 'Q')));
}

TEST_F(Keys, AboutWindowLeavesCopyAndEnterToItsControls)
{
    int about = OpenWindow(TypeAbout, 0);
    ASSERT_GT(about, 0);
    ASSERT_EQ(CurrentWindow, about);
    EditIn(about, "x", 0, 0);
    EXPECT_FALSE(KeyCharCommand(3));
    EXPECT_FALSE(KeyCharCommand(13));
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::Char, 13)));

    // In another window a typed character is the shell's once there is
    // an edit control, also while the program is busy.
    int n = OpenWindow(TypeArticle, 0);
    ASSERT_EQ(CurrentWindow, n);
    EXPECT_FALSE(KeyCharCommand('a'));        // no field to type into
    EditIn(n, "", 0, 0);
    EXPECT_TRUE(KeyCharCommand('a'));
    BusyFlag = 1;
    EXPECT_TRUE(KeyCharCommand('b'));
}
