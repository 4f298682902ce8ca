// Window tree, message order, geometry, clipping, focus and the queue.
#include <gtest/gtest.h>

#include <vector>

#include "platform/queue.h"
#include "platform/socket.h"
#include "platform/window.h"
#include "platform/window_internal.h"
#include "tests/platform/message_log.h"

namespace {
bool gFailCreate = false;

intptr_t LogProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg != PlMsg::EraseBkgnd && msg != PlMsg::Paint) gLog.push_back({win, msg, wParam, lParam});
    if (msg == PlMsg::Create && gFailCreate) return -1;
    return WinDefProc(win, msg, wParam, lParam);
}

class WindowCore : public ::testing::Test {
protected:
    void SetUp() override
    {
        WinResetAll();
        gLog.clear();
        gFailCreate = false;
        ASSERT_TRUE(WinRegisterClass({"TestWin", LogProc, 0, 0xFFFFFF, PlClassStyle::DblClks, 8}));
        ASSERT_TRUE(WinRegisterClass({"Plain", LogProc, 0, 0x00FF00, 0, 0}));
    }
    void TearDown() override { WinResetAll(); }
};

TEST_F(WindowCore, ClassesAndCreateDestroyOrder)
{
    EXPECT_FALSE(WinRegisterClass({"testwin", LogProc, 0, 0, 0, 0})) << "names are unique without regard to case";
    EXPECT_FALSE(WinRegisterClass({"NoProc", nullptr, 0, 0, 0, 0}));
    EXPECT_FALSE(WinRegisterClass({"TooBig", LogProc, 0, 0, 0, 65}));
    EXPECT_EQ(WinCreate("Unknown", "", 0, {0, 0, 10, 10}, 0, 0, 0), 0u);

    uint32_t top = WinCreate("TestWin", "Top", PlStyle::Visible, {0, 0, 300, 200}, 0, 0, 77);
    ASSERT_NE(top, 0u);
    std::vector<uint32_t> expect{PlMsg::Create, PlMsg::Size, PlMsg::Move, PlMsg::ShowWindow, PlMsg::Activate,
                                 PlMsg::SetFocus};
    EXPECT_EQ(Msgs(top), expect);
    EXPECT_EQ(gLog[0].lParam, 77) << "the create parameter reaches the create message";
    EXPECT_EQ(gLog[1].lParam, PlMakeLong(300, 200));
    EXPECT_EQ(gLog[4].wParam, 1u);
    EXPECT_EQ(WinActiveWindow(), top);
    EXPECT_EQ(WinFocus(), top);

    gLog.clear();
    uint32_t child = WinCreate("TestWin", "", PlStyle::Child | PlStyle::Visible, {10, 10, 50, 50}, top, 5, 0);
    uint32_t grand = WinCreate("Plain", "", PlStyle::Child | PlStyle::Visible, {1, 1, 5, 5}, child, 0, 0);
    std::vector<uint32_t> childExpect{PlMsg::Create, PlMsg::Size, PlMsg::Move, PlMsg::ShowWindow};
    EXPECT_EQ(Msgs(child), childExpect);
    EXPECT_EQ(WinControlId(child), 5);

    gFailCreate = true;
    EXPECT_EQ(WinCreate("TestWin", "", PlStyle::Child, {0, 0, 1, 1}, top, 0, 0), 0u);
    gFailCreate = false;
    EXPECT_EQ(WinChildCount(top), 1);

    WinSetFocus(grand);
    gLog.clear();
    EXPECT_TRUE(WinDestroy(child));
    // Focus leaves first, then destroy goes to the parent before its child.
    ASSERT_GE(gLog.size(), 3u);
    EXPECT_EQ(gLog[0].win, grand);
    EXPECT_EQ(gLog[0].msg, PlMsg::KillFocus);
    EXPECT_EQ(Msgs(child), std::vector<uint32_t>{PlMsg::Destroy});
    EXPECT_EQ(Msgs(grand).back(), PlMsg::Destroy);
    size_t posChild = 0, posGrand = 0;
    for (size_t i = 0; i < gLog.size(); ++i) {
        if (gLog[i].win == child && gLog[i].msg == PlMsg::Destroy) posChild = i;
        if (gLog[i].win == grand && gLog[i].msg == PlMsg::Destroy) posGrand = i;
    }
    EXPECT_LT(posChild, posGrand);
    EXPECT_FALSE(WinIsWindow(child));
    EXPECT_FALSE(WinIsWindow(grand));
    EXPECT_EQ(WinFocus(), 0u);
    EXPECT_FALSE(WinDestroy(child)) << "a stale id names no window";
    uint32_t again = WinCreate("Plain", "", PlStyle::Child, {0, 0, 1, 1}, top, 0, 0);
    EXPECT_NE(again, child) << "ids are not reused";
}

