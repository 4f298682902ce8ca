// print_event_test.cpp - File > Print on record and list windows (event
// 8): every type of the print table reaches its form, approve kind or
// report, with the record or the marked records it should; the sales
// invoice prints unchanged through its approve kind and under change
// from the window's copy with its posted flag restored.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/output_job.h"
#include "recordwin/record_windows.h"
#include "tests/output/test_job.h"
#include "tests/shell/shell_fixture.h"

namespace {

namespace Rp = ReportParamsVc;

// What the doubles saw, in order: "form reg doc", "approve reg kind ids",
// "report n".
std::vector<std::string> Calls;
std::vector<uint8_t> LastJob;   // the job record of the last report run
// The invoice's posted flag when its form printed.
int PostedAtPrint = -1;

int FormDouble(int reg, int16_t doc, uint8_t *record)
{
    Calls.push_back("form " + std::to_string(reg) + " " + std::to_string(doc));
    if (reg == IVVc::Number) PostedAtPrint = GetU16(record, IVVc::Posted);
    return 1;
}
bool ApproveDouble(int reg, uint16_t kind, const uint32_t *ids, uint32_t count)
{
    std::string s = "approve " + std::to_string(reg) + " " + std::to_string(kind);
    for (uint32_t i = 0; i < count; i++) s += " " + std::to_string(ids[i]);
    Calls.push_back(s);
    return true;
}

class PrintEventTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        if (HasFatalFailure()) return;
        if (!LoggedInUser) {
            ASSERT_TRUE(AllocWorkBlocks());
        }
        saved = PrintEventCalls;
        savedRuns = OutputRunServices;
        PrintEventCalls = {FormDouble, ApproveDouble};
        OutputRunServices.runReportCommand = [](ReportJob &job) {
            Calls.push_back("report " + std::to_string(GetU16(job.selection, Rp::ReportNumber)));
            LastJob.assign(job.selection, job.selection + ReportParamsSize);
            return true;
        };
        Calls.clear();
        PostedAtPrint = -1;
        record.assign(ReportParamsSize, 0);
    }
    void TearDown() override
    {
        PrintEventCalls = saved;
        OutputRunServices = savedRuns;
        for (MemBlock &h : marks) MemFree(&h);
        ShellFixture::TearDown();
    }
    // A window of the type showing `record`, with the given ids marked.
    int Window(int type, std::vector<int32_t> marked = {})
    {
        int n = WinSlotAlloc();
        EXPECT_NE(n, WinTableFull);
        WinTable[n]->windowType = uint16_t(type);
        WinTable[n]->record = record.data();
        if (!marked.empty()) {
            MemBlock h = MemAlloc(uint32_t(marked.size() * sizeof(int32_t)));
            std::memcpy(MemLock(h), marked.data(), marked.size() * sizeof(int32_t));
            MemUnlock(h);
            WinTable[n]->markedIds = h;
        }
        return n;
    }
    std::string PrintOnce(int type, std::vector<int32_t> marked = {})
    {
        Calls.clear();
        int n = Window(type, marked);
        EXPECT_EQ(WindowEvent(n, 8, nullptr, nullptr), 1);
        if (WinTable[n]) marks.push_back(WinTable[n]->markedIds);
        WinTable[n]->markedIds = 0;
        WinTable[n]->windowType = 0;
        EXPECT_LE(Calls.size(), 1u) << type;
        return Calls.empty() ? "" : Calls[0];
    }

    PrintEventCallsRec saved{};
    OutputRunServicesRec savedRuns{};
    std::vector<uint8_t> record;
    std::vector<MemBlock> marks;
};

TEST_F(PrintEventTest, EveryTypeReachesItsFormKindOrReport)
{
    struct Case {
        int type;
        std::string want;
    };
    const Case forms[] = {
        {117, "form 11 25"}, {122, "form 77 -28"}, {197, "form 4 -22"},  {268, "form 54 -29"},
        {272, "form 55 -14"}, {290, "form 58 -19"}, {352, "form 7 -6"},   {426, "form 92 -20"},
    };
    for (const Case &c : forms) EXPECT_EQ(PrintOnce(c.type), c.want) << c.type;
    const Case approves[] = {
        {118, "approve 11 12 4 9"}, {121, "approve 77 8 4 9"}, {156, "approve 30 7 4 9"},
        {196, "approve 4 48 4 9"},  {269, "approve 54 46 4 9"}, {273, "approve 55 25 4 9"},
        {289, "approve 58 33 4 9"}, {348, "approve 5 11 4 9"},  {351, "approve 7 13 4 9"},
        {353, "approve 8 14 4 9"},
    };
    for (const Case &c : approves) EXPECT_EQ(PrintOnce(c.type, {4, 9}), c.want) << c.type;
    // Nothing marked: nothing approved.
    EXPECT_EQ(PrintOnce(348), "");
    // A type without a row prints nothing.
    for (int type : {0x7FFF, 100, 570}) EXPECT_EQ(PrintOnce(type), "") << type;
}

