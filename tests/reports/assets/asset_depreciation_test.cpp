// asset_depreciation_test.cpp - the two depreciation methods, an asset's
// amounts over a period along its rows, and the depreciation voucher:
// stored records that post and balance, the 80-row split, an asset whose
// objects cannot be one list, a voucher that cannot be numbered and one
// dated in the voucher lock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "operations/run_outcome.h"
#include "output/print_services_install.h"
#include "rules/ledger.h"
#include "rules/ledger_print.h"
#include "rules/print_services.h"
#include "tests/output/test_job.h"
#include "tests/reports/assets/asset_fixture.h"

namespace {

class AssetDepreciationTest : public AssetFixture {
protected:
    void SetUp() override {
        AssetFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreAssetCompany();
    }
    static double Method(void (*f)(const PackedDecimal *, const PackedDecimal *, int32_t, int32_t, PackedDecimal *),
                         double value, double rate, int32_t from, int32_t to) {
        PackedDecimal v = Dec(value), r = Dec(rate), out;
        f(&v, &r, from, to, &out);
        return DecToDouble(&out);
    }
    // The stored register-9 records in number order.
    std::vector<std::vector<uint8_t>> Vouchers() {
        std::vector<std::vector<uint8_t>> out;
        RuleRecord r(SMVc::Number);
        const uint32_t n = RegRecordCount(SMVc::Number);
        for (uint32_t p = 1; p <= n; p++) {
            uint32_t recid = 0;
            if (!RecReadAt(SMVc::Number, int32_t(p), r.record, &recid)) continue;
            std::vector<uint8_t> v(r.record, r.record + SMVc::Size);
            const int32_t rows = MatrixRowCount(SMVc::Number, 0, r.record);
            v.resize(SMVc::Size + (size_t)rows * AccountRow::Size);
            for (int32_t i = 0; i < rows; i++)
                EXPECT_TRUE(MatrixRowRead(SMVc::Number, r.record, i, v.data() + SMVc::Size + i * AccountRow::Size));
            RecFreeMatrix(SMVc::Number, r.record);
            out.push_back(v);
        }
        return out;
    }
    static int32_t RowsOf(const std::vector<uint8_t> &v) {
        return int32_t((v.size() - SMVc::Size) / AccountRow::Size);
    }
    static const uint8_t *RowOf(const std::vector<uint8_t> &v, int32_t i) {
        return v.data() + SMVc::Size + i * AccountRow::Size;
    }
    // The sub-ledger balance of (account, objects) at the end of date's month.
    double Posted(const char *account, const char *objects, DateRec date) {
        RuleRecord r(BLVc::Number);
        PutText(r.record, BLVc::Account, 10, account);
        PutText(r.record, BLVc::Objects, 30, objects);
        uint32_t recid = 0, position = 0;
        if (!RecFind(BLVc::Number, r.record, 2, 1, &recid, &position)) return 0;
        PackedDecimal d;
        PeriodBalanceAt(RecMatrixHandle(BLVc::Number, r.record), BalanceKinds, KindSubLedger, MonthIndex(&date), &d);
        RecFreeMatrix(BLVc::Number, r.record);
        return DecIsBlank(&d) ? 0 : DecToDouble(&d);
    }
    void WholeYear() {
        ResetParams();
        SetPeriod(InvoiceCo::YearStart, InvoiceCo::YearEnd);
    }
};

// Straight line takes its share of the yearly rate per month; declining
// balance takes the rate of what is left year by year; both take nothing
// for an empty span.
TEST_F(AssetDepreciationTest, Methods) {
    EXPECT_DOUBLE_EQ(Method(StraightLineDepreciation, 12000, 20, 0, 5), 1200);
    EXPECT_DOUBLE_EQ(Method(StraightLineDepreciation, 12000, 20, 5, 4), 0);
    EXPECT_DOUBLE_EQ(Method(DecliningBalanceDepreciation, 10000, 20, 0, 11), 2000);
    EXPECT_DOUBLE_EQ(Method(DecliningBalanceDepreciation, 10000, 20, 0, 23), 3600);
    EXPECT_DOUBLE_EQ(Method(DecliningBalanceDepreciation, 10000, 20, 0, 17), 2800);   // a half second year
    EXPECT_DOUBLE_EQ(Method(DecliningBalanceDepreciation, 10000, 20, 3, 2), 0);
}

// One model over a segment: the months before the period go to the
// accumulated amount, those in it to the period; declining balance lowers
// the value; the share never passes the value; rounding to the model's
// decimals; an unknown model adds nothing.
TEST_F(AssetDepreciationTest, ModelOverSegment) {
    PString db, sl30, none;
    PStringFromC(db, "DB20");
    PStringFromC(sl30, "SL30");
    PStringFromC(none, "NONE");
    const DateRec jan23{1, 1, 2023}, jan24{1, 1, 2024}, dec24{1, 12, 2024};
    PackedDecimal value = Dec(10000), acc, period;
    DecSetZero(&acc);
    DecSetZero(&period);
    AssetDepreciation(db, MonthIndex(&jan23), MonthIndex(&jan24), MonthIndex(&dec24), &value, &acc, &period);
    EXPECT_DOUBLE_EQ(DecToDouble(&acc), 2000);
    EXPECT_DOUBLE_EQ(DecToDouble(&period), 1600);
    EXPECT_DOUBLE_EQ(DecToDouble(&value), 6400);

    // From before the period only: all of it is accumulated.
    value = Dec(10000);
    DecSetZero(&acc);
    DecSetZero(&period);
    AssetDepreciation(db, MonthIndex(&jan23), MonthIndex(&dec24), MonthIndex(&jan24), &value, &acc, &period);
    EXPECT_DOUBLE_EQ(DecToDouble(&acc), 2133.33);   // 2 000 + 1 600 / 12, to two decimals
    EXPECT_DOUBLE_EQ(DecToDouble(&period), 0);

    // 30 % a year for five years passes the value: capped, whole units.
    value = Dec(1000);
    DecSetZero(&acc);
    DecSetZero(&period);
    const DateRec jan20{1, 1, 2020}, jul20{1, 7, 2020};
    AssetDepreciation(sl30, MonthIndex(&jan20), MonthIndex(&jan24), MonthIndex(&dec24), &value, &acc, &period);
    EXPECT_DOUBLE_EQ(DecToDouble(&acc), 1000);
    EXPECT_DOUBLE_EQ(DecToDouble(&period), 0);
    value = Dec(1001);
    DecSetZero(&acc);
    DecSetZero(&period);
    AssetDepreciation(sl30, MonthIndex(&jan20), MonthIndex(&jan20), MonthIndex(&jul20), &value, &acc, &period);
    EXPECT_DOUBLE_EQ(DecToDouble(&period), 175);   // 175.175 to whole units

    value = Dec(1000);
    DecSetZero(&acc);
    DecSetZero(&period);
    AssetDepreciation(none, MonthIndex(&jan20), MonthIndex(&jan24), MonthIndex(&dec24), &value, &acc, &period);
    EXPECT_DOUBLE_EQ(DecToDouble(&acc) + DecToDouble(&period), 0);
    EXPECT_DOUBLE_EQ(DecToDouble(&value), 1000);
}

// An asset along its rows: January to June; the second book; a purchase
// within the period from its month; a value change within it; a wholly
// depreciated asset; the amounts never pass the value over the years.
TEST_F(AssetDepreciationTest, PeriodAmounts) {
    AssetAmounts a = AmountsOf("A1", {1, 1, 2024}, {30, 6, 2024});
    EXPECT_DOUBLE_EQ(D(a.valueBefore), 12000);
    EXPECT_DOUBLE_EQ(D(a.deprBefore), 0);
    EXPECT_DOUBLE_EQ(D(a.deprPeriod), 1200);

    a = AmountsOf("A1", {1, 1, 2024}, {31, 12, 2024}, 1);   // book 2: declining balance
    EXPECT_DOUBLE_EQ(D(a.deprPeriod), 2400);
    a = AmountsOf("A2", {1, 1, 2024}, {31, 12, 2024});
    EXPECT_DOUBLE_EQ(D(a.deprBefore), 2000);
    EXPECT_DOUBLE_EQ(D(a.deprPeriod), 1600);

    // Bought 1.4, raised from 6 000 to 9 000 on 1.7: April to June on
    // 6 000, July to December on 9 000.
    a = AmountsOf("A3", {1, 1, 2024}, {30, 6, 2024});
    EXPECT_DOUBLE_EQ(D(a.deprPeriod), 300);
    EXPECT_DOUBLE_EQ(D(a.valueChange), 0);
    a = AmountsOf("A3", {1, 1, 2024}, {31, 12, 2024});
    EXPECT_DOUBLE_EQ(D(a.valueBefore), 6000);
    EXPECT_DOUBLE_EQ(D(a.valueChange), 3000);
    EXPECT_DOUBLE_EQ(D(a.deprPeriod), 300 + 900);
    // The raise lies before a later period: it is part of the value before.
    a = AmountsOf("A3", {1, 1, 2025}, {31, 12, 2025});
    EXPECT_DOUBLE_EQ(D(a.valueBefore), 9000);
    EXPECT_DOUBLE_EQ(D(a.valueChange), 0);
    EXPECT_DOUBLE_EQ(D(a.deprBefore), 1200);
    EXPECT_DOUBLE_EQ(D(a.deprPeriod), 1800);

    a = AmountsOf("A4", {1, 1, 2024}, {31, 12, 2024});
    EXPECT_DOUBLE_EQ(D(a.deprBefore), 1000);
    EXPECT_DOUBLE_EQ(D(a.deprPeriod), 0);

    // Five years of 20 %: 2 400 a year until the value is gone.
    const double want[] = {2400, 2400, 2400, 2400, 2400, 0};
    for (int y = 0; y < 6; y++) {
        SCOPED_TRACE(2024 + y);
        a = AmountsOf("A1", {1, 1, uint16_t(2024 + y)}, {31, 12, uint16_t(2024 + y)});
        EXPECT_DOUBLE_EQ(D(a.deprPeriod), want[y]);
        EXPECT_LE(D(a.deprBefore) + D(a.deprPeriod), 12000);
    }
}

// Months run past 2020 by the calendar: an asset bought in 2031
// depreciates by its real months, not one month of a clamped year.
TEST_F(AssetDepreciationTest, PeriodAfter2030) {
    StoreAsset("A7", "MACH", {1, 1, 2031}, 12000, {{{1, 1, 2031}, "SL20"}});
    AssetAmounts a = AmountsOf("A7", {1, 1, 2031}, {30, 6, 2031});
    EXPECT_DOUBLE_EQ(D(a.deprPeriod), 1200);
    a = AmountsOf("A7", {1, 7, 2032}, {31, 12, 2032});
    EXPECT_DOUBLE_EQ(D(a.deprBefore), 2400 + 1200);
    EXPECT_DOUBLE_EQ(D(a.deprPeriod), 1200);
    // A row dated after the period end ends the asset's rows.
    a = AmountsOf("A7", {1, 1, 2030}, {31, 12, 2030});
    EXPECT_DOUBLE_EQ(D(a.deprBefore) + D(a.deprPeriod), 0);
}

// The stored voucher of 2024: the groups' accounts with their objects
// merged, rows of the same account and objects added together, excluded
// and disposed assets left out; numbered, dated today, balanced, posted,
// and passing the voucher check.
TEST_F(AssetDepreciationTest, StoredVoucherPostsAndBalances) {
    WholeYear();
    ASSERT_TRUE(DepreciationVoucherRows(TestJob, 1));
    const auto vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    const std::vector<uint8_t> &v = vouchers[0];
    EXPECT_NE(GetU32(v.data(), SMVc::SerNr), SerialNone);
    const DateRec date = GetDate(v.data(), SMVc::Date);
    EXPECT_EQ(DateCompare(&date, &ReportCo::Today), 0);
    ASSERT_EQ(RowsOf(v), 4);
    struct Want {
        const char *account, *objects;
        double amount;
    } want[] = {{AssetCo::Cost, "K1", 3600}, {AssetCo::Accumulated, "K1", -3600},
                {AssetCo::Cost, "P1", 1600}, {AssetCo::Accumulated, "P1", -1600}};
    for (int i = 0; i < 4; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Text(RowOf(v, i), AccountRow::Account), want[i].account);
        EXPECT_EQ(Text(RowOf(v, i), AccountRow::Objects), want[i].objects);
        EXPECT_DOUBLE_EQ(D(GetDec(RowOf(v, i), AccountRow::Amount)), want[i].amount);
    }
    EXPECT_EQ(Text(RowOf(v, 0), AccountRow::Text), "Depreciation cost");
    const PackedDecimal debit = GetDec(v.data(), SMVc::Debit), balance = GetDec(v.data(), SMVc::Balance);
    EXPECT_DOUBLE_EQ(DecToDouble(&debit), 5200);
    EXPECT_TRUE(DecIsZero(&balance));

