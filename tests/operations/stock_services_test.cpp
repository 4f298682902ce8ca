// Tests of the stock services: serial stock by location, delivery row
// costs, and delivery copies with structure rows expanded for printing.
#include "core/record_buffer.h"
#include "operations/operations.h"
#include "tests/rules/stock_fixture.h"

namespace {

class StockServicesTest : public StockFixture {};

// A serial number is in stock at a location when its entry there holds the
// quantity; an empty location is the main one.
TEST_F(StockServicesTest, SerialQtyAtLocation) {
    MainLocation("A");
    SerialStock("PUMP", "P1", "A", 2);
    SerialStock("PUMP", "P1", "B", 5);
    uint8_t item[256], serial[256], a[256], none[1] = {0}, c[256];
    PStringFromC(item, "PUMP");
    PStringFromC(serial, "P1");
    PStringFromC(a, "A");
    PStringFromC(c, "C");
    PackedDecimal two = Dec(2), three = Dec(3);
    EXPECT_TRUE(SerialQtyAtLocation(item, serial, a, &two));
    EXPECT_FALSE(SerialQtyAtLocation(item, serial, a, &three));
    EXPECT_TRUE(SerialQtyAtLocation(item, serial, none, &two));
    EXPECT_FALSE(SerialQtyAtLocation(item, serial, c, &two));
}

// Each row with an item and a quantity gets its FIFO cost per unit; a
// service's row and an unknown item's show no cost rather than 0,00.
TEST_F(StockServicesTest, DeliveryRowsCostPrice) {
    StoreItem("A");
    Receipt(1, DateRec{1, 2, 2024}, "A", 6, 3);
    Receipt(2, DateRec{1, 3, 2024}, "A", 4, 5);
    StoreStock("A", "", 10);
    StoreItem("SERVICE", {.stocked = 0});
    RuleRecord d(SHVc::Number);
    DeliveryRow(d.record, "A", 7, 7);
    DeliveryRow(d.record, "A", 0, 0);
    DeliveryRow(d.record, "A", 2, 2);
    DeliveryRow(d.record, "SERVICE", 1, 1);
    DeliveryRow(d.record, "GHOST", 3, 3);
    DeliveryRowsCostPrice(d.record);
    for (int32_t i : {3, 4}) {
        uint8_t unpriced[SHVc::Rows::Size];
        ASSERT_TRUE(MatrixRowRead(SHVc::Number, d.record, i, unpriced));
        PackedDecimal cost = GetDec(unpriced, SHVc::Rows::UnitCost);
        EXPECT_TRUE(DecIsBlank(&cost)) << "row " << i << ": " << D(cost);
    }
    uint8_t row[SHVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(SHVc::Number, d.record, 0, row));
    EXPECT_NEAR(D(GetDec(row, SHVc::Rows::UnitCost)), 23.0 / 7, 0.001);
    ASSERT_TRUE(MatrixRowRead(SHVc::Number, d.record, 1, row));
    EXPECT_EQ(D(GetDec(row, SHVc::Rows::UnitCost)), 0);
    ASSERT_TRUE(MatrixRowRead(SHVc::Number, d.record, 2, row));
    EXPECT_EQ(D(GetDec(row, SHVc::Rows::UnitCost)), 3);
}

// Documents -3 and -7 expand structure rows unless block 223 says not;
// -12 never does. The copy has rows of its own.
TEST_F(StockServicesTest, ExpandStructureRowsForPrint) {
    StoreItem("KIT");
    StoreStructure("S1", {{"LEG", 4}, {"TOP", 1}});
    RuleRecord d(SHVc::Number);
    DeliveryRow(d.record, "KIT", 2, 2, "", "", "S1");
    DeliveryRow(d.record, "BOLT", 1, 1);
    std::vector<uint8_t> words(StructPrintBlk::Size, 0);
    PutU16(words.data(), StructPrintBlk::NoExpandDelivery, 1);
    StoreBlock(StructPrintBlk::Number, words.data(), StructPrintBlk::Size);
    struct Case { int document; int32_t rows; };
    for (Case c : {Case{-3, 4}, Case{-7, 2}, Case{-12, 2}}) {
        RuleRecord copy(SHVc::Number);
        ASSERT_TRUE(ExpandStructureRowsForPrint(c.document, d.record, copy.record));
        ASSERT_EQ(MatrixRowCount(SHVc::Number, 0, copy.record), c.rows) << c.document;
        EXPECT_NE(RecMatrixHandle(SHVc::Number, copy.record), RecMatrixHandle(SHVc::Number, d.record));
        if (c.rows == 2) continue;
        uint8_t row[SHVc::Rows::Size];
        ASSERT_TRUE(MatrixRowRead(SHVc::Number, copy.record, 0, row));
        PackedDecimal qty = GetDec(row, SHVc::Rows::ToDeliver);
        EXPECT_TRUE(DecIsBlank(&qty));
        EXPECT_EQ(Text(row, SHVc::Rows::StructCode), "_");
        ASSERT_TRUE(MatrixRowRead(SHVc::Number, copy.record, 1, row));
        EXPECT_EQ(GetU32(row, SHVc::Rows::OrderRowNr), 0xFFFFFFFEu);
        EXPECT_EQ(Text(row, SHVc::Rows::ItemCode), "LEG");
        EXPECT_EQ(D(GetDec(row, SHVc::Rows::ToDeliver)), 8);
        EXPECT_EQ(Text(row, SHVc::Rows::StructCode), "");
        ASSERT_TRUE(MatrixRowRead(SHVc::Number, copy.record, 3, row));
        EXPECT_EQ(Text(row, SHVc::Rows::ItemCode), "BOLT");
    }
}

}  // namespace
