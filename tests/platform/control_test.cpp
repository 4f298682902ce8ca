// The built-in controls driven through the queue as a user would: typing,
// keys and clicks; notifications to the parent.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/control.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "tests/platform/ink_bands.h"

namespace {
struct Note {
    uint32_t msg;
    int id, code;
    uint32_t from;
};
std::vector<Note> gNotes;

intptr_t ParentProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::Command || msg == PlMsg::VScroll)
        gNotes.push_back({msg, PlLoWord(intptr_t(wParam)), PlHiWord(intptr_t(wParam)), uint32_t(lParam)});
    return WinDefProc(win, msg, wParam, lParam);
}

class ControlTest : public ::testing::Test {
protected:
    uint32_t top = 0;
    void SetUp() override
    {
        WinResetAll();
        ClipboardClear();
        gNotes.clear();
        ASSERT_TRUE(WinRegisterClass({"Parent", ParentProc, 0, kPlLightGrey, 0, 0}));
        top = WinCreate("Parent", "", PlStyle::Visible, {0, 0, 400, 300}, 0, 0, 0);
    }
    void TearDown() override
    {
        for (uint32_t k : {PlKey::Shift, PlKey::Control}) PlSetKeyDown(k, false);
        WinResetAll();
    }
    void Type(std::string_view s)
    {
        for (char c : s) MsgInputChar(uint8_t(c));
        MsgPumpPending();
    }
    void Key(uint32_t vk, bool shift = false)
    {
        if (shift) MsgInputKey(PlKey::Shift, true, 0);
        MsgInputKey(vk, true, 0);
        MsgInputKey(vk, false, 0);
        if (shift) MsgInputKey(PlKey::Shift, false, 0);
        MsgPumpPending();
    }
    // An edit control of `style` at `at`, with the focus.
    uint32_t FocusedEdit(uint32_t style, PlRect at, int id = 0)
    {
        uint32_t e = WinCreate("Edit", "", PlStyle::Child | PlStyle::Visible | style, at, top, id, 0);
        WinSetFocus(e);
        return e;
    }
    void Click(uint32_t win, int x, int y)
    {
        PlPoint p = WinClientToScreen(win, {x, y});
        MsgInputMouse(p, 1, true);
        MsgInputMouse(p, 1, false);
        MsgPumpPending();
    }
};

TEST_F(ControlTest, EditTypingSelectionAndKeys)
{
    uint32_t e = FocusedEdit(PlEditStyle::AutoHScroll, {10, 10, 210, 30}, 7);
    Type("Hello");
    EXPECT_EQ(EditGetText(e), "Hello");
    EXPECT_EQ(EditCaret(e), 5);
    ASSERT_FALSE(gNotes.empty());
    EXPECT_EQ(gNotes.back().id, 7);
    EXPECT_EQ(gNotes.back().code, PlEn::Change);
    EXPECT_EQ(gNotes.back().from, e);

    Key(PlKey::Left);
    Key(PlKey::Left);
    Type("p");
    EXPECT_EQ(EditGetText(e), "Helplo");
    Type("\b");
    EXPECT_EQ(EditGetText(e), "Hello");
    Key(PlKey::Delete);
    EXPECT_EQ(EditGetText(e), "Helo");
    Key(PlKey::Home);
    Type("\b");
    EXPECT_EQ(EditGetText(e), "Helo") << "Backspace at the start does nothing";
    Key(PlKey::End);
    Key(PlKey::Delete);
    EXPECT_EQ(EditGetText(e), "Helo") << "Delete at the end does nothing";
    Key(PlKey::Left, true);
    Key(PlKey::Left, true);
    int a, b;
    EditGetSel(e, &a, &b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 4);
    Type("y");
    EXPECT_EQ(EditGetText(e), "Hey");

    // Messages of the program.
    EditSetSel(e, 0, -1);
    EditGetSel(e, &a, &b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 3);
    EXPECT_EQ(WinSend(e, PlEm::GetSel, 0, 0), PlMakeLong(0, 3));
    EditReplaceSel(e, "X");
    EXPECT_EQ(EditGetText(e), "X");
    EXPECT_EQ(WinSend(e, PlEm::LineLength, 0, 0), 1);
    char buf[256];
    EXPECT_EQ(WinSend(e, PlMsg::GetText, sizeof buf, reinterpret_cast<intptr_t>(buf)), 1);
    EXPECT_STREQ(buf, "X");
    EditSetSel(e, -1, 0);
    EditGetSel(e, &a, &b);
    EXPECT_EQ(a, b);
    // Control characters other than Backspace are not text.
    Type("\t\r\x1b");
    EXPECT_EQ(EditGetText(e), "X");

    // 255 characters at most, typed or set.
    EditSetText(e, std::string(300, 'a'));
    EXPECT_EQ(EditGetText(e).size(), 255u);
    Key(PlKey::End);
    Type("b");
    EXPECT_EQ(EditGetText(e).size(), 255u);
    EXPECT_EQ(EditGetText(e).back(), 'a');
    EXPECT_GT(EditScrollOffset(e), 0) << "the caret at the end scrolled the text";
    Key(PlKey::Home);
    EXPECT_EQ(EditScrollOffset(e), 0);
}

