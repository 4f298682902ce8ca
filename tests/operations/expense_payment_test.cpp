// Expenses (register 109) and person payments (register 110) through the
// record layer with the rules installed: the expense's net and VAT in
// another currency, the person payment booking only its counted rows,
// refusals at their fields, posted documents held, and every way of
// posting them entering them in the person ledger once.
#include <string>

#include "tests/operations/purchase_fixture.h"

namespace {

class ExpensePaymentTest : public PurchaseFixture {
protected:
    // An expense of P1 with rows (amount including VAT, VAT amount).
    static void FillExpense(uint8_t *r, uint16_t posted, std::initializer_list<std::pair<double, double>> rows,
                            const char *currency = "", double rate = 0) {
        PutI32(r, ExpenseVc::SerNr, -1);
        PutText(r, ExpenseVc::Person, 5, "P1");
        PutText(r, ExpenseVc::PersonName, 60, "Trip");
        PutDate(r, ExpenseVc::TransDate, DateRec{12, 6, 2024});
        PutU16(r, ExpenseVc::Posted, posted);
        PutText(r, ExpenseVc::CurncyCode, 5, currency);
        PutDec(r, ExpenseVc::Rate, Dec(rate));
        for (const auto &x : rows) {
            uint8_t row[ExpenseVc::Rows::Size] = {};
            PutU16(row, ExpenseVc::Rows::Kind, 1);
            PutText(row, ExpenseVc::Rows::Account, 10, PurchaseCo::Costs);
            PutText(row, ExpenseVc::Rows::VatCode, 2, "1");
            PutDec(row, ExpenseVc::Rows::Amount, Dec(x.first));
            PutDec(row, ExpenseVc::Rows::VatAmount, Dec(x.second));
            ASSERT_TRUE(MatrixRowPut(ExpenseVc::Number, 0, r, MatrixRowCount(ExpenseVc::Number, 0, r), row));
        }
        Rows154Totals(r);
    }
    static int Insert(int reg, uint8_t *r, uint32_t *recid) {
        int result = RecStoreFailed;
        RecInsertChecked(reg, r, recid, &result);
        return result;
    }
    // A person payment by mode K with rows (person, amount, kind, flag).
    struct PPRow {
        const char *person;
        double amount;
        uint16_t kind = 1, flag = 0;
    };
    static void FillPP(uint8_t *r, uint16_t approved, uint16_t posted, std::initializer_list<PPRow> rows,
                       double bank = -1) {
        PutI32(r, PersPayVc::SerNr, -1);
        PutDate(r, PersPayVc::PayDate, DateRec{25, 6, 2024});
        PutText(r, PersPayVc::PayMode, 1, "K");
        PutU16(r, PersPayVc::Approved, approved);
        PutU16(r, PersPayVc::Posted, posted);
        for (const PPRow &x : rows) {
            uint8_t row[PersPayVc::Rows::Size] = {};
            PutU16(row, PersPayVc::Rows::Kind, x.kind);
            PutU16(row, PersPayVc::Rows::Flag, x.flag);
            PutText(row, PersPayVc::Rows::Person, 5, x.person);
            PutDec(row, PersPayVc::Rows::Amount, Dec(x.amount));
            ASSERT_TRUE(MatrixRowPut(PersPayVc::Number, 0, r, MatrixRowCount(PersPayVc::Number, 0, r), row));
        }
        PaymentTotals106(r);
        if (bank >= 0) PutDec(r, PersPayVc::BankAmount, Dec(bank));
    }
    static int LedgerCount(uint16_t kind) {
        int n = 0;
        RuleRecord e(PersLedgerVc::Number);
        uint32_t recid = 0;
        for (int32_t i = 0; i <= (int32_t)RegRecordCount(PersLedgerVc::Number); i++)
            if (RecReadAtIndex(PersLedgerVc::Number, "MainKey", i, e.record, &recid) &&
                GetU16(e.record, PersLedgerVc::Kind) == kind)
                n++;
        return n;
    }
};

// An expense in EUR at 1125: each row's VAT is taken unconverted off the
// converted row, the person's account is credited with the converted
// total, and the voucher balances through the rounding account.
TEST_F(ExpensePaymentTest, ExpenseNetAndVatInCurrency) {
    RuleRecord e(ExpenseVc::Number);
    FillExpense(e.record, 1, {{100, 20}, {40, 8}}, "EUR", 1125);
    uint32_t recid = 0;
    ASSERT_EQ(Insert(ExpenseVc::Number, e.record, &recid), RecDone) << ::testing::PrintToString(shown);
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(StoredVoucher(207, GetU32(e.record, ExpenseVc::SerNr), v));
    EXPECT_EQ(LedgerCount(0), 1) << "stored posted, it is in the person ledger";
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Costs), 1575 - 28, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::VatIn), 28, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::PersonAcc), -1575, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
    EXPECT_EQ(Text(v.record, Voucher::Text), "P1 Trip, EUR 1125,00");

    // Posted, it may change only its note; kind 40 does not enter it again.
    RuleRecord stored(ExpenseVc::Number);
    ASSERT_TRUE(RecReadById(ExpenseVc::Number, recid, stored.record));
    PutDec(stored.record, ExpenseVc::Total, Dec(1));
    int result = RecStoreFailed;
    RecUpdateChecked(ExpenseVc::Number, stored.record, recid, &result);
    EXPECT_EQ(result, RecRefused);
    EXPECT_EQ(FieldErrorPos.field, ExpenseVc::Total);
    ASSERT_TRUE(ApproveRecord(40, ExpenseVc::Number, recid));
    ASSERT_TRUE(ApproveRecord(40, ExpenseVc::Number, recid));
    EXPECT_EQ(LedgerCount(0), 1);
}

