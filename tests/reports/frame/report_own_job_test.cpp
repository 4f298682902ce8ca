// report_own_job_test.cpp - a report run over a job record of its own
// prints from that record: two jobs with different selections, run one after
// the other while the test's job record holds a third, print what each
// prints as the test's job record, and leave the test's job record as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "reports/frame/report_frame.h"
#include "rules/ledger.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;

// What a body saw of the frame: the running job record and report 6's
// object column stop, which the frame lays out from the running record.
const uint8_t *SeenRunning = nullptr;
int SeenStop = 0;
void See() {
    SeenRunning = CurrentJobRecord();
    PositionTable stops;
    ReportColumnLayout(6, &stops, 0);
    SeenStop = stops[6];
}
void SeeOnJob(ReportJob &) { See(); }

class ReportOwnJobTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreSalesHistory();
    }
    // A job record for report number over the period from..to.
    static std::vector<uint8_t> Selection(int number, DateRec from, DateRec to, const char *range = "") {
        ResetParams();
        SetWord(P::ReportNumber, uint16_t(number));
        SetWord(P::OutputKind, OutTextFile);
        SetPeriod(from, to);
        SetWord(P::MonthFrom, uint16_t(MonthIndex(&from)));
        SetWord(P::MonthTo, uint16_t(MonthIndex(&to)));
        SetText(P::SelText1, range);
        return std::vector<uint8_t>(TestJob, TestJob + ReportParamsSize);
    }
    static void MakeTestJob(const std::vector<uint8_t> &record) {
        std::memcpy(TestJob, record.data(), ReportParamsSize);
    }
    static std::vector<uint8_t> TestJobBytes() { return std::vector<uint8_t>(TestJob, TestJob + ReportParamsSize); }
};

TEST_F(ReportOwnJobTest, TwoJobsPrintFromTheirOwnRecords)
{
    // The reports whose output changes with the period or the code range
    // in this company.
    const int numbers[] = {1, 3, 4, 5, 7, 8, 13, 14, 15, 18, 24, 34, 57, 58, 61, 65, 66, 73, 94, 97, 111};
    for (int n : numbers) {
        SCOPED_TRACE(n);
        const std::vector<uint8_t> year = Selection(n, {1, 1, 2024}, {31, 12, 2024});
        const std::vector<uint8_t> january = Selection(n, {1, 1, 2024}, {31, 1, 2024}, "C2");
        const std::vector<uint8_t> other = Selection(n, {1, 1, 2020}, {31, 12, 2020});

        MakeTestJob(year);
        const std::string yearText = RunRowText(n, TestJob);
        MakeTestJob(january);
        const std::string januaryText = RunRowText(n, TestJob);
        ASSERT_FALSE(yearText.empty());
        ASSERT_NE(yearText, januaryText) << "the two jobs print alike: the case proves nothing";

        MakeTestJob(other);
        std::vector<uint8_t> ownYear = year, ownJanuary = january;
        EXPECT_EQ(RunRowText(n, ownYear.data()), yearText);
        EXPECT_EQ(RunRowText(n, ownJanuary.data()), januaryText);
        EXPECT_EQ(TestJobBytes(), other) << "a body on its own job changed the test's job record";
    }
}

// Every report prints from its own job alone: run over a job of its own
// while the test's job record holds another selection (other dates, other
// texts, every option word set), it prints what it prints run as the
// test's job record. A body, or a routine it calls, that read the test's job
// record would print the other selection's output.
TEST_F(ReportOwnJobTest, EveryReportPrintsFromItsOwnJobAlone)
{
    int run = 0, printed = 0;
    for (int n = 1; n <= ReportLast; n++) {
        const ReportRowRec *row = ReportRow(n);
        if (!row || (row->kind != ReportRowKind::Body && row->kind != ReportRowKind::ByLayout)) continue;
        SCOPED_TRACE(n);
        const std::vector<uint8_t> year = Selection(n, {1, 1, 2024}, {31, 12, 2024});
        std::vector<uint8_t> other = Selection(n, {1, 2, 2020}, {28, 2, 2020}, "ZZZ");
        for (uint32_t field : {P::SelText2, P::SelText3}) PutText(other.data(), field, 255, "ZZZ");
        for (uint32_t k = 0; k < 20; k++) PutU16(other.data(), P::Option1 + 2 * k, 1);
        PutText(other.data(), P::ObjectSel, 30, "ZZZ");

        MakeTestJob(year);
        const std::string asTestJob = RunRowText(n, TestJob);
        MakeTestJob(other);
        std::vector<uint8_t> own = year;
        EXPECT_EQ(RunRowText(n, own.data()), asTestJob);
        run++;
        printed += !asTestJob.empty();
    }
    EXPECT_GT(run, 60) << "the table lost its reports: the case proves little";
    EXPECT_GT(printed, 60) << "the reports printed nothing: the case proves little";
}

// The frame's header and columns read the running job: the job's own
// record while its body runs, the test's job after.
TEST_F(ReportOwnJobTest, TheFrameReadsTheRunningJob)
{
    ResetParams();
    std::vector<uint8_t> own(ReportParamsSize, 0);
    PutText(own.data(), P::ObjectType, 5, "X");
    ReportJob job{own.data()};

    ASSERT_TRUE(RunRowBody({ReportRowKind::Body, SeeOnJob, nullptr, nullptr, 0}, job));
    EXPECT_EQ(SeenRunning, own.data());
    EXPECT_EQ(SeenStop, 200);   // the object column of its own record
    EXPECT_EQ(CurrentJobRecord(), TestJob);

    // Outside a run the frame reads the test's job record: no object column.
    See();
    EXPECT_EQ(SeenRunning, TestJob);
    EXPECT_EQ(SeenStop, 130);
}

}  // namespace
