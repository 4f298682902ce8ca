// purchase_reports_test.cpp - the payment journals (28, 92), the vendor
// due dates (32), invoice pages (36), turnover (30) and statements (35),
// the purchase orders (75), expenses (91) and person statements (93)
// over the purchase history of purchase_report_fixture.h: golden text
// files of each layout, the selections that take nothing and Esc.
#include "platform/queue.h"
#include "reports/purchase/purchase_reports.h"
#include "tests/output/output_recorder.h"
#include "tests/reports/purchase/purchase_report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class PurchaseReportsTest : public PurchaseReportFixture {
protected:
    void SetUp() override {
        PurchaseReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StorePurchaseHistory();
    }
    // The texts the recorder logged, in order.
    static std::vector<std::string> LoggedTexts() {
        std::vector<std::string> out;
        for (const RecCall &c : RecLog)
            if (c.name == "text") out.push_back(c.text);
        return out;
    }
    static bool Logged(const std::string &text) {
        for (const std::string &t : LoggedTexts())
            if (t == text) return true;
        return false;
    }
};

// Report 28 with every state: each payment with its rows (the left-out row
// printed but not summed), the EUR payment's rate, bank charges and home
// total; the payment without a mode is in no sum; the mode sums and the
// grand total are in home currency.
TEST_F(PurchaseReportsTest, PaymentJournalByStateAndMode) {
    SetWord(P::Option1, 1);
    SetWord(P::Option2, 1);
    SetWord(P::Option3, 1);
    ExpectGolden("payments28_all", RunText(ReportPurchInvoicePayments));

    // Posted only, of March: payment 3 (no mode) alone, summed on the
    // line of the payments without a mode and in the grand total, so that
    // the total is not left blank.
    ResetParams();
    SetWord(P::Option3, 1);
    SetPeriod({1, 3, 2024}, {31, 3, 2024});
    const std::string march = RunText(ReportPurchInvoicePayments);
    EXPECT_NE(march.find("05.03.2024"), std::string::npos) << march;
    EXPECT_EQ(march.find("31.01.2024"), std::string::npos) << march;
    EXPECT_EQ(march.find("Cash"), std::string::npos) << march;
    EXPECT_NE(march.find(UiText(Texts::PaymentsWithoutMode) + "\t30,00"), std::string::npos) << march;
    EXPECT_NE(march.find(UiText(2429) + "\t30,00"), std::string::npos) << march;

    // Only mode "K", numbers 2 on: payment 2 alone.
    ResetParams();
    SetWord(P::Option1, 1);
    SetWord(P::Option2, 1);
    SetWord(P::Option3, 1);
    SetText(P::SelText3, "K");
    SetText(P::SelText1, "2:");
    ExpectGolden("payments28_mode_range", RunText(ReportPurchInvoicePayments));
}

// With no state ticked every state is listed, as the header says.
TEST_F(PurchaseReportsTest, PaymentJournalWithoutStatesListsEveryState) {
    ExpectGolden("payments28_none", RunText(ReportPurchInvoicePayments));
}

// Report 92 lists the person payments in report 28's layout.
TEST_F(PurchaseReportsTest, PersonPaymentJournal) {
    SetWord(P::Option3, 1);
    ExpectGolden("payments92", RunText(Register110Report));
    // Only the unapproved ones: Pat's posted payment is left out.
    SetWord(P::Option3, 0);
    SetWord(P::Option1, 1);
    const std::string unapproved = RunText(Register110Report);
    EXPECT_EQ(unapproved.find("Pat Person"), std::string::npos) << unapproved;
}

// The due sums' limits: today and before in the first, 1 to 15 days in
// the second, 16 to 30 in the third, later in the fourth.
TEST_F(PurchaseReportsTest, DueBucketLimits) {
    const std::pair<int32_t, int> cases[] = {{-30, 0}, {0, 0}, {1, 1}, {15, 1}, {16, 2}, {30, 2}, {31, 3}, {400, 3}};
    for (auto [days, bucket] : cases) EXPECT_EQ(PurchDueBucket(days), bucket) << days;
}

