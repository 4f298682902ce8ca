// voucher_text_test.cpp - the ledger's sections of the text exchange:
// vouchers written and read back with rows of every type, new numbers,
// balancing, the older "transfix" and "BFO" sections, the hold renewed
// every fifth voucher (and a hold that fails), damage, drafts and opening
// balances.
#include "tests/exchange/exchange_fixture.h"

#include <vector>

#include "core/decimal.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "rules/ledger_text.h"
#include "rules/rules_types.h"

namespace {

namespace R = TransRow;

class VoucherText : public ExchangeFixture {
protected:
    void SetUp() override
    {
        ExchangeFixture::SetUp();
        if (HasFatalFailure()) return;
        TodayDate = DateRec{15, 6, 2024};
        std::vector<uint8_t> year(FiscalYearEntry::Size);
        PutU16(year.data(), FiscalYearEntry::OrderCode, 50);
        PutDate(year.data(), FiscalYearEntry::StartDate, DateRec{1, 1, 2024});
        PutDate(year.data(), FiscalYearEntry::EndDate, DateRec{31, 12, 2024});
        ASSERT_EQ(SettingsBlockStore(FiscalYearBlk::Number, year.data(), uint32_t(year.size())), RecDone);
        ImportSeriesTest = false;
    }
    void TearDown() override
    {
        D4TestHooks = D4FileHooks{};
        ImportSeriesTest = false;
        ExchangeFixture::TearDown();
    }