TEST_F(WindowCore, TreeZOrderTitlesAndExtraWords)
{
    uint32_t top = WinCreate("TestWin", "Frame", PlStyle::Visible, {0, 0, 200, 200}, 0, 0, 0);
    uint32_t a = WinCreate("Plain", "A", PlStyle::Child | PlStyle::Visible, {0, 0, 50, 50}, top, 1, 0);
    uint32_t b = WinCreate("TestWin", "B", PlStyle::Child | PlStyle::Visible, {20, 20, 80, 80}, top, 2, 0);
    EXPECT_EQ(WinFirstChild(top), b) << "a new child goes on top";
    EXPECT_EQ(WinNextSibling(b), a);
    EXPECT_EQ(WinNextSibling(a), 0u);
    EXPECT_EQ(WinClassName(b), "TestWin");
    WinBringToTop(a);
    EXPECT_EQ(WinChildAt(top, 0), a);
    EXPECT_EQ(WinChildAt(top, 1), b);
    EXPECT_EQ(WinChildAt(top, 2), 0u);
    EXPECT_TRUE(WinIsChildOf(a, top));
    EXPECT_FALSE(WinIsChildOf(top, a));
    EXPECT_EQ(WinTopLevel(a), top);
    EXPECT_EQ(WinFindTopLevel("testwin"), top);
    EXPECT_EQ(WinFindTopLevel("Plain"), 0u) << "only top-level windows are found";

    // A title fetched into a short buffer is cut to fit.
    WinSend(b, PlMsg::SetText, 0, reinterpret_cast<intptr_t>("Changed"));
    char buf[5];
    EXPECT_EQ(WinSend(b, PlMsg::GetText, sizeof buf, reinterpret_cast<intptr_t>(buf)), 4);
    EXPECT_STREQ(buf, "Chan");

    EXPECT_TRUE(WinSetExtra(b, 4, 0xDEADBEEF));
    EXPECT_EQ(WinGetExtra(b, 0), 0u) << "the word beside it stays";
    EXPECT_FALSE(WinSetExtra(b, 5, 1)) << "past the class's 8 extra bytes";
    EXPECT_FALSE(WinSetExtra(b, -1, 1));
    EXPECT_FALSE(WinSetExtra(a, 0, 1)) << "class without extra bytes";
}

