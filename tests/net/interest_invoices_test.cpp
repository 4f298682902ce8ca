// interest_invoices_test.cpp - interest on late payment (routine 4): the
// interest formula, rows of open items and of late payments, the rate
// methods and minimums, the interest flag, one invoice per currency, the
// heading and fee rows, the notice counts raised only for a stored
// invoice, a refused period, and the run asked of a server by a client.
#include <cstring>
#include <string>
#include <vector>

#include "core/company_variant.h"
#include "core/msg_buffer.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "net/net.h"
#include "operations/batch_routines.h"
#include "operations/run_outcome.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/net/serve_here.h"

namespace {

const DateRec PeriodFrom{1, 5, 2024}, PeriodTo{31, 5, 2024};

PackedDecimal Dec(double x)
{
    PackedDecimal d;
    DecFromDouble(&d, x);
    return d;
}

double Interest(double amount, int32_t days, double rate)
{
    PackedDecimal a = Dec(amount), r = Dec(rate), out;
    InterestAmount(&a, days, &r, &out);
    return DecIsBlank(&out) ? -1 : DecToDouble(&out);
}

TEST(InterestAmountTest, AYearOf365DaysRoundedToCents)
{
    EXPECT_EQ(Interest(1000, 30, 8), 6.58);      // 6.5753...
    EXPECT_EQ(Interest(10000, 30, 12), 98.63);   // 98.6301...
    EXPECT_EQ(Interest(5000, 9, 12), 14.79);     // 14.7945..., not rounded twice
    EXPECT_EQ(Interest(36500, 1, 1), 1);
    EXPECT_EQ(Interest(100, 1, 10), 0.03);       // 0.0273... half up
    EXPECT_EQ(Interest(-1000, 30, 8), -6.58);
    PackedDecimal blank, rate = Dec(8), amount = Dec(1000), out;
    DecSetBlank(&blank);
    InterestAmount(&blank, 30, &rate, &out);
    EXPECT_TRUE(DecIsBlank(&out));
    InterestAmount(&amount, 30, &blank, &out);
    EXPECT_TRUE(DecIsBlank(&out));
}

class InterestRun : public InvoiceCompanyFixture {
protected:
    // The job the runs of the test are handed.
    uint8_t selection[ReportParamsSize] = {};
    ReportJob job{selection};
    void SetUp() override
    {
        InvoiceCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreItem("INTEREST", {.group = "G1", .stocked = 0, .vatCode = "0", .name = "Interest"});
        Rules(12, 0, 0, 1);
        Charge("C1");
        Charge("C2");
    }
    // Block 134: the rate, the minimums, the rate method and the flags.
    void Rules(double rate, double minAmount, int32_t minDays, uint16_t method, uint16_t dayRule = 0,
               uint16_t below = 0, const char *fee = "")
    {
        ChangeBlock(InterestBlk::Number, InterestBlk::Size, [&](uint8_t *b) {
            PutDec(b, InterestBlk::Rate, Dec(rate));
            PutDec(b, InterestBlk::MinAmount, Dec(minAmount));
            PutI32(b, InterestBlk::MinDays, minDays);
            PutU16(b, InterestBlk::RateMethod, method);
            PutU16(b, InterestBlk::DayRule, dayRule);
            PutU16(b, InterestBlk::BelowMinimum, below);
            PutText(b, InterestBlk::FeeItem, 20, fee);
            PutText(b, InterestBlk::Item, 20, "INTEREST");
        });
    }
    // Sets the customer's interest flag.
    void Charge(const char *code, uint16_t on = 1)
    {
        RuleRecord r(CUVc::Number);
        PutText(r.record, CUVc::Code, 20, code);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(CUVc::Number, r.record, 1, 1, &recid, &position)) << code;
        PutU16(r.record, CUVc::InterestFlag, on);
        ASSERT_TRUE(RecStore(CUVc::Number, r.record, 1, &recid));
    }
    // An ordinary invoice due on `due` and its open item of `open`.
    void Late(int32_t serial, const char *cust, double open, DateRec due, const char *currency = "",
              bool item = true, uint16_t kind = 1)
    {
        StoreRecord(IVVc::Number, [&](uint8_t *r) {
            FillInvoice(r, {.serial = serial, .customer = cust, .date = DateRec{1, 3, 2024}, .kind = kind,
                            .currency = currency});
            PutDate(r, IVVc::PayDate, due);
            PutI32(r, IVVc::NoticeCount, -1);
        });
        if (!item) return;
        StoreRecord(ARVc::Number, [&](uint8_t *r) {
            PutU32(r, ARVc::InvoiceNr, uint32_t(serial));
            PutText(r, ARVc::CustCode, 20, cust);
            PutDec(r, ARVc::OpenAmount, Dec(open));
            PutDate(r, ARVc::DueDate, due);
            PutDec(r, ARVc::IntRate, Dec(20));
            PutText(r, ARVc::CurncyCode, 5, currency);
        });
    }
    // A receipt `serial` paying `amount` of invoice on `paid`, with its
    // customer transaction.
    void Paid(uint32_t serial, const char *cust, int32_t invoice, double amount, DateRec paid)
    {
        StoreRecord(IPVc::Number, [&](uint8_t *r) {
            PutU32(r, IPVc::SerNr, serial);
            PutDate(r, IPVc::TransDate, paid);
            uint8_t row[IPVc::Rows::Size] = {};
            PutU16(row, IPVc::Rows::Kind, 1);
            PutI32(row, IPVc::Rows::InvoiceNr, invoice);
            PutText(row, IPVc::Rows::CustCode, 20, cust);
            PutDate(row, IPVc::Rows::PayDate, paid);
            PutDec(row, IPVc::Rows::Amount, Dec(amount));
            ASSERT_TRUE(MatrixRowPut(IPVc::Number, 0, r, 0, row));
        });
        StoreRecord(CustTransVc::Number, [&](uint8_t *r) {
            PutText(r, CustTransVc::CustCode, 20, cust);
            PutDate(r, CustTransVc::TransDate, paid);
            PutU16(r, CustTransVc::Kind, 1);
            PutU32(r, CustTransVc::DocNr, serial);
            PutI32(r, CustTransVc::InvoiceNr, invoice);
            PutDec(r, CustTransVc::Amount, Dec(amount));
        });
    }
    void Select(const char *customers = "", DateRec from = PeriodFrom, DateRec to = PeriodTo)
    {
        std::memset(job.selection, 0, ReportParamsSize);
        PutU16(job.selection, ReportParamsVc::ReportNumber, 4);
        PutText(job.selection, ReportParamsVc::SelText1, 255, customers);
        PutDate(job.selection, ReportParamsVc::Date2From, from);
        PutDate(job.selection, ReportParamsVc::Date2To, to);
    }
    struct Made {
        std::vector<uint8_t> head;
        std::vector<std::vector<uint8_t>> rows;
        uint32_t recid = 0;
        std::string Cust() const { return Text(head.data(), IVVc::CustCode); }
        double Total() const { return Num(head.data(), IVVc::Total); }
    };
    // The interest invoices stored, in serial order.
    static std::vector<Made> InterestInvoices()
    {
        std::vector<Made> out;
        RuleRecord r(IVVc::Number);
        uint32_t recid = 0;
        for (int32_t p = 1; RecReadAt(IVVc::Number, p, r.record, &recid); p++) {
            if (GetU16(r.record, IVVc::InvType) != 4) continue;
            Made m{std::vector<uint8_t>(r.record, r.record + IVVc::Size), {}, recid};
            uint8_t row[IVVc::Rows::Size];
            for (int32_t i = 0; MatrixRowRead(IVVc::Number, r.record, i, row); i++)
                m.rows.emplace_back(row, row + sizeof row);
            out.push_back(m);
            RecFreeMatrix(IVVc::Number, r.record);
        }
        return out;
    }
    static int32_t Notices(int32_t serial)
    {
        RuleRecord r(IVVc::Number);
        PutI32(r.record, IVVc::SerNr, serial);
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", r.record, 1, 1, &recid, &position)) << serial;
        return GetI32(r.record, IVVc::NoticeCount);
    }
};