TEST_F(ControlTest, EditClipboardPasswordAndWidth)
{
    uint32_t e = FocusedEdit(PlEditStyle::AutoHScroll, {10, 10, 210, 30});
    Type("one two");
    EditSetSel(e, 4, 7);
    Type("\x03");  // Ctrl+C as the translation gives it
    std::string clip;
    ASSERT_TRUE(ClipboardGetText(&clip));
    EXPECT_EQ(clip, "two");
    WinSend(e, PlMsg::Cut, 0, 0);
    EXPECT_EQ(EditGetText(e), "one ");
    Type("\x16");  // Ctrl+V
    Type("\x16");
    EXPECT_EQ(EditGetText(e), "one twotwo");
    ClipboardSetText("a\r\nb");
    WinSend(e, PlMsg::Paste, 0, 0);
    EXPECT_EQ(EditGetText(e), "one twotwoab") << "line breaks are not pasted into a single line";

    uint32_t pw = FocusedEdit(PlEditStyle::Password, {10, 40, 210, 60});
    Type("secret");
    EXPECT_EQ(EditGetText(pw), "secret");
    ClipboardSetText("keep");
    EditSetSel(pw, 0, -1);
    WinSend(pw, PlMsg::Copy, 0, 0);
    WinSend(pw, PlMsg::Cut, 0, 0);
    ASSERT_TRUE(ClipboardGetText(&clip));
    EXPECT_EQ(clip, "keep") << "a password is never copied out";
    EXPECT_EQ(EditGetText(pw), "secret");

    // Without sideways scrolling the text stops at the edge.
    uint32_t narrow = FocusedEdit(0, {10, 70, 40, 90});
    Type(std::string(40, 'W'));
    size_t n = EditGetText(narrow).size();
    EXPECT_GT(n, 0u);
    EXPECT_LT(n, 40u);
    EXPECT_EQ(EditScrollOffset(narrow), 0);

    // A click puts the caret at the nearest character.
    WinSetFocus(e);
    Click(e, 1, 5);
    EXPECT_EQ(EditCaret(e), 0);
    Click(e, 199, 5);
    EXPECT_EQ(EditCaret(e), int(EditGetText(e).size()));
}