TEST_F(WindowCore, GeometryMoveAndVisibleRegions)
{
    uint32_t top = WinCreate("TestWin", "", PlStyle::Visible, {100, 50, 500, 450}, 0, 0, 0);
    uint32_t child = WinCreate("TestWin", "Doc", PlStyle::Child | PlStyle::Visible | PlStyle::OverlappedWindow,
                               {10, 20, 210, 220}, top, 0, 0);
    PlRect c = WinClientRect(child);
    EXPECT_EQ(PlRectWidth(c), 200 - 8);
    EXPECT_EQ(PlRectHeight(c), 200 - 8 - kWinCaptionHeight);
    PlSize outer = WinOuterSizeFor(PlStyle::Child | PlStyle::OverlappedWindow, false, 192, 173);
    EXPECT_EQ(outer.cx, 200);
    EXPECT_EQ(outer.cy, 200);
    PlPoint s = WinClientToScreen(child, {0, 0});
    EXPECT_EQ(s.x, 100 + 10 + 4);
    EXPECT_EQ(s.y, 50 + 20 + 4 + kWinCaptionHeight);
    PlPoint back = WinScreenToClient(child, s);
    EXPECT_EQ(back.x, 0);
    EXPECT_EQ(back.y, 0);

    gLog.clear();
    WinMove(child, {30, 20, 230, 250});
    EXPECT_EQ(Msgs(child), (std::vector<uint32_t>{PlMsg::Size, PlMsg::Move}));
    EXPECT_EQ(gLog[0].lParam, PlMakeLong(192, 230 - 8 - kWinCaptionHeight));
    gLog.clear();
    WinMove(child, {30, 20, 230, 250});
    EXPECT_TRUE(gLog.empty()) << "no change, no messages";

    // Clipping: a sibling above cuts a piece out, children are excluded, a
    // hidden window has nothing visible.
    uint32_t lower = WinCreate("Plain", "", PlStyle::Child | PlStyle::Visible, {0, 0, 100, 100}, top, 0, 0);
    uint32_t upper = WinCreate("Plain", "", PlStyle::Child | PlStyle::Visible, {50, 50, 150, 150}, top, 0, 0);
    WinMove(child, {300, 300, 350, 350});
    auto vis = WinVisibleRects(WinGet(lower), true);
    int area = 0;
    for (auto &r : vis) area += PlRectWidth(r) * PlRectHeight(r);
    EXPECT_EQ(area, 100 * 100 - 50 * 50);
    for (auto &r : vis) EXPECT_TRUE(PlRectEmpty(PlRectIntersect(r, {50, 50, 150, 150})));
    uint32_t inner = WinCreate("Plain", "", PlStyle::Child | PlStyle::Visible, {0, 0, 10, 10}, upper, 0, 0);
    auto up = WinVisibleRects(WinGet(upper), true);
    area = 0;
    for (auto &r : up) area += PlRectWidth(r) * PlRectHeight(r);
    EXPECT_EQ(area, 100 * 100 - 10 * 10);
    WinShow(upper, PlShow::Hide);
    EXPECT_TRUE(WinVisibleRects(WinGet(inner), true).empty());
    EXPECT_FALSE(WinIsVisible(inner));
    vis = WinVisibleRects(WinGet(lower), true);
    ASSERT_EQ(vis.size(), 1u);
    EXPECT_TRUE(PlRectEqual(vis[0], PlRect{0, 0, 100, 100}));
}

TEST_F(WindowCore, FocusActivationAndStates)
{
    uint32_t t1 = WinCreate("TestWin", "", PlStyle::Visible, {0, 0, 100, 100}, 0, 0, 0);
    uint32_t e1 = WinCreate("Plain", "", PlStyle::Child | PlStyle::Visible, {0, 0, 10, 10}, t1, 0, 0);
    uint32_t t2 = WinCreate("TestWin", "", PlStyle::Visible, {0, 0, 100, 100}, 0, 0, 0);
    EXPECT_EQ(WinActiveWindow(), t2);
    gLog.clear();
    EXPECT_EQ(WinSetFocus(e1), t2);
    // Focusing into another top-level activates it first.
    EXPECT_EQ(WinActiveWindow(), t1);
    std::vector<uint32_t> order;
    for (auto &r : gLog) order.push_back(r.msg);
    EXPECT_EQ(order, (std::vector<uint32_t>{PlMsg::Activate, PlMsg::Activate, PlMsg::KillFocus, PlMsg::SetFocus}));
    EXPECT_EQ(gLog[0].win, t2);
    EXPECT_EQ(gLog[0].wParam, 0u);
    EXPECT_EQ(gLog[3].win, e1);
    EXPECT_EQ(gLog[3].wParam, uintptr_t(t2)) << "set-focus carries the old focus";

    WinEnable(e1, false);
    EXPECT_EQ(WinFocus(), 0u) << "a disabled window loses the focus";
    EXPECT_EQ(WinSetFocus(999999), 0u);

    uint32_t doc = WinCreate("TestWin", "", PlStyle::Child | PlStyle::Visible | PlStyle::OverlappedWindow,
                             {10, 10, 60, 60}, t1, 0, 0);
    gLog.clear();
    WinShow(doc, PlShow::Maximized);
    EXPECT_TRUE(WinIsZoomed(doc));
    EXPECT_EQ(gLog[0].msg, PlMsg::Size);
    EXPECT_EQ(gLog[0].wParam, kPlSizeMaximized);
    EXPECT_TRUE(PlRectEqual(WinClientScreenRect(doc), WinClientScreenRect(t1))) << "client covers the parent";
    WinShow(doc, PlShow::Minimized);
    EXPECT_TRUE(WinIsIconic(doc));
    EXPECT_EQ(PlRectHeight(WinClientRect(doc)), 0);
    WinShow(doc, PlShow::Restore);
    EXPECT_TRUE(PlRectEqual(WinRect(doc), PlRect{10, 10, 60, 60}));
}

