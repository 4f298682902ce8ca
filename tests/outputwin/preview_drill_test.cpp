// preview_drill_test.cpp - the drill-down of a preview: a double click on
// a text with the drill-down link runs the drill-down report with the
// preview's job, the drill-down window's defaults and the text clicked;
// without a report run the user is told and nothing else happens.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/output_job.h"
#include "recordwin/report_defaults.h"
#include "tests/output/test_job.h"
#include "tests/shell/shell_fixture.h"

namespace {

namespace Rp = ReportParamsVc;

// What the report run saw, copied at its start.
std::vector<std::vector<uint8_t>> Runs;

class PreviewDrill : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        if (HasFatalFailure()) return;
        MakeFrame();
        if (HasFatalFailure()) return;
        if (!LoggedInUser) {
            ASSERT_TRUE(AllocWorkBlocks());
        }
        PutU16(own.job.selection, Rp::OutputKind, OutPreview);
        ResetOutputJobState();
        Runs.clear();
        savedRuns = OutputRunServices;
        OutputRunServices.runReportCommand = nullptr;
    }
    void TearDown() override
    {
        OutputRunServices = savedRuns;
        ResetOutputJobState();
        ShellFixture::TearDown();
    }
    OutputRunServicesRec savedRuns{};
    static int32_t Point(int x, int y) { return int32_t((uint32_t(y) << 16) | uint16_t(x)); }
    OwnedJob own;   // the job the preview shows
    // A preview of the job with one plain and one drill-down line; its window.
    int Preview()
    {
        OutputJobAttach attached(own.job);
        PString t;
        PStringFromC(t, "Ledger");
        RepOpenJob(t);
        int n = RepOutputState.previewWindow;
        EXPECT_TRUE(PreviewIsOpen(n));
        for (auto [s, link] : {std::pair{"plain", 0}, std::pair{"3010", 16}}) {
            RepStartLine(12);
            PStringFromC(t, s);
            RepText(0, link, t, 0);
            RepEndLine();
        }
        RepEndJob();
        return n;
    }
    static void DoubleClickLine(int n, int line)
    {
        const MacRect &c = WinTable[n]->contentRect;
        EXPECT_TRUE(RepListWindowDraw(n, Point(c.left + 12, c.top + PreviewTopOffset - 4 + 12 * line), false, true));
    }
};

TEST_F(PreviewDrill, DrillDownRunsItsReportWithTheJobAndTheText)
{
    uint8_t *selection = own.job.selection;
    PutU16(selection, Rp::ReportNumber, 1);
    PutU16(selection, Rp::SecondKind, 3);
    PutDate(selection, Rp::DateFrom, DateRec{1, 2, 2024});
    PutDate(selection, Rp::DateTo, DateRec{29, 2, 2024});
    PutU16(selection, Rp::Option1 + 2 * 6, 9);
    PutI32(selection, Rp::NumberFrom, 44);
    int n = Preview();
    ASSERT_GT(n, 0);
    OutputRunServices.runReportCommand = [](ReportJob &job) {
        Runs.emplace_back(job.selection, job.selection + ReportParamsSize);
        return true;
    };
    DoubleClickLine(n, 0);
    EXPECT_TRUE(Runs.empty());   // a text without the link only highlights
    DoubleClickLine(n, 1);
    ASSERT_EQ(Runs.size(), 1u);
    const uint8_t *job = Runs[0].data();
    EXPECT_EQ(GetU16(job, Rp::ReportNumber), DrillDownReport);
    EXPECT_EQ(GetU16(job, Rp::OutputKind), OutPreview);
    EXPECT_EQ(GetU16(job, Rp::SecondKind), 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(job + Rp::SelText7 + 1), job[Rp::SelText7]), "3010");
    DateRec from = GetDate(job, Rp::DateFrom), to = GetDate(job, Rp::DateTo);
    EXPECT_EQ(from.month, 2);
    EXPECT_EQ(to.day, 29);
    // The defaults of the general ledger's selection: its objects column
    // (option word 6) off, no word it does not show left set, the number
    // range open.
    EXPECT_EQ(GetU16(job, Rp::Option1 + 2 * 6), 0);
    EXPECT_EQ(GetU16(job, Rp::Option1 + 2 * 7), 0);
    EXPECT_EQ(GetI32(job, Rp::NumberFrom), -1);
    // The preview keeps its own job.
    EXPECT_EQ(GetU16(WinRecordBuffer(n), Rp::ReportNumber), 1);
}

TEST_F(PreviewDrill, WithoutAReportRunTheUserIsTold)
{
    int n = Preview();
    ASSERT_GT(n, 0);
    MessagesShown.clear();
    DoubleClickLine(n, 1);
    EXPECT_TRUE(Said(TextOf(Texts::FunctionNotYet)));
}

}  // namespace
