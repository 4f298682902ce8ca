// order_reports_test.cpp - the order status (54, 64, 116), order list (4),
// purchase-order status (81), order flow (110), orders per object (97),
// salesman (72), posted-document (112) and item statistics (9) reports
// over the order company: each layout as a golden text file, the status
// and filter rules, the walks that must not end early, the salesmen the
// register does not know, an empty company and Esc mid-run.
#include "platform/queue.h"
#include "reports/sales/order_reports.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/order_report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class OrderReportsTest : public OrderReportFixture {
protected:
    void SetUp() override {
        OrderReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreOrderHistory();
    }
    // Runs report `number` through the dispatcher (the check fills the
    // months of the period) into a text file.
    std::string RunNumber(int number) {
        SetWord(P::ReportNumber, (uint16_t)number);
        return RunText(RunReport);
    }
};

// The three layouts of report 54 over all three statuses: order 1
// (nothing delivered), 2 (partly delivered, one invoiced), 4 (nothing
// delivered) and 5 (shipped, not all invoiced); order 3 is done and never
// listed. The open value is what is left to invoice, less the discount.
TEST_F(OrderReportsTest, OrderStatusLayouts) {
    for (uint16_t o : {P::Option3, P::Option4, P::Option5}) SetWord(o, 1);
    for (uint16_t layout = 0; layout <= 2; layout++) {
        SetWord(P::ReportLayout, layout);
        const std::string out = RunNumber(54);
        ExpectGolden("order54_layout" + std::to_string(layout), out);
        EXPECT_EQ(out.find("\n3\t"), std::string::npos) << layout;
    }
    SetWord(P::Option11, 1);
    ExpectGolden("order54_quantities", RunNumber(54));
    SetWord(P::ReportLayout, 1);
    ExpectGolden("order54_quantities_full", RunNumber(54));
}

// No status option ticked: no restriction, every order is listed.
TEST_F(OrderReportsTest, OrderStatusWithoutOptionsListsEveryOrder) {
    const std::string out = RunNumber(54);
    ExpectGolden("order54_no_options", out);
    EXPECT_NE(out.find("C1"), std::string::npos);
}

// The filters: customer, item, item group and object each narrow the list.
TEST_F(OrderReportsTest, OrderStatusFilters) {
    SetWord(P::Option3, 1);
    SetWord(P::Option5, 1);
    SetText(P::SelText2, "C1");
    std::string out = RunNumber(54);
    EXPECT_NE(out.find("\n1\t"), std::string::npos);
    EXPECT_NE(out.find("\n5\t"), std::string::npos);
    EXPECT_EQ(out.find("\n2\t"), std::string::npos);
    EXPECT_EQ(out.find("\n4\t"), std::string::npos);
    SetText(P::SelText2, "");
    SetText(P::SelText6, "ITEM2");
    out = RunNumber(54);
    EXPECT_EQ(out.find("\n4\t"), std::string::npos) << "order 4 holds no ITEM2";
    EXPECT_NE(out.find("\n2\t"), std::string::npos);
    SetText(P::SelText6, "");
    SetText(P::SelText3, "G2");
    out = RunNumber(54);
    EXPECT_EQ(out.find("\n1\t"), std::string::npos) << "no order holds an item of group G2";
    SetText(P::SelText3, "");
    SetText(P::ObjectSel, "P2");
    out = RunNumber(54);
    ExpectGolden("order54_object", out);
    EXPECT_NE(out.find("\n4\t"), std::string::npos) << "order 4 carries P2 after P1";
}

// Report 64 lists the orders not delivered whose rows the stock covers
// (not order 4: 200 wanted, 100 in stock); 116 the orders shipped but not
// invoiced, valued from the shipped quantity (order 5: 6 x 50).
TEST_F(OrderReportsTest, OrderStatusFixedStatuses) {
    std::string out = RunNumber(64);
    ExpectGolden("order64_layout0", out);
    EXPECT_EQ(out.find("\n4\t"), std::string::npos);
    out = RunNumber(116);
    ExpectGolden("order116_layout0", out);
    EXPECT_NE(out.find("300,00"), std::string::npos);
    SetWord(P::ReportLayout, 2);
    ExpectGolden("order116_layout2", RunNumber(116));
    SetWord(P::Option11, 1);
    ExpectGolden("order64_layout2_quantities", RunNumber(64));
}

