// old_master_sections_test.cpp - the older and partial sections read into a
// company: persons by code (a stored person keeps what a section does not
// carry), item prices, the old price-list definition, the purchase series
// numbers, number-series rows by document kind read twice, a skipped
// section, and the form definition of import mode 3.
#include "tests/exchange/exchange_fixture.h"

#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "exchange/company_text.h"
#include "exchange/old_master_sections.h"
#include "exchange/ledger_text.h"
#include "rules/rules_types.h"
#include "shell/company.h"
#include "tests/output/test_job.h"

namespace {

class OldMasterSections : public ExchangeFixture {
protected:
    void TearDown() override
    {
        ImportFileShortName[0] = 0;
        ExchangeFixture::TearDown();
    }
    static void Put(uint8_t *r, uint32_t at, int max, const char *s)
    {
        PString p;
        PStringFromC(p, s);
        PutPString(r, at, max, p);
    }
    static std::string Get(const uint8_t *r, uint32_t at, int max)
    {
        PString p;
        GetPString(r, at, max, p);
        return PStringToStd(p);
    }
    static PackedDecimal Dec(double x)
    {
        PackedDecimal d;
        DecFromDouble(&d, x);
        return d;
    }
    static double Num(const uint8_t *r, uint32_t at)
    {
        PackedDecimal d = GetDec(r, at);
        return DecToDouble(&d);
    }
    // The record of reg whose first key field (a text at keyAt) is code;
    // empty when there is none.
    static std::vector<uint8_t> Find(int reg, uint32_t keyAt, int max, const char *code)
    {
        std::vector<uint8_t> r(RegRecordSize(reg), 0);
        Put(r.data(), keyAt, max, code);
        uint32_t id = 0, pos = 0;
        if (!RecFind(reg, r.data(), 1, 1, &id, &pos)) return {};
        RecFreeMatrix(reg, r.data());
        return r;
    }
    // The row count of that record; -1 when there is none.
    static int32_t RowsOf(int reg, uint32_t keyAt, int max, const char *code)
    {
        std::vector<uint8_t> r(RegRecordSize(reg), 0);
        Put(r.data(), keyAt, max, code);
        uint32_t id = 0, pos = 0;
        if (!RecFind(reg, r.data(), 1, 1, &id, &pos)) return -1;
        int32_t n = MatrixRowCount(reg, 0, r.data());
        RecFreeMatrix(reg, r.data());
        return n;
    }
    void Import(const std::string &bytes)
    {
        ResetImportFlags();
        MessagesShown.clear();
        ImportBytes(bytes);
        ImportFileClose();
    }
    // The rows of a series block.
    static std::vector<std::vector<uint8_t>> SeriesRows(int block)
    {
        MemBlock h = 0;
        std::vector<std::vector<uint8_t>> rows;
        if (!SettingsBlockFetch(&h, block)) return rows;
        uint8_t *data = nullptr;
        int32_t count = 0;
        MemArrayLock(h, SeriesRow::Size, &data, &count);
        for (int32_t i = 0; data && i < count; i++)
            rows.emplace_back(data + size_t(i) * SeriesRow::Size, data + size_t(i + 1) * SeriesRow::Size);
        if (data) MemUnlock(h);
        MemFree(&h);
        return rows;
    }
};

TEST_F(OldMasterSections, PersonSectionsUpdateTheStoredPersonAndInsertNewCodesOnly)
{
    uint8_t p[PEVc::Size] = {};
    Put(p, PEVc::Code, 5, "AB");
    Put(p, PEVc::Name, 60, "Old name");
    Put(p, PEVc::Password, 20, "secret");
    Put(p, PEVc::AccessCode, 5, "ALL");
    PutDec(p, PEVc::CommPrc, Dec(7));
    uint32_t id = 0;
    ASSERT_TRUE(RecStore(PEVc::Number, p, 0, &id));

    Import("signs1\r\nAB\tNew name\r\nCD\tFresh\r\n\tNobody\r\n\r\not\r\nX\tAfter\r\n\r\n");
    auto ab = Find(PEVc::Number, PEVc::Code, 5, "AB"), cd = Find(PEVc::Number, PEVc::Code, 5, "CD");
    ASSERT_FALSE(ab.empty());
    EXPECT_EQ(Get(ab.data(), PEVc::Name, 60), "New name");
    EXPECT_EQ(Get(ab.data(), PEVc::Password, 20), "secret");   // not carried: kept
    EXPECT_EQ(Get(ab.data(), PEVc::AccessCode, 5), "ALL");
    EXPECT_EQ(Num(ab.data(), PEVc::CommPrc), 7);
    ASSERT_FALSE(cd.empty());
    EXPECT_EQ(Get(cd.data(), PEVc::Name, 60), "Fresh");
    EXPECT_EQ(Get(cd.data(), PEVc::Password, 20), "");
    EXPECT_EQ(Get(cd.data(), PEVc::AccessCode, 5), "");
    EXPECT_EQ(RegRecordCount(PEVc::Number), 2u);   // the empty code stored nothing
    EXPECT_FALSE(Find(OTVc::Number, OTVc::Code, 5, "X").empty());   // the next section was read

    Import("salesman\r\nab\tSeller\t3\t12\r\n\r\n");
    ab = Find(PEVc::Number, PEVc::Code, 5, "AB");   // the code is upper-cased as the key is
    EXPECT_EQ(Get(ab.data(), PEVc::Name, 60), "Seller");
    EXPECT_EQ(GetU16(ab.data(), PEVc::Word156), 3);
    EXPECT_EQ(Num(ab.data(), PEVc::CommPrc), 12);
    EXPECT_EQ(Get(ab.data(), PEVc::Password, 20), "secret");

    Import("anv\r\nCD\tCarl\tpw\tadm\tCarl D\t1\t2\t3\t4\t5\t6\t7\t8\t9\r\n\r\n");
    cd = Find(PEVc::Number, PEVc::Code, 5, "CD");
    EXPECT_EQ(Get(cd.data(), PEVc::Password, 20), "pw");
    EXPECT_EQ(Get(cd.data(), PEVc::AccessCode, 5), "ADM");
    EXPECT_EQ(Get(cd.data(), PEVc::FullName, 20), "Carl D");
    EXPECT_EQ(GetI32(cd.data(), PEVc::Series1), 1);
    EXPECT_EQ(GetI32(cd.data(), PEVc::Series5), 5);
    EXPECT_EQ(GetI32(cd.data(), PEVc::Series6), 6);
    EXPECT_EQ(GetI32(cd.data(), PEVc::Series8), 8);
    EXPECT_EQ(GetU16(cd.data(), PEVc::Word156), 9);

    // A damaged number stops the import on its line; the line before stays.
    Import("anv\r\nEF\tEva\r\nGH\tGus\tpw\tadm\tG\tx1\r\n\r\n");
    EXPECT_FALSE(Find(PEVc::Number, PEVc::Code, 5, "EF").empty());
    EXPECT_TRUE(Find(PEVc::Number, PEVc::Code, 5, "GH").empty());
    EXPECT_EQ(ImportResult.damageLine, 3u);
}

TEST_F(OldMasterSections, ItemPricesChangeOnlyGivenPricesOfStoredItemsInRenewedHolds)
{
    for (const char *code : {"I1", "I2"}) {
        uint8_t item[INVc::Size] = {};
        Put(item, INVc::Code, 20, code);
        Put(item, INVc::Name, 60, "Item");
        PutDec(item, INVc::BasePrice, Dec(10));
        PutDec(item, INVc::CostPrice, Dec(5));
        PutDec(item, INVc::AddCost, Dec(1));
        uint32_t id = 0;
        ASSERT_TRUE(RecStoreByKey(INVc::Number, item, 0, &id));
    }
    std::string file = "price1\r\nI1\t20\t99\t\t3\r\nNOPE\t1\t1\t1\t1\r\n";
    for (int i = 0; i < 24; i++) file += "I2\t\t\t6\t\r\n";
    Import(file + "\r\n");
    auto i1 = Find(INVc::Number, INVc::Code, 20, "I1"), i2 = Find(INVc::Number, INVc::Code, 20, "I2");
    EXPECT_EQ(Num(i1.data(), INVc::BasePrice), 20);
    EXPECT_EQ(Num(i1.data(), INVc::CostPrice), 5);   // empty third text: kept
    EXPECT_EQ(Num(i1.data(), INVc::AddCost), 3);
    EXPECT_EQ(Num(i2.data(), INVc::BasePrice), 10);
    EXPECT_EQ(Num(i2.data(), INVc::CostPrice), 6);
    EXPECT_EQ(Num(i2.data(), INVc::AddCost), 1);
    EXPECT_TRUE(Find(INVc::Number, INVc::Code, 20, "NOPE").empty());
    EXPECT_EQ(ImportHoldsRenewed, 2u);   // 26 lines, renewed before the 11th and the 21st

    // A price that is no amount stops the import; the item keeps its price.
    Import("price1\r\nI1\tten\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 2u);
    EXPECT_EQ(Num(Find(INVc::Number, INVc::Code, 20, "I1").data(), INVc::BasePrice), 20);
}

TEST_F(OldMasterSections, OldPriceListIsListTwoInHomeCurrencyAndKeepsStoredRows)
{
    Import("prislista1\r\ndropped\t4\tRetail\t1\textra\r\n\r\n");
    auto list = Find(PriceListVc::Number, PriceListVc::Code, 5, "2");
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(Get(list.data(), PriceListVc::Name, 60), "Retail");
    EXPECT_EQ(GetU16(list.data(), PriceListVc::InclVat), 1);

    // A stored list "2" with rows and a currency: the rows stay, the
    // currency goes.
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(PriceListVc::Number, &h);
    ASSERT_NE(r, nullptr);
    Put(r, PriceListVc::Code, 5, "2");
    uint32_t id = 0, pos = 0;
    ASSERT_TRUE(RecFind(PriceListVc::Number, r, 1, 1, &id, &pos));
    Put(r, PriceListVc::CurncyCode, 5, "EUR");
    uint8_t row[PriceListVc::Rows::Size] = {};
    Put(row, PriceListVc::Rows::CodeRange, 60, "A:B");
    ASSERT_TRUE(MatrixRowInsert(PriceListVc::Number, r, 0, row));
    ASSERT_TRUE(RecStore(PriceListVc::Number, r, 1, &id));
    RecFreeMatrix(PriceListVc::Number, r);
    Import("prislista1\r\nx\t0\tWholesale\t0\r\n\r\n");
    RecClear(PriceListVc::Number, r);
    Put(r, PriceListVc::Code, 5, "2");
    ASSERT_TRUE(RecFind(PriceListVc::Number, r, 1, 1, &id, &pos));
    EXPECT_EQ(Get(r, PriceListVc::Name, 60), "Wholesale");
    EXPECT_EQ(Get(r, PriceListVc::CurncyCode, 5), "");
    EXPECT_EQ(GetU16(r, PriceListVc::InclVat), 0);
    EXPECT_EQ(MatrixRowCount(PriceListVc::Number, 0, r), 1);
    EXPECT_EQ(RegRecordCount(PriceListVc::Number), 1u);
    RecFreeMatrix(PriceListVc::Number, r);
    RecBufferFree(PriceListVc::Number, &h);
}

TEST_F(OldMasterSections, PurchaseSeriesSetTheirValuesOfBlock132AndKeepTheRest)
{
    uint8_t block[SeriesDefaultsBlk::Size] = {};
    PutI32(block, SeriesDefaultsBlk::InvoiceHint, 500);
    ASSERT_EQ(SettingsBlockStore(SeriesDefaultsBlk::Number, block, sizeof block), RecDone);
    Import("levSR1\r\n11\t12\t13\t14\tv 100\t2024-03-05\tmore\r\n\r\not\r\nX\tAfter\r\n\r\n");
    ASSERT_TRUE(SettingsBlockRead(SeriesDefaultsBlk::Number, block, sizeof block));
    EXPECT_EQ(GetI32(block, SeriesDefaultsBlk::Long64), 11);
    EXPECT_EQ(GetI32(block, SeriesDefaultsBlk::OutPayStart), 12);
    EXPECT_EQ(GetI32(block, SeriesDefaultsBlk::PurchInvStart), 13);
    EXPECT_EQ(GetI32(block, SeriesDefaultsBlk::Long76), 14);
    EXPECT_EQ(Get(block, SeriesDefaultsBlk::LastVendorCode, 20), "V_100");
    EXPECT_EQ(GetI32(block, SeriesDefaultsBlk::InvoiceHint), 500);
    EXPECT_FALSE(Find(OTVc::Number, OTVc::Code, 5, "X").empty());
}

TEST_F(OldMasterSections, SeriesRowsReadTwiceAreAddedOnceForTheCurrentYear)
{
    PutDate(CompanyBlock, CompanyBlk::YearStart, DateRec{1, 1, 2025});
    PutDate(CompanyBlock, CompanyBlk::YearEnd, DateRec{31, 12, 2025});
    // An earlier file's older company section made 2024 its year: that
    // year belongs to that file, not to this one.
    CurrentFiscalYear.start = DateRec{1, 1, 2024};
    CurrentFiscalYear.end = DateRec{31, 12, 2024};
    const std::string file =
        "serier3\r\n10\t1000\t1999\t7\tInvoices\r\n12\t500\t599\t0\tReceipts\r\n0\t1\t9\t0\tNo kind\r\n"
        "99\t1\t9\t0\tUnknown\r\n\r\n";
    const size_t invoices = SeriesRows(InvSeriesBlk::Number).size();
    const size_t receipts = SeriesRows(ReceiptSeriesBlk::Number).size();
    for (int pass = 0; pass < 2; pass++) {
        Import(file);
        EXPECT_EQ(ImportResult.damageLine, 0u);
        EXPECT_TRUE(ImportSeriesTest);   // "serier3" says the file carries its series
    }
    auto rows = SeriesRows(InvSeriesBlk::Number);
    ASSERT_EQ(rows.size(), invoices + 1);
    const uint8_t *row = rows.back().data();
    EXPECT_EQ(GetI32(row, SeriesRow::FirstNr), 1000);
    EXPECT_EQ(GetI32(row, SeriesRow::LastNr), 1999);
    DateRec from = GetDate(row, SeriesRow::ValidFrom), to = GetDate(row, SeriesRow::ValidTo);
    EXPECT_EQ(from.year, 2025);
    EXPECT_EQ(to.month, 12);
    EXPECT_EQ(to.day, 31);
    EXPECT_EQ(Get(row, SeriesRow::Text, 20), "Invoices");
    EXPECT_EQ(SeriesRows(ReceiptSeriesBlk::Number).size(), receipts + 1);

    // "verserier" adds the same way but leaves the flag; the next file
    // starts without it.
    Import("verserier\r\n10\t2000\t2999\t0\tMore\r\n\r\n");
    EXPECT_FALSE(ImportSeriesTest);
    EXPECT_EQ(SeriesRows(InvSeriesBlk::Number).size(), invoices + 2);
}

TEST_F(OldMasterSections, SkippedSectionCountsAsKnownAndTheNextIsRead)
{
    Import("mlc\r\nanything\tat all\r\not\tlooks like a tag\r\n\r\not\r\nX\tAfter\r\n\r\n");
    EXPECT_FALSE(Find(OTVc::Number, OTVc::Code, 5, "X").empty());
    EXPECT_FALSE(ImportResult.notAnExport);
}

TEST_F(OldMasterSections, ModeThreeMakesOneFormNamedAfterTheFileAndKeepsAStoredOne)
{
    auto run = [this](const char *name, const char *text = "ot\r\nX\tNot read\r\n\r\n") {
        PStringFromC(ImportFileShortName, name);
        ResetImportFlags();
        MessagesShown.clear();
        PutU16(TestJob, ReportParamsVc::OutputKind, ImportSourceMemory);
        PutU16(TestJob, ReportParamsVc::ReportNumber, 3);
        SourceOf(text);
        ImportRun();
        ImportFileClose();
    };
    run("invoice form.txt");
    EXPECT_EQ(RowsOf(DocVc::Number, DocVc::Code, 20, "INVOICE_FORM.TXT"), 0);
    EXPECT_TRUE(Find(OTVc::Number, OTVc::Code, 5, "X").empty());   // the file's sections are not read

    // A stored definition of the name keeps its rows; it is told.
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(DocVc::Number, &h);
    ASSERT_NE(r, nullptr);
    Put(r, DocVc::Code, 20, "INVOICE_FORM.TXT");
    uint32_t id = 0, pos = 0;
    ASSERT_TRUE(RecFind(DocVc::Number, r, 1, 1, &id, &pos));
    uint8_t row[DocVc::Rows::Size] = {};
    PutU16(row, DocVc::Rows::Kind, 1);
    ASSERT_TRUE(MatrixRowInsert(DocVc::Number, r, 0, row));
    ASSERT_TRUE(RecStore(DocVc::Number, r, 1, &id));
    RecFreeMatrix(DocVc::Number, r);
    run("invoice form.txt");
    EXPECT_EQ(Shown(Texts::FormFileExists), 1);
    EXPECT_EQ(RowsOf(DocVc::Number, DocVc::Code, 20, "INVOICE_FORM.TXT"), 1);
    RecBufferFree(DocVc::Number, &h);

    // Without a name (a file sent by a client) nothing is made.
    run("");
    EXPECT_EQ(Shown(Texts::FormFileNoName), 1);
    EXPECT_EQ(RegRecordCount(DocVc::Number), 1u);

    // Nothing of the file is read, so an empty one names its definition too.
    run("empty.txt", "");
    EXPECT_EQ(RowsOf(DocVc::Number, DocVc::Code, 20, "EMPTY.TXT"), 0);
}

}  // namespace
