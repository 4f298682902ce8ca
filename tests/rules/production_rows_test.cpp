// production_rows_test.cpp - a production's rows from its item's
// structure: serial-tracked components split per unit, fractions dropped,
// other components whole, and a production without structure or with
// more units than a production can hold left with no rows.
#include "core/record_buffer.h"
#include "rules/stock.h"
#include "tests/rules/rules_fixture.h"

namespace {

namespace P = ProductionVc;

class ProductionRows : public RulesFixture {
protected:
    // A production of item with one old row, so that replacing shows.
    void NewProduction(RuleRecord &prod, const char *item) {
        RecNewDefaults(P::Number, prod.record);
        PutText(prod.record, P::ItemCode, 20, item);
        PutText(prod.record, P::StructText, 60, "old text");
        uint8_t row[P::Rows::Size] = {};
        PutText(row, P::Rows::ItemCode, 20, "OLD");
        ASSERT_TRUE(MatrixRowPut(P::Number, 0, prod.record, 0, row));
    }
    struct Row {
        std::string item;
        double used, made;   // -1: blank
    };
    static std::vector<Row> Rows(const uint8_t *prod) {
        std::vector<Row> out;
        uint8_t row[P::Rows::Size];
        for (int32_t i = 0; MatrixRowRead(P::Number, prod, i, row); i++) {
            PackedDecimal u = GetDec(row, P::Rows::QtyUsed), m = GetDec(row, P::Rows::QtyMade);
            out.push_back({Text(row, P::Rows::ItemCode), DecIsBlank(&u) ? -1 : DecToDouble(&u),
                           DecIsBlank(&m) ? -1 : DecToDouble(&m)});
        }
        return out;
    }
};

// Serial-tracked (one unit per serial) components give a row per whole
// unit of what is used and of what is made; 2.7 gives two rows; a
// component tracked several units per serial, or not at all, stays one
// row with both quantities. The structure's text and row amounts come
// along.
TEST_F(ProductionRows, SerialComponentsSplitPerUnit) {
    StoreItem("SER", {.serialMode = 1});
    StoreItem("BATCH", {.serialMode = 2});
    StoreItem("PLAIN");
    StoreStructure("KIT", {{"SER", 3}, {"SER", 2.7}, {"SER", 0, 2}, {"PLAIN", 3}, {"BATCH", 4}, {"NOITEM", 1.5}});
    {   // the structure's text and a row's costs
        RuleRecord s(StructureVc::Number);
        PutText(s.record, StructureVc::Code, 20, "KIT");
        uint32_t recid = 0, pos = 0;
        ASSERT_TRUE(RecFind(StructureVc::Number, s.record, 1, 1, &recid, &pos));
        PutText(s.record, StructureVc::Text, 60, "Kit of parts");
        const PackedDecimal cost = Dec(12.5);
        ASSERT_TRUE(MatrixFieldPut(StructureVc::Number, s.record, 0, StructureVc::Rows::Cost, &cost));
        ASSERT_TRUE(RecStore(StructureVc::Number, s.record, 1, &recid));
    }
    RuleRecord prod(P::Number);
    NewProduction(prod, "KIT");
    ASSERT_TRUE(FillProductionFromStructure(prod.record));
    EXPECT_EQ(Text(prod.record, P::StructText), "Kit of parts");

    std::vector<Row> rows = Rows(prod.record);
    std::vector<Row> want = {{"SER", 1, -1}, {"SER", 1, -1}, {"SER", 1, -1},   // 3
                             {"SER", 1, -1}, {"SER", 1, -1},                   // 2.7
                             {"SER", -1, 1}, {"SER", -1, 1},                   // made 2
                             {"PLAIN", 3, 0}, {"BATCH", 4, 0}, {"NOITEM", 1.5, 0}};
    ASSERT_EQ(rows.size(), want.size());
    for (size_t i = 0; i < want.size(); i++) {
        EXPECT_EQ(rows[i].item, want[i].item) << i;
        EXPECT_DOUBLE_EQ(rows[i].used, want[i].used) << i;
        EXPECT_DOUBLE_EQ(rows[i].made, want[i].made) << i;
    }
    PackedDecimal cost;
    ASSERT_TRUE(MatrixFieldGet(P::Number, prod.record, 2, P::Rows::UnitCost, &cost));
    EXPECT_DOUBLE_EQ(DecToDouble(&cost), 12.5);
}

// No structure: false and no rows (the old ones are gone). A serial
// component of a million units would pass the row limit: refused the same
// way rather than filling memory.
TEST_F(ProductionRows, NoStructureOrTooManyUnitsLeavesNoRows) {
    RuleRecord prod(P::Number);
    NewProduction(prod, "NONE");
    EXPECT_FALSE(FillProductionFromStructure(prod.record));
    EXPECT_EQ(MatrixRowCount(P::Number, 0, prod.record), 0);
    EXPECT_NE(RecMatrixHandle(P::Number, prod.record), 0u);

    StoreItem("SER", {.serialMode = 1});
    StoreStructure("HUGE", {{"SER", 1000000}});
    NewProduction(prod, "HUGE");
    EXPECT_FALSE(FillProductionFromStructure(prod.record));
    EXPECT_EQ(MatrixRowCount(P::Number, 0, prod.record), 0);

    StoreStructure("NEG", {{"SER", -3}, {"SER", 32767}});   // negative: no units; the limit itself fits
    NewProduction(prod, "NEG");
    EXPECT_TRUE(FillProductionFromStructure(prod.record));
    EXPECT_EQ(MatrixRowCount(P::Number, 0, prod.record), 32767);
}

}  // namespace