// 10,000.00 due 30 days before the period's end at the block's 12 %:
// one row of 98.63 naming the invoice, its due date and amount, the days
// and the rate; the invoice is kind 4, unposted, numbered, and the late
// invoice's notice count rises to the row's link.
TEST_F(InterestRun, AnOpenItemLateAtThePeriodsEndGetsARow)
{
    Late(1001, "C1", 10000, DateRec{1, 5, 2024});
    Select();
    ASSERT_TRUE(RunMaintenance(job));
    std::vector<Made> made = InterestInvoices();
    ASSERT_EQ(made.size(), 1u);
    const Made &m = made[0];
    EXPECT_EQ(m.Cust(), "C1");
    EXPECT_EQ(GetU16(m.head.data(), IVVc::Posted), 0);
    EXPECT_GT(GetI32(m.head.data(), IVVc::SerNr), 1001);
    ASSERT_EQ(m.rows.size(), 1u);
    const uint8_t *row = m.rows[0].data();
    EXPECT_EQ(GetU16(row, IVVc::Rows::Kind), 4);
    EXPECT_EQ(Text(row, IVVc::Rows::ItemCode), "1001");
    EXPECT_EQ(Num(row, IVVc::Rows::Sum), 98.63);
    EXPECT_EQ(Num(row, IVVc::Rows::Quantity), 30);
    EXPECT_EQ(Num(row, IVVc::Rows::Discount), 12);
    EXPECT_EQ(Num(row, IVVc::Rows::UnitCost), 10000);
    EXPECT_NE(Text(row, IVVc::Rows::Text).find("10000"), std::string::npos) << Text(row, IVVc::Rows::Text);
    EXPECT_EQ(GetI32(row, IVVc::Rows::Link), 1);
    EXPECT_EQ(Text(row, IVVc::Rows::VatCode), "0") << "the interest item's";
    EXPECT_EQ(Text(row, IVVc::Rows::SalesAcc), InvoiceCo::Sales);
    EXPECT_EQ(Notices(1001), 1);
    EXPECT_EQ(m.Total(), 98.63);
}

