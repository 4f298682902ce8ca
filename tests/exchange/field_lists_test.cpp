// field_lists_test.cpp - the field lists of the text exchange against the
// dictionary, every newest list written and read back, and the older
// layouts read from hand-written sections.
#include <cstring>
#include <vector>

#include "core/definitions.h"
#include "core/record_buffer.h"
#include "exchange/section_table.h"
#include "tests/exchange/exchange_fixture.h"
#include "tests/exchange/list_values.h"

namespace {

// The dictionary's field at pos of a register, block or row; false when
// no field starts there.
bool DictField(bool block, int number, bool row, uint32_t pos, FieldInfo *out)
{
    if (row) {
        RowLayoutRef rows = block ? SettingsDescRows(SettingsBlockDesc(number, nullptr)) : RegRowLayout(number);
        FieldCursor c = RowLayoutBegin(rows);
        for (RowFieldInfo f; RowLayoutNext(&c, &f);)
            if (f.offset == pos) return *out = {f.offset, f.type, f.size}, true;
        return false;
    }
    FieldListRef list = block ? SettingsDescFields(SettingsBlockDesc(number, nullptr)) : RegFieldList(number);
    FieldCursor c = FieldListBegin(list);
    for (FieldInfo f; FieldListNext(&c, &f);)
        if (f.offset == pos) return *out = f, true;
    return false;
}

// A table block's one list describes its rows.
bool BlockIsTable(int block)
{
    const uint8_t *desc = SettingsBlockDesc(block, nullptr);
    return desc && SettingsDescKind(desc) == 0;
}

// Whether a column's type may stand for a dictionary field's: the same,
// or codes written as codes of the other kind, texts read plain into
// codes (older layouts), 32-bit numbers of either empty rule, an amount
// written with three decimals that its field can hold.
bool TypeFits(uint8_t col, uint16_t dict)
{
    if (col == dict) return true;
    auto codeish = [](int t) { return t == FtCode || t == FtCodeNoSep || t == FtText; };
    if (codeish(col) && codeish(dict)) return true;
    if (col == FtAmount3Drop && dict == FtAmount2) return true;
    return (col == FtLongOrEmpty || col == FtLong) && (dict == FtLongOrEmpty || dict == FtLong);
}

// The problems of one list's columns against the dictionary ("" if none).
std::string CheckColumns(const FieldList &l, int number, bool row, std::span<const Column> cols, uint32_t size)
{
    std::vector<uint8_t> covered(size + 1, 0);
    for (size_t i = 0; i < cols.size(); i++) {
        const Column &c = cols[i];
        if (c.kind == Col::NewLine || c.kind == Col::IfData || c.kind == Col::Empty) continue;
        std::string at = std::to_string(number) + " v" + std::to_string(l.version) + (row ? " row" : "") +
                         " column " + std::to_string(i + 1) + ": ";
        FieldInfo f{};
        if (!DictField(l.block, number, row, c.pos, &f)) return at + "no field at " + std::to_string(c.pos);
        if (!TypeFits(c.type, f.type)) return at + "type " + std::to_string(c.type) + " for " + std::to_string(f.type);
        uint32_t width = uint32_t(FieldSize(c.type, c.len));
        if (FieldTypeIsText(c.type) && (c.len == 0 || c.len > f.size)) return at + "length over the field's";
        if (c.pos + width > size) return at + "beyond the record";
        if (c.kind != Col::Field) continue;
        for (uint32_t b = c.pos; b < c.pos + width; b++)
            if (covered[b]++) return at + "covers bytes another column writes";
    }
    return "";
}

// Columns a list writes (fields and empty fields).
int Written(std::span<const Column> cols)
{
    int n = 0;
    for (const Column &c : cols) n += c.kind == Col::Field || c.kind == Col::Empty || c.kind == Col::Verifier;
    return n;
}

// The stated column counts of some sections, header and rows (the lists
// may write further columns after them, never fewer).
struct Stated { bool block; int number, version, header, rows; };
const Stated StatedCounts[] = {
    {false, 3, 2, 30, 2}, {false, 4, 2, 14, 9}, {false, 7, 1, 53, 18}, {false, 8, 1, 27, 10},
    {false, 16, 3, 8, 0}, {false, 27, 2, 33, 0}, {false, 28, 1, 32, 12}, {false, 30, 1, 16, 8},
    {false, 44, 1, 33, 3}, {false, 45, 1, 55, 14}, {false, 53, 2, 30, 5}, {false, 53, 1, 23, 0},
    {false, 55, 1, 45, 21}, {false, 58, 1, 26, 13}, {false, 60, 2, 20, 5}, {false, 91, 2, 21, 11},
    {false, 119, 1, 9, 5}, {false, 129, 1, 2, 8}, {false, 132, 2, 8, 0}, {false, 2, 2, 37, 0},
    {true, 129, 0, 36, 0}, {true, 130, 0, 8, 0}, {true, 132, 0, 21, 0}, {true, 133, 0, 32, 0},
    {true, 134, 0, 12, 0}, {true, 155, 0, 21, 0}, {true, 199, 0, 14, 0}, {true, 187, 0, 5, 0},
};

// The dictionary check over the whole table: positions, types, lengths,
// sizes, overlaps, the stated counts, a list for every import tag.
TEST_F(ExchangeFixture, EveryListMatchesTheDictionary)
{
    for (const FieldList &l : FieldLists) {
        for (int n = l.first; n <= l.last; n++) {
            if (l.block) {
                ASSERT_NE(SettingsBlockDesc(n, nullptr), nullptr) << "block " << n;
                uint32_t size = SettingsDescSize(SettingsBlockDesc(n, nullptr));
                EXPECT_EQ(CheckColumns(l, n, BlockIsTable(n), l.header, size), "") << "block";
                EXPECT_EQ(l.rowSize, 0) << "block " << n;
                continue;
            }
            ASSERT_GT(RegRecordSize(n), 0u) << "register " << n;
            EXPECT_EQ(CheckColumns(l, n, false, l.header, RegRecordSize(n)), "");
            if (l.rowSize == 0) continue;
            uint32_t rowSize = l.rowSize == RowSizeOfRegister ? RecRowSize(n) : l.rowSize;
            EXPECT_TRUE(rowSize > 0 && rowSize <= RecRowSize(n)) << "register " << n;
            EXPECT_EQ(CheckColumns(l, n, true, l.rows, rowSize), "");
        }
    }
    for (const Stated &s : StatedCounts) {
        const FieldList *l = FieldListFor(s.block, s.number, s.block ? ListNewest : s.version);
        ASSERT_NE(l, nullptr) << s.number;
        int header = Written(l->header), firstEmpty = -1, i = 0;
        for (const Column &c : l->header) {
            if (c.kind == Col::Field || c.kind == Col::Empty || c.kind == Col::Verifier) i++;
            if (c.kind == Col::Empty && firstEmpty < 0 && i > s.header) firstEmpty = i;
        }
        EXPECT_GE(header, s.header) << s.number;
        EXPECT_EQ(firstEmpty, -1) << s.number << ": an empty column after the stated ones";
        EXPECT_GE(Written(l->rows), s.rows) << s.number;
    }
    for (const ImportTag &t : ImportTags) {
        bool ledger = t.number == 9 || t.number == 11 || t.number == 51;
        if (t.reader == TagReader::Register && !ledger) {
            EXPECT_NE(FieldListFor(false, t.number, t.version), nullptr) << t.tag;
        }
        if (t.reader == TagReader::Block) {
            EXPECT_NE(FieldListFor(true, t.number, ListNewest), nullptr) << t.tag;
        }
    }
}

// The newest lists that the generic engine writes and reads.
std::vector<const FieldList *> NewestLists()
{
    std::vector<const FieldList *> out;
    for (const FieldList &l : FieldLists)
        if (!l.write && !l.read && FieldListFor(l.block, l.first, ListNewest) == &l) out.push_back(&l);
    return out;
}

class ListRoundTrip : public ExchangeFixture, public ::testing::WithParamInterface<size_t> {};

const FieldList *RoundList;
uint8_t *RoundRecord;

// Every column of the newest list set to a distinct value, two rows, out
// and back in: equal over every written column (the third decimals of
// amount3 fields, the bank's three address lines, the order rows of every
// column and the series block's last number among them).
TEST_P(ListRoundTrip, WrittenAndReadBackEqual)
{
    const FieldList &l = *NewestLists().at(GetParam());
    int n = l.first;
    uint32_t size = l.block ? SettingsDescSize(SettingsBlockDesc(n, nullptr)) : RegRecordSize(n);
    std::vector<uint8_t> record(size, 0), back(size, 0);
    ASSERT_TRUE(FillListValues(l.header, record.data(), 1)) << n;
    uint32_t rowSize = l.rowSize == 0 ? 0 : RecRowSize(n);
    for (int r = 0; rowSize && r < 2; r++) {
        std::vector<uint8_t> row(rowSize, 0);
        ASSERT_TRUE(FillListValues(l.rows, row.data(), 2 + r));
        ASSERT_TRUE(MatrixRowPut(n, 0, record.data(), r, row.data()));
    }
    RoundList = &l;
    RoundRecord = record.data();
    std::string bytes = ExportBytes([] {
        if (RoundList->block) WriteBlockText(RoundList->first, RoundRecord);
        else WriteRecordText(RoundList->first, RoundRecord);
    });
    SourceOf(bytes);
    // A list with an after-reading effect is read without it: the effect
    // rebuilds derived fields on purpose.
    if (l.after) EXPECT_TRUE(ReadListRecord(n, l, l.version, back.data())) << bytes;
    else if (l.block) ReadBlockText(n, back.data());
    else EXPECT_TRUE(ReadRecordText(n, l.version, back.data(), 0)) << bytes;
    EXPECT_EQ(ImportAbortFlag, 0) << bytes;
    EXPECT_EQ(ListDifference(l.header, record.data(), back.data()), "") << (l.block ? "block " : "register ") << n
                                                                         << "\n" << bytes;
    if (rowSize) {
        ASSERT_EQ(MatrixRowCount(n, 0, back.data()), 2) << n << "\n" << bytes;
        std::vector<uint8_t> a(rowSize), b(rowSize);
        for (int r = 0; r < 2; r++) {
            ASSERT_TRUE(MatrixRowGet(n, 0, record.data(), r, a.data()));
            ASSERT_TRUE(MatrixRowGet(n, 0, back.data(), r, b.data()));
            EXPECT_EQ(ListDifference(l.rows, a.data(), b.data()), "") << n << " row " << r << "\n" << bytes;
        }
        RecFreeMatrix(n, record.data());
        RecFreeMatrix(n, back.data());
    }
}

INSTANTIATE_TEST_SUITE_P(Newest, ListRoundTrip, ::testing::Range<size_t>(0, NewestLists().size()));

// Older layouts and damaged sections, from hand-written text.
struct OldCase {
    const char *name;
    int reg, version;
    const char *text;
    bool ok;
};
const OldCase OldCases[] = {
    {"projects", 53, 1,
     "P1\tp2\tn1\tn2\tn3\tn4\tn5\t3\t4\tdropped\tdropped\r\nc1\tcomment\t\t\t5\t6\t7\t\t8\tnote\t1\t2\t3\t4\r\n", true},
    {"artikel1", 3, 1,
     "I1\tItem one\tpcs\t12.50\tg1\tS\t1.125\t2\tu1\t\t\t3.00\tw\t4.00\txx\tyy\t5\tb1\t6.00\t7.00\tt\tK1\t8.00\tP1\t9.00\r\n",
     true},
    {"empl0", 119, 0, "e 1\ttext\tname\tdropped\r\nd 1\t2\t3\tentry\tlast text of more than thirty characters\r\n", true},
    {"damaged amount", 3, 2, "I1\tItem\tpcs\tabc\r\n", false},
    {"damaged row", 58, 1, "1\tV1\r\n1\t1\titem\tI1\tlots\r\n", false},
    {"no list for the version", 53, 9, "P1\r\n", false},
    {"time stamp out of range", 80, 1, "2024-13-01 10.00.00\r\n", false},
    {"time stamp with a part missing", 83, 1, "2024-12-01 10.00\r\n", false},
};

TEST_F(ExchangeFixture, OlderLayoutsAndDamagedSections)
{
    for (const OldCase &c : OldCases) {
        SCOPED_TRACE(c.name);
        ImportAbortFlag = 0;
        std::vector<uint8_t> record(RegRecordSize(c.reg), 0);
        if (c.reg == 53) PutU16(record.data(), ProjectVc::NotChargeable, 7);
        if (c.reg == 3) PutU16(record.data(), INVc::Word358, 7);
        SourceOf(c.text);
        bool ok = ReadRecordText(c.reg, c.version, record.data(), 0);
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(ImportAbortFlag != 0, !c.ok);
        if (RegMatrixOffset(c.reg) >= 0) RecFreeMatrix(c.reg, record.data());
        if (!ok) continue;
        const uint8_t *r = record.data();
        switch (c.reg) {
        case 53:
            EXPECT_EQ(PStringToStd(r + ProjectVc::Code), "P1");
            EXPECT_EQ(GetU16(r, ProjectVc::NoInvoice), 4);
            EXPECT_EQ(PStringToStd(r + ProjectVc::Leader), "C1");   // the second line
            EXPECT_EQ(GetU16(r, ProjectVc::PrintDesc), 4);
            EXPECT_EQ(GetU16(r, ProjectVc::NotChargeable), 0);
            break;
        case 3:
            EXPECT_EQ(PStringToStd(r + INVc::Code), "I1");
            EXPECT_EQ(PStringToStd(r + INVc::StructCode), "P1");
            EXPECT_EQ(GetU16(r, INVc::Word358), 0);
            break;
        case 119:
            EXPECT_EQ(PStringToStd(r + EmployeeVc::PerCode), "e 1");   // plain text, not upper-cased
            EXPECT_EQ(PStringToStd(r + EmployeeVc::Name), "name");
            EXPECT_EQ(PStringToStd(r + EmployeeVc::DepCode), "d 1");
            EXPECT_EQ(PStringToStd(r + EmployeeVc::Text).size(), 30u);
            break;
        }
    }
}

}  // namespace
