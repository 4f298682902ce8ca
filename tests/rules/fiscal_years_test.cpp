// fiscal_years_test.cpp - fiscal-year codes of dates, voucher references
// written and read back, and codes for new years that keep the years'
// order and never reach the fixed codes.
#include <algorithm>
#include <vector>

#include "rules/series_terms.h"
#include "tests/rules/rules_fixture.h"

namespace {

using FiscalYears = RulesFixture;

std::string RefText(uint16_t code, uint32_t number) {
    uint8_t text[256];
    YearCodeText(text, code, number);
    return std::string((const char *)text + 1, text[0]);
}

// Block-149 rows of the given codes, in that (date) order.
std::vector<uint8_t> YearRows(const std::vector<uint16_t> &codes) {
    std::vector<uint8_t> rows(codes.size() * FiscalYearEntry::Size, 0);
    for (size_t i = 0; i < codes.size(); i++) PutU16(rows.data() + i * FiscalYearEntry::Size, FiscalYearEntry::OrderCode, codes[i]);
    return rows;
}

// Adds a year at position with no rule's code; its code.
uint16_t AddYearAt(std::vector<uint16_t> &codes, size_t position) {
    std::vector<uint8_t> rows = YearRows(codes);
    uint16_t code = FiscalYearCodeFor(rows.data(), (int32_t)codes.size(), (int32_t)position, 0);
    if (code != 0) codes.insert(codes.begin() + (long)position, code);
    return code;
}

// References are written as name.number (the fixed codes by their texts,
// a code without a name as the number alone) and read back to the same
// code and number, also as from-to ranges; no separator or an unknown
// name gives code 0.
TEST_F(FiscalYears, ReferencesRoundTrip) {
    AddFiscalYear(10, "A", {1, 1, 2023}, {31, 12, 2023});
    AddFiscalYear(11, "24/25", {1, 1, 2024}, {31, 12, 2024});
    EXPECT_EQ(RefText(10, 1234), "A.1234");
    EXPECT_EQ(RefText(150, 1234), "1234");
    EXPECT_EQ(RefText(YearCodePurchase, 7), "PURCH.7");
    auto parse = [](const uint8_t *text) {
        uint16_t code = 9;
        int32_t number = 9;
        ParseVoucherRef(text, &code, &number);
        return std::to_string(code) + "/" + std::to_string(number);
    };
    uint8_t text[256], row[TransRow::Size] = {};
    RuleRecord v(Voucher::Number);
    PutU16(v.record, Voucher::YearCode, 11);
    PutU32(v.record, Voucher::SerNr, 55);
    VoucherYearCodeText(text, v.record);
    EXPECT_EQ(parse(text), "11/55");
    PutU16(row, TransRow::LinkYearCode, 210);
    PutU32(row, TransRow::LinkSerNr, 9);
    EntryYearCodeText(text, row);
    EXPECT_EQ(parse(text), "210/9");
    for (auto [in, want] : {std::pair{"77", "0/77"}, {"ZZ.5", "0/5"}}) {
        PStringFromC(text, in);
        EXPECT_EQ(parse(text), want) << in;
    }
    PStringFromC(text, "A.12:A.40");
    uint16_t c1 = 0, c2 = 0;
    int32_t n1 = 0, n2 = 0;
    ParseVoucherRefRange(text, &c1, &c2, &n1, &n2);
    EXPECT_EQ(std::vector<int>({c1, n1, c2, n2}), std::vector<int>({10, 12, 10, 40}));
}

// New years: 25 years added one after another get distinct codes in the
// order of their dates; two years put between codes 50 and 60 both get
// codes inside (50, 60); a free rule's code wins, a used or fixed one does
// not; the 200th year finds no code and gets 0.
TEST_F(FiscalYears, CodesForNewYears) {
    std::vector<uint16_t> codes;
    for (int i = 0; i < 25; i++) ASSERT_NE(AddYearAt(codes, codes.size()), 0) << i;
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
    EXPECT_EQ(std::adjacent_find(codes.begin(), codes.end()), codes.end());
    // Years before the first keep the order too.
    ASSERT_NE(AddYearAt(codes, 0), 0);
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));

    std::vector<uint16_t> pair = {50, 60};
    uint16_t a = AddYearAt(pair, 1);
    uint16_t b = AddYearAt(pair, 2);
    EXPECT_GT(a, 50);
    EXPECT_LT(b, 60);
    EXPECT_LT(a, b);

    std::vector<uint8_t> rows = YearRows({50, 60});
    EXPECT_EQ(FiscalYearCodeFor(rows.data(), 2, 2, 120), 120);
    EXPECT_NE(FiscalYearCodeFor(rows.data(), 2, 2, 60), 60);
    uint16_t fixed = FiscalYearCodeFor(rows.data(), 2, 2, 205);
    EXPECT_TRUE(fixed >= YearCodeMin && fixed <= YearCodeMax && fixed != 50 && fixed != 60);

    std::vector<uint16_t> all;
    for (int i = 0; i < 199; i++) ASSERT_NE(AddYearAt(all, all.size()), 0) << i;
    EXPECT_EQ(AddYearAt(all, all.size()), 0);
    EXPECT_EQ(AddYearAt(all, 0), 0);
    std::vector<uint16_t> sorted = all;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    EXPECT_EQ(sorted.front(), YearCodeMin);
    EXPECT_EQ(sorted.back(), YearCodeMax);
}

}  // namespace