// The idle hook of the test below: posts its message on its first call
// only, and counts the calls and whether a paint was still due then.
int IdleCalls = 0;
bool PaintDueAtIdle = false;
uint32_t IdleWindow = 0;
bool PostOnce()
{
    PaintDueAtIdle = PaintDueAtIdle || WinHasInvalid(IdleWindow);
    if (IdleCalls++ > 0) return false;
    return MsgPost(IdleWindow, PlMsg::User, 7, 0);
}

TEST_F(WindowCore, IdleHookRunsOnlyWhenNothingIsLeftAndItsInputIsTaken)
{
    IdleWindow = WinCreate("TestWin", "", PlStyle::Visible, {0, 0, 10, 10}, 0, 0, 0);
    IdleCalls = 0;
    PaintDueAtIdle = false;
    EXPECT_EQ(MsgSetIdleHook(PostOnce), nullptr);
    MsgPost(IdleWindow, PlMsg::User, 1, 0);
    PlMessage m;
    ASSERT_EQ(MsgGet(&m), PlGet::Message);
    EXPECT_EQ(m.wParam, 1u) << "what was posted comes first";
    EXPECT_EQ(IdleCalls, 0);
    ASSERT_EQ(MsgGet(&m), PlGet::Message);
    EXPECT_EQ(m.msg, PlMsg::Paint) << "then the paint";
    EXPECT_EQ(IdleCalls, 0);
    MsgDispatch(m);
    ASSERT_EQ(MsgGet(&m), PlGet::Message);
    EXPECT_EQ(m.wParam, 7u) << "the hook's input, at rest";
    EXPECT_EQ(IdleCalls, 1);
    EXPECT_FALSE(PaintDueAtIdle);
    EXPECT_FALSE(MsgPeek(&m, true));
    EXPECT_EQ(IdleCalls, 1) << "a peek never calls it";
    EXPECT_EQ(MsgGet(&m), PlGet::Idle) << "a hook with nothing to give lets the get end";
    EXPECT_EQ(IdleCalls, 2);
    EXPECT_EQ(MsgSetIdleHook(nullptr), PostOnce);
}

