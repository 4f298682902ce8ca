// voucher_text_test.cpp - the ledger's sections of the text exchange:
// vouchers written by selection and read back with rows of every type,
// new numbers, balancing, "transfix" and "BFO", the hold renewed every
// fifth voucher (and one that fails), damage, drafts and opening balances.
#include "tests/exchange/exchange_fixture.h"

#include <algorithm>
#include <vector>

#include "core/decimal.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "rules/ledger.h"
#include "exchange/ledger_text.h"
#include "rules/rules_types.h"
#include "tests/output/test_job.h"

namespace {

namespace R = TransRow;
namespace Y = FiscalYearEntry;

class VoucherText : public ExchangeFixture {
protected:
    std::string d;   // 5 Feb 2024 as the file writes it

    void SetUp() override
    {
        ExchangeFixture::SetUp();
        if (HasFatalFailure()) return;
        TodayDate = DateRec{15, 6, 2024};
        uint8_t year[Y::Size] = {}, t[256];
        PutU16(year, Y::OrderCode, 50);
        PStringFromC(t, "24");
        PutText(year, Y::YearCode, t);
        PutDate(year, Y::StartDate, DateRec{1, 1, 2024});
        PutDate(year, Y::EndDate, DateRec{31, 12, 2024});
        ASSERT_EQ(SettingsBlockStore(FiscalYearBlk::Number, year, Y::Size), RecDone);
        DateRec feb5{5, 2, 2024};
        FieldToText(reinterpret_cast<uint8_t *>(&feb5), FtDate, t);
        d = PStringToStd(t);
    }
    void TearDown() override
    {
        D4TestHooks = D4FileHooks{};
        ImportSeriesTest = false;
        ExchangeFixture::TearDown();
    }
    // A head line of serial dated 5 Feb 2024.
    std::string Head(const std::string &serial, const char *text = "x") { return serial + "\t" + d + "\t" + text + "\t" + d + "\t\t\t"; }
    // Reads lines as a section of tag by reader inside a hold, as the import does.
    void Import(const char *tag, const std::vector<std::string> &lines, void (*reader)(), const char *close = "\r\n\r\n")
    {
        std::string s = std::string(tag) + "\r\n";
        for (const std::string &l : lines) s += l + "\r\n";
        SourceOf(s + close + "end\r\n");
        ImportAbortFlag = 0;
        ImportReadTag();
        DbHoldBegin();
        reader();
        if (!DbHoldEnd()) ImportFailedSteps++;
    }
    // The stored voucher of serial (year code 50) into v; false when none.
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
        PackedDecimal v = GetDec(base, at);
        return DecIsBlank(&v) ? -1e9 : DecToDouble(&v);
    }
    static void Row(uint8_t *v, int32_t i, uint8_t *row) { ASSERT_TRUE(MatrixRowGet(Voucher::Number, 0, v, i, row)); }
    // Stores voucher serial with rows of the four types (its account row's
    // second amount set).
    static void StoreFull(uint32_t serial)
    {
        RuleRecord v(Voucher::Number);
        PutU32(v.record, Voucher::SerNr, serial);
        PutDate(v.record, Voucher::TransDate, DateRec{2, 3, 2024});
        for (uint16_t kind = RowAccount; kind <= RowReference; kind++) {
            uint8_t row[R::Size] = {}, t[256];
            PutU16(row, R::Kind, kind);
            PackedDecimal a;
            DecFromDouble(&a, kind == RowAccount ? 31.25 : 0);
            PutDec(row, R::Amount2, a);
            PStringFromC(t, "1910");
            if (kind == RowAccount) PutText(row, R::Account, t);
            if (kind == RowDated) PutDate(row, R::Date2, DateRec{9, 3, 2024});
            if (kind >= RowLink) PutU32(row, R::LinkSerNr, 77), PutU16(row, R::LinkYearCode, 50);
            ASSERT_TRUE(MatrixRowPut(Voucher::Number, 0, v.record, kind - 1, row));
        }
        ASSERT_TRUE(StoreVoucher(v.record));
    }
};

