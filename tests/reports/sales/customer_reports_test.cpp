// customer_reports_test.cpp - the ageing buckets and report 5 over the
// sales history entered in the customer ledger: each layout in both
// modes (open items of today, invoices as of a date), the filters, the
// payments on account, a selection that takes nobody and Esc mid-walk;
// the balances (34) and sales (14) per customer over the statistics the
// approvals wrote, and the customer walk they and the statement run share.
#include <algorithm>
#include <array>

#include "operations/customer_receipt.h"
#include "operations/run_outcome.h"
#include "platform/queue.h"
#include "rules/ledger.h"
#include "tests/output/output_recorder.h"
#include "operations/sales_invoice.h"
#include "reports/sales/aged_buckets.h"
#include "reports/sales/customer_reports.h"
#include "tests/output/test_job_body.h"
#include "tests/output/test_job.h"
#include "tests/reports/preview_lines.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class CustomerReportsTest : public ReportFixture {
protected:
    // The sales history with its invoices 1-5 and receipts entered in the
    // customer ledger and the statistics by their approval, and receipt 3 (C1,
    // 5.3.2024) with 30 on account.
    void StoreLedgerHistory() {
        StoreSalesHistory();
        ASSERT_FALSE(HasFatalFailure());
        StoreReceipt(3, {5, 3, 2024}, "", 0, {{1, -1, "C1", {0, 0, 0}, 30}}, 30);
        ASSERT_FALSE(HasFatalFailure());
        for (int32_t serial = 1; serial <= 5; serial++) {
            RuleRecord r(IVVc::Number);
            PutI32(r.record, IVVc::SerNr, serial);
            uint32_t recid = 0, position = 0;
            ASSERT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", r.record, 1, 1, &recid, &position)) << serial;
            ASSERT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, r.record, recid), ApproveResult::Changed) << serial;
        }
        for (int32_t serial = 1; serial <= 3; serial++) {
            RuleRecord r(IPVc::Number);
            PutI32(r.record, IPVc::SerNr, serial);
            uint32_t recid = 0, position = 0;
            ASSERT_TRUE(RecFind(IPVc::Number, r.record, 1, 1, &recid, &position)) << serial;
            ASSERT_EQ(ApproveReceiptToCustomerLedger(IPVc::Number, r.record, recid), ApproveResult::Changed) << serial;
        }
    }
    void SetLimits(int32_t l1, int32_t l2) {
        uint8_t b[AgedBlk::Size] = {};
        PutI32(b, AgedBlk::Limit1, l1);
        PutI32(b, AgedBlk::Limit2, l2);
        StoreBlock(AgedBlk::Number, b, AgedBlk::Size);
    }
    // The four buckets after adding 1 at each of days.
    static std::vector<double> Buckets(int32_t l1, int32_t l2, std::initializer_list<int32_t> days) {
        PackedDecimal b[4], one = Dec(1);
        for (PackedDecimal &x : b) DecSetZero(&x);
        PackedDecimal *slots[4] = {&b[0], &b[1], &b[2], &b[3]};
        for (int32_t d : days) AgedBucketAddWith(l1, l2, d, &one, slots);
        std::vector<double> out;
        for (PackedDecimal &x : b) out.push_back(DecToDouble(&x));
        return out;
    }
};

using V = std::vector<double>;

// Each amount lands in exactly one bucket whatever the limits: 30/60 as
// set, 60/30 (bucket 2 can take nothing, the rest beyond 60 days goes to
// bucket 3 only), and the limits' own edges.
TEST_F(CustomerReportsTest, AgedBucketsTakeEachAmountOnce) {
    EXPECT_EQ(Buckets(30, 60, {0}), (V{1, 0, 0, 0}));
    EXPECT_EQ(Buckets(30, 60, {5000}), (V{1, 0, 0, 0}));
    EXPECT_EQ(Buckets(30, 60, {-1, -30}), (V{0, 2, 0, 0}));
    EXPECT_EQ(Buckets(30, 60, {-31, -60}), (V{0, 0, 2, 0}));
    EXPECT_EQ(Buckets(30, 60, {-61, -32768}), (V{0, 0, 0, 2}));
    EXPECT_EQ(Buckets(60, 30, {-1, -30}), (V{0, 2, 0, 0}));
    EXPECT_EQ(Buckets(60, 30, {-31, -60}), (V{0, 2, 0, 0}));
    EXPECT_EQ(Buckets(60, 30, {-61}), (V{0, 0, 0, 1}));
    EXPECT_EQ(Buckets(30, 30, {-30, -31}), (V{0, 1, 0, 1}));
}

