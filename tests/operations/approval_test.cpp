// approval_test.cpp - approve kinds applied to stored records: the copies of
// account rows to register 18 with their dated second pass, the refusal of
// a kind on another register, the register of each named kind, list runs
// that stop at a locked record, and an sm1 record that stays when no
// voucher number is free or its date is locked.
#include <set>
#include <tuple>

#include "core/ui_text.h"
#include "database/access/record_locks.h"
#include "rules/approval.h"
#include "rules/hooks.h"
#include "tests/rules/balance_model.h"
#include "tests/rules/rules_fixture.h"

namespace {

// A register-18 record: account, date as yyyymmdd, source serial, record
// id, register and year code.
using Posting = std::tuple<std::string, int, uint32_t, uint32_t, uint16_t, uint16_t>;

int Ymd(const DateRec &d) { return d.year * 10000 + d.month * 100 + d.day; }

class Approval : public RulesFixture {
protected:
    // Every register-18 record.
    static std::set<Posting> Postings() {
        std::set<Posting> all;
        uint8_t r[ATVc::Size];
        uint32_t id = 0;
        for (int32_t i = 1; RecReadAt(ATVc::Number, i, r, &id); i++)
            all.insert({Text(r, ATVc::Account), Ymd(GetDate(r, ATVc::Date)), GetU32(r, ATVc::SourceSerNr),
                        GetU32(r, ATVc::SourceRecId), GetU16(r, ATVc::SourceReg), GetU16(r, ATVc::YearCode)});
        return all;
    }

