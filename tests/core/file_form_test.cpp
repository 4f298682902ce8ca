// Tests of the file form: every field type turned to the other byte order
// and back, records with rows of two kinds, balance blocks, settings
// blocks of both kinds, character translation through tables that are
// not the identity, and the two barcode tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "core/barcode_tables.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/file_form.h"
#include "core/interface_load.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "tests/core/defs_loader.h"

namespace {

constexpr int AllReg = 30;       // one field of every type 0..33 but 32
constexpr int BalanceReg = 31;   // a type-32 mark: its block is a balance block
constexpr uint32_t SlotAt = 400;
constexpr uint8_t Shift = 7;     // the write table adds 7, the read table takes it off

// Fields of every type, one after another; text types get maximum
// length 9, choices list 3, value-less types two reserved bytes.
std::vector<FieldDef> EveryType(uint32_t *end) {
    std::vector<FieldDef> fields;
    uint32_t at = 0;
    for (uint16_t type = 0; type < FieldTypeCount; type++) {
        if (type == FtBalanceMark) continue;
        uint16_t size = FieldTypeIsText(type) ? 9 : type == FtChoice ? 3 : 2;
        fields.push_back({"F" + std::to_string(type), at, type, size});
        int width = FieldSize(type, size);
        at += (uint32_t)(width ? width + (width & 1) : 2);
    }
    *end = at;
    return fields;
}

void Load() {
    InterfaceDefs d;
    uint32_t end = 0;
    std::vector<FieldDef> all = EveryType(&end);
    all.push_back({"Rows", SlotAt, FtValue32, 4});
    RowLayoutDef rows{24, 2,
                      {{"Kind", 1, 0, 10, 2}, {"Qty", 1, 2, 5, 4}, {"Item", 1, 6, 17, 9},
                       {"Kind", 2, 0, 10, 2}, {"When", 2, 2, 6, 6}, {"Sum", 2, 8, 2, 12}}};
    d.registers = {
        {.number = AllReg, .name = "AllVc", .recordSize = SlotAt + 4, .matrixOffset = SlotAt, .fields = all,
         .rows = rows, .indexes = {}},
        {.number = BalanceReg, .name = "BalVc", .recordSize = 12, .matrixOffset = 8,
         .fields = {{"Mark", 0, FtBalanceMark, 2}, {"Code", 2, 10, 2}, {"Block", 8, 24, 4}},
         .rows = {}, .indexes = {}}};
    d.settingsBlocks = {
        {.number = 150, .kind = 1, .size = end, .fields = EveryType(&end), .rows = {}},
        {.number = 151, .kind = 0, .size = 8, .fields = {},
         .rows = RowLayoutDef{8, 1, {{"Code", 1, 0, 1, 3}, {"Rate", 1, 4, 19, 4}}}}};
    for (int c = 0; c < 256; c++) {
        d.writeTable[c] = (uint8_t)(c + Shift);
        d.readTable[c] = (uint8_t)(c - Shift);
    }
    LoadDefs(d);
}

// Fills every field with a value whose bytes all differ, texts with
// "ABCDEF"; returns the filled bytes.
void FillEveryType(uint8_t *data) {
    uint32_t end = 0;
    for (const FieldDef &f : EveryType(&end)) {
        int width = FieldSize(f.type, f.size);
        if (FieldTypeIsText(f.type))
            PutPString(data, f.offset, f.size, (const uint8_t *)"\x06" "ABCDEF");
        else
            for (int i = 0; i < width; i++) data[f.offset + i] = (uint8_t)(f.offset + i + 1);
    }
}

// What one field must look like in file form, worked out from its type.
void ExpectFileForm(const FieldDef &f, const uint8_t *memory, const uint8_t *file) {
    int width = FieldSize(f.type, f.size);
    std::vector<uint8_t> want(memory + f.offset, memory + f.offset + width);
    if (FieldTypeIsText(f.type))
        for (int i = 1; i <= want[0]; i++) want[i] = (uint8_t)(want[i] + Shift);
    else if (f.type == 5 || f.type == 19 || f.type == 24)
        std::reverse(want.begin(), want.end());
    else if (std::set<int>{6, 7, 10, 11, 18, 26, 30}.count(f.type))
        for (int i = 0; i + 1 < width; i += 2) std::swap(want[i], want[i + 1]);
    EXPECT_EQ(std::vector<uint8_t>(file + f.offset, file + f.offset + width), want) << "type " << f.type;
}

class FileForm : public ::testing::Test {
protected:
    void SetUp() override { Load(); }
    void TearDown() override {
        ByteOrderSetDatabase(1);
        InterfaceUnload();
    }
};

}  // namespace

