// A voucher row on an account that must exist: a missing account adds no
// row and books nothing, a row without its own text is named after its
// account, and a search adds into the last row of the same account and
// objects while an add always appends.
#include <string>

#include "rules/ledger.h"
#include "tests/rules/rules_fixture.h"

namespace {

class NamedVoucherRowTest : public RulesFixture {
protected:
    static const uint8_t *P(uint8_t *buffer, const char *text) {
        PStringFromC(buffer, text);
        return buffer;
    }
    static int32_t Rows(const uint8_t *voucher) { return MatrixRowCount(Voucher::Number, 0, voucher); }
    static std::string RowText(const uint8_t *voucher, int32_t i) {
        uint8_t row[TransRow::Size];
        EXPECT_TRUE(MatrixRowRead(Voucher::Number, voucher, i, row));
        return Text(row, TransRow::Text);
    }
    static double RowAmount(const uint8_t *voucher, int32_t i) {
        uint8_t row[TransRow::Size];
        EXPECT_TRUE(MatrixRowRead(Voucher::Number, voucher, i, row));
        PackedDecimal amount = GetDec(row, TransRow::Amount);
        return DecToDouble(&amount);
    }
    PackedDecimal total = {};
    uint8_t account[256], text[256];
};

TEST_F(NamedVoucherRowTest, MissingAccountAddsNoRowAndBooksNothing) {
    RuleRecord v(Voucher::Number);
    ASSERT_NE(v.record, nullptr);
    DecSetZero(&total);
    PackedDecimal amount = Dec(10);
    for (const char *code : {"9999", ""}) {
        EXPECT_FALSE(FindNamedVoucherRow(v.record, P(account, code), nullptr, nullptr, nullptr, &amount, false, true,
                                         &total))
            << code;
    }
    EXPECT_EQ(Rows(v.record), 0);
    EXPECT_TRUE(DecIsZero(&total));
}

TEST_F(NamedVoucherRowTest, RowIsNamedByTextOrAccountAndOnlyASearchMerges) {
    StoreAccount("1910", "Cash", 1);
    RuleRecord v(Voucher::Number);
    ASSERT_NE(v.record, nullptr);
    DecSetZero(&total);
    PackedDecimal ten = Dec(10), five = Dec(5);
    ASSERT_TRUE(FindNamedVoucherRow(v.record, P(account, "1910"), nullptr, nullptr, nullptr, &ten, false, true,
                                    &total));
    ASSERT_TRUE(FindNamedVoucherRow(v.record, account, nullptr, nullptr, P(text, "Till"), &ten, false, false, &total));
    ASSERT_EQ(Rows(v.record), 2);
    EXPECT_EQ(RowText(v.record, 0), "Cash");
    EXPECT_EQ(RowText(v.record, 1), "Till");
    EXPECT_EQ(RowAmount(v.record, 1), -10);   // the credit side books the negation
    EXPECT_TRUE(DecIsZero(&total));

    // A search adds into the last row of the account; an add appends.
    ASSERT_TRUE(FindNamedVoucherRow(v.record, account, nullptr, nullptr, nullptr, &five, true, true, &total));
    ASSERT_EQ(Rows(v.record), 2);
    EXPECT_EQ(RowAmount(v.record, 1), -5);
    AddVoucherRow(v.record, account, nullptr, nullptr, text, &five, 0, true, &total);
    ASSERT_EQ(Rows(v.record), 3);
    EXPECT_EQ(RowAmount(v.record, 2), 5);
    EXPECT_EQ(DecToDouble(&total), 10);
}

}  // namespace