// Report 4 by its state options, and the order range and period.
TEST_F(OrderReportsTest, OrderListLayouts) {
    for (uint16_t o : {P::Option2, P::Option3, P::Option4, P::Option7, P::Option8}) SetWord(o, 1);
    for (uint16_t layout = 0; layout <= 2; layout++) {
        SetWord(P::ReportLayout, layout);
        ExpectGolden("order4_layout" + std::to_string(layout), RunNumber(4));
    }
    SetWord(P::ReportLayout, 0);
    SetText(P::SelText1, "2:4");
    SetPeriod({1, 3, 2024}, {4, 3, 2024});
    const std::string out = RunNumber(4);
    EXPECT_NE(out.find("\n2\t"), std::string::npos);
    EXPECT_EQ(out.find("\n4\t"), std::string::npos) << "dated after the period";
    EXPECT_EQ(out.find("\n5\t"), std::string::npos) << "numbered after the range";
    // Only the closed option: order 3 alone, once the open filter allows closed ones.
    ResetParams();
    SetWord(P::Option4, 1);
    SetWord(P::Option8, 1);
    ExpectGolden("order4_done_only", RunNumber(4));
}

// Report 81: a closed purchase order is never listed; a range ends no
// walk early although the status index runs by vendor (order 5 of vendor
// V0 comes first and is above the range).
TEST_F(OrderReportsTest, PurchaseOrderStatus) {
    SetWord(P::Option3, 1);
    for (uint16_t layout = 0; layout <= 2; layout++) {
        SetWord(P::ReportLayout, layout);
        const std::string out = RunNumber(81);
        ExpectGolden("po81_layout" + std::to_string(layout), out);
        EXPECT_EQ(out.find("R3"), std::string::npos) << layout;
    }
    SetWord(P::ReportLayout, 0);
    SetText(P::SelText1, "1:3");
    std::string out = RunNumber(81);
    EXPECT_NE(out.find("Parts Ltd"), std::string::npos);
    EXPECT_NE(out.find("Bolts Inc"), std::string::npos);
    EXPECT_EQ(out.find("Alpha Supply"), std::string::npos);
    // Partly received only: purchase order 1 alone.
    SetWord(P::Option3, 0);
    SetWord(P::Option4, 1);
    out = RunNumber(81);
    EXPECT_NE(out.find("Parts Ltd"), std::string::npos);
    EXPECT_EQ(out.find("Bolts Inc"), std::string::npos);
    SetWord(P::Option11, 1);
    SetWord(P::ReportLayout, 1);
    ExpectGolden("po81_quantities_full", RunNumber(81));
}

// Report 110: order 1 with its two deliveries; a number no order has
// prints nothing and opens no file.
TEST_F(OrderReportsTest, OrderFlow) {
    PutU32(TestJob, P::NumberFrom, 1);
    ExpectGolden("flow110_order1", RunNumber(110));
    PutU32(TestJob, P::NumberFrom, 4);
    const std::string out = RunNumber(110);
    ExpectGolden("flow110_order4", out);
    EXPECT_NE(out.find("\t200\t0\t200\t98\t98\t"), std::string::npos) << "deliverable is the stock on hand";
    PutU32(TestJob, P::NumberFrom, 99);
    EXPECT_EQ(RunNumber(110), "");
}

// Report 97: order 4 counts under both its objects; an object used only
// before the period shows no period orders.
TEST_F(OrderReportsTest, OrdersPerObject) {
    SetPeriod({3, 3, 2024}, {31, 3, 2024});
    ExpectGolden("object97_march", RunNumber(97));
    SetText(P::ObjectSel, "P2");
    const std::string out = RunNumber(97);
    EXPECT_EQ(out.find("North"), std::string::npos);
    EXPECT_NE(out.find("South"), std::string::npos);
}

