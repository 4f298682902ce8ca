// report_defaults_test.cpp - the default selection of report windows
// (common, by type, the previous month of type 176, the period from the
// settings), the events that apply it, and the queueing of one job per
// code of a selection's object list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/company_variant.h"
#include "core/system.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "recordwin/report_defaults.h"
#include "reports/ledger/ledger_reports.h"
#include "shell/feature_commands.h"
#include "shell/report_commands.h"
#include "tests/recordwin/small_windows_fixture.h"

namespace {

namespace Rp = ReportParamsVc;

class ReportDefaultsTest : public SmallWindowsFixture {
protected:
    void SetUp() override
    {
        SmallWindowsFixture::SetUp();
        if (HasFatalFailure()) return;
        savedToday = TodayDate;
        std::memset(company, 0, sizeof company);
        CompanyVariantBind(company);
        JobQueueReset();
        savedRuns = OutputRunServices;
        FeatureCommands.reportSelectionCheck = CheckReportParameters;   // as the reports install it
        record.assign(ReportParamsSize, 0xAB);
    }
    void TearDown() override
    {
        JobQueueReset();
        OutputRunServices = savedRuns;
        FeatureCommands = FeatureCommandsRec{};
        CompanyVariantBind(nullptr);
        TodayDate = savedToday;
        SmallWindowsFixture::TearDown();
    }
    void Variant(uint16_t v) { PutU16(company, CompanyVariantOffset, v); }
    // The defaults of window `window` opened for report `report`.
    void Defaults(int window, int report)
    {
        PutI16(record.data(), Rp::ReportNumber, int16_t(report));
        ReportSelectionDefaults(record.data(), window);
    }
    uint16_t Ow(int k) const { return GetU16(record.data(), Rp::Option1 + 2 * uint32_t(k)); }
    std::vector<uint16_t> Options() const
    {
        std::vector<uint16_t> out;
        for (int k = 0; k < 20; k++) out.push_back(Ow(k));
        return out;
    }
    // The object codes of the queued jobs, oldest first.
    static std::vector<std::string> Queued()
    {
        std::vector<std::string> out;
        for (int k = 0, s; (s = JobQueueLiveSlot(k)) >= 0; k++) {
            const uint8_t *job = MemLock(JobQueue.slots[size_t(s)]);
            out.push_back(Text(job, Rp::ObjectSel));
            MemUnlock(JobQueue.slots[size_t(s)]);
        }
        return out;
    }