// A multi-line edit: Return starts a new line, drawn below the first from
// the top; a long line wraps at a blank; the caret moves by lines with Up
// and Down, to a line's ends with Home and End (the text's with Ctrl),
// and by a click on a line; a pasted CR LF is one line break; the limit
// counts the breaks.
TEST_F(ControlTest, EditOfSeveralLines)
{
    uint32_t e = FocusedEdit(PlEditStyle::MultiLine, {10, 10, 210, 210});
    Type("First line\rSecond line");
    EXPECT_EQ(EditGetText(e), "First line\nSecond line");
    MsgPumpPending();
    std::vector<std::pair<int, int>> bands = InkBands(e);
    ASSERT_EQ(bands.size(), 2u) << "two lines of text";
    EXPECT_LT(bands[0].first, 6) << "the first line stands at the top";
    int lineHeight = bands[1].first - bands[0].first;
    EXPECT_GT(lineHeight, 8);
    EXPECT_LT(lineHeight, 30);

    Key(PlKey::Up);
    EXPECT_EQ(EditCaret(e), 10) << "up from the end of the longer line: the end of the first";
    Key(PlKey::Home);
    EXPECT_EQ(EditCaret(e), 0);
    Key(PlKey::Down);
    EXPECT_EQ(EditCaret(e), 11) << "down from the start: the start of the second line";
    Key(PlKey::End);
    EXPECT_EQ(EditCaret(e), 22);
    Key(PlKey::Up, true);
    int a, b;
    EditGetSel(e, &a, &b);
    EXPECT_EQ(a, 10) << "Shift+Up selects up to the line above";
    EXPECT_EQ(b, 22);
    Click(e, 1, bands[1].first + 2);
    EXPECT_EQ(EditCaret(e), 11) << "a click at the left of the second line";
    Type("\b");
    EXPECT_EQ(EditGetText(e), "First lineSecond line") << "Backspace joins the lines";
    Type("\r");
    MsgInputKey(PlKey::Control, true, 0);
    Key(PlKey::End);
    MsgInputKey(PlKey::Control, false, 0);
    MsgPumpPending();
    EXPECT_EQ(EditCaret(e), 22) << "Ctrl+End: the end of the text";

    // A line longer than the width wraps after a blank, and the lines stay
    // whole: the text is not cut.
    EditSetText(e, "");
    const std::string words = "one two three four five six seven eight nine ten eleven twelve";
    Type(words);
    EXPECT_EQ(EditGetText(e), words);
    MsgPumpPending();
    bands = InkBands(e);
    EXPECT_GE(bands.size(), 2u) << "the words wrap onto a second line";
    Key(PlKey::Home);
    EXPECT_GT(EditCaret(e), 0) << "Home goes to the start of the wrapped line, not the text's";
    EXPECT_EQ(words[size_t(EditCaret(e)) - 1], ' ') << "the line wrapped after a blank";

    ClipboardSetText("a\r\nb");
    EditSetText(e, "");
    WinSend(e, PlMsg::Paste, 0, 0);
    EXPECT_EQ(EditGetText(e), "a\nb");
    EditSetText(e, std::string(254, 'x'));
    Key(PlKey::End);
    Type("\r\r");
    EXPECT_EQ(EditGetText(e).size(), 255u) << "a line break counts against the limit";
}