// The limits come from block 219; a limit not set (-1, or 0 as in a
// block never stored) is 15 or 30.
TEST_F(CustomerReportsTest, AgedLimitsFromTheBlock) {
    int32_t l1 = 0, l2 = 0;
    SetLimits(-1, -1);
    AgedLimits(&l1, &l2);
    EXPECT_EQ(l1, 15);
    EXPECT_EQ(l2, 30);
    PackedDecimal b0, b1, b2, b3, ten = Dec(10);
    DecSetZero(&b0); DecSetZero(&b1); DecSetZero(&b2); DecSetZero(&b3);
    AgedBucketAdd(-16, &ten, &b0, &b1, &b2, &b3);
    AgedBucketAdd(-31, &ten, &b0, &b1, &b2, &b3);
    EXPECT_TRUE(DecIsZero(&b0) && DecIsZero(&b1));
    EXPECT_EQ(DecToDouble(&b2), 10);
    EXPECT_EQ(DecToDouble(&b3), 10);
    SetLimits(45, -1);
    AgedLimits(&l1, &l2);
    EXPECT_EQ(l1, 45);
    EXPECT_EQ(l2, 30);
    // A block never stored reads as zeros: the limits are taken as unset.
    SetLimits(0, 0);
    AgedLimits(&l1, &l2);
    EXPECT_EQ(l1, 15);
    EXPECT_EQ(l2, 30);
}

// What was open on a date: invoice 1 less receipt 1 from 31.1 on; invoice
// 2 (cash) less its credit note 4 from 15.2 on; a serial without entries
// keeps its amount. Receipt 1 paid 240 on invoice 1, nothing on 3.
TEST_F(CustomerReportsTest, OpenAmountOnADate) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    const struct {
        int32_t serial;
        DateRec date;
        double start, want;
    } cases[] = {
        {1, {30, 1, 2024}, 250, 250}, {1, {31, 1, 2024}, 250, 10}, {2, {14, 2, 2024}, 784, 784},
        {2, {15, 2, 2024}, 784, 392}, {77, {1, 1, 2030}, 5, 5},
    };
    for (const auto &c : cases) {
        PackedDecimal amount = Dec(c.start);
        InvoiceOpenAmountAt(c.serial, &c.date, &amount);
        EXPECT_EQ(DecToDouble(&amount), c.want) << c.serial;
    }
    uint8_t entry[CustTransVc::Size] = {};
    PutI32(entry, CustTransVc::DocNr, 1);
    PutI32(entry, CustTransVc::InvoiceNr, 1);
    PackedDecimal paid;
    ReceiptPaidOnInvoice(entry, &paid);
    EXPECT_EQ(DecToDouble(&paid), 240);
    PutI32(entry, CustTransVc::InvoiceNr, 3);
    ReceiptPaidOnInvoice(entry, &paid);
    EXPECT_TRUE(DecIsZero(&paid));
    PutI32(entry, CustTransVc::DocNr, 99);
    ReceiptPaidOnInvoice(entry, &paid);
    EXPECT_TRUE(DecIsZero(&paid));
}

// The payment on account of receipt 3 counts on its own date and after,
// not before; its discount and charge rows of receipt 1 never count; a
// customer without one gets blanks.
TEST_F(CustomerReportsTest, OnAccountSumsUpToTheDate) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    PString c1, c2;
    PStringFromC(c1, "C1");
    PStringFromC(c2, "C2");
    PackedDecimal home, foreign;
    CustomerOnAccountSums(c1, nullptr, &home, &foreign);
    EXPECT_EQ(DecToDouble(&home), -30);
    EXPECT_EQ(DecToDouble(&foreign), -30);
    const DateRec same{5, 3, 2024}, before{4, 3, 2024};
    CustomerOnAccountSums(c1, &same, &home, &foreign);
    EXPECT_EQ(DecToDouble(&home), -30);
    CustomerOnAccountSums(c1, &before, &home, &foreign);
    EXPECT_TRUE(DecIsZero(&home));
    CustomerOnAccountSums(c2, nullptr, &home, &foreign);
    EXPECT_TRUE(DecIsZero(&home) && DecIsZero(&foreign));
}

