// batch_routines_test.cpp - the batch routines by number: numbers without
// a routine change nothing; routine 8 approves the unposted invoices of a
// serial range in serial order; routine 10 validates stored posted
// documents as if they were posted now, leaves those whose voucher the
// ledger holds, and stops at a refusal; routine 11 sets cost
// prices from the FIFO value and leaves items without stock alone; a
// client's request 30 runs the same routine at the server.
#include <cstring>
#include <string>
#include <vector>

#include "core/msg_buffer.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "net/net.h"
#include "operations/batch_routines.h"
#include "output/output_job.h"
#include "output/job_queue.h"
#include "rules/hooks.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/operations/stock_docs_fixture.h"

namespace {

// The job the routines run.
uint8_t Selection[ReportParamsSize];
ReportJob SelectionJob{Selection};
ReportJob Job{Selection};

// Fills the job for routine `number` over the range text.
void Select(uint16_t number, const char *range, uint16_t reg = 0)
{
    std::memset(Selection, 0, ReportParamsSize);
    PutU16(Selection, ReportParamsVc::ReportNumber, number);
    PString text;
    PStringFromC(text, range);
    ::PutText(Selection, ReportParamsVc::SelText1, text);
    PutU16(Selection, ReportParamsVc::Option1, reg);
}

class InvoiceRoutines : public InvoiceCompanyFixture {
protected:
    // An invoice of one 100.00 row at 25 % VAT.
    uint32_t Invoice(int32_t serial, uint16_t posted = 0)
    {
        FixtureInvoice f{.serial = serial, .posted = posted};
        RuleRecord r(IVVc::Number);
        FillInvoice(r.record, f);
        AddInvoiceRow(r.record, {.item = "SERVICE", .qty = 1, .price = 100});
        PutDec(r.record, IVVc::Total, Dec(125));
        PutDec(r.record, IVVc::Vat, Dec(25));
        uint32_t recid = 0;
        EXPECT_TRUE(RecStore(IVVc::Number, r.record, 0, &recid));
        return recid;
    }
    static uint16_t Posted(int32_t serial)
    {
        RuleRecord r(IVVc::Number);
        PutU32(r.record, IVVc::SerNr, uint32_t(serial));
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFind(IVVc::Number, r.record, 1, 1, &recid, &position)) << serial;
        return GetU16(r.record, IVVc::Posted);
    }
    // The record id of the open item of invoice serial; 0 none.
    static uint32_t OpenItem(int32_t serial)
    {
        RuleRecord r(ARVc::Number);
        PutU32(r.record, ARVc::InvoiceNr, uint32_t(serial));
        uint32_t recid = 0, position = 0;
        return RecFind(ARVc::Number, r.record, 1, 1, &recid, &position) ? recid : 0;
    }
};

TEST_F(InvoiceRoutines, NumbersWithoutARoutineChangeNothing)
{
    for (int32_t s : {1001, 1002}) Invoice(s);
    for (uint16_t number : {0, 3, 5, 7, 14, 19, 24, 99, 65535}) {
        SCOPED_TRACE(number);
        Select(number, "1001:1002");
        EXPECT_TRUE(RunMaintenance(Job));
        EXPECT_EQ(Posted(1001), 0);
        EXPECT_EQ(Posted(1002), 0);
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(InvoiceRoutines, ApproveRangeApprovesTheUnpostedInSerialOrderAndLeavesTheRest)
{
    // Stored out of order: the walk goes by serial number.
    Invoice(1003);
    Invoice(1001);
    Invoice(1002, 1);   // posted already: no second open item
    Invoice(1004);      // past the range
    Select(8, "1001:1003");
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(Posted(1001), 1);
    EXPECT_EQ(Posted(1002), 1);
    EXPECT_EQ(Posted(1003), 1);
    EXPECT_EQ(Posted(1004), 0);
    ASSERT_NE(OpenItem(1001), 0u);
    ASSERT_NE(OpenItem(1003), 0u);
    EXPECT_LT(OpenItem(1001), OpenItem(1003));
    EXPECT_EQ(OpenItem(1002), 0u);
    EXPECT_EQ(OpenItem(1004), 0u);

    // A single number is a range of itself; an empty range takes all.
    Select(8, "");
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(Posted(1004), 1);
}

// The validations routine 10 asked for: serial, the stored record's and
// the copy's posted word.
struct Validation {
    int32_t serial;
    uint16_t stored, copy;
    bool operator==(const Validation &) const = default;
};
std::vector<Validation> Validated;
int32_t RefuseAt = 0;

int RecordingValidate(int reg, uint8_t *record, uint8_t *copy, int mode)
{
    EXPECT_EQ(mode, 2);
    uint32_t flag = reg == IVVc::Number ? IVVc::Posted : TimeSheetVc::Transferred;
    uint32_t serial = reg == IVVc::Number ? IVVc::SerNr : TimeSheetVc::SerNr;
    Validated.push_back({GetI32(record, serial), GetU16(record, flag), GetU16(copy, flag)});
    return GetI32(record, serial) == RefuseAt ? 1 : 0;
}

TEST_F(InvoiceRoutines, RevalidateClearsOnlyTheListedPostedFlagAndStopsAtARefusal)
{
    for (int32_t s : {1001, 1002, 1003}) Invoice(s, 1);
    for (int32_t s : {1, 2, 3}) {
        RuleRecord r(TimeSheetVc::Number);
        PutU32(r.record, TimeSheetVc::SerNr, uint32_t(s));
        PutU16(r.record, TimeSheetVc::Transferred, 1);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStore(TimeSheetVc::Number, r.record, 0, &recid));
    }
    RegisterHookTable[IVVc::Number].validateRecord = RecordingValidate;
    RegisterHookTable[TimeSheetVc::Number].validateRecord = RecordingValidate;
    Validated.clear();
    RefuseAt = 0;

    Select(10, "1002:", IVVc::Number);
    EXPECT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(Validated, (std::vector<Validation>{{1002, 1, 0}, {1003, 1, 0}}));

    // A register without a listed posted flag is validated unchanged.
    Validated.clear();
    Select(10, "1:2", TimeSheetVc::Number);
    EXPECT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(Validated, (std::vector<Validation>{{1, 1, 1}, {2, 1, 1}}));

    // A refusal ends the run.
    Validated.clear();
    RefuseAt = 1002;
    Select(10, "1001:1003", IVVc::Number);
    EXPECT_FALSE(RunMaintenance(Job));
    EXPECT_EQ(Validated.size(), 2u);

    // An unposted document is passed over, and one whose voucher the
    // ledger holds is left as it is, counted so: a second voucher would
    // book it twice.
    Invoice(1004);
    {
        RuleRecord v(Voucher::Number);
        PutU16(v.record, Voucher::YearCode, YearCodeInvoice);
        PutU32(v.record, Voucher::SerNr, 1002);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStore(Voucher::Number, v.record, 0, &recid));
    }
    Validated.clear();
    RefuseAt = 0;
    shown.clear();
    Select(10, "1002:1004", IVVc::Number);
    EXPECT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(Validated, (std::vector<Validation>{{1003, 1, 0}}));
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "1 checked (no voucher to make), 1 not posted again: its voucher is in the ledger");

    // No register, or one not kept by serial number: nothing is asked.
    Validated.clear();
    for (uint16_t reg : {uint16_t(0), uint16_t(INVc::Number), uint16_t(500)}) {
        Select(10, "", reg);
        EXPECT_TRUE(RunMaintenance(Job));
    }
    EXPECT_TRUE(Validated.empty());
}

