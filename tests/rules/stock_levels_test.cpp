// Tests of stock levels by location and date, the quantities a delivery's
// rows have available, item structures exploded into delivery rows, and
// the row costs of stock movements.
#include "core/record_buffer.h"
#include "rules/stock.h"
#include "tests/rules/stock_fixture.h"

namespace {

class StockLevelsTest : public StockFixture {};

// One location reads its own record; the empty location sums every
// location of the item and no other item; a missing pair gives zeros.
TEST_F(StockLevelsTest, Register6LookupByLocationAndSummed) {
    StoreStock("BOLT", "A", 4, 1);
    StoreStock("BOLT", "B", 6, 2);
    StoreStock("BOLTS", "A", 100);
    StoreStock("ANCHOR", "A", 50);
    RuleRecord s(LSVc::Number);
    uint8_t code[256];
    PStringFromC(code, "BOLT");
    const uint8_t all[1] = {0};
    uint8_t b[256], c[256];
    PStringFromC(b, "B");
    PStringFromC(c, "C");
    ASSERT_TRUE(Register6Lookup(code, b, s.record));
    EXPECT_EQ(D(GetDec(s.record, LSVc::InStock)), 6);
    ASSERT_TRUE(Register6Lookup(code, all, s.record));
    EXPECT_EQ(D(GetDec(s.record, LSVc::InStock)), 10);
    EXPECT_EQ(D(GetDec(s.record, LSVc::Reserved)), 3);
    EXPECT_EQ(Text(s.record, LSVc::ItemCode), "BOLT");
    EXPECT_FALSE(Register6Lookup(code, c, s.record));
    EXPECT_EQ(D(GetDec(s.record, LSVc::InStock)), 0);
    PStringFromC(code, "NONE");
    EXPECT_FALSE(Register6Lookup(code, all, s.record));
    EXPECT_EQ(D(GetDec(s.record, LSVc::Reserved)), 0);
}

// The quantity on a past date takes off only the receipts after it at the
// same location, an empty location meaning the main one; other items'
// receipts and issues are not counted.
TEST_F(StockLevelsTest, QuantityBackToDate) {
    MainLocation("A");
    StoreStock("BOLT", "A", 20);
    StoreFifoLayer("BOLT", "A", DateRec{1, 3, 2024}, 5, PUVc::Number, 1);
    StoreFifoLayer("BOLT", "", DateRec{1, 5, 2024}, 3, PUVc::Number, 2);   // the main location
    StoreFifoLayer("BOLT", "B", DateRec{2, 5, 2024}, 7, PUVc::Number, 3);
    StoreFifoLayer("BOLT", "A", DateRec{10, 6, 2024}, 4, PUVc::Number, 4);
    StoreFifoLayer("BOLTX", "A", DateRec{11, 6, 2024}, 9, PUVc::Number, 5);
    RuleRecord issue(ItemHistVc::Number);
    PutText(issue.record, ItemHistVc::ItemCode, 20, "BOLT");
    PutText(issue.record, ItemHistVc::Location, 10, "A");
    PutDate(issue.record, ItemHistVc::HistDate, DateRec{12, 6, 2024});
    PutDec(issue.record, ItemHistVc::Quantity, Dec(8));
    uint32_t recid = 0;
    ASSERT_TRUE(RecStore(ItemHistVc::Number, issue.record, 0, &recid));
    uint8_t item[256], a[256];
    PStringFromC(item, "BOLT");
    PStringFromC(a, "A");
    PackedDecimal q;
    StockQtyAtDate(item, a, &q, nullptr);
    EXPECT_EQ(D(q), 20);
    struct Case { DateRec date; double qty; };
    for (Case c : {Case{{31, 12, 2024}, 20}, Case{{10, 6, 2024}, 20}, Case{{9, 6, 2024}, 16},
                   Case{{30, 4, 2024}, 13}, Case{{1, 1, 2024}, 8}}) {
        StockQtyAtDate(item, a, &q, &c.date);
        EXPECT_EQ(D(q), c.qty) << c.date.day << "." << c.date.month;
    }
}

// A row's quantity to deliver is its remaining quantity limited to the
// stock at the row's location (else the delivery's), never below zero.
TEST_F(StockLevelsTest, RowsAvailable) {
    StoreStock("BOLT", "A", 4);
    StoreStock("NUT", "A", -2);
    StoreStock("NUT", "B", 30);
    RuleRecord d(SHVc::Number);
    PutText(d.record, SHVc::Location, 10, "A");
    DeliveryRow(d.record, "BOLT", 10, 0);
    DeliveryRow(d.record, "NUT", 10, 0);
    DeliveryRow(d.record, "NUT", 10, 0, "", "B");
    DeliveryRow(d.record, "BOLT", 3, 0);
    OrderRowsAvailable(d.record);
    const double deliver[] = {4, 0, 10, 3}, stock[] = {4, -2, 30, 4};
    uint8_t row[SHVc::Rows::Size];
    for (int i = 0; i < 4; i++) {
        ASSERT_TRUE(MatrixRowRead(SHVc::Number, d.record, i, row));
        EXPECT_EQ(D(GetDec(row, SHVc::Rows::ToDeliver)), deliver[i]) << i;
        EXPECT_EQ(D(GetDec(row, SHVc::Rows::Available)), stock[i]) << i;
    }
}

// A structure replaces the delivery's rows by its components with a
// positive quantity, times the quantity, without serial or order link; a
// missing item or structure leaves the delivery as it was.
TEST_F(StockLevelsTest, ExplodeStructure) {
    StoreItem("KIT", {.structure = "S1"});
    StoreItem("LEG");
    StoreStructure("S1", {{"LEG", 2}, {"TOP", 0}, {"GLUE", -1}});
    RuleRecord d(SHVc::Number);
    DeliveryRow(d.record, "KIT", 3, 3, "SN-1");
    uint8_t kit[256], s1[256], s2[256];
    PStringFromC(kit, "KIT");
    PStringFromC(s1, "S1");
    PStringFromC(s2, "S2");
    PackedDecimal three = Dec(3);
    EXPECT_FALSE(ExplodeItemStructure(kit, s2, &three, d.record));
    ASSERT_EQ(MatrixRowCount(SHVc::Number, 0, d.record), 1);
    ASSERT_TRUE(ExplodeItemStructure(kit, s1, &three, d.record));
    ASSERT_EQ(MatrixRowCount(SHVc::Number, 0, d.record), 1);
    uint8_t row[SHVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(SHVc::Number, d.record, 0, row));
    EXPECT_EQ(Text(row, SHVc::Rows::ItemCode), "LEG");
    EXPECT_EQ(Text(row, SHVc::Rows::SerialNr), "");
    EXPECT_EQ(GetU32(row, SHVc::Rows::OrderRowNr), 0xFFFFFFFFu);
    EXPECT_EQ(D(GetDec(row, SHVc::Rows::QtyLeft)), 6);
    EXPECT_EQ(D(GetDec(row, SHVc::Rows::ToDeliver)), 6);
    PackedDecimal avail = GetDec(row, SHVc::Rows::Available);
    EXPECT_TRUE(DecIsBlank(&avail));
}

// A movement row's unit cost is its FIFO cost per unit at the from
// location and its price that cost plus the row's charge; quantity 0
// leaves both blank.
TEST_F(StockLevelsTest, MovementRowCosts) {
    StoreItem("BOLT");
    StoreStock("BOLT", "A", 10);
    Receipt(1, DateRec{1, 3, 2024}, "BOLT", 10, 50, "A");
    RuleRecord m(StockMoveVc::Number);
    PutText(m.record, StockMoveVc::FromLocation, 10, "A");
    for (auto [qty, charge] : {std::pair{2.0, "10%"}, std::pair{0.0, "10%"}, std::pair{1.0, "2.5"}}) {
        uint8_t row[StockMoveVc::Rows::Size] = {};
        PutText(row, StockMoveVc::Rows::ItemCode, 20, "BOLT");
        PutDec(row, StockMoveVc::Rows::Quantity, Dec(qty));
        PutText(row, StockMoveVc::Rows::AddOn, 20, charge);
        ASSERT_TRUE(MatrixRowPut(StockMoveVc::Number, 0, m.record, MatrixRowCount(StockMoveVc::Number, 0, m.record), row));
    }
    ConvertRowCost(m.record);
    uint8_t row[StockMoveVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(StockMoveVc::Number, m.record, 0, row));
    EXPECT_EQ(D(GetDec(row, StockMoveVc::Rows::BaseCost)), 50);
    EXPECT_EQ(D(GetDec(row, StockMoveVc::Rows::UnitCost)), 55);
    ASSERT_TRUE(MatrixRowRead(StockMoveVc::Number, m.record, 1, row));
    PackedDecimal unit = GetDec(row, StockMoveVc::Rows::BaseCost), price = GetDec(row, StockMoveVc::Rows::UnitCost);
    EXPECT_TRUE(DecIsBlank(&unit));
    EXPECT_TRUE(DecIsBlank(&price));
    ASSERT_TRUE(MatrixRowRead(StockMoveVc::Number, m.record, 2, row));
    EXPECT_EQ(D(GetDec(row, StockMoveVc::Rows::UnitCost)), 52.5);
}

}  // namespace
