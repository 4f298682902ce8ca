// startup_test.cpp - start-up that cannot go on stops with a non-zero
// exit and says why (no interface file, a damaged one, one of another
// version, a window class taken), and a second start asks the first to
// show its frame instead of running.
#include "shell_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <iterator>
#include <vector>

#include "core/language_file.h"
#include "platform/instance.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/startup.h"

namespace {

class Startup : public ShellFixture {
protected:
    std::vector<uint8_t> built;
    StartOptions options;

    void SetUp() override
    {
        ShellFixture::SetUp();
        std::ifstream in(home / "QVENG.WIN", std::ios::binary);
        built.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_GT(built.size(), 1000u);
        UseCompanyFolder();
        options.show = PlShow::Normal;
        options.instanceName = "orvel-test-" + std::to_string(getpid());
    }
    void TearDown() override
    {
        LangFileSetDirectories({});
        ShellFixture::TearDown();
    }
    // Runs the program with only the given interface file bytes to find.
    int StartWith(const std::vector<uint8_t> *file)
    {
        std::filesystem::remove(dir / "QVENG.WIN");
        if (file) {
            std::ofstream out(dir / "QVENG.WIN", std::ios::binary);
            out.write(reinterpret_cast<const char *>(file->data()), std::streamsize(file->size()));
        }
        LangFileSetDirectories({dir.string()});
        return WinMain(options);
    }
};

TEST_F(Startup, BadInterfaceFilesStopWithAReason)
{
    EXPECT_NE(StartWith(nullptr), 0);
    EXPECT_TRUE(Told("No language file available"));

    ScriptReset();
    std::vector<uint8_t> cut(built.begin(), built.begin() + long(built.size() / 2));
    EXPECT_NE(StartWith(&cut), 0);
    EXPECT_FALSE(ScriptRecords().empty());

    // The version word is the first 3041 of the file.
    std::vector<uint8_t> other = built;
    const uint8_t version[4] = {0xE1, 0x0B, 0, 0};
    auto at = std::search(other.begin(), other.end(), version, version + 4);
    ASSERT_NE(at, other.end());
    at[0] = 0xE2;
    ScriptReset();
    EXPECT_NE(StartWith(&other), 0);
    EXPECT_FALSE(ScriptRecords().empty());
    EXPECT_FALSE(WinClassExists("m4frame"));   // nothing was set up
}

intptr_t TakenProc(uint32_t w, uint32_t m, uintptr_t wp, intptr_t lp) { return WinDefProc(w, m, wp, lp); }

TEST_F(Startup, ClassesRegisterInOrderAndStopAtTheFirstRefusal)
{
    ASSERT_TRUE(WinRegisterClass({"m4doc", TakenProc, 0, 0, 0, 0}));
    EXPECT_NE(StartWith(&built), 0);
    EXPECT_TRUE(WinClassExists("m4frame") && WinClassExists("m4toolbar") && WinClassExists("m4maint"));
    EXPECT_FALSE(WinClassExists("m4report") || WinClassExists("m4default"));
    EXPECT_FALSE(FrameWindow && WinIsWindow(FrameWindow));
}

TEST_F(Startup, SecondStartShowsTheFirstFrame)
{
    ASSERT_TRUE(RegisterWindowClasses());
    uint32_t frame = WinCreate("m4frame", "Orvel", PlStyle::OverlappedWindow, PlRect{0, 0, 400, 300}, 0, 0, 0);
    ASSERT_NE(frame, 0u);
    WinShow(frame, PlShow::Minimized);
    ASSERT_TRUE(WinIsIconic(frame));
    ASSERT_EQ(InstanceClaim(options.instanceName), PlInstanceRole::First);

    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceRelease();   // the copy of the first's socket
        _exit(WinMain(options) == 0 && !WinIsWindow(FrameWindow) ? 0 : 1);
    }
    // The second start first probes the socket without a request, so the
    // first wake-up may bring nothing: wait until the request itself came.
    bool posted = false;
    for (int i = 0; i < 50 && !posted; ++i)
        if (InstanceWait(100)) posted = InstancePoll();
    EXPECT_TRUE(posted);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    MsgPumpPending();
    EXPECT_FALSE(WinIsIconic(frame));
    InstanceRelease();
}

}  // namespace
