// Tests of the interface file: writer and loader round trips, the
// writer's refusals, the loader's refusal of broken files (which must
// leave the loaded tables as they were), and the probe and block reader.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "core/definitions.h"
#include "core/format_block.h"
#include "core/interface_load.h"
#include "core/interface_write.h"
#include "core/message_sink.h"
#include "core/name_table.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/language_file.h"
#include "tests/core/defs_loader.h"

namespace {

void Put16(std::vector<uint8_t> &v, uint16_t x) {
    v.push_back((uint8_t)x);
    v.push_back((uint8_t)(x >> 8));
}

RegisterDefSource Reg(uint16_t number, const char *name, uint32_t size, int line = 0) {
    return {.number = number, .name = name, .recordSize = size, .fields = {}, .rows = {}, .indexes = {}, .line = line};
}

IndexDefSource Index(const char *name, uint16_t head, uint16_t keyLength, std::vector<KeyPartDef> parts) {
    return {.name = name, .head = head, .keyLength = keyLength, .maxEntries = 10, .nodeSize = 504, .words = {1, 0, 1},
            .parts = parts};
}

std::vector<uint8_t> SizedEntry(uint16_t size, uint8_t fill) {
    std::vector<uint8_t> e(size, fill);
    e[0] = (uint8_t)size;
    e[1] = (uint8_t)(size >> 8);
    return e;
}

const char *const LongRegName = "RegisterWithANameOfFortyCharactersLongVc";
const char *const LongIndexName = "IndexOfTwentyLetters";

// Registers of five shapes, settings blocks of both kinds, window types
// with and without layouts, texts, three kinds of list tables and a name
// table of two names in one bucket.
InterfaceDefs Rich() {
    InterfaceDefs d;
    RegisterDefSource inv = Reg(5, "IVVc", 300, 10);
    inv.fields = {{"SerNr", 0, 5, 4}, {"CustCode", 4, 1, 20}, {"Rows", 200, 20, 4}};
    inv.matrixOffset = 200;
    inv.userCodeOffset = 210;
    inv.rows = RowLayoutDef{40, 2, {{"Kind", 1, 0, 10, 2}, {"Item", 1, 2, 1, 20}, {"Text", 2, 2, 1, 30}}};
    inv.indexes = {Index("SerNr", 2, 4, {{1, 0, 0, 4, 5}}),
                   Index("CustDate", 3, 28, {{1, 4, 0, 22, 1}, {1, 26, 22, 6, 8}})};
    RegisterDefSource simple = Reg(9, "CurncyVc", 8);
    simple.simple = true;
    simple.fields = {{"Code", 0, 1, 5}};
    simple.indexes = {Index("Code", 4, 8, {{1, 0, 0, 8, 1}})};
    RegisterDefSource bare = Reg(132, "LastVc", 16);   // no fields, no indexes
    RegisterDefSource first = Reg(1, "AccVc", 100);
    first.fields = {{"AccNumber", 0, 1, 10}};
    // "Register:Index" of 40 + 1 + 20 characters, the longest the engine keeps.
    RegisterDefSource longest = Reg(7, LongRegName, 4);
    longest.indexes = {Index(LongIndexName, 5, 4, {{1, 0, 0, 4, 5}})};
    d.registers = {inv, simple, bare, first, longest};

    d.settingsBlocks = {
        {.number = 145, .kind = 1, .size = 40, .fields = {{"DateSep", 0, 1, 1}, {"Decimals", 8, 2, 2}}, .rows = {}},
        {.number = 163, .kind = 0, .size = 86, .fields = {}, .rows = RowLayoutDef{86, 1, {{"RepNr", 1, 84, 2, 2}}}},
        {.number = 145, .kind = 1, .size = 2, .fields = {}, .rows = {}}};   // a second descriptor of the same block

    WinTypeSource w{};
    w.number = 12;
    for (int i = 0; i < WinTypeWords; i++) w.words[i] = (uint16_t)(100 + i);
    WinTypeSource plain{};
    plain.number = 599;
    plain.words[0] = 1;
    d.winTypes = {w, plain};
    WinDefinitionSource layout{};
    layout.number = 12;
    layout.parts[WinPartDataFields] = std::vector<std::vector<uint8_t>>{SizedEntry(34, 1), SizedEntry(40, 2)};
    layout.parts[WinPartMatrixColumns] = std::vector<std::vector<uint8_t>>{std::vector<uint8_t>(24, 7)};
    layout.parts[WinPartPages] = std::vector<std::vector<uint8_t>>{};
    d.winDefinitions = {layout};

    d.texts = {{300, "Invoice"}, {7, "Jul"}, {32767, "Top"}, {8, ""}};
    for (int i = 0; i < 256; i++) {
        d.readTable[i] = (uint8_t)(255 - i);
        d.writeTable[i] = (uint8_t)i;
        d.collation[i] = (uint8_t)(i ^ 1);
    }

    std::vector<uint8_t> modules;   // slot 7: two 8-byte entries
    Put16(modules, 1);
    for (uint16_t x : {12, 300, 7, 0, 5, 8, 7, 2}) Put16(modules, x);
    d.lists.tables[7] = modules;
    std::vector<uint8_t> menus;     // slot 10: one menu of two items, then the end mark
    for (uint16_t x : {10, 4, 2}) Put16(menus, x);
    menus.insert(menus.end(), {3, 'E', 'd', 'i'});
    for (uint16_t x : {12, 0, 0, 401}) Put16(menus, x);
    menus.insert(menus.end(), {3, 'C', 'u', 't'});
    for (uint16_t x : {11, 0, 0, 0}) Put16(menus, x);
    menus.insert(menus.end(), {2, '(', '-'});
    for (uint16_t x : {4, 0}) Put16(menus, x);
    d.lists.tables[10] = menus;
    std::vector<uint8_t> choices;   // slot 11: lists of two and of no pairs
    Put16(choices, 1);
    for (uint16_t x : {14, 3, 2, 0, 7, 1, 8}) Put16(choices, x);
    for (uint16_t x : {6, 4, 0}) Put16(choices, x);
    d.lists.tables[11] = choices;

    d.names.header = std::vector<uint8_t>(12);
    d.names.header[0] = 2;
    d.names.buckets = std::vector<uint8_t>(512, 0xFF);
    d.names.buckets[2 * 33] = 0;
    d.names.buckets[2 * 33 + 1] = 0;
    d.names.entries = {1, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 4, 0, 0, 0, 0, 0};
    d.names.pool = {'S', 'U', 'M', 0, 'A', 'B', 'S', 0};
    d.overstrikeTable = std::vector<uint8_t>(256, '_');
    return d;
}

std::vector<uint8_t> Write(const InterfaceDefs &d) {
    std::vector<uint8_t> f;
    std::string error;
    EXPECT_TRUE(InterfaceWrite(d, &f, &error)) << error;
    return f;
}

std::string WriteError(const InterfaceDefs &d) {
    std::vector<uint8_t> f;
    std::string error;
    EXPECT_FALSE(InterfaceWrite(d, &f, &error));
    return error;
}

void Poke32(std::vector<uint8_t> &f, size_t at, uint32_t v) {
    for (int i = 0; i < 4; i++) f[at + i] = (uint8_t)(v >> (8 * i));
}

std::string LoadError(const std::vector<uint8_t> &f) {
    std::string error;
    EXPECT_FALSE(LoadDefinitionsFromBytes(f.data(), f.size(), &error, "QVENG.WIN"));
    return error;
}

std::string Shown;

class InterfaceFile : public ::testing::Test {
protected:
    void TearDown() override { InterfaceUnload(); }
};

}  // namespace