TEST_F(WindowCore, QueueOrderPeekQuitAndTimeout)
{
    uint32_t w = WinCreate("TestWin", "", 0, {0, 0, 10, 10}, 0, 0, 0);
    PlMessage m;
    EXPECT_EQ(MsgGet(&m), PlGet::Idle) << "nothing can arrive: no hang";
    EXPECT_TRUE(MsgPost(w, PlMsg::User, 1, 2));
    EXPECT_TRUE(MsgPost(w, PlMsg::User + 1, 3, 4));
    EXPECT_FALSE(MsgPost(12345678, PlMsg::User, 0, 0));
    MsgPostQuit(9);
    ASSERT_TRUE(MsgPeek(&m, false));
    EXPECT_EQ(m.msg, PlMsg::User);
    ASSERT_TRUE(MsgPeek(&m, true));
    EXPECT_EQ(m.wParam, 1u);
    ASSERT_EQ(MsgGet(&m), PlGet::Message);
    EXPECT_EQ(m.msg, PlMsg::User + 1);
    EXPECT_EQ(m.lParam, 4);
    ASSERT_EQ(MsgGet(&m), PlGet::Quit) << "quit after the posted messages";
    EXPECT_EQ(m.wParam, 9u);

    // A message posted to a window destroyed meanwhile is dropped.
    MsgPost(w, PlMsg::User, 0, 0);
    WinDestroy(w);
    EXPECT_FALSE(MsgPeek(&m, true));

    // The time-out returns on time with no message at all, also across the
    // wrap of the tick count.
    for (uint32_t offset : {0u, 0xFFFFFFFFu - 20u}) {
        PlTickSetOffset(0);
        PlTickSetOffset(offset - PlTickCount());
        uint32_t t0 = PlTickCount();
        EXPECT_EQ(MsgGetTimeout(&m, 60), PlGet::Timeout);
        uint32_t elapsed = PlTickCount() - t0;
        EXPECT_GE(elapsed, 60u);
        EXPECT_LT(elapsed, 1000u);
    }
    PlTickSetOffset(0);
}

int gPolls = 0;
bool FakeActive() { return true; }
int FakePoll(int timeoutMs, PlSocketPostFn post)
{
    ++gPolls;
    if (gPolls == 3) {
        post(WinFindTopLevel("TestWin"), 7, 1 | (10054 << 16));
        return 1;
    }
    return 0;
}

TEST_F(WindowCore, SocketEventsWakeTheWait)
{
    uint32_t w = WinCreate("TestWin", "", 0, {0, 0, 10, 10}, 0, 0, 0);
    gPolls = 0;
    MsgSetSocketHooks(FakePoll, FakeActive);
    PlMessage m;
    PlGet got = MsgGetTimeout(&m, 5000);
    MsgSetSocketHooks(nullptr, nullptr);
    ASSERT_EQ(got, PlGet::Message);
    EXPECT_EQ(m.win, w);
    EXPECT_EQ(m.msg, PlMsg::Socket);
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_EQ(PlLoWord(m.lParam), 1);
    EXPECT_EQ(PlHiWord(m.lParam), 10054);
}

TEST_F(WindowCore, ClosedSocketLeavesNoEventsBehind)
{
    // The system hands a closed socket's number to the next socket at once,
    // so an event still queued for the old one would be taken as the new
    // one's (a read or close event for a connection that has neither).
    uint32_t w = WinCreate("TestWin", "", 0, {0, 0, 10, 10}, 0, 0, 0);
    int listener = PlSocketListen(0, 5);
    ASSERT_GE(listener, 0);
    ASSERT_TRUE(PlSocketSelect(listener, w, kPlSockAccept));
    int client = PlSocketConnect("127.0.0.1", PlSocketLocalPort(listener));
    ASSERT_GE(client, 0);
    ASSERT_EQ(PlSocketConnectWait(client, 2000), 0);
    ASSERT_TRUE(PlSocketSelect(client, w, kPlSockRead | kPlSockClose));
    // The connection wakes a blocking wait with the accept event.
    PlMessage m;
    ASSERT_EQ(MsgGetTimeout(&m, 2000), PlGet::Message);
    ASSERT_EQ(m.msg, PlMsg::Socket);
    ASSERT_EQ(m.wParam, uintptr_t(listener));
    EXPECT_EQ(PlLoWord(m.lParam) & kPlSockAccept, kPlSockAccept);
    int server = PlSocketAccept(listener);
    ASSERT_GE(server, 0);
    ASSERT_EQ(PlSocketSend(server, "abc", 3), 3);
    // Wait until the read event for the client is queued, then close the
    // client before the event is taken.
    bool queued = false;
    for (int i = 0; i < 200 && !queued; ++i) {
        PlSocketPoll(10, [](uint32_t win, int sock, int bits) { MsgPost(win, PlMsg::Socket, uintptr_t(sock), bits); });
        queued = MsgPeek(&m, false) && m.msg == PlMsg::Socket && m.wParam == uintptr_t(client);
    }
    ASSERT_TRUE(queued);
    ASSERT_TRUE(PlSocketClose(client));
    int stale = 0;
    while (MsgPeek(&m, true) && m.msg == PlMsg::Socket) stale += m.wParam == uintptr_t(client);
    EXPECT_EQ(stale, 0) << "events of a closed socket are dropped with it";
    PlSocketClose(server);
    PlSocketClose(listener);
}

