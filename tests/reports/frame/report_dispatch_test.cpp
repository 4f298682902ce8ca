// Tests of the report run: the thousands flag by device, a refused check
// running nothing, each row kind of the table, the printer's page set-up,
// the road to the server, and the column stops.
#include <gtest/gtest.h>

#include <vector>

#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "reports/frame/report_frame.h"
#include "reports/stock/stock_reports.h"
#include "shell/page_setup.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;

std::vector<int> Ran;          // what the doubles saw: the flag, or the argument
int DoubleLayout = -1;         // which of two bodies ran

void FlagBody(ReportJob &) { Ran.push_back(ThousandsFlag); }
void ArgBody(ReportJob &, int arg) { Ran.push_back(arg); }
void FirstBody(ReportJob &) { DoubleLayout = 0; }
void SecondBody(ReportJob &) { DoubleLayout = 1; }
// A body that takes its job: what it was handed.
const uint8_t *HandedRecord = nullptr;
void JobBody(ReportJob &job) {
    HandedRecord = job.selection;
    Ran.push_back(int16_t(GetU16(job.selection, P::ReportNumber)));
}
// A day's-journals member: the number and option 3 of the record it was
// handed, and whether that is the running record; it writes option 2.
bool HandedIsRunning = false;
void MemberBody(ReportJob &job) {
    HandedRecord = job.selection;
    HandedIsRunning = CurrentJobRecord() == job.selection;
    Ran.push_back(int16_t(GetU16(job.selection, P::ReportNumber)) * 10 + GetU16(job.selection, P::Option3));
    PutU16(job.selection, P::Option2, 7);
}

std::vector<uint16_t> SentCodes;
bool NoAnswer(uint16_t code, MsgBuffer *, MsgBuffer *) { SentCodes.push_back(code); return false; }

class ReportDispatchTest : public ReportFixture {
protected:
    ReportRowRec saved[ReportCount];
    uint8_t wasOpen = 0;
    void SetUp() override {
        ReportFixture::SetUp();
        std::copy(ReportTable(), ReportTable() + ReportCount, saved);
        Ran.clear();
        DoubleLayout = -1;
        shown.clear();
        wasOpen = DbOpenFlag;
    }
    void TearDown() override {
        DbOpenFlag = wasOpen;
        std::copy(saved, saved + ReportCount, ReportTable());
        MemFree(&ReceivedPageSetup);
        MemFree(&PageSetupHandle);
        ReportFixture::TearDown();
    }
    static void Swap(int number, ReportRowRec row) { ReportTable()[number - ReportFirst] = row; }
    // Runs report number to device kind with a whole-year period.
    static void Run(int number, uint16_t kind) {
        ResetParams();
        SetWord(P::ReportNumber, uint16_t(number));
        SetWord(P::OutputKind, kind);
        SetPeriod(DateRec{1, 1, 2024}, DateRec{31, 12, 2024});
        RunJob();
    }
};

// Amounts are grouped on the devices a person reads, only while the body runs.
TEST_F(ReportDispatchTest, ThousandsFlagByDevice)
{
    Swap(1, {ReportRowKind::Body, FlagBody, nullptr, nullptr, 0});
    const struct { uint16_t kind; int flag; } cases[] = {{1, 1}, {6, 1}, {10, 1}, {2, 0}, {12, 0}, {5, 0}};
    for (auto c : cases) {
        Ran.clear();
        ThousandsFlag = 1;
        Run(1, c.kind);
        ASSERT_EQ(Ran.size(), 1u) << c.kind;
        EXPECT_EQ(Ran[0], c.flag) << c.kind;
        EXPECT_EQ(ThousandsFlag, 0) << c.kind;
    }
}

// A refused check runs no body, leaves the flag clear and tells once;
// Esc left from an earlier run does not reach the next.
TEST_F(ReportDispatchTest, RefusedCheckRunsNothing)
{
    Swap(25, {ReportRowKind::Body, FlagBody, nullptr, nullptr, 0});
    CancelFlag = 1;
    Run(25, 6);
    EXPECT_TRUE(Ran.empty());
    EXPECT_EQ(ThousandsFlag, 0);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_TRUE(WasShown(1048));
    EXPECT_EQ(CancelFlag, 0);
}

// The run hands a body the job record it runs.
TEST_F(ReportDispatchTest, BodiesTakeTheirJob)
{
    Swap(1, {ReportRowKind::Body, JobBody, nullptr, nullptr, 0});
    Run(1, 2);
    EXPECT_EQ(Ran, std::vector<int>{1});
    EXPECT_EQ(HandedRecord, TestJob);
}

