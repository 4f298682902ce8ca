// job_attach_test.cpp - the job a run hands the output: the device and the
// selection the output reads are the attached job's, nested runs give the
// outer job back, the server sends the running job's record and the
// client takes the received one into its own job, and a voucher printed
// on approval prints as a job of its own.
#include "../database/access/company_fixture.h"
#include "core/work_blocks.h"
#include "tests/output/output_fixture.h"

#include <cstring>
#include <vector>

#include "core/msg_buffer.h"
#include "output/devices/device_table.h"
#include "tests/output/test_job.h"

namespace {

using Bytes = std::vector<uint8_t>;
std::vector<Bytes> Pushes;

class JobAttach : public CompanyFixture {
protected:
    void SetUp() override
    {
        CompanyFixture::SetUp();
        ResetOutputJobState();
        DetachTestJob();
        MsgReset(&OutputMessage);
        Pushes.clear();
        savedPush = MsgSetPush([](MsgBuffer *m) { Pushes.emplace_back(MsgData(m), MsgData(m) + MsgLength(m)); });
        ASSERT_NE(LoggedInUser, nullptr);
        std::memset(TestJob, 0x33, ReportParamsSize);
        testJobBefore.assign(TestJob, TestJob + ReportParamsSize);
    }
    void TearDown() override
    {
        RemoteOutput = 0;
        RemoteJobActive = 0;
        MsgSetPush(savedPush);
        MsgReset(&OutputMessage);
        ResetOutputJobState();
        CompanyFixture::TearDown();
    }
    Bytes TestJobBytes() const { return Bytes(TestJob, TestJob + ReportParamsSize); }

    MsgPushFn savedPush = nullptr;
    Bytes testJobBefore;
};

TEST_F(JobAttach, TheOutputReadsTheAttachedJobAndNestedRunsGiveTheOuterOneBack)
{
    OwnedJob outer, inner;
    PutU16(outer.job.selection, ReportParamsVc::OutputKind, OutTextFile);
    PutU16(inner.job.selection, ReportParamsVc::OutputKind, OutBuffer);
    {
        OutputJobAttach a(outer.job);
        EXPECT_EQ(CurrentJobRecord(), outer.job.selection);
        EXPECT_EQ(CurrentOutputKind(), OutTextFile);
        {
            OutputJobAttach b(inner.job);
            EXPECT_EQ(CurrentOutputKind(), OutBuffer);
            // A device set while a run prints goes into that run's job.
            OutKind(OutPreview);
            EXPECT_EQ(GetU16(inner.job.selection, ReportParamsVc::OutputKind), OutPreview);
        }
        EXPECT_EQ(CurrentOutputKind(), OutTextFile);
    }
    EXPECT_EQ(OutputJobState.jobRecord, nullptr);
    EXPECT_EQ(GetU16(outer.job.selection, ReportParamsVc::OutputKind), OutTextFile);
    EXPECT_EQ(TestJobBytes(), testJobBefore);
}

TEST_F(JobAttach, TheServerSendsTheRunningJobAndTheClientTakesItIntoItsOwn)
{
    OwnedJob server;
    for (uint32_t i = 0; i < ReportParamsSize; i++) server.job.selection[i] = uint8_t(i * 3);
    PutU16(server.job.selection, ReportParamsVc::OutputKind, OutBuffer);
    {
        OutputJobAttach a(server.job);
        RemoteOutput = 1;
        PString t;
        RepOpenJob(P(t, "Sent"));
        RepEndJob();
        RemoteOutput = 0;
    }
    ASSERT_FALSE(Pushes.empty());
    // The record travels whole: the client's job holds the server's bytes
    // after command 1, and the test's job record is never written.
    OwnedJob client;
    PutU16(client.job.selection, ReportParamsVc::OutputKind, OutBuffer);
    {
        OutputJobAttach a(client.job);
        for (const Bytes &b : Pushes) EXPECT_TRUE(RepExecRemote(b.data(), uint32_t(b.size())));
    }
    EXPECT_EQ(Bytes(client.job.selection, client.job.selection + ReportParamsSize),
              Bytes(server.job.selection, server.job.selection + ReportParamsSize));
    EXPECT_EQ(TestJobBytes(), testJobBefore);
    EXPECT_EQ(RemoteJobActive, 0);
}

TEST_F(JobAttach, ARunsJobIsTheOutputsOnlyWhileItRunsAndAFailedRunLeavesNoneAttached)
{
    OwnedJob own;
    PutU16(own.job.selection, ReportParamsVc::ReportNumber, 61);
    {
        RunServicesDouble runs;
        EXPECT_TRUE(RunReportCommand(own.job));
        ASSERT_EQ(runs.calls.size(), 1u);
        EXPECT_TRUE(runs.calls[0].attached);
        EXPECT_EQ(GetU16(runs.calls[0].params.data(), ReportParamsVc::ReportNumber), 61);
    }
    EXPECT_EQ(OutputJobState.jobRecord, nullptr);
    // Without a report run the job is refused and nothing stays attached.
    OutputRunServicesRec saved = OutputRunServices;
    OutputRunServices.runReportCommand = nullptr;
    EXPECT_FALSE(RunReportCommand(own.job));
    OutputRunServices = saved;
    EXPECT_EQ(OutputJobState.jobRecord, nullptr);
    EXPECT_EQ(OutputJobState.stopFlag, 1);
    EXPECT_EQ(TestJobBytes(), testJobBefore);
}

}  // namespace
