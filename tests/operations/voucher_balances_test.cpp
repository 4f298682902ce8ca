// voucher_balances_test.cpp - a voucher of many rows posts to the balance
// records what its rows posted one by one would: rows that fall on the
// same balance record and month are summed before the record is stored,
// and a store that fails still fails the posting.
#include <map>
#include <string>

#include "core/record_buffer.h"
#include "rules/ledger.h"
#include "tests/rules/rules_fixture.h"

namespace {

class VoucherBalances : public RulesFixture {
protected:
    // The ledger balance at month of (account, objects); -1e9 when the
    // record is not stored.
    double Stored(const std::string &account, const std::string &objects, uint16_t month) {
        RuleRecord r(BLVc::Number);
        PutText(r.record, BLVc::Account, 10, account.c_str());
        PutText(r.record, BLVc::Objects, 30, objects.c_str());
        uint32_t recid = 0, position = 0;
        if (!RecFind(BLVc::Number, r.record, 2, 1, &recid, &position)) return -1e9;
        PackedDecimal d;
        PeriodBalanceAt(RecMatrixHandle(BLVc::Number, r.record), BalanceKinds, KindLedger, month, &d);
        return DecToDouble(&d);
    }
};

// 600 rows over three accounts and three object lists (none, one, two),
// some with a VAT code, posted as one voucher and then taken out by the
// same rows negated: each balance record holds the sum of the rows that
// reach it (the account alone, each object, both, "code::"), and nothing
// after the rows are taken out.
TEST_F(VoucherBalances, ManyRowsOnFewRecordsSumAsRowByRow) {
    const char *accounts[] = {"1910", "3010", "4010"};
    const char *lists[] = {"", "P1", "P1,K2"};
    // The records each list reaches, apart from the account alone.
    const std::vector<std::string> reach[] = {{}, {"P1"}, {"K2", "P1", "K2,P1"}};
    const DateRec date{10, 3, 2024};
    const uint16_t month = MonthIndex(&date);
    std::map<std::pair<std::string, std::string>, double> want;
    RuleRecord v(TRVc::Number), back(TRVc::Number);
    for (RuleRecord *r : {&v, &back}) {
        PutU32(r->record, TRVc::SerNr, r == &v ? 1 : 2);
        PutDate(r->record, TRVc::TransDate, date);
    }
    for (int i = 0; i < 600; i++) {
        std::string account = accounts[i % 3], list = lists[(i / 3) % 3];
        const char *vat = i % 7 == 0 ? "1" : "";
        double amount = (i % 11) - 5 + 0.25;
        AddLedgerRow(TRVc::Number, v.record, account.c_str(), list.c_str(), amount, vat);
        AddLedgerRow(TRVc::Number, back.record, account.c_str(), list.c_str(), -amount, vat);
        want[{account, ""}] += amount;
        for (const std::string &o : reach[(i / 3) % 3]) want[{account, o}] += amount;
        if (*vat) want[{account, "1::"}] += amount;
    }
    ASSERT_TRUE(PostTransaction(v.record));
    EXPECT_EQ(RegRecordCount(BLVc::Number), want.size());
    for (const auto &[key, sum] : want)
        EXPECT_DOUBLE_EQ(Stored(key.first, key.second, month), sum) << key.first << " [" << key.second << "]";

    ASSERT_TRUE(PostTransaction(back.record));
    EXPECT_EQ(RegRecordCount(BLVc::Number), want.size());
    for (const auto &[key, sum] : want) EXPECT_EQ(Stored(key.first, key.second, month), 0) << key.first;
}

// When the balance records cannot be stored, posting a voucher of many
// rows says so, so that the caller fails its hold.
TEST_F(VoucherBalances, FailedStoreFailsTheVoucher) {
    RuleRecord v(TRVc::Number);
    PutU32(v.record, TRVc::SerNr, 1);
    PutDate(v.record, TRVc::TransDate, DateRec{1, 2, 2024});
    for (int i = 0; i < 50; i++) AddLedgerRow(TRVc::Number, v.record, i % 2 ? "1910" : "3010", "P1", i % 2 ? 4 : -4);
    D4Close();
    EXPECT_FALSE(PostTransaction(v.record));
}

}  // namespace
