// whole_company_test.cpp - the whole company through the text exchange,
// the backup a user relies on: a fresh company (no defaults read) and a
// company whose registers and table blocks hold random valid records,
// empty rows and rows with an empty first column among them, exported,
// imported into an empty company and exported again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/definitions.h"
#include "core/memblock.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "exchange/field_lists.h"
#include "exchange/section_table.h"
#include "tests/exchange/exchange_fixture.h"
#include "tests/exchange/test_job_export.h"
#include "tests/exchange/list_values.h"
#include "tests/output/test_job.h"

namespace {

class WholeCompany : public ExchangeFixture {
protected:
    // Closes the open company and makes an empty one at name.
    void EmptyCompany(const char *name)
    {
        D4Close();
        ASSERT_EQ(D4Create((dir / name).c_str(), 0), D4OpenOk);
        ASSERT_TRUE(SettingsStartup());
    }
    // The full export of the open company.
    std::string FullExport(const char *name)
    {
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        ScriptAnswerFile((dir / name).string());
        EXPECT_TRUE(ExportOverTestJob(0));
        return FileBytes(dir / name);
    }
    // Imports bytes into the open company; true when it ran to its end
    // without damage or a message (but the note on stock effects this
    // version does not run, which documents bring).
    bool ImportsClean(const std::string &bytes)
    {
        MessagesShown.clear();
        ImportResult = ImportResultRec{};
        ImportBytes(bytes);
        EXPECT_EQ(ImportResult.damageLine, 0u) << "column " << ImportResult.damageColumn;
        const std::string effects = TextOf(Texts::ImportEffectsSkipped).substr(0, 20);
        std::erase_if(MessagesShown, [&](const std::string &m) { return m.find(effects) != std::string::npos; });
        EXPECT_TRUE(MessagesShown.empty()) << MessagesShown.front();
        return ImportResult.damageLine == 0 && MessagesShown.empty();
    }
};

// The first difference of two exports, shown with the text around it.
std::string FirstDifference(const std::string &a, const std::string &b)
{
    size_t at = size_t(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
    size_t from = at < 200 ? 0 : at - 200;
    return "first difference at byte " + std::to_string(at) + "\n" + a.substr(from, 300) + "\n----\n" +
           b.substr(from, 300);
}

// Whether the full export writes register reg.
bool Exported(int reg)
{
    for (const ExportStep &s : FullExportOrder)
        if (s.kind == ExportStepKind::Register && s.first <= reg && reg <= s.last) return true;
    return false;
}

// Gives every column of a list its empty value.
void ClearColumns(std::span<const Column> cols, uint8_t *base)
{
    for (const Column &c : cols)
        if (c.kind == Col::Field) FieldClear(base + c.pos, c.type, c.len);
}

// Gives the first field column of a list its empty value.
void ClearFirstColumn(std::span<const Column> cols, uint8_t *base)
{
    for (const Column &c : cols) {
        if (c.kind != Col::Field) continue;
        FieldClear(base + c.pos, c.type, c.len);
        return;
    }
}

// The rows a random record brings: a full one, an empty one, one with an
// empty first column, a full one. False when a value is refused.
bool RandomRows(std::span<const Column> cols, uint32_t rowSize, int seed, std::vector<std::vector<uint8_t>> *rows)
{
    rows->assign(4, std::vector<uint8_t>(rowSize, 0));
    for (int r : {0, 2, 3})
        if (!FillListValues(cols, (*rows)[r].data(), seed + r)) return false;
    ClearColumns(cols, (*rows)[1].data());
    ClearFirstColumn(cols, (*rows)[2].data());
    return true;
}

TEST_F(WholeCompany, AFreshCompanyReadsBackToTheSameBytes)
{
    std::string first = FullExport("first.txt");
    ASSERT_NE(first.find("sysformat"), std::string::npos);
    EmptyCompany("second.VDB");
    ASSERT_TRUE(ImportsClean(first));
    std::string second = FullExport("second.txt");
    EXPECT_TRUE(second == first) << FirstDifference(first, second);
}

// A register whose list the test fills: its list, the record and rows as
// made (before the store).
struct Made {
    const FieldList *list;
    std::vector<uint8_t> record;
    std::vector<std::vector<uint8_t>> rows;
};

// A table block filled: its list and rows as made.
struct MadeBlock {
    const FieldList *list;
    std::vector<std::vector<uint8_t>> rows;
};

TEST_F(WholeCompany, RandomRecordsReadBackFieldByField)
{
    std::mt19937 random(34);
    std::vector<Made> made;
    std::vector<MadeBlock> blocks;
    std::vector<MadeBlock> singles;
    for (const FieldList &l : FieldLists) {
        if (FieldListFor(l.block, l.first, ListNewest) != &l || l.write) continue;
        int seed = int(random() % 50) + 1;
        if (l.block) {
            // Table blocks of one line a row; the form and key tables are
            // laid out apart from the lists.
            const uint8_t *desc = SettingsBlockDesc(l.first, nullptr);
            // The fiscal-year table holds real years only; its own
            // section is tested apart (fiscal_year_text_test.cpp).
            if (!desc || l.read || l.after || l.first == FiscalYearBlk::Number) continue;
            if (SettingsDescKind(desc) != 0) {
                // A single record: stored when its checks take the values
                // (a block whose checks look for accounts or items that the
                // random company lacks keeps its empty record).
                std::vector<std::vector<uint8_t>> one(1, std::vector<uint8_t>(SettingsDescSize(desc), 0));
                ASSERT_TRUE(FillListValues(l.header, one[0].data(), seed)) << "block " << l.first;
                if (SettingsBlockStore(l.first, one[0].data(), uint32_t(one[0].size())) == RecDone)
                    singles.push_back({&l, one});
                continue;
            }
            uint32_t rowSize = SettingsDescSize(desc);
            MadeBlock b{&l, {}};
            ASSERT_TRUE(RandomRows(l.header, rowSize, seed, &b.rows)) << "block " << l.first;
            MemBlock handle = 0;
            ASSERT_TRUE(MemResizeZero(&handle, uint32_t(b.rows.size()) * rowSize));
            uint8_t *bytes = MemLock(handle);
            for (size_t r = 0; r < b.rows.size(); r++) std::memcpy(bytes + r * rowSize, b.rows[r].data(), rowSize);
            MemUnlock(handle);
            EXPECT_EQ(SettingsBlockStoreHandle(l.first, handle), RecDone) << "block " << l.first;
            MemFree(&handle);
            blocks.push_back(std::move(b));
            continue;
        }
        if (!Exported(l.first)) continue;
        Made m{&l, std::vector<uint8_t>(RegRecordSize(l.first), 0), {}};
        ASSERT_TRUE(FillListValues(l.header, m.record.data(), seed)) << l.first;
        std::vector<uint8_t> record = m.record;
        if (l.rowSize) {
            ASSERT_TRUE(RandomRows(l.rows, RecRowSize(l.first), seed + 10, &m.rows)) << l.first;
            if (l.first == StructureVc::Number) {
                // Quantities and costs whose products leave the range: the
                // totals rebuilt after reading still write and read back.
                PackedDecimal large;
                DecFromDouble(&large, 7e17);
                PutDec(m.rows[0].data(), StructureVc::Rows::Quantity, large);
                PutDec(m.rows[0].data(), StructureVc::Rows::Cost, large);
                PutDec(m.rows[3].data(), StructureVc::Rows::QuantityIn, large);
                PutDec(m.rows[3].data(), StructureVc::Rows::Cost2, large);
            }
            for (size_t r = 0; r < m.rows.size(); r++)
                ASSERT_TRUE(MatrixRowPut(l.first, 0, record.data(), int32_t(r), m.rows[r].data())) << l.first;
        }
        uint32_t id = 0;
        EXPECT_TRUE(RecInsertUnchecked(l.first, record.data(), &id)) << l.first;
        if (l.rowSize) RecFreeMatrix(l.first, record.data());
        made.push_back(std::move(m));
    }
    EXPECT_GT(made.size(), 60u);
    EXPECT_GT(blocks.size(), 8u);
    EXPECT_GT(singles.size(), 10u);

    std::string first = FullExport("first.txt");
    EmptyCompany("second.VDB");
    ASSERT_TRUE(ImportsClean(first));
    std::string second = FullExport("second.txt");
    // Fields rebuilt after reading may differ from the random ones made;
    // read once, the company exports the same bytes ever after.
    EmptyCompany("third.VDB");
    ASSERT_TRUE(ImportsClean(second));
    std::string third = FullExport("third.txt");
    EXPECT_TRUE(third == second) << FirstDifference(second, third);

    // Every record the import stored holds the values made, field by
    // field, its rows included; lists with a reader or an after-reading
    // effect of their own rebuild fields and keep only their row count.
    int compared = 0;
    for (const Made &m : made) {
        const int reg = m.list->first;
        std::vector<uint8_t> back = m.record;
        uint32_t recid = 0, position = 0;
        if (!RecFind(reg, back.data(), 1, 1, &recid, &position)) {
            ADD_FAILURE() << "register " << reg << " not stored";
            continue;
        }
        bool rebuilt = m.list->read || m.list->after;
        if (!rebuilt) {
            EXPECT_EQ(ListDifference(m.list->header, m.record.data(), back.data()), "") << "register " << reg;
        }
        if (m.list->rowSize) {
            EXPECT_EQ(MatrixRowCount(reg, 0, back.data()), int32_t(m.rows.size())) << "register " << reg;
            std::vector<uint8_t> row(RecRowSize(reg), 0);
            for (size_t r = 0; !rebuilt && r < m.rows.size(); r++) {
                ASSERT_TRUE(MatrixRowRead(reg, back.data(), int32_t(r), row.data())) << reg;
                EXPECT_EQ(ListDifference(m.list->rows, m.rows[r].data(), row.data()), "")
                    << "register " << reg << " row " << r;
            }
            RecFreeMatrix(reg, back.data());
        }
        compared += !rebuilt;
    }
    EXPECT_GT(compared, 50);
    for (const MadeBlock &b : blocks) {
        const int block = b.list->first;
        MemBlock handle = 0;
        ASSERT_TRUE(SettingsBlockFetch(&handle, block)) << block;
        uint32_t rowSize = uint32_t(b.rows[0].size());
        ASSERT_EQ(handle ? MemSize(handle) : 0, rowSize * b.rows.size()) << "block " << block;
        const uint8_t *bytes = MemLock(handle);
        for (size_t r = 0; r < b.rows.size(); r++)
            EXPECT_EQ(ListDifference(b.list->header, b.rows[r].data(), bytes + r * rowSize), "")
                << "block " << block << " row " << r;
        MemUnlock(handle);
        MemFree(&handle);
    }
    for (const MadeBlock &b : singles) {
        std::vector<uint8_t> back(b.rows[0].size(), 0);
        ASSERT_TRUE(SettingsBlockReadLocal(b.list->first, back.data(), uint32_t(back.size()))) << b.list->first;
        EXPECT_EQ(ListDifference(b.list->header, b.rows[0].data(), back.data()), "") << "block " << b.list->first;
    }
}

}  // namespace