TEST_F(WindowCore, KeysTranslateToControlCodes)
{
    uint32_t w = WinCreate("TestWin", "", PlStyle::Visible, {0, 0, 10, 10}, 0, 0, 0);
    ASSERT_EQ(MsgKeyTarget(), w);
    struct {
        uint32_t vk;
        bool ctrl;
        uint32_t ch;
    } cases[] = {{PlKey::Return, false, 13}, {PlKey::Escape, false, 27}, {PlKey::Back, false, 8},
                 {PlKey::Tab, false, 9},     {'C', true, 3},             {PlKey::Return, true, 10},
                 {'V', true, 22},            {PlKey::Left, false, 0}};
    for (auto &c : cases) {
        MsgClear();
        PlSetKeyDown(PlKey::Control, c.ctrl);
        MsgInputKey(c.vk, true, 0);
        PlMessage m;
        ASSERT_EQ(MsgGet(&m), PlGet::Message);
        EXPECT_EQ(m.msg, PlMsg::KeyDown);
        EXPECT_EQ(m.wParam, c.vk);
        EXPECT_EQ(MsgTranslate(m), c.ch != 0);
        if (c.ch) {
            ASSERT_EQ(MsgGet(&m), PlGet::Message);
            EXPECT_EQ(m.msg, PlMsg::Char);
            EXPECT_EQ(m.wParam, c.ch) << "key " << c.vk;
        }
    }
    MsgInputKey(PlKey::Control, true, 0);
    EXPECT_EQ(PlKeyState(PlKey::Control), 0) << "key state is that of the message being handled";
    MsgPumpPending();
    EXPECT_LT(PlKeyState(PlKey::Control), 0);
    EXPECT_EQ(PlKeyState(PlKey::Control) & 0x80, 0x80);
    PlSetKeyDown(PlKey::Control, false);
    EXPECT_EQ(PlKeyState(PlKey::Control), 0);
}

// Keys held by a waiting client stay queued in their order while what is
// posted behind them is taken; a held Esc can be taken out on its own.
TEST_F(WindowCore, HeldKeysWaitInTheirOrderBehindWhatIsPosted)
{
    uint32_t w = WinCreate("TestWin", "", PlStyle::Visible, {0, 0, 10, 10}, 0, 0, 0);
    ASSERT_EQ(MsgKeyTarget(), w);
    MsgClear();
    MsgPumpPending();   // its first paint
    ASSERT_FALSE(MsgHoldKeys(true));
    MsgInputKey('A', true, 'a');
    MsgInputKey(PlKey::Escape, true, 27);
    MsgInputKey(PlKey::Escape, false, 27);
    MsgInputChar('b');
    MsgPost(w, PlMsg::User, 7, 0);
    PlMessage m;
    ASSERT_EQ(MsgGetTimeout(&m, 20), PlGet::Message);
    EXPECT_EQ(m.msg, PlMsg::User) << "the posted message behind the held keys";
    EXPECT_EQ(MsgGetTimeout(&m, 20), PlGet::Timeout) << "a held key was taken";
    EXPECT_TRUE(MsgTakeHeldKeyDown(PlKey::Escape));
    EXPECT_FALSE(MsgTakeHeldKeyDown(PlKey::Escape)) << "press and release go together";
    EXPECT_TRUE(MsgHoldKeys(false));
    ASSERT_EQ(MsgGet(&m), PlGet::Message);
    EXPECT_EQ(m.msg, PlMsg::KeyDown);
    EXPECT_EQ(m.wParam, uint32_t('A'));
    ASSERT_EQ(MsgGet(&m), PlGet::Message);
    EXPECT_EQ(m.msg, PlMsg::Char);
    EXPECT_EQ(m.wParam, uint32_t('b'));
    EXPECT_EQ(MsgPendingCount(), 0);
}

