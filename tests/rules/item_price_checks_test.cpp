// Tests of the record checks of the item and the price registers: every
// code that names another register's record must name one that exists,
// and the refusal points at the field or the row's cell that holds it.
#include "core/ui_text.h"
#include "rules/checks.h"
#include "tests/rules/rules_fixture.h"

namespace {

class ItemPriceChecksTest : public RulesFixture {
protected:
    // Validates r as a new record (mode 1) or against stored (mode 2): 0
    // when accepted; when refused, whether text `told` was shown.
    int Validate(int reg, uint8_t *r, uint8_t *stored = nullptr) {
        shown.clear();
        return ValidateRecordOf(reg, r, stored ? stored : r, stored ? 2 : 1);
    }
    static bool Told(int text) {
        char want[256];
        GetUiTextC(want, text);
        return !shown.empty() && shown.back() == want;
    }
    static void ExpectAt(uint32_t field, int text) {
        EXPECT_EQ(FieldErrorPos.field, field);
        EXPECT_TRUE(Told(text)) << (shown.empty() ? "nothing shown" : shown.back());
    }
    static void ExpectAtCell(uint32_t matrix, int row, uint32_t column, int text) {
        EXPECT_EQ(FieldErrorPos.field, matrix);
        EXPECT_EQ(FieldErrorPos.row, row);
        EXPECT_EQ(FieldErrorPos.column, column);
        EXPECT_TRUE(Told(text)) << (shown.empty() ? "nothing shown" : shown.back());
    }
    static void AppendRow(int reg, uint8_t *record, const uint8_t *row) {
        ASSERT_TRUE(MatrixRowPut(reg, 0, record, MatrixRowCount(reg, 0, record), row));
    }
    void StoreCode(int reg, uint32_t at, int max, const char *code) {
        StoreRecord(reg, [&](uint8_t *r) { PutText(r, at, max, code); });
    }
};

// A new item's group and unit must exist (the unit is looked up in upper
// case); a stored item keeps a unit no register holds while the user
// changes other fields, but a changed unit is checked.
TEST_F(ItemPriceChecksTest, ItemGroupAndUnitAreChecked) {
    RuleRecord item(INVc::Number);
    PutText(item.record, INVc::Code, 20, "HAMMER");
    PutText(item.record, INVc::Group, 5, "TOOLS");
    EXPECT_EQ(Validate(INVc::Number, item.record), -1);
    ExpectAt(INVc::Group, Texts::ItemGroupUnknown);
    StoreCode(ITVc::Number, ITVc::Code, 5, "TOOLS");
    EXPECT_EQ(Validate(INVc::Number, item.record), 0);

    PutText(item.record, INVc::Unit, 10, "pcs");
    EXPECT_EQ(Validate(INVc::Number, item.record), -1);
    ExpectAt(INVc::Unit, Texts::UnitUnknown);
    PutText(item.record, INVc::Unit, 10, "LONGERUNIT");   // longer than any unit code
    EXPECT_EQ(Validate(INVc::Number, item.record), -1);
    StoreCode(UnitVc::Number, UnitVc::Code, 5, "PCS");
    PutText(item.record, INVc::Unit, 10, "pcs");
    EXPECT_EQ(Validate(INVc::Number, item.record), 0);

    RuleRecord stored(INVc::Number);
    PutText(stored.record, INVc::Code, 20, "HAMMER");
    PutText(stored.record, INVc::Unit, 10, "BOX");
    PutText(item.record, INVc::Unit, 10, "BOX");
    EXPECT_EQ(Validate(INVc::Number, item.record, stored.record), 0);
    PutText(item.record, INVc::Unit, 10, "KG");
    EXPECT_EQ(Validate(INVc::Number, item.record, stored.record), -1);
    ExpectAt(INVc::Unit, Texts::UnitUnknown);

    PutText(item.record, INVc::Unit, 10, "");
    PutText(item.record, INVc::SalesAcc, 10, "3999");
    EXPECT_EQ(Validate(INVc::Number, item.record), -1);
    ExpectAt(INVc::SalesAcc, Texts::AccountMissing);
}

// A price needs a price list and an item, both existing.
TEST_F(ItemPriceChecksTest, PriceNamesItsListAndItem) {
    RuleRecord price(PriceVc::Number);
    PutText(price.record, PriceVc::ItemCode, 20, "HAMMER");
    EXPECT_EQ(Validate(PriceVc::Number, price.record), -1);
    ExpectAt(PriceVc::PriceList, Texts::CodeMissing);
    PutText(price.record, PriceVc::PriceList, 5, "PL1");
    EXPECT_EQ(Validate(PriceVc::Number, price.record), -1);
    ExpectAt(PriceVc::PriceList, Texts::PriceListUnknown);
    StoreCode(PriceListVc::Number, PriceListVc::Code, 5, "PL1");
    EXPECT_EQ(Validate(PriceVc::Number, price.record), -1);
    ExpectAt(PriceVc::ItemCode, Texts::ItemUnknown);
    StoreItem("HAMMER");
    EXPECT_EQ(Validate(PriceVc::Number, price.record), 0);
}

// A price list's row names an existing formula; an item-group row an
// existing group, a range row any codes. Its currency must be kept.
TEST_F(ItemPriceChecksTest, PriceListRowsAreCheckedAtTheirCells) {
    namespace Row = PriceListVc::Rows;
    RuleRecord list(PriceListVc::Number);
    PutText(list.record, PriceListVc::Code, 5, "PL1");
    uint8_t row[Row::Size] = {};
    PutU16(row, Row::Kind, 1);
    PutText(row, Row::CodeRange, 60, "A:M");
    AppendRow(PriceListVc::Number, list.record, row);
    PutU16(row, Row::Kind, 0);
    PutText(row, Row::CodeRange, 60, "TOOLS");
    PutText(row, Row::Formula, 5, "F1");
    AppendRow(PriceListVc::Number, list.record, row);
    EXPECT_EQ(Validate(PriceListVc::Number, list.record), -1);
    ExpectAtCell(PriceListVc::Matrix, 1, Row::Formula, Texts::PriceFormulaUnknown);
    StoreCode(PriceFormulaVc::Number, PriceFormulaVc::Code, 5, "F1");
    EXPECT_EQ(Validate(PriceListVc::Number, list.record), -1);
    ExpectAtCell(PriceListVc::Matrix, 1, Row::CodeRange, Texts::ItemGroupUnknown);
    StoreCode(ITVc::Number, ITVc::Code, 5, "TOOLS");
    EXPECT_EQ(Validate(PriceListVc::Number, list.record), 0);

    PutText(list.record, PriceListVc::CurncyCode, 5, "USD");
    EXPECT_EQ(Validate(PriceListVc::Number, list.record), -1);
    ExpectAt(PriceListVc::CurncyCode, Texts::CurrencyUnknown);
    RecFreeMatrix(PriceListVc::Number, list.record);
}

// A customer group's price list is a price list or a price class 1..5;
// its discount matrix must exist.
TEST_F(ItemPriceChecksTest, CustomerGroupPriceListOrClassAndMatrix) {
    RuleRecord group(CustGroupVc::Number);
    PutText(group.record, CustGroupVc::Code, 5, "RET");
    for (const char *ok : {"", "1", "5"}) {
        PutText(group.record, CustGroupVc::PriceList, 5, ok);
        EXPECT_EQ(Validate(CustGroupVc::Number, group.record), 0) << ok;
    }
    for (const char *bad : {"6", "0", "PL1"}) {
        PutText(group.record, CustGroupVc::PriceList, 5, bad);
        EXPECT_EQ(Validate(CustGroupVc::Number, group.record), -1) << bad;
        ExpectAt(CustGroupVc::PriceList, Texts::GroupPriceListUnknown);
    }
    StoreCode(PriceListVc::Number, PriceListVc::Code, 5, "PL1");
    EXPECT_EQ(Validate(CustGroupVc::Number, group.record), 0);
    PutText(group.record, CustGroupVc::DiscCode, 5, "DM1");
    EXPECT_EQ(Validate(CustGroupVc::Number, group.record), -1);
    ExpectAt(CustGroupVc::DiscCode, Texts::DiscMatrixUnknown);
    PutText(group.record, CustGroupVc::Code, 5, "");
    EXPECT_EQ(Validate(CustGroupVc::Number, group.record), -1);
    ExpectAt(CustGroupVc::Code, Texts::CodeMissing);
}

// The discount matrix's steps and its rows' groups and steps exist; a
// customer's prices name an existing customer and existing items.
TEST_F(ItemPriceChecksTest, DiscountMatrixAndCustomerPriceRows) {
    RuleRecord matrix(DiscMatrixVc::Number);
    PutText(matrix.record, DiscMatrixVc::Code, 5, "DM1");
    PutText(matrix.record, DiscMatrixVc::DefStep, 5, "Q1");
    EXPECT_EQ(Validate(DiscMatrixVc::Number, matrix.record), -1);
    ExpectAt(DiscMatrixVc::DefStep, Texts::QtyStepUnknown);
    StoreCode(QtyStepVc::Number, QtyStepVc::Code, 5, "Q1");
    uint8_t row[DiscMatrixVc::Rows::Size] = {};
    PutText(row, DiscMatrixVc::Rows::ItemGroup, 5, "TOOLS");
    PutText(row, DiscMatrixVc::Rows::Step, 5, "Q2");
    AppendRow(DiscMatrixVc::Number, matrix.record, row);
    EXPECT_EQ(Validate(DiscMatrixVc::Number, matrix.record), -1);
    ExpectAtCell(DiscMatrixVc::Matrix, 0, DiscMatrixVc::Rows::ItemGroup, Texts::ItemGroupUnknown);
    StoreCode(ITVc::Number, ITVc::Code, 5, "TOOLS");
    EXPECT_EQ(Validate(DiscMatrixVc::Number, matrix.record), -1);
    ExpectAtCell(DiscMatrixVc::Matrix, 0, DiscMatrixVc::Rows::Step, Texts::QtyStepUnknown);
    StoreCode(QtyStepVc::Number, QtyStepVc::Code, 5, "Q2");
    EXPECT_EQ(Validate(DiscMatrixVc::Number, matrix.record), 0);
    RecFreeMatrix(DiscMatrixVc::Number, matrix.record);

    RuleRecord prices(CustPriceVc::Number);
    EXPECT_EQ(Validate(CustPriceVc::Number, prices.record), -1);
    ExpectAt(CustPriceVc::CustCode, Texts::CodeMissing);
    PutText(prices.record, CustPriceVc::CustCode, 20, "C1");
    EXPECT_EQ(Validate(CustPriceVc::Number, prices.record), -1);
    ExpectAt(CustPriceVc::CustCode, Texts::CustomerUnknown);
    StoreCustomer("C1");
    uint8_t priceRow[CustPriceVc::Rows::Size] = {};
    AppendRow(CustPriceVc::Number, prices.record, priceRow);   // an empty row passes
    PutText(priceRow, CustPriceVc::Rows::ItemCode, 20, "NAIL");
    AppendRow(CustPriceVc::Number, prices.record, priceRow);
    EXPECT_EQ(Validate(CustPriceVc::Number, prices.record), -1);
    ExpectAtCell(CustPriceVc::Matrix, 1, CustPriceVc::Rows::ItemCode, Texts::ItemUnknown);
    StoreItem("NAIL");
    EXPECT_EQ(Validate(CustPriceVc::Number, prices.record), 0);
    RecFreeMatrix(CustPriceVc::Number, prices.record);
}

}  // namespace
