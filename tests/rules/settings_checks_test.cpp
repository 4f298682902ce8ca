// Settings blocks are checked as they are stored: duplicate codes, missing
// accounts, fiscal years that do not follow one another, number ranges
// that overlap; new fiscal years get order codes that keep their order.
#include <set>

#include "core/ui_text.h"
#include "rules/hooks.h"
#include "rules/series_terms.h"
#include "rules/settings_checks.h"
#include "tests/rules/rules_fixture.h"

namespace {

class SettingsChecks : public RulesFixture {
protected:
    bool InstallRules() override {
        RulesInstall();
        return true;
    }
    static std::string TextOf(int n) {
        char text[256];
        GetUiTextC(text, n);
        return text;
    }
    // The row and column the last refusal named.
    static std::pair<int, int> At() { return {FieldErrorPos.row, FieldErrorPos.column}; }

    // n fiscal years in a row, calendar years from first, without codes
    // except those given.
    static std::vector<uint8_t> Years(int n, int first, std::map<int, uint16_t> codes = {}) {
        std::vector<uint8_t> rows((size_t)n * FiscalYearEntry::Size, 0);
        for (int i = 0; i < n; i++) {
            uint8_t *r = rows.data() + (size_t)i * FiscalYearEntry::Size;
            PutU16(r, FiscalYearEntry::OrderCode, codes.count(i) ? codes[i] : 0);
            PutText(r, FiscalYearEntry::YearCode, 5, std::to_string(first + i).c_str());
            PutDate(r, FiscalYearEntry::StartDate, DateRec{1, 1, (uint16_t)(first + i)});
            PutDate(r, FiscalYearEntry::EndDate, DateRec{31, 12, (uint16_t)(first + i)});
        }
        return rows;
    }
    static uint16_t Code(const std::vector<uint8_t> &rows, int i) {
        return GetU16(rows.data() + (size_t)i * FiscalYearEntry::Size, FiscalYearEntry::OrderCode);
    }
    static std::vector<uint8_t> Series(std::initializer_list<std::pair<uint32_t, uint32_t>> ranges) {
        std::vector<uint8_t> rows;
        for (auto [first, last] : ranges) {
            rows.resize(rows.size() + SeriesRow::Size, 0);
            PutU32(rows.data() + rows.size() - SeriesRow::Size, SeriesRow::FirstNr, first);
            PutU32(rows.data() + rows.size() - SeriesRow::Size, SeriesRow::LastNr, last);
        }
        return rows;
    }
};

// Fiscal years: a gap between years, a year ending before it begins, an
// empty or repeated year code; each refused at its row and column, and
// through the store nothing of a refused block is kept.
TEST_F(SettingsChecks, FiscalYearsMustFollowOneAnother) {
    std::vector<uint8_t> rows = Years(2, 1995);
    PutDate(rows.data() + FiscalYearEntry::Size, FiscalYearEntry::StartDate, DateRec{2, 1, 1996});
    EXPECT_NE(CheckFiscalYearsBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(FieldErrorPos.row, 1);
    EXPECT_EQ(FieldErrorPos.column, FiscalYearEntry::StartDate);
    EXPECT_EQ(SettingsBlockStore(FiscalYearBlk::Number, rows.data(), (uint32_t)rows.size()), RecRefused);
    DateRec may{5, 5, 1995};
    EXPECT_EQ(YearCodeOfDate(&may), YearCodeNone);

    rows = Years(1, 1995);
    PutDate(rows.data(), FiscalYearEntry::EndDate, DateRec{1, 1, 1995});
    EXPECT_NE(CheckFiscalYearsBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(At(), std::make_pair(0, (int)FiscalYearEntry::EndDate));

    rows = Years(2, 1995);
    PutText(rows.data() + FiscalYearEntry::Size, FiscalYearEntry::YearCode, 5, "1995");
    EXPECT_NE(CheckFiscalYearsBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(At(), std::make_pair(1, (int)FiscalYearEntry::YearCode));
    PutText(rows.data() + FiscalYearEntry::Size, FiscalYearEntry::YearCode, 5, "");
    EXPECT_NE(CheckFiscalYearsBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(At(), std::make_pair(1, (int)FiscalYearEntry::YearCode));
}

// New years get order codes: three new years 50, 60, 70; twenty-five new
// years 25 distinct codes in date order, none outside 2..200 and none a
// fixed voucher-kind code; stored codes never change, and a year added
// after stored ones follows them. The codes are what the store keeps.
TEST_F(SettingsChecks, NewFiscalYearsGetCodesInDateOrder) {
    std::vector<uint8_t> rows = Years(3, 2020);
    ASSERT_EQ(CheckFiscalYearsBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(std::make_tuple(Code(rows, 0), Code(rows, 1), Code(rows, 2)), std::make_tuple(50, 60, 70));

    rows = Years(25, 2000);
    ASSERT_EQ(SettingsBlockStore(FiscalYearBlk::Number, rows.data(), (uint32_t)rows.size()), RecDone);
    SettingsRows stored(FiscalYearBlk::Number, &FiscalYearRows, FiscalYearEntry::Size);
    ASSERT_EQ(stored.count, 25);
    std::set<uint16_t> codes;
    for (int i = 0; i < 25; i++) {
        uint16_t c = GetU16(stored.data + (size_t)i * FiscalYearEntry::Size, FiscalYearEntry::OrderCode);
        EXPECT_GE(c, 2);
        EXPECT_LE(c, 200);
        if (i > 0) {
            EXPECT_GT(c, GetU16(stored.data + (size_t)(i - 1) * FiscalYearEntry::Size, 0)) << i;
        }
        codes.insert(c);
    }
    EXPECT_EQ(codes.size(), 25u);

    rows = Years(4, 2020, {{0, 195}, {1, 198}, {2, 200}});
    ASSERT_EQ(CheckFiscalYearsBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(std::make_tuple(Code(rows, 0), Code(rows, 1), Code(rows, 2)), std::make_tuple(195, 198, 200));
    EXPECT_GE(Code(rows, 3), 2);
    EXPECT_LE(Code(rows, 3), 200);
    EXPECT_NE(Code(rows, 3), 195);
}

// When every code of 2..200 is taken the new year is refused at its row.
TEST_F(SettingsChecks, FiscalYearRefusedWhenNoCodeIsFree) {
    std::map<int, uint16_t> codes;
    for (int i = 0; i < 199; i++) codes[i] = (uint16_t)(2 + i);
    std::vector<uint8_t> rows = Years(200, 1800, codes);
    EXPECT_NE(CheckFiscalYearsBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(At(), std::make_pair(199, 0));
    EXPECT_EQ(Code(rows, 199), 0);
}

// Number series: overlapping ranges refused at the later row (first or
// last number), adjoining ranges pass, blank numbers and reversed dates
// are refused, and a negative-looking range compares as signed.
TEST_F(SettingsChecks, SeriesRowsMustNotOverlap) {
    std::vector<uint8_t> rows = Series({{1, 999}, {500, 1500}});
    EXPECT_NE(SettingsBlockStore(OrderSeriesBlk::Number, rows.data(), (uint32_t)rows.size()), RecDone);
    EXPECT_EQ(At(), std::make_pair(1, 0));
    rows = Series({{500, 999}, {1, 600}});
    EXPECT_NE(CheckSeriesBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(At(), std::make_pair(1, 4));
    rows = Series({{1, 999}, {1000, 1999}});
    EXPECT_EQ(SettingsBlockStore(OrderSeriesBlk::Number, rows.data(), (uint32_t)rows.size()), RecDone);
    rows = Series({{1, 0xFFFFFFFE}});
    EXPECT_NE(CheckSeriesBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(At(), std::make_pair(0, 4));
    rows = Series({{1, 9}});
    PutDate(rows.data(), SeriesRow::ValidFrom, DateRec{2, 1, 2024});
    PutDate(rows.data(), SeriesRow::ValidTo, DateRec{1, 1, 2024});
    EXPECT_NE(CheckSeriesBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(shown.back(), TextOf(Texts::SeriesDatesReversed));
    rows = Series({{0xFFFFFF00u, 10}, {5, 20}});   // -256..10 holds 5
    EXPECT_NE(CheckSeriesBlock(rows.data(), (uint32_t)rows.size()), 0);
}

// A range whose last number lies before its first is refused at its last
// number, in every series; the vouchers' ranges may overlap (each fiscal
// year numbers its own), but not turn over or lack a number.
TEST_F(SettingsChecks, SeriesRangeTurnedOverIsRefusedAlsoForVouchers) {
    std::vector<uint8_t> rows = Series({{1, 999}, {500, 100}});
    EXPECT_NE(SettingsBlockStore(VoucherSeriesBlk::Number, rows.data(), (uint32_t)rows.size()), RecDone);
    EXPECT_EQ(At(), std::make_pair(1, 4));
    EXPECT_EQ(shown.back(), TextOf(18000));
    EXPECT_NE(CheckSeriesBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(At(), std::make_pair(1, 4));
    rows = Series({{7, 7}, {0xFFFFFF00u, 10}});   // one number; -256..10 is in order
    EXPECT_EQ(CheckSeriesRows(rows.data(), (uint32_t)rows.size(), false), 0);
    rows = Series({{1, 99999}, {1, 99999}});
    EXPECT_EQ(SettingsBlockStore(VoucherSeriesBlk::Number, rows.data(), (uint32_t)rows.size()), RecDone);
    EXPECT_NE(SettingsBlockStore(OrderSeriesBlk::Number, rows.data(), (uint32_t)rows.size()), RecDone);
    rows = Series({{1, 0xFFFFFFFE}});
    EXPECT_NE(SettingsBlockStore(VoucherSeriesBlk::Number, rows.data(), (uint32_t)rows.size()), RecDone);
    EXPECT_EQ(At(), std::make_pair(0, 4));
}

// Payment modes and block 130: a repeated code is refused at the later row
// before the account is looked at; a missing account at its row.
TEST_F(SettingsChecks, PaymentModesAndVatAccountCodes) {
    std::vector<uint8_t> rows(2 * PaymentModeBlk::Rows::Size, 0);
    for (int i = 0; i < 2; i++) {
        PutText(rows.data() + i * PaymentModeBlk::Rows::Size, PaymentModeBlk::Rows::Code, 1, "A");
        PutText(rows.data() + i * PaymentModeBlk::Rows::Size, PaymentModeBlk::Rows::Account, 10, "1910");
    }
    EXPECT_NE(SettingsBlockStore(PaymentModeBlk::Number, rows.data(), (uint32_t)rows.size()), RecDone);
    EXPECT_EQ(At(), std::make_pair(1, 0));
    PutText(rows.data() + PaymentModeBlk::Rows::Size, PaymentModeBlk::Rows::Code, 1, "B");
    EXPECT_NE(CheckPaymentModesBlock(rows.data(), (uint32_t)rows.size()), 0);
    EXPECT_EQ(At(), std::make_pair(0, 2));
    StoreAccount("1910", "Cash", 0);
    EXPECT_EQ(SettingsBlockStore(PaymentModeBlk::Number, rows.data(), (uint32_t)rows.size()), RecDone);

    std::vector<uint8_t> vat(3 * VatAccountsBlk::Rows::Size, 0);
    for (int i = 0; i < 3; i++)
        PutText(vat.data() + i * VatAccountsBlk::Rows::Size, 0, 2, i == 2 ? "1" : std::to_string(i + 1).c_str());
    EXPECT_NE(CheckBlock130Codes(vat.data(), (uint32_t)vat.size()), 0);
    EXPECT_EQ(At(), std::make_pair(2, 0));
}

}  // namespace
