// payment_runs_test.cpp - the runs over outgoing payments (-9 advice,
// -10 approval) and the maintenance routines that delete a number range
// of documents (22) and clear the budgets (1, 2), as the batch dispatcher
// runs them.
#include "tests/output/test_job_body.h"
#include "operations/batch_routines.h"
#include "operations/maintenance_runs.h"
#include "operations/run_outcome.h"
#include "output/devices/report_output.h"
#include "platform/queue.h"
#include "reports/frame/report_run.h"
#include "reports/purchase/purchase_reports.h"
#include "tests/operations/purchase_fixture.h"
#include "tests/output/printing_fixture.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"

namespace {

namespace P = ReportParamsVc;

class PaymentRunsTest : public Printing<PurchaseFixture> {
protected:
    void SetUp() override {
        PurchaseFixture::SetUp();
        if (HasFatalFailure()) return;
        std::memset(TestJob, 0, ReportParamsSize);
        ResetOutputJobState();
    }
    void TearDown() override {
        ResetOutputJobState();
        CancelFlag = 0;
        PurchaseFixture::TearDown();
    }
    // Stores a purchase invoice as it stands (no rules run).
    void StorePurchase(int32_t serial, uint16_t approved, const char *vendor = "V1") {
        StoreRecord(VIVc::Number, [&](uint8_t *r) {
            FillPurchase(r, {.serial = serial, .vendor = vendor, .approved = approved}, {{.amount = 100}});
        });
    }
    // Stores an outgoing payment as it stands.
    void StorePayment(int32_t serial, uint16_t approved, std::initializer_list<FixturePaymentRow> rows) {
        StoreRecord(OPVc::Number, [&](uint8_t *r) {
            FillPayment(r, {.serial = serial, .approved = approved, .posted = 0}, rows);
        });
    }
    // The stored record of reg with number serial into r; false when gone.
    static bool Read(int reg, uint32_t at, int32_t serial, RuleRecord &r) {
        PutI32(r.record, at, serial);
        uint32_t recid = 0, position = 0;
        return RecFindByIndex(reg, "SerNr", r.record, 1, 1, &recid, &position);
    }
    static uint16_t PaymentWord(int32_t serial, uint32_t at) {
        RuleRecord r(OPVc::Number);
        EXPECT_TRUE(Read(OPVc::Number, OPVc::SerNr, serial, r)) << serial;
        return GetU16(r.record, at);
    }
    static void SetPaymentWord(int32_t serial, uint32_t at, uint16_t v) {
        RuleRecord r(OPVc::Number);
        PutI32(r.record, OPVc::SerNr, serial);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFindByIndex(OPVc::Number, "SerNr", r.record, 1, 1, &recid, &position)) << serial;
        PutU16(r.record, at, v);
        ASSERT_TRUE(RecStore(OPVc::Number, r.record, 1, &recid));
    }
    // The serial numbers kept in reg, in order.
    static std::vector<int32_t> Serials(int reg, uint32_t at) {
        std::vector<int32_t> out;
        RuleRecord r(reg);
        uint32_t recid = 0;
        for (int32_t p = 1; RecReadAtIndex(reg, "SerNr", p, r.record, &recid); p++) {
            out.push_back(GetI32(r.record, at));
            RecFreeMatrix(reg, r.record);
        }
        return out;
    }
    static void SetRange(const char *range) { PutText(TestJob, P::SelText1, 255, range); }
    // The job the batch routines of the tests are handed, and its range.
    uint8_t selection[ReportParamsSize] = {};
    ReportJob job{selection};
    void SetJobRange(const char *range) { PutText(job.selection, P::SelText1, 255, range); }
    static int Jobs() {
        int n = 0;
        for (const RecCall &c : RecLog) n += c.name == "open";
        return n;
    }
    static bool Logged(const std::string &text) {
        for (const RecCall &c : RecLog)
            if (c.text == text) return true;
        return false;
    }
};

