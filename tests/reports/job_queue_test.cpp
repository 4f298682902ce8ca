// job_queue_test.cpp - the ring of saved output jobs and its window: the
// ring's limit and order across the wrap, deleted jobs passed over, a
// cancel that keeps the rest, and a job opened from the queue whose OK
// neither runs nor saves it again.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "platform/display.h"
#include "recordwin/record_windows.h"
#include "shell/record_commands.h"
#include "shell/report_commands.h"
#include "output/job_queue.h"
#include "tests/output/output_fixture.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_window_fixture.h"

namespace {

constexpr int TypeQueue = 9, TypeReport = 60;

// Report 10 is listed by its title; report 11 only by its number.
const char *const JobQueueDict = R"(
1509 "The job queue is full."
11711 "Report"
9601 "Sales journal"
wintype 9 { kind plain rect 40 40 300 440 listrect 10 10 -44 -10 }
window 9 {
  control rect -34 10 -10 90 kind button command 1 label "Run"
  control rect -34 100 -10 180 kind button command 2 label "Delete"
  control rect -34 190 -10 270 kind button command 3 label "Open"
}
wintype 60 { kind reportparams recsize 1238 rect 60 60 300 400 }
list reports {
  text 9601 wintype 60 number 10 wintype2 0 module 0
}
)";

class JobQueueTest : public ReportWindowFixture {
protected:
    std::string InterfaceSource() override { return JobQueueDict; }
    void SetUp() override
    {
        RecordFixture::SetUp();
        JobQueueReset();
        JobQueueWindowInstall();
        Ran.clear();
        StopAt = 0;
        OutputRunServices.runReportCommand = [](ReportJob &job) {
            Ran.push_back(GetU16(job.selection, ReportParamsVc::SetupDialog));
            if (int(Ran.size()) == StopAt) OutputJobState.stopFlag = 1;
            return OutputJobState.stopFlag == 0;
        };
    }
    void TearDown() override
    {
        JobQueueReset();
        WindowEventHandlerSet(TypeQueue, nullptr);
        ResetOutputJobState();
        RecordFixture::TearDown();
    }
    // Saves job `mark` (in its word 2) of report `report`; false when refused.
    static bool Save(int mark, int report = 10, int selWindow = 0)
    {
        std::vector<uint8_t> job(ReportParamsSize, 0);
        PutU16(job.data(), ReportParamsVc::SetupDialog, uint16_t(mark));
        PutU16(job.data(), ReportParamsVc::ReportNumber, uint16_t(report));
        PutU16(job.data(), ReportParamsVc::SelWinType, uint16_t(selWindow));
        return JobQueuePush(job.data(), 1);
    }
    // The marks of the live jobs, oldest first.
    static std::vector<int> Live()
    {
        std::vector<int> out;
        for (int k = 0, s; (s = JobQueueLiveSlot(k)) >= 0; k++) {
            out.push_back(GetU16(MemLock(JobQueue.slots[size_t(s)]), ReportParamsVc::SetupDialog));
            MemUnlock(JobQueue.slots[size_t(s)]);
        }
        return out;
    }
    static std::vector<int> Range(int from, int to)
    {
        std::vector<int> v;
        for (int i = from; i <= to; i++) v.push_back(i);
        return v;
    }

    RunServicesDouble runs;                 // the other runs, recorded (the ring's own are put back)
    static inline std::vector<int> Ran;     // the marks of the jobs run, in order
    static inline int StopAt = 0;           // the run that ends stopped (the user's cancel), 0 none
};

TEST_F(JobQueueTest, ThirtyJobsFillTheRingAndTheThirtyFirstIsRefusedAndTold)
{
    for (int i = 1; i <= 30; i++) ASSERT_TRUE(Save(i)) << i;
    uint32_t blocks = MemBlockCount();
    EXPECT_FALSE(Save(31));
    EXPECT_EQ(MemBlockCount(), blocks);   // the refused copy is not kept
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_NE(Shown()[0].find("The job queue is full."), std::string::npos);
    EXPECT_EQ(Live(), Range(1, 30));

    // Every saved copy runs on the device it was saved for.
    std::vector<uint8_t> popped(ReportParamsSize, 0);
    ASSERT_TRUE(JobQueuePop(popped.data()));
    EXPECT_EQ(GetU16(popped.data(), ReportParamsVc::OutputKind), 1);
    EXPECT_EQ(GetU16(popped.data(), ReportParamsVc::SetupDialog), 1);
    EXPECT_TRUE(Save(31));   // a popped job makes room
    EXPECT_FALSE(Save(32));
}

TEST_F(JobQueueTest, JobsAreListedAndRunInTheOrderSavedAcrossTheWrap)
{
    for (int i = 1; i <= 20; i++) ASSERT_TRUE(Save(i));
    std::vector<uint8_t> popped(ReportParamsSize, 0);
    for (int i = 1; i <= 15; i++) {
        ASSERT_TRUE(JobQueuePop(popped.data()));
        EXPECT_EQ(GetU16(popped.data(), ReportParamsVc::SetupDialog), i);
    }
    for (int i = 21; i <= 40; i++) ASSERT_TRUE(Save(i, i % 2 ? 10 : 11));
    EXPECT_LT(JobQueue.tail, JobQueue.head);   // the tail wrapped
    EXPECT_EQ(Live(), Range(16, 40));

    // The window lists the 25 jobs by their report's title, or its number.
    int q = OpenOrActivateWindow(TypeQueue, 0, 0, false, 0);
    ASSERT_GT(q, 0);
    std::vector<std::string> rows = ListBoxRows(q);
    ASSERT_EQ(rows.size(), 25u);
    EXPECT_EQ(rows[0], "Sales journal");   // job 16
    EXPECT_EQ(rows[5], "Sales journal");   // job 21
    EXPECT_EQ(rows[6], "Report 11");       // job 22

    // Run (its button) runs them all oldest first and empties the list.
    ASSERT_TRUE(ClickLabelled(q, "Run"));
    EXPECT_EQ(Ran, Range(16, 40));
    EXPECT_EQ(JobQueue.head, JobQueueEmpty);
    EXPECT_EQ(JobQueue.tail, JobQueueEmpty);
    EXPECT_TRUE(ListBoxRows(q).empty());
    EXPECT_FALSE(JobQueuePop(popped.data()));
}

