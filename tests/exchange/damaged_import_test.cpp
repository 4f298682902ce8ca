// damaged_import_test.cpp - import files that are damaged, or that once
// crashed the reader: each is refused at its line and column with the
// company as it was, or (the older layouts) read whole; and the lines the
// writer gives empty rows and voucher rows without an account.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/format_block.h"
#include "core/memblock.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "exchange/section_readers.h"
#include "exchange/section_table.h"
#include "rules/rules_types.h"
#include "rules/settings_checks.h"
#include "tests/exchange/exchange_fixture.h"

namespace {

class DamagedImport : public ExchangeFixture {
protected:
    // The section tag of a settings block.
    static std::string TagOf(int block)
    {
        uint8_t tag[256] = {0};
        BlockTextTag(block, tag);
        return PStringToStd(tag);
    }
    // The stored bytes of a single-record block.
    static std::vector<uint8_t> Stored(int block, uint32_t size)
    {
        std::vector<uint8_t> data(size, 0);
        SettingsBlockReadLocal(block, data.data(), size);
        return data;
    }
    static void PutText(uint8_t *base, uint32_t at, int max, const char *text)
    {
        PString t;
        PStringFromC(t, text);
        PutPString(base, at, max, t);
    }
    // Imports bytes and expects the run to stop as damaged at line, column.
    void ExpectRefusedAt(const std::string &bytes, uint32_t line, uint16_t column)
    {
        ImportBytes(bytes);
        EXPECT_EQ(ImportResult.damageLine, line) << bytes;
        EXPECT_EQ(ImportResult.damageColumn, column) << bytes;
        EXPECT_EQ(Shown(Texts::ImportDamaged), 1) << bytes;
    }
};

TEST_F(DamagedImport, ADamagedFormatSectionLeavesTheStoredFormat)
{
    const FormatBlock before = *CurrentFormat;
    std::vector<uint8_t> stored = Stored(FormatBlk::Number, FormatBlk::Size);
    // Damaged in its first column, and in its fourth after three good ones.
    ExpectRefusedAt("sysformat\r\n1x\t1\t1\t1\t-\t.\t \r\n\r\n", 2, 1);
    MessagesShown.clear();
    ExpectRefusedAt("sysformat\r\n2\t0\t0\t9z\t-\t.\t \r\n\r\n", 2, 4);
    // After the file's own format line: the program's format is back.
    MessagesShown.clear();
    ExpectRefusedAt("format\r\n0\t46\t0\r\n\r\nsysformat\r\n1x\t1\t1\t1\t-\t.\t \r\n\r\n", 5, 1);
    EXPECT_EQ(Stored(FormatBlk::Number, FormatBlk::Size), stored);
    EXPECT_EQ(std::memcmp(CurrentFormat, &before, sizeof before), 0);
    EXPECT_NE(CurrentFormat->decimalSep[1], 0);
}

// A format section whose separators dates or amounts could not be read
// back with is refused with the message the formats window gives: stored
// formats and the program's format stay as they were, and the import goes
// on with the next section.
TEST_F(DamagedImport, AFormatSectionWithUnreadableSeparatorsIsRefused)
{
    // The settings checks, as the program installs them.
    const auto check = AccessServices.settingsBlockCheck;
    AccessServices.settingsBlockCheck = SettingsBlockCheck;
    const FormatBlock before = *CurrentFormat;
    const std::vector<uint8_t> stored = Stored(FormatBlk::Number, FormatBlk::Size);
    struct Case {
        const char *line;
        int told;
    };
    for (const Case &c : {Case{"1\t0\t0\t0\t\t,\t ", Texts::DateSepUnreadable},
                          Case{"1\t0\t0\t0\t5\t,\t ", Texts::DateSepUnreadable},
                          Case{"1\t1\t1\t1\t.\t0\t ", Texts::NumberSepDigit},
                          Case{"1\t1\t1\t1\t.\t,\t9", Texts::NumberSepDigit}}) {
        SCOPED_TRACE(c.line);
        MessagesShown.clear();
        RegDeleteAll(OTVc::Number);
        ImportBytes(std::string("sysformat\r\n") + c.line + "\r\n\r\not\r\nA\tAlpha\r\n\r\n");
        EXPECT_EQ(Shown(c.told), 1);
        EXPECT_EQ(Stored(FormatBlk::Number, FormatBlk::Size), stored);
        EXPECT_EQ(std::memcmp(CurrentFormat, &before, sizeof before), 0);
        uint8_t r[OTVc::Size] = {};
        PutText(r, OTVc::Code, 5, "A");
        uint32_t id = 0, pos = 0;
        EXPECT_TRUE(RecFind(OTVc::Number, r, 0, 1, &id, &pos)) << "the section after it was read";
    }
    AccessServices.settingsBlockCheck = check;
}

TEST_F(DamagedImport, AnEmptyFormatSectionReadsAsTheDefaults)
{
    // A fresh company exports its unset format block so; it is stored as
    // it stands and formats with the defaults.
    ImportBytes("sysformat\r\n0\t0\t0\t0\t\t\t\r\n\r\not\r\nA\tAlpha\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_TRUE(MessagesShown.empty()) << MessagesShown.front();
    std::vector<uint8_t> stored = Stored(FormatBlk::Number, FormatBlk::Size);
    EXPECT_EQ(stored, std::vector<uint8_t>(FormatBlk::Size, 0));
    EXPECT_EQ(std::memcmp(CurrentFormat, &DefaultFormatBlock, sizeof DefaultFormatBlock), 0);
    // The section after it was read.
    uint8_t r[OTVc::Size] = {};
    PutText(r, OTVc::Code, 5, "A");
    uint32_t id = 0, pos = 0;
    EXPECT_TRUE(RecFind(OTVc::Number, r, 0, 1, &id, &pos));
}

TEST_F(DamagedImport, ADamagedCompanySectionKeepsTheNameAndAddresses)
{
    std::vector<uint8_t> company(CompanyBlk::Size, 0);
    PutText(company.data(), CompanyBlk::CompanyName, 60, "Kept Ltd");
    PutText(company.data(), CompanyBlk::Address1, 60, "1 Kept Street");
    ASSERT_EQ(SettingsBlockStore(CompanyBlk::Number, company.data(), CompanyBlk::Size), RecDone);
    std::vector<uint8_t> before = Stored(CompanyBlk::Number, CompanyBlk::Size);
    // Name, three address lines, the empty line, then a control byte in
    // the organisation number's line.
    ExpectRefusedAt(TagOf(CompanyBlk::Number) + "\r\nNew\r\nA1\r\nA2\r\nA3\r\n\r\nOrg\x01\tTel\r\n\r\n", 7, 1);
    std::vector<uint8_t> after = Stored(CompanyBlk::Number, CompanyBlk::Size);
    EXPECT_EQ(after, before);
    EXPECT_EQ(PStringToStd(after.data() + CompanyBlk::CompanyName), "Kept Ltd");
}

TEST_F(DamagedImport, ADamagedTableRowKeepsTheStoredRows)
{
    const int block = CurrencyBlk::Number;
    ImportBytes(TagOf(block) + "\r\nSEK\tKrona\t2\r\nEUR\tEuro\t2\r\n\r\n");
    ASSERT_EQ(ImportResult.damageLine, 0u);
    MemBlock rows = 0;
    ASSERT_TRUE(SettingsBlockFetch(&rows, block));
    ASSERT_EQ(MemSize(rows), 2 * CurrencyBlk::Rows::Size);
    const uint8_t *bytes = MemLock(rows);
    std::vector<uint8_t> before(bytes, bytes + MemSize(rows));
    MemUnlock(rows);
    MemFree(&rows);
    MessagesShown.clear();
    ExpectRefusedAt(TagOf(block) + "\r\nUSD\tDollar\t2\r\nNOK\tKrone\tx\r\n\r\n", 3, 3);
    ASSERT_TRUE(SettingsBlockFetch(&rows, block));
    bytes = MemLock(rows);
    std::vector<uint8_t> after(bytes, bytes + MemSize(rows));
    MemUnlock(rows);
    MemFree(&rows);
    EXPECT_EQ(after, before);
}

// A file that ends inside a line was cut short (a copy broken off, half a
// file sent): the record or table being read there is not stored, since
// the rest of its rows are lost with the cut, and the damage is told at
// the cut line. Cut inside an item of the DELIVERY form, just after the
// form's head line, and inside a currency row, the company keeps the form
// and the rows it had.
TEST_F(DamagedImport, AFileCutInsideALineStoresNotTheRecordBeingRead)
{
    RegisterHooksClear();
    const std::string whole = FileBytes(std::filesystem::path(ORVEL_TEST_DATA_DIR) / ".." / "dict" / "DEFAULT.TXT");
    ImportBytes(whole);
    ASSERT_TRUE(MessagesShown.empty()) << MessagesShown.front();
    auto items = [] {
        std::vector<uint8_t> doc(DocVc::Size, 0);
        PutText(doc.data(), DocVc::Code, 20, "DELIVERY");
        uint32_t id = 0, pos = 0;
        if (!RecFind(DocVc::Number, doc.data(), 1, 1, &id, &pos)) return -1;
        int n = MatrixRowCount(DocVc::Number, 0, doc.data());
        RecFreeMatrix(DocVc::Number, doc.data());
        return n;
    };
    const int itemsBefore = items();
    ASSERT_GT(itemsBefore, 20);
    MemBlock rows = 0;
    ASSERT_TRUE(SettingsBlockFetch(&rows, CurrencyBlk::Number));
    const uint32_t currencyBytes = MemSize(rows);
    MemFree(&rows);

    // The line a byte stands in, from 1.
    auto lineOf = [&whole](size_t at) { return uint32_t(std::count(whole.begin(), whole.begin() + long(at), '\r') + 1); };
    const size_t head = whole.find("\r\nDELIVERY\t") + 2, headEnd = whole.find("\r\n", head);
    const size_t item = whole.find("\r\n4\t", whole.find("\r\n4\t", head) + 1) + 2;   // its second data item
    const size_t currency = whole.find("\r\nUSD\t") + 2;
    struct Cut {
        size_t at;
        uint16_t column;
    } cuts[] = {{item + 9, 3}, {headEnd, 21}, {currency + 5, 2}};
    // The cut file imported: damaged at the cut line and column, told once.
    auto importCut = [&](const Cut &c) {
        MessagesShown.clear();
        ImportBytes(whole.substr(0, c.at));
        EXPECT_EQ(ImportResult.damageLine, lineOf(c.at));
        EXPECT_EQ(ImportResult.damageColumn, c.column) << "cut at line " << lineOf(c.at);
        EXPECT_EQ(Shown(Texts::ImportDamaged), 1) << "cut at line " << lineOf(c.at);
    };
    for (const Cut &c : cuts) {
        importCut(c);
        EXPECT_EQ(items(), itemsBefore) << "cut at line " << lineOf(c.at);
        ASSERT_TRUE(SettingsBlockFetch(&rows, CurrencyBlk::Number));
        EXPECT_EQ(MemSize(rows), currencyBytes) << "cut at line " << lineOf(c.at);
        MemFree(&rows);
    }
    // Into a company without the form: it is not made from half its items.
    RegisterHooksClear();
    std::vector<uint8_t> doc(DocVc::Size, 0);
    PutText(doc.data(), DocVc::Code, 20, "DELIVERY");
    uint32_t id = 0, pos = 0;
    ASSERT_TRUE(RecFind(DocVc::Number, doc.data(), 1, 1, &id, &pos));
    ASSERT_TRUE(RecDeleteHooked(DocVc::Number, doc.data(), id));
    RecFreeMatrix(DocVc::Number, doc.data());
    importCut(cuts[0]);
    EXPECT_EQ(items(), -1);
}

// The older layouts whose lists once had no row columns: read by the
// newest rows, one row each, nothing damaged.
TEST_F(DamagedImport, OlderFormAndPurchaseLayoutsReadTheirRows)
{
    ImportBytes("doc\r\nF\r\n1\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 0u);
    std::vector<uint8_t> doc(DocVc::Size, 0);
    PutText(doc.data(), DocVc::Code, 20, "F");
    uint32_t id = 0, pos = 0;
    ASSERT_TRUE(RecFind(DocVc::Number, doc.data(), 1, 1, &id, &pos));
    EXPECT_EQ(MatrixRowCount(DocVc::Number, 0, doc.data()), 1);
    std::vector<uint8_t> row(RecRowSize(DocVc::Number), 0);
    ASSERT_TRUE(MatrixRowRead(DocVc::Number, doc.data(), 0, row.data()));
    EXPECT_EQ(GetU16(row.data(), DocVc::Rows::Kind), 1);
    RecFreeMatrix(DocVc::Number, doc.data());

    ImportBytes("purchase1\r\n1\r\nI\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 0u);
    std::vector<uint8_t> purchase(PUVc::Size, 0);
    PutU32(purchase.data(), PUVc::SerNr, 1);
    ASSERT_TRUE(RecFind(PUVc::Number, purchase.data(), 1, 1, &id, &pos));
    ASSERT_EQ(MatrixRowCount(PUVc::Number, 0, purchase.data()), 1);
    row.assign(RecRowSize(PUVc::Number), 0);
    ASSERT_TRUE(MatrixRowRead(PUVc::Number, purchase.data(), 0, row.data()));
    EXPECT_EQ(PStringToStd(row.data() + PUVc::Rows::ItemCode), "I");
    RecFreeMatrix(PUVc::Number, purchase.data());
}

// A reader given a list it cannot use stops as damaged, in any build.
TEST_F(DamagedImport, AReaderRefusesAListWithoutItsColumns)
{
    const FieldList *doc = FieldListFor(false, DocVc::Number, ListNewest);
    const FieldList *purchase = FieldListFor(false, PUVc::Number, ListNewest);
    ASSERT_TRUE(doc && purchase);
    struct Case {
        const FieldList *list;
        bool (*read)(const FieldList &, int, uint8_t *);
    } cases[] = {{doc, ReadDocWith}, {purchase, ReadPurchaseWith}};
    for (const Case &c : cases) {
        FieldList headerOnly = *c.list;
        headerOnly.rowSize = 0;
        headerOnly.rows = {};
        SourceOf("F\r\n1\r\n\r\n");
        ImportResult = ImportResultRec{};
        std::vector<uint8_t> record(RegRecordSize(c.list->first), 0);
        EXPECT_FALSE(c.read(headerOnly, 1, record.data())) << c.list->first;
        EXPECT_EQ(ImportResult.damageLine, 1u) << c.list->first;
        ImportFileClose();
    }
}

TEST_F(DamagedImport, EmptyRowsAreWrittenSoThatTheyReadBack)
{
    // A payment term of three rows, the middle one empty and the last
    // with an empty first column.
    const FieldList *l = FieldListFor(false, PayTermsVc::Number, ListNewest);
    ASSERT_NE(l, nullptr);
    std::vector<uint8_t> terms(PayTermsVc::Size, 0), row(RecRowSize(PayTermsVc::Number), 0);
    PutText(terms.data(), PayTermsVc::Code, 2, "30");
    PutText(row.data(), PayTermsVc::Rows::LangCode, 5, "EN");
    PutText(row.data(), PayTermsVc::Rows::Text, 60, "Thirty days");
    ASSERT_TRUE(MatrixRowPut(PayTermsVc::Number, 0, terms.data(), 0, row.data()));
    std::fill(row.begin(), row.end(), 0);
    ASSERT_TRUE(MatrixRowPut(PayTermsVc::Number, 0, terms.data(), 1, row.data()));
    PutText(row.data(), PayTermsVc::Rows::Text, 60, "Net");
    ASSERT_TRUE(MatrixRowPut(PayTermsVc::Number, 0, terms.data(), 2, row.data()));
    static std::vector<uint8_t> *written;
    written = &terms;
    std::string bytes = ExportBytes([] { WriteRecordText(PayTermsVc::Number, written->data()); RepLineFeed(); });
    RecFreeMatrix(PayTermsVc::Number, terms.data());
    // The non-empty lines as ever; the empty row carries the mark.
    EXPECT_NE(bytes.find("EN\tThirty days\t\r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\r\n\t\t" + std::string(EmptyRowMark) + "\t\r\n\tNet\t\r\n"), std::string::npos) << bytes;
    SourceOf(bytes);
    std::vector<uint8_t> back(PayTermsVc::Size, 0);
    ASSERT_TRUE(ReadRecordText(PayTermsVc::Number, l->version, back.data(), 0));
    ASSERT_EQ(MatrixRowCount(PayTermsVc::Number, 0, back.data()), 3);
    ASSERT_TRUE(MatrixRowRead(PayTermsVc::Number, back.data(), 2, row.data()));
    EXPECT_EQ(PStringToStd(row.data() + PayTermsVc::Rows::Text), "Net");
    EXPECT_EQ(PStringToStd(row.data() + PayTermsVc::Rows::LangCode), "");
    ASSERT_TRUE(MatrixRowRead(PayTermsVc::Number, back.data(), 1, row.data()));
    EXPECT_EQ(PStringToStd(row.data() + PayTermsVc::Rows::Text), "");
    RecFreeMatrix(PayTermsVc::Number, back.data());
    // The closing empty line still ends the rows: nothing damaged.
    EXPECT_EQ(ImportResult.damageLine, 0u);
}

TEST_F(DamagedImport, AVoucherRowWithoutAnAccountReadsBack)
{
    std::vector<uint8_t> voucher(Voucher::Size, 0), row(TransRow::Size, 0);
    PutU32(voucher.data(), Voucher::SerNr, 7);
    PutDate(voucher.data(), Voucher::TransDate, DateRec{15, 6, 2024});
    PutDate(voucher.data(), Voucher::RegDate, DateRec{15, 6, 2024});
    PutU16(row.data(), TransRow::Kind, RowAccount);
    PutText(row.data(), TransRow::Objects, 30, "P1,K2");
    ASSERT_TRUE(MatrixRowPut(Voucher::Number, 0, voucher.data(), 0, row.data()));
    std::fill(row.begin(), row.end(), 0);
    PutU16(row.data(), TransRow::Kind, RowAccount);
    ASSERT_TRUE(MatrixRowPut(Voucher::Number, 0, voucher.data(), 1, row.data()));
    static std::vector<uint8_t> *written;
    written = &voucher;
    std::string bytes = ExportBytes([] { WriteRecordText(Voucher::Number, written->data()); RepLineFeed(); });
    RecFreeMatrix(Voucher::Number, voucher.data());
    SourceOf(bytes);
    std::vector<uint8_t> back(Voucher::Size, 0);
    ASSERT_TRUE(ReadRecordText(Voucher::Number, 4, back.data(), 0)) << bytes;
    ASSERT_EQ(MatrixRowCount(Voucher::Number, 0, back.data()), 2) << bytes;
    ASSERT_TRUE(MatrixRowRead(Voucher::Number, back.data(), 0, row.data()));
    EXPECT_EQ(GetU16(row.data(), TransRow::Kind), RowAccount);
    EXPECT_EQ(PStringToStd(row.data() + TransRow::Account), "");
    EXPECT_EQ(PStringToStd(row.data() + TransRow::Objects), "P1,K2");
    RecFreeMatrix(Voucher::Number, back.data());
    EXPECT_EQ(ImportResult.damageLine, 0u);
}

}  // namespace