// Report 5 as goldens: every layout of the open items, the as-of mode
// (before and on the day of the payment on account), the customers'
// currencies, overdue items only, the filters and a range of nobody.
TEST_F(CustomerReportsTest, LedgerByLayoutAndMode) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    SetLimits(30, 60);
    const struct {
        const char *golden;
        uint16_t layout, overdue, byName, inCurrency;
        DateRec asOf;
        const char *range, *salesman, *group;
    } runs[] = {
        {"report5_layout0", 0, 0, 0, 0, {}, "", "", ""},
        {"report5_layout1", 1, 0, 0, 0, {}, "", "", ""},
        {"report5_layout2", 2, 0, 0, 0, {}, "", "", ""},
        {"report5_layout3", 3, 0, 0, 0, {}, "", "", ""},
        {"report5_layout4", 4, 0, 0, 0, {}, "", "", ""},
        {"report5_currency1", 1, 0, 0, 1, {}, "", "", ""},
        {"report5_currency2", 2, 0, 0, 1, {}, "", "", ""},
        {"report5_asof_feb", 0, 0, 0, 0, {20, 2, 2024}, "", "", ""},
        {"report5_asof_payment_day", 2, 0, 0, 0, {5, 3, 2024}, "", "", ""},
        {"report5_asof_day_before", 2, 0, 0, 0, {4, 3, 2024}, "", "", ""},
        {"report5_overdue", 1, 1, 0, 0, {}, "", "", ""},
        {"report5_by_name", 3, 0, 1, 0, {}, "E:F", "", ""},
        {"report5_salesman", 1, 0, 0, 0, {}, "", "S2", ""},
        {"report5_nobody", 0, 0, 0, 0, {}, "X1:X9", "", ""},
        {"report5_no_group", 3, 0, 0, 0, {}, "", "", "NONE"},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        ResetParams();
        SetWord(P::ReportNumber, 5);
        SetWord(P::ReportLayout, r.layout);
        SetWord(P::Option1, r.overdue);
        SetWord(P::Option2, r.byName);
        SetWord(P::Option3, r.inCurrency);
        PutDate(TestJob, P::Date2From, r.asOf);
        SetText(P::SelText1, r.range);
        SetText(P::SelText2, r.salesman);
        SetText(P::SelText3, r.group);
        ExpectGolden(r.golden, RunText(CustomerLedgerReport));
    }
}

// The limits unset print as 15 and 30 in the ageing headings and sort
// by them; an empty customer register prints the frame and zero sums.
TEST_F(CustomerReportsTest, UnsetLimitsAndEmptyRegister) {
    ResetParams();
    SetWord(P::ReportNumber, 5);
    SetWord(P::ReportLayout, 2);
    SetLimits(-1, -1);
    ExpectGolden("report5_empty_company", RunText(CustomerLedgerReport));
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    ExpectGolden("report5_unset_limits", RunText(CustomerLedgerReport));
}

// Lines started in the Esc test's job; the second posts Esc, as a user
// pressing it while the first customer prints.
int LinesStarted = 0;

