// balances_test.cpp - posting to the balance records: the fan-out over
// object subsets and the VAT record, dates the balances cannot hold, links
// between vouchers, and a store that fails. (The posting oracle posts and
// takes out all four record kinds against the balance model.)
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "rules/ledger.h"
#include "tests/rules/rules_fixture.h"

namespace {

class Balances : public RulesFixture {
protected:
    // The balance of kind at month of (account, objects); false when no
    // such record is stored.
    bool Stored(const char *account, const char *objects, uint16_t month, int kind, double *value) {
        RuleRecord r(BLVc::Number);
        PutText(r.record, BLVc::Account, 10, account);
        PutText(r.record, BLVc::Objects, 30, objects);
        uint32_t recid = 0, position = 0;
        if (!RecFind(BLVc::Number, r.record, 2, 1, &recid, &position)) return false;
        PackedDecimal d;
        PeriodBalanceAt(RecMatrixHandle(BLVc::Number, r.record), BalanceKinds, kind, month, &d);
        *value = DecToDouble(&d);
        return true;
    }
    bool Post(DateRec date, const char *account, const char *objects, double amount, const char *vat) {
        PString a, o, v;
        PStringFromC(a, account);
        PStringFromC(o, objects);
        PStringFromC(v, vat);
        PackedDecimal d = Dec(amount);
        return PostToBalances(&date, a, o, &d, KindLedger, v);
    }
};

// A row on 3010 with objects P1 and K2 and VAT code 1 books five records:
// the account alone, each object, both (sorted), and "1::".
TEST_F(Balances, RowPostsEverySubsetAndItsVatRecord) {
    DateRec date{10, 3, 2024};
    uint16_t month = MonthIndex(&date);
    ASSERT_TRUE(Post(date, "3010", "P1,K2", 100, "1"));
    ASSERT_TRUE(Post(date, "3010", "K2", -30, ""));
    EXPECT_EQ(RegRecordCount(BLVc::Number), 5u);
    double v = 0;
    const char *keys[] = {"", "K2", "P1", "K2,P1", "1::"};
    const double want[] = {70, 70, 100, 100, 100};
    for (int i = 0; i < 5; i++) {
        ASSERT_TRUE(Stored("3010", keys[i], month, KindLedger, &v)) << keys[i];
        EXPECT_EQ(v, want[i]) << keys[i];
    }
    EXPECT_FALSE(Stored("3010", "P1,K2", month, KindLedger, &v));   // never the unsorted list
}

// A booking dated where the balances cannot hold it posts nothing and
// raises the flag, and is no failure; 2100 is booked in its own month.
TEST_F(Balances, DateOutsideTheBalancesPostsNothing) {
    BalanceDateOutsideFlag = false;
    EXPECT_TRUE(Post(DateRec{31, 12, 1979}, "1910", "", 10, ""));
    EXPECT_TRUE(Post(DateRec{1, 5, 7441}, "1910", "", 10, ""));
    EXPECT_EQ(RegRecordCount(BLVc::Number), 0u);
    EXPECT_TRUE(BalanceDateOutsideFlag);
    BalanceDateOutsideFlag = false;
    EXPECT_TRUE(Post(DateRec{0, 0, 0}, "1910", "", 10, ""));   // no date: nothing, no flag
    EXPECT_FALSE(BalanceDateOutsideFlag);
    ASSERT_TRUE(Post(DateRec{15, 1, 2100}, "1910", "", 10, ""));
    ASSERT_TRUE(Post(DateRec{15, 12, 2099}, "1910", "", 5, ""));
    double v = 0;
    DateRec dec2099{1, 12, 2099}, jan2100{1, 1, 2100};
    ASSERT_TRUE(Stored("1910", "", MonthIndex(&dec2099), KindLedger, &v));
    EXPECT_EQ(v, 5);
    ASSERT_TRUE(Stored("1910", "", MonthIndex(&jan2100), KindLedger, &v));
    EXPECT_EQ(v, 15);
    EXPECT_FALSE(BalanceDateOutsideFlag);
}

// A link row gives the voucher it names one link back, once however often
// the voucher is posted; a voucher that names a missing one is no failure.
TEST_F(Balances, LinkRowsPointBackOnce) {
    RuleRecord target(TRVc::Number), source(TRVc::Number);
    PutU32(target.record, TRVc::SerNr, 7);
    PutU16(target.record, TRVc::YearCode, 3);
    PutDate(target.record, TRVc::TransDate, DateRec{1, 4, 2024});
    AddLedgerRow(TRVc::Number, target.record, "1910", "", 10);
    uint32_t recid = 0;
    ASSERT_TRUE(RecStore(TRVc::Number, target.record, 0, &recid));

    PutU32(source.record, TRVc::SerNr, 8);
    PutU16(source.record, TRVc::YearCode, 3);
    PutDate(source.record, TRVc::TransDate, DateRec{2, 4, 2024});
    uint8_t link[TRVc::Rows::Size] = {};
    PutU16(link, TRVc::Rows::Kind, RowLink);
    PutU32(link, TRVc::Rows::LinkSerNr, 7);
    PutU16(link, TRVc::Rows::LinkYearCode, 3);
    ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, source.record, 0, link));
    PutU32(link, TRVc::Rows::LinkSerNr, 99);   // no such voucher
    ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, source.record, 1, link));
    ASSERT_TRUE(PostTransaction(source.record));
    ASSERT_TRUE(PostTransaction(source.record));

    ASSERT_TRUE(RecReadById(TRVc::Number, recid, target.record));
    ASSERT_EQ(MatrixRowCount(TRVc::Number, 0, target.record), 2);
    uint8_t row[TRVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(TRVc::Number, target.record, 1, row));
    EXPECT_EQ(GetU16(row, TRVc::Rows::Kind), RowLink);
    EXPECT_EQ(GetU32(row, TRVc::Rows::LinkSerNr), 8u);
    EXPECT_EQ(GetU16(row, TRVc::Rows::LinkYearCode), 3);
    DateRec d = GetDate(row, TRVc::Rows::LinkDate);
    EXPECT_EQ(d.day, 2);
}