TEST_F(InterfaceFile, RoundTripReachesEveryTable) {
    std::vector<uint8_t> f = Write(Rich());
    ThousandsFlag = 1;
    RecordCounts[5] = 7;
    WinTypeUseTable[12].inUse = 1;
    std::string error;
    ASSERT_TRUE(LoadDefinitionsFromBytes(f.data(), f.size(), &error)) << error;
    EXPECT_EQ(ThousandsFlag, 0);
    EXPECT_EQ(RecordCounts[5], 0u);
    EXPECT_EQ(WinTypeUseTable[12].inUse, 0);
    EXPECT_EQ(InterfaceVersionLoaded, 3041u);

    // Registers.
    EXPECT_EQ(std::tuple(RegByName("IVVc"), RegByName("LastVc"), RegRecordSize(5)), std::tuple(5, 132, 300u));
    EXPECT_EQ(std::tuple(RegMatrixOffset(5), RegUserCodeOffset(5), RegMatrixOffset(9)), std::tuple(200, 210, -1));
    EXPECT_TRUE(!RegIsSimple(5) && RegIsSimple(9));
    FieldListRef fields = RegFieldList(5);
    ASSERT_EQ(fields.count, 3);
    FieldInfo fi;
    ASSERT_TRUE(FieldListEntry(fields, 2, &fi));
    EXPECT_EQ(std::tuple(fi.offset, fi.type, fi.size), std::tuple(200u, 20, 4));
    EXPECT_FALSE(FieldListEntry(fields, 3, &fi));
    EXPECT_EQ(RegFieldList(132).count, 0);

    RowLayoutRef rows = RegRowLayout(5);
    EXPECT_EQ(std::tuple(RowLayoutRowSize(rows), RowLayoutKindCount(rows)), std::tuple(40u, 2));
    ASSERT_EQ(RowLayoutFieldCount(rows), 3);
    RowFieldInfo rf;
    ASSERT_TRUE(RowLayoutField(rows, 2, &rf));
    EXPECT_EQ(std::tuple(rf.kind, rf.offset, rf.size), std::tuple(2, 2u, 30));
    EXPECT_EQ(RegRowLayout(9).layout, nullptr);

    ASSERT_EQ(RegIndexCount(5), 2);
    const uint8_t *def = RegIndexDef(5, 1);
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def, IndexDefNext(RegIndexDefs(5)));
    EXPECT_EQ(PStringToStd(IndexDefName(def)), "CustDate");
    EXPECT_EQ(std::tuple(IndexDefHead(def), IndexDefKeyLength(def), IndexDefNodeSize(def), IndexDefWord(def, 2)),
              std::tuple(3, 28, 504u, 1));
    ASSERT_EQ(IndexDefPartCount(def), 2);
    KeyPartInfo part = IndexDefPart(def, 1);
    EXPECT_EQ(std::tuple(part.recordOffset, part.keyOffset, part.length, part.type), std::tuple(26u, 22u, 6, 8));
    EXPECT_EQ(RegIndexCount(132), 0);
    EXPECT_EQ(RegIndexDefs(132), nullptr);

    // Settings blocks: the first of two descriptors of block 145.
    int index = -1;
    const uint8_t *desc = SettingsBlockDesc(145, &index);
    ASSERT_NE(desc, nullptr);
    EXPECT_EQ(std::tuple(index, SettingsDescSize(desc)), std::tuple(0, 40u));
    ASSERT_TRUE(FieldListEntry(SettingsDescFields(desc), 1, &fi));
    EXPECT_EQ(fi.offset, 8u);
    desc = SettingsBlockDesc(163, &index);
    ASSERT_NE(desc, nullptr);
    EXPECT_EQ(std::tuple(index, SettingsDescKind(desc)), std::tuple(1, 0));
    ASSERT_TRUE(RowLayoutField(SettingsDescRows(desc), 0, &rf));
    EXPECT_EQ(rf.offset, 84u);
    EXPECT_EQ(SettingsBlockStates.size(), 3u);

    // Window types and their layouts.
    EXPECT_EQ(std::tuple(WinTypeWord(12, 0), WinTypeWord(12, 22), WinTypeWord(599, 0), WinTypeWord(13, 0)),
              std::tuple(100, 122, 1, 65535));
    uint8_t *layout = WinTypeDef(12);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(WinTypeDef(599), nullptr);
    EXPECT_EQ(WinDefPartCount(layout, WinPartDataFields), 2);
    uint16_t size = 0;
    uint8_t *entry = WinDefPartEntry(layout, WinPartDataFields, 1, &size);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(std::tuple(size, entry[39]), std::tuple(40, 2));
    entry = WinDefPartEntry(layout, WinPartMatrixColumns, 0, &size);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(std::tuple(size, entry[23]), std::tuple(24, 7));
    EXPECT_EQ(WinDefPartCount(layout, WinPartPages) + WinDefPartCount(layout, WinPartBoxes), 0);
    EXPECT_EQ(WinDefPartEntry(layout, WinPartBoxes, 0, &size), nullptr);

    // Texts through GetUiText, character tables, collation, name table.
    PString text;
    GetUiText(text, 300);
    EXPECT_EQ(PStringToStd(text), "Invoice");
    GetUiText(text, 32767);
    EXPECT_EQ(PStringToStd(text), "Top");
    GetUiText(text, 301);
    EXPECT_EQ(text[0], 0);
    EXPECT_EQ(CharTranslationTables[0][3], 252);
    EXPECT_EQ(CollationTable[4], 5);
    EXPECT_EQ(PrinterCharTable, nullptr);
    ASSERT_NE(OverstrikeTable, nullptr);
    EXPECT_EQ(OverstrikeTable[0], '_');
    EXPECT_EQ(NameTableCount(), 2);
    EXPECT_EQ(NameTableFind("ABS", 33), 1);

    // Lists.
    EXPECT_EQ(ListDirectory[0], nullptr);
    EXPECT_EQ(ListTableCount(7), 2);
    EXPECT_EQ(DefU16(ListTableEntry(7, 1) + 2), 8);
    EXPECT_EQ(ListTableCount(11), 2);
    EXPECT_EQ(DefU16(ListTableEntry(11, 1) + 2), 4);
    const uint8_t *menu = MenuDefFirst();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(MenuDefNumber(menu), 4);
    EXPECT_EQ(PStringToStd(MenuDefTitle(menu)), "Edi");
    ASSERT_EQ(MenuDefItemCount(menu), 2);
    EXPECT_EQ(PStringToStd(MenuDefItem(menu, 1) + 8), "(-");
    EXPECT_EQ(MenuDefNext(menu), nullptr);
}