TEST_F(WindowCore, MouseHitTestDoubleClickAndCapture)
{
    uint32_t top = WinCreate("TestWin", "", PlStyle::Visible, {0, 0, 200, 200}, 0, 0, 0);
    uint32_t panel = WinCreate("TestWin", "", PlStyle::Child | PlStyle::Visible, {10, 10, 110, 110}, top, 0, 0);
    uint32_t button = WinCreate("Plain", "", PlStyle::Child | PlStyle::Visible, {5, 5, 25, 25}, panel, 0, 0);
    PlPoint client;
    bool nc;
    EXPECT_EQ(MsgHitTest({20, 20}, &client, &nc), button);
    EXPECT_EQ(client.x, 5);
    EXPECT_FALSE(nc);
    WinEnable(button, false);
    EXPECT_EQ(MsgHitTest({20, 20}, &client, &nc), panel) << "disabled windows are passed over";
    WinEnable(button, true);
    WinShow(button, PlShow::Hide);
    EXPECT_EQ(MsgHitTest({20, 20}, &client, &nc), panel);
    EXPECT_EQ(MsgHitTest({150, 150}, &client, &nc), top);
    EXPECT_EQ(MsgHitTest({500, 500}, &client, &nc), 0u);
    WinShow(button, PlShow::Show);

    // Double-clicks only for classes with the style.
    MsgClear();
    for (int i = 0; i < 2; ++i) {
        MsgInputMouse({50, 50}, 1, true);
        MsgInputMouse({50, 50}, 1, false);
        MsgInputMouse({20, 20}, 1, true);
        MsgInputMouse({20, 20}, 1, false);
    }
    std::vector<uint32_t> panelMsgs, buttonMsgs;
    PlMessage m;
    while (MsgPeek(&m, true)) {
        if (m.msg == PlMsg::Paint) {
            MsgDispatch(m);
            continue;
        }
        if (m.win == panel) panelMsgs.push_back(m.msg);
        if (m.win == button) buttonMsgs.push_back(m.msg);
    }
    EXPECT_EQ(panelMsgs, (std::vector<uint32_t>{PlMsg::LButtonDown, PlMsg::LButtonUp, PlMsg::LButtonDown,
                                                PlMsg::LButtonUp}))
        << "clicks elsewhere in between break the double-click";
    MsgClear();
    MsgInputMouse({50, 50}, 1, true);
    MsgInputMouse({50, 50}, 1, false);
    MsgInputMouse({51, 50}, 1, true);
    ASSERT_TRUE(MsgPeek(&m, true));
    ASSERT_TRUE(MsgPeek(&m, true));
    ASSERT_TRUE(MsgPeek(&m, true));
    EXPECT_EQ(m.msg, PlMsg::LButtonDblClk);
    EXPECT_EQ(PlLoShort(m.lParam), 41);
    MsgClear();
    MsgInputMouse({20, 20}, 1, true);
    MsgInputMouse({20, 20}, 1, false);
    MsgInputMouse({20, 20}, 1, true);
    while (MsgPeek(&m, true)) {
        if (m.win == button) {
            EXPECT_NE(m.msg, PlMsg::LButtonDblClk);
        }
    }

    // Capture sends the mouse to the capturing window, with client
    // coordinates that may be negative.
    MsgClear();
    WinSetCapture(button);
    MsgInputMouse({0, 0}, 0, false);
    ASSERT_TRUE(MsgPeek(&m, true));
    EXPECT_EQ(m.win, button);
    EXPECT_EQ(PlLoShort(m.lParam), -15);
    EXPECT_EQ(PlHiShort(m.lParam), -15);
    WinReleaseCapture();
}
}  // namespace
