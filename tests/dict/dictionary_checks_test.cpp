// dictionary_checks_test.cpp - the compiled interface file obeys the
// limits of the database engine and of the record code.
//
// The compiler refuses most of these mistakes in the source; these tests
// guard the file the build actually made (QVENG.WIN beside the tests), so
// that a compiler change or a hand-made definition cannot slip an index
// the engine cannot store, or a field outside its record, into a build.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/definitions.h"
#include "core/field_types.h"
#include "core/interface_load.h"
#include "core/interface_write.h"
#include "core/pstring.h"
#include "tests/core/built_interface.h"
#ifdef ORVEL_DICT_SOURCE_DIR
#include "tools/dict.h"
#endif

namespace {

// Head 1 is the engine's own index of numbered blocks.
constexpr uint16_t FirstRegisterHead = 2;
// An index's master-list entry keeps "Register:Index" in 62 bytes.
constexpr size_t IndexFullNameMax = 61;
constexpr int FirstBlock = 129, LastBlock = 227;

// The bytes a field covers: the stored width of its type, or for the
// types that store nothing of their own the bytes its size word reserves.
uint32_t FieldWidth(uint16_t type, uint16_t size) {
    int w = FieldSize(type, size);
    if (w > 0) return (uint32_t)w;
    switch (type) {
    case 0: case 3: case 4: case 12: case 28: case 31: case 32: return size;
    default: return 0;
    }
}

std::vector<int> DefinedRegisters() {
    std::vector<int> regs;
    for (int r = 1; r < RegisterCount; r++)
        if (RegName(r)[0] != 0) regs.push_back(r);
    return regs;
}

std::string RegLabel(int reg) { return "register " + std::to_string(reg) + " " + PStringToStd(RegName(reg)); }

// One field as the checks see it; kind is the row kind (0 in a record).
struct Span {
    uint16_t kind;
    uint32_t offset, width;
    uint16_t type;
};

std::vector<Span> ListSpans(FieldListRef list) {
    std::vector<Span> out;
    FieldCursor c = FieldListBegin(list);
    for (FieldInfo f; FieldListNext(&c, &f);) out.push_back({0, f.offset, FieldWidth(f.type, f.size), f.type});
    return out;
}

std::vector<Span> RowSpans(RowLayoutRef rows) {
    std::vector<Span> out;
    FieldCursor c = RowLayoutBegin(rows);
    for (RowFieldInfo f; RowLayoutNext(&c, &f);) out.push_back({f.kind, f.offset, FieldWidth(f.type, f.size), f.type});
    return out;
}

void ExpectInside(const std::vector<Span> &spans, uint32_t limit, const std::string &where) {
    for (const Span &s : spans)
        EXPECT_LE((uint64_t)s.offset + s.width, limit)
            << where << ": the field at " << s.offset << " (type " << s.type << ", " << s.width
            << " bytes) lies outside the " << limit << " bytes";
}

class DictionaryChecks : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
    }
    void TearDown() override { InterfaceUnload(); }
};

// Every index can be stored by the engine: its node holds at least two
// entries, it claims no more entries than fit, its head is its own, its
// full name fits the master list, its key parts lie inside the record and
// follow each other in the key, and a simple register keys its whole
// record. A register has at most one current index.
TEST_F(DictionaryChecks, IndexesFitTheEngine) {
    std::map<uint16_t, std::string> heads;
    for (int reg : DefinedRegisters()) {
        uint32_t size = RegRecordSize(reg);
        int current = 0;
        for (int i = 0; i < RegIndexCount(reg); i++) {
            const uint8_t *def = RegIndexDef(reg, i);
            ASSERT_NE(def, nullptr) << RegLabel(reg) << " index " << i;
            std::string full = PStringToStd(RegName(reg)) + ":" + PStringToStd(IndexDefName(def));
            uint32_t node = IndexDefNodeSize(def);
            uint32_t entry = IndexDefKeyLength(def) + (uint32_t)NodeEntryExtra;
            EXPECT_LE(node, IndexNodeMax) << full;
            EXPECT_LE(NodeHeaderSize + 2 * entry, node) << full << ": no room for two entries";
            EXPECT_GE(IndexDefMaxEntries(def), 2) << full;
            if (node >= (uint32_t)NodeHeaderSize) {
                EXPECT_LE(IndexDefMaxEntries(def), (node - NodeHeaderSize) / entry) << full << ": entries do not fit";
            }
            uint16_t head = IndexDefHead(def);
            EXPECT_GE(head, FirstRegisterHead) << full;
            EXPECT_LE(head, IndexHeadMax) << full;
            auto [it, fresh] = heads.emplace(head, full);
            EXPECT_TRUE(fresh) << full << " uses head " << head << " of " << it->second;
            EXPECT_LE(full.size(), IndexFullNameMax) << full;
            EXPECT_GT(IndexDefPartCount(def), 0) << full;
            uint32_t keyOffset = 0;
            for (int p = 0; p < IndexDefPartCount(def); p++) {
                KeyPartInfo part = IndexDefPart(def, p);
                EXPECT_LE((uint64_t)part.recordOffset + part.length, size) << full << " part " << p;
                EXPECT_EQ(part.keyOffset, keyOffset) << full << " part " << p;
                keyOffset += part.length;
            }
            EXPECT_EQ(keyOffset, IndexDefKeyLength(def)) << full;
            if (RegIsSimple(reg)) {
                EXPECT_EQ(IndexDefKeyLength(def), size) << full << ": a simple register's key is its record";
            }
            if (IndexDefWord(def, 1) != 0) current++;
        }
        EXPECT_LE(current, 1) << RegLabel(reg) << " has " << current << " current indexes";
    }
}

