// exit_path_test.cpp - the program run whole, headless: the company of
// the command line opens before the loop, every way out (command 112,
// closing the frame, the bottom bar's quit, a lost connection, no
// company, a cancelled login) closes the company exactly once, and the
// file then checks clean.
#include "tests/shell/shell_fixture.h"

#include <cstring>
#include <functional>

#include "core/language_file.h"
#include "features/program_start.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "shell/company.h"
#include "shell/frame_commands.h"
#include "shell/procedures.h"
#include "shell/record_commands.h"

namespace {

// What the message wait does on its first call, with the loop running.
std::function<void()> Exit;
int Polls;
bool OpenAtFirstPoll, GreyedAtFirstPoll, FellBack;

int PollThenExit(int, PlSocketPostFn)
{
    if (Polls++ == 0) {
        OpenAtFirstPoll = DbOpenFlag && D4IsOpen();
        // With no window open, the bar's buttons and Print start greyed.
        GreyedAtFirstPoll = !WinIsEnabled(TopBarButtons[0]) && !WinIsEnabled(TopBarButtons[2]) &&
                            (MenuItemFlags(MenuHandles.file, 5) & PlMenuFlag::Grayed);
        Exit();
    } else if (Polls > 200) {   // the exit did not work: end the test's loop anyway
        FellBack = true;
        MsgPostQuit(0);
    }
    return 0;
}

class ExitPath : public ShellCompanyFixture {
protected:
    std::string company;
    void SetUp() override
    {
        ShellCompanyFixture::SetUp();
        LangFileSetDirectories({home.string()});
        company = (dir / "run.VDB").string();
        PString path;
        PStringFromC(path, company.c_str());
        ASSERT_TRUE(OpenCompany(path, 0));
        DbClose();
        Polls = 0;
        OpenAtFirstPoll = GreyedAtFirstPoll = FellBack = false;
        MsgSetSocketHooks(PollThenExit, [] { return true; });
    }
    void TearDown() override
    {
        LangFileSetDirectories({});
        ShellCompanyFixture::TearDown();
    }
    // Runs the program on the command line and checks the one way out.
    void RunAndExpectOneClose(const std::string &commandLine, int closeLines)
    {
        WinResetAll();
        StartOptions o;
        o.commandLine = commandLine;
        o.show = PlShow::Normal;
        o.instanceName = "orvel-exit-" + std::to_string(getpid());
        EXPECT_EQ(OrvelStart(o), 0);
        EXPECT_FALSE(FellBack);
        EXPECT_FALSE(D4IsOpen());
        EXPECT_FALSE(DbOpenFlag);
        EXPECT_EQ(FrameCleanupDone, 1);
        EXPECT_FALSE(WinIsWindow(FrameWindow));
        // The log is kept only in the full variant, which the built
        // interface file's window type 9 makes.
        EXPECT_FALSE(CompactVariant);
        EXPECT_EQ(LogLines("Close database "), closeLines);
        ASSERT_EQ(D4Open(company.c_str(), 0), D4OpenOk);
        std::string report;
        EXPECT_TRUE(D4IntegrityCheck(&report)) << report;
        D4Close();
    }
};

TEST_F(ExitPath, EveryWayOutClosesTheCompanyOnce)
{
    int lines = LogLines("Close database ");
    const std::vector<std::function<void()>> exits = {
        [] { MsgPost(FrameWindow, PlMsg::Command, FrameCmd::FileExit, 0); },
        [] { MsgPost(FrameWindow, PlMsg::Close, 0, 0); },
        [] {   // the bottom bar's quit, and the click that carried it
            ToolbarCommand(CurrentWindow, 14, 0);
            MsgPost(FrameWindow, PlMsg::Null, 0, 0);
        },
        [] {   // the network is told of a lost server by a socket event
            SocketsActive = true;
            NetServices.onSocketEvent = [](uint32_t, int, int) { QuitFlag = 1; };
            MsgPost(FrameWindow, MsgSocketEvent, 5, 0);
        },
    };
    for (const auto &e : exits) {
        Exit = e;
        Polls = 0;
        RunAndExpectOneClose(company, ++lines);
        EXPECT_TRUE(OpenAtFirstPoll);   // the command line opened before the loop
        EXPECT_TRUE(GreyedAtFirstPoll);
    }
}

TEST_F(ExitPath, NoCompanyOrACancelledLoginEndsWithoutTheLoop)
{
    int lines = LogLines("Close database ");
    Exit = [] {};
    ScriptAnswerFile("");
    RunAndExpectOneClose("", lines);
    EXPECT_EQ(Polls, 0);
    ASSERT_EQ(ScriptRecords().size(), 1u);   // the empty command line asked for a company
    EXPECT_EQ(ScriptRecords()[0].kind, "file");

    PString path;
    PStringFromC(path, company.c_str());
    ASSERT_TRUE(DbLayerInit());
    ASSERT_TRUE(DbOpen(path, 0));   // no users yet: it opens
    std::vector<uint8_t> user(PEVc::Size);
    std::memcpy(&user[PEVc::Code], "\3ADM", 4);
    uint32_t id = 0;
    DbHoldBegin();
    ASSERT_TRUE(RecInsertLocal(PEVc::Number, user.data(), &id));
    ASSERT_TRUE(DbHoldEnd());
    DbClose();
    lines = LogLines("Close database ");
    ScriptReset();
    ScriptAnswerFile("");
    // The login window asks in a loop of its own; its Cancel closes the
    // company, and the company question that follows is cancelled too.
    static bool asked;
    asked = false;
    Exit = [] {
        asked = WinFindByDef(15) > 0 && BarsLocked;
        ScriptKey('C', true, true);
    };
    RunAndExpectOneClose(company, lines + 1);   // the cancel's close only
    EXPECT_TRUE(asked);
    EXPECT_EQ(ScriptRecords().back().kind, "file");
    EXPECT_EQ(LoggedInFlag, 0);
}

}  // namespace