// The day's journals run each asked-for member over a copy of the batch's
// record with the member's number and options: what a member writes stays
// in its copy, and neither the batch's record nor the test's job changes.
TEST_F(ReportDispatchTest, DayJournalMembersRunOnTheirOwnCopies)
{
    Swap(1, {ReportRowKind::Body, MemberBody, nullptr, nullptr, 0});
    Swap(13, {ReportRowKind::Body, MemberBody, nullptr, nullptr, 0});
    ResetParams();
    SetWord(P::OutputKind, OutNone);
    const std::vector<uint8_t> testJobBefore(TestJob, TestJob + ReportParamsSize);
    std::vector<uint8_t> batch(ReportParamsSize, 0);
    PutU16(batch.data(), P::ReportNumber, 87);
    PutU16(batch.data(), P::OutputKind, OutNone);
    PutU16(batch.data(), P::Option12, 1);   // the sales journal
    PutU16(batch.data(), P::Option13, 1);   // the customer payments
    const std::vector<uint8_t> before = batch;
    ReportJob job{batch.data()};
    Report87Batch(job);
    EXPECT_EQ(Ran, (std::vector<int>{11, 131}));   // each its number, option 3 set for it
    EXPECT_TRUE(HandedIsRunning) << "the member's header would read another record";
    EXPECT_NE(HandedRecord, batch.data());
    EXPECT_NE(HandedRecord, TestJob);
    EXPECT_EQ(batch, before);
    EXPECT_EQ(std::vector<uint8_t>(TestJob, TestJob + ReportParamsSize), testJobBefore);
}

// Each kind of row: arguments kept, report 9 by layout (a layout without
// its body told), a number without a body or outside the table silent.
TEST_F(ReportDispatchTest, RowKinds)
{
    for (int n : {-18, -17, -16}) Swap(n, {ReportRowKind::Body, nullptr, nullptr, ArgBody, int16_t(n)});
    for (int n : {-18, -17, -16}) Run(n, 2);
    EXPECT_EQ(Ran, (std::vector<int>{-18, -17, -16}));
    const struct { int n; int16_t arg; } later[] = {{10, 0}, {11, 2}, {12, 3}, {77, 2}};
    for (auto c : later) EXPECT_EQ(ReportRow(c.n)->arg, c.arg) << c.n;

    Swap(9, {ReportRowKind::ByLayout, FirstBody, SecondBody, nullptr, 0});
    Run(9, 2);
    EXPECT_EQ(DoubleLayout, 0);
    ResetParams();
    SetWord(P::ReportNumber, 9);
    SetWord(P::ReportLayout, 1);
    RunJob();
    EXPECT_EQ(DoubleLayout, 1);

    shown.clear();
    Swap(9, {ReportRowKind::ByLayout, FirstBody, nullptr, nullptr, 0});
    ResetParams();
    SetWord(P::ReportNumber, 9);
    SetWord(P::ReportLayout, 1);
    RunJob();
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_TRUE(WasShown(9920));
    EXPECT_EQ(DoubleLayout, 1);   // the first layout's body did not run in its place
    shown.clear();
    ASSERT_EQ(ReportRow(2)->kind, ReportRowKind::None);
    for (int n : {2, -30, 117, 32000}) Run(n, 2);
    EXPECT_TRUE(shown.empty());
}

// A set-up stored for the report's window reaches the printer; none
// stored leaves the printer's defaults.
TEST_F(ReportDispatchTest, PageSetupOfTheWindowReachesThePrinter)
{
    constexpr int Window = 570;
    Swap(1, {ReportRowKind::Body, FlagBody, nullptr, nullptr, 0});
    Run(1, 1);
    EXPECT_EQ(ReceivedPageSetup, 0u);
    std::vector<uint8_t> bytes = DlgPrintSetupToBytes(PlPrintSetup{PlPaper::A4, true});
    MemBlock device = MemAlloc(uint32_t(bytes.size()));
    ASSERT_NE(device, 0u);
    std::memcpy(MemLock(device), bytes.data(), bytes.size());
    MemUnlock(device);
    DbOpenFlag = 1;   // the set-up register is the open company's
    bool stored = PageSetupStore(Window, PageSetupDialogFlag, &device);
    MemFree(&device);
    ASSERT_TRUE(stored) << (shown.empty() ? "" : shown.back());
    ResetParams();
    SetWord(P::ReportNumber, 1);
    SetWord(P::OutputKind, 1);
    SetWord(P::SelWinType, Window);
    RunJob();
    PlPrintSetup got;
    ASSERT_TRUE(PageSetupFromHandle(ReceivedPageSetup, &got));
    EXPECT_TRUE(got.landscape);
    MemFree(&ReceivedPageSetup);
    SetWord(P::OutputKind, 6);   // the preview takes no set-up
    RunJob();
    EXPECT_EQ(ReceivedPageSetup, 0u);
}

