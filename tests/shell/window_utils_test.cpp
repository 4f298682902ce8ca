// Window utilities: the Esc poll of long loops, the edit and scroll-bar
// helpers, paging by window kind, the busy-message window, and the busy
// wait across the tick wrap.
#include <chrono>

#include "platform/clipboard.h"
#include "platform/control.h"
#include "shell/window_utils.h"
#include "shell_fixture.h"

using WindowUtils = TestWindows;

namespace {
// The user messages the test windows were sent, by wParam.
std::vector<uintptr_t> UserMessages()
{
    std::vector<uintptr_t> out;
    for (const SentMessage &m : Sent)
        if (m.msg == PlMsg::User) out.push_back(m.wParam);
    return out;
}

// A procedure that posts itself a message for every one it gets.
intptr_t EchoProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::User) MsgPost(win, PlMsg::User, wParam + 1, 0);
    return WinDefProc(win, msg, wParam, lParam);
}
}  // namespace

TEST_F(WindowUtils, PollEscapeStopsAtEscAndAlwaysEnds)
{
    int n = Bare(TypeList);
    uint32_t child = WinTable[n]->mdiChild;
    MsgClear();
    uint8_t flag = 0;
    PollEscape(&flag);
    EXPECT_EQ(flag, 0) << "an empty queue leaves the flag alone";

    MsgPost(child, PlMsg::User, 1, 0);
    MsgPost(child, PlMsg::User, 2, 0);
    MsgPostKey(child, PlMsg::KeyDown, PlKey::Escape, 27);
    MsgPost(child, PlMsg::User, 3, 0);
    PollEscape(&flag);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(UserMessages(), (std::vector<uintptr_t>{1, 2})) << "messages before Esc are dispatched";
    EXPECT_EQ(MsgPendingCount(), 1) << "the one after Esc stays queued";

    // A window that answers every message with another cannot keep the
    // poll going, and the quit request is left for the main loop.
    MsgClear();
    ASSERT_TRUE(WinRegisterClass({"echo", EchoProc, 0, kPlWhite, 0, 0}));
    uint32_t echo = WinCreate("echo", "", 0, {0, 0, 10, 10}, 0, 0, 0);
    MsgPost(echo, PlMsg::User, 0, 0);
    MsgPostQuit(0);
    flag = 0;
    PollEscape(&flag);
    EXPECT_EQ(flag, 0);
    PlMessage m;
    ASSERT_TRUE(MsgPeek(&m, true));
    EXPECT_EQ(m.msg, PlMsg::User);
    EXPECT_EQ(m.wParam, 1u) << "the echo posted during the poll waits for the next one";
    ASSERT_TRUE(MsgPeek(&m, true));
    EXPECT_EQ(m.msg, PlMsg::Quit);
}

TEST_F(WindowUtils, EditControlAndScrollBarHelpers)
{
    int n = Open(TypeArticle);
    uint32_t edit = WinCreate("Edit", "", PlStyle::Child | PlStyle::Visible, {5, 5, 100, 25}, WinTable[n]->mdiChild, 0, 0);
    WinTable[n]->editControl = edit;
    EditSetText(edit, "abc");
    EditSetSel(edit, 1, 2);
    InsertCharInField(n, 8);
    EXPECT_EQ(EditGetText(edit), "abc") << "backspace changes nothing";
    InsertCharInField(n, 'X');
    EXPECT_EQ(EditGetText(edit), "aXc");

    uint32_t bar = WinCreate("ScrollBar", "", PlStyle::Child | PlStyle::Visible, {0, 0, 16, 100}, WinTable[n]->mdiChild, 0, 0);
    SetScrollBar(0, 0, bar, 10, 2);
    SetScrollBar(0, 0, bar, -1, 5);
    int lo = 0, hi = 0;
    ScrollBarRange(bar, &lo, &hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 10) << "max -1 leaves the range";
    EXPECT_EQ(ScrollBarPos(bar), 5);
    SetScrollBar(0, 0, bar, 20, -1);
    ScrollBarRange(bar, &lo, &hi);
    EXPECT_EQ(hi, 20);
    EXPECT_EQ(ScrollBarPos(bar), 5) << "position -1 leaves the position";
}

