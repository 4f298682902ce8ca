// Page set-ups kept per user and window type through the print set-up
// dialog: two users apart, Ctrl then Cancel (on a server too), a refused
// write told, no company or no block storing nothing; and the text-file
// dialogs answered by script.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/page_setup.h"
#include "shell/text_file_dialogs.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

constexpr int Report = 600, Other = 601;

class PageSetup : public RecordFixture {
protected:
    void TearDown() override
    {
        PlSetKeyDown(PlKey::Control, false);
        RunMode = 0;
        User("");
        RecordFixture::TearDown();
    }
    static void User(const char *code) { SessionUserIs(code); }
    // The set-up dialog answered OK with the given paper and orientation,
    // or cancelled; Ctrl held as asked.
    static bool Dialog(int type, bool ok, PlPaper paper, bool landscape, bool ctrl = false)
    {
        ScriptAnswerPrintSetup(ok, PlPrintSetup{paper, landscape});
        PlSetKeyDown(PlKey::Control, ctrl);
        bool stored = PrintSetupDialog(0, type);
        PlSetKeyDown(PlKey::Control, false);
        return stored;
    }
    // The stored set-up of the current user; false when none loads.
    static bool Loaded(int type, PlPrintSetup *setup)
    {
        MemBlock h = 0;
        PageSetupLoad(type, PageSetupDialogFlag, &h);
        bool ok = PageSetupFromHandle(h, setup);
        EXPECT_EQ(ok, h != 0);
        MemFree(&h);
        return ok;
    }
};

TEST_F(PageSetup, EachUserKeepsOwnAndCtrlCancelDeletesOnlyTheirs)
{
    uint32_t blocks = MemBlockCount();
    User("ANN");
    ASSERT_TRUE(Dialog(Report, true, PlPaper::Letter, true));
    User("BOB");
    ASSERT_TRUE(Dialog(Report, true, PlPaper::A4, false));
    ASSERT_TRUE(Dialog(Report, true, PlPaper::A4, true)) << "stored again: the record is updated";
    EXPECT_EQ(RegRecordCount(PageSetupVc::Number), 2u);

    PlPrintSetup s;
    User("ANN");
    ASSERT_TRUE(Loaded(Report, &s));
    EXPECT_EQ(s.paper, PlPaper::Letter);
    EXPECT_TRUE(s.landscape);
    EXPECT_FALSE(Loaded(Other, &s)) << "another window type has its own set-up";
    User("BOB");
    ASSERT_TRUE(Loaded(Report, &s));
    EXPECT_EQ(s.paper, PlPaper::A4);
    EXPECT_TRUE(s.landscape);

    // Ctrl deletes before the dialog opens, so a cancel leaves none; on a
    // server session as stand-alone, and only the current user's.
    RunMode = RunModeServer;
    EXPECT_FALSE(Dialog(Report, false, PlPaper::A4, false, true));
    EXPECT_FALSE(Loaded(Report, &s));
    User("ANN");
    EXPECT_TRUE(Loaded(Report, &s));
    RunMode = 0;
    EXPECT_FALSE(Dialog(Report, false, PlPaper::A4, false, true));
    EXPECT_FALSE(Loaded(Report, &s));
    EXPECT_EQ(RegRecordCount(PageSetupVc::Number), 0u);
    // With Ctrl and OK the new set-up replaces the deleted one.
    EXPECT_TRUE(Dialog(Report, true, PlPaper::Letter, false, true));
    EXPECT_EQ(RegRecordCount(PageSetupVc::Number), 1u);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST_F(PageSetup, NothingStoredIsSaidOrLeftBehind)
{
    uint32_t blocks = MemBlockCount();
    // A null block has nothing to store and says nothing.
    MemBlock none = 0;
    EXPECT_FALSE(PageSetupStore(Report, PageSetupDialogFlag, &none));
    EXPECT_TRUE(Shown().empty());

    // Without a company the user is told; loads give the defaults.
    ASSERT_TRUE(Dialog(Report, true, PlPaper::Letter, false));
    DbOpenFlag = 0;
    EXPECT_FALSE(Dialog(Other, true, PlPaper::Letter, false));
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_NE(Shown()[0].find("page set-up could not be stored"), std::string::npos) << Shown()[0];
    PlPrintSetup s;
    EXPECT_FALSE(Loaded(Report, &s));
    EXPECT_FALSE(PageSetupRecordSave(Report));
    DbOpenFlag = 1;
    EXPECT_TRUE(Loaded(Report, &s)) << "nothing was deleted without a company";

    // A client that lost its server: the write is refused and told, and
    // the load finds nothing.
    RunMode = RunModeClient;
    EXPECT_FALSE(Dialog(Report, true, PlPaper::A4, true));
    ASSERT_EQ(Shown().size(), 2u) << "told once";
    EXPECT_NE(Shown()[1].find("connection"), std::string::npos) << Shown()[1];
    EXPECT_FALSE(Loaded(Report, &s));
    RunMode = 0;
    ASSERT_TRUE(Loaded(Report, &s));
    EXPECT_EQ(s.paper, PlPaper::Letter) << "the stored set-up is untouched";

    // A block's copy replaces the target's block, also when both are one.
    MemBlock a = MemAlloc(3), b = MemAlloc(9);
    MemLock(a)[2] = 42;
    MemUnlock(a);
    CopyGlobalToMem(&a, &b);
    ASSERT_EQ(MemSize(b), 3u);
    EXPECT_EQ(MemLock(b)[2], 42);
    MemUnlock(b);
    CopyMemToGlobal(&b, &b);
    EXPECT_EQ(MemSize(b), 3u);
    CopyGlobalToMem(&none, &a);
    EXPECT_EQ(a, 0u);
    MemFree(&b);
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST_F(PageSetup, TextFileDialogsGiveThePathOrNothing)
{
    uint8_t path[256];
    ScriptAnswerFile("");
    EXPECT_FALSE(OpenTextFileDialog(path));
    EXPECT_EQ(path[0], 0);
    uint16_t word = 7;
    ScriptAnswerFile("/data/export/ITEMS");
    ASSERT_TRUE(SaveExportFileDialog(path, &word));
    EXPECT_EQ(std::tuple(PStringToStd(path), word), std::tuple("/data/export/ITEMS", 0));
}

}  // namespace