// Method 0 takes the open item's own rate (20 %); method 2 a flat
// percentage of the amount; day rule 0 counts no more than the period.
TEST_F(InterestRun, RateMethodsAndThePeriodCap)
{
    Late(1001, "C1", 10000, DateRec{1, 1, 2024});   // 151 days late, 31 in the period
    Rules(12, 0, 0, 0);
    Select("C1");
    ASSERT_TRUE(RunMaintenance(job));
    std::vector<Made> made = InterestInvoices();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(Num(made[0].rows[0].data(), IVVc::Rows::Quantity), 31);
    EXPECT_EQ(Num(made[0].rows[0].data(), IVVc::Rows::Sum), 169.86);   // 10000 x 20 x 31 / 36500

    Rules(2, 0, 0, 2);
    Select("C1");
    ASSERT_TRUE(RunMaintenance(job));
    made = InterestInvoices();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(Num(made[1].rows[0].data(), IVVc::Rows::Sum), 200);   // 2 % of 10000
    EXPECT_EQ(GetI32(made[1].rows[0].data(), IVVc::Rows::Link), 2) << "the second notice";
    EXPECT_EQ(Notices(1001), 2);

    // Day rule 1 counts from the due date, however long ago.
    Rules(12, 0, 0, 1, 1, 1);
    Select("C1");
    ASSERT_TRUE(RunMaintenance(job));
    made = InterestInvoices();
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(Num(made[2].rows[0].data(), IVVc::Rows::Quantity), 151);
}

