// The previous-instance socket: the first start holds it, a second start
// finds it, and the show request becomes message 1024 for the frame, which
// comes back to the front.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/instance.h"
#include "platform/mdi.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "platform/window_internal.h"

namespace {
int gShows = 0;

std::vector<uint32_t> gRaised;

intptr_t FrameProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::User) ++gShows;
    return MdiDefFrameProc(win, 0, msg, wParam, lParam);
}

void RecordRaise(uint32_t top) { gRaised.push_back(top); }

// A child process forked now claims the name when Go() is called (after the
// parent made its own claim) and reports its role as exit code.
struct ChildClaim {
    pid_t pid = -1;
    int pipeFd[2] = {-1, -1};
    ChildClaim(const std::string &name, bool useFile)
    {
        if (pipe(pipeFd) != 0) return;
        pid = fork();
        if (pid == 0) {
            char c;
            close(pipeFd[1]);
            if (read(pipeFd[0], &c, 1) != 1) _exit(99);
            _exit(int(InstanceClaim(name, useFile)));
        }
        close(pipeFd[0]);
    }
    int Go()
    {
        char c = 'g';
        if (write(pipeFd[1], &c, 1) != 1) return -1;
        close(pipeFd[1]);
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

class WindowInstance : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        WinResetAll();
        gShows = 0;
        gRaised.clear();
        WinHooksRef().raiseOnDisplay = RecordRaise;
        ASSERT_TRUE(WinRegisterClass({"m4frame", FrameProc, 13, kPlWorkspace, 0, 0}));
        ASSERT_TRUE(WinRegisterClass({"m4other", WinDefProc, 0, kPlWorkspace, 0, 0}));
    }
    void TearDown() override
    {
        WinHooksRef().raiseOnDisplay = nullptr;
        InstanceRelease();
        WinResetAll();
    }
};

TEST_P(WindowInstance, SecondStartFindsTheFirstAndShowsIt)
{
    bool useFile = GetParam();
    std::string name = "test-" + std::to_string(getpid()) + (useFile ? "-file" : "-abstract");
    EXPECT_FALSE(InstanceSignal(name, useFile)) << "nobody holds it yet";
    ChildClaim second(name, useFile);
    ASSERT_EQ(InstanceClaim(name, useFile), PlInstanceRole::First);
    EXPECT_TRUE(InstanceHeld());
    EXPECT_EQ(second.Go(), int(PlInstanceRole::Second));

    // The frame lies minimised behind another window of the program.
    uint32_t frame = WinCreate("m4frame", "Orvel", PlStyle::Visible, {0, 0, 300, 200}, 0, 0, 0);
    uint32_t other = WinCreate("m4other", "Other", PlStyle::Visible, {50, 50, 150, 150}, 0, 0, 0);
    WinShow(frame, PlShow::Minimized);
    WinActivate(other);
    ASSERT_TRUE(WinIsIconic(frame));
    ASSERT_TRUE(InstanceSignal(name, useFile));
    PlMessage m;
    ASSERT_EQ(MsgGetTimeout(&m, 2000), PlGet::Message);
    EXPECT_EQ(m.win, frame);
    EXPECT_EQ(m.msg, PlMsg::User);
    MsgDispatch(m);
    EXPECT_EQ(gShows, 1);
    EXPECT_FALSE(WinIsIconic(frame));
    EXPECT_TRUE(PlRectEqual(WinRect(frame), PlRect{0, 0, 300, 200}));
    EXPECT_EQ(WinActiveWindow(), frame);
    EXPECT_EQ(gRaised, std::vector<uint32_t>{frame}) << "the display is asked to raise it";
    MsgPumpPending();  // the paint of the windows shown

    // Anything but the request is ignored.
    EXPECT_EQ(MsgGetTimeout(&m, 50), PlGet::Timeout);

    InstanceRelease();
    EXPECT_FALSE(InstanceSignal(name, useFile));
    ChildClaim later(name, useFile);
    EXPECT_EQ(later.Go(), int(PlInstanceRole::First)) << "released: the next start is first";
    // The child ended without releasing: a socket file it left behind does
    // not block the next start.
    EXPECT_EQ(InstanceClaim(name, useFile), PlInstanceRole::First);
}

INSTANTIATE_TEST_SUITE_P(AbstractAndFile, WindowInstance, ::testing::Values(false, true));
}  // namespace
