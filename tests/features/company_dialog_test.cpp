// company_dialog_test.cpp - File > Company (and the bottom bar's Company)
// while the user works in a company: a cancelled dialog leaves that
// company open with its user logged in and the program running; another
// company chosen replaces it; the program ends on a cancel only when no
// company was open before it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/window_entries.h"
#include "dict_offsets.h"
#include "shell/database_open.h"
#include "shell/toolbar.h"
#include "tests/features/demo_company_fixture.h"

namespace {

constexpr int BarCompany = 11;   // the bottom bar's command that asks for a company

class CompanyDialog : public LoggedIn {
protected:
    // Clicks the bottom bar's Company button.
    static void BottomBarCompany()
    {
        uint8_t *def = WinTypeDef(WinTypes::MainBars);
        for (int i = 0; def && i < WinDefPartCount(def, WinPartIconButtons); i++) {
            uint16_t size = 0;
            const uint8_t *e = WinDefPartEntry(def, WinPartIconButtons, i, &size);
            if (DefU16(e + IconEntry::Command) != BarCompany) continue;
            ScriptClick(BottomBarWindow, int16_t(DefU16(e + IconEntry::X)) + 4, int16_t(DefU16(e + IconEntry::Y)) + 4);
            Drain();
            return;
        }
        ADD_FAILURE() << "the bottom bar has no Company button";
    }
    // The demo company is open with ADMIN at work: its customers read and
    // the customer list opens by Ctrl+1.
    void ExpectDemoAtWork()
    {
        EXPECT_EQ(DbOpenFlag, 1);
        EXPECT_EQ(LoggedInFlag, 1);
        EXPECT_EQ(QuitFlag, 0);
        EXPECT_EQ(RegRecordCount(CUVc::Number), 3u);
        Key('1', false, true);
        EXPECT_GT(Find(WinTypes::CustomerList), 0);
    }
};

// Cancelling the dialog from the menu or the bottom bar keeps the demo
// company open: nothing closed it, the log says no close, the user works on.
TEST_F(CompanyDialog, ACancelledDialogKeepsTheOpenCompany)
{
    ScriptAnswerFile("");
    Menu(CmdCompany);
    bool asked = false;
    for (const PlScriptRecord &r : ScriptRecords()) asked |= r.kind == "file" && r.scripted;
    EXPECT_TRUE(asked) << "the company dialog was not shown";
    ExpectDemoAtWork();
    EXPECT_EQ(LogLines("Close database " + (dir / "demo.VDB").string()), 0);

    ScriptReset();
    ScriptAnswerFile("");
    BottomBarCompany();
    ExpectDemoAtWork();
    EXPECT_EQ(LogLines("Close database " + (dir / "demo.VDB").string()), 0);
    EXPECT_TRUE(Shown().empty()) << Shown().front();
}

// Another company chosen closes the demo first (the log names it), and
// the new one, made from the defaults, asks for the login again.
TEST_F(CompanyDialog, AnotherCompanyChosenReplacesTheOpenOne)
{
    ScriptAnswerFile((dir / "second.VDB").string());
    Menu(CmdCompany);
    EXPECT_EQ(LogLines("Close database " + (dir / "demo.VDB").string()), 1);
    EXPECT_TRUE(std::filesystem::exists(dir / "second.VDB"));
    ExpectDemoAtWork();   // the second company holds the defaults' customers too
}

// A chosen file that is no company is told and the dialog asks again; by
// then the demo is closed. A cancel now leaves the program running with
// no company, and the dialog opens the demo again.
TEST_F(CompanyDialog, ACancelAfterAFailedChoiceLeavesTheProgramRunning)
{
    { std::ofstream junk(dir / "junk.VDB"); junk << "not a company"; }
    ScriptAnswerFile((dir / "junk.VDB").string());
    ScriptAnswerFile("");
    Menu(CmdCompany);
    EXPECT_EQ(Shown().size(), 1u);
    EXPECT_EQ(DbOpenFlag, 0);
    EXPECT_EQ(QuitFlag, 0);

    MessagesShown.clear();
    ScriptAnswerFile((dir / "demo.VDB").string());
    Menu(CmdCompany);
    ExpectDemoAtWork();
}

// With no company open, a cancelled dialog ends the program, as at the
// start.
TEST_F(CompanyDialog, ACancelWithNoCompanyOpenEndsTheProgram)
{
    DbClose();
    ASSERT_EQ(DbOpenFlag, 0);
    ScriptAnswerFile("");
    Menu(CmdCompany);
    EXPECT_EQ(DbOpenFlag, 0);
    EXPECT_EQ(QuitFlag, 1);
}

}  // namespace
