// output_hooks_test.cpp - the wrappers of the runs later subsystems
// install: without a run nothing is reported as done (the user is told
// where the user asked, the running job stops where a job asked), an
// installed run gets exactly what was passed and its answer comes back,
// and a client's maintenance routine runs at the server.
#include "../database/access/company_fixture.h"
#include "tests/output/output_fixture.h"

#include <cstring>

#include "database/access/remote_calls.h"
#include "dict_offsets.h"

namespace {

class OutputHooks : public CompanyFixture {
protected:
    void SetUp() override
    {
        CompanyFixture::SetUp();
        OutputJobState = OutputJobStateRec{};
        OutputRunServices = OutputRunServicesRec{};
    }
    void TearDown() override
    {
        OutputJobState = OutputJobStateRec{};
        CompanyFixture::TearDown();
    }
};

TEST_F(OutputHooks, MissingRunsRefuseTellOnlyWhenAskedAndStopTheJob)
{
    const std::string notYet = TextOf(Texts::FunctionNotYet);
    ASSERT_EQ(notYet, "This function is not available yet.");

    // Runs the user asked for: refused and told, each once.
    EXPECT_FALSE(RunReportCommand());
    EXPECT_EQ(OutputJobState.stopFlag, 1);
    EXPECT_FALSE(RepJobQueuePush(ReportParams, 1));
    EXPECT_FALSE(RepJobQueueRun(3));
    EXPECT_FALSE(ReportParamsCheck(ReportParams));
    EXPECT_FALSE(RunTextExport(2));
    EXPECT_FALSE(RunMaintenanceCall());
    ASSERT_EQ(MessagesShown.size(), 6u);
    for (const std::string &m : MessagesShown) EXPECT_NE(m.find(notYet), std::string::npos) << m;
}

TEST_F(OutputHooks, InstalledRunsGetTheirArgumentsAndTheTableComesBack)
{
    ASSERT_NE(ReportParams, nullptr);
    for (uint32_t i = 0; i < ReportParamsSize; i++) ReportParams[i] = uint8_t(i * 7);
    {
        RunServicesDouble runs;
        EXPECT_TRUE(RepJobQueuePush(ReportParams, 1));
        runs.answer = false;
        EXPECT_FALSE(RunReportCommand());
        EXPECT_FALSE(RunMaintenanceCall());

        EXPECT_EQ(runs.Names(),
                  (std::vector<std::string>{"repJobQueuePush", "runReportCommand", "runMaintenance"}));
        const RunCall &push = runs.calls[0];
        EXPECT_EQ(push.args, std::vector<int64_t>{1});
        EXPECT_EQ(push.bytes, std::vector<uint8_t>(ReportParams, ReportParams + ReportParamsSize));
        EXPECT_EQ(runs.calls[1].params[100], uint8_t(100 * 7));
        // A refusing run is not turned into a failed job by the wrapper.
        EXPECT_EQ(OutputJobState.stopFlag, 0);
        EXPECT_TRUE(MessagesShown.empty());
    }
    EXPECT_EQ(OutputRunServices.runReportCommand, nullptr);
    EXPECT_EQ(OutputRunServices.repJobQueuePush, nullptr);
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
    std::memset(ReportParams, 0x5A, ReportParamsSize);

    EXPECT_FALSE(RunMaintenanceCall());   // no connection
    Requests.clear();
    TransportInstall(ServeEmpty, ServeEmpty);
    EXPECT_TRUE(RunMaintenanceCall());
    ASSERT_EQ(Requests.size(), 1u);
    EXPECT_EQ(Requests[0].code, ReqMaintenance);
    ASSERT_GE(Requests[0].body.size(), ReportParamsSize);
    EXPECT_EQ(std::vector<uint8_t>(Requests[0].body.end() - ReportParamsSize, Requests[0].body.end()),
              std::vector<uint8_t>(ReportParamsSize, 0x5A));
    EXPECT_TRUE(runs.calls.empty());
}

}  // namespace
