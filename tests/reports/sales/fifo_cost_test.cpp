// Tests of the FIFO cost of an issue: the stock on hand is the newest
// receipts and the issue takes its oldest units.
#include "reports/sales/sales_reports.h"
#include "rules/stock.h"
#include "tests/rules/stock_fixture.h"

namespace {

class FifoCostTest : public StockFixture {
protected:
    double Cost(const char *item, double onHand, double issued, const char *location = "") {
        uint8_t code[256], loc[256];
        PStringFromC(code, item);
        PStringFromC(loc, location);
        PackedDecimal h = Dec(onHand), q = Dec(issued), cost;
        DecFromLong(&cost, -1);   // a value the cost must replace
        StockFifoCostOfQty(code, loc, &h, &q, &cost);
        return DecIsBlank(&cost) ? -99 : D(cost);
    }
};

// The examples of the valuation: two receipts, one receipt covering the
// whole stock, and one covering only the newest part of it.
TEST_F(FifoCostTest, IssueTakesOldestUnitsOfStockOnHand) {
    StoreItem("A");
    Receipt(1, DateRec{1, 2, 2024}, "A", 6, 3);
    Receipt(2, DateRec{1, 3, 2024}, "A", 4, 5);
    EXPECT_EQ(Cost("A", 10, 7), 23);
    EXPECT_EQ(Cost("A", 10, 10), 38);
    EXPECT_EQ(Cost("A", 4, 3), 15);      // the stock on hand is the newest receipt
    StoreItem("B");
    Receipt(3, DateRec{1, 2, 2024}, "B", 10, 2);
    EXPECT_EQ(Cost("B", 10, 3), 6);
    StoreItem("C");
    Receipt(4, DateRec{1, 2, 2024}, "C", 4, 5);
    EXPECT_EQ(Cost("C", 10, 7), 5);      // the six oldest units have no receipt
    EXPECT_EQ(Cost("C", 10, 3), -99);    // nothing taken: blank
    EXPECT_EQ(Cost("A", 10, 0), 0);
    EXPECT_EQ(Cost("A", 10, -2), 0);
}

// An item not stocked or missing leaves the cost as it was; a document
// with two history entries for the item is valued once; by-location
// valuation keeps to the receipts at the location.
TEST_F(FifoCostTest, ItemsDocumentsAndLocations) {
    StoreItem("SERVICE", {.stocked = 0});
    Receipt(1, DateRec{1, 2, 2024}, "SERVICE", 5, 9);
    EXPECT_EQ(Cost("SERVICE", 5, 2), -1);
    EXPECT_EQ(Cost("GHOST", 5, 2), -1);

    StoreItem("A");
    Receipt(2, DateRec{1, 2, 2024}, "A", 5, 2);
    StoreFifoLayer("A", "", DateRec{1, 2, 2024}, 5, PUVc::Number, 2, 1);   // a second entry of purchase 2
    EXPECT_EQ(Cost("A", 10, 10), 10);

    std::vector<uint8_t> valuation(CostAccBlk::Size, 0);
    PutU16(valuation.data(), CostAccBlk::ValueByLocation, 1);
    StoreBlock(CostAccBlk::Number, valuation.data(), CostAccBlk::Size);
    StoreItem("L");
    Receipt(3, DateRec{1, 2, 2024}, "L", 5, 2, "X");
    Receipt(4, DateRec{1, 3, 2024}, "L", 5, 7, "Y");
    EXPECT_EQ(Cost("L", 5, 5, "X"), 10);
    EXPECT_EQ(Cost("L", 5, 5, "Y"), 35);
    EXPECT_EQ(Cost("L", 10, 10), 45);

    // FifoIssueCost takes the stock on hand from register 6.
    StoreStock("L", "X", 5);
    uint8_t code[256], x[256];
    PStringFromC(code, "L");
    PStringFromC(x, "X");
    PackedDecimal qty = Dec(2), cost, extra = Dec(5);
    FifoIssueCost(code, x, &qty, &cost);
    EXPECT_EQ(D(cost), 4);
    FifoIssueCostPlus(code, x, &qty, &cost, &extra);   // 10 on hand: the two oldest have no receipt at X
    EXPECT_TRUE(DecIsBlank(&cost));
}

}  // namespace