    {
        // Saved as made, the voucher passes the check a user's save runs.
        RuleRecord r(SMVc::Number);
        uint32_t recid = 0;
        ASSERT_TRUE(RecReadAt(SMVc::Number, 1, r.record, &recid));
        RecFreeMatrix(SMVc::Number, r.record);
        shown.clear();
        EXPECT_EQ(CheckedAsSaved(SMVc::Number, recid), 0) << ::testing::PrintToString(shown);
    }

    EXPECT_DOUBLE_EQ(Posted(AssetCo::Cost, "", ReportCo::Today), 5200);
    EXPECT_DOUBLE_EQ(Posted(AssetCo::Cost, "K1", ReportCo::Today), 3600);
    EXPECT_DOUBLE_EQ(Posted(AssetCo::Accumulated, "P1", ReportCo::Today), -1600);
}

// A record goes out as soon as it holds 80 rows, before the next asset's
// rows; the rest goes out at the end; each is balanced on its own.
TEST_F(AssetDepreciationTest, RecordsOfEightyRows) {
    for (int i = 1; i <= 41; i++) {
        char code[8], objects[8];
        std::snprintf(code, sizeof code, "B%02d", i);
        std::snprintf(objects, sizeof objects, "O%02d", i);
        StoreAsset(code, "CARS", {1, 1, 2024}, 1200, {{{1, 1, 2024}, "SL20"}}, objects);
    }
    WholeYear();
    ASSERT_TRUE(DepreciationVoucherRows(TestJob, 1));
    const auto vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 2u);
    EXPECT_EQ(RowsOf(vouchers[0]), 80);
    EXPECT_EQ(RowsOf(vouchers[1]), 6);
    EXPECT_NE(GetU32(vouchers[0].data(), SMVc::SerNr), GetU32(vouchers[1].data(), SMVc::SerNr));
    for (const auto &v : vouchers) {
        const PackedDecimal balance = GetDec(v.data(), SMVc::Balance);
        EXPECT_TRUE(DecIsZero(&balance));
    }
    EXPECT_EQ(Text(RowOf(vouchers[1], 0), AccountRow::Objects), "O39");
    EXPECT_DOUBLE_EQ(Posted(AssetCo::Cost, "", ReportCo::Today), 5200 + 41 * 240);
}

