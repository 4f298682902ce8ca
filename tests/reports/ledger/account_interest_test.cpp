// account_interest_test.cpp - the interest of an account over its
// postings (parts of constant balance, the inclusive day count the lines
// print and the interest uses), the rate record in force from a date,
// and reports 82 (rate accounts) and 83 (result by object) as goldens.
#include <algorithm>

#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/ledger/ledger_report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class AccountInterestTest : public LedgerReportFixture {
protected:
    uint8_t rate[IntRateVc::Size] = {};

    void TearDown() override {
        RecFreeMatrix(IntRateVc::Number, rate);
        LedgerReportFixture::TearDown();
    }
    // Account 1930 at rate code TEN (10 per cent from 1.1.2024): 3650 on
    // 11.1 and 21.1 by vouchers, 365 on 16.1 by a preliminary entry.
    void StoreBusyAccount() {
        StoreAccount("1930", "Deposit", 1);
        StoreAccount("2010", "Equity", 2);
        StoreRateRecord("TEN", {1, 1, 2024}, 10);
        Insert(Voucher::Number, 1, {11, 1, 2024}, "In", {{"1930", "", 3650}, {"2010", "", -3650}});
        Insert(SMVc::Number, 1, {16, 1, 2024}, "Prel", {{"1930", "", 365}, {"2010", "", -365}});
        Insert(Voucher::Number, 2, {21, 1, 2024}, "In", {{"1930", "", 3650}, {"2010", "", -3650}});
    }
    bool Span(const char *code, DateRec start, DateRec *end) {
        PString c;
        PStringFromC(c, code);
        RecFreeMatrix(IntRateVc::Number, rate);
        return InterestRateSpan(c, &start, rate, end);
    }
    // The interest of 1930 over from..to from the opening balance; the
    // balance at the end in *closing.
    double Interest(DateRec from, DateRec to, double opening, double *closing = nullptr, const char *on = "") {
        DateRec end;
        EXPECT_TRUE(Span("TEN", from, &end));
        PString account, objects;
        PStringFromC(account, "1930");
        PStringFromC(objects, on);
        PackedDecimal balance = Dec(opening), interest;
        DecSetZero(&interest);
        EXPECT_TRUE(AccountInterestOverPostings(account, objects, &from, &to, &balance, rate, &interest));
        if (closing) *closing = DecToDouble(&balance);
        return DecToDouble(&interest);
    }
    // The texts of the lines printed, one string per line joined by "|".
    static std::vector<std::string> Lines() {
        std::vector<std::string> out;
        for (const RecCall &c : RecLog) {
            if (c.name == "line") out.emplace_back();
            else if (c.name == "text" && !out.empty()) out.back() += c.text + "|";
        }
        return out;
    }
};

// balance x rate / 100 x days / 365, to the cent; no rate row, no interest.
TEST_F(AccountInterestTest, InterestForDays) {
    StoreRateRecord("TEN", {1, 1, 2024}, 10);
    DateRec end;
    ASSERT_TRUE(Span("TEN", {1, 1, 2024}, &end));
    PackedDecimal interest, used, balance = Dec(3650);
    InterestForDays(10, &balance, rate, &interest, &used);
    EXPECT_EQ(DecToDouble(&interest), 10);
    EXPECT_EQ(DecToDouble(&used), 10);
    balance = Dec(1000);
    InterestForDays(1, &balance, rate, &interest, &used);
    EXPECT_EQ(DecToDouble(&interest), 0.27);
    // 4.6849 is 4.68: one rounding, to the cent.
    balance = Dec(5700);
    StoreRateRecord("TWO", {1, 1, 2024}, 2);
    ASSERT_TRUE(Span("TWO", {1, 1, 2024}, &end));
    InterestForDays(15, &balance, rate, &interest, &used);
    EXPECT_EQ(DecToDouble(&interest), 4.68);
    balance = Dec(-5700);
    InterestForDays(15, &balance, rate, &interest, &used);
    EXPECT_EQ(DecToDouble(&interest), -4.68);
    RecFreeMatrix(IntRateVc::Number, rate);
    StoreRecord(IntRateVc::Number, [&](uint8_t *r) {
        PutText(r, IntRateVc::RateCode, 5, "NOROW");
        PutDate(r, IntRateVc::FromDate, DateRec{1, 1, 2024});
    });
    ASSERT_TRUE(Span("NOROW", {5, 1, 2024}, &end));
    InterestForDays(30, &balance, rate, &interest, &used);
    EXPECT_TRUE(DecIsZero(&interest));
    EXPECT_TRUE(DecIsBlank(&used));
}

