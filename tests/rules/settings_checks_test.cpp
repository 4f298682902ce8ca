// Settings blocks are checked as they are stored: duplicate codes, missing
// accounts, fiscal years that do not follow one another, number ranges
// that overlap; new fiscal years get order codes that keep their order.
#include <cstring>
#include <set>

#include "core/ui_text.h"
#include "rules/hooks.h"
#include "rules/series_terms.h"
#include "rules/settings_checks.h"
#include "rules/settings_code_uses.h"
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

// ---- Codes in use stay in their tables ----

class CodesInUse : public SettingsChecks {
protected:
    // Table block's rows as stored, whole.
    static std::vector<uint8_t> Stored(int block) {
        MemBlock h = 0;
        std::vector<uint8_t> rows;
        if (SettingsBlockFetch(&h, block) && h) {
            const uint8_t *p = MemLock(h);
            rows.assign(p, p + MemSize(h));
            MemUnlock(h);
        }
        MemFree(&h);
        return rows;
    }
    // The rows of table block without the rows whose code (at 0) is `code`.
    static std::vector<uint8_t> Without(int block, uint32_t rowSize, const char *code) {
        std::vector<uint8_t> rows = Stored(block), kept;
        for (size_t at = 0; at + rowSize <= rows.size(); at += rowSize)
            if (Text(rows.data() + at, 0) != code) kept.insert(kept.end(), rows.begin() + at, rows.begin() + at + rowSize);
        return kept;
    }
    // The store of rows as table block through a window (checked) and
    // through an import (the rows road): the result of each.
    static std::pair<int, int> BothRoads(int block, const std::vector<uint8_t> &rows) {
        int window = SettingsBlockStore(block, rows.data(), (uint32_t)rows.size());
        MemBlock h = MemAlloc((uint32_t)rows.size());
        std::memcpy(MemLock(h), rows.data(), rows.size());
        MemUnlock(h);
        int import = SettingsBlockStoreHandle(block, h);
        MemFree(&h);
        return {window, import};
    }
};

// A VAT code that an item group, a voucher row or the sales accounts name
// stays, whether its row is left out of a store, typed over or dropped by
// an import: the store is refused, the message names the code and what
// uses it, and the table stays as it was. A code nothing names goes.
TEST_F(CodesInUse, AVatCodeNamedByARecordOrASettingStays) {
    for (const char *code : {"1", "2", "3", "4"}) AddVatCode(code, 10, -1, "", "");
    StoreRecord(ITVc::Number, [](uint8_t *r) {
        PutText(r, ITVc::Code, 5, "G2");
        PutText(r, ITVc::VatCodeZ1, 2, "2");
    });
    StoreRecord(TRVc::Number, [](uint8_t *r) {
        PutU32(r, TRVc::SerNr, 7);
        PutU16(r, TRVc::YearCode, 12);
        AddLedgerRow(TRVc::Number, r, "3010", "", -100, "3");
    });
    std::vector<uint8_t> accounts(SalesAccountsBlk::Size, 0);
    PutText(accounts.data(), SalesAccountsBlk::VatCode1, 2, "1");
    StoreBlock(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size);
    const std::vector<uint8_t> all = Stored(VatCodeBlk::Number);
    ASSERT_EQ(all.size(), 4 * VatCodeRow::Size);

    const std::pair<const char *, std::string> uses[] = {
        {"2", "2 is in use by Item group G2."}, {"3", "3 is in use by Voucher 7."}, {"1", "1 is in use by Sales accounts."}};
    for (const auto &[code, told] : uses) {
        shown.clear();
        EXPECT_EQ(BothRoads(VatCodeBlk::Number, Without(VatCodeBlk::Number, VatCodeRow::Size, code)),
                  std::make_pair(RecRefused, RecRefused))
            << code;
        ASSERT_EQ(shown.size(), 2u) << code;
        for (const std::string &s : shown) EXPECT_EQ(s, TextOf(Texts::SettingsCodeInUse) + told);
        EXPECT_EQ(Stored(VatCodeBlk::Number), all) << code;
    }
    // Typed over in its row: the code it held is left out all the same.
    std::vector<uint8_t> renamed = all;
    PutText(renamed.data() + VatCodeRow::Size, VatCodeRow::Code, 2, "7");
    EXPECT_EQ(SettingsBlockStore(VatCodeBlk::Number, renamed.data(), (uint32_t)renamed.size()), RecRefused);
    // The code nothing names goes.
    shown.clear();
    EXPECT_EQ(SettingsBlockStore(VatCodeBlk::Number, all.data(), 3 * VatCodeRow::Size), RecDone);
    EXPECT_TRUE(shown.empty()) << ::testing::PrintToString(shown);
    EXPECT_EQ(Stored(VatCodeBlk::Number).size(), 3 * VatCodeRow::Size);
}

