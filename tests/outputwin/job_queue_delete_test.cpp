// job_queue_delete_test.cpp - Edit > Delete row in the job-queue window
// deletes the selected saved job (as its Delete button does), and with no
// job selected deletes nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/field_access.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "tests/shell/record_fixture.h"

namespace {

constexpr int TypeQueue = 9;

const char *const QueueDict = R"(
1509 "The job queue is full."
wintype 9 { kind plain rect 40 40 300 440 listrect 10 10 -44 -10 }
window 9 {
  control rect -34 10 -10 90 kind button command 1 label "Run"
  control rect -34 100 -10 180 kind button command 2 label "Delete"
  control rect -34 190 -10 270 kind button command 3 label "Open"
}
)";

class JobQueueDeleteTest : public RecordFixture {
protected:
    std::string InterfaceSource() override { return QueueDict; }
    void SetUp() override
    {
        RecordFixture::SetUp();
        JobQueueReset();
        JobQueueWindowInstall();
        savedRuns = OutputRunServices;
    }
    void TearDown() override
    {
        JobQueueReset();
        OutputRunServices = savedRuns;
        RecordFixture::TearDown();
    }
    OutputRunServicesRec savedRuns{};
    static void Save(int report)
    {
        std::vector<uint8_t> job(ReportParamsSize, 0);
        PutU16(job.data(), ReportParamsVc::ReportNumber, uint16_t(report));
        ASSERT_TRUE(JobQueuePush(job.data(), 1));
    }
    // The report numbers of the live jobs, oldest first.
    static std::vector<int> Live()
    {
        std::vector<int> out;
        for (int k = 0, s; (s = JobQueueLiveSlot(k)) >= 0; k++) {
            out.push_back(GetU16(MemLock(JobQueue.slots[size_t(s)]), ReportParamsVc::ReportNumber));
            MemUnlock(JobQueue.slots[size_t(s)]);
        }
        return out;
    }
};

TEST_F(JobQueueDeleteTest, EditDeleteRowDropsTheSelectedJob)
{
    for (int r : {21, 22, 23}) Save(r);
    int q = OpenOrActivateWindow(TypeQueue, 0, 0, false, 0);
    ASSERT_GT(q, 0);
    ListBoxSetCurSel(WinListBox(q), 1);
    EditCommand(q, 6);
    EXPECT_EQ(Live(), (std::vector<int>{21, 23}));
    EXPECT_EQ(ListBoxRows(q).size(), 2u);

    // Nothing selected: nothing deleted.
    ListBoxSetCurSel(WinListBox(q), -1);
    EditCommand(q, 6);
    EXPECT_EQ(Live(), (std::vector<int>{21, 23}));
}

}  // namespace
