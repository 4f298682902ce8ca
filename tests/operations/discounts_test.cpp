// Tests of item discounts: the step a quantity reaches, the bases of a
// step, the matrix row of the item's group or the matrix's default, and
// the discount code taken from the customer group.
#include "operations/operations.h"
#include "rules/rules_types.h"
#include "tests/rules/rules_fixture.h"

namespace {

class DiscountsTest : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreSteps("Q", 1, {10, 50, 100});
        StoreSteps("V", 0, {1000});
        StoreRecord(DiscMatrixVc::Number, [](uint8_t *r) {
            PutText(r, DiscMatrixVc::Code, 5, "D");
            PutText(r, DiscMatrixVc::DefStep, 5, "Q");
            for (int i = 0; i < 4; i++) PutDec(r, DiscMatrixVc::DefPct1 + 12 * i, Dec(i * 10));
            uint8_t row[DiscMatrixVc::Rows::Size] = {};
            PutText(row, DiscMatrixVc::Rows::ItemGroup, 5, "G1");
            PutText(row, DiscMatrixVc::Rows::Step, 5, "Q");
            const double pct[] = {0, 2, 5, 8};
            for (int i = 0; i < 4; i++) PutDec(row, DiscMatrixVc::Rows::Pct1 + 12 * i, Dec(pct[i]));
            ASSERT_TRUE(MatrixRowPut(DiscMatrixVc::Number, 0, r, 0, row));
            PutText(row, DiscMatrixVc::Rows::ItemGroup, 5, "G2");
            PutText(row, DiscMatrixVc::Rows::Step, 5, "V");
            ASSERT_TRUE(MatrixRowPut(DiscMatrixVc::Number, 0, r, 1, row));
        });
        StoreRecord(CustGroupVc::Number, [](uint8_t *r) {
            PutText(r, CustGroupVc::Code, 5, "RET");
            PutText(r, CustGroupVc::DiscCode, 5, "D");
        });
    }
    void StoreSteps(const char *code, uint16_t basis, std::initializer_list<double> thresholds) {
        StoreRecord(QtyStepVc::Number, [&](uint8_t *r) {
            PutText(r, QtyStepVc::Code, 5, code);
            PutU16(r, QtyStepVc::Basis, basis);
            PackedDecimal blank;
            DecSetBlank(&blank);
            for (int i = 0; i < 9; i++) PutDec(r, QtyStepVc::Step1 + 12 * i, blank);
            int i = 0;
            for (double t : thresholds) PutDec(r, QtyStepVc::Step1 + 12 * i++, Dec(t));
        });
    }
    // The discount of an item of group for qty at price under code / group.
    double Discount(const char *group, double qty, double price, const char *code, const char *custGroup,
                    bool *found) {
        RuleRecord item(INVc::Number);
        PutText(item.record, INVc::Group, 5, group);
        uint8_t c[256], g[256];
        PStringFromC(c, code);
        PStringFromC(g, custGroup);
        PackedDecimal q = Dec(qty), p = Dec(price), d;
        ItemDiscount(item.record, &p, &q, g, c, &d, found);
        double out = -1;
        if (!DecIsBlank(&d)) DecToDoubleOut(&d, &out);
        return out;
    }
};

TEST_F(DiscountsTest, QuantityStepsPickThePercentage) {
    bool found = false;
    for (auto [qty, want] : {std::pair{9.0, 0.0}, {10.0, 2.0}, {99.0, 5.0}, {100.0, 8.0}, {500.0, 8.0}}) {
        EXPECT_EQ(Discount("G1", qty, 1, "D", "", &found), want) << qty;
        EXPECT_TRUE(found);
    }
    // Basis 0 is quantity x price: 10 x 99 does not reach 1000, 10 x 100 does.
    EXPECT_EQ(Discount("G2", 10, 99, "D", "", &found), 0);
    EXPECT_EQ(Discount("G2", 10, 100, "D", "", &found), 2);
    // A group without a row: the default step and percentages.
    EXPECT_EQ(Discount("G9", 60, 1, "D", "", &found), 20);
    // No discount code: the customer group's.
    EXPECT_EQ(Discount("G1", 60, 1, "", "RET", &found), 5);
    // No code at all, or a code without matrix: blank, not found.
    EXPECT_EQ(Discount("G1", 60, 1, "", "", &found), -1);
    EXPECT_FALSE(found);
    EXPECT_EQ(Discount("G1", 60, 1, "NOPE", "RET", &found), -1);
    EXPECT_FALSE(found);
}

TEST_F(DiscountsTest, StepIndexEdges) {
    std::vector<uint8_t> steps(QtyStepVc::Size, 0);   // unfilled thresholds stored as zero
    PutDec(steps.data(), QtyStepVc::Step1, Dec(5));
    PutDec(steps.data(), QtyStepVc::Step2, Dec(7));
    PackedDecimal basis = Dec(1000), blank;
    DecSetBlank(&blank);
    EXPECT_EQ(DiscountStepPercent(&basis, steps.data()), 2);
    EXPECT_EQ(DiscountStepPercent(&blank, steps.data()), 0);
    for (int i = 0; i < 9; i++) PutDec(steps.data(), QtyStepVc::Step1 + 12 * i, Dec(i + 1));
    EXPECT_EQ(DiscountStepPercent(&basis, steps.data()), 9);
    basis = Dec(4.5);
    EXPECT_EQ(DiscountStepPercent(&basis, steps.data()), 4);
    PutDec(steps.data(), QtyStepVc::Step1, blank);   // no first threshold: none reached
    EXPECT_EQ(DiscountStepPercent(&basis, steps.data()), 0);
}

}  // namespace
