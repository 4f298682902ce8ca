// rep_job_test.cpp - the job, line and page model of the output
// operations as every device sees it: page breaks by the device's page
// bottom, a cancelled job that still closes, a job that prints nothing,
// the stored page header's ten lines.
#include "../database/access/company_fixture.h"
#include "tests/output/output_fixture.h"
#include "tests/output/output_recorder.h"

#include "core/field_access.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "tests/output/test_job.h"

namespace {

class RepJob : public CompanyFixture {
protected:
    void SetUp() override
    {
        CompanyFixture::SetUp();
        ResetOutputJobState();
        RemoteOutput = 0;
    }
    void TearDown() override
    {
        MemFree(&PageHeaderLines.block);
        ResetOutputJobState();
        CompanyFixture::TearDown();
    }
};

TEST_F(RepJob, PrinterKindBreaksAtItsBottomThePreviewKindNever)
{
    RecorderInstall rec({OutPrinter, OutPreview});
    for (uint16_t kind : {OutPrinter, OutPreview}) {
        OutKind(kind);
        RecLog.clear();
        PString t;
        RepOpenJob(P(t, "Job"));
        for (int i = 0; i < 84; i++) {   // 83 lines fill 996 of 1000; the 84th breaks on the printer
            RepStartLine(12);
            RepText(10, 0, P(t, "x"), 0);
            RepEndLine();
        }
        EXPECT_EQ(RepOutputState.linePos, kind == OutPrinter ? 12 : 84 * 12);
        RepEndJob();
        std::vector<RecCall> pages;
        for (const RecCall &c : RecLog)
            if (c.name == "pageStart" || c.name == "pageEnd") pages.push_back(c);
        if (kind == OutPrinter) {
            ASSERT_EQ(pages.size(), 4u);
            EXPECT_EQ(pages[1], (RecCall{kind, "pageEnd", {0}, ""}));   // the break, before line 84
            EXPECT_EQ(pages[2], (RecCall{kind, "pageStart", {2}, ""}));
            EXPECT_EQ(pages[3], (RecCall{kind, "pageEnd", {1}, ""}));   // the job's end
        } else {
            ASSERT_EQ(pages.size(), 2u);
            EXPECT_EQ(pages[1], (RecCall{kind, "pageEnd", {1}, ""}));
        }
        EXPECT_EQ(RecLog.back().name, "end");
    }
}

TEST_F(RepJob, CancelledJobStoresHeightsPrintsNothingAndStillCloses)
{
    RecorderInstall rec({OutTextFile});
    OutKind(OutTextFile);
    PString t;
    RepOpenJob(P(t, "Job"));
    RepStartLine(12);
    RepText(0, 0, P(t, "before"), 0);
    UserCancelFlag = 1;
    RepEndLine();                     // the advance polls the cancel and stops
    EXPECT_EQ(RepStopped, 1);
    size_t logged = RecLog.size();
    RepStartLine(30);
    EXPECT_EQ(RepOutputState.lineHeight, 30);
    RepText(0, 0, P(t, "after"), 0);
    RepRuleFull(480, 1);
    RepEndLine();
    RepNewPage(0);
    EXPECT_EQ(RecLog.size(), logged) << RecLog.back().name;
    RepEndJob();
    EXPECT_EQ(RecNames(), (std::vector<std::string>{"open", "pageStart", "line", "text", "end"}));
    EXPECT_EQ(RecLog[3].text, "before");

    // A job that prints nothing starts and ends no page.
    RecLog.clear();
    RepOpenJob(P(t, "Empty"));
    RepEndJob();
    EXPECT_EQ(RecNames(), (std::vector<std::string>{"open", "end"}));
}

TEST_F(RepJob, StoredHeaderKeepsLinesZeroToNineAndDropsOthers)
{
    RecorderInstall rec({OutCharPrinter});
    OutKind(OutCharPrinter);
    PString t;
    RepOpenJob(P(t, "Job"));
    RepHeaderClear();
    ASSERT_NE(PageHeaderLines.block, 0u);
    for (int n : {0, 9}) {
        RepHeaderLeft(n, P(t, n ? "nine" : "zero"));
        RepHeaderRight(n, P(t, "right"));
    }
    RepHeaderLeft(10, P(t, "ten"));
    RepHeaderRight(-1, P(t, "minus"));
    RepHeaderRight(32767, P(t, "far"));
    EXPECT_EQ(RepOutputState.headerLine, 9);
    ASSERT_EQ(MemSize(PageHeaderLines.block), uint32_t(HeaderLineCount * HeaderSlot));
    const uint8_t *p = MemLock(PageHeaderLines.block);
    std::string all(reinterpret_cast<const char *>(p), HeaderLineCount * HeaderSlot);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(p + 1), p[0]), "zero");
    const uint8_t *nine = p + 9 * HeaderSlot;
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(nine + 1), nine[0]), "nine");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(nine + HeaderRightAt + 1), nine[HeaderRightAt]), "right");
    MemUnlock(PageHeaderLines.block);
    for (const char *dropped : {"ten", "minus", "far"}) EXPECT_EQ(all.find(dropped), std::string::npos) << dropped;
    EXPECT_TRUE(RecLog.size() == 1 && RecLog[0].name == "open");   // the stored header reaches no device call
    RepEndJob();
    EXPECT_EQ(PageHeaderLines.block, 0u);
}

}  // namespace
