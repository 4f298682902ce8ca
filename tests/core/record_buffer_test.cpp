// Tests of record buffers and their rows: a record's rows appended, read,
// overwritten, inserted, deleted, dropped and freed without a leak; rows
// out of range refused; field values by offset in records and in rows of
// two kinds.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/interface_load.h"
#include "core/memblock.h"
#include "core/record_buffer.h"
#include "tests/core/defs_loader.h"

namespace {

constexpr int DocReg = 20;     // rows of two kinds
constexpr int PlainReg = 21;   // no rows
constexpr uint32_t RowSize = 40;

// Register 20: a code, a number and the rows handle at 60; rows of kind 1
// (item code, quantity) and kind 2 (a note). Register 21 has no rows.
void LoadRegisters() {
    InterfaceDefs d;
    RowLayoutDef rows{RowSize, 2,
                      {{"Kind", 1, 0, 10, 2}, {"Item", 1, 2, 17, 10}, {"Qty", 1, 14, 19, 4},
                       {"Kind", 2, 0, 10, 2}, {"Note", 2, 2, 1, 20}}};
    d.registers = {{.number = DocReg, .name = "DocVc", .recordSize = 64, .matrixOffset = 60,
                    .fields = {{"Code", 0, 17, 10}, {"Number", 12, 5, 4}, {"Rows", 60, 24, 4}},
                    .rows = rows, .indexes = {}},
                   {.number = PlainReg, .name = "PlainVc", .recordSize = 16, .fields = {}, .rows = {},
                    .indexes = {}}};
    LoadDefs(d);
}

// A row whose every byte tells its number, so moved rows are recognised.
std::vector<uint8_t> Row(int n) { return std::vector<uint8_t>(RowSize, (uint8_t)(n * 7 + 1)); }

uint32_t Slot(const uint8_t *record) { return GetU32(record, 60); }

class RecordBuffer : public ::testing::Test {
protected:
    void SetUp() override { LoadRegisters(); }
    void TearDown() override { InterfaceUnload(); }
};

}  // namespace

TEST_F(RecordBuffer, RowsLiveAndDieWithTheirRecord) {
    uint32_t blocks = MemBlockCount();
    MemBlock h = 0;
    uint8_t *record = RecBufferNew(DocReg, &h);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(MatrixRowCount(DocReg, 0, record), 0);
    EXPECT_EQ(Slot(record), 0u);

    // Hundreds of rows appended in order, then all read back.
    for (int i = 0; i < 300; i++) ASSERT_TRUE(MatrixRowPut(DocReg, 0, record, i, Row(i).data()));
    EXPECT_EQ(MatrixRowCount(DocReg, 0, record), 300);
    std::vector<uint8_t> got(RowSize);
    for (int i = 0; i < 300; i += 37) {
        ASSERT_TRUE(MatrixRowGet(DocReg, 0, record, i, got.data()));
        EXPECT_EQ(got, Row(i)) << i;
    }
    // Overwriting keeps the count; a row copied from the matrix itself
    // survives the growth that moves the matrix.
    ASSERT_TRUE(MatrixRowPut(DocReg, 0, record, 5, Row(900).data()));
    EXPECT_EQ(MatrixRowCount(DocReg, 0, record), 300);
    uint8_t *rows = MemLock(RecMatrixHandle(DocReg, record));
    ASSERT_TRUE(MatrixRowPut(DocReg, 0, record, 310, rows + 5 * RowSize));
    EXPECT_EQ(MatrixRowCount(DocReg, 0, record), 311);
    ASSERT_TRUE(MatrixRowRead(DocReg, record, 310, got.data()));
    EXPECT_EQ(got, Row(900));
    ASSERT_TRUE(MatrixRowRead(DocReg, record, 305, got.data()));
    EXPECT_EQ(got, std::vector<uint8_t>(RowSize, 0)) << "gap rows are zero";

    // Insert at the front, in the middle and at the end; delete rows.
    ASSERT_TRUE(MatrixRowInsert(DocReg, record, 0, Row(1000).data()));
    ASSERT_TRUE(MatrixRowInsert(DocReg, record, 100, nullptr));
    ASSERT_TRUE(MatrixRowInsert(DocReg, record, 313, Row(1001).data()));
    EXPECT_FALSE(MatrixRowInsert(DocReg, record, 315, Row(1).data()));
    EXPECT_EQ(MatrixRowCount(DocReg, 0, record), 314);
    for (auto [at, was] : {std::pair{0, 1000}, {1, 0}, {101, 99}}) {
        MatrixRowGet(DocReg, 0, record, at, got.data());
        EXPECT_EQ(got, Row(was)) << at;
    }
    ASSERT_TRUE(MatrixRowDelete(DocReg, record, 0));
    ASSERT_TRUE(MatrixRowDelete(DocReg, record, 312));
    EXPECT_FALSE(MatrixRowDelete(DocReg, record, 312));
    EXPECT_EQ(MatrixRowCount(DocReg, 0, record), 312);
    MatrixRowGet(DocReg, 0, record, 311, got.data());
    EXPECT_EQ(got, Row(900)) << "the row before the deleted last one";

    // Dropped: no rows, nothing can be put; freeing the matrix clears it.
    RecMatrixDrop(DocReg, record);
    EXPECT_EQ(Slot(record), MatrixSlotDropped);
    EXPECT_EQ(MatrixRowCount(DocReg, 0, record), 0);
    EXPECT_FALSE(MatrixRowPut(DocReg, 0, record, 0, Row(1).data()));
    RecFreeMatrix(DocReg, record);
    EXPECT_EQ(Slot(record), 0u);
    ASSERT_TRUE(MatrixRowPut(DocReg, 0, record, 5, Row(3).data()));
    EXPECT_EQ(MatrixRowCount(DocReg, 0, record), 6);
    MatrixRowGet(DocReg, 0, record, 4, got.data());
    EXPECT_EQ(got, std::vector<uint8_t>(RowSize, 0));
    RecBufferFree(DocReg, &h);
    EXPECT_EQ(h, 0u);

    // A record whose slot holds the -2 marker frees only itself.
    record = RecBufferNew(DocReg, &h);
    PutU32(record, 60, MatrixSlotMarked);
    EXPECT_EQ(MatrixRowCount(DocReg, 0, record), 0);
    RecBufferFree(DocReg, &h);
    EXPECT_EQ(MemBlockCount(), blocks);
}