// Run -9: a range without an approved payment opens no job; each approved
// payment gets one advice with its company, rows, vendor and total; a row
// whose invoice is gone still prints its amount; the approved flag stays.
TEST_F(PaymentRunsTest, AdviceForApprovedPaymentsOnly) {
    StorePurchase(10, 1);
    StorePayment(1, 0, {{.invoice = 10, .amount = 100}});
    StorePayment(2, 0, {{.invoice = 10, .amount = 60}});
    StorePayment(3, 1, {{.invoice = 10, .amount = 70}, {.invoice = 99, .amount = 12}});
    StorePayment(4, 1, {{.invoice = 10, .amount = 80}});
    RecorderInstall rec({OutPreview});
    PutU16(TestJob, P::OutputKind, OutPreview);

    SetRange("1:2");
    OverTestJob<VendorPaymentRun>();
    EXPECT_EQ(Jobs(), 0);
    EXPECT_TRUE(RecLog.empty());

    SetRange("");
    OverTestJob<VendorPaymentRun>();
    EXPECT_EQ(Jobs(), 2);
    EXPECT_TRUE(Logged(UiText(4101)));
    EXPECT_TRUE(Logged("Orvel Test AB"));
    EXPECT_TRUE(Logged("Storgatan 1"));
    EXPECT_TRUE(Logged("Vendor"));       // the invoice's vendor name
    EXPECT_TRUE(Logged("VI-1"));
    EXPECT_TRUE(Logged("12,00"));        // the row whose invoice is gone
    EXPECT_TRUE(Logged("82,00"));        // payment 3's total
    EXPECT_FALSE(Logged("60,00"));       // payment 2 is not approved
    EXPECT_EQ(PaymentWord(3, OPVc::Approved), 1);
    EXPECT_EQ(PaymentWord(2, OPVc::Approved), 0);
}

// Run -10 twice approves each payment once: the second run passes over
// the payments whose documents printed, unless the batch mode asks for all.
TEST_F(PaymentRunsTest, ApprovalRunTwiceApprovesOnce) {
    // Rows without a vendor make no document, so their printing is done.
    StorePayment(1, 0, {{.invoice = -1, .amount = 10, .vendor = ""}});
    StorePayment(2, 0, {{.invoice = -1, .amount = 20, .vendor = ""}});
    StorePayment(3, 0, {{.invoice = -1, .amount = 30, .vendor = ""}});
    SetRange("1:2");
    OverTestJob<ApprovePaymentRange>();
    for (int32_t s : {1, 2}) {
        EXPECT_EQ(PaymentWord(s, OPVc::Approved), 1) << s;
        EXPECT_EQ(PaymentWord(s, OPVc::Printed), 1) << s;
    }
    EXPECT_EQ(PaymentWord(3, OPVc::Approved), 0);

    // Take payment 1's approval back by hand: a second run leaves it alone.
    SetPaymentWord(1, OPVc::Approved, 0);
    OverTestJob<ApprovePaymentRange>();
    EXPECT_EQ(PaymentWord(1, OPVc::Approved), 0);
    PutU16(TestJob, P::BatchMode, 1);
    OverTestJob<ApprovePaymentRange>();
    EXPECT_EQ(PaymentWord(1, OPVc::Approved), 1);
}