// A client sends the job to the server: a document batch for a negative
// number, a report otherwise; nothing runs here.
TEST_F(ReportDispatchTest, ClientSendsTheJob)
{
    Swap(1, {ReportRowKind::Body, FlagBody, nullptr, nullptr, 0});
    TransportInstall(NoAnswer, NoAnswer);
    RunMode = RunModeClient;
    SentCodes.clear();
    for (int n : {-16, 1}) {
        ResetParams();
        SetWord(P::ReportNumber, uint16_t(n));
        ReportJob job = Job();
        RunReportWhere(job);
    }
    RunMode = 0;
    TransportInstall(nullptr, nullptr);
    EXPECT_EQ(SentCodes, (std::vector<uint16_t>{ReqDocumentRun, ReqReportRun}));
    EXPECT_TRUE(Ran.empty());
}

// The report command: a cancelled save dialog runs nothing; a chosen
// file runs the report.
TEST_F(ReportDispatchTest, ReportCommandOpensTheFileFirst)
{
    Swap(1, {ReportRowKind::Body, FlagBody, nullptr, nullptr, 0});
    ResetParams();
    SetWord(P::ReportNumber, 1);
    SetWord(P::OutputKind, OutTextFile);
    ScriptAnswerFile("");
    ReportJob job = Job();
    EXPECT_FALSE(ReportRunCommand(job));
    EXPECT_TRUE(Ran.empty());
    ScriptAnswerFile(outPath);
    EXPECT_TRUE(ReportRunCommand(job));
    EXPECT_EQ(Ran.size(), 1u);
}

// Column stops: report 6's object column, report 61's columns 46 apart,
// and a number without a row leaving stops 2..9 as they were.
TEST_F(ReportDispatchTest, ColumnStops)
{
    PositionTable s;
    ResetParams();
    SetWord(P::Option7, 1);
    ReportColumnLayout(6, &s, 0);
    EXPECT_EQ(s[6], 190);
    SetText(P::ObjectType, "X");
    ReportColumnLayout(6, &s, 0);
    EXPECT_EQ(s[6], 200);
    EXPECT_EQ(s[8], 412);
    EXPECT_EQ(s[9], 220);
    ReportColumnLayout(61, &s, 960);
    EXPECT_EQ(std::vector<int>(s.begin() + 2, s.begin() + 10), (std::vector<int>{50, 266, 312, 358, 404, 450, 220, 174}));
    EXPECT_EQ(s[10], 960);
    for (int n : {200, -1, 2}) {
        for (int i = 0; i < 11; i++) s[i] = 7;
        ReportColumnLayout(n, &s, 0);
        EXPECT_EQ(s[0], 0);
        EXPECT_EQ(s[1], 480);
        EXPECT_EQ(s[10], 480);
        for (int i = 2; i < 10; i++) EXPECT_EQ(s[i], 7) << n << " stop " << i;
    }
}

}  // namespace

namespace {

// A job record received from a client: one of another size is refused
// with a message; a whole one runs as a job of its own. Neither touches
// the job record of this program.
TEST_F(ReportDispatchTest, ReceivedJobOfTheWrongSizeIsRefused)
{
    Swap(1, {ReportRowKind::Body, FlagBody, nullptr, nullptr, 0});
    ResetParams();
    SetWord(P::ReportNumber, 77);
    const std::vector<uint8_t> before(TestJob, TestJob + ReportParamsSize);
    std::vector<uint8_t> job(ReportParamsSize, 0);
    PutU16(job.data(), P::ReportNumber, 1);
    PutU16(job.data(), P::OutputKind, 2);
    for (uint32_t size : {0u, 1u, ReportParamsSize - 1, ReportParamsSize + 1}) {
        shown.clear();
        std::vector<uint8_t> sent = job;
        sent.resize(size);
        EXPECT_FALSE(ReportJobRun(sent.data(), size)) << size;
        EXPECT_TRUE(WasShown(10418)) << size;
        EXPECT_EQ(std::vector<uint8_t>(TestJob, TestJob + ReportParamsSize), before) << size;
    }
    EXPECT_FALSE(ReportJobRun(nullptr, ReportParamsSize));
    EXPECT_TRUE(Ran.empty());
    EXPECT_TRUE(ReportJobRun(job.data(), ReportParamsSize));
    EXPECT_EQ(Ran, std::vector<int>{0});
    EXPECT_EQ(std::vector<uint8_t>(TestJob, TestJob + ReportParamsSize), before);
}

}  // namespace