TEST_F(RecordBuffer, RowsOutOfRangeAreRefused) {
    MemBlock h = 0;
    uint8_t *record = RecBufferNew(DocReg, &h);
    std::vector<uint8_t> got(RowSize, 0xAA);
    EXPECT_FALSE(MatrixRowGet(DocReg, 0, record, 0, got.data())) << "no rows yet";
    EXPECT_EQ(got, std::vector<uint8_t>(RowSize, 0));
    for (int i = 0; i < 3; i++) MatrixRowPut(DocReg, 0, record, i, Row(i).data());
    for (int32_t row : {-1, 3, 1000000}) {
        std::fill(got.begin(), got.end(), 0xAA);
        EXPECT_FALSE(MatrixRowRead(DocReg, record, row, got.data())) << row;
        EXPECT_EQ(got, std::vector<uint8_t>(RowSize, 0)) << row;
        uint32_t qty = 0xAAAAAAAA;
        EXPECT_FALSE(MatrixFieldGet(DocReg, record, row, 14, &qty));
        EXPECT_EQ(qty, 0u);
        EXPECT_FALSE(MatrixFieldPut(DocReg, record, row, 14, &qty));
    }
    EXPECT_FALSE(MatrixRowPut(DocReg, 0, record, -1, Row(1).data()));
    EXPECT_EQ(MatrixRowCount(DocReg, 0, record), 3);
    RecBufferFree(DocReg, &h);

    // A register without rows has none to give or take.
    record = RecBufferNew(PlainReg, &h);
    EXPECT_FALSE(MatrixRowPut(PlainReg, 0, record, 0, Row(1).data()));
    EXPECT_EQ(MatrixRowCount(PlainReg, 0, record), 0);
    RecBufferFree(PlainReg, &h);
}

TEST_F(RecordBuffer, FieldsByOffsetInRecordsAndRowsOfTwoKinds) {
    MemBlock h = 0;
    uint8_t *record = RecBufferNew(DocReg, &h);
    const uint8_t longCode[] = "\x0E" "abcdefghijklmn";
    ASSERT_TRUE(RecFieldPut(DocReg, record, 0, longCode));
    EXPECT_EQ(record[0], 10) << "cut to the field's 10 characters";
    EXPECT_EQ(std::memcmp(record + 1, "ABCDEFGHIJ", 10), 0) << "a code is upper-cased";
    EXPECT_EQ(record[11], 0);
    int32_t number = -7;
    ASSERT_TRUE(RecFieldPut(DocReg, record, 12, &number));
    EXPECT_EQ(GetI32(record, 12), -7);
    EXPECT_FALSE(RecFieldPut(DocReg, record, 13, &number)) << "no field starts at 13";

    // Row 0 of kind 1, row 1 turned into kind 2 through its kind word.
    MatrixRowPut(DocReg, 0, record, 1, Row(0).data());
    std::memset(MemLock(RecMatrixHandle(DocReg, record)), 0, 2 * RowSize);
    MemUnlock(RecMatrixHandle(DocReg, record));
    uint16_t kind = 1;
    ASSERT_TRUE(MatrixFieldPut(DocReg, record, 0, 0, &kind));
    kind = 2;
    ASSERT_TRUE(MatrixFieldPut(DocReg, record, 1, 0, &kind));
    int32_t qty = 1234;
    ASSERT_TRUE(MatrixFieldPut(DocReg, record, 0, 14, &qty));
    EXPECT_FALSE(MatrixFieldPut(DocReg, record, 1, 14, &qty)) << "kind 2 has no field at 14";
    const uint8_t note[] = "\x05" "hello";
    ASSERT_TRUE(MatrixFieldPut(DocReg, record, 1, 2, note));

    std::vector<uint8_t> row(RowSize);
    MatrixRowGet(DocReg, 0, record, 1, row.data());
    EXPECT_EQ(GetU16(row.data()), 2);
    EXPECT_EQ(std::memcmp(row.data() + 2, note, 6), 0);
    EXPECT_EQ(GetI32(row.data(), 14), 0) << "the refused quantity was not written";
    int32_t got = 0;
    ASSERT_TRUE(MatrixFieldGet(DocReg, record, 0, 14, &got));
    EXPECT_EQ(got, 1234);
    got = 55;
    EXPECT_FALSE(MatrixFieldGet(DocReg, record, 1, 14, &got));
    EXPECT_EQ(got, 55) << "a field the row's kind lacks is not read";
    RecBufferFree(DocReg, &h);
}