// The summary keeps every salesman met, the one register 44 does not
// know (S9) too, and never an invoice without a salesman; a credit note
// counts as a credit.
TEST_F(OrderReportsTest, SalesmanSummaryKeepsEverySalesman) {
    SetWord(P::Option1, 1);
    const std::string out = RunNumber(72);
    ExpectGolden("salesman72_summary", out);
    EXPECT_NE(out.find("S9"), std::string::npos);
    PutDate(TestJob, P::Date2From, DateRec{1, 3, 2024});
    SetWord(P::ReportLayout, 1);
    const std::string march = RunNumber(72);
    ExpectGolden("salesman72_summary_march_ledger", march);
    EXPECT_NE(march.find("Sally Seller"), std::string::npos) << "the credit note's ledger entry is found";
}

// The commission rows by salesman and by transaction date: S2's 150 %
// gives no commission, the credit note's row and commission are negative.
TEST_F(OrderReportsTest, CommissionRows) {
    ExpectGolden("salesman72_by_salesman", RunNumber(72));
    SetWord(P::ReportLayout, 1);
    ExpectGolden("salesman72_by_date", RunNumber(72));
    SetWord(P::ReportLayout, 0);
    SetText(P::SelText7, "S1");
    PutDate(TestJob, P::Date2From, DateRec{1, 2, 2024});
    const std::string out = RunNumber(72);
    EXPECT_EQ(out.find("Sam Second"), std::string::npos);
    EXPECT_EQ(out.find("10.01.2024"), std::string::npos) << "invoice 1 is before the period";
    EXPECT_NE(out.find("-100,00"), std::string::npos);
}

TEST_F(OrderReportsTest, RowCommissionLimits) {
    const auto commission = [](const char *item, const char *salesman, double base) {
        PString i, s;
        PStringFromC(i, item);
        PStringFromC(s, salesman);
        PackedDecimal b = Dec(base), percent, amount;
        RowCommission(i, s, &b, &percent, &amount);
        return std::pair{DecToDouble(&percent), DecToDouble(&amount)};
    };
    EXPECT_EQ(commission("ITEM1", "S1", 200), (std::pair{10.0, 20.0}));
    EXPECT_EQ(commission("ITEM1", "S2", 200), (std::pair{150.0, 0.0}));
    EXPECT_EQ(commission("ITEM1", "S9", 200), (std::pair{0.0, 0.0}));
    EXPECT_EQ(commission("NOSUCH", "S1", 200), (std::pair{0.0, 0.0}));
    EXPECT_EQ(commission("ITEM1", "S1", -50), (std::pair{10.0, -5.0}));
}

// Report 112 over the sales invoices (invoice 6 is not posted and adds
// nothing), the receipts and the deliveries; a register choice of 0
// prints nothing.
TEST_F(OrderReportsTest, PostedDocumentVouchers) {
    SetPeriod({1, 1, 2024}, {31, 3, 2024});
    SetWord(P::Option1, 5);
    std::string out = RunNumber(112);
    ExpectGolden("posted112_invoices", out);
    EXPECT_EQ(out.find("\n6\t"), std::string::npos);
    SetWord(P::ReportLayout, 1);
    out = RunNumber(112);
    ExpectGolden("posted112_invoices_summary", out);
    EXPECT_NE(out.find("-392,00"), std::string::npos) << "the credit note negated";
    SetWord(P::ReportLayout, 0);
    SetWord(P::Option1, 10);
    ExpectGolden("posted112_receipts", RunNumber(112));
    SetWord(P::Option1, 4);
    out = RunNumber(112);
    ExpectGolden("posted112_purchases", out);
    EXPECT_NE(out.find("5500,00"), std::string::npos) << "purchase 1 at its unit cost";
    SetWord(P::Option1, 0);
    EXPECT_EQ(RunNumber(112), "");
}

// Report 9 in both layouts over the statistics the ledger entries wrote.
TEST_F(OrderReportsTest, ItemStatisticsBothLayouts) {
    SetPeriod({1, 1, 2024}, {31, 3, 2024});
    ExpectGolden("item9_layout0", RunNumber(9));
    SetText(P::SelText3, "G1:G2");
    ExpectGolden("item9_layout0_groups", RunNumber(9));
    SetText(P::SelText3, "");
    SetText(P::SelText2, "C1");
    ExpectGolden("item9_layout0_customer", RunNumber(9));
    SetText(P::SelText2, "");
    SetWord(P::ReportLayout, 1);
    const std::string out = RunNumber(9);
    ExpectGolden("item9_layout1", out);
    EXPECT_NE(out.find("\t55,00\t5390,00\t"), std::string::npos) << "98 ITEM1 valued at the purchase's 55";
    SetText(P::SelText3, "G1:G2");
    ExpectGolden("item9_layout1_groups", RunNumber(9));
}

