// ledger_queries_test.cpp - the account change by objects over the
// postings of register 18, against the balances the same records posted,
// and the item sales over the history of register 59.
#include "core/record_buffer.h"
#include "database/access/record_locks.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"
#include "tests/rules/rules_fixture.h"

namespace {

class LedgerQueries : public RulesFixture {
protected:
    uint32_t nextSerial = 1;

    bool InstallRules() override {
        RulesInstall();
        return true;
    }
    void SetUp() override {
        RulesFixture::SetUp();
        UserCancelFlag = 0;
        uint16_t code = FiscalYearCodeFor(nullptr, 0, 0, 0);
        AddFiscalYear(code, "2024", {1, 1, 2024}, {31, 12, 2024});
        StoreAccount("1000", "Sales", 0);
        StoreAccount("2000", "Bank", 0);
        StoreObjectType("T0");
        StoreObjectType("T1");
        StoreObject("A", "T0");
        StoreObject("B", "T1");
    }
    void TearDown() override {
        UserCancelFlag = 0;
        RulesFixture::TearDown();
    }

    struct Line {
        const char *account, *objects;
        double amount;
    };
    // Inserts a record of reg (11, 9, 126, 51) dated date through the
    // record layer; fb1 records get objects as their own list.
    uint32_t Insert(int reg, DateRec date, std::initializer_list<Line> lines, const char *fb1Objects = "") {
        RuleRecord r(reg);
        RecNewDefaults(reg, r.record);
        for (const Line &l : lines) AddLedgerRow(reg, r.record, l.account, l.objects, l.amount);
        switch (reg) {
        case Voucher::Number: PutU32(r.record, Voucher::SerNr, nextSerial++); PutDate(r.record, Voucher::TransDate, date); break;
        case SMVc::Number: PutU32(r.record, SMVc::SerNr, nextSerial++); PutDate(r.record, SMVc::Date, date); break;
        case PersEntryVc::Number:
            PutU32(r.record, PersEntryVc::SerNr, nextSerial++);
            PutDate(r.record, PersEntryVc::TransDate, date);
            break;
        default:
            PutU32(r.record, OpenBalVc::SerNr, nextSerial++);
            PutDate(r.record, OpenBalVc::TransDate, date);
            PutText(r.record, OpenBalVc::Objects, 30, fb1Objects);
            break;
        }
        uint32_t recid = 0;
        int result = -2;
        RecInsertChecked(reg, r.record, &recid, &result);
        EXPECT_EQ(result, RecDone) << reg;
        return recid;
    }
    static double Query(const char *account, const char *objects, DateRec from, DateRec to, bool *done = nullptr) {
        uint8_t a[32], o[64];
        PStringFromC(a, account);
        PStringFromC(o, objects);
        PackedDecimal r;
        bool ok = AccountObjectsBalance(a, o, &from, &to, nullptr, &r);
        if (done) *done = ok;
        return DecIsBlank(&r) ? 0 : DecToDouble(&r);
    }
    // The change of both kinds in month (of 2024) of the balance record of
    // (account, objects).
    static double BalanceChange(const char *account, const char *objects, uint16_t month) {
        uint8_t a[32], o[64];
        PStringFromC(a, account);
        PStringFromC(o, objects);
        RuleRecord b(BalanceRecord::Number);
        uint32_t recid = 0;
        EXPECT_TRUE(GetOrCreateBalance(a, o, b.record, &recid));
        DateRec d{1, month, 2024};
        uint16_t m = MonthIndex(&d);
        MemBlock periods = GetU32(b.record, BalanceRecord::Periods);
        double sum = 0;
        for (int kind : {KindLedger, KindSubLedger}) {
            PackedDecimal c;
            PeriodBalanceChange(periods, BalanceKinds, kind, m, m, &c);
            sum += DecIsBlank(&c) ? 0 : DecToDouble(&c);
        }
        return sum;
    }
};

// Vouchers, sm1, sp1 and fb1 records of March (and around it) posted
// through the hooks: the March change of account 1000 for each object
// subset is the hand-summed amount and the change the balances hold (an
// fb1 counts on its own object list only, as it is posted). A
// voucher re-dated to April leaves its March postings behind, and they
// add nothing. Esc stops the walk.
TEST_F(LedgerQueries, AccountChangeMatchesBalances) {
    Insert(Voucher::Number, {28, 2, 2024}, {{"1000", "A", 1}, {"2000", "", -1}});
    const uint32_t march = Insert(Voucher::Number, {10, 3, 2024}, {{"1000", "A,B", 100}, {"1000", "A", 50}, {"2000", "", -150}});
    Insert(SMVc::Number, {12, 3, 2024}, {{"1000", "B", 30}, {"2000", "", -30}});
    Insert(PersEntryVc::Number, {20, 3, 2024}, {{"1000", "A,B", 7}, {"2000", "", -7}});
    Insert(OpenBalVc::Number, {25, 3, 2024}, {{"1000", "", 11}, {"2000", "", -11}}, "A");
    Insert(Voucher::Number, {1, 4, 2024}, {{"1000", "A", 1000}, {"2000", "", -1000}});

    const DateRec from{1, 3, 2024}, to{31, 3, 2024};
    const std::pair<const char *, double> want[] = {{"", 187}, {"A", 168}, {"B", 137}, {"A,B", 107}};
    for (auto [objects, amount] : want) {
        EXPECT_DOUBLE_EQ(Query("1000", objects, from, to), amount) << objects;
        EXPECT_DOUBLE_EQ(Query("1000", objects, from, to), BalanceChange("1000", objects, 3)) << objects;
    }
    EXPECT_DOUBLE_EQ(Query("2000", "", from, to), BalanceChange("2000", "", 3));
    EXPECT_DOUBLE_EQ(Query("1000", "", {11, 3, 2024}, {24, 3, 2024}), 37);   // sm1 and sp1 only
    EXPECT_DOUBLE_EQ(Query("1000", "", {1, 5, 2024}, {31, 12, 2024}), 0);
    EXPECT_DOUBLE_EQ(Query("999", "", from, to), 0);

    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(RecReadById(Voucher::Number, march, v.record));
    PutDate(v.record, Voucher::TransDate, {5, 4, 2024});
    ASSERT_TRUE(RecordLockAdd(LockOwnerId, Voucher::Number, march));
    int result = -2;
    RecUpdateChecked(Voucher::Number, v.record, march, &result);
    ASSERT_EQ(result, RecDone);
    EXPECT_DOUBLE_EQ(Query("1000", "", from, to), 37);
    EXPECT_DOUBLE_EQ(Query("1000", "", from, to), BalanceChange("1000", "", 3));
    EXPECT_DOUBLE_EQ(Query("1000", "A", {1, 4, 2024}, {30, 4, 2024}), 1150);
    EXPECT_DOUBLE_EQ(Query("1000", "A", {1, 4, 2024}, {30, 4, 2024}), BalanceChange("1000", "A", 4));

    UserCancelFlag = 1;
    bool done = true;
    EXPECT_DOUBLE_EQ(Query("1000", "", from, to, &done), 0);
    EXPECT_FALSE(done);
}

// An fb1 on "A,B" holds the objects "A" asks for and more, yet it is
// posted to the balance of "A,B" only: the query counts it there (also
// written "B,A") and nowhere else, as the balances do.
TEST_F(LedgerQueries, OpeningBalanceCountsOnItsOwnObjectListOnly) {
    Insert(OpenBalVc::Number, {5, 3, 2024}, {{"1000", "", 40}, {"2000", "", -40}}, "A,B");
    Insert(OpenBalVc::Number, {6, 3, 2024}, {{"1000", "", 2}, {"2000", "", -2}}, "B,A");
    Insert(Voucher::Number, {7, 3, 2024}, {{"1000", "A", 5}, {"2000", "", -5}});
    const DateRec from{1, 3, 2024}, to{31, 3, 2024};
    const std::pair<const char *, double> want[] = {{"", 5}, {"A", 5}, {"B", 0}, {"A,B", 42}};
    for (auto [objects, amount] : want) {
        EXPECT_DOUBLE_EQ(Query("1000", objects, from, to), amount) << objects;
        EXPECT_DOUBLE_EQ(Query("1000", objects, from, to), BalanceChange("1000", objects, 3)) << objects;
    }
    EXPECT_DOUBLE_EQ(Query("1000", "B,A", from, to), 42) << "the same list in another order";
}

// Item sales from the history: invoice 1 (two rows of X, each with its
// history record) counts once, the credit note subtracts, the customer
// filter ignores case, the amount is taken at the invoice's rate, and
// history outside the dates or of other kinds adds nothing.
TEST_F(LedgerQueries, StockValueAtDate) {
    namespace I = IVVc;
    auto invoice = [&](uint32_t serNr, const char *customer, uint16_t type, double rate,
                       std::initializer_list<std::tuple<const char *, double, double, double>> rows) {
        StoreRecord(I::Number, [&](uint8_t *r) {
            PutU32(r, I::SerNr, serNr);
            PutText(r, I::CustCode, 20, customer);
            PutU16(r, I::InvType, type);
            PutDec(r, I::Rate, Dec(rate));
            for (auto [item, qty, sum, profit] : rows) {
                uint8_t row[I::Rows::Size] = {};
                PutU16(row, I::Rows::Kind, 1);
                PutText(row, I::Rows::ItemCode, 20, item);
                PutDec(row, I::Rows::Quantity, Dec(qty));
                PutDec(row, I::Rows::Sum, Dec(sum));
                PutDec(row, I::Rows::GrossProfit, Dec(profit));
                ASSERT_TRUE(MatrixRowPut(I::Number, 0, r, MatrixRowCount(I::Number, 0, r), row));
            }
        });
    };
    invoice(1, "C1", 1, 200, {{"X", 4, 100, 40}, {"Y", 9, 9, 9}, {"x", 1, 20, 5}});
    invoice(2, "C1", 3, 0, {{"X", 2, 40, 16}});
    invoice(3, "C2", 1, 0, {{"X", 10, 50, 10}});
    invoice(4, "C1", 1, 0, {{"X", 100, 100, 100}});
    StoreFifoLayer("X", "", {5, 1, 2024}, 4, 5, 1, 0);
    StoreFifoLayer("X", "", {5, 1, 2024}, 1, 5, 1, 2);
    StoreFifoLayer("X", "", {6, 1, 2024}, 2, 5, 2);
    StoreFifoLayer("X", "", {7, 1, 2024}, 10, 5, 3);
    StoreFifoLayer("X", "", {7, 1, 2024}, 10, 4, 3);    // a purchase numbered 3: not an invoice
    StoreFifoLayer("X", "", {1, 2, 2024}, 100, 5, 4);   // after the range
    StoreFifoLayer("XA", "", {6, 1, 2024}, 1, 5, 3);    // another item

    auto value = [&](const char *customer, int mode, bool *done = nullptr) {
        uint8_t item[8], cust[32];
        PStringFromC(item, "X");
        PStringFromC(cust, customer);
        DateRec from{1, 1, 2024}, to{31, 1, 2024};
        PackedDecimal r;
        bool ok = StockValueAtDate(item, cust, mode, &from, &to, &r);
        if (done) *done = ok;
        return DecIsBlank(&r) ? 0.0 : DecToDouble(&r);
    };
    EXPECT_DOUBLE_EQ(value("c1", 0), 3);          // 4 + 1 sold, 2 credited
    EXPECT_DOUBLE_EQ(value("", 0), 13);
    EXPECT_DOUBLE_EQ(value("C1", 1), 200 + 40 - 40);
    EXPECT_DOUBLE_EQ(value("", 2), 45 - 16 + 10);
    EXPECT_DOUBLE_EQ(value("C9", 0), 0);
    UserCancelFlag = 1;
    bool done = true;
    value("", 0, &done);
    EXPECT_FALSE(done);
}

}  // namespace