// The record of the start date, else the last before it; the span ends
// the day before the code's next record; nothing before the first.
TEST_F(AccountInterestTest, RateSpans) {
    StoreRateRecord("Q", {1, 1, 2024}, 2);
    StoreRateRecord("Q", {1, 4, 2024}, 3);
    StoreRateRecord("R", {1, 2, 2024}, 9);
    DateRec end;
    EXPECT_TRUE(Span("Q", {1, 2, 2024}, &end));
    const DateRec march31{31, 3, 2024};
    EXPECT_EQ(DateCompare(&end, &march31), 0);
    EXPECT_TRUE(Span("Q", {1, 4, 2024}, &end));
    EXPECT_TRUE(DateIsEmpty(&end));
    uint8_t row[IntRateVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(IntRateVc::Number, rate, 0, row));
    const PackedDecimal three = GetDec(row, IntRateVc::Rows::Rate);
    EXPECT_EQ(DecToDouble(&three), 3);
    EXPECT_FALSE(Span("Q", {15, 12, 2023}, &end));
    const DateRec dayBefore{31, 12, 2023};
    EXPECT_EQ(DateCompare(&end, &dayBefore), 0);
    EXPECT_FALSE(Span("NONE", {1, 2, 2024}, &end));
    EXPECT_TRUE(DateIsEmpty(&end));
}

// Parts of constant balance: a voucher starts a new part on its date and
// the part before it is counted at the balance without it; the
// preliminary entry counts from its part's first day; every part counts
// its days inclusively, the last one too, and prints what it counts.
TEST_F(AccountInterestTest, PartsOfConstantBalance) {
    StoreBusyAccount();
    ASSERT_FALSE(HasFatalFailure());
    SetWord(P::ReportLayout, 1);
    const RepDevice *saved = RepDeviceInstall(OutPreview, &RecorderDevice);
    SetWord(P::OutputKind, OutPreview);
    RecLog.clear();
    double closing = 0;
    // 1..10 at 0, 11..20 at 4015 (11.00), 21..31 at 7665 for 11 days (23.10).
    EXPECT_DOUBLE_EQ(Interest({1, 1, 2024}, {31, 1, 2024}, 0, &closing), 34.10);
    EXPECT_EQ(closing, 7665);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "01.01.2024|10.01.2024|10|0,00|10,00|0,00|");
    EXPECT_EQ(lines[1], "11.01.2024|20.01.2024|10|4015,00|10,00|11,00|");
    EXPECT_EQ(lines[2], "21.01.2024|31.01.2024|11|7665,00|10,00|23,10|");
    // A voucher on the span's first day closes no part.
    RecLog.clear();
    EXPECT_DOUBLE_EQ(Interest({11, 1, 2024}, {20, 1, 2024}, 0), 11.00);
    EXPECT_EQ(Lines().size(), 1u);
    // A span without postings: one part of all its days.
    EXPECT_DOUBLE_EQ(Interest({1, 2, 2024}, {29, 2, 2024}, 7665), 60.90);
    RepDeviceInstall(OutPreview, saved);
}