// A row below both minimums is not made; the invoice's own minimum keeps
// a small invoice unstored, and then no late invoice counts a notice.
// The waiver makes rows below the minimums, not invoices.
TEST_F(InterestRun, MinimumsAndNoNoticeWithoutAStoredInvoice)
{
    Late(1001, "C1", 10000, DateRec{1, 5, 2024});   // 98.63 for 30 days
    Late(1002, "C1", 1000, DateRec{1, 5, 2024});    // 9.86
    Rules(12, 50, 60, 1);
    Select();
    ASSERT_TRUE(RunMaintenance(job));
    std::vector<Made> made = InterestInvoices();
    ASSERT_EQ(made.size(), 1u);
    ASSERT_EQ(made[0].rows.size(), 1u) << "9.86 in 30 days is below 50 and 60 days";
    EXPECT_EQ(Text(made[0].rows[0].data(), IVVc::Rows::ItemCode), "1001");
    EXPECT_EQ(Notices(1002), -1);

    Rules(12, 50, 60, 1, 0, 1);
    Select();
    ASSERT_TRUE(RunMaintenance(job));
    made = InterestInvoices();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[1].rows.size(), 2u);
    EXPECT_DOUBLE_EQ(made[1].Total(), 108.49);

    // Above the total: nothing stored, no notice counted.
    Rules(12, 500, 0, 1);
    const int32_t before1 = Notices(1001), before2 = Notices(1002);
    Select();
    ASSERT_TRUE(RunMaintenance(job));
    EXPECT_EQ(InterestInvoices().size(), 2u);
    EXPECT_EQ(Notices(1001), before1);
    EXPECT_EQ(Notices(1002), before2);
}

// A customer without the interest flag, an item not yet due, a credit
// note's item and a customer outside the range make nothing.
TEST_F(InterestRun, CustomersAndItemsPassedOver)
{
    Charge("C2", 0);
    Late(1001, "C2", 10000, DateRec{1, 5, 2024});
    Late(1002, "C1", 10000, DateRec{15, 6, 2024});            // due after the period
    Late(1003, "C1", 10000, DateRec{1, 5, 2024}, "", true, 3);  // a credit note
    Late(1004, "C3", 10000, DateRec{1, 5, 2024});
    Charge("C3");
    Select("C1:C2");
    ASSERT_TRUE(RunMaintenance(job));
    EXPECT_TRUE(InterestInvoices().empty());
    EXPECT_EQ(Notices(1001), -1);
    Select("C3");
    ASSERT_TRUE(RunMaintenance(job));
    ASSERT_EQ(InterestInvoices().size(), 1u);
    EXPECT_EQ(InterestInvoices()[0].Cust(), "C3");
}

// Open items of two currencies, in any order: two invoices, the one in
// currency with its rate at the invoice date, each holding the rows of
// its own currency.
TEST_F(InterestRun, TwoCurrenciesGiveTwoInvoices)
{
    Late(1001, "C1", 10000, DateRec{1, 5, 2024}, "EUR");
    Late(1002, "C1", 10000, DateRec{1, 5, 2024});
    Late(1003, "C1", 1000, DateRec{1, 5, 2024}, "EUR");
    Select("C1");
    ASSERT_TRUE(RunMaintenance(job));
    std::vector<Made> made = InterestInvoices();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(Text(made[0].head.data(), IVVc::CurncyCode), "EUR");
    EXPECT_EQ(Num(made[0].head.data(), IVVc::Rate), 1125);
    ASSERT_EQ(made[0].rows.size(), 2u);
    EXPECT_EQ(Text(made[0].rows[0].data(), IVVc::Rows::ItemCode), "1001");
    EXPECT_EQ(Text(made[0].rows[1].data(), IVVc::Rows::ItemCode), "1003");
    EXPECT_EQ(Text(made[1].head.data(), IVVc::CurncyCode), "");
    PackedDecimal homeRate = GetDec(made[1].head.data(), IVVc::Rate);
    EXPECT_TRUE(DecIsBlank(&homeRate));
    ASSERT_EQ(made[1].rows.size(), 1u);
    EXPECT_EQ(Text(made[1].rows[0].data(), IVVc::Rows::ItemCode), "1002");
    for (int32_t n : {1001, 1002, 1003}) EXPECT_EQ(Notices(n), 1) << n;
}

