// Modal services: scripted and default answers headless, and the real modal
// dialogs driven by scripted keys and clicks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/clipboard.h"
#include "platform/control.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"

namespace fs = std::filesystem;

namespace {
uint32_t FindDialog(uint32_t top)
{
    for (int i = 0; uint32_t c = WinChildAt(top, i); ++i)
        if (WinClassName(c) == "PlDialog") return c;
    return 0;
}

// What the frame saw, and what it is to do when the test's message reaches it
// inside a modal loop.
enum class Act { PressCloseBox, CloseFrame, DestroyFrame, ReadFileList, PickFileRow };
Act gAct = Act::PressCloseBox;
std::vector<std::string> gFileRows;  // ReadFileList: the rows of the file list
int gPickRow = 0;                    // PickFileRow: the row clicked before Return
int gFrameDestroyed = 0;
int gFrameClicks = 0;

intptr_t FrameProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::Destroy) ++gFrameDestroyed;
    if (msg == PlMsg::LButtonDown) ++gFrameClicks;
    if (msg == PlMsg::User && gAct == Act::PressCloseBox) {
        uint32_t dlg = FindDialog(win);
        EXPECT_NE(dlg, 0u);
        PlRect r = WinScreenRect(dlg);
        PlPoint p{r.right - 3 - 2 - 8, r.top + 3 + 9};
        MsgInputMouse(p, 1, true);
        MsgInputMouse(p, 1, false);
    }
    if (msg == PlMsg::User && gAct == Act::CloseFrame) {
        // As the display does when the user closes the frame's window.
        EXPECT_NE(FindDialog(win), 0u);
        MsgPost(win, PlMsg::Close, 0, 0);
    }
    if (msg == PlMsg::User && gAct == Act::DestroyFrame) WinDestroy(win);
    if (msg == PlMsg::User && (gAct == Act::ReadFileList || gAct == Act::PickFileRow)) {
        uint32_t list = 0;
        for (int i = 0; uint32_t c = WinChildAt(FindDialog(win), i); ++i)
            if (WinClassName(c) == "ListBox") list = c;
        EXPECT_NE(list, 0u);
        gFileRows.clear();
        for (int i = 0; i < ListBoxCount(list); ++i) gFileRows.push_back(ListBoxText(list, i));
        if (gAct == Act::PickFileRow) {
            ScriptClick(list, 20, gPickRow * ListBoxRowHeight(list) + 2);
            ScriptKey(PlKey::Return);
        }
    }
    return WinDefProc(win, msg, wParam, lParam);
}

class WindowDialog : public ::testing::Test {
protected:
    uint32_t frame = 0;
    void SetUp() override
    {
        WinResetAll();
        ScriptReset();
        gAct = Act::PressCloseBox;
        gFrameDestroyed = gFrameClicks = 0;
        ASSERT_TRUE(WinRegisterClass({"m4frame", FrameProc, 13, kPlWorkspace, 0, 0}));
        frame = WinCreate("m4frame", "Orvel", PlStyle::Visible, {0, 0, 640, 480}, 0, 0, 0);
        MsgPumpPending();
    }
    void TearDown() override
    {
        ScriptReset();
        WinResetAll();
    }
};

TEST_F(WindowDialog, MessageBoxesHeadless)
{
    EXPECT_EQ(DlgMessageBox(frame, "No language file available", "", PlMbButtons::Ok, PlMbIcon::Stop), kPlIdOk);
    EXPECT_EQ(ScriptLastMessage(), "No language file available");
    EXPECT_EQ(DlgMessageBox(frame, "Store?", "", PlMbButtons::YesNoCancel, PlMbIcon::Question), kPlIdYes);
    EXPECT_EQ(DlgMessageBox(frame, "Store?", "", PlMbButtons::YesNoCancel, PlMbIcon::Question, 1), kPlIdNo);
    ScriptAnswerMessageBox(kPlIdNo);
    ScriptAnswerMessageBox(kPlIdCancel);
    EXPECT_EQ(DlgMessageBox(frame, "first", "", PlMbButtons::YesNoCancel, PlMbIcon::Question), kPlIdNo);
    EXPECT_EQ(DlgMessageBox(0, "second", "Cap", PlMbButtons::YesNoCancel, PlMbIcon::Question), kPlIdCancel);
    const auto &rec = ScriptRecords();
    ASSERT_EQ(rec.size(), 5u);
    EXPECT_FALSE(rec[0].scripted);
    EXPECT_TRUE(rec[4].scripted);
    EXPECT_EQ(rec[4].caption, "Cap");
    EXPECT_EQ(rec[4].answer, kPlIdCancel);
    EXPECT_FALSE(DlgHelp(frame, "ORVEL.HLP", 3));
    EXPECT_NE(ScriptLastMessage().find(kPlHelpMissingText), std::string::npos);
    EXPECT_EQ(WinFirstChild(frame), 0u) << "headless boxes make no window";
}