TEST_F(FileForm, EveryTypeAndBothRowKindsRoundTrip) {
    uint32_t blocks = MemBlockCount();
    MemBlock h = 0;
    uint8_t *record = RecBufferNew(AllReg, &h);
    FillEveryType(record);
    std::vector<uint8_t> row1(24), row2(24);
    PutU16(row1.data(), 0, 1);
    PutI32(row1.data(), 2, 0x01020304);
    PutPString(row1.data(), 6, 9, (const uint8_t *)"\x03" "abc");
    PutU16(row2.data(), 0, 2);
    PutDate(row2.data(), 2, DateRec{31, 12, 2024});
    for (int i = 8; i < 20; i++) row2[i] = (uint8_t)i;
    MatrixRowPut(AllReg, 0, record, 0, row1.data());
    MatrixRowPut(AllReg, 0, record, 1, row2.data());
    MemBlock rows = RecMatrixHandle(AllReg, record);
    const uint8_t *r = MemLock(rows);
    std::vector<uint8_t> memory(record, record + SlotAt + 4), memoryRows(r, r + 48);
    const uint32_t text = 2;   // the type-1 field follows type 0's two bytes

    RecordConvert(AllReg, record, ConvertToFile);
    EXPECT_EQ(std::memcmp(record, memory.data(), memory.size()), 0) << "equal flags change nothing";

    ASSERT_TRUE(ByteOrderSetDatabase(0));
    RecordConvert(AllReg, record, ConvertToFile);
    uint32_t end = 0;
    for (const FieldDef &f : EveryType(&end)) ExpectFileForm(f, memory.data(), record);
    EXPECT_EQ(GetU32(record, SlotAt), rows) << "the rows handle stays usable";
    EXPECT_EQ(GetU16(r), 0x0100) << "kind word swapped";
    EXPECT_EQ(GetU32(r, 2), 0x04030201u);
    EXPECT_EQ(r[7], 'a' + Shift);
    EXPECT_EQ(GetU16(r + 24), 0x0200);
    EXPECT_EQ(GetU16(r + 24, 2), 31 << 8) << "kind 2 converted as a date";
    EXPECT_EQ(std::memcmp(r + 24 + 8, row2.data() + 8, 12), 0) << "amounts are never swapped";

    RecordConvert(AllReg, record, ConvertToMemory);
    EXPECT_EQ(std::memcmp(record, memory.data(), memory.size()), 0);
    EXPECT_EQ(std::memcmp(r, memoryRows.data(), 48), 0);
    MemUnlock(rows);

    // A text longer than its field is cut; marker slots convert no rows.
    record[text] = 200;
    PutU32(record, SlotAt, MatrixSlotDropped);
    RecordConvert(AllReg, record, ConvertToFile);
    EXPECT_EQ(record[text], 9);
    EXPECT_EQ(GetU32(record, SlotAt), MatrixSlotDropped);
    MemFree(&rows);
    RecBufferFree(AllReg, &h);

    // A balance block: only its base month is swapped.
    uint8_t *balance = RecBufferNew(BalanceReg, &h);
    MemBlock months = MemAlloc(14);
    uint8_t *month = MemLock(months);
    PokeWord(month, 0x0C07);
    month[2] = 0x55;
    PutU32(balance, 8, months);
    RecordConvert(BalanceReg, balance, ConvertToFile);
    EXPECT_EQ(PeekWord(month), 0x070C);
    EXPECT_EQ(month[2], 0x55);
    RecBufferFree(BalanceReg, &h);
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST_F(FileForm, SettingsBlocksAndStrings) {
    ASSERT_TRUE(ByteOrderSetDatabase(0));
    uint32_t end = 0;
    std::vector<FieldDef> fields = EveryType(&end);
    std::vector<uint8_t> block(end), memory;
    FillEveryType(block.data());
    memory = block;
    BlockConvert(150, block.data(), ConvertToFile);
    for (const FieldDef &f : fields) ExpectFileForm(f, memory.data(), block.data());
    BlockConvert(150, block.data(), ConvertToMemory);
    EXPECT_EQ(block, memory);

    std::vector<uint8_t> rows(20, 0);   // two rows and 4 bytes of no row
    PutPString(rows.data(), 0, 3, (const uint8_t *)"\x02" "EU");
    PutI32(rows.data(), 4, 1000);
    PutI32(rows.data(), 12, -2);
    rows[16] = 0x11;
    memory = rows;
    BlockMatrixConvert(151, rows.data(), 20, ConvertToFile);
    EXPECT_EQ(rows[1], 'E' + Shift);
    EXPECT_EQ(GetI32(rows.data(), 4), (int32_t)0xE8030000);
    EXPECT_EQ(rows[16], 0x11) << "bytes after the last whole row";
    BlockMatrixConvert(151, rows.data(), 20, ConvertToMemory);
    EXPECT_EQ(rows, memory);

    // Strings: translated only when the flags differ.
    PString text;
    PStringFromC(text, "Kr");
    PStringConvert(text, ConvertToFile);
    EXPECT_EQ(text[1], 'K' + Shift);
    TranslateChars(text, 0);
    EXPECT_EQ(PStringToStd(text), "Kr");
    uint8_t value[4] = {1, 2, 3, 4};
    FieldConvertIf(FtLong, value, ConvertToFile);
    EXPECT_EQ(GetU32(value), 0x01020304u);
    EXPECT_FALSE(ByteOrderSetDatabase(7)) << "not a flag";
    ByteOrderSetDatabase(1);
    PStringConvert(text, ConvertToFile);
    EXPECT_EQ(PStringToStd(text), "Kr") << "equal flags translate nothing";
}

TEST(FileFormBarcodes, Code128AndEan13) {
    EXPECT_EQ(OrdinalOfChar('A'), 33);
    EXPECT_EQ(OrdinalOfChar(130), 96);
    EXPECT_EQ(OrdinalOfChar(' '), 0) << "absent";
    EXPECT_EQ(CharFromOrdinal(0), 148);
    EXPECT_EQ(CharFromOrdinal(99), 137);
    EXPECT_EQ(CharFromOrdinal(104), ' ');
    for (int v = 0; v < CharOrdinalCount; v++) EXPECT_EQ(OrdinalOfChar(CharFromOrdinal(v)), v) << v;

    PString digits, out;
    PStringFromC(digits, "5901234123457");   // first digit 5: L G G L L G
    ASSERT_TRUE(Ean13BarcodeText(digits, out));
    EXPECT_EQ(PStringToStd(out), ".9@A23D-bcdefh.");
    PStringFromC(digits, "9780201379624");   // 9: L G G L G L
    ASSERT_TRUE(Ean13BarcodeText(digits, out));
    EXPECT_EQ(PStringToStd(out), ".7H@2@1-dhjgce.");
    PStringFromC(digits, "59012341234X7");
    EXPECT_FALSE(Ean13BarcodeText(digits, out));
    EXPECT_EQ(out[0], 0);
}