// Refusals at their fields; kind 44 posts a stored expense once.
TEST_F(ExpensePaymentTest, ExpenseRefusalsAndKind44) {
    RuleRecord e(ExpenseVc::Number);
    FillExpense(e.record, 0, {{100, 20}});
    PutText(e.record, ExpenseVc::Person, 5, "NOPE");
    uint32_t recid = 0;
    EXPECT_EQ(Insert(ExpenseVc::Number, e.record, &recid), RecRefused);
    EXPECT_EQ(FieldErrorPos.field, ExpenseVc::Person);
    EXPECT_EQ(GetI32(e.record, ExpenseVc::SerNr), -1);
    RuleRecord noVat(ExpenseVc::Number);
    FillExpense(noVat.record, 0, {{100, 0}, {50, 0}});
    uint8_t row[ExpenseVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(ExpenseVc::Number, noVat.record, 1, row));
    PutText(row, ExpenseVc::Rows::VatCode, 2, "");
    ASSERT_TRUE(MatrixRowPut(ExpenseVc::Number, 0, noVat.record, 1, row));
    EXPECT_EQ(Insert(ExpenseVc::Number, noVat.record, &recid), RecRefused);
    EXPECT_TRUE(Told(Texts::VatCodeMissing));
    EXPECT_EQ(FieldErrorPos.row, 1);
    EXPECT_EQ(FieldErrorPos.column, ExpenseVc::Rows::VatCode);
    EXPECT_EQ(RegRecordCount(ExpenseVc::Number), 0u);

    RuleRecord ok(ExpenseVc::Number);
    FillExpense(ok.record, 0, {{125, 25}});
    ASSERT_EQ(Insert(ExpenseVc::Number, ok.record, &recid), RecDone) << ::testing::PrintToString(shown);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 0u);
    ASSERT_TRUE(ApproveRecord(44, ExpenseVc::Number, recid));
    ASSERT_TRUE(ApproveRecord(44, ExpenseVc::Number, recid));
    EXPECT_EQ(RegRecordCount(Voucher::Number), 1u);
    EXPECT_EQ(LedgerCount(0), 1);
    ASSERT_TRUE(RecReadById(ExpenseVc::Number, recid, ok.record));
    EXPECT_EQ(GetU16(ok.record, ExpenseVc::Posted), 1);
    EXPECT_EQ(GetU16(ok.record, ExpenseVc::Transferred), 1);
}

