// message_loops_test.cpp - the bounded wait ends on time with a silent
// socket, also across the wrap of the tick count, ends when its flag is
// set and passes a quit on; the main loop ends on the quit flag and
// clears the changed marks it repaints.
#include "shell_fixture.h"

#include <chrono>
#include <thread>

#include "platform/queue.h"
#include "shell/startup.h"

namespace {

// A socket layer that is active but never has an event.
int SilentPoll(int timeoutMs, PlSocketPostFn)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs < 0 ? 20 : std::min(timeoutMs, 20)));
    return 0;
}
bool Active() { return true; }

uint8_t Flag;
intptr_t FlagProc(uint32_t w, uint32_t m, uintptr_t wp, intptr_t lp)
{
    if (m == PlMsg::User + 1) Flag = 1;
    if (m == PlMsg::User + 2) QuitFlag = 1;
    return WinDefProc(w, m, wp, lp);
}

class Loops : public ShellFixture {
protected:
    uint32_t win = 0;
    void SetUp() override
    {
        ShellFixture::SetUp();
        MsgClear();
        ASSERT_TRUE(WinRegisterClass({"looptest", FlagProc, 0, 0xFFFFFF, 0, 0}));
        win = WinCreate("looptest", "", 0, PlRect{0, 0, 50, 50}, 0, 0, 0);
        ASSERT_NE(win, 0u);
        Flag = 0;
    }
    void TearDown() override
    {
        MsgSetSocketHooks(nullptr, nullptr);
        PlTickSetOffset(0);
        MsgClear();
        ShellFixture::TearDown();
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
    ASSERT_TRUE(MsgPost(win, PlMsg::User + 1, 0, 0));
    EXPECT_LT(TimedWait(0), 1000);
    EXPECT_EQ(Flag, 1);

    Flag = 0;
    MsgPostQuit(7);
    EXPECT_LT(TimedWait(0), 1000);
    PlMessage m;
    EXPECT_EQ(MsgGetTimeout(&m, 0), PlGet::Quit);   // still there for the loop outside
    EXPECT_EQ(m.wParam, 7u);
}

TEST_F(Loops, MainLoopEndsOnTheQuitFlagAndClearsChangedMarks)
{
    int n = WinSlotAlloc();
    ASSERT_EQ(n, 1);
    WinTable[n]->windowType = 19;
    WinTable[n]->mdiChild = win;
    WinTable[n]->changed = 1;
    int closed = WinSlotAlloc();   // a marked slot without its child is left alone
    WinTable[closed]->changed = 1;
    RedrawPendingFlag = 1;

    ASSERT_TRUE(MsgPost(win, PlMsg::User, 0, 0));
    ASSERT_TRUE(MsgPost(win, PlMsg::User + 2, 0, 0));
    ASSERT_TRUE(MsgPost(win, PlMsg::User, 0, 0));
    MainMessageLoop();
    EXPECT_EQ(MsgPendingCount(), 1);   // the loop stopped at the quit flag
    EXPECT_EQ(WinTable[n]->changed, 0);
    EXPECT_EQ(WinTable[closed]->changed, 1);
    EXPECT_EQ(RedrawPendingFlag, 0);
    WinTable[n]->mdiChild = 0;
}

}  // namespace
