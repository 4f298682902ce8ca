// round_trip_test.cpp - the full export read back: a company made from
// the defaults plus one record in every register the export writes
// through the generic reader and one voucher ("trans4"),
// exported (kind 0), imported into an empty company and exported again
// gives the same bytes, and every record made here comes back equal over
// the fields its list writes. The format is checked with no rules
// installed, so the registers whose rules are not built yet come back
// too; with the rules installed, as the program runs, their records are
// refused and counted while every other comes back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/record_buffer.h"
#include "exchange/field_lists.h"
#include "database/access/register_hooks.h"
#include "exchange/section_table.h"
#include "rules/hooks.h"
#include "rules/series_terms.h"
#include "tests/exchange/exchange_fixture.h"
#include "tests/exchange/test_job_export.h"
#include "tests/exchange/list_values.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;

// Whether the full export writes register reg.
bool Exported(int reg)
{
    for (const ExportStep &s : FullExportOrder)
        if (s.kind == ExportStepKind::Register && s.first <= reg && reg <= s.last) return true;
    return false;
}

class RoundTrip : public ExchangeFixture {
protected:
    // Closes the open company and makes an empty one at name.
    void EmptyCompany(const char *name)
    {
        D4Close();
        ASSERT_EQ(D4Create((dir / name).c_str(), 0), D4OpenOk);
        ASSERT_TRUE(SettingsStartup());
    }
    // One record in each register of the export whose newest list the
    // generic reader takes whole: every written column a distinct value;
    // stored raw, as the records of an older company stand in its file.
    struct Made {
        const FieldList *list;
        std::vector<uint8_t> record, row;   // as filled, before the store
    };
    static void MakeRecords(std::vector<Made> *out)
    {
        std::vector<Made> &made = *out;
        for (const FieldList &l : FieldLists) {
            if (l.block || l.read || l.after || !Exported(l.first)) continue;
            if (FieldListFor(false, l.first, ListNewest) != &l) continue;
            std::vector<uint8_t> record(RegRecordSize(l.first), 0);
            ASSERT_TRUE(FillListValues(l.header, record.data(), 7)) << l.first;
            std::vector<uint8_t> row;
            if (l.rowSize) {
                row.assign(RecRowSize(l.first), 0);
                ASSERT_TRUE(FillListValues(l.rows, row.data(), 8)) << l.first;
            }
            made.push_back({&l, record, row});
            if (l.rowSize) {
                ASSERT_TRUE(MatrixRowPut(l.first, 0, record.data(), 0, row.data())) << l.first;
            }
            uint32_t id = 0;
            EXPECT_TRUE(RecInsertLocal(l.first, record.data(), &id)) << l.first;
            if (l.rowSize) RecFreeMatrix(l.first, record.data());
        }
    }
    // The full export of the open company.
    std::string FullExport(const char *name)
    {
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        ScriptAnswerFile((dir / name).string());
        EXPECT_TRUE(ExportOverTestJob(0));
        return FileBytes(dir / name);
    }
};

