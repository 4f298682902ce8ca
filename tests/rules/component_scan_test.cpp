// Tests of how many units of an item its components in stock allow.
#include "rules/stock.h"
#include "tests/rules/stock_fixture.h"

namespace {

class ComponentScanTest : public StockFixture {
protected:
    // Units of item its components allow, and the net second result.
    std::pair<double, double> Scan(const char *item, int explode = 0) {
        uint8_t code[256];
        PStringFromC(code, item);
        PackedDecimal result, second;
        RecipeComponentScan(code, 1, &result, &second, 0, explode);
        return {D(result), D(second)};
    }
};

// The smallest ratio of stock to need, times the batch, is rounded down
// unless it lies within 0.01 of the next unit.
TEST_F(ComponentScanTest, RatioRounding) {
    StoreItem("LEG");
    StoreItem("TOP");
    for (auto [top, want] : {std::pair{250.0, 2.0}, {298.0, 2.0}, {299.0, 3.0}, {300.0, 3.0}}) {
        RegDeleteAll(LSVc::Number);
        StoreStock("LEG", "A", 30, 4);
        StoreStock("TOP", "A", top);
        StoreItem("TABLE", {.structure = "S1"});
        StoreStructure("S1", {{"LEG", 4}, {"TOP", 100}});
        EXPECT_EQ(Scan("TABLE").first, want) << top;
    }
    EXPECT_EQ(Scan("TABLE").second, 3);            // legs (30 - 4) / 4 = 6.5, top 3.00
    StoreStructure("S1", {{"LEG", 4}, {"TOP", 100}, {"TABLE", 0, 2}});   // a batch of 2
    EXPECT_EQ(Scan("TABLE").first, 6);
}

// Missing structure and yield-only structures give 0; a component with
// no need never limits the result; two rows of one component add up; explode follows
// a component's own structure.
TEST_F(ComponentScanTest, EdgesAndSubStructures) {
    StoreItem("LEG", {.structure = "SL"});
    StoreItem("SCREW");
    StoreItem("NAIL");
    StoreStock("LEG", "A", 10);
    StoreStock("SCREW", "A", 40);
    StoreStock("NAIL", "A", 1);
    StoreItem("NOSTRUCT", {.structure = "GONE"});
    EXPECT_EQ(Scan("NOSTRUCT").first, 0);
    StoreItem("SELF", {.structure = "SS"});
    StoreStructure("SS", {{"SELF", 1, 5}});
    EXPECT_EQ(Scan("SELF").first, 0);
    StoreItem("T", {.structure = "ST"});
    StoreStructure("ST", {{"LEG", 1}, {"LEG", 1}, {"NAIL", 0}, {"UNKNOWN", 1}});
    EXPECT_EQ(Scan("T").first, 5);
    StoreStructure("SL", {{"SCREW", 8}});
    EXPECT_EQ(Scan("T", 1).first, 2);             // 40 screws / (8 + 8)
}

// A first component with no need limits nothing: the result is what the
// needed components allow, not the blank ratio of the first; a structure
// whose components are all unneeded allows nothing.
TEST_F(ComponentScanTest, FirstComponentWithoutNeedIsPassedOver) {
    StoreItem("NAIL");
    StoreItem("LEG");
    StoreStock("NAIL", "A", 1);
    StoreStock("LEG", "A", 10, 2);
    StoreItem("T", {.structure = "ST"});
    StoreStructure("ST", {{"NAIL", 0}, {"LEG", 2}});
    EXPECT_EQ(Scan("T"), (std::pair<double, double>{5, 4}));
    StoreStructure("ST", {{"NAIL", 0}, {"LEG", 0}});
    EXPECT_EQ(Scan("T"), (std::pair<double, double>{0, 0}));
}

}  // namespace