// A selection of vouchers is written as "trans3" and read back equal, the
// account row's second amount included; a selection past every voucher
// writes nothing.
TEST_F(VoucherText, ExportSelectionRoundTrip)
{
    for (uint32_t n = 1; n <= 4; n++) StoreFull(n);
    uint8_t t[256];
    PStringFromC(t, "24.9:24.12");
    PutText(TestJob, ReportParamsVc::SelText1, t);
    EXPECT_EQ(ExportBytes([] { ExportVouchersText(ReportJob{TestJob}); }, "none.txt"), "\r\n");
    PStringFromC(t, "24.2:24.3");
    PutText(TestJob, ReportParamsVc::SelText1, t);
    std::string bytes = ExportBytes([] { ExportVouchersText(ReportJob{TestJob}); });
    EXPECT_EQ(bytes.rfind("trans3\t\r\n2\t", 0), 0u) << bytes;
    EXPECT_NE(bytes.find("\r\n3\t"), std::string::npos);
    EXPECT_EQ(bytes.find("\r\n4\t"), std::string::npos);

    RuleRecord before(Voucher::Number), after(Voucher::Number);
    ASSERT_TRUE(Stored(2, before.record));
    ASSERT_TRUE(RegDeleteAll(Voucher::Number));
    SourceOf(bytes);
    ImportReadTag();
    ImportVouchersText();
    EXPECT_EQ(RegOpenCount(Voucher::Number), 2u);
    ASSERT_TRUE(Stored(2, after.record));
    ASSERT_EQ(MatrixRowCount(Voucher::Number, 0, after.record), 4);
    for (int32_t i = 0; i < 4; i++) {
        uint8_t a[R::Size], b[R::Size];
        Row(before.record, i, a);
        Row(after.record, i, b);
        EXPECT_EQ(std::memcmp(a, b, R::Size), 0) << "row " << i;
    }
}

// What the reader makes of heads and rows, and what it refuses.
TEST_F(VoucherText, Reading)
{
    StoreFull(1);
    RuleRecord v(Voucher::Number);
    uint8_t row[R::Size];
    // "S12" takes the next free number; rows that do not balance get a
    // "9999" row of the difference.
    Import("trans3", {Head("S12", "sale"), "1910\t\tcash\t40.00\t0\t\t"}, ImportVouchersText);
    ASSERT_TRUE(Stored(2, v.record));
    EXPECT_EQ(Text(v.record, Voucher::Text), "sale");
    ASSERT_EQ(MatrixRowCount(Voucher::Number, 0, v.record), 2);
    Row(v.record, 1, row);
    EXPECT_EQ(Text(row, R::Account), "9999");
    EXPECT_DOUBLE_EQ(Amount(row, R::Amount), -40.0);

    // "transfix" rows end after the flag: no VAT code, no second amount.
    Import("transfix", {Head("4"), "1910\t\t\t40.00\t0\tX1\t9.00"}, ImportOldVouchersText);
    ASSERT_TRUE(Stored(4, v.record));
    Row(v.record, 0, row);
    EXPECT_EQ(row[R::VatCode], 0);
    EXPECT_DOUBLE_EQ(Amount(row, R::Amount2), -1e9);

    // A type-2 row without its second date takes the transaction date; a
    // type-3 row without its year code takes the voucher's.
    Import("trans3", {Head("5"), "\t2\t" + d + "\tAB\t", "\t3\t9\t" + d + "\t"}, ImportVouchersText);
    ASSERT_TRUE(Stored(5, v.record));
    Row(v.record, 0, row);
    DateRec second = GetDate(row, R::Date2), feb5{5, 2, 2024};
    EXPECT_EQ(DateCompare(&second, &feb5), 0);
    Row(v.record, 1, row);
    EXPECT_EQ(GetU16(row, R::LinkYearCode), 50);

    // A voucher in no fiscal year is not stored; an existing key is not
    // overwritten; a damaged amount stops at its line and column, the
    // vouchers before it kept.
    VoucherOutsideYearsFlag = false;
    Import("trans3", {"6\t1.1.2019\tx\t1.1.2019\t\t\t"}, ImportVouchersText);
    EXPECT_TRUE(VoucherOutsideYearsFlag);
    Import("trans3", {Head("5", "again"), "", Head("8"), "", Head("9"), "1910\t\t\t12x\t0\t\t"}, ImportVouchersText);
    ASSERT_TRUE(Stored(5, v.record));
    EXPECT_EQ(Text(v.record, Voucher::Text), "x");
    EXPECT_TRUE(Stored(8, v.record));
    EXPECT_FALSE(Stored(9, v.record));
    EXPECT_EQ(RegOpenCount(Voucher::Number), 5u);
    EXPECT_EQ(ImportAbortFlag, 1);
    EXPECT_EQ(ImportResult.damageLine, 7u);
    EXPECT_EQ(ImportResult.damageColumn, 4);
}

