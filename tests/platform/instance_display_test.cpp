// The previous-instance check is kept per user and display: a start on
// another display is a first instance there, a start on the same display
// (however its name is written) finds the running one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/instance.h"

namespace {

// A child forked now (before the parent claims: a child forked later would
// inherit the parent's socket) that claims name on display when Go() is
// called and reports its role as exit code.
struct ClaimOnDisplay {
    pid_t pid = -1;
    int pipeFd[2] = {-1, -1};
    ClaimOnDisplay(const std::string &name, bool useFile, const char *display)
    {
        if (pipe(pipeFd) != 0) return;
        pid = fork();
        if (pid == 0) {
            char c;
            close(pipeFd[1]);
            if (read(pipeFd[0], &c, 1) != 1) _exit(99);
            setenv("DISPLAY", display, 1);
            _exit(int(InstanceClaim(name, useFile)));
        }
        close(pipeFd[0]);
    }
    int Go()
    {
        char c = 'g';
        if (pid < 0 || write(pipeFd[1], &c, 1) != 1) return -1;
        close(pipeFd[1]);
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

// Sets DISPLAY for one test and puts the old value back.
struct DisplayEnv {
    std::string old;
    bool had;
    explicit DisplayEnv(const char *value)
    {
        const char *o = std::getenv("DISPLAY");
        had = o != nullptr;
        if (had) old = o;
        setenv("DISPLAY", value, 1);
    }
    ~DisplayEnv()
    {
        InstanceRelease();
        if (had)
            setenv("DISPLAY", old.c_str(), 1);
        else
            unsetenv("DISPLAY");
    }
};

TEST(InstanceDisplay, KeyNamesOneDisplayOnceAndDisplaysApart)
{
    EXPECT_EQ(InstanceDisplayKey(":1", nullptr), InstanceDisplayKey(":1.0", nullptr));
    EXPECT_NE(InstanceDisplayKey(":1", nullptr), InstanceDisplayKey(":2", nullptr));
    EXPECT_NE(InstanceDisplayKey(":1.0", nullptr), InstanceDisplayKey(":1.1", nullptr));
    EXPECT_NE(InstanceDisplayKey("remote:1", nullptr), InstanceDisplayKey(":1", nullptr));
    EXPECT_EQ(InstanceDisplayKey(nullptr, nullptr), "none");
    EXPECT_EQ(InstanceDisplayKey("", ""), "none");
    EXPECT_NE(InstanceDisplayKey(nullptr, "wayland-0"), InstanceDisplayKey(nullptr, "wayland-1"));
    EXPECT_NE(InstanceDisplayKey(nullptr, "wayland-0"), "none");
    // Whatever the variable holds stays inside a file name.
    std::string odd = InstanceDisplayKey("/tmp/launch/../x:0", nullptr);
    EXPECT_EQ(odd.find('/'), std::string::npos) << odd;
}

class InstanceDisplayClaim : public ::testing::TestWithParam<bool> {};

TEST_P(InstanceDisplayClaim, SecondDisplayStartsItsOwnInstance)
{
    const bool useFile = GetParam();
    const std::string name = "disp-" + std::to_string(getpid()) + (useFile ? "-file" : "-abstract");
    DisplayEnv env(":91");
    ClaimOnDisplay other(name, useFile, ":92"), sameScreen(name, useFile, ":91.0"), same(name, useFile, ":91");
    ASSERT_EQ(InstanceClaim(name, useFile), PlInstanceRole::First);
    EXPECT_EQ(other.Go(), int(PlInstanceRole::First)) << "a start on another display must not be sent to this one";
    EXPECT_EQ(sameScreen.Go(), int(PlInstanceRole::Second));
    EXPECT_EQ(same.Go(), int(PlInstanceRole::Second));
    EXPECT_NE(InstanceAddress(name, useFile), "") << "the address fits";
}

INSTANTIATE_TEST_SUITE_P(AbstractAndFile, InstanceDisplayClaim, ::testing::Values(false, true));

}  // namespace
