// Tests of the FIFO cost of an issue: the stock on hand is the newest
// receipts and the issue takes its oldest units.
#include <cmath>
#include <algorithm>
#include <optional>
#include <vector>

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
    // The six oldest units have no receipt: they take the average of the
    // covered ones, as the stock's value prices them.
    EXPECT_EQ(Cost("C", 10, 7), 35);
    EXPECT_EQ(Cost("C", 10, 3), 15);
    StoreItem("D");
    EXPECT_EQ(Cost("D", 10, 3), -99);    // no receipt at all: blank
    EXPECT_EQ(Cost("A", 10, 0), 0);
    EXPECT_EQ(Cost("A", 10, -2), 0);
}

// An item not stocked or missing leaves the caller's cost as it was; a document
// with two history entries for the item is valued once; by-location
// valuation keeps to the receipts at the location.
TEST_F(FifoCostTest, ItemsDocumentsAndLocations) {
    StoreItem("SERVICE", {.stocked = 0});
    Receipt(1, DateRec{1, 2, 2024}, "SERVICE", 5, 9);
    EXPECT_EQ(Cost("SERVICE", 5, 2), -1);   // the caller's cost stays
    EXPECT_EQ(Cost("GHOST", 5, 2), -1);

    StoreItem("A");
    Receipt(2, DateRec{1, 2, 2024}, "A", 5, 2);
    StoreFifoLayer("A", "", DateRec{1, 2, 2024}, 5, PUVc::Number, 2, 1);   // a second entry of purchase 2
    EXPECT_EQ(Cost("A", 10, 10), 20);   // the five older units at the receipt's 2.00

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
    EXPECT_EQ(D(cost), 4);
}

// A receipt as the test keeps it beside the company: its place in the
// history (date, then the order it was stored in), its units and cost.
struct KeptReceipt {
    DateRec date;
    int order;
    int qty;
    int unitCost;
};

// The FIFO cost computed unit by unit, apart from the code under test:
// the stock on hand is numbered 1..onHand from the oldest unit, the
// receipts fill it from the top down, newest first, and the issue takes
// units 1..issued; units below every receipt take the average of the
// covered ones. -99 when no receipt covers any unit.
double PlainFifoCost(std::vector<KeptReceipt> receipts, int onHand, int issued) {
    std::sort(receipts.begin(), receipts.end(), [](const KeptReceipt &a, const KeptReceipt &b) {
        int c = DateCompare(&a.date, &b.date);
        return c != 0 ? c > 0 : a.order > b.order;
    });
    std::vector<std::optional<int>> unit(onHand + 1);
    int top = onHand;
    for (const KeptReceipt &r : receipts)
        for (int i = 0; i < r.qty && top >= 1; i++) unit[top--] = r.unitCost;
    double covered = 0, coveredValue = 0;
    for (int u = 1; u <= onHand; u++)
        if (unit[u]) covered++, coveredValue += *unit[u];
    if (covered == 0) return -99;
    double cost = 0, uncovered = 0;
    for (int u = 1; u <= issued && u <= onHand; u++)
        if (unit[u]) cost += *unit[u];
        else uncovered++;
    return cost + std::round(uncovered * coveredValue / covered * 100) / 100;
}

// An item's receipts lie among 5,000 sales that carry the receipt flag
// too: the cost must still be the one of the receipts alone, whether the
// stock came from purchases (old ones still on hand) or mostly from a
// count that left no receipt behind.
TEST_F(FifoCostTest, CostAfterManySalesEqualsPlainWalkOverReceipts) {
    StoreItem("P");
    StoreItem("K");
    std::vector<KeptReceipt> bought, counted;
    int order = 0;
    uint32_t serial = 1;
    DbHoldBegin();
    auto purchase = [&](std::vector<KeptReceipt> &kept, const char *item, DateRec date, int qty, int unit) {
        Receipt(serial++, date, item, qty, unit);
        kept.push_back({date, order++, qty, unit});
    };
    // Purchases of P over the first months, two of them on one date.
    for (int m = 1; m <= 6; m++) purchase(bought, "P", DateRec{1, (uint16_t)m, 2024}, 40 + m, 2 + m);
    purchase(bought, "P", DateRec{1, 3, 2024}, 7, 11);
    for (int i = 0; i < 5000; i++) {
        DateRec date{(uint16_t)(1 + i % 28), (uint16_t)(1 + i / 500), 2024};
        StoreFifoLayer("P", "", date, -1, 5, 100000 + i);
        StoreFifoLayer("K", "", date, -1, 5, 200000 + i);
        if (i == 2500) purchase(counted, "K", date, 30, 9);   // one purchase after the count
        if (i == 4000) purchase(bought, "P", date, 12, 4);
    }
    ASSERT_TRUE(DbHoldEnd());

    for (int onHand : {5, 12, 60, 250, 400}) {
        for (int issued : {1, std::min(7, onHand), onHand}) {
            SCOPED_TRACE(testing::Message() << "on hand " << onHand << ", issued " << issued);
            EXPECT_NEAR(Cost("P", onHand, issued), PlainFifoCost(bought, onHand, issued), 0.005);
        }
    }
    for (int onHand : {20, 30, 35, 5000}) {
        for (int issued : {1, std::max(1, onHand - 29), onHand}) {
            SCOPED_TRACE(testing::Message() << "counted, on hand " << onHand << ", issued " << issued);
            EXPECT_NEAR(Cost("K", onHand, issued), PlainFifoCost(counted, onHand, issued), 0.005);
        }
    }
    EXPECT_EQ(Cost("K", 5000, 4969), 4969 * 9);   // the counted units take the receipt's cost
}

}  // namespace