TEST_F(InterfaceFile, WriterRefusesWhatTheFormatCannotHold) {
    auto refused = [](auto change) {
        InterfaceDefs d = Rich();
        change(d);
        return WriteError(d);
    };
    EXPECT_EQ(refused([](InterfaceDefs &d) { d.registers[0].number = 133; }),
              "register 133 \"IVVc\" (line 10): register number out of 1..132");
    EXPECT_NE(refused([](InterfaceDefs &d) { d.registers[1].number = 5; }).find("defined twice"), std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.registers[0].name = std::string(42, 'X'); }).find("longer than 41"),
              std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.registers[0].fields[1].offset = 300; }).find("\"CustCode\""),
              std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.registers[0].indexes[1].head = 2; }).find("head 2 is used"),
              std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.registers[0].indexes[0].parts[0].length = 5; }).find("outside the key"),
              std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.registers[0].matrixOffset = 298; }).find("rows handle"),
              std::string::npos);
    EXPECT_EQ(refused([](InterfaceDefs &d) { d.texts.push_back({0, "x", 44}); }),
              "text 0 (line 44): number out of 1..32767");
    EXPECT_EQ(refused([](InterfaceDefs &d) { d.texts.push_back({-3, "x"}); }), "text -3: number out of 1..32767");
    EXPECT_EQ(refused([](InterfaceDefs &d) { d.texts.push_back({7, "again", 51}); }),
              "text 7 (line 51): number defined twice (also on line 0)");
    EXPECT_NE(refused([](InterfaceDefs &d) { d.texts[0].text = std::string(256, 'a'); }).find("longer than 255"),
              std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.winTypes[0].number = 600; }).find("window type 600"),
              std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.winDefinitions[0].number = 0; }).find("out of 1..599"),
              std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { (*d.winDefinitions[0].parts[0])[1][0] = 39; }).find("size word"),
              std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { (*d.winDefinitions[0].parts[4])[0].pop_back(); }).find("have 24"),
              std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.lists.tables[7].pop_back(); }).find("list table 7"), std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.printerTable.assign(10, 0); }).find("printer"), std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.names.buckets.pop_back(); }).find("buckets"), std::string::npos);
    // Sizes past what a record can be, and an index name past the engine's master list.
    EXPECT_EQ(refused([](InterfaceDefs &d) { d.registers[0].recordSize = 65536; }),
              "register 5 \"IVVc\" (line 10): record size 65536 is over 65535 bytes");
    EXPECT_NE(refused([](InterfaceDefs &d) { d.settingsBlocks[0].size = 65536; }).find("size 65536 is over 65535"),
              std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.settingsBlocks[1].rows->rowSize = 65536; })
                  .find("row size 65536 is over 65535"),
              std::string::npos);
    EXPECT_NE(refused([](InterfaceDefs &d) { d.registers[4].name += "X"; })
                  .find(std::string("the name \"") + LongRegName + "X:" + LongIndexName + "\" is over 61 characters"),
              std::string::npos);

    std::string error;
    EXPECT_FALSE(InterfaceWriteFile(Rich(), "/nonexistent-dir/QVENG.WIN", &error));
    EXPECT_EQ(error, "/nonexistent-dir/QVENG.WIN: cannot be created");
}