    // Appends a voucher row of kind 1 (account) or 2 (dated).
    static void VoucherRow(uint8_t *v, uint16_t kind, const char *account, DateRec date = {}) {
        uint8_t row[TransRow::Size] = {};
        PutU16(row, TransRow::Kind, kind);
        if (kind == RowAccount) {
            PutText(row, TransRow::Account, 10, account);
            PutDec(row, TransRow::Amount, Dec(10));
        } else {
            PutDate(row, TransRow::Date, date);
        }
        ASSERT_TRUE(MatrixRowPut(Voucher::Number, 0, v, MatrixRowCount(Voucher::Number, 0, v), row));
    }
};

// Kind 16 copies each account row on the transaction date, then once more
// for every dated row (walking up) on that row's date, but only the
// account rows above it; a dated row repeating the current date adds
// nothing. The voucher is marked and a second run finds the gate shut.
TEST_F(Approval, VoucherRowsToPostingsWithDatedRows) {
    const DateRec trans{10, 3, 2024}, later{20, 4, 2024};
    const int t = Ymd(trans), l = Ymd(later);
    uint32_t id = StoreRecord(Voucher::Number, [&](uint8_t *v) {
        PutU32(v, Voucher::SerNr, 7);
        PutU16(v, Voucher::YearCode, 5);
        PutDate(v, Voucher::TransDate, trans);
        VoucherRow(v, RowAccount, "1910");
        VoucherRow(v, RowDated, "", trans);   // the current date already: no copy
        VoucherRow(v, RowAccount, "3010");
        VoucherRow(v, RowDated, "", later);
        VoucherRow(v, RowAccount, "2610");
    });
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(ApproveRecord(16, Voucher::Number, id));
    std::set<Posting> want = {
        {"1910", t, 7, id, 11, 5}, {"3010", t, 7, id, 11, 5}, {"2610", t, 7, id, 11, 5},
        {"1910", l, 7, id, 11, 5}, {"3010", l, 7, id, 11, 5},
    };
    EXPECT_EQ(Postings(), want);

    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(RecReadById(Voucher::Number, id, v.record));
    EXPECT_EQ(GetU16(v.record, Voucher::Reg18Done), 1);
    EXPECT_FALSE(ApproveAllowed(16, Voucher::Number, v.record));
    EXPECT_TRUE(ApproveRecord(16, Voucher::Number, id));
    EXPECT_EQ(RegRecordCount(ATVc::Number), 5u);
}

// Kinds 28, 29 and 39 copy the rows of sm1, fb1 and sp1 records with their
// own dates, serials and registers (year code 0), and mark the record.
TEST_F(Approval, SubLedgerRowsToPostings) {
    const DateRec d9{1, 2, 2023}, d51{2, 2, 2023}, d126{3, 2, 2023};
    uint32_t sm1 = StoreRecord(SMVc::Number, [&](uint8_t *r) {
        PutU32(r, SMVc::SerNr, 11);
        PutDate(r, SMVc::Date, d9);
        AddLedgerRow(SMVc::Number, r, "1510", "", 0);
        AddLedgerRow(SMVc::Number, r, "3010", "", 0);
    });
    uint32_t fb1 = StoreRecord(OpenBalVc::Number, [&](uint8_t *r) {
        PutU32(r, OpenBalVc::SerNr, 12);
        PutDate(r, OpenBalVc::TransDate, d51);
        AddLedgerRow(OpenBalVc::Number, r, "2010", "", 0);
    });
    uint32_t sp1 = StoreRecord(PersEntryVc::Number, [&](uint8_t *r) {
        PutU32(r, PersEntryVc::SerNr, 13);
        PutDate(r, PersEntryVc::TransDate, d126);
        AddLedgerRow(PersEntryVc::Number, r, "7010", "", 0);
    });
    EXPECT_TRUE(ApproveRecord(28, SMVc::Number, sm1));
    EXPECT_TRUE(ApproveRecord(29, OpenBalVc::Number, fb1));
    EXPECT_TRUE(ApproveRecord(39, PersEntryVc::Number, sp1));
    std::set<Posting> want = {{"1510", Ymd(d9), 11, sm1, 9, 0},
                              {"3010", Ymd(d9), 11, sm1, 9, 0},
                              {"2010", Ymd(d51), 12, fb1, 51, 0},
                              {"7010", Ymd(d126), 13, sp1, 126, 0}};
    EXPECT_EQ(Postings(), want);
    for (auto [reg, id, flag] : {std::tuple{9, sm1, SMVc::Reg18Done}, std::tuple{51, fb1, OpenBalVc::Reg18Done},
                                 std::tuple{126, sp1, PersEntryVc::Reg18Done}}) {
        RuleRecord r(reg);
        ASSERT_TRUE(RecReadById(reg, id, r.record));
        EXPECT_EQ(GetU16(r.record, flag), 1) << reg;
    }
}

// A kind run on a register other than its own, a kind outside 1..48 and a
// register outside the table change nothing, alone or in a list; a server
// takes these from clients as they come.
TEST_F(Approval, KindOnWrongRegisterRefused) {
    uint32_t sm1 = StoreRecord(SMVc::Number, [&](uint8_t *r) {
        PutU32(r, SMVc::SerNr, 1);
        AddLedgerRow(SMVc::Number, r, "1510", "", 0);
    });
    uint32_t ids[] = {sm1};
    EXPECT_TRUE(ApproveRecord(31, SMVc::Number, sm1));   // a voucher's kind on an sm1
    EXPECT_TRUE(ApproveRecord(16, SMVc::Number, sm1));
    EXPECT_TRUE(ApproveRecord(0, SMVc::Number, sm1));
    EXPECT_TRUE(ApproveRecord(49, SMVc::Number, sm1));
    EXPECT_TRUE(ApproveRecord(28, 133, sm1));
    EXPECT_TRUE(ApproveRecord(28, -1, sm1));
    EXPECT_TRUE(ApproveRecordListLocal(SMVc::Number, 16, ids, 1));
    EXPECT_TRUE(ApproveRecordListLocal(SMVc::Number, 28, nullptr, 1));
    EXPECT_EQ(RegRecordCount(ATVc::Number), 0u);
    RuleRecord r(SMVc::Number);
    ASSERT_TRUE(RecReadById(SMVc::Number, sm1, r.record));
    EXPECT_EQ(GetU16(r.record, SMVc::Reg18Done), 0);
    // The kind's own register still works on the same record.
    EXPECT_TRUE(ApproveRecordListLocal(SMVc::Number, 28, ids, 1));
    EXPECT_EQ(RegRecordCount(ATVc::Number), 1u);
}

// Each named kind is, in the table, a kind of the register its name speaks
// of and has an operation; the kind without one has none.
TEST_F(Approval, NamedKindsActOnTheirRegister) {
    const struct {
        ApproveKind kind;
        int reg;
    } named[] = {
        {ApproveKindPostInvoice, IVVc::Number},           {ApproveKindPrintInvoice, IVVc::Number},
        {ApproveKindPrintInvoiceAgain, IVVc::Number},     {ApproveKindInvoiceToLedger, IVVc::Number},
        {ApproveKindPrintOrder, ORVc::Number},            {ApproveKindPrintOrderSecondForm, ORVc::Number},
        {ApproveKindPurchaseOrdersFromOrder, ORVc::Number}, {ApproveKindPrintDelivery, SHVc::Number},
        {ApproveKindShipDelivery, SHVc::Number},          {ApproveKindPrintQuotation, QuotationVc::Number},
        {ApproveKindApproveReceipt, IPVc::Number},        {ApproveKindReceiptToLedger, IPVc::Number},
        {ApproveKindMarkPaymentApproved, OPVc::Number},   {ApproveKindPostPayment, OPVc::Number},
        {ApproveKindPaymentToLedger, OPVc::Number},       {ApproveKindApprovePayment, OPVc::Number},
        {ApproveKindPostPurchaseInvoice, VIVc::Number},   {ApproveKindPurchaseInvoiceToLedger, VIVc::Number},
        {ApproveKindPurchaseToStock, PUVc::Number},       {ApproveKindPrintPurchase, PUVc::Number},
        {ApproveKindPrintPurchaseOrder, PurchOrderVc::Number}, {ApproveKindMarkPurchaseOrder, PurchOrderVc::Number},
        {ApproveKindPurchaseOrderToPurchase, PurchOrderVc::Number},
        {ApproveKindMarkPurchaseOrderAgain, PurchOrderVc::Number},
        {ApproveKindPrintVoucher, Voucher::Number},       {ApproveKindVoucherRowsToReg18, Voucher::Number},
        {ApproveKindPostVoucher, Voucher::Number},        {ApproveKindSm1RowsToReg18, SMVc::Number},
        {ApproveKindSm1ToVoucher, SMVc::Number},          {ApproveKindFb1RowsToReg18, OpenBalVc::Number},
        {ApproveKindSp1RowsToReg18, PersEntryVc::Number}, {ApproveKindApproveTimeSheet, TimeSheetVc::Number},
        {ApproveKindPrintTimeSheet, TimeSheetVc::Number}, {ApproveKindPrintProduction, ProductionVc::Number},
        {ApproveKindExpenseToLedger, ExpenseVc::Number},  {ApproveKindPostExpense, ExpenseVc::Number},
        {ApproveKindPersPayToLedger, PersPayVc::Number},  {ApproveKindMarkPersPayApproved, PersPayVc::Number},
        {ApproveKindPostPersPay, PersPayVc::Number},      {ApproveKindReportOfCode, ApproveAnyRegister},
        {ApproveKindReportOfSerial, ApproveAnyRegister},
    };
    for (const auto &n : named) {
        EXPECT_EQ(ApproveKinds[n.kind].reg, n.reg) << "kind " << n.kind;
        EXPECT_NE(ApproveKinds[n.kind].run, nullptr) << "kind " << n.kind;
    }
    EXPECT_EQ(ApproveKinds[ApproveKindNoOperation].run, nullptr);
}

// A list run stops at the first record another session holds: the records
// before it are approved, it and those after it are left as they were.
// Approving an approved record changes nothing.
TEST_F(Approval, ListRunStopsAtFirstLockedRecord) {
    uint32_t ids[3];
    for (uint32_t i = 0; i < 3; i++)
        ids[i] = StoreRecord(PersPayVc::Number, [&](uint8_t *r) { PutU32(r, PersPayVc::SerNr, 100 + i); });
    ASSERT_TRUE(RecordLockAdd(2, PersPayVc::Number, ids[1]));
    EXPECT_TRUE(ApproveRecordList(PersPayVc::Number, 42, ids, 3));
    std::vector<uint16_t> approved;
    for (uint32_t id : ids) {
        RuleRecord r(PersPayVc::Number);
        ASSERT_TRUE(RecReadById(PersPayVc::Number, id, r.record));
        approved.push_back(GetU16(r.record, PersPayVc::Approved));
    }
    EXPECT_EQ(approved, (std::vector<uint16_t>{1, 0, 0}));
    EXPECT_FALSE(shown.empty());   // the lock was shown
    RuleRecord r(PersPayVc::Number);
    ASSERT_TRUE(RecReadById(PersPayVc::Number, ids[0], r.record));
    EXPECT_EQ(MarkState102(PersPayVc::Number, r.record, ids[0]), ApproveResult::Unchanged);
}

// The kinds that post, with the rules installed and 2024 a fiscal year.
class PostingKinds : public Approval {
protected:
    bool InstallRules() override {
        RulesInstall();
        return true;
    }
    void SetUp() override {
        Approval::SetUp();
        if (HasFatalFailure()) return;
        AddFiscalYear(2, "2024", {1, 1, 2024}, {31, 12, 2024});
        StoreAccount("2610", "Output VAT", 1);
        StoreAccount("2640", "Input VAT", 1);
        AddVatCode("1", 25, -1, "2610", "2640");
    }
};

// Kind 31 posts a stored voucher once: marked posted, a second run finds
// the gate shut and books nothing more.
TEST_F(PostingKinds, VoucherIsPostedOnce) {
    uint32_t id = StoreRecord(Voucher::Number, [&](uint8_t *v) {
        PutU32(v, Voucher::SerNr, 3);
        PutU16(v, Voucher::YearCode, 2);
        PutDate(v, Voucher::TransDate, DateRec{1, 2, 2024});
        AddLedgerRow(Voucher::Number, v, "1910", "P1,K2", 25, "1");
        AddLedgerRow(Voucher::Number, v, "3010", "", -25);
    });
    EXPECT_TRUE(ApproveRecord(31, Voucher::Number, id));
    EXPECT_TRUE(ApproveRecord(31, Voucher::Number, id));
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(RecReadById(Voucher::Number, id, v.record));
    EXPECT_EQ(GetU16(v.record, Voucher::Posted), 1);
    BalanceModel model;
    model.PostVoucher(v.record, 1);
    EXPECT_TRUE(model.MatchesStore());
}

// Kind 30 deletes the sm1 record only once its voucher is stored: with no
// voucher number free, dated in no fiscal year, or dated in the ledger's
// lock (told as the voucher window tells it), the sm1 record stays with
// its postings; in a year its postings give way to the voucher's.
TEST_F(PostingKinds, Sm1BecomesAVoucherOnlyWhenTheVoucherIsStored) {
    BalanceModel model;
    struct Case {
        DateRec date;
        bool seriesFull, moves, locked = false;
    };
    for (const Case &c : {Case{{5, 5, 2019}, false, false}, Case{{5, 5, 2024}, true, false},
                          Case{{6, 5, 2024}, false, true}, Case{{7, 5, 2024}, false, false, true}}) {
        SCOPED_TRACE(c.date.day);
        tableRows.erase(VoucherSeriesBlk::Number);
        AddSeriesRow(VoucherSeriesBlk::Number, 1, c.seriesFull ? 1 : 999);
        if (c.seriesFull)   // number 1 taken by a voucher never posted
            StoreRecord(Voucher::Number, [&](uint8_t *v) {
                PutU32(v, Voucher::SerNr, 1);
                PutU16(v, Voucher::YearCode, 2);
                PutDate(v, Voucher::TransDate, c.date);
            });
        RuleRecord sm1(SMVc::Number);
        PutU32(sm1.record, SMVc::SerNr, c.date.day);
        PutDate(sm1.record, SMVc::Date, c.date);
        AddLedgerRow(SMVc::Number, sm1.record, "1510", "P1", 40, "1");
        AddLedgerRow(SMVc::Number, sm1.record, "3010", "", -40);
        uint32_t id = 0;
        ASSERT_TRUE(RecInsertUnchecked(SMVc::Number, sm1.record, &id));   // posts it
        if (c.locked) {   // the draft was stored before its month was locked
            std::vector<uint8_t> locks(DateLockBlk::Size, 0);
            PutDate(locks.data(), DateLockBlk::LedgerLock, DateRec{31, 5, 2024});
            StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
            shown.clear();
        }
        if (!c.moves) model.PostSm1(sm1.record, 1);
        EXPECT_TRUE(ApproveRecord(30, SMVc::Number, id));
        RuleRecord again(SMVc::Number);
        EXPECT_EQ(RecReadById(SMVc::Number, id, again.record), !c.moves);
        if (c.locked) {
            char locked[256];
            GetUiTextC(locked, Texts::DateLocked);
            EXPECT_EQ(shown, std::vector<std::string>{locked});
        }
    }
    EXPECT_EQ(RegRecordCount(Voucher::Number), 2u);
    RuleRecord v(Voucher::Number);
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAt(Voucher::Number, 2, v.record, &recid));
    EXPECT_EQ(GetU32(v.record, Voucher::SerNr), 2u);
    EXPECT_EQ(GetU16(v.record, Voucher::Posted), 1);
    model.PostVoucher(v.record, 1);
    EXPECT_TRUE(model.MatchesStore());
}

}  // namespace