    uint8_t company[CompanyBlk::Size];
    DateRec savedToday{};
    OutputRunServicesRec savedRuns{};
    std::vector<uint8_t> record;
};

// A type without a row of its own gets every common default: the leading
// words and the option words past the twentieth are kept; the period is
// the fiscal year holding today.
TEST_F(ReportDefaultsTest, CommonDefaultsKeepTheLeadingWords)
{
    ReportSelectionDefaults(record.data(), 570);
    const uint8_t *r = record.data();
    EXPECT_EQ(GetU16(r, Rp::ReportNumber), 0xABAB);
    EXPECT_EQ(GetU16(r, Rp::Reopened), 0xABAB);
    EXPECT_EQ(GetU16(r, Rp::ReportLayout), 0);
    for (uint32_t at : std::initializer_list<uint32_t>{Rp::SelText1, Rp::SelText2, Rp::SelText3, Rp::ObjectSel, Rp::SelText4, Rp::SelText6,
                        Rp::SelText7, Rp::SelText8})
        EXPECT_EQ(r[at], 0) << at;
    EXPECT_EQ(GetDate(r, Rp::Date2From).year, 0);
    EXPECT_EQ(GetDate(r, Rp::Date2To).year, 0);
    EXPECT_EQ(GetI32(r, Rp::NumberFrom), -1);
    EXPECT_EQ(GetI32(r, Rp::NumberTo), -1);
    EXPECT_EQ(Options(), std::vector<uint16_t>(20, 0));
    EXPECT_EQ(GetU16(r, Rp::Option21), 0xABAB);
    EXPECT_EQ(GetU16(r, Rp::RangeKind), 1);
    EXPECT_EQ(r[Rp::ObjectType], 0);
    EXPECT_EQ(GetU16(r, Rp::SecondKind), 0);
    EXPECT_EQ(GetU16(r, Rp::AmountUnit), 0);
    EXPECT_EQ(GetU16(r, Rp::DetailLevel), 1);
    EXPECT_EQ(GetI32(r, Rp::Long1104), -1);
    EXPECT_EQ(GetI32(r, Rp::Long1108), -1);
    for (uint32_t at : {Rp::Amount1, Rp::Amount3, Rp::Amount5}) {
        PackedDecimal d = GetDec(r, at);
        EXPECT_TRUE(DecIsBlank(&d)) << at;
    }
    DateRec from = GetDate(r, Rp::DateFrom), to = GetDate(r, Rp::DateTo);
    EXPECT_EQ(from.year, 2024);
    EXPECT_EQ(from.month, 1);
    EXPECT_EQ(to.month, 12);
    EXPECT_NE(Text(r, Rp::PeriodText).find(':'), std::string::npos);

    // Variant 13 shows sums only.
    Variant(13);
    ReportSelectionDefaults(record.data(), 570);
    EXPECT_EQ(GetU16(r, Rp::DetailLevel), 2);
}

// A named period of block 136 comes before the fiscal years.
TEST_F(ReportDefaultsTest, FirstNamedPeriodGivesThePeriod)
{
    AddRow(PeriodsBlk::Number, PeriodsBlk::Rows::Size, [&](uint8_t *row) {
        PutDate(row, PeriodsBlk::Rows::FromDate, DateRec{1, 3, 2024});
        PutDate(row, PeriodsBlk::Rows::ToDate, DateRec{31, 5, 2024});
        PutText(row, PeriodsBlk::Rows::Name, 60, "Spring");
    });
    SettingsBlocksReload();
    ReportSelectionDefaults(record.data(), 570);
    DateRec from = GetDate(record.data(), Rp::DateFrom), to = GetDate(record.data(), Rp::DateTo);
    EXPECT_EQ(from.month, 3);
    EXPECT_EQ(from.day, 1);
    EXPECT_EQ(to.month, 5);
    EXPECT_EQ(to.day, 31);
}

// The sets by window and report: selection word and option words, and the
// rules that follow the company variant.
TEST_F(ReportDefaultsTest, TypeRowsSetTheirWords)
{
    auto ows = [](std::initializer_list<std::pair<int, uint16_t>> set) {
        std::vector<uint16_t> v(20, 0);
        for (auto [k, x] : set) v[size_t(k)] = x;
        return v;
    };
    Defaults(425, 6);
    EXPECT_EQ(Options(), ows({}));
    Defaults(536, 94);
    EXPECT_EQ(Options(), ows({{1, 1}}));
    Defaults(430, 17);
    EXPECT_EQ(Options(), ows({{2, 1}, {3, 1}, {4, 1}, {6, 1}, {7, 1}}));
    Defaults(486, 87);
    EXPECT_EQ(GetU16(record.data(), Rp::ReportLayout), 0);   // the window shows no layout
    EXPECT_EQ(Options(), ows({{11, 1}, {12, 1}, {13, 1}, {14, 1}}));
    Defaults(501, 112);
    EXPECT_EQ(GetU16(record.data(), Rp::ReportLayout), 1);
    EXPECT_EQ(Options(), ows({{0, 5}}));
    Defaults(598, 21);
    EXPECT_EQ(GetU16(record.data(), Rp::ReportLayout), 4);
    // The sales journal lists posted invoices of every kind: its kind
    // boxes stay clear, which takes every kind.
    Defaults(570, 1);
    EXPECT_EQ(Options(), ows({{2, 1}}));
    // The overdue items: overdue, owing customers, their own currency.
    Defaults(519, 18);
    EXPECT_EQ(Options(), ows({{0, 1}, {1, 1}, {4, 1}}));
    // The project list prints what an invoice now would hold.
    Defaults(521, 68);
    EXPECT_EQ(Options(), ows({{3, 1}, {6, 1}}));
    EXPECT_EQ(GetU16(record.data(), Rp::ReportLayout), 0);
    Defaults(580, -11);
    EXPECT_EQ(GetU16(record.data(), Rp::ReportLayout), 1);

    Defaults(448, -8);
    EXPECT_EQ(Options(), ows({{0, 2}, {1, 1}, {2, 1}, {4, 1}}));
    Variant(15);
    Defaults(448, -8);
    EXPECT_EQ(Options(), ows({{1, 1}, {3, 1}, {4, 1}}));

    Defaults(438, -9);
    EXPECT_EQ(GetU16(record.data(), Rp::BatchMode), 0);
    Variant(27);
    Defaults(438, -9);
    EXPECT_EQ(GetU16(record.data(), Rp::BatchMode), 1);
    // The other run of the same window keeps its own set.
    Defaults(438, -10);
    EXPECT_EQ(GetU16(record.data(), Rp::BatchMode), 0);
}

// A window shared by several reports gives each report its own set, or
// the one it has for every report; a report without a set, or a number
// the sets were first drawn up under, gets the common defaults alone.
TEST_F(ReportDefaultsTest, EachReportOfASharedWindowTakesItsOwnSet)
{
    const std::vector<uint16_t> none(20, 0);
    Defaults(441, 35);
    EXPECT_EQ(Ow(1), 1);
    Defaults(441, 30);
    EXPECT_EQ(Options(), none);
    Defaults(435, 28);
    EXPECT_EQ(Options(), (std::vector<uint16_t>{0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    Defaults(435, 92);
    EXPECT_EQ(Ow(0) * 100 + Ow(1) * 10 + Ow(2), 11);
    // No set ticks every box of a group: the order status starts unticked.
    Defaults(488, 54);
    EXPECT_EQ(Options(), none);
    // Every result statement takes the change in %.
    for (int report : {22, 47, 51}) {
        Defaults(402, report);
        EXPECT_EQ(Ow(1), 1) << report;
    }
    // The journal's set is not its number's: 47 is a price formula window.
    Defaults(47, 1);
    EXPECT_EQ(Options(), none);
    Defaults(570, 94);
    EXPECT_EQ(Options(), none);
    EXPECT_EQ(GetU16(record.data(), Rp::ReportLayout), 0);
}

// Type 176 covers the previous calendar month, across the year's start,
// with its interest amount; variant 15 picks the second layout.
TEST_F(ReportDefaultsTest, PreviousMonthOfType176)
{
    struct Case {
        DateRec today, from, to;
    };
    const Case cases[] = {
        {{15, 3, 2024}, {1, 2, 2024}, {29, 2, 2024}},
        {{1, 3, 2023}, {1, 2, 2023}, {28, 2, 2023}},
        {{31, 1, 2024}, {1, 12, 2023}, {31, 12, 2023}},
    };
    for (const Case &c : cases) {
        TodayDate = c.today;
        ReportSelectionDefaults(record.data(), 176);
        DateRec from = GetDate(record.data(), Rp::Date2From), to = GetDate(record.data(), Rp::Date2To);
        EXPECT_EQ(DateCompare(&from, &c.from), 0) << c.today.month << " " << from.day << "." << from.month;
        EXPECT_EQ(DateCompare(&to, &c.to), 0) << c.today.month << " " << to.day << "." << to.month;
    }
    EXPECT_EQ(GetU16(record.data(), Rp::ReportLayout), 0);
    EXPECT_EQ(Ow(1), 1);
    PackedDecimal two = GetDec(record.data(), Rp::Amount1010);
    EXPECT_EQ(DecCompareDouble(&two, 2.0), 0);
    Variant(15);
    ReportSelectionDefaults(record.data(), 176);
    EXPECT_EQ(GetU16(record.data(), Rp::ReportLayout), 2);
}

// One job per code: an empty list once, a single code once, a range for
// every object from its first code to its last; the list is put back.
// A full queue ends the walk with what was queued.
TEST_F(ReportDefaultsTest, OneJobPerCodeOfTheObjectList)
{
    for (const char *code : {"A1", "A2", "B1", "C1"}) StoreObject(code, "");
    uint8_t *job = record.data();
    std::memset(job, 0, ReportParamsSize);
    PutU16(job, Rp::ReportNumber, 7);

    EXPECT_EQ(ReportJobsPerCode(job), 1);
    EXPECT_EQ(Queued(), (std::vector<std::string>{""}));
    JobQueueReset();

    PutText(job, Rp::ObjectSel, 30, "A2:C1 X9");
    EXPECT_EQ(ReportJobsPerCode(job), 4);
    EXPECT_EQ(Queued(), (std::vector<std::string>{"A2", "B1", "C1", "X9"}));
    EXPECT_EQ(Text(job, Rp::ObjectSel), "A2:C1 X9");
    JobQueueReset();

    // A range that no object falls in queues nothing, and says so.
    PutText(job, Rp::ObjectSel, 30, "D:E");
    shown.clear();
    EXPECT_EQ(ReportJobsPerCode(job), 0);
    EXPECT_TRUE(Queued().empty());
    EXPECT_TRUE(WasShown(19640));
    EXPECT_EQ(Text(job, Rp::ObjectSel), "D:E");
    // A list that queued something says nothing of its empty range.
    PutText(job, Rp::ObjectSel, 30, "D:E A1");
    shown.clear();
    EXPECT_EQ(ReportJobsPerCode(job), 1);
    EXPECT_FALSE(WasShown(19640));
    JobQueueReset();

    // A full queue ends the walk with what was queued: the queue told why,
    // the list is put back whole.
    for (int i = 0; i < 28; i++) ASSERT_TRUE(JobQueuePush(job, 1));
    PutText(job, Rp::ObjectSel, 30, "A1:C1");
    shown.clear();
    EXPECT_EQ(ReportJobsPerCode(job), 2);
    EXPECT_EQ(JobQueueCount(), 30);
    EXPECT_TRUE(WasShown(1509));
    EXPECT_FALSE(WasShown(19640));
    EXPECT_EQ(Text(job, Rp::ObjectSel), "A1:C1");
}

// Event 14 gives a report window its defaults and leaves a record window
// (too small to be a selection) alone; event 28 queues one job per code
// for the windows of the general ledger and the statements and lets
// other windows' OK queue the job.
TEST_F(ReportDefaultsTest, OpenedAndQueueEventsOfReportWindows)
{
    int w = OpenNew(401);
    ASSERT_GT(w, 0);
    PutI32(Rec(w), Rp::NumberFrom, 5);
    PutText(Rec(w), Rp::ObjectSel, 30, "junk");
    EXPECT_EQ(WindowEvent(w, 14, nullptr, nullptr), 1);
    EXPECT_EQ(GetI32(Rec(w), Rp::NumberFrom), -1);
    EXPECT_EQ(Text(Rec(w), Rp::ObjectSel), "");
    EXPECT_EQ(GetDate(Rec(w), Rp::DateFrom).year, 2024);
    // A window that does not show the period runs over an open one.
    int due = OpenNew(572);
    ASSERT_GT(due, 0);
    EXPECT_EQ(WindowEvent(due, 14, nullptr, nullptr), 1);
    EXPECT_EQ(GetI32(Rec(due), Rp::NumberFrom), -1);
    EXPECT_EQ(GetDate(Rec(due), Rp::DateFrom).year, 0);
    EXPECT_EQ(GetDate(Rec(due), Rp::DateTo).year, 0);
    EXPECT_EQ(Rec(due)[Rp::PeriodText], 0);
    // The settings export's register boxes start unticked.
    int settings = OpenNew(584);
    ASSERT_GT(settings, 0);
    EXPECT_EQ(WindowEvent(settings, 14, nullptr, nullptr), 1);
    for (int k = 0; k < 20; k++) EXPECT_EQ(GetU16(Rec(settings), Rp::Option1 + 2 * uint32_t(k)), 0) << k;

    int other = OpenNew(197);
    ASSERT_GT(other, 0);
    std::vector<uint8_t> before(Rec(other), Rec(other) + PUVc::Size);
    EXPECT_EQ(WindowEvent(other, 14, nullptr, nullptr), 1);
    EXPECT_EQ(std::vector<uint8_t>(Rec(other), Rec(other) + PUVc::Size), before);

    for (const char *code : {"A1", "A2", "B1"}) StoreObject(code, "");
    OwnedJob own;
    ReportJob &job = own.job;
    PutText(job.selection, Rp::ObjectSel, 30, "A1:A2");
    EXPECT_EQ(WindowEvent(w, 28, job.selection, nullptr), 0);
    EXPECT_EQ(Queued(), (std::vector<std::string>{"A1", "A2"}));
    EXPECT_EQ(WindowEvent(other, 28, job.selection, nullptr), 1);
    EXPECT_EQ(JobQueueCount(), 2);
    // The result statement and the general ledger queue per code too; a
    // report that reads no object list (the sales journal) does not.
    for (int type : {402, 425}) {
        int sel = OpenNew(type);
        ASSERT_GT(sel, 0);
        PutText(job.selection, Rp::ObjectSel, 30, "B1 A1:A2");
        EXPECT_EQ(WindowEvent(sel, 28, job.selection, nullptr), 0) << type;
    }
    EXPECT_EQ(Queued(), (std::vector<std::string>{"A1", "A2", "B1", "A1", "A2", "B1", "A1", "A2"}));
    EXPECT_EQ(WindowEvent(due, 28, job.selection, nullptr), 1);
    int journal = OpenNew(570);
    ASSERT_GT(journal, 0);
    EXPECT_EQ(WindowEvent(journal, 28, job.selection, nullptr), 1);
    EXPECT_EQ(JobQueueCount(), 8);
}

// OK on the job queue in the general ledger's window saves one job per
// object of its list and closes the window; the sales journal's saves
// its one job with the list as typed.
TEST_F(ReportDefaultsTest, OkOnTheJobQueueSavesAJobPerObject)
{
    for (const char *code : {"A1", "A2", "B1"}) StoreObject(code, "");
    struct Case {
        int window, report;
        std::vector<std::string> jobs;
    };
    const Case cases[] = {{425, 6, {"A1", "A2", "B1"}}, {570, 1, {"A1:A2 B1"}}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.window);
        JobQueueReset();
        int w = OpenNew(c.window);
        ASSERT_GT(w, 0);
        PutI16(Rec(w), Rp::ReportNumber, int16_t(c.report));
        EXPECT_EQ(WindowEvent(w, 14, nullptr, nullptr), 1);
        PutU16(Rec(w), Rp::OutputKind, 7);
        PutText(Rec(w), Rp::ObjectSel, 30, "A1:A2 B1");
        ReportWindowOk(w);
        EXPECT_FALSE(WinIsOpen(w) && WinTypeOf(w) == c.window);
        EXPECT_EQ(Queued(), c.jobs);
    }
    // A list that names no object queues nothing: the user is told, and
    // the window stays open with the list as typed, to be mended.
    JobQueueReset();
    int w = OpenNew(425);
    ASSERT_GT(w, 0);
    PutI16(Rec(w), Rp::ReportNumber, 6);
    EXPECT_EQ(WindowEvent(w, 14, nullptr, nullptr), 1);
    PutU16(Rec(w), Rp::OutputKind, 7);
    PutText(Rec(w), Rp::ObjectSel, 30, "D:E");
    shown.clear();
    ReportWindowOk(w);
    EXPECT_TRUE(WasShown(19640));
    ASSERT_TRUE(WinIsOpen(w) && WinTypeOf(w) == 425);
    EXPECT_EQ(Text(Rec(w), Rp::ObjectSel), "D:E");
    EXPECT_TRUE(Queued().empty());
}

// A report printed for a record (File > Print in the purchase invoice)
// runs for that record alone: the current period is not proposed.
TEST_F(ReportDefaultsTest, RecordReportRunsWithoutAProposedPeriod)
{
    static std::vector<uint8_t> ran;
    ran.clear();
    OutputRunServices.runReportCommand = [](ReportJob &job) {
        ran.assign(job.selection, job.selection + ReportParamsSize);
        return true;
    };
    int w = OpenNew(155);
    ASSERT_GT(w, 0);
    PutI32(Rec(w), VIVc::SerNr, 31);
    EXPECT_EQ(WindowEvent(w, 8, nullptr, nullptr), 1);
    ASSERT_EQ(ran.size(), size_t(ReportParamsSize));
    EXPECT_EQ(GetU16(ran.data(), Rp::ReportNumber), 36);
    EXPECT_EQ(Text(ran.data(), Rp::SelText1), "31");
    EXPECT_EQ(GetDate(ran.data(), Rp::DateFrom).year, 0);
    EXPECT_EQ(GetDate(ran.data(), Rp::DateTo).year, 0);
    EXPECT_EQ(ran[Rp::PeriodText], 0);
    // The common defaults alone would propose the fiscal year.
    ReportSelectionDefaults(record.data(), 0);
    EXPECT_EQ(GetDate(record.data(), Rp::DateTo).year, 2024);
}

}  // namespace
