// message_loops_test.cpp - the bounded wait ends on time with a silent
// socket, also across the wrap of the tick count, ends when its flag is
// set and passes a quit on; the main loop ends on the quit flag, repaints
// a marked window after the message that marked it, and takes a double
// click as the OK of the top window only on that window's list box.
#include "shell_fixture.h"

#include <chrono>
#include <thread>

#include "platform/control.h"
#include "shell/field_editing.h"

namespace {

// A socket layer that is active but never has an event.
int SilentPoll(int timeoutMs, PlSocketPostFn)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs < 0 ? 20 : std::min(timeoutMs, 20)));
    return 0;
}
bool Active() { return true; }

// What the test window does with the user messages it is sent: set the
// flag, set the quit flag, ink window Target and mark it changed, note
// the pixel of Target at Probe and ink it unmarked, or only note it.
enum : uint32_t { SetFlag = PlMsg::User + 1, SetQuit, InkAndMark, NoteAndInk, Note };
uint8_t Flag;
int Target;
constexpr int ProbeX = 30, ProbeY = 20;
std::vector<uint32_t> Noted;

void Ink()
{
    SetPortWindow(Target);
    MacRect r{10, 20, 40, 60};
    FillRectMode(&r, 2);
    SetPortWindow(0);
}

intptr_t FlagProc(uint32_t w, uint32_t m, uintptr_t wp, intptr_t lp)
{
    switch (m) {
    case SetFlag: Flag = 1; break;
    case SetQuit: QuitFlag = 1; break;
    case InkAndMark:
        Ink();
        WinMarkChanged(Target);
        WinMarkChanged(Target);
        break;
    case NoteAndInk:
        Noted.push_back(WinClientPixel(WinTable[Target]->mdiChild, ProbeX, ProbeY));
        Noted.push_back(WinTable[Target]->changed);
        Ink();
        break;
    case Note: Noted.push_back(WinClientPixel(WinTable[Target]->mdiChild, ProbeX, ProbeY)); break;
    default: break;
    }
    return WinDefProc(w, m, wp, lp);
}

class Loops : public ShellFixture {
protected:
    uint32_t win = 0;
    void SetUp() override
    {
        ShellFixture::SetUp();
        ASSERT_TRUE(WinRegisterClass({"looptest", FlagProc, 0, 0xFFFFFF, 0, 0}));
        win = WinCreate("looptest", "", 0, PlRect{0, 0, 50, 50}, 0, 0, 0);
        ASSERT_NE(win, 0u);
        Flag = 0;
        Noted.clear();
    }
    // Posts a double click at row `row` of list box (or window) w.
    static void DoubleClick(uint32_t w, int row)
    {
        int h = ListBoxRowHeight(w) > 0 ? ListBoxRowHeight(w) : 16;
        ASSERT_TRUE(MsgPost(w, PlMsg::LButtonDblClk, PlMouseKey::LButton, PlMakeLong(8, h * row + h / 2)));
    }
};

// Milliseconds a ModalMessageLoop(&Flag, ms) took.
long long TimedWait(int32_t ms)
{
    auto t0 = std::chrono::steady_clock::now();
    ModalMessageLoop(&Flag, ms);
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
}

TEST_F(Loops, ModalWaitEndsOnTimeAlsoAcrossTheTickWrap)
{
    MsgSetSocketHooks(SilentPoll, Active);
    long long took = TimedWait(50);
    EXPECT_GE(took, 45);
    EXPECT_LT(took, 2000);

    PlTickSetOffset(0u - PlTickCount() - 20);   // the count wraps 20 ms into the wait
    took = TimedWait(60);
    EXPECT_GE(took, 55);
    EXPECT_LT(took, 2000);

    Flag = 1;   // a set flag returns at once, even with no time limit
    EXPECT_LT(TimedWait(0), 1000);
}