const RepDevice EscDevice = [] {
    RepDevice d = RecorderDevice;
    d.lineStart = [] {
        RecorderDevice.lineStart();
        if (++LinesStarted == 2) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    return d;
}();

// Esc while the first customer prints: the job ends stopped, the second
// customer is never reached and no grand total is printed, in each mode.
TEST_F(CustomerReportsTest, EscStopsAfterTheCustomerAtHand) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    for (DateRec asOf : {DateRec{}, DateRec{15, 3, 2024}}) {
        SCOPED_TRACE(asOf.year);
        ResetParams();
        SetWord(P::ReportNumber, 5);
        SetWord(P::ReportLayout, 1);
        SetWord(P::OutputKind, OutPreview);
        PutDate(TestJob, P::Date2From, asOf);
        RecLog.clear();
        LinesStarted = 0;
        OverTestJob<CustomerLedgerReport>();
        ASSERT_FALSE(RecLog.empty());
        EXPECT_EQ(RecLog.back().name, "end");
        EXPECT_EQ(RepStopped, 1);
        const std::string grand = UiText(2429);
        for (const RecCall &call : RecLog) {
            EXPECT_NE(call.text, "Euro Customer");
            EXPECT_NE(call.text, grand);
        }
    }
    RepDeviceInstall(OutPreview, saved);
}

// The period in the job record with its month numbers, as the check sets them.
void SetMonths(DateRec from, DateRec to) {
    PutDate(TestJob, P::DateFrom, from);
    PutDate(TestJob, P::DateTo, to);
    PutU16(TestJob, P::MonthFrom, MonthIndex(&from));
    PutU16(TestJob, P::MonthTo, MonthIndex(&to));
}

// Report 34: the balances of the quarter and of March alone (an opening
// balance then), in home and customer currency, the empty customers
// left out, and the transaction listing with its sums; the total line's
// change is the closing sum less the opening sum.
TEST_F(CustomerReportsTest, BalancesPerPeriod) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    const struct {
        const char *golden;
        uint16_t layout, skipEmpty, inCurrency;
        DateRec from, to;
        const char *objects;
    } runs[] = {
        {"report34_quarter", 0, 0, 0, {1, 1, 2024}, {31, 3, 2024}, ""},
        {"report34_march", 0, 0, 0, {1, 3, 2024}, {31, 3, 2024}, ""},
        {"report34_skip_empty", 0, 1, 0, {1, 3, 2024}, {31, 3, 2024}, ""},
        {"report34_currency", 0, 0, 1, {1, 1, 2024}, {31, 3, 2024}, ""},
        {"report34_listing", 1, 0, 0, {1, 1, 2024}, {31, 3, 2024}, ""},
        {"report34_listing_march", 1, 1, 0, {1, 3, 2024}, {31, 3, 2024}, ""},
        {"report34_listing_objects", 1, 1, 0, {1, 1, 2024}, {31, 3, 2024}, "P2"},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        ResetParams();
        SetWord(P::ReportNumber, 34);
        SetWord(P::ReportLayout, r.layout);
        SetWord(P::Option2, r.skipEmpty);
        SetWord(P::Option3, r.inCurrency);
        SetText(P::ObjectSel, r.objects);
        SetMonths(r.from, r.to);
        ExpectGolden(r.golden, RunText(CustomerBalanceReport));
    }
}

// A cash invoice leaves the running balance as it was: debit and credit
// both rise by it; a credit note of it does the same.
TEST_F(CustomerReportsTest, CashInvoiceKeepsTheBalance) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    ResetParams();
    SetWord(P::ReportNumber, 34);
    SetWord(P::ReportLayout, 1);
    SetText(P::SelText1, "C1");
    SetMonths({20, 1, 2024}, {20, 1, 2024});
    RuleRecord c(CUVc::Number);
    PutText(c.record, CUVc::Code, 20, "C1");
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(CUVc::Number, c.record, 1, 1, &recid, &position));
    PackedDecimal balance = Dec(100);
    std::remove(outPath.c_str());
    SetWord(P::OutputKind, OutTextFile);
    ScriptAnswerFile(outPath);
    RepOpenFileDevice();
    ASSERT_EQ(RepStopped, 0);
    RepBeginJobNr(2480);
    CustomerTransactionList(TestJob, c.record, &balance);
    RepEndJob();
    EXPECT_EQ(DecToDouble(&balance), 100);
    SetMonths({15, 2, 2024}, {15, 2, 2024});
    RepOpenFileDevice();
    RepBeginJobNr(2480);
    CustomerTransactionList(TestJob, c.record, &balance);
    RepEndJob();
    EXPECT_EQ(DecToDouble(&balance), 100);
}