TEST_F(ControlTest, ListBoxContentsSelectionAndNotifications)
{
    uint32_t lb = WinCreate("ListBox", "", PlStyle::Child | PlStyle::Visible | PlStyle::VScroll | PlListStyle::Notify,
                            {10, 10, 160, 110}, top, 0, 0);
    EXPECT_EQ(ListBoxAdd(lb, "alpha"), 0);
    EXPECT_EQ(ListBoxAdd(lb, "gamma"), 1);
    EXPECT_EQ(WinSend(lb, PlLb::InsertString, 1, reinterpret_cast<intptr_t>("beta")), 1);
    EXPECT_EQ(ListBoxCount(lb), 3);
    char buf[256];
    EXPECT_EQ(WinSend(lb, PlLb::GetText, 2, reinterpret_cast<intptr_t>(buf)), 5);
    EXPECT_STREQ(buf, "gamma");
    EXPECT_EQ(WinSend(lb, PlLb::GetText, 3, reinterpret_cast<intptr_t>(buf)), -1);
    // A row longer than the 256 bytes callers hand in is cut to fit (on the
    // heap, so that the address checker sees a write past the end).
    std::vector<char> small(256, 'Z');
    int longRow = ListBoxAdd(lb, std::string(400, 'r'));
    EXPECT_EQ(WinSend(lb, PlLb::GetTextLen, uintptr_t(longRow), 0), 255);
    EXPECT_EQ(WinSend(lb, PlLb::GetText, uintptr_t(longRow), reinterpret_cast<intptr_t>(small.data())), 255);
    EXPECT_EQ(std::string(small.data()), std::string(255, 'r'));
    WinSend(lb, PlLb::DeleteString, uintptr_t(longRow), 0);
    EXPECT_EQ(ListBoxCurSel(lb), -1);
    EXPECT_EQ(WinSend(lb, PlLb::GetSelCount, 0, 0), 0);

    ListBoxSetCurSel(lb, 0);
    EXPECT_TRUE(gNotes.empty()) << "the program's own selection is not reported";
    EXPECT_EQ(WinSend(lb, PlLb::GetSelCount, 0, 0), 1);
    EXPECT_EQ(WinSend(lb, PlLb::GetSel, 0, 0), 1);
    EXPECT_EQ(WinSend(lb, PlLb::GetSel, 1, 0), 0);

    WinSetFocus(lb);
    Key(PlKey::Down);
    EXPECT_EQ(ListBoxCurSel(lb), 1);
    ASSERT_EQ(gNotes.size(), 1u);
    EXPECT_EQ(gNotes[0].code, PlLbn::SelChange);
    EXPECT_EQ(gNotes[0].from, lb);

    gNotes.clear();
    int h = ListBoxRowHeight(lb);
    PlPoint p = WinClientToScreen(lb, {20, 2 * h + 2});
    MsgInputMouse(p, 1, true);
    MsgInputMouse(p, 1, false);
    MsgInputMouse(p, 1, true);
    MsgInputMouse(p, 1, false);
    MsgPumpPending();
    EXPECT_EQ(ListBoxCurSel(lb), 2);
    ASSERT_EQ(gNotes.size(), 2u);
    EXPECT_EQ(gNotes[0].code, PlLbn::SelChange);
    EXPECT_EQ(gNotes[1].code, PlLbn::DblClk);

    EXPECT_EQ(WinSend(lb, PlLb::DeleteString, 0, 0), 2);
    EXPECT_EQ(ListBoxCurSel(lb), 1) << "the selection follows its row";
    EXPECT_EQ(ListBoxText(lb, 0), "beta");
    WinSend(lb, PlLb::ResetContent, 0, 0);
    EXPECT_EQ(ListBoxCount(lb), 0);
    EXPECT_EQ(ListBoxCurSel(lb), -1);
}

// Typing a row's beginning selects the first row from the selected one
// that begins so, letters in either case, and tells the parent; the same
// first letter typed again steps on to the next row it begins.
TEST_F(ControlTest, ListBoxSelectsTheRowWhoseBeginningIsTyped)
{
    uint32_t lb = WinCreate("ListBox", "", PlStyle::Child | PlStyle::Visible | PlStyle::VScroll | PlListStyle::Notify,
                            {10, 10, 160, 110}, top, 0, 0);
    for (const char *row : {"Departments", "Sales documents", "sales invoices", "Stock", "\xC5rsredovisning"})
        ListBoxAdd(lb, row);
    ListBoxSetCurSel(lb, 0);
    auto type = [lb](const std::string &text) {
        for (char c : text) WinSend(lb, PlMsg::Char, uint8_t(c), 0);
    };
    type("SALES I");
    EXPECT_EQ(ListBoxCurSel(lb), 2);
    EXPECT_FALSE(gNotes.empty());
    EXPECT_EQ(gNotes.back().code, PlLbn::SelChange);
    type("q");
    EXPECT_EQ(ListBoxCurSel(lb), 2) << "a beginning no row has leaves the selection";
    // After a pause a new beginning starts; one letter again steps on.
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    type("s");
    EXPECT_EQ(ListBoxCurSel(lb), 3);
    type("s");
    EXPECT_EQ(ListBoxCurSel(lb), 1) << "from the last row it goes round to the first";
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    type("\xE5");
    EXPECT_EQ(ListBoxCurSel(lb), 4) << "an accented letter in either case";
}

