// Tests of the definition lookups at their edges: the text index search,
// register 0, absent rows and layouts, empty field lists and text
// indexes, name matching, lookups with no file loaded, and rectangles.
#include <gtest/gtest.h>

#include <vector>

#include "core/definitions.h"
#include "core/interface_load.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "tests/core/defs_loader.h"

namespace {

InterfaceDefs WithTexts(std::vector<int16_t> numbers) {
    InterfaceDefs d;
    for (int16_t n : numbers) d.texts.push_back({n, "t" + std::to_string(n)});
    return d;
}

// "+" or "-" for found, then the position UiTextIndexFind gives n.
std::string IndexFind(int n) {
    int32_t position = -1;
    bool found = true;
    UiTextIndexFind(n, &position, &found);
    return (found ? "+" : "-") + std::to_string(position);
}

class Definitions : public ::testing::Test {
protected:
    void TearDown() override { InterfaceUnload(); }
};

}  // namespace

TEST_F(Definitions, TextIndexFindGivesPositionAndFound) {
    LoadDefs(WithTexts({30, 10, 20}));
    for (auto [n, expected] : {std::pair{20, "+1"}, {25, "-2"}, {5, "-0"}, {35, "-3"}})
        EXPECT_EQ(IndexFind(n), expected) << n;
    EXPECT_EQ(PStringToStd(UiTextFind(30)), "t30");
    EXPECT_EQ(UiTextFind(40000), nullptr) << "not a 16-bit text number";

    // Numbers are ordered as signed 16-bit values: 0x8001 comes first.
    LoadDefs(WithTexts({10, 20, 30}), [](std::vector<uint8_t> &f) {
        size_t entry = BlockAt(f, 7) + 4;
        f[entry] = 0x01;
        f[entry + 1] = 0x80;
    });
    EXPECT_EQ(IndexFind(-32767), "+0");
    EXPECT_EQ(IndexFind(20), "+1");
    PString text;
    GetUiText(text, -32767);
    EXPECT_EQ(PStringToStd(text), "t10");

    // An empty index: every lookup gives the empty text.
    LoadDefs(InterfaceDefs{});
    EXPECT_EQ(IndexFind(1), "-0");
    GetUiText(text, 1);
    EXPECT_EQ(text[0], 0);
}

TEST_F(Definitions, RegistersAtTheirEdges) {
    InterfaceDefs d;
    d.registers.push_back({.number = 3, .name = "ItemVc", .recordSize = 50, .fields = {}, .rows = {}, .indexes = {}});
    // Register 0's entry made to hold a size: the lookup still gives 0.
    LoadDefs(d, [](std::vector<uint8_t> &f) { f[BlockAt(f, 6) + 42] = 99; });
    EXPECT_EQ(RegRecordSize(0), 0u);
    EXPECT_EQ(RegRecordSize(3), 50u);
    EXPECT_EQ(RegRecordSize(133), 0u);
    EXPECT_EQ(RegRecordSize(-1), 0u);
    EXPECT_EQ(RegMatrixOffset(3), -1);
    EXPECT_EQ(RegRowLayout(3).layout, nullptr);
    EXPECT_EQ(RegUserCodeOffset(3), -1);
    EXPECT_EQ(RowLayoutFieldCount(RegRowLayout(3)), 0);

    // An empty field list: a walk does nothing.
    FieldListRef fields = RegFieldList(3);
    EXPECT_EQ(fields.count, 0);
    FieldCursor c = FieldListBegin(fields);
    FieldInfo f;
    EXPECT_FALSE(FieldListNext(&c, &f));
    EXPECT_FALSE(FieldListEntry(fields, 0, &f));
    EXPECT_EQ(RegFieldList(4).count, 0) << "an undefined register";

    // Names are compared exactly, and only register numbers 1..132 count.
    EXPECT_EQ(RegByName("ItemVc"), 3);
    EXPECT_EQ(RegByName("itemvc"), 0);
    EXPECT_EQ(RegByName("Item"), 0);
    EXPECT_EQ(RegByName("ItemVcX"), 0);
    EXPECT_EQ(RegByName(""), 0) << "absent registers have empty names but are not found";
    EXPECT_EQ(RegByName(nullptr), 0);
    EXPECT_EQ(RegName(3)[0], 6);
    EXPECT_EQ(RegName(0)[0], 0);
}

TEST_F(Definitions, SettingsAndWindowTypes) {
    InterfaceDefs d;
    for (uint16_t n : {140, 150, 140})
        d.settingsBlocks.push_back({.number = n, .kind = 1, .size = n, .fields = {}, .rows = {}});
    LoadDefs(d);
    int index = -1;
    const uint8_t *desc = SettingsBlockDesc(140, &index);
    ASSERT_NE(desc, nullptr);
    EXPECT_EQ(index, 0) << "the first descriptor of a block wins";
    EXPECT_EQ(SettingsBlockDesc(150, &index), SettingsBlockDescAt(1));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(SettingsBlockDesc(999, &index), nullptr);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(SettingsBlockDesc(150, nullptr), SettingsBlockDescAt(1));
    EXPECT_EQ(SettingsDescRows(desc).layout, nullptr);
    EXPECT_EQ(SettingsBlockDescAt(3), nullptr);

    // No window type has a layout or a definition.
    EXPECT_EQ(WinTypeDef(5), nullptr);
    EXPECT_EQ(WinTypeDef(-1), nullptr);
    EXPECT_EQ(WinTypeDef(600), nullptr);
    EXPECT_EQ(WinTypeWord(5, 0), 65535);
    EXPECT_EQ(WinTypeWord(5, 23), 0);
    EXPECT_EQ(WinDefPartCount(nullptr, WinPartDataFields), 0);
    EXPECT_EQ(MenuDefFirst(), nullptr);
    EXPECT_EQ(ListTableCount(1), 0);
}

TEST_F(Definitions, NothingLoadedGivesNone) {
    EXPECT_EQ(RegRecordSize(3), 0u);
    EXPECT_EQ(RegMatrixOffset(3), -1);
    EXPECT_EQ(RegByName("ItemVc"), 0);
    EXPECT_EQ(SettingsBlockDesc(145, nullptr), nullptr);
    EXPECT_EQ(WinTypeWord(1, 0), 65535);
    EXPECT_EQ(WinTypeDef(1), nullptr);
    EXPECT_EQ(UiTextFind(1), nullptr);
    EXPECT_EQ(CollationTable, nullptr);
    EXPECT_EQ(MenuDefFirst(), nullptr);
}

TEST_F(Definitions, RectanglesInflateWithinSixteenBits) {
    MacRect r{10, 20, 30, 40};
    RectInflate(&r, -2);
    MacRect shrunk{12, 22, 28, 38};
    EXPECT_TRUE(RectEqual(&r, &shrunk));
    MacRect edge{-32760, 0, 32760, 0};
    RectInflate(&edge, 100);
    EXPECT_EQ(edge.top, -32768);
    EXPECT_EQ(edge.bottom, 32767);
    EXPECT_EQ(edge.left, -100);
}
