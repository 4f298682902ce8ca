// Fills that generated documents share: the head a generated invoice
// starts from, and a production row read with blank quantities as zero
// and rows without an item passed over.
#include <string>

#include "operations/project_ops.h"
#include "operations/stock_docs.h"
#include "tests/rules/rules_fixture.h"

namespace {

class GeneratedDocumentFillsTest : public RulesFixture {};

TEST_F(GeneratedDocumentFillsTest, GeneratedInvoiceHeadCarriesNoOrderTextsOrTotals) {
    RuleRecord inv(IVVc::Number);
    ASSERT_NE(inv.record, nullptr);
    uint8_t *r = inv.record;
    PutU32(r, IVVc::OrderNr, 7);
    PutU16(r, IVVc::Printed, 1);
    PutU16(r, IVVc::Posted, 1);
    PutText(r, IVVc::Objects, 30, "SALES");
    PutText(r, IVVc::Text290, 20, "Leader");
    PutText(r, IVVc::Reference, 60, "Order 7");
    PutDec(r, IVVc::Total, Dec(125));
    PutText(r, IVVc::CustCode, 20, "C1");   // what the fill leaves alone
    ClearGeneratedInvoiceHead(r);
    EXPECT_EQ(GetU32(r, IVVc::OrderNr), SerialNone);
    EXPECT_EQ(GetU16(r, IVVc::Printed), 0);
    EXPECT_EQ(GetU16(r, IVVc::Mark), 18);   // the mark follows the posted flag
    for (uint32_t at : {(uint32_t)IVVc::Objects, (uint32_t)IVVc::Text290, (uint32_t)IVVc::Reference})
        EXPECT_EQ(Text(r, at), "") << at;
    PackedDecimal total = GetDec(r, IVVc::Total);
    EXPECT_TRUE(DecIsBlank(&total));
    EXPECT_EQ(Text(r, IVVc::CustCode), "C1");
    PutU16(r, IVVc::Posted, 0);
    ClearGeneratedInvoiceHead(r);
    EXPECT_EQ(GetU16(r, IVVc::Mark), 0);
}

TEST_F(GeneratedDocumentFillsTest, ProductionRowReadsBlankAsZeroAndSkipsRowsWithoutItem) {
    RuleRecord production(ProductionVc::Number);
    ASSERT_NE(production.record, nullptr);
    PackedDecimal blank;
    DecSetBlank(&blank);
    struct Line {
        const char *item;
        bool usedBlank;
        double made;
    };
    const Line lines[] = {{"A", true, 4}, {"", false, 2}};
    for (int32_t i = 0; i < 2; i++) {
        uint8_t row[ProductionVc::Rows::Size] = {};
        PutText(row, ProductionVc::Rows::ItemCode, 20, lines[i].item);
        PutDec(row, ProductionVc::Rows::QtyUsed, lines[i].usedBlank ? blank : Dec(1));
        PutDec(row, ProductionVc::Rows::QtyMade, Dec(lines[i].made));
        ASSERT_TRUE(MatrixRowPut(ProductionVc::Number, 0, production.record, i, row));
    }
    uint8_t item[256];
    PackedDecimal used, made;
    ASSERT_TRUE(ProductionRowRead(production.record, 0, item, &used, &made));
    EXPECT_EQ(std::string((const char *)item + 1, item[0]), "A");
    EXPECT_TRUE(DecIsZero(&used));
    EXPECT_EQ(DecToDouble(&made), 4);
    EXPECT_FALSE(ProductionRowRead(production.record, 1, item, &used, &made));   // no item
    EXPECT_FALSE(ProductionRowRead(production.record, 2, item, &used, &made));   // no such row
}

}  // namespace