// "BFO": one voucher of today; empty object codes are left out; a code
// over five characters stores nothing and is named for the result.
TEST_F(VoucherText, Bfo)
{
    Import("BFO\tOpening", {"1910\t100.00\t\tP1\t\tK2\t\tcash", "2010\t-60.00\t\t\t\t\t\tdebt"}, ImportBfoText, "\r\n");
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(Stored(1, v.record));
    EXPECT_EQ(Text(v.record, Voucher::Text2), "BFO");
    ASSERT_EQ(MatrixRowCount(Voucher::Number, 0, v.record), 3);   // balanced on "9999"
    uint8_t row[R::Size];
    Row(v.record, 0, row);
    EXPECT_EQ(Text(row, R::Objects), "P1,K2");
    EXPECT_EQ(PStringToStd(ImportCurrentTag()), "end");

    Import("BFO\tOpening", {"1910\t100.00\t\tPROJ01\t\t\t\tcash"}, ImportBfoText);
    EXPECT_EQ(RegOpenCount(Voucher::Number), 1u);
    EXPECT_EQ(PStringToStd(ImportResult.longBfoObject), "PROJ01");
}

// A voucher dated in the ledger's lock is left out of an import, as the
// voucher window refuses its date; the one after it, dated outside the
// lock, is stored. The run's end tells the window's message with how many
// were left out and the first. A "BFO" voucher of a locked today is left
// out as well, and so is one of the full export's own section ("trans4"),
// which the register reader reads.
TEST_F(VoucherText, VouchersDatedInTheLockAreLeftOut)
{
    uint8_t locks[DateLockBlk::Size] = {}, t[256];
    PutDate(locks, DateLockBlk::LedgerLock, DateRec{29, 2, 2024});
    ASSERT_EQ(SettingsBlockStore(DateLockBlk::Number, locks, sizeof locks), RecDone);
    DateRec march1{1, 3, 2024};
    FieldToText(reinterpret_cast<uint8_t *>(&march1), FtDate, t);
    const std::string m = PStringToStd(t), row = "1910\t\t\t5.00\t0\t\t\r\n";
    ImportBytes("trans3\r\n" + Head("3") + "\r\n" + row + "\r\n" + "7\t" + m + "\tx\t" + m + "\t\t\t\r\n" + row +
                "\r\n\r\nend\r\n");
    RuleRecord v(Voucher::Number);
    EXPECT_FALSE(Stored(3, v.record));
    EXPECT_TRUE(Stored(7, v.record));
    EXPECT_EQ(Shown(Texts::ImportVouchersLocked), 1) << ::testing::PrintToString(MessagesShown);
    const std::string told = TextOf(Texts::DateLocked) + " " + TextOf(Texts::ImportVouchersLocked) + "1 (3)";
    EXPECT_EQ(std::count(MessagesShown.begin(), MessagesShown.end(), told), 1)
        << ::testing::PrintToString(MessagesShown);

    PutDate(locks, DateLockBlk::LedgerLock, DateRec{30, 6, 2024});
    ASSERT_EQ(SettingsBlockStore(DateLockBlk::Number, locks, sizeof locks), RecDone);
    Import("BFO\tOpening", {"1910\t100.00\t\t\t\t\t\tcash"}, ImportBfoText);
    EXPECT_EQ(RegOpenCount(Voucher::Number), 1u);
    EXPECT_EQ(LockedVouchers.count, 2u);

    MessagesShown.clear();
    ImportBytes("trans4\r\n" + Head("11") + "\r\n" + row + "\r\n\r\nend\r\n");
    EXPECT_EQ(RegOpenCount(Voucher::Number), 1u);
    const std::string toldAgain = TextOf(Texts::DateLocked) + " " + TextOf(Texts::ImportVouchersLocked) + "1 (11)";
    EXPECT_EQ(MessagesShown, std::vector<std::string>{toldAgain});
}