// A person payment with a flagged row and a row of another kind books and
// enters only its counted rows; a bank amount short of the rows is an
// exchange gain; refusals at their fields; kind 43 posts, kind 41 enters.
TEST_F(ExpensePaymentTest, PersonPaymentCountsOnlyItsRows) {
    RuleRecord p(PersPayVc::Number);
    FillPP(p.record, 1, 1, {{"P1", 300}, {"NOPE", 50, 1, 1}, {"NOPE", 70, 2, 0}}, 290);
    uint32_t recid = 0;
    ASSERT_EQ(Insert(PersPayVc::Number, p.record, &recid), RecDone) << ::testing::PrintToString(shown);
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(StoredVoucher(208, GetU32(p.record, PersPayVc::SerNr), v));
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::PersonAcc), 300, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Cash), -290, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Gains), -10, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
    EXPECT_EQ(LedgerCount(1), 1) << "stored posted, it is in the person ledger";
    ASSERT_TRUE(ApproveRecord(41, PersPayVc::Number, recid));
    EXPECT_EQ(LedgerCount(1), 1);

    RuleRecord bad(PersPayVc::Number);
    FillPP(bad.record, 0, 1, {{"P1", 10}});
    EXPECT_EQ(Insert(PersPayVc::Number, bad.record, &recid), RecRefused);
    EXPECT_TRUE(Told(Texts::PostedNotApproved));
    RuleRecord unknown(PersPayVc::Number);
    FillPP(unknown.record, 1, 0, {{"P1", 10}, {"NOPE", 10}});
    EXPECT_EQ(Insert(PersPayVc::Number, unknown.record, &recid), RecRefused);
    EXPECT_EQ(FieldErrorPos.row, 1);
    EXPECT_EQ(FieldErrorPos.column, PersPayVc::Rows::Person);
    EXPECT_EQ(RegRecordCount(PersPayVc::Number), 1u);

    RuleRecord later(PersPayVc::Number);
    FillPP(later.record, 1, 0, {{"P1", 10}});
    ASSERT_EQ(Insert(PersPayVc::Number, later.record, &recid), RecDone);
    ASSERT_TRUE(ApproveRecord(43, PersPayVc::Number, recid));
    ASSERT_TRUE(ApproveRecord(43, PersPayVc::Number, recid));
    EXPECT_EQ(RegRecordCount(Voucher::Number), 2u);
    EXPECT_EQ(LedgerCount(1), 2) << "posted from its list, it is in the person ledger";
}