TEST_F(PrintEventTest, DeliveryFormFollowsItsShippedWord)
{
    EXPECT_EQ(PrintOnce(354), "form 8 -7");
    PutU16(record.data(), SHVc::Shipped, 1);
    EXPECT_EQ(PrintOnce(354), "form 8 -3");
}

// The receipt, purchase invoice and payment run their reports for the
// record's number and, where they have one, its date; the selection left
// by an earlier job is not carried over.
TEST_F(PrintEventTest, ReportsTakeTheRecordsNumberAndDate)
{
    PutI32(TestJob, Rp::NumberFrom, 77);
    PutText(TestJob, Rp::SelText2, reinterpret_cast<const uint8_t *>("\x03old"));
    PutI32(record.data(), IPVc::SerNr, 1234);
    PutDate(record.data(), IPVc::TransDate, DateRec{5, 6, 2024});
    EXPECT_EQ(PrintOnce(41), "report 13");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(LastJob.data() + Rp::SelText1 + 1), LastJob[Rp::SelText1]),
              "1234");
    EXPECT_EQ(GetDate(LastJob.data(), Rp::DateFrom).day, 5);
    EXPECT_EQ(GetDate(LastJob.data(), Rp::DateTo).month, 6);
    EXPECT_EQ(GetU16(LastJob.data(), Rp::Option1), 0);
    EXPECT_EQ(GetU16(LastJob.data(), Rp::Option2), 1);
    EXPECT_EQ(GetU16(LastJob.data(), Rp::Option3), 1);
    EXPECT_EQ(GetI32(LastJob.data(), Rp::NumberFrom), -1);
    EXPECT_EQ(LastJob[Rp::SelText2], 0);

    std::fill(record.begin(), record.end(), 0);
    PutI32(record.data(), OPVc::SerNr, 8);
    PutDate(record.data(), OPVc::PayDate, DateRec{9, 10, 2024});
    EXPECT_EQ(PrintOnce(157), "report 28");
    EXPECT_EQ(GetU16(LastJob.data(), Rp::Option1), 1);
    EXPECT_EQ(GetDate(LastJob.data(), Rp::DateTo).day, 9);

    PutI32(record.data(), VIVc::SerNr, 55);
    EXPECT_EQ(PrintOnce(155), "report 36");
    EXPECT_EQ(LastJob[Rp::SelText1 + 1], '5');
}

// Shown as stored, the invoice is printed by approve kind 11 on its own
// id; under change the window's copy prints as a draft and keeps its
// posted flag; a new one never stored is refused with a word.
TEST_F(PrintEventTest, SalesInvoiceByItsEditState)
{
    int n = Window(347);
    WinTable[n]->recordId = 42;
    PutU16(record.data(), IVVc::Posted, 1);
    Calls.clear();
    WindowEvent(n, 8, nullptr, nullptr);
    EXPECT_EQ(Calls, (std::vector<std::string>{"approve 5 11 42"}));

    WinTable[n]->editState = 2;
    Calls.clear();
    WindowEvent(n, 8, nullptr, nullptr);
    EXPECT_EQ(Calls, (std::vector<std::string>{"form 5 -2"}));
    EXPECT_EQ(PostedAtPrint, 0);
    EXPECT_EQ(GetU16(record.data(), IVVc::Posted), 1);

    WinTable[n]->editState = 1;
    WinTable[n]->recordId = 0;
    Calls.clear();
    MessagesShown.clear();
    WindowEvent(n, 8, nullptr, nullptr);
    EXPECT_TRUE(Calls.empty());
    EXPECT_TRUE(Said(TextOf(Texts::InvoicePrintUnstored)));
    WinTable[n]->windowType = 0;
}

}  // namespace