// A payment within the period after the due date: days from the later
// of the due date and the period's start to the payment; the row's link
// is all ones. Payments outside the period, or on time, make nothing.
TEST_F(InterestRun, LatePaymentsWithinThePeriod)
{
    Late(1003, "C1", 0, DateRec{20, 4, 2024}, "", false);
    Late(1004, "C1", 0, DateRec{20, 5, 2024}, "", false);
    Paid(500, "C1", 1003, 5000, DateRec{10, 5, 2024});
    Paid(501, "C1", 1003, 5000, DateRec{10, 6, 2024});   // after the period
    Paid(502, "C1", 1003, 5000, DateRec{10, 4, 2024});   // before it
    Paid(503, "C1", 1004, 5000, DateRec{15, 5, 2024});   // on time
    Select("C1");
    ASSERT_TRUE(RunMaintenance(job));
    std::vector<Made> made = InterestInvoices();
    ASSERT_EQ(made.size(), 1u);
    ASSERT_EQ(made[0].rows.size(), 1u);
    const uint8_t *row = made[0].rows[0].data();
    EXPECT_EQ(Num(row, IVVc::Rows::Quantity), 9);
    EXPECT_EQ(Num(row, IVVc::Rows::Sum), 14.79);   // 5000 x 12 x 9 / 36500
    EXPECT_EQ(GetI32(row, IVVc::Rows::Link), -1);
    EXPECT_EQ(Notices(1003), -1);

    // Company variant 15 charges no late payments.
    CompanyVariantBind(CompanyBlock);
    PutU16(CompanyBlock, CompanyBlk::CompanyVariant, 15);
    Select("C1");
    ASSERT_TRUE(RunMaintenance(job));
    PutU16(CompanyBlock, CompanyBlk::CompanyVariant, 0);
    CompanyVariantBind(nullptr);
    EXPECT_EQ(InterestInvoices().size(), 1u);
}

// The heading row names the period; the fee item follows a blank row.
TEST_F(InterestRun, HeadingAndFeeRows)
{
    Rules(12, 0, 0, 1, 0, 0, "ITEM2");
    Late(1001, "C1", 10000, DateRec{1, 5, 2024});
    Select("C1");
    PutU16(job.selection, ReportParamsVc::Option2, 1);
    PutDate(job.selection, ReportParamsVc::Date3, DateRec{3, 6, 2024});
    ASSERT_TRUE(RunMaintenance(job));
    std::vector<Made> made = InterestInvoices();
    ASSERT_EQ(made.size(), 1u);
    const Made &m = made[0];
    EXPECT_EQ(GetDate(m.head.data(), IVVc::InvDate).day, 3);
    ASSERT_EQ(m.rows.size(), 4u);
    EXPECT_EQ(Text(m.rows[0].data(), IVVc::Rows::Text).rfind(UiText(1169), 0), 0u)
        << Text(m.rows[0].data(), IVVc::Rows::Text);
    EXPECT_EQ(Text(m.rows[2].data(), IVVc::Rows::Text), " ");
    EXPECT_EQ(Text(m.rows[3].data(), IVVc::Rows::ItemCode), "ITEM2");
    EXPECT_EQ(Num(m.rows[3].data(), IVVc::Rows::Quantity), 1);
    EXPECT_EQ(Num(m.rows[3].data(), IVVc::Rows::Sum), 50);
}