// A voucher's rows, named in no order of their records and several on
// one record, book each record once with the sum of its rows: records
// that existed keep what they held, new ones carry their own account's
// name (an account that is gone: none).
TEST_F(Balances, VoucherRowsBookEachRecordWithTheirSum) {
    StoreAccount("3010", "Sales", 0);
    StoreAccount("4010", "Purchases", 0);
    DateRec date{10, 3, 2024};
    uint16_t month = MonthIndex(&date);
    ASSERT_TRUE(Post(date, "3010", "", 100, ""));
    RuleRecord v(TRVc::Number);
    PutDate(v.record, TRVc::TransDate, date);
    AddLedgerRow(TRVc::Number, v.record, "4010", "P1", 10);
    AddLedgerRow(TRVc::Number, v.record, "3010", "", 5);
    AddLedgerRow(TRVc::Number, v.record, "9999", "", 1);   // no such account
    AddLedgerRow(TRVc::Number, v.record, "4010", "", 7);
    AddLedgerRow(TRVc::Number, v.record, "3010", "P1", -2);
    AddLedgerRow(TRVc::Number, v.record, "1910", "", 3);
    ASSERT_TRUE(PostTransaction(v.record));
    EXPECT_EQ(RegRecordCount(BLVc::Number), 6u);
    struct Want {
        const char *account, *objects;
        double value;
        const char *name;
    } wants[] = {{"3010", "", 103, nullptr}, {"3010", "P1", -2, "Sales"}, {"4010", "", 17, "Purchases"},
                 {"4010", "P1", 10, "Purchases"}, {"9999", "", 1, ""}, {"1910", "", 3, nullptr}};
    for (const Want &w : wants) {
        SCOPED_TRACE(std::string(w.account) + "/" + w.objects);
        double got = 0;
        ASSERT_TRUE(Stored(w.account, w.objects, month, KindLedger, &got));
        EXPECT_EQ(got, w.value);
        if (!w.name) continue;
        RuleRecord r(BLVc::Number);
        PutText(r.record, BLVc::Account, 10, w.account);
        PutText(r.record, BLVc::Objects, 30, w.objects);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(BLVc::Number, r.record, 2, 1, &recid, &position));
        PString name;
        ::GetText(r.record, BLVc::Name, name);
        EXPECT_EQ(std::string((const char *)name + 1, name[0]), w.name);
    }
    // Taken out again, every record holds what it held before.
    VoucherRowsNegate(v.record, 0);
    ASSERT_TRUE(PostTransaction(v.record));
    for (const Want &w : wants) {
        double got = 0;
        ASSERT_TRUE(Stored(w.account, w.objects, month, KindLedger, &got));
        EXPECT_EQ(got, std::string(w.account) == "3010" && !*w.objects ? 100 : 0) << w.account << "/" << w.objects;
    }
}

// A posting whose store fails says so, so the caller can fail its hold.
TEST_F(Balances, FailedStoreIsReported) {
    D4Close();
    EXPECT_FALSE(Post(DateRec{1, 1, 2024}, "1910", "P1", 10, ""));
    PString a;
    PStringFromC(a, "1910");
    PackedDecimal d = Dec(1);
    DateRec date{1, 1, 2024};
    EXPECT_FALSE(PostAmountAtDate(&date, a, EmptyPString, &d, KindLedger));
}

}  // namespace
