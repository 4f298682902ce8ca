// The lines the FIFO walk and the component scan write when a report asks
// for them: each row taken and each component reaches the installed
// writer with what the calculation used, and without a writer the user
// is told while the result stays what it is without lines.
#include <string>
#include <vector>

#include "core/ui_text.h"
#include "dict_offsets.h"
#include "rules/stock.h"
#include "rules/stock_cost_lines.h"
#include "tests/rules/stock_fixture.h"

namespace {

struct FifoLine {
    uint16_t reg;
    uint32_t serial;
    double qty, unit, value;
};
struct ComponentLine {
    std::string code;
    double available, reserved, needed;
};
std::vector<FifoLine> fifoLines;
std::vector<ComponentLine> componentLines;

class StockCostLinesTest : public StockFixture {
protected:
    void SetUp() override {
        StockFixture::SetUp();
        // No writers until a test installs them, whatever an earlier
        // test's start of the program filled in.
        StockCostLines = StockCostLinesRec{};
        fifoLines.clear();
        componentLines.clear();
    }
    void TearDown() override {
        StockCostLines = StockCostLinesRec{};
        StockFixture::TearDown();
    }
    static void Install() {
        StockCostLines.fifoRow = [](uint16_t reg, uint32_t serial, const DateRec &, const PackedDecimal *qty,
                                    const PackedDecimal *unit, const PackedDecimal *value) {
            fifoLines.push_back({reg, serial, D(*qty), D(*unit), D(*value)});
        };
        StockCostLines.component = [](const uint8_t *code, const PackedDecimal *available,
                                      const PackedDecimal *reserved, const PackedDecimal *needed,
                                      const PackedDecimal *) {
            componentLines.push_back({PStringToStd(code), D(*available), D(*reserved), D(*needed)});
        };
    }
    // The FIFO value of qty units of item, with or without its lines.
    static double Value(const char *item, double qty, bool print) {
        uint8_t code[256], all[256];
        PStringFromC(code, item);
        PStringFromC(all, "");
        PackedDecimal q = Dec(qty), result;
        StockFifoValue(code, all, &q, &result, false, print, nullptr);
        return D(result);
    }
    static double Made(const char *item, bool print) {
        uint8_t code[256];
        PStringFromC(code, item);
        PackedDecimal made;
        RecipeComponentScan(code, 1, &made, nullptr, print, 0);
        return D(made);
    }
    static std::string NotYet() {
        char text[256];
        GetUiTextC(text, Texts::FunctionNotYet);
        return text;
    }
    void StoreTable() {
        StoreItem("LEG");
        StoreItem("TOP");
        StoreStock("LEG", "A", 30, 4);
        StoreStock("TOP", "A", 300);
        StoreItem("TABLE", {.structure = "S1"});
        StoreStructure("S1", {{"LEG", 4}, {"TOP", 100}});
    }
};

// Each receipt row the walk takes is one line, newest receipt first; the
// lines' units add up to the quantity valued and their values to the
// result. The component scan writes one line per component.
TEST_F(StockCostLinesTest, InstalledWritersGetEveryRowAndComponent) {
    Install();
    StoreItem("A");
    Receipt(1, DateRec{1, 2, 2024}, "A", 6, 3);
    Receipt(2, DateRec{1, 3, 2024}, "A", 4, 5);
    EXPECT_EQ(Value("A", 8, true), 4 * 5 + 4 * 3);
    ASSERT_EQ(fifoLines.size(), 2u);
    EXPECT_EQ(fifoLines[0].serial, 2u);
    EXPECT_EQ(fifoLines[0].reg, PUVc::Number);
    EXPECT_EQ(fifoLines[0].qty, 4);
    EXPECT_EQ(fifoLines[0].value, 20);
    EXPECT_EQ(fifoLines[1].serial, 1u);
    EXPECT_EQ(fifoLines[1].qty, 4);
    EXPECT_EQ(fifoLines[1].unit, 3);
    EXPECT_EQ(fifoLines[1].value, 12);
    fifoLines.clear();
    EXPECT_EQ(Value("A", 8, false), 32);   // no lines unless asked
    EXPECT_TRUE(fifoLines.empty());

    StoreTable();
    EXPECT_EQ(Made("TABLE", true), 3);
    ASSERT_EQ(componentLines.size(), 2u);
    EXPECT_EQ(componentLines[0].code, "LEG");
    EXPECT_EQ(componentLines[0].available, 30);
    EXPECT_EQ(componentLines[0].reserved, 4);
    EXPECT_EQ(componentLines[0].needed, 4);
    EXPECT_EQ(componentLines[1].code, "TOP");
    EXPECT_EQ(componentLines[1].needed, 100);
    EXPECT_TRUE(shown.empty());
}

// Lines asked for with no writer: the user is told once a calculation,
// the result is the one without lines, and not asking tells nothing.
TEST_F(StockCostLinesTest, MissingWritersTellTheUserAndKeepTheResult) {
    StoreItem("A");
    Receipt(1, DateRec{1, 2, 2024}, "A", 6, 3);
    EXPECT_EQ(Value("A", 5, false), 15);
    StoreTable();
    EXPECT_EQ(Made("TABLE", false), 3);
    EXPECT_TRUE(shown.empty());

    EXPECT_EQ(Value("A", 5, true), 15);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(NotYet()), std::string::npos) << shown[0];
    EXPECT_EQ(Made("TABLE", true), 3);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_TRUE(fifoLines.empty());
    EXPECT_TRUE(componentLines.empty());
}

}  // namespace