// The stored run ends with one line: the voucher it made and its number,
// or, for a period before every asset, that it made nothing and why.
TEST_F(AssetDepreciationTest, TheStoredRunSaysWhatItMadeOrWhyNothing) {
    // Without a status line every closing line comes as a message.
    const RunOutcomeUiRec savedUi = RunOutcomeUi;
    RunOutcomeUi = RunOutcomeUiRec{};
    ResetParams();
    SetPeriod({1, 1, 2010}, {31, 12, 2010});
    shown.clear();
    EXPECT_TRUE(DepreciationVoucherRows(TestJob, 1));
    EXPECT_EQ(RegRecordCount(SMVc::Number), 0u);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Nothing made: no asset has depreciation to book up to the date given");

    WholeYear();
    shown.clear();
    ASSERT_TRUE(DepreciationVoucherRows(TestJob, 1));
    const auto vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "1 depreciation voucher made, numbers " +
                            std::to_string(GetU32(vouchers[0].data(), SMVc::SerNr)));
    RunOutcomeUi = savedUi;
}

// An asset whose objects and its group's name more than five codes stops
// the run before anything is stored, naming the asset.
TEST_F(AssetDepreciationTest, TooManyObjectsStoresNothing) {
    WithoutRules([this] { AddGroup("FULL", "K1,K2,K3,K4,K5"); });
    StoreAsset("Z9", "FULL", {1, 1, 2024}, 1000, {{{1, 1, 2024}, "SL20"}}, "P1");
    WholeYear();
    shown.clear();
    EXPECT_FALSE(DepreciationVoucherRows(TestJob, 1));
    EXPECT_EQ(RegRecordCount(SMVc::Number), 0u);
    EXPECT_DOUBLE_EQ(Posted(AssetCo::Cost, "", ReportCo::Today), 0);
    ASSERT_FALSE(shown.empty());
    EXPECT_NE(shown.back().find("Z9"), std::string::npos) << shown.back();

    // Five codes together are one list.
    ChangeAssetObjects("Z9", "K5");
    EXPECT_TRUE(DepreciationVoucherRows(TestJob, 1));
    EXPECT_EQ(RegRecordCount(SMVc::Number), 1u);
}

