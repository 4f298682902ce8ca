// budget_amounts_test.cpp - budget amounts over runs of days: rows shared
// by their days counted inclusively, rows ended by the next row or the
// record's end date, and only the records of the key asked for.
#include "core/record_buffer.h"
#include "reports/ledger/ledger_reports.h"
#include "tests/rules/rules_fixture.h"

namespace {

class BudgetAmounts : public RulesFixture {
protected:
    // Stores a budget of reg for (account, objects) with rows (from-date,
    // amount) and the end date.
    void StoreBudget(int reg, const char *account, const char *objects, DateRec end,
                     std::vector<std::pair<DateRec, double>> rows) {
        bool first = reg == BUVc::Number;
        StoreRecord(reg, [&](uint8_t *r) {
            PutText(r, first ? BUVc::Account : BPVc::Account, 10, account);
            PutText(r, first ? BUVc::Objects : BPVc::Objects, 30, objects);
            PutDate(r, first ? BUVc::EndDate : BPVc::EndDate, end);
            for (size_t i = 0; i < rows.size(); i++) {
                uint8_t row[BUVc::Rows::Size] = {};
                PutDate(row, BUVc::Rows::FromDate, rows[i].first);
                PutDec(row, BUVc::Rows::Amount, Dec(rows[i].second));
                ASSERT_TRUE(MatrixRowPut(reg, 0, r, (int32_t)i, row));
            }
        });
    }
    double Budget(int reg, const char *account, const char *objects, DateRec from, DateRec to) {
        PString a, o;
        PStringFromC(a, account);
        PStringFromC(o, objects);
        PackedDecimal out;
        if (reg == BUVc::Number) BudgetInRange(a, o, &from, &to, &out);
        else Budget2InRange(a, o, &from, &to, &out);
        EXPECT_FALSE(DecIsBlank(&out));
        return DecToDouble(&out);
    }
};

// January 310 and February 280: the two halves of January take the whole
// of it, a run over the month's end takes its days of each, a run past
// the end date takes nothing more, and a row with no date ends the rows.
TEST_F(BudgetAmounts, SharesCountDaysInclusively) {
    for (int reg : {BUVc::Number, BPVc::Number}) {
        SCOPED_TRACE(reg);
        StoreBudget(reg, "3010", "", DateRec{28, 2, 2024},
                    {{DateRec{1, 1, 2024}, 310}, {DateRec{1, 2, 2024}, 280}, {DateRec{0, 0, 0}, 999}});
        StoreBudget(reg, "3010", "P1", DateRec{31, 1, 2024}, {{DateRec{1, 1, 2024}, 1000}});
        StoreBudget(reg, "3011", "", DateRec{31, 1, 2024}, {{DateRec{1, 1, 2024}, 1000}});
        double first = Budget(reg, "3010", "", DateRec{1, 1, 2024}, DateRec{15, 1, 2024});
        double second = Budget(reg, "3010", "", DateRec{16, 1, 2024}, DateRec{31, 1, 2024});
        EXPECT_DOUBLE_EQ(first, 150);
        EXPECT_DOUBLE_EQ(second, 160);
        EXPECT_DOUBLE_EQ(first + second, 310);
        EXPECT_DOUBLE_EQ(Budget(reg, "3010", "", DateRec{31, 1, 2024}, DateRec{1, 2, 2024}), 10 + 10);
        EXPECT_DOUBLE_EQ(Budget(reg, "3010", "", DateRec{1, 12, 2023}, DateRec{31, 12, 2024}), 590);
        EXPECT_DOUBLE_EQ(Budget(reg, "3010", "", DateRec{1, 3, 2024}, DateRec{31, 3, 2024}), 0);
        EXPECT_DOUBLE_EQ(Budget(reg, "3010", "P1", DateRec{1, 1, 2024}, DateRec{1, 1, 2024}), 32.258);
        EXPECT_DOUBLE_EQ(Budget(reg, "3012", "", DateRec{1, 1, 2024}, DateRec{31, 1, 2024}), 0);
    }
}

}  // namespace