TEST_F(Loops, ModalWaitEndsOnItsFlagAndPassesAQuitOn)
{
    MsgSetSocketHooks(SilentPoll, Active);
    ASSERT_TRUE(MsgPost(win, SetFlag, 0, 0));
    EXPECT_LT(TimedWait(0), 1000);
    EXPECT_EQ(Flag, 1);

    Flag = 0;
    MsgPostQuit(7);
    EXPECT_LT(TimedWait(0), 1000);
    PlMessage m;
    EXPECT_EQ(MsgGetTimeout(&m, 0), PlGet::Quit);   // still there for the loop outside
    EXPECT_EQ(m.wParam, 7u);
}

TEST_F(Loops, MainLoopRepaintsAMarkedWindowAfterEachMessageAndEndsOnQuit)
{
    UseTestWindows();
    Target = Open(TypeUnnamed);
    MsgPumpPending();
    ASSERT_EQ(WinClientPixel(WinTable[Target]->mdiChild, ProbeX, ProbeY), kPlWhite);
    int closed = WinSlotAlloc();   // a marked slot without its child is left alone
    WinTable[closed]->changed = 1;

    // Marked twice in one message, the window is white again before the
    // next; inked without a mark, it is not repainted.
    for (uint32_t m : {InkAndMark, NoteAndInk, Note}) ASSERT_TRUE(MsgPost(win, m, 0, 0));
    MainMessageLoop();
    EXPECT_EQ(Noted, (std::vector<uint32_t>{kPlWhite, 0, kPlBlack}));
    EXPECT_EQ(WinTable[Target]->changed, 0);
    EXPECT_EQ(WinTable[closed]->changed, 1);
    EXPECT_EQ(RedrawPendingFlag, 0);

    // The quit closes the windows (none holds changes) and ends the loop.
    for (uint32_t m : {SetQuit, Note}) ASSERT_TRUE(MsgPost(win, m, 0, 0));
    MainMessageLoop();
    EXPECT_EQ(MsgPendingCount(), 1);   // the loop stopped at the quit flag
    EXPECT_FALSE(WinIsOpen(Target));
    EXPECT_FALSE(WinIsOpen(closed));
}

TEST_F(Loops, DoubleClickIsTheOkOnlyOnTheTopWindowsListBox)
{
    UseTestWindows();
    int back = Open(TypeList), top = Open(TypeList);
    ASSERT_EQ(ActiveNumber(), top);
    uint32_t topList = WinTable[top]->listBox, backList = WinTable[back]->listBox;
    uint32_t second = WinCreate("ListBox", "", PlStyle::Child | PlStyle::Visible | PlListStyle::Notify,
                                PlRect{5, 150, 200, 250}, WinTable[top]->mdiChild, 0, 0);
    WinBringToTop(topList);   // the window's own list box stays its first child
    ASSERT_EQ(WinFirstChild(WinTable[top]->mdiChild), topList);
    for (uint32_t list : {topList, backList, second})
        for (const char *row : {"one", "two", "three"}) ASSERT_GE(ListBoxAdd(list, row), 0);
    MsgPumpPending();

    // The top window's list box: its OK runs and the box never sees the
    // click; while busy the click is dropped altogether.
    BusyFlag = 1;
    StateRefreshFlag = 0;
    DoubleClick(topList, 1);
    MainMessageLoop();
    EXPECT_EQ(StateRefreshFlag, 0);
    EXPECT_EQ(ListBoxCurSel(topList), -1);
    BusyFlag = 0;
    DoubleClick(topList, 1);
    MainMessageLoop();
    EXPECT_EQ(StateRefreshFlag, 1);
    EXPECT_EQ(ListBoxCurSel(topList), -1);

    // Anywhere else the double click is an ordinary message: on the top
    // window itself, on its other list box, on a list box behind.
    StateRefreshFlag = 0;
    DoubleClick(WinTable[top]->mdiChild, 8);
    MainMessageLoop();
    EXPECT_EQ(StateRefreshFlag, 0);
    DoubleClick(second, 2);
    MainMessageLoop();
    EXPECT_EQ(ListBoxCurSel(second), 2);
    DoubleClick(backList, 0);
    MainMessageLoop();
    EXPECT_EQ(ListBoxCurSel(backList), 0);
    EXPECT_EQ(ListBoxCurSel(topList), -1);
}

}  // namespace