// The hold is renewed before the 5th and the 10th voucher (each commit
// syncs the file as often as the closing one); a renewal whose commit
// fails stops the import with nothing of its hold stored.
TEST_F(VoucherText, HoldRenewedEveryFifthVoucher)
{
    ASSERT_TRUE(D4Flush(1));
    int64_t perCommit = 0;
    struct Case { int vouchers, commits, failSync; uint32_t stored; };
    for (Case c : {Case{4, 1, -1, 4}, Case{5, 2, -1, 5}, Case{9, 2, -1, 9}, Case{10, 3, -1, 10}, Case{7, 0, 1, 0}}) {
        ASSERT_TRUE(RegDeleteAll(Voucher::Number));
        std::vector<std::string> lines;
        for (int i = 1; i <= c.vouchers; i++) lines.insert(lines.end(), {Head(std::to_string(i)), "1910\t\t\t1\t0\t\t", ""});
        D4TestHooks = D4FileHooks{};
        D4TestHooks.failSyncAt = c.failSync;
        ImportFailedSteps = 0;
        Import("trans3", lines, ImportVouchersText);
        int64_t syncs = D4TestHooks.syncsDone;
        D4TestHooks = D4FileHooks{};
        EXPECT_EQ(RegOpenCount(Voucher::Number), c.stored) << c.vouchers;
        if (c.failSync > 0) {
            EXPECT_EQ(ImportAbortFlag, 1);
            EXPECT_GE(ImportFailedSteps, 1u);
            continue;
        }
        if (perCommit == 0) perCommit = syncs;
        EXPECT_EQ(syncs, perCommit * c.commits) << c.vouchers << " vouchers";
    }
}

// Drafts and opening balances come back from their lines with totals; a
// voucher numbered in a draft series only becomes a draft when the series
// test is on; an opening balance whose number exists is not replaced.
TEST_F(VoucherText, DraftsAndOpeningBalances)
{
    SourceOf("12\tdraft\t" + d + "\t\t\r\n1910\t\trow\t12.50\t\r\n\r\n");
    RuleRecord sm1(SMVc::Number);
    ASSERT_TRUE(ReadSm1Text(sm1.record));
    EXPECT_DOUBLE_EQ(Amount(sm1.record, SMVc::Debit), 12.5);
    static const uint8_t *written = nullptr;
    written = sm1.record;
    EXPECT_EQ(ExportBytes([] { WriteSm1Text(written); }), "12\tdraft\t" + d + "\t\t\t\r\n1910\t\trow\t12,50\t\t\r\n\r\n");
    SourceOf("13\t\t\t\t\r\n1910\t\t\t12x\t\r\n\r\n");
    EXPECT_FALSE(ReadSm1Text(sm1.record));

    uint8_t series[SeriesRow::Size] = {};
    PutU32(series, SeriesRow::FirstNr, 500);
    PutU32(series, SeriesRow::LastNr, 599);
    ASSERT_EQ(SettingsBlockStore(SubLedgerSeriesBlk::Number, series, SeriesRow::Size), RecDone);
    ImportSeriesTest = true;
    Import("trans3", {Head("510", "to draft"), "1910\t\tr\t5.00\t0\t\t", "3010\t\tr\t-5.00\t0\t\t"}, ImportVouchersText);
    RuleRecord v(Voucher::Number);
    EXPECT_FALSE(Stored(510, v.record));
    RecClear(SMVc::Number, sm1.record);
    PutU32(sm1.record, SMVc::SerNr, 510);
    uint32_t recid = 0, pos = 0;
    ASSERT_TRUE(RecFind(SMVc::Number, sm1.record, 1, 1, &recid, &pos));
    EXPECT_EQ(Text(sm1.record, SMVc::Text), "to draft");
    EXPECT_EQ(MatrixRowCount(SMVc::Number, 0, sm1.record), 2);

    SourceOf("3\tfirst\t" + d + "\t\t\t\r\n1910\t\t8.00\r\n\r\n");
    RuleRecord fb(OpenBalVc::Number);
    ASSERT_TRUE(ReadFb1Text(fb.record));
    ASSERT_TRUE(StoreFb1Record(fb.record));
    uint8_t t[256];
    PStringFromC(t, "second");
    PutText(fb.record, OpenBalVc::Text, t);
    EXPECT_FALSE(StoreFb1Record(fb.record));
    RecClear(OpenBalVc::Number, fb.record);
    PutU32(fb.record, OpenBalVc::SerNr, 3);
    ASSERT_TRUE(RecFind(OpenBalVc::Number, fb.record, 1, 1, &recid, &pos));
    EXPECT_EQ(Text(fb.record, OpenBalVc::Text), "first");
    EXPECT_DOUBLE_EQ(Amount(fb.record, OpenBalVc::DebitTotal), 8.0);
}

}  // namespace