TEST_F(JobQueueTest, ADeletedJobIsPoppedWithoutRunningAndTheRingEmpties)
{
    for (int i = 1; i <= 3; i++) ASSERT_TRUE(Save(i));
    int q = OpenOrActivateWindow(TypeQueue, 0, 0, false, 0);
    ASSERT_GT(q, 0);
    ListBoxSetCurSel(WinListBox(q), 1);
    ASSERT_TRUE(ClickLabelled(q, "Delete"));
    EXPECT_EQ(ListBoxRows(q).size(), 2u);
    EXPECT_EQ(Live(), (std::vector<int>{1, 3}));
    EXPECT_EQ(JobQueueCount(), 3);   // the deleted job keeps its slot until popped

    ListBoxSetCurSel(WinListBox(q), 1);   // now job 3
    RepJobQueueDelete(q);
    EXPECT_EQ(Live(), (std::vector<int>{1}));
    CmdPrint(q);   // Print in the queue runs it
    EXPECT_EQ(Ran, (std::vector<int>{1}));
    EXPECT_EQ(JobQueueCount(), 0);
    EXPECT_EQ(JobQueue.head, JobQueueEmpty);

    // Delete without a job does nothing.
    RepJobQueueDelete(q);
    EXPECT_EQ(JobQueueCount(), 0);
}

TEST_F(JobQueueTest, ACancelEndsTheBatchAfterItsJobAndKeepsTheRest)
{
    for (int i = 1; i <= 5; i++) ASSERT_TRUE(Save(i));
    StopAt = 2;
    int q = OpenOrActivateWindow(TypeQueue, 0, 0, false, 0);
    EXPECT_TRUE(JobQueueRun(q));
    EXPECT_EQ(Ran, (std::vector<int>{1, 2}));
    EXPECT_EQ(Live(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(ListBoxRows(q).size(), 3u);

    // The next batch starts afresh and runs the rest.
    StopAt = 0;
    EXPECT_TRUE(JobQueueRun(q));
    EXPECT_EQ(Ran, Range(1, 5));
    EXPECT_EQ(JobQueueCount(), 0);
}

TEST_F(JobQueueTest, AnOpenedJobShowsItsSelectionAndItsOkNeitherRunsNorSavesAgain)
{
    // A report window on the job-queue device saves its job with device 1.
    int r = OpenOrActivateWindow(TypeReport, 0, 0, true, 0);
    ASSERT_GT(r, 0);
    uint8_t *rec = WinRecordBuffer(r);
    PutU16(rec, ReportParamsVc::OutputKind, 7);
    PutU16(rec, ReportParamsVc::ReportNumber, 10);
    PutU16(rec, ReportParamsVc::SelWinType, TypeReport);
    PutText(rec, ReportParamsVc::SelText1, reinterpret_cast<const uint8_t *>("\x05" "10:20"));
    OutputRunServices.reportParamsCheck = [](uint8_t *) { return true; };
    ReportWindowOk(r);
    EXPECT_FALSE(WinIsOpen(r));
    ASSERT_EQ(JobQueueCount(), 1);
    ASSERT_TRUE(Ran.empty());

    int q = OpenOrActivateWindow(TypeQueue, 0, 0, false, 0);
    ASSERT_EQ(ListBoxRows(q), (std::vector<std::string>{"Sales journal"}));
    ASSERT_TRUE(ClickLabelled(q, "Open"));
    int m = WinFindByDef(TypeReport);
    ASSERT_GT(m, 0);
    const uint8_t *shown = WinRecordBuffer(m);
    EXPECT_EQ(GetU16(shown, ReportParamsVc::Reopened), 1);
    EXPECT_EQ(GetU16(shown, ReportParamsVc::OutputKind), 1);
    uint8_t range[256];
    GetText(shown, ReportParamsVc::SelText1, range);
    EXPECT_EQ(PStringToStd(range), "10:20");

    WindowOkAction(m);
    EXPECT_TRUE(Ran.empty());
    EXPECT_EQ(JobQueueCount(), 1);
    EXPECT_TRUE(runs.calls.empty());
}

TEST_F(JobQueueTest, OpeningAJobWithoutASelectionWindowBeeps)
{
    ASSERT_TRUE(Save(1, 10, 0));
    int q = OpenOrActivateWindow(TypeQueue, 0, 0, false, 0);
    int beeps = PlBeepCount();
    WindowOkAction(q);   // OK in the queue opens the selected job
    EXPECT_EQ(PlBeepCount(), beeps + 1);
    EXPECT_EQ(WinFindByDef(TypeReport), 0);
    EXPECT_EQ(JobQueueCount(), 1);
}

}  // namespace