// Routine 22 by the dispatcher: adjacent deletable invoices are both
// deleted (the walk steps back after a delete), approved ones with an
// open item stay, and nothing past the range is touched.
TEST_F(PaymentRunsTest, RangeDeleteStepsBackAfterEachDelete) {
    StorePurchase(1, 1);
    StorePurchase(2, 0);
    StorePurchase(3, 0);
    StorePurchase(4, 1);
    StorePurchase(5, 0);
    for (int32_t s : {1, 4})
        StoreRecord(APVc::Number, [&](uint8_t *r) {
            PutI32(r, APVc::InvoiceNr, s);
            PutText(r, APVc::VendCode, 20, "V1");
        });
    StorePayment(1, 0, {{.invoice = 1, .amount = 5}});
    StorePayment(2, 1, {{.invoice = 1, .amount = 5}});
    PutU16(job.selection, P::ReportNumber, 22);
    SetJobRange("1:4");
    PutU16(job.selection, P::Option3, 1);
    shown.clear();
    EXPECT_TRUE(RunMaintenance(job));
    EXPECT_EQ(Serials(VIVc::Number, VIVc::SerNr), (std::vector<int32_t>{1, 4, 5}));
    // It says what it deleted and what it kept.
    EXPECT_EQ(shown, (std::vector<std::string>{"2 documents deleted, 2 not deleted (posted, or used by another record)"}));
    EXPECT_EQ(Serials(OPVc::Number, OPVc::SerNr), (std::vector<int32_t>{1, 2}));

    PutU16(job.selection, P::Option3, 0);
    PutU16(job.selection, P::Option4, 1);
    EXPECT_TRUE(RunMaintenance(job));
    EXPECT_EQ(Serials(OPVc::Number, OPVc::SerNr), (std::vector<int32_t>{2}));
    EXPECT_EQ(Serials(VIVc::Number, VIVc::SerNr), (std::vector<int32_t>{1, 4, 5}));
}

// Routine 22 with an empty range refuses with a message and deletes
// nothing; with no register ticked it changes nothing and says so.
TEST_F(PaymentRunsTest, RangeDeleteRefusesAnEmptyRange) {
    StorePurchase(1, 0);
    StorePurchase(2, 0);
    PutU16(job.selection, P::ReportNumber, 22);
    PutU16(job.selection, P::Option3, 1);
    for (const char *range : {"", "   "}) {
        shown.clear();
        SetJobRange(range);
        EXPECT_FALSE(RunMaintenance(job)) << '"' << range << '"';
        EXPECT_TRUE(Told(Texts::DeleteRangeNeeded)) << ::testing::PrintToString(shown);
        EXPECT_EQ(Serials(VIVc::Number, VIVc::SerNr), (std::vector<int32_t>{1, 2}));
    }
    shown.clear();
    PutU16(job.selection, P::Option3, 0);
    SetJobRange("");
    EXPECT_TRUE(RunMaintenance(job));
    EXPECT_EQ(shown, (std::vector<std::string>{"Nothing deleted: no kind of document was ticked"}));
    EXPECT_EQ(Serials(VIVc::Number, VIVc::SerNr), (std::vector<int32_t>{1, 2}));
}

// A budget of register 20 or 21 with its amounts and rows.
struct BudgetDef {
    int reg;
    uint32_t account, objects, amount, rowText, rowAmount, rowSize;
};
constexpr BudgetDef Budget1{BUVc::Number, BUVc::Account, BUVc::Objects, BUVc::Amount,
                            BUVc::Rows::Text, BUVc::Rows::Amount, BUVc::Rows::Size};
constexpr BudgetDef Budget2{BPVc::Number, BPVc::Account, BPVc::Objects, BPVc::Percentage,
                            BPVc::Rows::Text, BPVc::Rows::Amount, BPVc::Rows::Size};