TEST_F(InterfaceFile, LoaderRefusesBrokenFilesAndKeepsWhatWasLoaded) {
    std::vector<uint8_t> good = Write(Rich());
    std::string error;
    ASSERT_TRUE(LoadDefinitionsFromBytes(good.data(), good.size(), &error)) << error;
    const uint8_t *registers = RegisterTable;
    uint32_t blocks = MemBlockCount();

    auto broken = [&](auto change) {
        std::vector<uint8_t> f = good;
        change(f);
        return LoadError(f);
    };
    EXPECT_EQ(broken([](auto &f) { f.resize(f.size() - 100); }),
              "QVENG.WIN: block 20 (overstrike table): its length 256 runs past the end of the file (156 bytes remain)");
    EXPECT_EQ(broken([](auto &f) { f.resize(BlockAt(f, 20) - 4); }),
              "QVENG.WIN: block 20 (overstrike table): missing: the file ends after block 19");
    EXPECT_EQ(broken([](auto &f) { f.resize(BlockAt(f, 3) - 2); }),
              "QVENG.WIN: block 3 (window types): its length word runs past the end of the file");
    EXPECT_EQ(broken([](auto &f) { Poke32(f, BlockAt(f, 8) - 4, 0x10000000); }),
              "QVENG.WIN: block 8 (text pool): its length 268435456 runs past the end of the file (" +
                  std::to_string(good.size() - BlockAt(good, 8)) + " bytes remain)");
    EXPECT_EQ(broken([](auto &f) { f.insert(f.end(), {0, 0, 0, 0}); }),
              "QVENG.WIN: 4 bytes follow the last of the 20 blocks");
    EXPECT_EQ(broken([](auto &f) { Poke32(f, BlockAt(f, 1), 3040); }),
              "QVENG.WIN: Interface and program are not of the same version!!!");
    // Register 5's field list offset, then its row layout's first entry.
    EXPECT_EQ(broken([](auto &f) { Poke32(f, BlockAt(f, 6) + 5 * 70 + 54, 0x7FFFFFFF); }),
              "QVENG.WIN: block 6 (registers): the field list of register 5 lies outside the block");
    EXPECT_EQ(broken([](auto &f) {
                  size_t layout = BlockAt(f, 6) + DefU32(&f[BlockAt(f, 6) + 5 * 70 + 60]);
                  f[layout + 1] = 0xFF;   // its first field entry far beyond the block
              }),
              "QVENG.WIN: block 6 (registers): the row layout of register 5 runs past the end of the block");
    EXPECT_EQ(broken([](auto &f) { Poke32(f, BlockAt(f, 7), 5); }),
              "QVENG.WIN: block 7 (text index): 5 entries run past the end of the block");
    EXPECT_EQ(broken([](auto &f) { Poke32(f, BlockAt(f, 7) + 4 + 2, 1000); }),
              "QVENG.WIN: block 7 (text index): text 7 lies outside the text pool");
    EXPECT_EQ(broken([](auto &f) { Poke32(f, BlockAt(f, 12) + 4 * 12, 0x00FFFFFF); }),
              "QVENG.WIN: block 12 (window definitions): the layout of window type 12 lies outside the block");
    EXPECT_EQ(broken([](auto &f) { Poke32(f, BlockAt(f, 2) + 4 * 7, 0x1000); }),
              "QVENG.WIN: block 2 (list directory): list table 7 lies outside the block");
    EXPECT_EQ(broken([](auto &f) { f[BlockAt(f, 4)] = 9; }),
              "QVENG.WIN: block 4 (settings-block descriptors): 10 descriptors run past the end of the block");
    EXPECT_EQ(broken([](auto &f) { f[BlockAt(f, 16) + 0] = 7; }),
              "QVENG.WIN: block 16 (name table buckets): the chain of bucket 0 is broken");
    EXPECT_EQ(broken([](auto &f) {
                  size_t at = BlockAt(f, 6) + DefU32(&f[BlockAt(f, 6) + 9 * 70 + 64]);
                  f[at + 2] = 200;   // the index head number
                  f[at + 3] = 1;
              }),
              "QVENG.WIN: block 6 (registers): index 0 of register 9 has head number 456");

    // Sizes that record and settings code would allocate from: one past a
    // 16-bit size, and the largest a damaged word can say.
    EXPECT_EQ(broken([](auto &f) { Poke32(f, BlockAt(f, 6) + 5 * 70 + 42, 65536); }),
              "QVENG.WIN: block 6 (registers): the records of register 5 are 65536 bytes, over 65535");
    EXPECT_EQ(broken([](auto &f) { Poke32(f, BlockAt(f, 4) + 2 + 4, 0xFFFFFFFF); }),
              "QVENG.WIN: block 4 (settings-block descriptors): the size of settings block 145 (descriptor 0) is "
              "4294967295 bytes, over 65535");
    EXPECT_EQ(broken([](auto &f) { Poke32(f, BlockAt(f, 4) + 2 + 18 + 4, 0x80000000); }),
              "QVENG.WIN: block 4 (settings-block descriptors): the size of settings block 163 (descriptor 1) is "
              "2147483648 bytes, over 65535");
    EXPECT_EQ(broken([](auto &f) {
                  size_t layout = BlockAt(f, 6) + DefU32(&f[BlockAt(f, 6) + 5 * 70 + 60]);
                  Poke32(f, layout + 4, 65536);
              }),
              "QVENG.WIN: block 6 (registers): the rows of register 5 are 65536 bytes, over 65535");
    // Register 7's name grown to 41 characters makes its index's full name 62.
    EXPECT_EQ(broken([](auto &f) {
                  size_t at = BlockAt(f, 6) + 7 * 70;
                  f[at] = 41;
                  f[at + 41] = 'X';
              }),
              std::string("QVENG.WIN: block 6 (registers): the name \"") + LongRegName + "X:" + LongIndexName +
                  "\" of index 0 of register 7 is over 61 characters");

    // Every refusal left the first file loaded and cost no memory.
    EXPECT_EQ(RegisterTable, registers);
    EXPECT_EQ(RegByName("IVVc"), 5);
    EXPECT_EQ(MemBlockCount(), blocks);
    PString text;
    GetUiText(text, 7);
    EXPECT_EQ(PStringToStd(text), "Jul");
}