// The run's last line says what it made or why it made nothing, by the
// furthest any customer came: none in the range, none in the group, none
// charged interest, no late invoice, interest below the minimum; and the
// numbers of the invoices it made.
TEST_F(InterestRun, TheRunTellsWhatItMadeOrWhyNot)
{
    auto told = [](const std::string &part) {
        for (const std::string &s : shown)
            if (s.rfind("Interest invoices: ", 0) == 0 && s.find(part) != std::string::npos) return true;
        return false;
    };
    auto run = [&](const char *customers, const std::string &part) {
        shown.clear();
        Select(customers);
        EXPECT_TRUE(RunMaintenance(job));
        EXPECT_EQ(shown.size(), 1u) << ::testing::PrintToString(shown);
        EXPECT_TRUE(told(part)) << part << " in " << ::testing::PrintToString(shown);
    };
    Late(1001, "C1", 10000, DateRec{1, 5, 2024});
    run("X1:X9", "nothing made; no customer has a code in the range");
    Charge("C1", 0);
    run("C1", "nothing made; no customer in the range has interest on");
    Charge("C1");
    Select("C1");
    PutText(job.selection, ReportParamsVc::SelText3, 5, "NOGRP");
    shown.clear();
    EXPECT_TRUE(RunMaintenance(job));
    EXPECT_TRUE(told("nothing made; no customer in the range is in the customer group")) << shown.size();
    run("C2", "nothing made; no invoice of a customer with interest on is overdue");
    Rules(12, 500, 0, 1);
    run("C1", "nothing made; the interest came to less than the minimum");
    EXPECT_TRUE(InterestInvoices().empty());

    Rules(12, 0, 0, 1);
    Late(1002, "C2", 10000, DateRec{1, 5, 2024});
    run("C1:C2", "2 made, unposted, among the sales invoices: numbers ");
    std::vector<Made> made = InterestInvoices();
    ASSERT_EQ(made.size(), 2u);
    const std::string numbers = std::to_string(GetU32(made[0].head.data(), IVVc::SerNr)) + ":" +
                                std::to_string(GetU32(made[1].head.data(), IVVc::SerNr));
    EXPECT_TRUE(told("numbers " + numbers + ".")) << ::testing::PrintToString(shown);
    for (const Made &m : made) {
        shown.clear();
        EXPECT_EQ(CheckedAsSaved(IVVc::Number, m.recid), 0)
            << "saved as made, " << m.Cust() << "'s invoice passes its own check; told " << ::testing::PrintToString(shown);
    }
}

// The run names each customer in its progress and stops at Esc before
// the next customer: the first customer's invoice is made whole, the
// second customer gets none, and the closing line says the user stopped
// the run.
TEST_F(InterestRun, EscStopsTheRunBetweenCustomers)
{
    Late(1001, "C1", 10000, DateRec{1, 5, 2024});
    Late(1002, "C2", 10000, DateRec{1, 5, 2024});
    Charge("C2");
    static std::vector<std::string> progress;
    static int polls;
    progress.clear();
    polls = 0;
    const RunOutcomeUiRec saved = RunOutcomeUi;
    RunOutcomeUi = RunOutcomeUiRec{};
    RunOutcomeUi.progress = [](const uint8_t *t) { progress.emplace_back(reinterpret_cast<const char *>(t + 1), t[0]); };
    RunOutcomeUi.poll = [] {
        if (++polls == 2) UserCancelFlag = 1;
    };
    shown.clear();
    Select("C1:C2");
    const bool ran = RunMaintenance(job);
    RunOutcomeUi = saved;
    EXPECT_TRUE(ran);
    std::vector<Made> made = InterestInvoices();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].Cust(), "C1");
    ASSERT_EQ(progress.size(), 1u);
    EXPECT_EQ(progress[0], "Interest invoices: C1");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("1 made"), std::string::npos) << shown[0];
    EXPECT_NE(shown[0].find("stopped by the user"), std::string::npos) << shown[0];
    EXPECT_EQ(UserCancelFlag, 0) << "the Esc is spent with the run";
}

