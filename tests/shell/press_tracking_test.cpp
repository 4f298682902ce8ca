// press_tracking_test.cpp - the mouse on a window, by the pointer's own
// messages: a button runs once when released inside, however the pointer
// wandered, and nothing when released outside or disabled; boxes change
// only a record that can be edited; a radio released on its own value
// reports no change and draws nothing; a header press sorts; a new press
// ends one left open; clicks reach fields, the matrix and a list box;
// Ctrl+Shift shortcuts pass over hidden columns and disabled controls.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/field_access.h"
#include "platform/queue.h"
#include "recordwin/record_windows.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_mouse.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

constexpr int BoxRegister = 5, BoxSize = 24, FlagAt = 12, ChoiceAt = 14;
constexpr int TypeBoxes = 570, TypeBoxList = 571, TypeBoxRows = 572, TypeChoices = 573;
constexpr int TabOne = 0, ButtonGo = 1, CheckFlag = 2, RadioA = 3, RadioB = 4;

// Register 5 holds a code, a flag, a choice and rows of one number. Type
// 570 shows it: a tab and a push button on page 0, a check box and two
// radio buttons on page 1. Type 571 lists it with a shown "Code" and
// "Flag" column and a hidden one. Type 572 shows its rows in a matrix
// whose row-number cells are 30 pixels wide. Type 573 has a list box.
const char *const PressDict = R"(
register 5 BoxVc size 24 matrix Lines {
  Code    0  keycode 10
  Flag   12  short
  Choice 14  short
  Lines  20  handle
  rows size 8 { Qty 0 long }
  index Code head 2 node 504 words 1 1 1 { Code }
  index Flag head 3 node 504 words 1 0 1 { Flag Code }
}
1014 "viewing"
1015 "new"
1016 "changing"
1022 "browsing"
1520 "In use."
9601 "Boxes"
9602 "Box list"
wintype 1 { kind plain rect 0 0 32 600 }
wintype 570 { kind record register BoxVc recsize 24 rect 60 20 400 560 title 9601 }
window 570 {
  field   rect 20 110 37 240 type keycode format 10 offset BoxVc.Code access new page 0 label "Code"
  control rect 2 300 20 380 kind tab command 1 shortcut 1 page 0 label "One"
  control rect 50 20 73 100 kind button command 99 shortcut 1 page 0 label "Go"
  control rect 10 20 30 160 offset BoxVc.Flag kind check shortcut 1 page 1 label "Flag"
  control rect 40 20 60 160 offset BoxVc.Choice kind radio value 1 shortcut 1 page 1 label "A"
  control rect 70 20 90 160 offset BoxVc.Choice kind radio value 2 shortcut 1 page 1 label "B"
  page    height 90
  page    height 0 last 1
}
wintype 571 { kind list register BoxVc recsize 24 rect 60 20 400 560 title 9602 }
window 571 {
  control rect 0 0 0 0 kind scroll start 1 max 1 label ""
  pane    rect 40 10 -10 -30 control 0
  listcol datax 10 headx 10 index "Code" type keycode format 10 offset BoxVc.Code shown 1 shortcut 1 label "Code"
  listcol datax 150 headx 150 index "Flag" type short offset BoxVc.Flag shown 1 shortcut 1 label "Flag"
  listcol datax 250 headx 250 index "" type short offset BoxVc.Choice shown 0 shortcut 1 label "Hidden"
}
wintype 572 { kind record register BoxVc recsize 24 rect 60 20 400 560 title 9601 }
window 572 {
  field   rect 20 110 37 240 type keycode format 10 offset BoxVc.Code access new page 0 label "Code"
  control rect 10 -30 110 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 8 cells 1 first 2 rect 50 10 150 -30 maxrows 50 page 0 control 0
  column  x 40 type long offset BoxVc.Qty colpage 1 heading 9601
}
wintype 573 { kind plain recsize 24 rect 60 20 300 400 title 9601 listrect 10 10 -40 -10 }
)";

// What types 570 and 573 heard as event 2: the button or record offset, and the flag.
std::vector<std::pair<int, int>> Heard;
uint8_t Listen(int, int event, void *a, void *b)
{
    if (event == 2 && a && b) Heard.emplace_back(*static_cast<uint16_t *>(a), *static_cast<uint8_t *>(b));
    return 1;
}