// Register numbers stay within 1..132 (number 0 is never defined) and
// settings blocks within 129..227, each once; every field lies inside its
// record, row or block; the rows handle and the user code lie inside the
// record, and a register with rows has a handle for them.
TEST_F(DictionaryChecks, FieldsLieInsideTheirRecords) {
    EXPECT_EQ(RegName(0)[0], 0);
    EXPECT_EQ(RegRecordSize(0), 0u);
    EXPECT_EQ(RegFieldList(0).count, 0);
    for (int reg : DefinedRegisters()) {
        std::string where = RegLabel(reg);
        uint32_t size = RegRecordSize(reg);
        EXPECT_GT(size, 0u) << where;
        ExpectInside(ListSpans(RegFieldList(reg)), size, where);
        int32_t matrix = RegMatrixOffset(reg), user = RegUserCodeOffset(reg);
        if (matrix >= 0) {
            EXPECT_LE((uint32_t)matrix + 4, size) << where << ": rows handle";
        }
        if (user >= 0) {
            EXPECT_LE((uint32_t)user + 6, size) << where << ": user code";
        }
        RowLayoutRef rows = RegRowLayout(reg);
        if (rows.layout) {
            EXPECT_GE(matrix, 0) << where << " has rows but no rows handle";
            EXPECT_GT(RowLayoutRowSize(rows), 0u) << where;
            ExpectInside(RowSpans(rows), RowLayoutRowSize(rows), where + " rows");
        }
    }
    std::set<int> blocks;
    for (int i = 0; i < SettingsBlockDescCount(); i++) {
        const uint8_t *desc = SettingsBlockDescAt(i);
        int n = SettingsDescNumber(desc);
        std::string where = "settings block " + std::to_string(n);
        EXPECT_GE(n, FirstBlock) << where;
        EXPECT_LE(n, LastBlock) << where;
        EXPECT_TRUE(blocks.insert(n).second) << where << " is defined twice";
        EXPECT_GT(SettingsDescSize(desc), 0u) << where;
        if (SettingsDescKind(desc) == 0) {
            RowLayoutRef rows = SettingsDescRows(desc);
            ASSERT_NE(rows.layout, nullptr) << where << " is a table without rows";
            EXPECT_EQ(RowLayoutRowSize(rows), SettingsDescSize(desc)) << where;
            EXPECT_EQ(SettingsDescFields(desc).count, 0) << where << ": a table keeps its fields in its rows";
            ExpectInside(RowSpans(rows), RowLayoutRowSize(rows), where + " rows");
        } else {
            EXPECT_EQ(SettingsDescKind(desc), 1) << where;
            ExpectInside(ListSpans(SettingsDescFields(desc)), SettingsDescSize(desc), where);
        }
    }
}

#ifdef ORVEL_DICT_SOURCE_DIR

// Where a field marked "overlay" in the source is: register or block
// (block true), record or rows, number, offset and type.
using OverlayKey = std::tuple<bool, bool, int, uint32_t, uint16_t>;