// A period without both dates, or whose start is not before its end, is
// refused with text 1142 and makes nothing.
TEST_F(InterestRun, APeriodNotInOrderIsRefused)
{
    Late(1001, "C1", 10000, DateRec{1, 5, 2024});
    for (auto [from, to] : {std::pair{PeriodTo, PeriodTo}, std::pair{PeriodTo, PeriodFrom},
                            std::pair{DateRec{}, PeriodTo}, std::pair{PeriodFrom, DateRec{}}}) {
        shown.clear();
        Select("", from, to);
        EXPECT_FALSE(RunMaintenance(job));
        EXPECT_TRUE(WasShown(1142));
    }
    EXPECT_TRUE(InterestInvoices().empty());
    EXPECT_EQ(Notices(1001), -1);
}

// With no invoice number left the run stops with a message: nothing is
// made and no notice counted.
TEST_F(InterestRun, NoNumberLeftStopsTheRun)
{
    Late(1001, "C1", 10000, DateRec{1, 5, 2024});
    tableRows[InvSeriesBlk::Number].clear();
    AddSeriesRow(InvSeriesBlk::Number, 1001, 1001);
    Select();
    EXPECT_FALSE(RunMaintenance(job));
    EXPECT_TRUE(WasShown(12580));
    EXPECT_TRUE(InterestInvoices().empty());
    EXPECT_EQ(Notices(1001), -1);
}

// The interest settings' payment mode is the invoice's terms: a payment
// mode makes it due on its date, a terms code after the terms' days, and
// no mode leaves the customer's 30 days. Interest invoices are numbered
// through their own hint, in their own series, and leave the ordinary
// invoices' hint as it was.
TEST_F(InterestRun, TheSettingsPaymentModeIsTheTermsAndTheNumbersKeepTheirOwnHint)
{
    StoreTerms("10", 0, 10);
    tableRows[InvSeriesBlk::Number].clear();
    AddSeriesRow(InvSeriesBlk::Number, 1, 49999);
    AddSeriesRow(InvSeriesBlk::Number, 50000, 59999);
    uint8_t *series = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
    ASSERT_NE(series, nullptr);
    PutI32(series, SeriesDefaultsBlk::InvoiceHint, 1001);
    PutI32(series, SeriesDefaultsBlk::InterestHint, 50000);
    Late(1001, "C1", 10000, DateRec{1, 5, 2024});
    const struct {
        const char *mode, *terms;
        int32_t days;
    } cases[] = {{"K", "K", 0}, {"10", "10", 10}, {"", "30", 30}};
    int32_t serial = 50000;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        ChangeBlock(InterestBlk::Number, InterestBlk::Size,
                    [&](uint8_t *b) { PutText(b, InterestBlk::PayMode, 2, c.mode); });
        Select("C1");
        ASSERT_TRUE(RunMaintenance(job));
        std::vector<Made> made = InterestInvoices();
        ASSERT_FALSE(made.empty());
        const uint8_t *head = made.back().head.data();
        EXPECT_EQ(GetU16(head, IVVc::InvType), 4);
        EXPECT_EQ(Text(head, IVVc::PayTerms), c.terms);
        DateRec date = GetDate(head, IVVc::InvDate), due = GetDate(head, IVVc::PayDate);
        EXPECT_EQ(DateDiffDays(&due, &date), c.days);
        EXPECT_EQ(GetI32(head, IVVc::SerNr), serial);
        EXPECT_EQ(GetI32(series, SeriesDefaultsBlk::InterestHint), serial++);
        EXPECT_EQ(GetI32(series, SeriesDefaultsBlk::InvoiceHint), 1001) << "the ordinary invoices' hint";
    }
}

// A client's run is made at the server: the same invoice as locally.
TEST_F(InterestRun, AClientsRunIsMadeAtTheServer)
{
    Late(1001, "C1", 10000, DateRec{1, 5, 2024});
    Select("C1");
    RunMode = RunModeClient;
    TransportInstall(ServeHere, ServeHere);
    EXPECT_TRUE(RunMaintenanceCall(job));   // the client sends its job whole
    TransportInstall(nullptr, nullptr);
    RunMode = 0;
    OutputRunServices = OutputRunServicesRec{};
    std::vector<Made> made = InterestInvoices();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].Total(), 98.63);
    EXPECT_EQ(Notices(1001), 1);
}

}  // namespace
