// balances_test.cpp - balances at, before and between dates over vouchers
// and an sm1 of February and March 2024 posted through the hooks, the
// column amounts by report and layout, the fiscal year of a period and
// the month steps.
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"
#include "shell/shell.h"
#include "tests/output/test_job.h"
#include "tests/rules/rules_fixture.h"

namespace {

class ReportBalances : public RulesFixture {
protected:
    uint32_t nextSerial = 1;
    bool InstallRules() override {
        RulesInstall();
        return true;
    }
    void SetUp() override {
        RulesFixture::SetUp();
        UserCancelFlag = 0;
        AddFiscalYear(FiscalYearCodeFor(nullptr, 0, 0, 0), "2024", {1, 1, 2024}, {31, 12, 2024});
        StoreAccount("1000", "Sales", 0);
        StoreAccount("2000", "Bank", 0);
        StoreAccount("3000", "Idle", 0);
        // 1000: 10 on 10.2, 100 on 5.3, 7 on 20.3; kind 1 (sm1): 1000 on 10.3.
        Insert(TRVc::Number, {10, 2, 2024}, 10);
        Insert(TRVc::Number, {5, 3, 2024}, 100);
        Insert(SMVc::Number, {10, 3, 2024}, 1000);
        Insert(TRVc::Number, {20, 3, 2024}, 7);
        ASSERT_NE(LoggedInUser, nullptr);
        RecClear(ReportParamsVc::Number, TestJob);
        YearStart = DateRec{};
        YearToDate = 0;
    }
    void TearDown() override {
        RecClear(ReportParamsVc::Number, TestJob);
        YearStart = DateRec{};
        YearToDate = 0;
        UserCancelFlag = 0;
        RulesFixture::TearDown();
    }
    // Inserts a voucher or sm1 dated date moving amount from 2000 to 1000.
    void Insert(int reg, DateRec date, double amount) {
        RuleRecord r(reg);
        RecNewDefaults(reg, r.record);
        AddLedgerRow(reg, r.record, "1000", "", amount);
        AddLedgerRow(reg, r.record, "2000", "", -amount);
        PutU32(r.record, reg == TRVc::Number ? TRVc::SerNr : SMVc::SerNr, nextSerial++);
        PutDate(r.record, reg == TRVc::Number ? TRVc::TransDate : SMVc::Date, date);
        uint32_t recid = 0;
        int result = -2;
        RecInsertChecked(reg, r.record, &recid, &result);
        ASSERT_EQ(result, RecDone) << reg;
    }
    static double Value(const PackedDecimal *d) { return DecIsBlank(d) ? 0 : DecToDouble(d); }
    static void SetPeriod(int report, int layout, DateRec from, DateRec to) {
        PutU16(TestJob, ReportParamsVc::ReportNumber, (uint16_t)report);
        PutU16(TestJob, ReportParamsVc::ColumnLayout, (uint16_t)layout);
        PutDate(TestJob, ReportParamsVc::DateFrom, from);
        PutDate(TestJob, ReportParamsVc::DateTo, to);
    }
};

// Whole months come from the balance record, partial months from the
// postings; kind 1 only with secondKind, in both parts; an empty date and
// an account without postings give zero.
TEST_F(ReportBalances, AtBeforeAndChange) {
    struct Case {
        char what;   // a: at, b: before, c: change from `from`
        DateRec date, from;
        int second;
        const char *account;
        double want;
    } cases[] = {
        {'a', {31, 3, 2024}, {}, 0, "1000", 117},     // March's slot alone
        {'a', {31, 3, 2024}, {}, 1, "1000", 1117},
        {'a', {15, 3, 2024}, {}, 0, "1000", 110},     // February's slot plus 1..15 March
        {'a', {15, 3, 2024}, {}, 1, "1000", 1110},
        {'a', {9, 3, 2024}, {}, 1, "1000", 110},      // the sm1 of 10.3 not yet
        {'a', {29, 2, 2024}, {}, 0, "1000", 10},
        {'b', {1, 3, 2024}, {}, 0, "1000", 10},       // before 1.3 = at 29.2
        {'b', {16, 3, 2024}, {}, 1, "1000", 1110},
        {'c', {15, 3, 2024}, {1, 3, 2024}, 0, "1000", 100},
        {'c', {15, 3, 2024}, {1, 3, 2024}, 1, "1000", 1100},
        {'c', {31, 3, 2024}, {6, 3, 2024}, 0, "1000", 7},
        {'a', {31, 3, 2024}, {}, 0, "2000", -117},
        {'a', {}, {}, 1, "1000", 0},                  // empty date
        {'b', {}, {}, 1, "1000", 0},
        {'a', {31, 3, 2024}, {}, 1, "3000", 0},       // no balance record
    };
    for (const Case &k : cases) {
        PString account, none;
        PStringFromC(account, k.account);
        none[0] = 0;
        PackedDecimal out;
        if (k.what == 'a') AccountBalanceAt(account, none, &k.date, 0, k.second, &out);
        else if (k.what == 'b') AccountBalanceBefore(account, none, &k.date, 0, k.second, &out);
        else AccountBalanceChange(account, none, &k.from, &k.date, 0, k.second, &out);
        EXPECT_DOUBLE_EQ(Value(&out), k.want) << k.what << " " << k.date.day << "." << k.date.month << " "
                                              << k.second << " " << k.account;
    }
    PString account, none;
    PStringFromC(account, "3000");
    none[0] = 0;
    PackedDecimal out;
    DateRec d{1, 3, 2024};
    EXPECT_FALSE(AccountOpeningBalance(account, none, &d, 0, 0, &out));
    EXPECT_TRUE(DecIsBlank(&out));
    PStringFromC(account, "1000");
    ASSERT_TRUE(AccountOpeningBalance(account, none, &d, 0, 0, &out));
    EXPECT_DOUBLE_EQ(Value(&out), 10);
}

// The column amounts by report and layout over a period of March, a
// budget of 310 for January and 290 for March (1..15 March: 15/31 of it),
// and the fiscal year's flag; an account without a balance record gives
// three zeros even with a budget, and a report without columns zeros.
TEST_F(ReportBalances, ColumnAmountsByReportAndLayout) {
    for (int reg : {BUVc::Number, BPVc::Number}) {
        const bool first = reg == BUVc::Number;
        for (const char *account : {"1000", "3000"})
            StoreRecord(reg, [&](uint8_t *r) {
                PutText(r, first ? BUVc::Account : BPVc::Account, 10, account);
                PutDate(r, first ? BUVc::EndDate : BPVc::EndDate, {31, 3, 2024});
                uint8_t row[BUVc::Rows::Size] = {};
                PutDate(row, BUVc::Rows::FromDate, {1, 3, 2024});
                PutDec(row, BUVc::Rows::Amount, Dec(first ? 310 : 620));
                ASSERT_TRUE(MatrixRowPut(reg, 0, r, 0, row));
            });
    }
    struct Case {
        int report, layout, second;
        DateRec from, to;
        double a, b, c, yearToDate;
    } cases[] = {
        {20, 0, 0, {1, 1, 2024}, {15, 3, 2024}, 0, 110, 0, 0},    // from the year's first day: b only
        {20, 0, 0, {1, 3, 2024}, {15, 3, 2024}, 100, 110, 0, 1},  // a the period, b the year to date
        {22, 0, 1, {1, 3, 2024}, {31, 3, 2024}, 1107, 1117, 0, 1},
        {22, 1, 0, {1, 3, 2024}, {31, 3, 2024}, 0, 107, 0, 0},    // a year earlier: nothing
        {47, 2, 0, {1, 3, 2024}, {15, 3, 2024}, 150, 100, 0, 0},  // 15/31 of 310
        {51, 3, 0, {1, 3, 2024}, {15, 3, 2024}, 300, 100, 0, 0},
        {22, 4, 0, {1, 3, 2024}, {31, 3, 2024}, 0, 0, 0, 0},
        {21, 0, 0, {1, 3, 2024}, {15, 3, 2024}, 10, 100, 110, 0},
        {21, 2, 0, {1, 3, 2024}, {15, 3, 2024}, 10, 110, 160, 0},
        {37, 3, 0, {1, 3, 2024}, {15, 3, 2024}, 10, 110, 310, 0},
        {21, 1, 0, {1, 3, 2024}, {15, 3, 2024}, 0, 0, 0, 0},
        {23, 2, 0, {1, 3, 2024}, {15, 3, 2024}, 0, 0, 0, 0},
        {23, 0, 0, {1, 3, 2024}, {15, 3, 2024}, 10, 100, 110, 0},
        {5, 0, 0, {1, 3, 2024}, {15, 3, 2024}, 0, 0, 0, 0},
    };
    for (const Case &k : cases) {
        SetPeriod(k.report, k.layout, k.from, k.to);
        PutU16(TestJob, ReportParamsVc::SecondKind, (uint16_t)k.second);
        ReportFiscalYear(TestJob);
        EXPECT_EQ(YearToDate, k.yearToDate) << k.report << "/" << k.layout;
        for (const char *code : {"1000", "3000"}) {
            PString account, none;
            PStringFromC(account, code);
            none[0] = 0;
            PackedDecimal a, b, c;
            AccountColumnAmounts(account, none, &a, &b, &c);
            const bool real = code[0] == '1';
            EXPECT_DOUBLE_EQ(Value(&a), real ? k.a : 0) << k.report << "/" << k.layout << " " << code;
            EXPECT_DOUBLE_EQ(Value(&b), real ? k.b : 0) << k.report << "/" << k.layout << " " << code;
            EXPECT_DOUBLE_EQ(Value(&c), real ? k.c : 0) << k.report << "/" << k.layout << " " << code;
        }
    }
    SetPeriod(20, 0, {1, 3, 2024}, {31, 3, 2024});
    PString account, none;
    PStringFromC(account, "1000");
    none[0] = 0;
    PackedDecimal opening, movement, closing;
    AccountPeriodAmounts(account, none, &opening, &movement, &closing);
    EXPECT_DOUBLE_EQ(Value(&opening), 10);
    EXPECT_DOUBLE_EQ(Value(&movement), 107);
    EXPECT_DOUBLE_EQ(Value(&closing), 117);
}

// The fiscal year only for the reports that show it, only for a period
// inside a year; the month steps over year ends, short months and leap
// years, and impossible months.
TEST_F(ReportBalances, FiscalYearAndMonthSteps) {
    struct Year {
        int report, layout;
        DateRec from;
        uint16_t startYear;
        uint8_t toDate;
    } years[] = {
        {6, 2, {1, 2, 2024}, 2024, 1}, {22, 0, {1, 2, 2024}, 2024, 1}, {22, 1, {1, 2, 2024}, 0, 0},
        {21, 0, {1, 2, 2024}, 0, 0},   {20, 0, {1, 2, 2025}, 0, 0},    {20, 0, {}, 0, 0},
    };
    for (const Year &y : years) {
        YearToDate = 9;
        SetPeriod(y.report, y.layout, y.from, {});
        ReportFiscalYear(TestJob);
        EXPECT_EQ(YearStart.year, y.startYear) << y.report;
        EXPECT_EQ(YearToDate, y.toDate) << y.report;
    }
    struct Step {
        DateRec date, next, end;
    } steps[] = {
        {{15, 12, 2024}, {15, 1, 2025}, {31, 12, 2024}}, {{31, 1, 2024}, {29, 2, 2024}, {31, 1, 2024}},
        {{10, 2, 2024}, {10, 3, 2024}, {29, 2, 2024}},   {{10, 2, 2100}, {10, 3, 2100}, {28, 2, 2100}},
        {{10, 2, 2000}, {10, 3, 2000}, {29, 2, 2000}},   {{1, 13, 2024}, {}, {}},
        {{0, 0, 0}, {}, {}},
    };
    for (const Step &s : steps) {
        DateRec next, end;
        DateNextMonth(&s.date, &next);
        DateMonthEnd(&s.date, &end);
        EXPECT_EQ(DateCompare(&next, &s.next), 0) << s.date.day << "." << s.date.month << "." << s.date.year;
        EXPECT_EQ(DateCompare(&end, &s.end), 0) << s.date.day << "." << s.date.month << "." << s.date.year;
    }
}

}  // namespace
