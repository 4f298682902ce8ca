// output_hooks_test.cpp - the wrappers of the runs later subsystems
// install: without a run nothing is reported as done (the user is told
// where the user asked, the running job stops where a job asked), an
// installed run gets exactly the job that was passed, attached to the
// output, and its answer comes back; the queue is the output layer's own;
// and a client's maintenance routine runs at the server.
#include "../database/access/company_fixture.h"
#include "tests/output/output_fixture.h"

#include <cstring>

#include "database/access/remote_calls.h"
#include "output/job_queue.h"
#include "dict_offsets.h"
#include "tests/output/test_job.h"

namespace {

class OutputHooks : public CompanyFixture {
protected:
    void SetUp() override
    {
        CompanyFixture::SetUp();
        ResetOutputJobState();
        DetachTestJob();
        OutputRunServices = OutputRunServicesRec{};
    }
    void TearDown() override
    {
        ResetOutputJobState();
        CompanyFixture::TearDown();
    }
};

TEST_F(OutputHooks, MissingRunsRefuseTellOnlyWhenAskedAndStopTheJob)
{
    const std::string notYet = TextOf(Texts::FunctionNotYet);
    ASSERT_EQ(notYet, "This function is not available yet.");

    // Runs the user asked for: refused and told, each once.
    OwnedJob own;
    EXPECT_FALSE(RunReportCommand(own.job));
    EXPECT_EQ(OutputJobState.stopFlag, 1);
    EXPECT_FALSE(ReportParamsCheck(own.job.selection));
    EXPECT_FALSE(RunTextExport(own.job, 2));
    ASSERT_EQ(MessagesShown.size(), 3u);
    for (const std::string &m : MessagesShown) EXPECT_NE(m.find(notYet), std::string::npos) << m;
}

TEST_F(OutputHooks, InstalledRunsGetTheirArgumentsAndTheTableComesBack)
{
    OwnedJob own;
    for (uint32_t i = 0; i < ReportParamsSize; i++) own.job.selection[i] = uint8_t(i * 7);
    JobQueueReset();
    {
        RunServicesDouble runs;
        EXPECT_TRUE(JobQueuePush(own.job.selection, 1));
        runs.answer = false;
        EXPECT_FALSE(RunReportCommand(own.job));

        EXPECT_EQ(runs.Names(), (std::vector<std::string>{"runReportCommand"}));
        // The queue holds the job's copy with word 0 the device it runs on.
        ASSERT_EQ(JobQueueCount(), 1);
        std::vector<uint8_t> queued(ReportParamsSize, 0);
        ASSERT_TRUE(JobQueuePop(queued.data()));
        std::vector<uint8_t> expected(own.job.selection, own.job.selection + ReportParamsSize);
        PutU16(expected.data(), ReportParamsVc::OutputKind, 1);
        EXPECT_EQ(queued, expected);
        // The run saw its own job, and the job was the output's while it ran.
        EXPECT_EQ(runs.calls[0].params[100], uint8_t(100 * 7));
        EXPECT_TRUE(runs.calls[0].attached);
        EXPECT_EQ(OutputJobState.jobRecord, nullptr);
        // A refusing run is not turned into a failed job by the wrapper.
        EXPECT_EQ(OutputJobState.stopFlag, 0);
        EXPECT_TRUE(MessagesShown.empty());
    }
    EXPECT_EQ(OutputRunServices.runReportCommand, nullptr);
    JobQueueReset();
}

struct SentRequest {
    uint16_t code;
    std::vector<uint8_t> body;
};
std::vector<SentRequest> Requests;

// A connection whose server takes every request with an empty reply.
bool ServeEmpty(uint16_t code, MsgBuffer *request, MsgBuffer *reply)
{
    const uint8_t *data = MsgData(request);
    Requests.push_back({code, std::vector<uint8_t>(data, data + MsgLength(request))});
    MsgReset(reply);
    return true;
}

TEST_F(OutputHooks, ClientMaintenanceRunsAtTheServerWithTheWholeJob)
{
    RunServicesDouble runs;   // a local routine is there but must not run
    RunMode = RunModeClient;
    OwnedJob own;
    std::memset(own.job.selection, 0x5A, ReportParamsSize);

    EXPECT_FALSE(RunMaintenanceCall(own.job));   // no connection
    Requests.clear();
    TransportInstall(ServeEmpty, ServeEmpty);
    EXPECT_TRUE(RunMaintenanceCall(own.job));
    ASSERT_EQ(Requests.size(), 1u);
    EXPECT_EQ(Requests[0].code, ReqMaintenance);
    ASSERT_GE(Requests[0].body.size(), ReportParamsSize);
    EXPECT_EQ(std::vector<uint8_t>(Requests[0].body.end() - ReportParamsSize, Requests[0].body.end()),
              std::vector<uint8_t>(ReportParamsSize, 0x5A));
    EXPECT_TRUE(runs.calls.empty());
}

}  // namespace