TEST_F(ControlTest, ListBoxScrollsWithItsOwnBar)
{
    uint32_t lb = WinCreate("ListBox", "",
                            PlStyle::Child | PlStyle::Visible | PlStyle::VScroll | PlListStyle::DisableNoScroll,
                            {10, 10, 160, 110}, top, 0, 0);
    uint32_t bar = ListBoxScrollBar(lb);
    ASSERT_NE(bar, 0u);
    EXPECT_TRUE(WinIsVisible(bar)) << "kept, disabled, when not needed";
    EXPECT_FALSE(WinIsEnabled(bar));
    for (int i = 0; i < 30; ++i) ListBoxAdd(lb, "row " + std::to_string(i));
    EXPECT_TRUE(WinIsEnabled(bar));
    int visible = 100 / ListBoxRowHeight(lb);
    int mn, mx;
    ScrollBarRange(bar, &mn, &mx);
    EXPECT_EQ(mx, 30 - visible);
    MsgPumpPending();
    PlRect br = WinClientRect(bar);
    Click(bar, 5, br.bottom - 3);  // the down arrow
    EXPECT_EQ(ListBoxTopIndex(lb), 1);
    EXPECT_EQ(ScrollBarPos(bar), 1);
    ListBoxSetCurSel(lb, 29);
    EXPECT_EQ(ListBoxTopIndex(lb), 30 - visible) << "the selection is scrolled into view";

    uint32_t plain = WinCreate("ListBox", "", PlStyle::Child | PlStyle::Visible | PlStyle::VScroll,
                               {200, 10, 300, 110}, top, 0, 0);
    EXPECT_FALSE(WinIsVisible(ListBoxScrollBar(plain))) << "hidden when not needed";
    ListBoxAdd(plain, "x");
    WinSend(plain, PlLb::SetCurSel, 5, 0);
    EXPECT_EQ(ListBoxCurSel(plain), -1);
}

TEST_F(ControlTest, TheWheelScrollsWhatIsUnderThePointer)
{
    uint32_t lb = WinCreate("ListBox", "", PlStyle::Child | PlStyle::Visible | PlStyle::VScroll, {10, 10, 160, 110},
                            top, 0, 0);
    for (int i = 0; i < 50; ++i) ListBoxAdd(lb, "row " + std::to_string(i));
    uint32_t edit = WinCreate("Edit", "", PlStyle::Child | PlStyle::Visible, {200, 150, 300, 170}, top, 0, 0);
    WinSetFocus(edit);
    MsgPumpPending();
    ScriptWheel(lb, 20, 20, -1);  // one notch toward the user
    MsgPumpPending();
    EXPECT_EQ(ListBoxTopIndex(lb), 3);
    EXPECT_EQ(ScrollBarPos(ListBoxScrollBar(lb)), 3);
    ScriptWheel(ListBoxScrollBar(lb), 5, 40, -2);  // over the list's own bar
    MsgPumpPending();
    EXPECT_EQ(ListBoxTopIndex(lb), 9);
    // A fine-grained wheel: two half notches make one.
    PlPoint over = WinClientToScreen(lb, {20, 20});
    MsgInputWheel(over, -kPlWheelDelta / 2);
    MsgPumpPending();
    EXPECT_EQ(ListBoxTopIndex(lb), 9);
    MsgInputWheel(over, -kPlWheelDelta / 2);
    MsgPumpPending();
    EXPECT_EQ(ListBoxTopIndex(lb), 12);
    ScriptWheel(lb, 20, 20, 1);
    MsgPumpPending();
    EXPECT_EQ(ListBoxTopIndex(lb), 9) << "away from the user scrolls up";

    // Over an edit field the window it sits in scrolls, as from its scroll bar.
    gNotes.clear();
    ScriptWheel(edit, 5, 5, -1);
    MsgPumpPending();
    std::vector<int> codes;
    for (auto &n : gNotes)
        if (n.msg == PlMsg::VScroll) codes.push_back(n.id);
    EXPECT_EQ(codes, (std::vector<int>{PlSb::LineDown, PlSb::LineDown, PlSb::LineDown, PlSb::EndScroll}));
    EXPECT_EQ(ListBoxTopIndex(lb), 9) << "the list under no pointer stays";
}