// Report 14: sales and cost of the quarter, of one item, the minimum
// sales leaving customers out, a salesman nobody has, and the totals of
// layout 1; a customer without sales shows a blank share.
TEST_F(CustomerReportsTest, SalesPerCustomer) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    const struct {
        const char *golden;
        uint16_t layout;
        const char *item, *salesman;
        double minimum;
    } runs[] = {
        {"report14_quarter", 1, "", "", -1},
        {"report14_item", 0, "ITEM2", "", -1},
        {"report14_minimum", 1, "", "", 250},
        {"report14_salesman", 1, "", "S9", -1},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        ResetParams();
        SetWord(P::ReportNumber, 14);
        SetWord(P::ReportLayout, r.layout);
        SetText(P::SelText2, r.item);
        SetText(P::SelText7, r.salesman);
        PackedDecimal minimum = Dec(r.minimum);
        if (r.minimum < 0) DecSetBlank(&minimum);
        PutDec(TestJob, P::Amount1, minimum);
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(TestJob, P::Amount2, blank);
        SetMonths({1, 1, 2024}, {31, 3, 2024});
        ExpectGolden(r.golden, RunText(CustomerSalesReport));
    }
}

// The walk of the balances, sales and statement runs: the code range
// (an open end), the group, and Esc after the customer at hand.
TEST_F(CustomerReportsTest, CustomerWalkByRangeAndGroup) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    auto walk = [](const char *range, const char *group) {
        ResetParams();
        SetText(P::SelText1, range);
        SetText(P::SelText3, group);
        std::vector<std::string> codes;
        CustomerWalk(TestJob,
            [](const uint8_t *customer, void *context) {
                PString code;
                ::GetText(customer, CUVc::Code, code);
                static_cast<std::vector<std::string> *>(context)->push_back(PStringToStd(code));
            },
            &codes);
        return codes;
    };
    using S = std::vector<std::string>;
    EXPECT_EQ(walk("", ""), (S{"C1", "C2", "C3"}));
    EXPECT_EQ(walk("C2:", ""), (S{"C2", "C3"}));
    EXPECT_EQ(walk(":C2", ""), (S{"C1", "C2"}));
    EXPECT_EQ(walk("C2", ""), (S{"C2"}));
    EXPECT_EQ(walk("X1:X9", ""), S{});
    EXPECT_EQ(walk("", "NONE"), S{});
    CancelFlag = 1;
    EXPECT_EQ(walk("", ""), (S{"C1"}));
    CancelFlag = 0;
}

// The statement run ends with one line: why nothing printed when no
// customer lies in the range or none of it has anything open, and what
// failed when a customer's statement could not print (no statement form
// is chosen here).
TEST_F(CustomerReportsTest, TheStatementRunSaysWhatItPrintedOrWhyNot) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    static std::vector<std::string> lines;
    const RunOutcomeUiRec saved = RunOutcomeUi;
    RunOutcomeUi = RunOutcomeUiRec{};
    RunOutcomeUi.status = [](const uint8_t *t) { lines.emplace_back(reinterpret_cast<const char *>(t + 1), t[0]); };
    auto run = [](const char *range, int16_t openOnly) {
        lines.clear();
        ResetParams();
        SetText(P::SelText1, range);
        PutI16(TestJob, P::Option2, openOnly);   // only customers with something open
        OverTestJob<CustomerStatementRun>();
        return lines.empty() ? std::string("(no line)") : lines.back();
    };
    EXPECT_EQ(run("X1:X9", 0), UiText(Texts::RunNothingToPrint) + UiText(Texts::RunWhyNoCustomer));
    EXPECT_EQ(run("C3", 1), UiText(Texts::RunNothingToPrint) + UiText(Texts::RunWhyNothingOpen));
    const std::string failed = run("C1", 0);
    RunOutcomeUi = saved;
    EXPECT_NE(failed.find("1 " + UiText(Texts::RunNotPrinted)), std::string::npos) << failed;
}