TEST_F(WindowDialog, MessageBoxesDrivenByKeysAndClicks)
{
    ScriptSetInteractive(true);
    ScriptKey('N');
    EXPECT_EQ(DlgMessageBox(frame, "Store the changes?", "", PlMbButtons::YesNoCancel, PlMbIcon::Question), kPlIdNo);
    ScriptKey(PlKey::Escape);
    EXPECT_EQ(DlgMessageBox(frame, "Store?", "", PlMbButtons::YesNoCancel, PlMbIcon::Question), kPlIdCancel);
    ScriptKey(PlKey::Tab);
    ScriptKey(PlKey::Return);
    EXPECT_EQ(DlgMessageBox(frame, "Store?", "", PlMbButtons::YesNoCancel, PlMbIcon::Question), kPlIdNo)
        << "Tab moves from Yes to No";
    ScriptKey(PlKey::Return);
    EXPECT_EQ(DlgMessageBox(frame, "Stop", "", PlMbButtons::Ok, PlMbIcon::Stop), kPlIdOk);
    // Nothing queued: the default answer.
    EXPECT_EQ(DlgMessageBox(frame, "Idle", "", PlMbButtons::YesNo, PlMbIcon::Question, 1), kPlIdNo);
    EXPECT_EQ(MsgSetModal(0), 0u) << "the box let go of its owner";
}

TEST_F(WindowDialog, ABoxHoldsItsOwnerUntilItIsAnswered)
{
    ScriptSetInteractive(true);
    // A click on the frame beside the box does not reach the frame.
    ScriptClick(frame, 600, 450);
    ScriptKey(PlKey::Escape);
    EXPECT_EQ(DlgMessageBox(frame, "Store?", "", PlMbButtons::YesNoCancel, PlMbIcon::Question), kPlIdCancel);
    EXPECT_EQ(gFrameClicks, 0);

    // Closing the frame under the box answers Cancel, and the frame lives on.
    gAct = Act::CloseFrame;
    MsgPost(frame, PlMsg::User, 0, 0);
    EXPECT_EQ(DlgMessageBox(frame, "Store the changes?", "", PlMbButtons::YesNoCancel, PlMbIcon::Question),
              kPlIdCancel);
    EXPECT_EQ(gFrameDestroyed, 0);
    ASSERT_TRUE(WinIsWindow(frame));
    EXPECT_EQ(FindDialog(frame), 0u);
    // Without Cancel the safe choice: No, or OK; not the default button.
    MsgPost(frame, PlMsg::User, 0, 0);
    EXPECT_EQ(DlgMessageBox(frame, "Delete?", "", PlMbButtons::YesNo, PlMbIcon::Question), kPlIdNo);
    MsgPost(frame, PlMsg::User, 0, 0);
    EXPECT_EQ(DlgMessageBox(frame, "Done", "", PlMbButtons::Ok, PlMbIcon::Information), kPlIdOk);
    gAct = Act::PressCloseBox;
    MsgPost(frame, PlMsg::User, 0, 0);
    EXPECT_EQ(DlgMessageBox(frame, "Delete?", "", PlMbButtons::YesNo, PlMbIcon::Question), kPlIdNo)
        << "the close box of a Yes/No box";
    EXPECT_EQ(gFrameDestroyed, 0);

    // A quit request or the owner destroyed by the program ends the box with
    // its cancel answer too.
    MsgPostQuit(3);
    EXPECT_EQ(DlgMessageBox(frame, "Store?", "", PlMbButtons::YesNoCancel, PlMbIcon::Question), kPlIdCancel);
    PlMessage m;
    ASSERT_EQ(MsgGet(&m), PlGet::Quit) << "the quit request is kept for the main loop";
    EXPECT_EQ(m.wParam, 3u);
    gAct = Act::DestroyFrame;
    MsgPost(frame, PlMsg::User, 0, 0);
    EXPECT_EQ(DlgMessageBox(frame, "Delete?", "", PlMbButtons::YesNo, PlMbIcon::Question), kPlIdNo);
    EXPECT_FALSE(WinIsWindow(frame));
    EXPECT_EQ(MsgSetModal(0), 0u);
}