TEST_F(WindowUtils, PagingByKindAndCopyOfAListWithNothingMarked)
{
    int list = Bare(TypeList), pane = Bare(TypePreview), record = Bare(TypeArticle);
    NextRecord(list);
    PrevRecord(pane);
    NextRecord(record);
    NextRecord(0);
    ASSERT_EQ(Sent.size(), 2u);
    EXPECT_EQ(Sent[0].win, WinTable[list]->mdiChild);
    EXPECT_EQ(Sent[0].wParam, uintptr_t(PlSb::PageDown));
    EXPECT_EQ(Sent[1].win, WinTable[pane]->mdiChild);
    EXPECT_EQ(Sent[1].wParam, uintptr_t(PlSb::PageUp));

    ClipboardSetText("kept");
    EditCopy(list);
    std::string text;
    ASSERT_TRUE(ClipboardGetText(&text));
    EXPECT_EQ(text, "kept") << "nothing marked leaves the clipboard alone";

    // Kind 25 takes no Edit commands even with an edit control.
    int noEdit = Open(TypeNoEdit);
    uint32_t edit = WinCreate("Edit", "", PlStyle::Child | PlStyle::Visible, {5, 5, 100, 25}, WinTable[noEdit]->mdiChild, 0, 0);
    WinTable[noEdit]->editControl = edit;
    EditSetText(edit, "secret");
    EditSetSel(edit, 0, -1);
    EditCopy(noEdit);
    ASSERT_TRUE(ClipboardGetText(&text));
    EXPECT_EQ(text, "kept");
}

TEST_F(WindowUtils, BusyMessageDrawsOnlyInItsOwnWindow)
{
    // A number left behind by a window closed some other way is not used
    // for the window that took the slot.
    int other = Open(TypeUnnamed);
    SetPortWindow(other);
    MacRect all{0, 0, 200, 300};
    EraseRectWhite(&all);
    SetPortWindow(0);
    BusyMessageWindow = other;
    ShowBusyMessage(reinterpret_cast<const uint8_t *>("\4Wait"));
    for (int x = 69; x < 110; x++)
        for (int y = 20; y < 34; y++) ASSERT_EQ(Pixel(other, x, y), 0xFFFFFFu) << x << "," << y;
    EXPECT_NE(BusyMessageWindow, other);

    // In its own window the text stands at (70, 31) and the cursor waits.
    int busy = Open(TypeBusy);
    BusyMessageWindow = busy;
    ShowBusyMessage(reinterpret_cast<const uint8_t *>("\4Wait"));
    bool inked = false;
    for (int x = 69; x < 110; x++)
        for (int y = 20; y < 34; y++) inked |= Pixel(busy, x, y) != 0xFFFFFFu;
    EXPECT_TRUE(inked);
    EXPECT_EQ(PlCursorShape(), PlCursor::Wait);
    int saved;
    EXPECT_EQ(GetPortWindow(&saved), 0) << "the port is given back";
    CloseBusyMessage();
    EXPECT_EQ(BusyMessageWindow, 0);
    EXPECT_FALSE(WinIsOpen(busy));
    EXPECT_EQ(PlCursorShape(), PlCursor::Arrow);
}

TEST_F(WindowUtils, BusyWaitEndsOnTimeAcrossTheTickWrap)
{
    // Just below the tick wrap the wait neither ends at once nor hangs.
    PlTickSetOffset(0xFFFFFFF0u - PlTickCount());
    auto t0 = std::chrono::steady_clock::now();
    BusyWait(40);
    auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_GE(waited, 40);
    EXPECT_LT(waited, 5000);
}