class Presses : public RecordFixture {
protected:
    std::string InterfaceSource() override { return PressDict; }
    void SetUp() override
    {
        RecordFixture::SetUp();
        Heard.clear();
        WindowEventHandlerSet(TypeBoxes, Listen);
        WindowEventHandlerSet(TypeChoices, Listen);
    }
    void TearDown() override
    {
        WindowEventHandlerSet(TypeBoxes, nullptr);
        WindowEventHandlerSet(TypeChoices, nullptr);
        RecordFixture::TearDown();
    }

    static void Down(int n, int x, int y) { Pointer(n, x, y, 1, true); }
    static void Move(int n, int x, int y) { Pointer(n, x, y, 0, false); }
    static void Up(int n, int x, int y) { Pointer(n, x, y, 1, false); }
    static MacRect ControlRect(int n, int i)
    {
        MacRect r;
        WinFieldRect(n, i, &r);
        return r;
    }
    // Down and up at the centre of control i of n.
    static void Click(int n, int i)
    {
        MacRect r = ControlRect(n, i);
        ClickAt(n, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    static std::vector<uint32_t> Pixels(int n, const MacRect &r)
    {
        std::vector<uint32_t> p;
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++) p.push_back(Pixel(n, x, y));
        return p;
    }
};

TEST_F(Presses, AButtonRunsOnceWhenReleasedInsideAndNeverOutside)
{
    int n = Open(TypeBoxes);
    ASSERT_GT(n, 0);
    Pump();
    MacRect r = ControlRect(n, ButtonGo), tab = ControlRect(n, TabOne);
    int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    std::vector<uint32_t> up = Pixels(n, r);
    const uint8_t &pressed = WinTable[n]->controls[ButtonGo].pressed;

    Down(n, x, y);
    EXPECT_EQ(pressed, 1);
    Move(n, x, r.bottom + 30);
    EXPECT_EQ(pressed, 0);
    Move(n, x, y);
    EXPECT_EQ(pressed, 1);
    Up(n, x, y);
    EXPECT_FALSE(PressRunning());
    EXPECT_EQ(Heard, (std::vector<std::pair<int, int>>{{ButtonGo, 1}}));

    // Released outside the window: it still ends the press, and runs nothing.
    Down(n, x, y);
    Move(n, -40, -40);
    Up(n, -40, -40);
    EXPECT_FALSE(PressRunning());
    EXPECT_EQ(pressed, 0);
    EXPECT_EQ(Pixels(n, r), up);

    // A new press ends the one left open, which runs nothing.
    Down(n, x, y);
    Down(n, tab.left + 5, tab.top + 5);
    EXPECT_EQ(PressState.kind, PressTab);
    EXPECT_EQ(pressed, 0);
    Up(n, tab.left + 5, tab.top + 5);

    // Its shortcut runs it too; disabled, it takes neither a press nor its shortcut.
    Key('G', true, true);
    EXPECT_EQ(Heard.size(), 2u);
    WinTable[n]->controls[ButtonGo].enabled = 0;
    Down(n, x, y);
    EXPECT_FALSE(PressRunning());
    Up(n, x, y);
    Key('G', true, true);
    EXPECT_EQ(Heard.size(), 2u);
}

TEST_F(Presses, BoxesChangeOnlyAnEditableRecordAndRadiosReportRealChanges)
{
    std::vector<uint8_t> rec(BoxSize, 0), other(BoxSize);
    PutText(rec.data(), 0, "A");
    uint32_t id = 0;
    int result = -99;
    RecInsertChecked(BoxRegister, rec.data(), &id, &result);
    ASSERT_EQ(result, RecDone);
    int n = OpenOrActivateWindow(TypeBoxes, 0, id, true, 0);
    ASSERT_GT(n, 0);
    Pump();
    MacRect check = ControlRect(n, CheckFlag);
    std::vector<uint32_t> off = Pixels(n, check);

    // Locked by another user: read-only, and unchanged.
    AsOtherUser([&] { ASSERT_TRUE(RecordLockTakeCall(BoxRegister, id, other.data())); });
    Click(n, CheckFlag);
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(GetU16(WinRecordBuffer(n), FlagAt), 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(Texts::RecordInUse)});
    EXPECT_EQ(Pixels(n, check), off);

    AsOtherUser([&] { ASSERT_TRUE(RecordUnlockCall(BoxRegister, id)); });
    Click(n, CheckFlag);
    EXPECT_EQ(WinRecState(n), 2);
    EXPECT_EQ(GetU16(WinRecordBuffer(n), FlagAt), 1);
    EXPECT_NE(Pixels(n, check), off);