TEST_F(WindowDialog, FileDialogsFiltersAndAnswers)
{
    auto f = DlgParseFilter("Alla filer (*.*)|*.*|Orvel(*.VDB)|*.VDB|Orvel Mac(*.)|*.|");
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[1].first, "Orvel(*.VDB)");
    EXPECT_EQ(f[1].second, "*.VDB");
    EXPECT_EQ(DlgParseFilter("No end|*.x").size(), 0u);
    EXPECT_TRUE(DlgMatchPattern("company.vdb", "*.VDB"));
    EXPECT_FALSE(DlgMatchPattern("company.vdbx", "*.VDB"));
    EXPECT_TRUE(DlgMatchPattern("README", "*."));
    EXPECT_FALSE(DlgMatchPattern("a.doc", "*.;*.TXT"));
    EXPECT_TRUE(DlgMatchPattern("a.txt", "*.; *.TXT"));
    EXPECT_TRUE(DlgMatchPattern("ab1.txt", "a?1*"));
    EXPECT_EQ(DlgApplyDefaultExt("dir.d/name", "VDB"), "dir.d/name.VDB");
    EXPECT_EQ(DlgApplyDefaultExt("name.old", "VDB"), "name.old");

    PlFileDialog open{"Open", "All (*.*)|*.*|Orvel(*.VDB)|*.VDB|", 2, "VDB", "", false, false, true, false, true};
    std::string path = "unchanged";
    EXPECT_FALSE(DlgFileOpen(frame, open, &path)) << "headless without an answer: cancelled";
    EXPECT_EQ(path, "unchanged");
    ScriptAnswerFile("/tmp/firm");
    ASSERT_TRUE(DlgFileOpen(frame, open, &path));
    EXPECT_EQ(path, "/tmp/firm.VDB");
    ScriptAnswerFile("");
    EXPECT_FALSE(DlgFileOpen(frame, open, &path));
    ScriptAnswerFile(std::string(300, 'x'));
    EXPECT_FALSE(DlgFileOpen(frame, open, &path)) << "longer than the 255 the program keeps";
    EXPECT_EQ(ScriptRecords().size(), 4u);
    EXPECT_EQ(ScriptRecords()[0].kind, "file");
}

TEST_F(WindowDialog, FileDialogOnScreen)
{
    fs::path dir = fs::path(::testing::TempDir()) / "orvel_dialog_test";
    fs::remove_all(dir);
    fs::create_directories(dir / "sub");
    std::ofstream(dir / "a.VDB") << "x";
    std::ofstream(dir / "b.TXT") << "x";
    std::string dirText = dir.string();
    ScriptSetInteractive(true);

    PlFileDialog open{"Open", "All (*.*)|*.*|Orvel(*.VDB)|*.VDB|", 2, "VDB", dirText, false, false, true, false, true};
    std::string path;
    ScriptText("a");
    ScriptKey(PlKey::Return);
    ASSERT_TRUE(DlgFileOpen(frame, open, &path));
    EXPECT_EQ(path, (dir / "a.VDB").string());

    // A new name asks before it is taken.
    ScriptText("new");
    ScriptKey(PlKey::Return);
    ScriptAnswerMessageBox(kPlIdYes);
    ASSERT_TRUE(DlgFileOpen(frame, open, &path));
    EXPECT_EQ(path, (dir / "new.VDB").string());
    EXPECT_NE(ScriptLastMessage().find("new.VDB"), std::string::npos);

    // Saving over a file asks; No keeps the dialog, Esc then cancels.
    PlFileDialog save{"Save", "Text|*.TXT|", 1, "", dirText, true, true, true, false, false};
    ScriptText("b.TXT");
    ScriptKey(PlKey::Return);
    ScriptAnswerMessageBox(kPlIdNo);
    ScriptKey(PlKey::Escape);
    EXPECT_FALSE(DlgFileOpen(frame, save, &path));

    // Typing a directory name enters it.
    ScriptText("sub");
    ScriptKey(PlKey::Return);
    ScriptText("c.TXT");
    ScriptKey(PlKey::Return);
    ASSERT_TRUE(DlgFileOpen(frame, save, &path));
    EXPECT_EQ(path, (dir / "sub" / "c.TXT").string());
    fs::remove_all(dir);
}