// Routines 1 and 2: with an object list only that list's budgets are
// cleared (amounts and rows), an unknown list changes nothing, and
// without one every budget is cleared.
TEST_F(PaymentRunsTest, BudgetClearingByObjectList) {
    for (const BudgetDef &b : {Budget1, Budget2}) {
        SCOPED_TRACE(b.reg);
        const std::pair<const char *, const char *> keys[] = {{"5010", "P1"}, {"5010", "P2"}, {"6000", "P1"}};
        for (auto [account, objects] : keys)
            StoreRecord(b.reg, [&](uint8_t *r) {
                PutText(r, b.account, 10, account);
                PutText(r, b.objects, 30, objects);
                PutDec(r, b.amount, Dec(100));
                std::vector<uint8_t> row(b.rowSize, 0);
                PutText(row.data(), b.rowText, 60, "January");
                PutDec(row.data(), b.rowAmount, Dec(10));
                ASSERT_TRUE(MatrixRowPut(b.reg, 0, r, 0, row.data()));
            });
        // Each budget's state in index order: objects, amount, row text, row amount.
        auto state = [&]() {
            std::vector<std::string> out;
            RuleRecord r(b.reg);
            uint32_t recid = 0;
            for (int32_t p = 1; RecReadAtIndex(b.reg, "AccKey", p, r.record, &recid); p++) {
                uint8_t objects[256], text[256];
                GetPString(r.record, b.objects, 30, objects);
                PackedDecimal amount = GetDec(r.record, b.amount);
                std::vector<uint8_t> row(b.rowSize, 0);
                EXPECT_TRUE(MatrixRowRead(b.reg, r.record, 0, row.data()));
                GetPString(row.data(), b.rowText, 60, text);
                PackedDecimal rowAmount = GetDec(row.data(), b.rowAmount);
                out.push_back(std::string((const char *)objects + 1, objects[0]) + "/" +
                              (DecIsBlank(&amount) ? "-" : "x") + "/" + std::string((const char *)text + 1, text[0]) +
                              "/" + (DecIsBlank(&rowAmount) ? "-" : "x"));
                RecFreeMatrix(b.reg, r.record);
            }
            return out;
        };
        PutU16(job.selection, P::ReportNumber, b.reg == BUVc::Number ? 1 : 2);
        PutU16(job.selection, P::Option2, 1);
        PutText(job.selection, P::ObjectSel, 30, "ZZ");
        EXPECT_TRUE(RunMaintenance(job));
        EXPECT_EQ(state(), (std::vector<std::string>{"P1/x/January/x", "P2/x/January/x", "P1/x/January/x"}));
        PutText(job.selection, P::ObjectSel, 30, "P1");
        EXPECT_TRUE(RunMaintenance(job));
        EXPECT_EQ(state(), (std::vector<std::string>{"P1/-//-", "P2/x/January/x", "P1/-//-"}));
        PutU16(job.selection, P::Option2, 0);
        EXPECT_TRUE(RunMaintenance(job));
        EXPECT_EQ(state(), (std::vector<std::string>{"P1/-//-", "P2/-//-", "P1/-//-"}));
    }
}

// Esc stops both walks after the record at hand: the range delete after
// its first delete (Esc pressed while it is at its first document), the
// budget clearing after its first budget.
TEST_F(PaymentRunsTest, EscStopsTheDeleteAndTheClearing) {
    for (int32_t s : {1, 2, 3}) StorePurchase(s, 0);
    for (const char *objects : {"P1", "P2"})
        StoreRecord(BUVc::Number, [&](uint8_t *r) {
            PutText(r, BUVc::Account, 10, "5010");
            PutText(r, BUVc::Objects, 30, objects);
            PutDec(r, BUVc::Amount, Dec(100));
        });
    PutU16(job.selection, P::ReportNumber, 22);
    PutU16(job.selection, P::Option3, 1);
    SetJobRange("1:3");
    const RunOutcomeUiRec ui = RunOutcomeUi;
    static int progressed;
    progressed = 0;
    RunOutcomeUi.progress = [](const uint8_t *) {
        if (++progressed == 1) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    EXPECT_TRUE(RunMaintenance(job));
    RunOutcomeUi = ui;
    EXPECT_EQ(Serials(VIVc::Number, VIVc::SerNr), (std::vector<int32_t>{2, 3}));

    CancelFlag = 0;
    std::memset(job.selection, 0, ReportParamsSize);
    PutU16(job.selection, P::ReportNumber, 1);
    ASSERT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
    EXPECT_TRUE(RunMaintenance(job));
    std::vector<bool> cleared;
    RuleRecord r(BUVc::Number);
    uint32_t recid = 0;
    for (int32_t p = 1; RecReadAtIndex(BUVc::Number, "ObjAccKey", p, r.record, &recid); p++) {
        PackedDecimal amount = GetDec(r.record, BUVc::Amount);
        cleared.push_back(DecIsBlank(&amount));
    }
    EXPECT_EQ(cleared, (std::vector<bool>{true, false}));
}

}  // namespace