    // Released on the value it has, a radio says nothing changed and draws nothing.
    Click(n, RadioB);
    EXPECT_EQ(GetU16(WinRecordBuffer(n), ChoiceAt), 2);
    Pump();
    MacRect radios{ControlRect(n, RadioA).top, check.left, ControlRect(n, RadioB).bottom, check.right};
    std::vector<uint32_t> before = Pixels(n, radios);
    Click(n, RadioB);
    EXPECT_EQ(WinTable[n]->changed, 0);
    EXPECT_EQ(Pixels(n, radios), before);
    EXPECT_EQ(Heard, (std::vector<std::pair<int, int>>{{FlagAt, 1}, {ChoiceAt, 1}, {ChoiceAt, 0}}));

    Key('F', true, true);   // the check box's shortcut works it the same way
    EXPECT_EQ(GetU16(WinRecordBuffer(n), FlagAt), 0);
    EXPECT_EQ(Heard.size(), 4u);

    // A radio its window disabled takes neither a press nor its shortcut.
    WinTable[n]->controls[RadioA].enabled = 0;
    Click(n, RadioA);
    Key('A', true, true);
    EXPECT_EQ(GetU16(WinRecordBuffer(n), ChoiceAt), 2);
    EXPECT_EQ(Heard.size(), 4u);
}

TEST_F(Presses, HeaderPressSortsByItsColumnAndHiddenColumnsTakeNoShortcut)
{
    int n = OpenOrActivateWindow(TypeBoxList, 0, 0, true, 0);
    ASSERT_GT(n, 0);
    Pump();
    MacRect code, flag;
    ListColumnHeadRect(n, 0, &code);
    ListColumnHeadRect(n, 1, &flag);
    int x = (flag.left + flag.right) / 2, y = (flag.top + flag.bottom) / 2;
    uint32_t normal = Pixel(n, x, y);
    Down(n, x, y);
    EXPECT_NE(Pixel(n, x, y), normal);
    Up(n, x, y);
    EXPECT_EQ(WinListColumn(n), 1);

    Down(n, code.left + 3, code.top + 3);   // released outside: the column stays
    Up(n, code.left + 3, code.bottom + 40);
    EXPECT_EQ(WinListColumn(n), 1);

    Key('H', true, true);   // the hidden column's shortcut
    EXPECT_EQ(WinListColumn(n), 1);
    Key('C', true, true);
    EXPECT_EQ(WinListColumn(n), 0);
}

TEST_F(Presses, AClickFocusesAFieldACellOrAnExistingRowAndAListBoxChoiceIsTold)
{
    int list = Open(TypeChoices);
    ASSERT_GT(list, 0);
    PString row;
    PStringFromC(row, "First");
    ListBoxAddString(list, row);
    MsgInputMouse(WinClientToScreen(WinListBox(list), PlPoint{5, 5}), 1, true);
    MsgInputMouse(WinClientToScreen(WinListBox(list), PlPoint{5, 5}), 1, false);
    Drain();
    EXPECT_EQ(Heard, (std::vector<std::pair<int, int>>{{0, 1}}));

    int n = OpenOrActivateWindow(TypeBoxRows, 0, 0, true, 0);
    ASSERT_GT(n, 0);
    MacRect r;
    WinBindingRect(n, WinDefEntry(n, WinPartDataFields, 0), &r);
    ClickAt(n, r.left + 4, r.top + 4);
    EXPECT_EQ(WinFocusFieldNumber(n), 1);
    EXPECT_NE(WinTable[n]->editControl, 0u);

    ASSERT_TRUE(MatrixResize(n, 2));
    Pump();
    int first, cells;
    MatrixGeometry(n, &first, &cells);
    ASSERT_TRUE(MatrixCellRect(n, 1, &r, 1, -1));
    ClickAt(n, r.left + 2, r.top + 4);
    EXPECT_EQ(WinSelectedRow(n), 1);
    ASSERT_TRUE(MatrixCellRect(n, 1, &r, 3, -1));   // row 3 does not exist: not selected
    ClickAt(n, r.left + 2, r.top + 4);
    EXPECT_EQ(WinSelectedRow(n), 1);
    ASSERT_TRUE(MatrixCellRect(n, 1, &r, 3, 0));    // but its cell is a new row's cell
    ClickAt(n, r.left + 4, r.top + 4);
    EXPECT_EQ(WinFocusFieldNumber(n), first + 3 * cells);
}

}  // namespace