// The other selections: report 4 by customer and salesman, report 81 by
// item, location and reference range, report 9 without the unsold items;
// a reversed period is refused before anything is printed.
TEST_F(OrderReportsTest, SelectionsNarrowTheLists) {
    for (uint16_t o : {P::Option2, P::Option3, P::Option4, P::Option7, P::Option8}) SetWord(o, 1);
    SetText(P::SelText2, "C1");
    SetText(P::SelText7, "S1");
    std::string out = RunNumber(4);
    EXPECT_NE(out.find("\n5\t"), std::string::npos);
    for (const char *other : {"\n1\t", "\n2\t", "\n3\t", "\n4\t"}) EXPECT_EQ(out.find(other), std::string::npos) << other;

    ResetParams();
    SetWord(P::Option3, 1);
    SetText(P::SelText6, "ITEM2");
    out = RunNumber(81);
    EXPECT_NE(out.find("Bolts Inc"), std::string::npos);
    EXPECT_EQ(out.find("Alpha Supply"), std::string::npos) << "order 5 holds no ITEM2";
    SetText(P::SelText6, "");
    SetText(P::SelText8, "ELSEWHERE");
    EXPECT_EQ(RunNumber(81).find("Parts Ltd"), std::string::npos) << "another location";
    SetText(P::SelText8, "");
    SetText(P::SelText4, "R1:R2");
    out = RunNumber(81);
    EXPECT_NE(out.find("Parts Ltd"), std::string::npos);
    EXPECT_NE(out.find("Bolts Inc"), std::string::npos);
    EXPECT_EQ(out.find("Alpha Supply"), std::string::npos) << "R5 lies outside the references";

    ResetParams();
    SetPeriod({1, 1, 2024}, {31, 3, 2024});
    SetText(P::SelText2, "C1");
    SetWord(P::RangeKind, 1);
    out = RunNumber(9);
    EXPECT_NE(out.find("ITEM1"), std::string::npos);
    EXPECT_EQ(out.find("ITEM2"), std::string::npos) << "C1 bought no ITEM2";

    SetWord(P::PeriodGiven, 1);
    SetPeriod({31, 3, 2024}, {1, 1, 2024});
    EXPECT_EQ(RunNumber(9), "");
}

// Lines started in the Esc test's job; the third posts Esc, as a user
// pressing it while the first order prints.
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

// Esc while the first order prints: the job ends stopped and no later
// order is reached, in the order and purchase-order walks.
TEST_F(OrderReportsTest, EscStopsAfterTheOrderAtHand) {
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    for (int number : {54, 81, 4}) {
        SCOPED_TRACE(number);
        ResetParams();
        SetWord(P::ReportNumber, (uint16_t)number);
        for (uint16_t o : {P::Option2, P::Option3, P::Option4, P::Option5, P::Option7, P::Option8}) SetWord(o, 1);
        SetWord(P::OutputKind, OutPreview);
        RecLog.clear();
        LinesStarted = 0;
        RunJob();
        ASSERT_FALSE(RecLog.empty());
        EXPECT_EQ(RecLog.back().name, "end");
        EXPECT_EQ(RepStopped, 1);
        for (const RecCall &call : RecLog) {
            EXPECT_NE(call.text, "Bolts Inc");
            EXPECT_NE(call.text, "C3");
        }
    }
    RepDeviceInstall(OutPreview, saved);
}

// An empty company: the reports print their frame and no line of data.
class EmptyOrderReportsTest : public ReportFixture {};

TEST_F(EmptyOrderReportsTest, EmptyRegistersPrintTheFrameOnly) {
    SetWord(P::Option3, 1);
    SetWord(P::ReportNumber, 54);
    ExpectGolden("order54_empty", RunText(RunReport));
    SetWord(P::ReportNumber, 81);
    ExpectGolden("po81_empty", RunText(RunReport));
    SetWord(P::ReportNumber, 72);
    ExpectGolden("salesman72_empty", RunText(RunReport));
}

}  // namespace