TEST_F(RoundTrip, FullExportReadsBackToTheSameBytesAndRecords)
{
    RegisterHooksClear();   // the format alone: no register refuses
    ImportBytes(FileBytes(fs::path(ORVEL_TEST_DATA_DIR) / ".." / "dict" / "DEFAULT.TXT"));
    ASSERT_TRUE(MessagesShown.empty()) << MessagesShown.front();
    std::vector<Made> made;
    MakeRecords(&made);
    EXPECT_GT(made.size(), 40u);
    // A voucher of two rows in the year 2024 (register 11, "trans4").
    std::vector<uint8_t> voucher(TRVc::Size, 0), row(RecRowSize(TRVc::Number), 0);
    PutU32(voucher.data(), TRVc::SerNr, 2400007);
    PutDate(voucher.data(), TRVc::TransDate, DateRec{15, 6, 2024});
    PutDate(voucher.data(), TRVc::RegDate, DateRec{15, 6, 2024});
    DateRec day{15, 6, 2024};
    PutU16(voucher.data(), TRVc::YearCode, YearCodeOfDate(&day));   // as a stored voucher has it
    PString text;
    PStringFromC(text, "Round trip");
    PutText(voucher.data(), TRVc::Text, text);
    for (int r = 0; r < 2; r++) {
        PStringFromC(text, r ? "1910" : "3010");
        PutText(row.data(), TRVc::Rows::Account, text);
        PutU16(row.data(), TRVc::Rows::Kind, 1);
        PackedDecimal amount;
        DecFromDouble(&amount, r ? 125.0 : -125.0);
        PutDec(row.data(), TRVc::Rows::Amount, amount);
        ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, voucher.data(), r, row.data()));
    }
    uint32_t id = 0;
    ASSERT_TRUE(RecInsertLocal(TRVc::Number, voucher.data(), &id));
    RecFreeMatrix(TRVc::Number, voucher.data());
    std::string first = FullExport("first.txt");
    ASSERT_NE(first.find("trans4"), std::string::npos);
    ASSERT_NE(first.find("Round trip"), std::string::npos);
    EmptyCompany("empty.VDB");
    ImportBytes(first);
    EXPECT_TRUE(MessagesShown.empty()) << MessagesShown.front();
    EXPECT_EQ(ImportResult.damageLine, 0u);
    std::string second = FullExport("second.txt");
    EXPECT_EQ(second.size(), first.size());
    size_t at = size_t(std::mismatch(first.begin(), first.end(), second.begin(), second.end()).first - first.begin());
    size_t from = at < 300 ? 0 : at - 300;
    EXPECT_TRUE(second == first) << "first difference at byte " << at << "\n" << first.substr(from, 400) << "\n----\n"
                                 << second.substr(from, 400);

    // Every record made above, found by its key in the imported company,
    // equals what was filled in over each column its list writes, its row
    // included.
    for (const Made &m : made) {
        const int reg = m.list->first;
        std::vector<uint8_t> back = m.record, backRow(RecRowSize(reg), 0);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(reg, back.data(), 1, 1, &recid, &position)) << reg;
        EXPECT_EQ(ListDifference(m.list->header, m.record.data(), back.data()), "") << "register " << reg;
        if (!m.row.empty()) {
            EXPECT_EQ(MatrixRowCount(reg, 0, back.data()), 1) << reg;
            EXPECT_TRUE(MatrixRowRead(reg, back.data(), 0, backRow.data())) << reg;
            EXPECT_EQ(ListDifference(m.list->rows, m.row.data(), backRow.data()), "") << "register " << reg << " row";
            RecFreeMatrix(reg, back.data());
        }
    }
    // The voucher: number, dates, year, text and both rows as stored.
    std::vector<uint8_t> back(TRVc::Size, 0);
    PutU32(back.data(), TRVc::SerNr, 2400007);
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(TRVc::Number, back.data(), 1, 1, &recid, &position));
    EXPECT_EQ(std::memcmp(back.data() + TRVc::TransDate, voucher.data() + TRVc::TransDate, sizeof(DateRec)), 0);
    EXPECT_EQ(std::memcmp(back.data() + TRVc::RegDate, voucher.data() + TRVc::RegDate, sizeof(DateRec)), 0);
    EXPECT_EQ(GetU16(back.data(), TRVc::YearCode), GetU16(voucher.data(), TRVc::YearCode));
    EXPECT_EQ(PStringToStd(back.data() + TRVc::Text), "Round trip");
    ASSERT_EQ(MatrixRowCount(TRVc::Number, 0, back.data()), 2);
    for (int r = 0; r < 2; r++) {
        ASSERT_TRUE(MatrixRowRead(TRVc::Number, back.data(), r, row.data()));
        EXPECT_EQ(PStringToStd(row.data() + TRVc::Rows::Account), r ? "1910" : "3010") << r;
        EXPECT_EQ(GetU16(row.data(), TRVc::Rows::Kind), 1) << r;
        PackedDecimal amount = GetDec(row.data(), TRVc::Rows::Amount);
        EXPECT_EQ(DecToDouble(&amount), r ? 125.0 : -125.0) << r;
    }
    RecFreeMatrix(TRVc::Number, back.data());
}

// As the program runs, with the rules installed: the defaults import
// whole, and the export read back stores every record made except those
// of the registers whose rules are not built, which are counted in one
// message and not stored.
TEST_F(RoundTrip, WithTheRulesInstalledWaitingRegistersAreRefused)
{
    RegisterHooksClear();
    RulesInstall();
    ImportBytes(FileBytes(fs::path(ORVEL_TEST_DATA_DIR) / ".." / "dict" / "DEFAULT.TXT"));
    ASSERT_TRUE(MessagesShown.empty()) << MessagesShown.front();
    EXPECT_EQ(ImportResult.refused, 0u);
    std::vector<Made> made;
    MakeRecords(&made);
    uint32_t waiting = 0;
    for (const Made &m : made) waiting += RegisterRulesWaiting(m.list->first) ? 1 : 0;
    // Purchase invoices, payments, expenses and person payments are made
    // and checked now; whatever still waits is refused, in one message.
    std::string first = FullExport("first.txt");
    EmptyCompany("empty.VDB");
    MessagesShown.clear();
    ImportBytes(first);
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_EQ(ImportResult.refused, waiting);
    EXPECT_EQ(Shown(Texts::ImportRecordsRefused), waiting ? 1 : 0);
    for (const Made &m : made) {
        const int reg = m.list->first;
        std::vector<uint8_t> back = m.record;
        uint32_t recid = 0, position = 0;
        EXPECT_EQ(RecFind(reg, back.data(), 1, 1, &recid, &position), !RegisterRulesWaiting(reg)) << reg;
        if (m.list->rowSize) RecFreeMatrix(reg, back.data());
        if (RegisterRulesWaiting(reg)) {
            EXPECT_EQ(RegRecordCount(reg), 0u) << reg;
        }
    }
    RegisterHooksClear();
}

}  // namespace
