// The previous-instance socket: the first start holds it, a second start
// finds it, and the show request becomes message 1024 for the frame.
#include <gtest/gtest.h>

#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/instance.h"
#include "platform/queue.h"
#include "platform/window.h"

namespace {
int gShows = 0;

intptr_t FrameProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::User) ++gShows;
    return WinDefProc(win, msg, wParam, lParam);
}

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
        ASSERT_TRUE(WinRegisterClass({"m4frame", FrameProc, 13, kPlWorkspace, 0, 0}));
    }
    void TearDown() override
    {
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

    uint32_t frame = WinCreate("m4frame", "Orvel", 0, {0, 0, 100, 100}, 0, 0, 0);
    ASSERT_TRUE(InstanceSignal(name, useFile));
    PlMessage m;
    ASSERT_EQ(MsgGetTimeout(&m, 2000), PlGet::Message);
    EXPECT_EQ(m.win, frame);
    EXPECT_EQ(m.msg, PlMsg::User);
    MsgDispatch(m);
    EXPECT_EQ(gShows, 1);

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