// A claim and a payment reach the person ledger when they are posted, by
// whichever road: stored unposted they are not in it; changed to posted
// they are, once; a later change of a posted claim's note keeps the mark
// that they are in it. The list's run on a posted claim says so and posts
// nothing, and enters one posted before it reached the ledger.
TEST_F(ExpensePaymentTest, EveryPostingEntersThePersonLedgerOnce) {
    RuleRecord e(ExpenseVc::Number);
    FillExpense(e.record, 0, {{125, 25}});
    uint32_t claim = 0;
    ASSERT_EQ(Insert(ExpenseVc::Number, e.record, &claim), RecDone) << ::testing::PrintToString(shown);
    EXPECT_EQ(LedgerCount(0), 0);
    PutU16(e.record, ExpenseVc::Posted, 1);
    int result = RecStoreFailed;
    RecUpdateChecked(ExpenseVc::Number, e.record, claim, &result);
    ASSERT_EQ(result, RecDone) << ::testing::PrintToString(shown);
    EXPECT_EQ(LedgerCount(0), 1);
    RuleRecord stored(ExpenseVc::Number);
    ASSERT_TRUE(RecReadById(ExpenseVc::Number, claim, stored.record));
    EXPECT_EQ(GetU16(stored.record, ExpenseVc::Transferred), 1);
    // The window still holds the claim as it stored it, unmarked.
    PutText(e.record, ExpenseVc::ClaimText, 60, "Taxi");
    RecUpdateChecked(ExpenseVc::Number, e.record, claim, &result);
    ASSERT_EQ(result, RecDone) << ::testing::PrintToString(shown);
    ASSERT_TRUE(RecReadById(ExpenseVc::Number, claim, stored.record));
    EXPECT_EQ(GetU16(stored.record, ExpenseVc::Transferred), 1);
    EXPECT_EQ(LedgerCount(0), 1);

    shown.clear();
    ASSERT_TRUE(ApproveRecord(44, ExpenseVc::Number, claim));
    EXPECT_TRUE(Told(Texts::ExpensePostedBefore)) << ::testing::PrintToString(shown);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 1u);
    EXPECT_EQ(LedgerCount(0), 1);
    // Posted before claims reached the ledger: no hook saw it posted.
    RuleRecord old(ExpenseVc::Number);
    FillExpense(old.record, 1, {{50, 10}});
    PutI32(old.record, ExpenseVc::SerNr, 900);
    uint32_t oldId = 0;
    ASSERT_TRUE(RecStore(ExpenseVc::Number, old.record, 0, &oldId));
    ASSERT_TRUE(ApproveRecord(44, ExpenseVc::Number, oldId));
    EXPECT_EQ(LedgerCount(0), 2);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 1u) << "posted before, it is not booked again";

    // A payment not posted yet may still change its date and rows: it is
    // not entered until it is posted.
    RuleRecord p(PersPayVc::Number);
    FillPP(p.record, 1, 0, {{"P1", 40}});
    uint32_t payment = 0;
    ASSERT_EQ(Insert(PersPayVc::Number, p.record, &payment), RecDone) << ::testing::PrintToString(shown);
    ASSERT_TRUE(ApproveRecord(41, PersPayVc::Number, payment));
    EXPECT_EQ(LedgerCount(1), 0);

    // A text import stores a claim and a payment posted in the file: each
    // is entered as it is stored; the same file imported again over them
    // enters neither twice, nor an unposted one at all.
    RuleRecord claimIn(ExpenseVc::Number);
    FillExpense(claimIn.record, 1, {{80, 16}});
    PutI32(claimIn.record, ExpenseVc::SerNr, 901);
    ASSERT_TRUE(RecImportStore(ExpenseVc::Number, claimIn.record, 0, 0));
    EXPECT_EQ(LedgerCount(0), 3);
    RuleRecord paidIn(PersPayVc::Number), draftIn(PersPayVc::Number);
    FillPP(paidIn.record, 1, 1, {{"P1", 30}});
    PutI32(paidIn.record, PersPayVc::SerNr, 901);
    ASSERT_TRUE(RecImportStore(PersPayVc::Number, paidIn.record, 0, 0));
    FillPP(draftIn.record, 1, 0, {{"P1", 20}});
    PutI32(draftIn.record, PersPayVc::SerNr, 902);
    ASSERT_TRUE(RecImportStore(PersPayVc::Number, draftIn.record, 0, 0));
    EXPECT_EQ(LedgerCount(1), 1);
    ASSERT_TRUE(RecImportStore(ExpenseVc::Number, claimIn.record, 1, 0));
    ASSERT_TRUE(RecImportStore(PersPayVc::Number, paidIn.record, 1, 0));
    EXPECT_EQ(LedgerCount(0), 3);
    EXPECT_EQ(LedgerCount(1), 1);
    // Exported from a company where it was entered, a claim carries its
    // entered mark, but not its ledger entry: new here, it is entered.
    RuleRecord entered(ExpenseVc::Number);
    FillExpense(entered.record, 1, {{60, 12}});
    PutI32(entered.record, ExpenseVc::SerNr, 903);
    PutU16(entered.record, ExpenseVc::Transferred, 1);
    ASSERT_TRUE(RecImportStore(ExpenseVc::Number, entered.record, 0, 0));
    EXPECT_EQ(LedgerCount(0), 4);
}

}  // namespace
