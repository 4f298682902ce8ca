// old_company_sections_test.cpp - the older sections an import still reads:
// the company in one line, the series hints one a line, the reminder
// texts by number, the reminder statistics written into stored invoices,
// and the discount section passed over whole.
#include <string>
#include <vector>

#include "core/date.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "exchange/old_company_sections.h"
#include "operations/invoice_notice.h"
#include "tests/exchange/exchange_fixture.h"

namespace {

std::string TextAt(const uint8_t *base, uint32_t at, int max)
{
    PString t;
    GetPString(base, at, max, t);
    return PStringToStd(t);
}

void PutTextAt(uint8_t *base, uint32_t at, int max, const char *text)
{
    PString t;
    PStringFromC(t, text);
    PutPString(base, at, max, t);
}

class OldSections : public ExchangeFixture {
protected:
    std::vector<uint8_t> Block(int block, uint32_t size)
    {
        std::vector<uint8_t> b(size, 0);
        EXPECT_TRUE(SettingsBlockRead(block, b.data(), size));
        return b;
    }
    // Stores an invoice raw with a reminder count and date.
    void StoreInvoice(int32_t number, int32_t notices, DateRec noticed)
    {
        std::vector<uint8_t> iv(RegRecordSize(IVVc::Number), 0);
        PutI32(iv.data(), IVVc::SerNr, number);
        PutI32(iv.data(), IVVc::NoticeCount, notices);
        PutDate(iv.data(), IVVc::NoticeDate, noticed);
        PutTextAt(iv.data(), IVVc::CustCode, 20, "C1");
        uint32_t id = 0;
        ASSERT_TRUE(RecInsertLocal(IVVc::Number, iv.data(), &id));
    }
    // The reminder count and date of the stored invoice.
    std::pair<int32_t, DateRec> Notices(int32_t number)
    {
        std::vector<uint8_t> iv(RegRecordSize(IVVc::Number), 0);
        PutI32(iv.data(), IVVc::SerNr, number);
        uint32_t id = 0, pos = 0;
        EXPECT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", iv.data(), 1, 1, &id, &pos));
        EXPECT_EQ(TextAt(iv.data(), IVVc::CustCode, 20), "C1");   // the rest is kept
        RecFreeMatrix(IVVc::Number, iv.data());
        return {GetI32(iv.data(), IVVc::NoticeCount), GetDate(iv.data(), IVVc::NoticeDate)};
    }
};

// "företag1" puts its nine texts into the company block and keeps the
// rest; "serier1" sets the seven hints (a line more is passed over) and
// keeps the block's other fields; "rabatt1" is passed over whole, a tag-like line in it too,
// and is not counted as a section this version skips.
TEST_F(OldSections, CompanySeriesAndDiscountSections)
{
    std::vector<uint8_t> company(CompanyBlk::Size, 0);
    PutTextAt(company.data(), CompanyBlk::EnterpriseNr, 20, "kept");
    PutU16(company.data(), CompanyBlk::CompanyVariant, 3);
    ASSERT_EQ(SettingsBlockStore(CompanyBlk::Number, company.data(), CompanyBlk::Size), RecDone);
    std::vector<uint8_t> series(SeriesDefaultsBlk::Size, 0);
    PutI32(series.data(), SeriesDefaultsBlk::LastVoucherNr, 444);
    PutI32(series.data(), SeriesDefaultsBlk::InvoiceHint, 1);
    ASSERT_EQ(SettingsBlockStore(SeriesDefaultsBlk::Number, series.data(), SeriesDefaultsBlk::Size), RecDone);

    ImportBytes("f\xF6retag1\r\nName AB\tStreet 1\tTown\tCountry\t556-1\t08-1\tFax\tBank 1\tBank 2\r\n\r\n"
                "rabatt1\r\nA\t10\r\not\r\nX\tx\r\n\r\n"
                "serier1\r\n100\r\n200\r\n300\r\n400\r\n500\r\n600\r\n700\r\n800\r\n\r\n"
                "ot\r\nA\tAlpha\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 0u);
    company = Block(CompanyBlk::Number, CompanyBlk::Size);
    const std::pair<uint32_t, const char *> texts[] = {
        {CompanyBlk::CompanyName, "Name AB"}, {CompanyBlk::Address1, "Street 1"}, {CompanyBlk::Address2, "Town"},
        {CompanyBlk::Address3, "Country"},   {CompanyBlk::OrgNr, "556-1"},       {CompanyBlk::Telephone, "08-1"},
        {CompanyBlk::Fax, "Fax"},        {CompanyBlk::BankAccount, "Bank 1"}, {CompanyBlk::BankAccount2, "Bank 2"},
        {CompanyBlk::EnterpriseNr, "kept"},
    };
    for (const auto &t : texts) EXPECT_EQ(TextAt(company.data(), t.first, 60), t.second) << t.first;
    EXPECT_EQ(GetU16(company.data(), CompanyBlk::CompanyVariant), 3);
    EXPECT_EQ(TextAt(CompanyBlock, CompanyBlk::CompanyName, 60), "Name AB");

    series = Block(SeriesDefaultsBlk::Number, SeriesDefaultsBlk::Size);
    const uint32_t hints[] = {SeriesDefaultsBlk::OrderHint,   SeriesDefaultsBlk::DeliveryHint,
                              SeriesDefaultsBlk::InvoiceHint, SeriesDefaultsBlk::PurchHint,
                              SeriesDefaultsBlk::ReceiptHint, SeriesDefaultsBlk::Hint20,
                              SeriesDefaultsBlk::InterestHint};
    for (int i = 0; i < 7; i++) EXPECT_EQ(GetI32(series.data(), hints[i]), 100 * (i + 1)) << i;
    EXPECT_EQ(GetI32(series.data(), SeriesDefaultsBlk::LastVoucherNr), 444);

    // The "X" line inside "rabatt1" was not read as a record; "ot" after
    // the sections was.
    std::vector<uint8_t> ot(RegRecordSize(OTVc::Number), 0);
    PutTextAt(ot.data(), OTVc::Code, 5, "X");
    EXPECT_FALSE(RecExists(OTVc::Number, ot.data()));
    PutTextAt(ot.data(), OTVc::Code, 5, "A");
    EXPECT_TRUE(RecExists(OTVc::Number, ot.data()));
}

// Damage: a company line cut short by a control character and a series
// hint that is no number store nothing; the blocks stay as they were.
// Empty sections store nothing either.
TEST_F(OldSections, DamagedOldSectionsStoreNothing)
{
    std::vector<uint8_t> company(CompanyBlk::Size, 0);
    PutTextAt(company.data(), CompanyBlk::CompanyName, 60, "Before");
    ASSERT_EQ(SettingsBlockStore(CompanyBlk::Number, company.data(), CompanyBlk::Size), RecDone);
    std::memcpy(CompanyBlock, company.data(), CompanyBlk::Size);
    ImportBytes("f\xF6retag1\r\nAfter\tStreet\x01\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 2u);
    EXPECT_EQ(TextAt(Block(CompanyBlk::Number, CompanyBlk::Size).data(), CompanyBlk::CompanyName, 60), "Before");
    EXPECT_EQ(TextAt(CompanyBlock, CompanyBlk::CompanyName, 60), "Before");

    std::vector<uint8_t> series(SeriesDefaultsBlk::Size, 0);
    PutI32(series.data(), SeriesDefaultsBlk::OrderHint, 9);
    ASSERT_EQ(SettingsBlockStore(SeriesDefaultsBlk::Number, series.data(), SeriesDefaultsBlk::Size), RecDone);
    ImportBytes("serier1\r\n5\r\n6x\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 3u);
    EXPECT_EQ(GetI32(Block(SeriesDefaultsBlk::Number, SeriesDefaultsBlk::Size).data(), SeriesDefaultsBlk::OrderHint),
              9);
    // Sections without a data line store nothing and leave the next
    // section's tag to it.
    ImportBytes("f\xF6retag1\r\n\r\not\r\nB\tBeta\r\n\r\nserier1\r\n\r\not\r\nC\tGamma\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_EQ(TextAt(CompanyBlock, CompanyBlk::CompanyName, 60), "Before");
    EXPECT_EQ(GetI32(Block(SeriesDefaultsBlk::Number, SeriesDefaultsBlk::Size).data(), SeriesDefaultsBlk::OrderHint),
              9);
    std::vector<uint8_t> ot(RegRecordSize(OTVc::Number), 0);
    for (const char *code : {"B", "C"}) {
        PutTextAt(ot.data(), OTVc::Code, 5, code);
        EXPECT_TRUE(RecExists(OTVc::Number, ot.data())) << code;
    }
}

// "påmtext1": texts land by number 62 bytes apart; number 9 (and -1) are
// passed over, the texts before and after still read; a text not given is
// empty, also where the stored block had one.
TEST_F(OldSections, ReminderTextsByNumber)
{
    std::vector<uint8_t> old(ReminderTextBlk::Size, 0);
    PutTextAt(old.data(), ReminderTextBlk::Level2Line2, 60, "old text");
    ASSERT_EQ(SettingsBlockStore(ReminderTextBlk::Number, old.data(), ReminderTextBlk::Size), RecDone);
    ImportBytes("p\xE5mtext1\r\n0\tFirst\r\n9\tNine\r\n-1\tMinus\r\n8\tLast\r\n3\tFourth\r\n\r\not\r\nA\tAlpha\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 0u);
    std::vector<uint8_t> b = Block(ReminderTextBlk::Number, ReminderTextBlk::Size);
    EXPECT_EQ(TextAt(b.data(), ReminderTextBlk::Level1Line1, 60), "First");
    EXPECT_EQ(TextAt(b.data(), ReminderTextBlk::Level2Line1, 60), "Fourth");
    EXPECT_EQ(TextAt(b.data(), ReminderTextBlk::Level3Line3, 60), "Last");
    EXPECT_EQ(TextAt(b.data(), ReminderTextBlk::Level2Line2, 60), "");
    for (uint32_t at = 0; at < ReminderTextBlk::Size; at += 62)
        EXPECT_EQ(TextAt(b.data(), at, 60).find("Nine"), std::string::npos);
    std::vector<uint8_t> ot(RegRecordSize(OTVc::Number), 0);
    PutTextAt(ot.data(), OTVc::Code, 5, "A");
    EXPECT_TRUE(RecExists(OTVc::Number, ot.data()));
}

// "påmstat": an invoice whose stored reminder date is not later takes the
// count and date (nothing else); a later stored date leaves it as it
// was; a line for a missing invoice changes nothing; 60 lines renew the
// hold twice.
TEST_F(OldSections, ReminderStatsKeepLaterDates)
{
    StoreInvoice(1, 1, DateRec{1, 3, 2025});
    StoreInvoice(2, 2, DateRec{20, 3, 2025});
    StoreInvoice(3, -1, DateRec{});
    std::string text = "p\xE5mstat\r\n1\t2\t0\t10.03.2025\r\n2\t3\t0\t10.03.2025\r\n3\t1\t7\t01.01.2025\r\n"
                       "99\t1\t0\t01.01.2025\r\n";
    for (int i = 0; i < 56; i++) text += "99\t1\t0\t01.01.2025\r\n";
    ImportBytes(text + "\r\n");
    EXPECT_EQ(ImportResult.damageLine, 0u);
    EXPECT_EQ(ImportResult.read, 60u);
    EXPECT_EQ(ImportResult.stored, 2u);
    EXPECT_EQ(ImportHoldsRenewed, 2u);
    auto [count1, date1] = Notices(1);
    EXPECT_EQ(count1, 2);
    EXPECT_EQ(date1.day, 10);
    auto [count2, date2] = Notices(2);
    EXPECT_EQ(count2, 2);
    EXPECT_EQ(date2.day, 20);
    auto [count3, date3] = Notices(3);
    EXPECT_EQ(count3, 1);
    EXPECT_EQ(date3.year, 2025);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 3u);

    // The store itself, as a printed reminder calls it: the same date
    // again is no later one and is written; a missing invoice is told.
    std::vector<uint8_t> iv(RegRecordSize(IVVc::Number), 0);
    PutI32(iv.data(), IVVc::SerNr, 2);
    PutI32(iv.data(), IVVc::NoticeCount, 4);
    PutDate(iv.data(), IVVc::NoticeDate, DateRec{20, 3, 2025});
    EXPECT_EQ(InvoiceNoticeStore(iv.data()), NoticeResult::Stored);
    EXPECT_EQ(Notices(2).first, 4);
    PutI32(iv.data(), IVVc::SerNr, 77);
    EXPECT_EQ(InvoiceNoticeStore(iv.data()), NoticeResult::Missing);
}

// A damaged "påmstat" line stops the import there; lines before it are
// written.
TEST_F(OldSections, DamagedReminderStatsLineStops)
{
    StoreInvoice(1, 0, DateRec{});
    StoreInvoice(2, 0, DateRec{});
    ImportBytes("p\xE5mstat\r\n1\t1\t0\t01.02.2025\r\n2x\t1\t0\t01.03.2025\r\n\r\n");
    EXPECT_EQ(ImportResult.damageLine, 3u);
    EXPECT_EQ(Notices(1).first, 1);
    EXPECT_EQ(Notices(2).first, 0);
}

}  // namespace