// Serves a request at the server's dispatch in this process, on the same
// company, as a server would for a client.
bool ServeHere(uint16_t code, MsgBuffer *request, MsgBuffer *reply)
{
    RunMode = 0;
    MsgReset(reply);
    bool served = ServerDispatch(code, request, reply);
    RunMode = RunModeClient;
    return served;
}

TEST_F(InvoiceRoutines, AClientsRequestRunsTheRoutineAtTheServerAndAShortJobIsRefused)
{
    Invoice(1001);
    Invoice(1002);
    Select(8, "1001");
    RunMode = RunModeClient;
    TransportInstall(ServeHere, ServeHere);
    EXPECT_TRUE(RunMaintenanceCall(SelectionJob));   // the client sends its job whole
    TransportInstall(nullptr, nullptr);
    RunMode = 0;
    EXPECT_EQ(Posted(1001), 1);
    EXPECT_EQ(Posted(1002), 0);

    // A job record of another length than register 99's runs nothing.
    Select(8, "1002");
    for (uint32_t size : {ReportParamsSize - 2, ReportParamsSize + 2}) {
        std::vector<uint8_t> job(size, 0);
        std::memcpy(job.data(), Selection, std::min(size, ReportParamsSize));
        MsgBuffer request, reply;
        MsgPutSized(&request, job.data(), size);
        EXPECT_FALSE(ServerDispatch(ReqMaintenance, &request, &reply)) << size;
    }
    EXPECT_EQ(Posted(1002), 0);
    OutputRunServices = OutputRunServicesRec{};
}

class CostRoutine : public StockDocsFixture {
protected:
    static double Cost(const char *code)
    {
        RuleRecord r(INVc::Number);
        PutText(r.record, INVc::Code, 20, code);
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFind(INVc::Number, r.record, 1, 1, &recid, &position)) << code;
        PackedDecimal c = GetDec(r.record, INVc::CostPrice);
        return DecIsBlank(&c) ? -99 : DecToDouble(&c);
    }
};

TEST_F(CostRoutine, CostFromFifoSkipsItemsWithoutStockAboveZero)
{
    // A: 10 in stock valued 38 by FIFO; B: none; C: less than none; S not stocked.
    StoreItem("C", {.cost = 7});
    StoreStock("A", "L1", 10);
    StoreStock("C", "L1", -2);
    Receipt(1, DateRec{1, 2, 2024}, "A", 10, 3);
    Receipt(2, DateRec{1, 3, 2024}, "A", 4, 5);
    Receipt(3, DateRec{1, 3, 2024}, "C", 4, 5);
    StoreItem("S", {.cost = 9, .stocked = 0});
    Select(11, "A:S");
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(Cost("A"), 3.8);
    EXPECT_EQ(Cost("B"), 4);
    EXPECT_EQ(Cost("C"), 7);
    EXPECT_EQ(Cost("S"), 9);
    EXPECT_TRUE(shown.empty());

    // The group filter passes over A (group "") when a group is asked.
    StoreStock("B", "L1", 2);
    Receipt(4, DateRec{1, 4, 2024}, "B", 2, 6);
    Select(11, "A:B");
    PutText(Selection, ReportParamsVc::SelText3, 255, "NONE");
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(Cost("B"), 4);
    Select(11, "B");
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(Cost("B"), 6);
}

}  // namespace
