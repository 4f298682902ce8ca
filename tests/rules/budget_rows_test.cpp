// budget_rows_test.cpp - period rows of budgets from a distribution key
// and from the account's budget between dates, with the rows' own text
// amounts, and the keys and percentages that leave only those.
#include "core/record_buffer.h"
#include "rules/ledger.h"
#include "tests/rules/rules_fixture.h"

namespace {

class BudgetRows : public RulesFixture {
protected:
    // Appends a period row (date may be empty) with a text amount.
    template <int Reg>
    static void Period(uint8_t *budget, DateRec from, const char *text) {
        uint8_t row[BUVc::Rows::Size] = {};
        PutDate(row, BUVc::Rows::FromDate, from);
        PutText(row, BUVc::Rows::Text, 60, text);
        ASSERT_TRUE(MatrixRowPut(Reg, 0, budget, MatrixRowCount(Reg, 0, budget), row));
    }
    static std::vector<double> Amounts(int reg, const uint8_t *budget) {
        std::vector<double> out;
        uint8_t row[BUVc::Rows::Size];
        for (int32_t i = 0; MatrixRowRead(reg, budget, i, row); i++) {
            PackedDecimal a = GetDec(row, BUVc::Rows::Amount);
            out.push_back(DecIsBlank(&a) ? -1 : DecToDouble(&a));
        }
        return out;
    }
    void StoreKey(const char *code, std::initializer_list<double> factors) {
        StoreRecord(DKVc::Number, [&](uint8_t *r) {
            PutText(r, DKVc::Code, 5, code);
            double sum = 0;
            for (double f : factors) {
                uint8_t row[DKVc::Rows::Size] = {};
                PutDec(row, DKVc::Rows::Factor, Dec(f));
                ASSERT_TRUE(MatrixRowPut(DKVc::Number, 0, r, MatrixRowCount(DKVc::Number, 0, r), row));
                sum += f;
            }
            PutDec(r, DKVc::FactorSum, Dec(sum));
        });
    }
};

// Factors 1, 2, 1 spread 400 as 100, 200, 100; later periods carry only
// their text amounts, and a text adds to a computed amount. No key, an
// unknown key, a blank amount or factors summing to zero leave the text
// amounts alone; a budget without rows gets an empty block.
TEST_F(BudgetRows, ByKey) {
    StoreKey("Q", {1, 2, 1});
    StoreKey("ZERO", {1, -1});
    RuleRecord b(BUVc::Number);
    PutText(b.record, BUVc::KeyCode, 5, "Q");
    PutDec(b.record, BUVc::Amount, Dec(400));
    Period<BUVc::Number>(b.record, {1, 1, 2024}, "");
    Period<BUVc::Number>(b.record, {1, 4, 2024}, "5.5");
    Period<BUVc::Number>(b.record, {1, 7, 2024}, "");
    Period<BUVc::Number>(b.record, {1, 10, 2024}, "7");
    Period<BUVc::Number>(b.record, {}, "not a number");
    BudgetRowsByKey(b.record);
    EXPECT_EQ(Amounts(BUVc::Number, b.record), (std::vector<double>{100, 205.5, 100, 7, -1}));
    PackedDecimal total = GetDec(b.record, BUVc::Total);
    EXPECT_DOUBLE_EQ(DecToDouble(&total), 412.5);

    for (const char *key : {"", "NONE", "ZERO"}) {
        PutText(b.record, BUVc::KeyCode, 5, key);
        BudgetRowsByKey(b.record);
        EXPECT_EQ(Amounts(BUVc::Number, b.record), (std::vector<double>{-1, 5.5, -1, 7, -1})) << key;
    }
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutText(b.record, BUVc::KeyCode, 5, "Q");
    PutDec(b.record, BUVc::Amount, blank);
    BudgetRowsByKey(b.record);
    total = GetDec(b.record, BUVc::Total);
    EXPECT_DOUBLE_EQ(DecToDouble(&total), 12.5);

    RuleRecord empty(BUVc::Number);
    BudgetRowsByKey(empty.record);
    EXPECT_NE(RecMatrixHandle(BUVc::Number, empty.record), 0u);
    total = GetDec(empty.record, BUVc::Total);
    EXPECT_TRUE(DecIsZero(&total));
}

// Rows from 1 January and 1 April of a budget ending 31 December at 10 %:
// the first takes the budget of January to March times 1.10, the second
// April to December. A row without a date ends the pass, keeping its own
// and later amounts out of the total; percentage 0 uses only the texts.
TEST_F(BudgetRows, ByDates) {
    StoreRecord(BUVc::Number, [&](uint8_t *r) {   // the account's budget: 100 a month
        PutText(r, BUVc::Account, 10, "3000");
        PutText(r, BUVc::Objects, 30, "P1");
        PutDate(r, BUVc::EndDate, {31, 12, 2024});
        for (int m = 1; m <= 12; m++) {
            uint8_t row[BUVc::Rows::Size] = {};
            PutDate(row, BUVc::Rows::FromDate, {1, (uint16_t)m, 2024});
            PutDec(row, BUVc::Rows::Amount, Dec(100));
            ASSERT_TRUE(MatrixRowPut(BUVc::Number, 0, r, m - 1, row));
        }
    });
    RuleRecord b(BPVc::Number);
    PutText(b.record, BPVc::Account, 10, "3000");
    PutText(b.record, BPVc::Objects, 30, "P1");
    PutDec(b.record, BPVc::Percentage, Dec(10));
    PutDate(b.record, BPVc::EndDate, {31, 12, 2024});
    Period<BPVc::Number>(b.record, {1, 1, 2024}, "");
    Period<BPVc::Number>(b.record, {1, 4, 2024}, "1");
    Period<BPVc::Number>(b.record, {}, "50");
    uint8_t row[BPVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(BPVc::Number, b.record, 2, row));
    PutDec(row, BPVc::Rows::Amount, Dec(77));
    ASSERT_TRUE(MatrixRowPut(BPVc::Number, 0, b.record, 2, row));

    BudgetRowsByDates(b.record);
    EXPECT_EQ(Amounts(BPVc::Number, b.record), (std::vector<double>{330, 991, 77}));
    PackedDecimal total = GetDec(b.record, BPVc::Total);
    EXPECT_DOUBLE_EQ(DecToDouble(&total), 1321);

    PutDec(b.record, BPVc::Percentage, Dec(0));
    BudgetRowsByDates(b.record);
    EXPECT_EQ(Amounts(BPVc::Number, b.record), (std::vector<double>{-1, 1, 50}));
    total = GetDec(b.record, BPVc::Total);
    EXPECT_DOUBLE_EQ(DecToDouble(&total), 51);
}

}  // namespace