TEST_F(WindowDialog, FileDialogShowsAndFindsNamesOutsideAscii)
{
    fs::path dir = fs::path(::testing::TempDir()) / "orvel_dialog_names";
    fs::remove_all(dir);
    fs::create_directories(dir / "\xC3\x85r 2024");       // "Ar 2024" with a ring, UTF-8 on disk
    std::ofstream(dir / "F\xC3\xB6retag.VDB") << "x";      // "Foretag" with o-umlaut
    std::ofstream(dir / "\xE6\x97\xA5\xE6\x9C\xAC.VDB") << "x";  // two CJK characters
    ScriptSetInteractive(true);
    std::string dirText = dir.string();
    PlFileDialog open{"Open", "Orvel(*.VDB)|*.VDB|", 1, "VDB", dirText, false, false, true, true, false};

    // Shown in the program's character set; typed there too.
    gAct = Act::ReadFileList;
    MsgPost(frame, PlMsg::User, 0, 0);
    ScriptText("F\xF6retag");
    ScriptKey(PlKey::Return);
    std::string path;
    ASSERT_TRUE(DlgFileOpen(frame, open, &path)) << ScriptLastMessage();
    EXPECT_EQ(path, (dir / "F\xC3\xB6retag.VDB").string());
    EXPECT_EQ(gFileRows, (std::vector<std::string>{"[..]", "[\xC5r 2024]", "??.VDB", "F\xF6retag.VDB"}));

    // A name cp1252 cannot spell still opens from its row.
    gAct = Act::PickFileRow;
    gPickRow = 2;
    MsgPost(frame, PlMsg::User, 0, 0);
    ASSERT_TRUE(DlgFileOpen(frame, open, &path)) << ScriptLastMessage();
    EXPECT_EQ(path, (dir / "\xE6\x97\xA5\xE6\x9C\xAC.VDB").string());
    fs::remove_all(dir);
}

TEST_F(WindowDialog, PrintDialogs)
{
    PlPrintSetup setup;
    EXPECT_FALSE(DlgPrintSetupDialog(frame, &setup));
    ScriptAnswerPrintSetup(true, PlPrintSetup{PlPaper::Letter, true});
    ASSERT_TRUE(DlgPrintSetupDialog(frame, &setup));
    EXPECT_EQ(setup.paper, PlPaper::Letter);
    EXPECT_TRUE(setup.landscape);
    std::vector<uint8_t> bytes = DlgPrintSetupToBytes(setup);
    PlPrintSetup back;
    ASSERT_TRUE(DlgPrintSetupFromBytes(bytes, &back));
    EXPECT_EQ(back.paper, PlPaper::Letter);
    EXPECT_TRUE(back.landscape);
    bytes[5] = 9;
    EXPECT_FALSE(DlgPrintSetupFromBytes(bytes, &back));
    EXPECT_FALSE(DlgPrintSetupFromBytes(std::span<const uint8_t>(), &back));

    // On the dialog: Tab from OK to Cancel to the paper button, Return flips
    // it; Tab to the orientation and flip it; back to OK.
    ScriptSetInteractive(true);
    PlPrintSetup s2;
    ScriptKey(PlKey::Tab);
    ScriptKey(PlKey::Tab);
    ScriptKey(PlKey::Return);
    ScriptKey(PlKey::Tab);
    ScriptKey(PlKey::Return);
    ScriptKey(PlKey::Tab);
    ScriptKey(PlKey::Return);
    ASSERT_TRUE(DlgPrintSetupDialog(frame, &s2));
    EXPECT_EQ(s2.paper, PlPaper::Letter);
    EXPECT_TRUE(s2.landscape);

    PlPrintChoice choice;
    ScriptKey(PlKey::Escape);
    EXPECT_FALSE(DlgPrintDialog(frame, &choice));
    ScriptAnswerPrint(true, PlPrintChoice{{PlPaper::A4, false}, 0, "out.pdf"});
    ASSERT_TRUE(DlgPrintDialog(frame, &choice));
    EXPECT_EQ(choice.copies, 1) << "at least one copy";
    EXPECT_EQ(DlgPrintSettings(choice).fileName, "out.pdf");
}
}  // namespace
