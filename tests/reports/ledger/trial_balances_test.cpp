// trial_balances_test.cpp - reports 20 (balances with class subtotals)
// and 61 (six columns) over the ledger of the fixture as goldens: the
// year, March alone (result accounts from the year's start), a second
// period before the from-date, the sums only, the preview's columns, and
// a range that takes nothing.
#include <algorithm>
#include <vector>

#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/ledger/ledger_report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class TrialBalancesTest : public LedgerReportFixture {};

TEST_F(TrialBalancesTest, AccountBalanceGoldens) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    const struct {
        const char *golden;
        DateRec from, to;
        const char *accounts, *objects;
        uint16_t second, ranges;
    } runs[] = {
        {"balances20_year", {1, 1, 2024}, {31, 12, 2024}, "", "", 1, 1},
        {"balances20_march", {1, 3, 2024}, {31, 3, 2024}, "", "", 0, 0},
        {"balances20_object_d1", {1, 1, 2024}, {31, 12, 2024}, "3000:4999", "D1", 1, 0},
        {"balances20_nothing", {1, 1, 2024}, {31, 12, 2024}, "8000:8999", "", 0, 0},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        Select(20, r.from, r.to);
        SetText(P::SelText7, r.accounts);
        SetText(P::ObjectSel, r.objects);
        SetWord(P::SecondKind, r.second);
        SetWord(P::Option5, r.ranges);
        ExpectLedgerGolden(r.golden, RunText(AccountBalanceReport));
    }
}

// Report 20 leaves out the accounts whose amounts are all zero (1460
// before its opening balance, the idle sales accounts), and March opens
// the result account 3010 with January's -800.
TEST_F(TrialBalancesTest, AccountBalanceLeavesOutZeroAccounts) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    Select(20, {1, 3, 2024}, {31, 3, 2024});
    const std::string text = RunText(AccountBalanceReport);
    EXPECT_EQ(text.find("3011"), std::string::npos);
    EXPECT_EQ(text.find("2640"), std::string::npos);
    EXPECT_NE(text.find("3010\tSales\t-800,00\t-600,00\t-1400,00"), std::string::npos) << text;
}

TEST_F(TrialBalancesTest, SixColumnGoldens) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    const struct {
        const char *golden;
        DateRec from, to, second;
        uint16_t sumsOnly, groups, ranges;
    } runs[] = {
        {"trial61_year", {1, 1, 2024}, {31, 12, 2024}, {}, 0, 1, 1},
        {"trial61_from_march_5", {5, 3, 2024}, {31, 3, 2024}, {1, 2, 2024}, 0, 0, 0},
        {"trial61_sums_only", {1, 1, 2024}, {31, 3, 2024}, {}, 1, 1, 0},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        Select(61, r.from, r.to);
        PutDate(TestJob, P::Date2From, r.second);
        SetWord(P::Option2, r.sumsOnly);
        SetWord(P::Option9, r.groups);
        SetWord(P::Option5, r.ranges);
        ExpectLedgerGolden(r.golden, RunText(LedgerReport61));
    }
}

// A voucher dated on the from-date is in the period pair and the closing
// pair, not the opening; the preview shows the period pair alone.
TEST_F(TrialBalancesTest, SixColumnsOnTheFromDateAndThePreview) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    const RepDevice *saved = RepDeviceInstall(OutPreview, &RecorderDevice);
    Select(61, {5, 3, 2024}, {5, 3, 2024});
    SetText(P::SelText7, "3010:3010");
    SetWord(P::OutputKind, OutPreview);
    ThousandsFlag = 1;   // as a run to the preview has it
    RecLog.clear();
    ReportJob job{TestJob};
    LedgerReport61(job);
    RepDeviceInstall(OutPreview, saved);
    ThousandsFlag = 0;
    std::vector<std::string> lines;
    for (const RecCall &c : RecLog) {
        if (c.name == "line") lines.emplace_back();
        else if (c.name == "text" && !lines.empty()) lines.back() += c.text + "|";
    }
    // Opening -800 (January) is neither shown nor in the period; March 5th's
    // -400 is the period credit; the balance is a signed -1 200.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "3010|Sales|0,00|400,00|-1 200,00|"), lines.end())
        << ::testing::PrintToString(lines);
    for (const std::string &l : lines) EXPECT_EQ(l.find(UiText(3468)), std::string::npos);
}

// The trial balances take their job: over a job record other than the
// test's one they select by the job's range, print as the same run on the
// test's job record does, and the account range they split goes back into
// the job, while the test's job record is left as it was.
TEST_F(TrialBalancesTest, BodiesReadAndWriteTheirJob) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    static ReportJob *running;
    static ReportBody body;
    for (int report : {20, 61}) {
        SCOPED_TRACE(report);
        body = report == 20 ? AccountBalanceReport : LedgerReport61;
        Select(report, {1, 3, 2024}, {31, 3, 2024});
        SetText(P::SelText7, "3010:3010");
        const std::string onTestJob = RunText(body);
        ASSERT_NE(onTestJob.find("3010\tSales"), std::string::npos) << onTestJob;

        Select(report, {1, 3, 2024}, {31, 3, 2024});
        SetWord(P::OutputKind, OutTextFile);
        std::vector<uint8_t> own(TestJob, TestJob + ReportParamsSize);
        PutText(own.data(), P::SelText7, 21, "3010:3010");
        ReportJob job{own.data()};
        running = &job;
        const std::string onJob = RunText([] { body(*running); });
        EXPECT_EQ(onJob, onTestJob);
        EXPECT_EQ(onJob.find("1910"), std::string::npos) << onJob;

        PString first, last;
        GetTextPrefix(own.data(), P::SelText5, 10, first);
        GetTextPrefix(own.data(), P::SelText6, 10, last);
        EXPECT_EQ(PStringToStd(first), "3010");
        EXPECT_EQ(PStringToStd(last), "3010");
        EXPECT_EQ(TestJob[P::SelText5], 0) << "the test's job record is not the job's";
        EXPECT_EQ(TestJob[P::SelText7], 0);
    }
}

}  // namespace