// Reads dict/*.dict (without building) for the fields marked overlay and
// the numbers the source gives its registers and blocks.
bool ReadSource(std::set<OverlayKey> *overlays, std::vector<std::pair<bool, int>> *numbers, std::string *error) {
    namespace fs = std::filesystem;
    DictSource src;
    std::error_code ec;
    for (const fs::directory_entry &e : fs::directory_iterator(ORVEL_DICT_SOURCE_DIR, ec)) {
        if (e.path().extension() != ".dict") continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        DictParse(&src, e.path().filename().string(), text.str());
    }
    if (ec || !src.errors.empty()) {
        *error = ec ? ec.message() : src.errors.front();
        return false;
    }
    for (const DictRecord &r : src.records) {
        numbers->push_back({r.block, r.number});
        for (const DictField &f : r.fields)
            if (f.overlay) overlays->insert({r.block, false, r.number, f.offset, f.type});
        if (r.rows)
            for (const DictField &f : r.rows->fields)
                if (f.overlay) overlays->insert({r.block, true, r.number, f.offset, f.type});
    }
    return true;
}

// Reports every two fields of one record (or of one row kind) that share
// bytes when neither is marked overlay in the source.
void ExpectNoHiddenOverlap(const std::vector<Span> &spans, const std::set<OverlayKey> &overlays, bool block,
                           bool rows, int number, const std::string &where) {
    auto marked = [&](const Span &s) { return overlays.count({block, rows, number, s.offset, s.type}) > 0; };
    for (size_t j = 0; j < spans.size(); j++)
        for (size_t i = 0; i < j; i++) {
            const Span &a = spans[i], &b = spans[j];
            if (a.kind != b.kind || a.width == 0 || b.width == 0) continue;
            if (a.offset >= b.offset + b.width || b.offset >= a.offset + a.width) continue;
            EXPECT_TRUE(marked(a) || marked(b)) << where << ": the fields at " << a.offset << " and " << b.offset
                                                << " share bytes without an overlay mark";
        }
}

// No two fields share bytes unless the source says that one reads the
// other's bytes another way; the source numbers registers 1..132.
TEST_F(DictionaryChecks, FieldsShareBytesOnlyAsOverlays) {
    std::set<OverlayKey> overlays;
    std::vector<std::pair<bool, int>> numbers;
    std::string error;
    ASSERT_TRUE(ReadSource(&overlays, &numbers, &error)) << error;
    for (auto [block, n] : numbers) {
        if (block) continue;
        EXPECT_GE(n, 1) << "register " << n;
        EXPECT_LT(n, RegisterCount) << "register " << n;
    }
    for (int reg : DefinedRegisters()) {
        ExpectNoHiddenOverlap(ListSpans(RegFieldList(reg)), overlays, false, false, reg, RegLabel(reg));
        if (RegRowLayout(reg).layout)
            ExpectNoHiddenOverlap(RowSpans(RegRowLayout(reg)), overlays, false, true, reg, RegLabel(reg) + " rows");
    }
    for (int i = 0; i < SettingsBlockDescCount(); i++) {
        const uint8_t *desc = SettingsBlockDescAt(i);
        int n = SettingsDescNumber(desc);
        std::string where = "settings block " + std::to_string(n);
        ExpectNoHiddenOverlap(ListSpans(SettingsDescFields(desc)), overlays, true, false, n, where);
        if (SettingsDescRows(desc).layout)
            ExpectNoHiddenOverlap(RowSpans(SettingsDescRows(desc)), overlays, true, true, n, where + " rows");
    }
}

// The two span checks above flag what they are for and nothing else.
TEST(DictionaryChecksSelf, SpanChecksFlagOverlapsAndOverruns) {
    std::vector<Span> fine = {{0, 0, 4, 5}, {0, 4, 2, 10}, {1, 6, 2, 10}, {2, 6, 6, 6}};
    ExpectInside(fine, 12, "fine");
    ExpectNoHiddenOverlap(fine, {}, false, true, 1, "fine");
    EXPECT_NONFATAL_FAILURE(ExpectInside(fine, 11, "short"), "lies outside the 11 bytes");
    std::vector<Span> shared = {{0, 0, 4, 5}, {0, 2, 2, 10}};
    EXPECT_NONFATAL_FAILURE(ExpectNoHiddenOverlap(shared, {}, false, false, 1, "shared"), "without an overlay mark");
    ExpectNoHiddenOverlap(shared, {{false, false, 1, 2, 10}}, false, false, 1, "marked");
}

#endif  // ORVEL_DICT_SOURCE_DIR

}  // namespace