// The printed voucher with no report printing installed: the run says
// so and fails before it reads an asset, and prints and stores nothing;
// installed, the same run prints the voucher's rows.
TEST_F(AssetDepreciationTest, PrintedVoucherWithoutPrintingFailsAndTouchesNothing) {
    static int drafts;
    drafts = 0;
    LedgerPrint.accountRows = [](const uint8_t *) { drafts++; };
    WholeYear();
    PrintServices = PrintServicesRec{};
    shown.clear();
    EXPECT_FALSE(DepreciationVoucherRows(TestJob, 0));
    EXPECT_TRUE(WasShown(Texts::FunctionNotYet));
    EXPECT_EQ(drafts, 0);
    EXPECT_EQ(RegRecordCount(SMVc::Number), 0u);

    PrintServicesInstall();
    shown.clear();
    EXPECT_TRUE(DepreciationVoucherRows(TestJob, 0));
    EXPECT_EQ(drafts, 1);
    EXPECT_FALSE(WasShown(Texts::FunctionNotYet));
    EXPECT_EQ(RegRecordCount(SMVc::Number), 0u) << "printing stores nothing";
}

// With no free number of register 9 nothing is stored and the run says so.
TEST_F(AssetDepreciationTest, NoFreeNumberStoresNothing) {
    WithoutRules([this] { AddSeriesRow(SubLedgerSeriesBlk::Number, 1, 10, {1, 1, 2020}, {31, 12, 2020}); });
    WholeYear();
    shown.clear();
    EXPECT_FALSE(DepreciationVoucherRows(TestJob, 1));
    EXPECT_EQ(RegRecordCount(SMVc::Number), 0u);
    EXPECT_DOUBLE_EQ(Posted(AssetCo::Cost, "", ReportCo::Today), 0);
    EXPECT_FALSE(shown.empty());
}