// Report 32: the list by due date (the EUR item at its rate, the comment
// line), the sums only, one vendor without the held invoice, and by
// discount date.
TEST_F(PurchaseReportsTest, VendorDueDates) {
    ExpectGolden("purchdue32_list", RunText(PurchDueDateReport));
    SetWord(P::Option1, 1);
    ExpectGolden("purchdue32_sums", RunText(PurchDueDateReport));
    ResetParams();
    SetText(P::SelText2, "V1");
    SetWord(P::Option2, 1);
    const std::string v1 = RunText(PurchDueDateReport);
    EXPECT_EQ(v1.find("Euro Vendor"), std::string::npos) << v1;
    EXPECT_EQ(v1.find("\t104\t"), std::string::npos) << v1;
    EXPECT_NE(v1.find("\t101\t"), std::string::npos) << v1;
    SetText(P::SelText2, "V9");
    const std::string nobody = RunText(PurchDueDateReport);
    EXPECT_EQ(nobody.find("Vendor\t"), nobody.rfind("Vendor\t")) << nobody;
    EXPECT_EQ(nobody.find("101"), std::string::npos) << nobody;
}

// Report 30: the movement of the months chosen, zero for a vendor without
// period balances, only the group asked for.
TEST_F(PurchaseReportsTest, VendorTurnover) {
    SetMonths({1, 1, 2024}, {29, 2, 2024});
    ExpectGolden("turnover30", RunText(VendorTurnoverReport));
    SetMonths({1, 2, 2024}, {29, 2, 2024});
    SetText(P::SelText2, "G1");
    const std::string feb = RunText(VendorTurnoverReport);
    EXPECT_NE(feb.find("V1\tFirst Vendor\t-250,00"), std::string::npos) << feb;
    EXPECT_EQ(feb.find("Euro Vendor"), std::string::npos) << feb;
}

// Report 35 in home currency: V1 opens at 100, its invoice, the payment,
// the credit note at the credited invoice's rate and the payment on
// account; the unapproved invoice is left out. V2's EUR amounts at their
// invoice's rate. Then in vendor currency with the totals table.
TEST_F(PurchaseReportsTest, VendorStatements) {
    SetMonths({1, 1, 2024}, {31, 3, 2024});
    ExpectGolden("vendor35_home", RunText(VendorBalanceReport));
    SetWord(P::Option3, 1);
    ExpectGolden("vendor35_currency", RunText(VendorBalanceReport));
}

// Report 35 skipping the empty: a vendor with no opening balance and no
// entries prints nothing; one with entries prints its head before them.
TEST_F(PurchaseReportsTest, VendorStatementsSkipEmpty) {
    StoreRecord(VEVc::Number, [](uint8_t *r) {
        PutText(r, VEVc::Code, 20, "V3");
        PutText(r, VEVc::Name, 60, "Quiet Vendor");
    });
    SetMonths({1, 1, 2024}, {31, 3, 2024});
    const std::string all = RunText(VendorBalanceReport);
    EXPECT_NE(all.find("Quiet Vendor"), std::string::npos) << all;
    SetWord(P::Option2, 1);
    const std::string some = RunText(VendorBalanceReport);
    EXPECT_EQ(some.find("Quiet Vendor"), std::string::npos) << some;
    EXPECT_NE(some.find("Euro Vendor"), std::string::npos) << some;
    // A period without V2's entries: V2 (no balance record) drops out too.
    SetMonths({1, 3, 2024}, {31, 3, 2024});
    const std::string march = RunText(VendorBalanceReport);
    EXPECT_EQ(march.find("Euro Vendor"), std::string::npos) << march;
    EXPECT_NE(march.find("First Vendor"), std::string::npos) << march;
}

// Report 75 in its three layouts, and a vendor and period that take nothing.
TEST_F(PurchaseReportsTest, PurchaseOrders) {
    ExpectGolden("orders75_list", RunText(PurchaseOrderReport));
    SetWord(P::ReportLayout, 1);
    ExpectGolden("orders75_rows", RunText(PurchaseOrderReport));
    SetWord(P::ReportLayout, 2);
    ExpectGolden("orders75_net", RunText(PurchaseOrderReport));
    SetWord(P::ReportLayout, 0);
    SetText(P::SelText2, "V1");
    SetPeriod({1, 3, 2024}, {31, 3, 2024});
    const std::string none = RunText(PurchaseOrderReport);
    EXPECT_EQ(none.find("First Vendor"), std::string::npos) << none;
    EXPECT_EQ(none.find("Euro Vendor"), std::string::npos) << none;
}

