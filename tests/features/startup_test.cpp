// startup_test.cpp - start-up that cannot go on stops with a non-zero
// exit and says why (no interface file, a damaged one, one of another
// version, a window class taken), a second start asks the first to show
// its frame instead of running and says why when the first does not
// answer, and a company path on the command line too long for a file
// name is refused as such.
#include "tests/shell/shell_fixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <iterator>
#include <vector>

#include "core/language_file.h"
#include "dict_offsets.h"
#include "features/program_start.h"
#include "platform/instance.h"
#include "platform/queue.h"
#include "platform/script.h"

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
        return OrvelStart(options);
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
        _exit(OrvelStart(options) == 0 && !WinIsWindow(FrameWindow) ? 0 : 1);
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

TEST_F(Startup, SecondStartWhoseFirstDoesNotAnswerSaysWhyAndFails)
{
    // The first holds the check but never takes a request: it is stuck.
    ASSERT_EQ(InstanceClaim(options.instanceName), PlInstanceRole::First);
    options.instanceAnswerMs = 300;
    std::string why = TextOf(Texts::InstanceNoAnswer);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceRelease();
        ScriptReset();
        int code = OrvelStart(options);
        _exit(code != 0 && ScriptLastMessage() == why && !WinClassExists("m4frame") ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a non-zero exit and the reason told";
    InstanceRelease();

    // The first gone, the next start is the first again and runs (here
    // to the company dialog, which the user cancels).
    ScriptAnswerFile("");
    EXPECT_EQ(StartWith(&built), 0);
    EXPECT_FALSE(Told(why));
    ASSERT_FALSE(ScriptRecords().empty());
    EXPECT_EQ(ScriptRecords().back().kind, "file");
}

// A path over 255 characters whose first 255 name a file that exists and
// is no company: a cut path would open that file.
std::string LongPathOverAFile(const std::filesystem::path &dir)
{
    std::filesystem::path sub = dir / std::string(100, 'd');
    std::filesystem::create_directories(sub);
    std::string path = (sub / (std::string(150, 'x') + ".VDB")).string();
    std::ofstream(path.substr(0, 255)).put('x');
    return path;
}

TEST_F(Startup, ACompanyPathTooLongOnTheCommandLineIsRefusedAsSuchNeverCut)
{
    options.commandLine = LongPathOverAFile(dir);
    ASSERT_GT(options.commandLine.size(), 255u);
    ScriptAnswerFile("");   // the company dialog that follows is cancelled
    EXPECT_EQ(StartWith(&built), 0);
    std::vector<std::string> said;
    for (const PlScriptRecord &r : ScriptRecords())
        if (r.kind == "message") said.push_back(r.text);
    EXPECT_EQ(said, std::vector<std::string>{TextOf(Texts::PathTooLong)}) << "neither 'no file' nor 'not a company'";
    ASSERT_FALSE(ScriptRecords().empty());
    EXPECT_EQ(ScriptRecords().back().kind, "file");
    EXPECT_EQ(std::filesystem::file_size(options.commandLine.substr(0, 255)), 1u);
}

}  // namespace
