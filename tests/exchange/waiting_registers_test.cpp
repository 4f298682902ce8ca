// waiting_registers_test.cpp - a register marked waiting (its rules not
// built) refuses every store a user can reach: the validated insert and
// update a window's OK and a client's request run, and an import line;
// program code still stores it through the unchecked insert. Every
// register's rules are built now, so the tests mark registers by hand.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "exchange/section_table.h"
#include "rules/hooks.h"
#include "tests/exchange/exchange_fixture.h"

namespace {

int ExportedRegister;   // the register the export job writes

class WaitingRegisters : public ExchangeFixture {
protected:
    void SetUp() override
    {
        ExchangeFixture::SetUp();
        if (HasFatalFailure()) return;
        RegisterHooksClear();
        RulesInstall();
    }
    void TearDown() override
    {
        RegisterHooksClear();
        ExchangeFixture::TearDown();
    }
    // Takes reg's entry away and marks it waiting, as the install marks a
    // register whose rules are not built.
    static void MarkWaiting(int reg)
    {
        RegisterHookTable[(size_t)reg] = RegisterHooks{};
        RegisterHookTable[(size_t)reg].rulesWaiting = true;
    }
    // The import reader of reg's section tag.
    static TagReader ReaderOf(int reg)
    {
        PString tag = {0};
        RegisterTextTag(reg, tag);
        for (const ImportTag &t : ImportTags)
            if (PStringToStd(tag) == t.tag) return t.reader;
        return TagReader::SkipWhole;
    }
};

// No register waits after the install: the registers that waited last
// have their entries of the rules.
TEST_F(WaitingRegisters, NoRegisterWaits)
{
    for (int reg = -1; reg <= RegisterCount; reg++)
        EXPECT_FALSE(RegisterRulesWaiting(reg)) << reg;
    for (int reg : {4, 7, 8, 28, 30, 58, 77, 92, 109, 110})
        EXPECT_TRUE(RegisterHasRules(reg)) << reg;
}

// For each waiting register: the validated insert (a window's OK, a
// client's request) is refused with text 9503 and stores nothing; the
// unchecked insert stores; the validated update of that record is refused
// and leaves it as stored; its line in an import file is read, not stored,
// and counted in one message naming its section.
TEST_F(WaitingRegisters, EveryUserPathIsRefused)
{
    int imported = 0;
    for (int reg : {4, 7, 8, 58, 77, 92}) {
        SCOPED_TRACE(reg);
        MarkWaiting(reg);
        uint32_t size = RegRecordSize(reg);
        ASSERT_GT(size, 0u);
        std::vector<uint8_t> record(size, 0), stored(size, 0);
        uint32_t keyAt = RegIndexInfo(reg, nullptr, nullptr, nullptr);
        PutU32(record.data(), keyAt, 7);

        MessagesShown.clear();
        uint32_t recid = 99;
        int result = RecDone;
        RecInsertChecked(reg, record.data(), &recid, &result);
        EXPECT_EQ(result, RecRefused);
        EXPECT_EQ(recid, 0u);
        EXPECT_EQ(Shown(Texts::RecordNotStored), 1);
        EXPECT_EQ(RegRecordCount(reg), 0u);

        ASSERT_TRUE(RecInsertUnchecked(reg, record.data(), &recid));
        ASSERT_EQ(RegRecordCount(reg), 1u);
        std::vector<uint8_t> changed = record;
        PutU32(changed.data(), keyAt, 8);
        MessagesShown.clear();
        RecUpdateChecked(reg, changed.data(), recid, &result);
        EXPECT_EQ(result, RecRefused);
        EXPECT_EQ(Shown(Texts::RecordNotStored), 1);
        ASSERT_TRUE(RecReadById(reg, recid, stored.data()));
        EXPECT_EQ(GetU32(stored.data(), keyAt), 7u);
        RecFreeMatrix(reg, stored.data());
        // The layer's import store refuses it too, whoever calls it.
        EXPECT_FALSE(RecImportStore(reg, record.data(), 1, 0));

        ExportedRegister = reg;
        std::string text = ExportBytes([] { RegExportAll(ExportedRegister); });
        ASSERT_TRUE(RegDeleteAll(reg));
        ASSERT_EQ(RegRecordCount(reg), 0u);
        if (text.size() <= 2) continue;   // no list: the export writes nothing
        imported++;
        MessagesShown.clear();
        ImportResult = ImportResultRec{};
        ImportBytes(text);
        EXPECT_EQ(RegRecordCount(reg), 0u);
        EXPECT_EQ(ImportResult.stored, 0u);
        ASSERT_EQ(ReaderOf(reg), TagReader::Register);
        EXPECT_EQ(ImportResult.refused, 1u);
        PString tag = {0};
        RegisterTextTag(reg, tag);
        EXPECT_EQ(Shown(Texts::ImportRecordsRefused), 1);
        bool named = false;
        for (const std::string &m : MessagesShown)
            named |= m.find(TextOf(Texts::ImportRecordsRefused) + "1 (" + PStringToStd(tag) + ")") != std::string::npos;
        EXPECT_TRUE(named) << PStringToStd(tag);
    }
    EXPECT_EQ(imported, 6);   // every one of them has its section
}

// A register that is not waiting still stores through the import, beside
// a refused section in the same file: the run goes on past the refusal.
// A refused order's line does nothing else either: the item its row names
// is not made, as a stored order's import would make it.
TEST_F(WaitingRegisters, AnImportGoesOnPastARefusedSection)
{
    MarkWaiting(ORVc::Number);
    std::vector<uint8_t> order(ORVc::Size, 0), row(RecRowSize(ORVc::Number), 0);
    PutU32(order.data(), ORVc::SerNr, 5);
    PutU16(row.data(), ORVc::Rows::Kind, 1);
    PString code;
    PStringFromC(code, "NEWITEM");
    PutText(row.data(), ORVc::Rows::ItemCode, code);
    ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, order.data(), 0, row.data()));
    uint32_t recid = 0;
    ASSERT_TRUE(RecInsertUnchecked(ORVc::Number, order.data(), &recid));
    RecFreeMatrix(ORVc::Number, order.data());
    std::string text = ExportBytes([] { RegExportAll(ORVc::Number); });
    ASSERT_NE(text.find("NEWITEM"), std::string::npos);
    ASSERT_TRUE(RegDeleteAll(ORVc::Number));
    text += "ot\t\r\nA\tObject type A\t\r\n\r\n";
    MessagesShown.clear();
    ImportBytes(text);
    EXPECT_EQ(ImportResult.refused, 1u);
    EXPECT_EQ(ImportResult.stored, 1u);
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_EQ(RegRecordCount(ORVc::Number), 0u);
    EXPECT_EQ(RegRecordCount(INVc::Number), 0u);
    EXPECT_EQ(RegRecordCount(OTVc::Number), 1u);
}

}  // namespace