// Report 91 by state and person, in both layouts.
TEST_F(PurchaseReportsTest, ExpenseRecords) {
    SetWord(P::Option2, 1);
    SetWord(P::Option3, 1);
    ExpectGolden("expenses91_list", RunText(Register109Report));
    SetWord(P::ReportLayout, 1);
    SetText(P::SelText2, "P1");
    ExpectGolden("expenses91_rows", RunText(Register109Report));
    ResetParams();
    SetWord(P::Option2, 1);
    const std::string unposted = RunText(Register109Report);
    EXPECT_NE(unposted.find("P2"), std::string::npos) << unposted;
    EXPECT_EQ(unposted.find("\tP1\t"), std::string::npos) << unposted;
}

// Report 93: P1's expenses (the EUR one at its rate) and payment; P2's
// unposted expense is not an entry.
TEST_F(PurchaseReportsTest, PersonStatements) {
    SetMonths({1, 1, 2024}, {31, 3, 2024});
    ExpectGolden("persons93", RunText(UserTotalsReport));
    SetWord(P::Option2, 1);
    const std::string some = RunText(UserTotalsReport);
    EXPECT_EQ(some.find("Sam Person"), std::string::npos) << some;
}

// The statements in home currency end holding no memory block: each run
// used to leave an empty totals table behind.
TEST_F(PurchaseReportsTest, StatementsInHomeCurrencyLeaveNoBlockBehind) {
    SetMonths({1, 1, 2024}, {31, 3, 2024});
    const uint32_t blocks = MemBlockCount();
    RunText(UserTotalsReport);
    EXPECT_EQ(MemBlockCount(), blocks) << "report 93";
    RunText(VendorBalanceReport);
    EXPECT_EQ(MemBlockCount(), blocks) << "report 35";
}

// Report 36 prints only on the printer: to the preview it sets the cancel
// flag and prints nothing; on the printer a page per invoice of the range.
TEST_F(PurchaseReportsTest, InvoicePagesOnThePrinterOnly) {
    RecorderInstall rec({OutPreview, OutPrinter});
    SetWord(P::OutputKind, OutPreview);
    RunOnJob(Report36PurchInvoices);
    EXPECT_TRUE(RecLog.empty());
    EXPECT_EQ(CancelFlag, 1);
    CancelFlag = 0;

    SetWord(P::OutputKind, OutPrinter);
    SetText(P::SelText1, "101:102");
    RunOnJob(Report36PurchInvoices);
    ASSERT_FALSE(RecLog.empty());
    EXPECT_EQ(RecLog.back().name, "end");
    EXPECT_TRUE(Logged("First Vendor"));
    EXPECT_TRUE(Logged("Euro Vendor"));
    EXPECT_FALSE(Logged("Returned"));   // invoice 103 is past the range
    EXPECT_TRUE(Logged("Paper"));
    EXPECT_TRUE(Logged(UiText(3058)));
    int pages = 0;
    for (const RecCall &c : RecLog) pages += c.name == "pageEnd";
    EXPECT_GE(pages, 2);
}

// Esc while the first invoice prints: the walk ends after it, the job is
// still closed, and the second invoice never prints.
int LinesStarted = 0;
const RepDevice EscDevice = [] {
    RepDevice d = RecorderDevice;
    d.lineStart = [] {
        RecorderDevice.lineStart();
        if (++LinesStarted == 3) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    return d;
}();

TEST_F(PurchaseReportsTest, EscStopsTheInvoicePages) {
    const RepDevice *saved = RepDeviceInstall(OutPrinter, &EscDevice);
    RecLog.clear();
    LinesStarted = 0;
    SetWord(P::OutputKind, OutPrinter);
    RunOnJob(Report36PurchInvoices);
    RepDeviceInstall(OutPrinter, saved);
    ASSERT_FALSE(RecLog.empty());
    EXPECT_EQ(RecLog.back().name, "end");
    EXPECT_FALSE(Logged("Euro Vendor"));
    EXPECT_FALSE(Logged("Returned"));
}

// Esc in the payment journal: the walk stops after the payment at hand
// and the sums still close the job.
TEST_F(PurchaseReportsTest, EscStopsThePaymentJournal) {
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    RecLog.clear();
    LinesStarted = 0;
    SetWord(P::OutputKind, OutPreview);
    SetWord(P::Option3, 1);
    OverTestJob<ReportPurchInvoicePayments>();
    RepDeviceInstall(OutPreview, saved);
    ASSERT_FALSE(RecLog.empty());
    EXPECT_EQ(RecLog.back().name, "end");
    EXPECT_FALSE(Logged("V2"));
}

}  // namespace