TEST_F(ControlTest, ScrollBarReportsTheFiveCodes)
{
    uint32_t bar = WinCreate("ScrollBar", "", PlStyle::Child | PlStyle::Visible, {300, 10, 316, 210}, top, 0, 0);
    ScrollBarSetRange(bar, 1, 50, true);
    ScrollBarSetPos(bar, 80, true);
    EXPECT_EQ(ScrollBarPos(bar), 50) << "clamped into the range";
    ScrollBarSetPos(bar, 10, true);
    MsgPumpPending();
    Click(bar, 8, 3);
    Click(bar, 8, 197);
    PlRect t = ScrollBarThumbRect(bar);
    ASSERT_FALSE(PlRectEmpty(t));
    Click(bar, 8, t.top - 2);
    Click(bar, 8, t.bottom + 2);
    std::vector<int> codes;
    for (auto &n : gNotes) {
        EXPECT_EQ(n.msg, PlMsg::VScroll);
        EXPECT_EQ(n.from, bar);
        if (n.id != PlSb::EndScroll) codes.push_back(n.id);
    }
    EXPECT_EQ(codes, (std::vector<int>{PlSb::LineUp, PlSb::LineDown, PlSb::PageUp, PlSb::PageDown}));
    EXPECT_EQ(ScrollBarPos(bar), 10) << "the parent moves the bar, not the bar itself";

    // Dragging the thumb to the bottom reports track and then the position.
    gNotes.clear();
    PlPoint from = WinClientToScreen(bar, {8, (t.top + t.bottom) / 2});
    MsgInputMouse(from, 1, true);
    MsgInputMouse({from.x, from.y + 300}, 0, false);
    MsgInputMouse({from.x, from.y + 300}, 1, false);
    MsgPumpPending();
    ASSERT_GE(gNotes.size(), 2u);
    EXPECT_EQ(gNotes[0].id, PlSb::ThumbTrack);
    EXPECT_EQ(gNotes[0].code, 50);
    bool sawPosition = false;
    for (auto &n : gNotes)
        if (n.id == PlSb::ThumbPosition) {
            sawPosition = true;
            EXPECT_EQ(n.code, 50);
        }
    EXPECT_TRUE(sawPosition);

    gNotes.clear();
    ScrollBarSetRange(bar, 1, 1, true);
    Click(bar, 8, 3);
    EXPECT_TRUE(gNotes.empty()) << "an empty range disables the bar";
}