// With the vouchers locked to today, the voucher the run would date today
// is not stored, and the run says why.
TEST_F(AssetDepreciationTest, TodayInTheVoucherLockStoresNothing) {
    WithoutRules([this] {
        std::vector<uint8_t> locks(DateLockBlk::Size, 0);
        PutDate(locks.data(), DateLockBlk::LedgerLock, ReportCo::Today);
        StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
    });
    WholeYear();
    shown.clear();
    EXPECT_FALSE(DepreciationVoucherRows(TestJob, 1));
    EXPECT_EQ(RegRecordCount(SMVc::Number), 0u);
    EXPECT_DOUBLE_EQ(Posted(AssetCo::Cost, "", ReportCo::Today), 0);
    EXPECT_TRUE(WasShown(Texts::DateLocked)) << ::testing::PrintToString(shown);
}

// An asset that depreciates while its group lacks an account on either
// side, or names one the chart does not hold, stops the run before
// anything is stored, and the message names the group and what it lacks;
// an asset with nothing to depreciate in the period needs no accounts.
TEST_F(AssetDepreciationTest, AGroupWithoutAccountsStoresNothingAndSaysWhy) {
    struct Case {
        const char *group, *cost, *accumulated, *want;
    } cases[] = {
        {"NC", "", AssetCo::Accumulated, "depreciation-cost"},
        {"NA", AssetCo::Cost, "", "accumulated-depreciation"},
        {"NU", AssetCo::Cost, "9999", "9999"},
    };
    WholeYear();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.group);
        RegDeleteAll(AssetVc::Number);
        WithoutRules([&] {
            AddRow(AssetGroupBlk::Number, AssetGroupBlk::Rows::Size, [&](uint8_t *r) {
                PutText(r, AssetGroupBlk::Rows::Group, 5, c.group);
                PutText(r, AssetGroupBlk::Rows::DeprCostAcc, 10, c.cost);
                PutText(r, AssetGroupBlk::Rows::AccDeprAcc, 10, c.accumulated);
            });
        });
        StoreAsset("Z1", c.group, {1, 1, 2024}, 1000, {{{1, 1, 2024}, "SL20"}});
        shown.clear();
        EXPECT_FALSE(DepreciationVoucherRows(TestJob, 1));
        EXPECT_EQ(RegRecordCount(SMVc::Number), 0u);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_NE(shown[0].find(c.want), std::string::npos) << shown[0];
        EXPECT_NE(shown[0].find(c.group), std::string::npos) << shown[0];
    }
    // Bought after the period: nothing to post, so nothing to refuse; the
    // run only says that it made nothing.
    RegDeleteAll(AssetVc::Number);
    StoreAsset("Z1", "NC", {1, 1, 2026}, 1000, {{{1, 1, 2026}, "SL20"}});
    shown.clear();
    EXPECT_TRUE(DepreciationVoucherRows(TestJob, 1));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("Nothing made: ", 0), 0u) << shown[0];
}

}  // namespace