TEST_F(InterfaceFile, ProbeFindsTheFileAndTheReaderChecksEveryBlock) {
    char tmpl[] = "/tmp/orvel-iface-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = tmpl, cwd = dir + "/cwd", exe = dir + "/exe";
    mkdir(cwd.c_str(), 0755);
    mkdir(exe.c_str(), 0755);
    LangFileSetDirectories({cwd, exe});

    std::string error;
    EXPECT_FALSE(LoadDefinitions(&error));
    EXPECT_EQ(error, "No language file available");
    MessageSink previous = MessageSinkSet([](const char *text) { Shown = text; });
    EXPECT_FALSE(LoadDefinitions());
    MessageSinkSet(previous);
    EXPECT_EQ(Shown, "No language file available") << "without an error string the message is shown";

    // Only the second directory has files; the earlier name of the list
    // wins, and a read-only file is good enough.
    std::string zeng = exe + "/QZENG.WIN", veng = exe + "/QVENG.WIN";
    ASSERT_TRUE(InterfaceWriteFile(Rich(), zeng.c_str(), &error)) << error;
    InterfaceDefs other = Rich();
    other.texts[0].text = "Faktura";
    ASSERT_TRUE(InterfaceWriteFile(other, veng.c_str(), &error)) << error;
    chmod(veng.c_str(), 0444);
    ASSERT_TRUE(LoadDefinitions(&error)) << error;
    EXPECT_EQ(LangFilePath, veng);
    PString text;
    GetUiText(text, 300);
    EXPECT_EQ(PStringToStd(text), "Faktura");

    // The reader refuses a 21st block.
    uint32_t length;
    EXPECT_EQ(ReadFileBlock(&length, &error), nullptr);
    EXPECT_EQ(error, veng + ": w4hbuff overflow: the file has more than 20 blocks");

    // A file in the first directory is taken before the second; its bad
    // block length is reported with its path and nothing changes.
    std::vector<uint8_t> f = Write(Rich());
    Poke32(f, BlockAt(f, 7) - 4, 0x01000000);
    std::string first = cwd + "/QZSWE.WIN";
    std::FILE *out = std::fopen(first.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(f.data(), 1, f.size(), out);
    std::fclose(out);
    EXPECT_FALSE(LoadDefinitions(&error));
    EXPECT_EQ(error.rfind(first + ": block 7 (text index): its length 16777216 runs past the end", 0), 0u) << error;
    GetUiText(text, 300);
    EXPECT_EQ(PStringToStd(text), "Faktura");

    LangFileSetDirectories({});
    for (const std::string &p : {first, zeng, veng}) std::remove(p.c_str());
    rmdir(cwd.c_str());
    rmdir(exe.c_str());
    rmdir(dir.c_str());
}