// An opening-balance record moves the balance of the objects asked only
// when its own object list is theirs, as the balances hold it: one on
// "B,A" counts for "A,B", one on "A,B" not for "A" alone nor for the
// whole account. Voucher rows count for every subset of their objects.
// The balance the walk ends at is the change the ledger query sums.
TEST_F(AccountInterestTest, OpeningBalanceCountsOnItsOwnObjectList) {
    StoreAccount("1930", "Deposit", 1);
    StoreAccount("2010", "Equity", 2);
    StoreObjectType("DEP");
    StoreObjectType("PRJ");
    StoreNamedObject("A", "North", "DEP");
    StoreNamedObject("B", "Bridge", "PRJ");
    StoreRateRecord("TEN", {1, 1, 2024}, 10);
    Insert(OpenBalVc::Number, 1, {1, 1, 2024}, "Open", {{"1930", "", 100}, {"2010", "", -100}}, "A");
    Insert(OpenBalVc::Number, 2, {1, 1, 2024}, "Open", {{"1930", "", 1000}, {"2010", "", -1000}}, "B,A");
    Insert(Voucher::Number, 1, {11, 1, 2024}, "In", {{"1930", "A,B", 3650}, {"2010", "", -3650}});
    ASSERT_FALSE(HasFatalFailure());
    const std::pair<const char *, double> want[] = {{"A", 3750}, {"A,B", 4650}, {"B", 3650}, {"", 3650}};
    for (auto [objects, amount] : want) {
        double closing = 0;
        Interest({1, 1, 2024}, {31, 1, 2024}, 0, &closing, objects);
        EXPECT_EQ(closing, amount) << objects;
        PString account, list;
        PStringFromC(account, "1930");
        PStringFromC(list, objects);
        const DateRec from{1, 1, 2024}, to{31, 1, 2024};
        PackedDecimal change;
        ASSERT_TRUE(AccountObjectsBalance(account, list, &from, &to, nullptr, &change));
        EXPECT_EQ(DecToDouble(&change), amount) << objects;
    }
    // 1..10 at 100 (0.27), 11..31 at 3750 for 21 days (21.58).
    EXPECT_DOUBLE_EQ(Interest({1, 1, 2024}, {31, 1, 2024}, 0, nullptr, "A"), 21.85);
}

// Report 82 in both forms over February to June: two rate spans of 1910
// (2 and 3 per cent), an entry without rate records; report 83 on the
// preview (the period columns) and on paper, with and without the
// objects whose amounts are all zero.
TEST_F(AccountInterestTest, RateAccountAndObjectResultGoldens) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    // D3 carries only a balance account: zeros, or nothing with Option6.
    StoreNamedObject("D3", "Balance only", "DEP");
    Insert(Voucher::Number, 6, {10, 3, 2024}, "Objects", {{"1910", "D3", 10}, {"2010", "", -10}});
    for (uint16_t layout : {0, 1}) {
        Select(82, {1, 2, 2024}, {30, 6, 2024});
        SetWord(P::ReportLayout, layout);
        ExpectLedgerGolden(layout ? "rate82_parts" : "rate82_lines", RunText(Register100Report));
    }
    Select(82, {1, 2, 2024}, {30, 6, 2024});
    SetText(P::SelText1, "R2:R9");
    const std::string r2 = RunText(Register100Report);
    EXPECT_EQ(r2.find("Bank interest"), std::string::npos);
    EXPECT_NE(r2.find("No rate"), std::string::npos);

    for (uint16_t skip : {0, 1}) {
        Select(83, {1, 3, 2024}, {31, 3, 2024});
        SetWord(P::Option6, skip);
        ExpectLedgerGolden(skip ? "result83_skip_empty" : "result83_print", RunText(ObjectBalanceReport));
    }
    // The preview: income 200 and expense 20 of D1 in March, result 180;
    // no year columns.
    const RepDevice *saved = RepDeviceInstall(OutPreview, &RecorderDevice);
    Select(83, {1, 3, 2024}, {31, 3, 2024});
    SetWord(P::OutputKind, OutPreview);
    RecLog.clear();
    ReportJob job{TestJob};
    ObjectBalanceReport(job);
    RepDeviceInstall(OutPreview, saved);
    const std::vector<std::string> lines = Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "D1|North|200,00|20,00|180,00|"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "D2|South|400,00|0,00|400,00|"), lines.end());
    for (const std::string &l : lines) {
        EXPECT_EQ(l.find(UiText(5065)), std::string::npos);
        EXPECT_EQ(l.find("Closed project"), std::string::npos);
    }
}

}  // namespace