// The other tables the loosened delete reaches: a fiscal year holding a
// voucher stays (its vouchers name it by its order code, the message by
// its year code), an empty one goes; a payment mode a customer's terms
// name stays; a currency only its exchange rates name goes.
TEST_F(CodesInUse, FiscalYearsPaymentModesAndCurrencies) {
    AddFiscalYear(10, "2024", DateRec{1, 1, 2024}, DateRec{31, 12, 2024});
    AddFiscalYear(20, "2025", DateRec{1, 1, 2025}, DateRec{31, 12, 2025});
    AddFiscalYear(30, "2026", DateRec{1, 1, 2026}, DateRec{31, 12, 2026});
    StoreRecord(TRVc::Number, [](uint8_t *r) {
        PutU32(r, TRVc::SerNr, 1);
        PutU16(r, TRVc::YearCode, 10);
    });
    const std::vector<uint8_t> years = Stored(FiscalYearBlk::Number);
    shown.clear();
    EXPECT_EQ(SettingsBlockStore(FiscalYearBlk::Number, years.data() + FiscalYearEntry::Size,
                                 2 * FiscalYearEntry::Size),
              RecRefused);
    EXPECT_EQ(shown, std::vector<std::string>{TextOf(Texts::SettingsCodeInUse) + "2024 is in use by Voucher 1."});
    EXPECT_EQ(SettingsBlockStore(FiscalYearBlk::Number, years.data(), 2 * FiscalYearEntry::Size), RecDone);

    StoreAccount("1910", "Cash", 0);
    for (const char *mode : {"K", "B"})
        AddRow(PaymentModeBlk::Number, PaymentModeBlk::Rows::Size, [mode](uint8_t *r) {
            PutText(r, PaymentModeBlk::Rows::Code, 1, mode);
            PutText(r, PaymentModeBlk::Rows::Account, 10, "1910");
        });
    StoreRecord(CUVc::Number, [](uint8_t *r) {
        PutText(r, CUVc::Code, 20, "C1");
        PutText(r, CUVc::PayTerms, 2, "K");
        PutText(r, CUVc::CurncyCode, 5, "USD");
    });
    const std::vector<uint8_t> modes = Stored(PaymentModeBlk::Number);
    shown.clear();
    EXPECT_EQ(SettingsBlockStore(PaymentModeBlk::Number, modes.data() + PaymentModeBlk::Rows::Size,
                                 PaymentModeBlk::Rows::Size),
              RecRefused);
    EXPECT_EQ(shown, std::vector<std::string>{TextOf(Texts::SettingsCodeInUse) + "K is in use by Customers C1."});
    EXPECT_EQ(SettingsBlockStore(PaymentModeBlk::Number, modes.data(), PaymentModeBlk::Rows::Size), RecDone);

    for (const char *currency : {"EUR", "USD"})
        AddRow(CurrencyBlk::Number, CurrencyBlk::Rows::Size,
               [currency](uint8_t *r) { PutText(r, CurrencyBlk::Rows::Code, 5, currency); });
    StoreRecord(ExchRateVc::Number, [](uint8_t *r) {
        PutText(r, ExchRateVc::CurncyCode, 5, "EUR");
        PutDec(r, ExchRateVc::Rate, Dec(1125));
    });
    const std::vector<uint8_t> currencies = Stored(CurrencyBlk::Number);
    EXPECT_EQ(SettingsBlockStore(CurrencyBlk::Number, currencies.data(), CurrencyBlk::Rows::Size), RecRefused);
    EXPECT_EQ(SettingsBlockStore(CurrencyBlk::Number, currencies.data() + CurrencyBlk::Rows::Size,
                                 CurrencyBlk::Rows::Size),
              RecDone);
}

// The message names each holder by the title of the window a user mends
// it in: every register and block of the table of uses has one.
TEST_F(CodesInUse, EveryHolderHasAWindowToNameIt) {
    for (const CodeUse *u = CodeUsesBegin(); u != CodeUsesEnd(); u++) {
        uint8_t name[256];
        CodeUseHolderName(*u, nullptr, name);
        EXPECT_NE(name[0], 0) << "register or block " << u->number;
    }
}

}  // namespace