// The statement run's balances: C1's invoices less what was paid, in its
// own currency, before the first month and at the end of the last; a customer without statistics
// opens at zero.
TEST_F(CustomerReportsTest, PeriodBalancesOfTheStatistics) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    const DateRec feb{1, 2, 2024}, mar{1, 3, 2024};
    RuleRecord c(CUVc::Number);
    PutText(c.record, CUVc::Code, 20, "C1");
    PackedDecimal opening, closing;
    // January: invoices 1 (250) and 2 (784, paid at once) less receipt 1
    // (240 and its discount and charge rows of 5 each): nothing owed.
    CustomerPeriodBalances(c.record, true, MonthIndex(&feb), MonthIndex(&feb), &opening, &closing);
    EXPECT_EQ(DecToDouble(&opening), 0) << "opening";
    // March alone: the interest invoice of 40 less 30 on account.
    CustomerPeriodBalances(c.record, true, MonthIndex(&mar), MonthIndex(&mar), &opening, &closing);
    EXPECT_EQ(DecToDouble(&closing) - DecToDouble(&opening), 10) << "March";
    // In home currency (kind 4) the receipt on account counts the same.
    PackedDecimal homeOpening, homeClosing;
    CustomerPeriodBalances(c.record, false, MonthIndex(&mar), MonthIndex(&mar), &homeOpening, &homeClosing);
    EXPECT_EQ(DecToDouble(&homeClosing) - DecToDouble(&homeOpening), 10) << "March at home";
    PutText(c.record, CUVc::Code, 20, "NOBODY");
    CustomerPeriodBalances(c.record, true, MonthIndex(&feb), MonthIndex(&mar), &opening, &closing);
    EXPECT_TRUE(DecIsZero(&opening) && DecIsZero(&closing));
    EXPECT_FALSE(DecIsBlank(&opening));
}

}  // namespace

// Report 5 in the preview, with a long overdue item (a four-digit day
// count), a seven-digit order number and, in the customer's currency, the
// currency code: no text of a line begins before the text left of it
// ends, so every line stays one line: the invoices with their receipts,
// the line per open item, the ageing buckets of an amount of six digits,
// the balances and the revaluation.
TEST_F(CustomerReportsTest, OpenItemColumnsDoNotOverlapInThePreview) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    const DateRec longAgo{28, 2, 2021};
    RuleRecord inv(IVVc::Number), item(ARVc::Number);
    PutI32(inv.record, IVVc::SerNr, 1);
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", inv.record, 1, 1, &recid, &position));
    PutU32(inv.record, IVVc::OrderNr, 2345678);
    PutDate(inv.record, IVVc::PayDate, longAgo);
    ASSERT_TRUE(RecStore(IVVc::Number, inv.record, 1, &recid));
    bool moved = false;
    for (int32_t at = 1; RecReadAt(ARVc::Number, at, item.record, &recid); at++) {
        if (GetI32(item.record, ARVc::InvoiceNr) != 1) continue;
        PutDate(item.record, ARVc::DueDate, longAgo);
        PutDec(item.record, ARVc::OpenAmount, Dec(123456));
        ASSERT_TRUE(RecStore(ARVc::Number, item.record, 1, &recid));
        moved = true;
    }
    ASSERT_TRUE(moved);

    InvoiceFrameUp();
    ASSERT_FALSE(HasFatalFailure());
    for (int run = 0; run < 10; run++) {
        const uint16_t layout = uint16_t(run / 2), inCurrency = uint16_t(run % 2);
        SCOPED_TRACE(::testing::Message() << "layout " << layout << ", in currency " << inCurrency);
        ResetParams();
        SetWord(P::ReportNumber, 5);
        SetWord(P::ReportLayout, layout);
        SetWord(P::Option3, inCurrency);
        SetWord(P::OutputKind, OutPreview);
        ResetOutputJobState();
        OverTestJob<CustomerLedgerReport>();
        const int n = OpenPreviewWindow();
        ASSERT_TRUE(PreviewIsOpen(n));
        const std::vector<PlacedText> texts = PreviewTexts(n);
        ExpectNoOverlap(texts);
        if (layout == 1) {
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const PlacedText &t) {
                return t.text == "-1111";   // 28.2.2021 to 15.3.2024
            }));
        }
        WinClose(n);
    }
    InvoiceFrameDown();
}