    static std::string Date(int d, int m, int y)
    {
        DateRec date{uint8_t(d), uint8_t(m), uint16_t(y)};
        uint8_t t[256];
        FieldToText(reinterpret_cast<uint8_t *>(&date), FtDate, t);
        return PStringToStd(t);
    }
    // A voucher section of tag with the lines given, closed by empty lines.
    static std::string Section(const char *tag, const std::vector<std::string> &lines)
    {
        std::string s = std::string(tag) + "\r\n";
        for (const std::string &l : lines) s += l + "\r\n";
        return s + "\r\n\r\nend\r\n";
    }
    // Reads bytes as one section by reader inside a hold, as the import does.
    void Import(const std::string &bytes, void (*reader)())
    {
        SourceOf(bytes);
        ImportAbortFlag = 0;
        ImportFailedSteps = 0;
        ImportReadTag();
        DbHoldBegin();
        reader();
        if (!DbHoldEnd()) ImportFailedSteps++;
    }
    // The stored voucher (year code 50) of serial into v; false when none.
    static bool Stored(uint32_t serial, uint8_t *v)
    {
        RecClear(Voucher::Number, v);
        PutU32(v, Voucher::SerNr, serial);
        PutU16(v, Voucher::YearCode, 50);
        uint32_t recid = 0, pos = 0;
        return RecFind(Voucher::Number, v, 2, 1, &recid, &pos);
    }
    static std::string Text(const uint8_t *base, uint32_t at) { return std::string((const char *)base + at + 1, base[at]); }
    static double Amount(const uint8_t *base, uint32_t at)
    {
        PackedDecimal d = GetDec(base, at);
        return DecIsBlank(&d) ? -1e9 : DecToDouble(&d);
    }
    static void AddRow(uint8_t *v, uint16_t kind, const char *account, double amount, double amount2 = 0)
    {
        uint8_t row[R::Size] = {};
        PutU16(row, R::Kind, kind);
        uint8_t t[256];
        PStringFromC(t, account);
        if (kind == RowAccount) PutPString(row, R::Account, 10, t);
        PackedDecimal d;
        DecFromDouble(&d, amount);
        PutDec(row, R::Amount, d);
        DecFromDouble(&d, amount2);
        PutDec(row, R::Amount2, d);
        if (kind == RowDated) {
            PutDate(row, R::Date, DateRec{2, 3, 2024});
            PutDate(row, R::Date2, DateRec{9, 3, 2024});
        }
        if (kind == RowLink || kind == RowReference) {
            PutU32(row, R::LinkSerNr, 77);
            PutU16(row, R::LinkYearCode, 50);
            if (kind == RowLink) PutDate(row, R::LinkDate, DateRec{4, 3, 2024});
        }
        ASSERT_TRUE(MatrixRowPut(Voucher::Number, 0, v, MatrixRowCount(Voucher::Number, 0, v), row));
    }
};

// A voucher with rows of the four types is written as "trans3" and read
// back equal, the second amount of an account row included.
TEST_F(VoucherText, RoundTripKeepsEveryRowType)
{
    RuleRecord v(Voucher::Number);
    PutU32(v.record, Voucher::SerNr, 7);
    PutDate(v.record, Voucher::RegDate, DateRec{1, 3, 2024});
    PutDate(v.record, Voucher::TransDate, DateRec{2, 3, 2024});
    AddRow(v.record, RowAccount, "1910", 125.5, 31.25);
    AddRow(v.record, RowAccount, "3010", -125.5);
    AddRow(v.record, RowDated, "", 0);
    AddRow(v.record, RowLink, "", 0);
    AddRow(v.record, RowReference, "", 0);
    ASSERT_TRUE(StoreVoucher(v.record));
    std::string bytes = ExportBytes(ExportVouchersText);
    ASSERT_EQ(bytes.rfind("trans3\t\r\n7\t", 0), 0u) << bytes;

    ASSERT_TRUE(RegDeleteAll(Voucher::Number));
    Import(bytes, ImportVouchersText);
    RuleRecord back(Voucher::Number);
    ASSERT_TRUE(Stored(7, back.record));
    ASSERT_EQ(MatrixRowCount(Voucher::Number, 0, back.record), 5);
    for (int32_t i = 0; i < 5; i++) {
        uint8_t a[R::Size], b[R::Size];
        ASSERT_TRUE(MatrixRowGet(Voucher::Number, 0, v.record, i, a));
        ASSERT_TRUE(MatrixRowGet(Voucher::Number, 0, back.record, i, b));
        EXPECT_EQ(std::memcmp(a, b, R::Size), 0) << "row " << i;
    }
    EXPECT_EQ(ImportResult.stored, 1u);
}

// The head, the rows and what the reader makes of them, case by case.
TEST_F(VoucherText, ReadingTable)
{
    RuleRecord one(Voucher::Number);
    PutU32(one.record, Voucher::SerNr, 1);
    PutDate(one.record, Voucher::TransDate, DateRec{1, 2, 2024});
    AddRow(one.record, RowAccount, "1910", 0);
    ASSERT_TRUE(StoreVoucher(one.record));
    const std::string d = Date(5, 2, 2024);

    // "S12" takes the next free number; an empty transaction date the entry date.
    Import(Section("trans3", {"S12\t" + d + "\tsale\t\t\t\t", "1910\t\tcash\t100.00\t0\t\t", "3010\t\tsale\t-100.00\t0\t\t"}),
           ImportVouchersText);
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(Stored(2, v.record));
    EXPECT_EQ(Text(v.record, Voucher::Text), "sale");
    DateRec trans = GetDate(v.record, Voucher::TransDate), feb5{5, 2, 2024};
    EXPECT_EQ(DateCompare(&trans, &feb5), 0);

    // Rows that do not balance get a "9999" row of the difference.
    Import(Section("trans3", {"3\t" + d + "\tx\t" + d + "\t\t\t", "1910\t\t\t40.00\t0\t\t"}), ImportVouchersText);
    ASSERT_TRUE(Stored(3, v.record));
    ASSERT_EQ(MatrixRowCount(Voucher::Number, 0, v.record), 2);
    uint8_t row[R::Size];
    ASSERT_TRUE(MatrixRowGet(Voucher::Number, 0, v.record, 1, row));
    EXPECT_EQ(Text(row, R::Account), "9999");
    EXPECT_DOUBLE_EQ(Amount(row, R::Amount), -40.0);

    // "transfix" rows end after the flag: no VAT code, no second amount.
    Import(Section("transfix", {"4\t" + d + "\tx\t" + d + "\t\t\t", "1910\t\t\t40.00\t0\tX1\t9.00",
                                "3010\t\t\t-40.00\t0"}),
           ImportOldVouchersText);
    ASSERT_TRUE(Stored(4, v.record));
    ASSERT_TRUE(MatrixRowGet(Voucher::Number, 0, v.record, 0, row));
    EXPECT_EQ(row[R::VatCode], 0);
    EXPECT_DOUBLE_EQ(Amount(row, R::Amount2), -1e9);

    // A type-2 row without its second date takes the transaction date; a
    // type-3 row without its year code takes the voucher's.
    Import(Section("trans3", {"5\t" + d + "\tx\t" + d + "\t\t\t", "\t2\t" + d + "\tAB\t", "\t3\t9\t" + d + "\t"}),
           ImportVouchersText);
    ASSERT_TRUE(Stored(5, v.record));
    ASSERT_TRUE(MatrixRowGet(Voucher::Number, 0, v.record, 0, row));
    DateRec second = GetDate(row, R::Date2);
    EXPECT_EQ(DateCompare(&second, &feb5), 0);
    ASSERT_TRUE(MatrixRowGet(Voucher::Number, 0, v.record, 1, row));
    EXPECT_EQ(GetU16(row, R::LinkYearCode), 50);
    EXPECT_EQ(GetU32(row, R::LinkSerNr), 9u);

    // Failures: a voucher in no fiscal year is not stored; an existing key
    // is not overwritten; a damaged amount stops the import at its line
    // with the vouchers before it kept.
    VoucherOutsideYearsFlag = false;
    const std::string old = Date(5, 2, 2019);
    Import(Section("trans3", {"6\t" + old + "\tx\t" + old + "\t\t\t", "1910\t\t\t1.00\t0\t\t"}), ImportVouchersText);
    EXPECT_TRUE(VoucherOutsideYearsFlag);
    EXPECT_EQ(RegOpenCount(Voucher::Number), 5u);
    Import(Section("trans3", {"5\t" + d + "\tagain\t" + d + "\t\t\t", "", "8\t" + d + "\tok\t" + d + "\t\t\t", "",
                              "9\t" + d + "\tbad\t" + d + "\t\t\t", "1910\t\t\t12x\t0\t\t"}),
           ImportVouchersText);
    ASSERT_TRUE(Stored(5, v.record));
    EXPECT_EQ(Text(v.record, Voucher::Text), "x");
    EXPECT_TRUE(Stored(8, v.record));
    EXPECT_FALSE(Stored(9, v.record));
    EXPECT_EQ(ImportAbortFlag, 1);
    EXPECT_EQ(ImportResult.damageLine, 7u);
    EXPECT_EQ(ImportResult.damageColumn, 4);
}

// "BFO": one voucher of today numbered by its series; empty object codes
// are left out; a code over five characters stores nothing and is named.
TEST_F(VoucherText, BfoSections)
{
    Import("BFO\tOpening\r\n1910\t100.00\t\tP1\t\tK2\t\tcash\r\n2010\t-60.00\t\t\t\t\t\tdebt\r\n\r\nend\r\n",
           ImportBfoText);
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(Stored(1, v.record));
    EXPECT_EQ(Text(v.record, Voucher::Text2), "BFO");
    ASSERT_EQ(MatrixRowCount(Voucher::Number, 0, v.record), 3);   // balanced on "9999"
    uint8_t row[R::Size];
    ASSERT_TRUE(MatrixRowGet(Voucher::Number, 0, v.record, 0, row));
    EXPECT_EQ(Text(row, R::Objects), "P1,K2");
    EXPECT_EQ(Text(row, R::Text), "cash");
    EXPECT_EQ(PStringToStd(ImportCurrentTag()), "end");

    Import("BFO\tOpening\r\n1910\t100.00\t\tPROJ01\t\t\t\tcash\r\n\r\n", ImportBfoText);
    EXPECT_EQ(RegOpenCount(Voucher::Number), 1u);
    EXPECT_EQ(PStringToStd(ImportResult.longBfoObject), "PROJ01");
}

// The hold is renewed before the 5th and the 10th voucher: each commit
// of a renewed hold syncs the file as often as the closing one.
TEST_F(VoucherText, HoldRenewedEveryFifthVoucher)
{
    ASSERT_TRUE(D4Flush(1));
    const std::string d = Date(5, 2, 2024);
    int64_t perCommit = 0;
    for (auto [count, commits] : std::vector<std::pair<int, int>>{{4, 1}, {5, 2}, {9, 2}, {10, 3}}) {
        ASSERT_TRUE(RegDeleteAll(Voucher::Number));
        std::vector<std::string> lines;
        for (int i = 1; i <= count; i++) {
            lines.push_back(std::to_string(i) + "\t" + d + "\tv\t" + d + "\t\t\t");
            lines.push_back("1910\t\t\t1.00\t0\t\t");
            lines.push_back("");
        }
        D4TestHooks = D4FileHooks{};
        Import(Section("trans3", lines), ImportVouchersText);
        EXPECT_EQ(RegOpenCount(Voucher::Number), uint32_t(count));
        if (perCommit == 0) perCommit = D4TestHooks.syncsDone;
        ASSERT_GT(perCommit, 0);
        EXPECT_EQ(D4TestHooks.syncsDone, perCommit * commits) << count << " vouchers";
    }
}

// A renewed hold that fails stops the import; nothing of it is stored.
TEST_F(VoucherText, FailedHoldStopsTheImport)
{
    ASSERT_TRUE(D4Flush(1));
    const std::string d = Date(5, 2, 2024);
    std::vector<std::string> lines;
    for (int i = 1; i <= 7; i++) {
        lines.push_back(std::to_string(i) + "\t" + d + "\tv\t" + d + "\t\t\t");
        lines.push_back("1910\t\t\t1.00\t0\t\t");
        lines.push_back("");
    }
    D4TestHooks = D4FileHooks{};
    D4TestHooks.failSyncAt = 1;   // the first commit: the hold renewed before the 5th
    Import(Section("trans3", lines), ImportVouchersText);
    D4TestHooks = D4FileHooks{};
    EXPECT_EQ(ImportAbortFlag, 1);
    EXPECT_GE(ImportFailedSteps, 1u);
    RuleRecord v(Voucher::Number);
    EXPECT_FALSE(Stored(1, v.record));
    EXPECT_FALSE(Stored(7, v.record));
}

// Drafts and opening balances are written and read back equal, totals
// made; an opening balance whose number exists is not replaced.
TEST_F(VoucherText, DraftsAndOpeningBalances)
{
    static RuleRecord *written = nullptr;
    RuleRecord sm1(SMVc::Number);
    PutU32(sm1.record, SMVc::SerNr, 12);
    PutDate(sm1.record, SMVc::Date, DateRec{3, 4, 2024});
    uint8_t row[SMVc::Rows::Size] = {};
    uint8_t t[256];
    PStringFromC(t, "1910");
    PutPString(row, SMVc::Rows::Account, 10, t);
    PackedDecimal d;
    DecFromDouble(&d, 12.5);
    PutDec(row, SMVc::Rows::Amount, d);
    ASSERT_TRUE(MatrixRowPut(SMVc::Number, 0, sm1.record, 0, row));
    written = &sm1;
    std::string bytes = ExportBytes([] { WriteSm1Text(written->record); });
    SourceOf(bytes);
    RuleRecord back(SMVc::Number);
    ASSERT_TRUE(ReadSm1Text(back.record));
    EXPECT_EQ(GetU32(back.record, SMVc::SerNr), 12u);
    EXPECT_DOUBLE_EQ(Amount(back.record, SMVc::Debit), 12.5);
    ASSERT_EQ(MatrixRowCount(SMVc::Number, 0, back.record), 1);

    RuleRecord fb1(OpenBalVc::Number);
    PutU32(fb1.record, OpenBalVc::SerNr, 3);
    PStringFromC(t, "first");
    PutPString(fb1.record, OpenBalVc::Text, 60, t);
    written = &fb1;
    bytes = ExportBytes([] { WriteFb1Text(written->record); });
    SourceOf(bytes);
    RuleRecord fb(OpenBalVc::Number);
    ASSERT_TRUE(ReadFb1Text(fb.record));
    EXPECT_EQ(Text(fb.record, OpenBalVc::Text), "first");
    ASSERT_TRUE(StoreFb1Record(fb.record));
    PStringFromC(t, "second");
    PutPString(fb.record, OpenBalVc::Text, 60, t);
    EXPECT_FALSE(StoreFb1Record(fb.record));
    RuleRecord kept(OpenBalVc::Number);
    PutU32(kept.record, OpenBalVc::SerNr, 3);
    uint32_t recid = 0, pos = 0;
    ASSERT_TRUE(RecFind(OpenBalVc::Number, kept.record, 1, 1, &recid, &pos));
    EXPECT_EQ(Text(kept.record, OpenBalVc::Text), "first");

    // A damaged amount in a draft's row is damage.
    SourceOf("13\t\t\t\t\r\n1910\t\t\t12x\t\r\n\r\n");
    RuleRecord bad(SMVc::Number);
    EXPECT_FALSE(ReadSm1Text(bad.record));
    written = nullptr;
}

}  // namespace