TEST_F(ControlTest, ButtonClicksReachTheParent)
{
    uint32_t b = WinCreate("Button", "&Save", PlStyle::Child | PlStyle::Visible, {10, 10, 70, 33}, top, 12, 0);
    MsgPumpPending();
    Click(b, 30, 10);
    ASSERT_EQ(gNotes.size(), 1u);
    EXPECT_EQ(gNotes[0].msg, PlMsg::Command);
    EXPECT_EQ(gNotes[0].id, 12);
    EXPECT_EQ(gNotes[0].code, PlBn::Clicked);
    EXPECT_EQ(gNotes[0].from, b);

    // Pressed while held; a release outside does not click.
    gNotes.clear();
    PlPoint in = WinClientToScreen(b, {30, 10});
    MsgInputMouse(in, 1, true);
    MsgPumpPending();
    EXPECT_TRUE(ButtonIsPressed(b));
    MsgInputMouse({in.x + 200, in.y}, 0, false);
    MsgPumpPending();
    EXPECT_FALSE(ButtonIsPressed(b));
    MsgInputMouse({in.x + 200, in.y}, 1, false);
    MsgPumpPending();
    EXPECT_TRUE(gNotes.empty());

    WinEnable(b, false);
    Click(b, 30, 10);
    EXPECT_TRUE(gNotes.empty());
    WinEnable(b, true);
    WinSetFocus(b);
    Key(PlKey::Space);
    EXPECT_EQ(gNotes.size(), 1u);
    // The face is light grey and the text dark.
    EXPECT_EQ(WinClientPixel(b, 5, 5), kPlLightGrey);
}

TEST_F(ControlTest, DisablingAControlThatHoldsTheMouseLetsGoOfIt)
{
    uint32_t b = WinCreate("Button", "&Save", PlStyle::Child | PlStyle::Visible, {10, 10, 70, 33}, top, 12, 0);
    uint32_t other = WinCreate("Button", "&Other", PlStyle::Child | PlStyle::Visible, {100, 10, 160, 33}, top, 13, 0);
    MsgPumpPending();
    // The button is disabled between press and release (as the program does
    // with the bar buttons when its state changes).
    MsgInputMouse(WinClientToScreen(b, {30, 10}), 1, true);
    MsgPumpPending();
    ASSERT_EQ(WinCapture(), b);
    WinEnable(b, false);
    EXPECT_EQ(WinCapture(), 0u) << "a disabled window cannot keep the mouse";
    MsgInputMouse(WinClientToScreen(b, {30, 10}), 1, false);
    MsgPumpPending();
    gNotes.clear();
    Click(other, 30, 10);
    ASSERT_EQ(gNotes.size(), 1u) << "later clicks reach the window under the mouse";
    EXPECT_EQ(gNotes[0].from, other);

    // The same for a control inside a disabled parent.
    uint32_t box = WinCreate("Parent", "", PlStyle::Child | PlStyle::Visible, {200, 50, 300, 150}, top, 0, 0);
    uint32_t inner = WinCreate("Button", "In", PlStyle::Child | PlStyle::Visible, {5, 5, 60, 28}, box, 14, 0);
    MsgPumpPending();
    MsgInputMouse(WinClientToScreen(inner, {10, 10}), 1, true);
    MsgPumpPending();
    ASSERT_EQ(WinCapture(), inner);
    WinEnable(box, false);
    EXPECT_EQ(WinCapture(), 0u);
    MsgInputMouse(WinClientToScreen(inner, {10, 10}), 1, false);
    MsgPumpPending();

    // A scroll bar disabled in the middle of a thumb drag ends the drag: once
    // enabled again its thumb shows the position, not the abandoned drag.
    uint32_t bar = WinCreate("ScrollBar", "", PlStyle::Child | PlStyle::Visible, {350, 10, 366, 210}, top, 0, 0);
    ScrollBarSetRange(bar, 0, 10, true);
    MsgPumpPending();
    PlRect t = ScrollBarThumbRect(bar);
    ASSERT_FALSE(PlRectEmpty(t));
    MsgInputMouse(WinClientToScreen(bar, {8, t.top + 2}), 1, true);
    MsgInputMouse(WinClientToScreen(bar, {8, t.top + 120}), 0, false);
    MsgPumpPending();
    ASSERT_FALSE(PlRectEqual(ScrollBarThumbRect(bar), t)) << "dragging";
    WinEnable(bar, false);
    MsgInputMouse(WinClientToScreen(bar, {8, t.top + 120}), 1, false);
    MsgPumpPending();
    WinEnable(bar, true);
    EXPECT_TRUE(PlRectEqual(ScrollBarThumbRect(bar), t));
}
}  // namespace
