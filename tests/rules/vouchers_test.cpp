// vouchers_test.cpp - the rows of vouchers and sm1 records as the builders
// make them, balancing with the "9999" row, storing that says whether it
// stored, and the import's repairs.
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "rules/ledger.h"
#include "tests/rules/rules_fixture.h"

namespace {

class Vouchers : public RulesFixture {
protected:
    struct Row {
        uint16_t kind;
        std::string account, objects, text, vat;
        double amount;
    };

    static Row ReadRow(int reg, const uint8_t *record, int32_t i) {
        Row r{};
        if (reg == TRVc::Number) {
            uint8_t row[TRVc::Rows::Size];
            EXPECT_TRUE(MatrixRowRead(reg, record, i, row));
            PackedDecimal a = GetDec(row, TRVc::Rows::Amount);
            r = {GetU16(row, TRVc::Rows::Kind), Text(row, TRVc::Rows::Account),
                 Text(row, TRVc::Rows::Objects), Text(row, TRVc::Rows::Text),
                 Text(row, TRVc::Rows::VatCode), DecToDouble(&a)};
        } else {
            uint8_t row[SMVc::Rows::Size];
            EXPECT_TRUE(MatrixRowRead(reg, record, i, row));
            PackedDecimal a = GetDec(row, SMVc::Rows::Amount);
            r = {1, Text(row, SMVc::Rows::Account), Text(row, SMVc::Rows::Objects),
                 Text(row, SMVc::Rows::Text), Text(row, SMVc::Rows::VatCode), DecToDouble(&a)};
        }
        return r;
    }

    // Adds an account row through the builder.
    static void Add(uint8_t *v, const char *account, const char *objects, double amount, bool debit, PackedDecimal *total,
             const char *vat = "", const char *text = nullptr) {
        PString a, o, c, t;
        PStringFromC(a, account);
        PStringFromC(o, objects);
        PStringFromC(c, vat);
        PStringFromC(t, text ? text : "");
        PackedDecimal d = Dec(amount);
        AddVoucherRow(v, a, o, c, text ? t : nullptr, &d, 0, debit, total);
    }
};

// The builders: nothing for a zero amount or an empty account, credits
// negated into the row and the total, objects sorted once; searching adds
// into the last equal row, merging into the first equal sm1 row.
TEST_F(Vouchers, RowBuildersSignMergeAndSkip) {
    RuleRecord v(TRVc::Number);
    PackedDecimal total = Dec(0);
    Add(v.record, "3010", "P1", 0, true, &total);
    Add(v.record, "", "P1", 10, true, &total);
    EXPECT_EQ(MatrixRowCount(TRVc::Number, 0, v.record), 0);
    EXPECT_TRUE(DecIsZero(&total));
    Add(v.record, "3010", "P1,K2,P1", 40, false, &total, "1", "sale");
    Add(v.record, "1910", "", 40, true, &total);
    ASSERT_EQ(MatrixRowCount(TRVc::Number, 0, v.record), 2);
    Row r = ReadRow(TRVc::Number, v.record, 0);
    EXPECT_EQ(r.kind, RowAccount);
    EXPECT_EQ(r.objects, "K2,P1");
    EXPECT_EQ(r.amount, -40);
    EXPECT_EQ(r.text, "sale");
    EXPECT_EQ(r.vat, "1");
    EXPECT_TRUE(DecIsZero(&total));

    PString a, o, none;
    PStringFromC(a, "3010");
    PStringFromC(o, "P1,K2");
    none[0] = 0;
    PackedDecimal five = Dec(5);
    FindVoucherRow(v.record, a, o, none, none, &five, true, false, &total);
    ASSERT_EQ(MatrixRowCount(TRVc::Number, 0, v.record), 2);
    EXPECT_EQ(ReadRow(TRVc::Number, v.record, 0).amount, -45);
    FindVoucherRow(v.record, a, o, none, none, &five, false, true, &total);
    EXPECT_EQ(MatrixRowCount(TRVc::Number, 0, v.record), 3);
    EXPECT_TRUE(DecIsZero(&total));

    RuleRecord sm1(SMVc::Number);
    PString vat1, text;
    PStringFromC(vat1, "1");
    PStringFromC(text, "a text longer than twenty characters");
    AddAccountRow(sm1.record, a, o, vat1, text, &five, true, true, &total);
    AddAccountRow(sm1.record, a, nullptr, vat1, nullptr, &five, true, true, &total);    // any objects: merges
    AddAccountRow(sm1.record, a, o, none, nullptr, &five, true, true, &total);          // other VAT code: new
    AddAccountRow(sm1.record, a, EmptyPString, vat1, nullptr, &five, true, false, &total);   // other objects: new
    ASSERT_EQ(MatrixRowCount(SMVc::Number, 0, sm1.record), 3);
    Row first = ReadRow(SMVc::Number, sm1.record, 0);
    EXPECT_EQ(first.amount, 10);
    EXPECT_EQ(first.text, "a text longer than t");
    EXPECT_EQ(first.objects, "K2,P1");
    EXPECT_EQ(ReadRow(SMVc::Number, sm1.record, 2).amount, -5);
    EXPECT_EQ(DecToDouble(&total), 10);
}

// 100.00 debit against 99.99 credit gets a -0.01 row on 9999 and balances;
// a balanced voucher gets none. Flagged rows and other kinds count in no
// total; a fixed year code stays, the posted flags are cleared.
TEST_F(Vouchers, BalanceAddsRoundingRowOnlyWhenNeeded) {
    RuleRecord v(TRVc::Number);
    PackedDecimal total = Dec(0);
    Add(v.record, "1910", "", 100.00, true, &total);
    Add(v.record, "3010", "", 99.99, false, &total);
    uint8_t flagged[TRVc::Rows::Size] = {};
    PutU16(flagged, TRVc::Rows::Kind, RowAccount);
    PutU16(flagged, TRVc::Rows::Flag, 1);
    PutText(flagged, TRVc::Rows::Account, 10, "1910");
    PutDec(flagged, TRVc::Rows::Amount, Dec(500));
    ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, v.record, 2, flagged));
    PutU16(v.record, TRVc::YearCode, YearCodePurchase);
    PutU16(v.record, TRVc::Posted, 1);
    PutU16(v.record, TRVc::Reg18Done, 1);

    BalanceVoucher(v.record);
    ASSERT_EQ(MatrixRowCount(TRVc::Number, 0, v.record), 4);
    Row rounding = ReadRow(TRVc::Number, v.record, 3);
    EXPECT_EQ(rounding.account, "9999");
    EXPECT_DOUBLE_EQ(rounding.amount, -0.01);
    PackedDecimal debit = GetDec(v.record, TRVc::DebitTotal), credit = GetDec(v.record, TRVc::CreditTotal),
                  balance = GetDec(v.record, TRVc::Balance);
    EXPECT_DOUBLE_EQ(DecToDouble(&debit), 100.00);
    EXPECT_DOUBLE_EQ(DecToDouble(&credit), -100.00);
    EXPECT_TRUE(DecIsZero(&balance));
    EXPECT_EQ(GetU16(v.record, TRVc::YearCode), YearCodePurchase);
    EXPECT_EQ(GetU16(v.record, TRVc::Posted), 0);
    EXPECT_EQ(GetU16(v.record, TRVc::Reg18Done), 0);
    BalanceVoucher(v.record);
    EXPECT_EQ(MatrixRowCount(TRVc::Number, 0, v.record), 4);
    PackedDecimal sum;
    VoucherRowsSum(v.record, &sum);
    EXPECT_TRUE(DecIsZero(&sum));
}

// Reversing copies account rows with their signs turned and drops the
// zero ones; link rows of the target carry no amount and stay; negation
// from a row on leaves the rows before it.
TEST_F(Vouchers, ReverseNegateAndDropZeroRows) {
    RuleRecord source(TRVc::Number), target(TRVc::Number);
    PackedDecimal total = Dec(0);
    Add(source.record, "1910", "P1", 30, true, &total, "1", "first");
    Add(source.record, "3010", "", 30, false, &total);
    uint8_t link[TRVc::Rows::Size] = {};
    PutU16(link, TRVc::Rows::Kind, RowLink);
    PutU32(link, TRVc::Rows::LinkSerNr, 5);
    ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, target.record, 0, link));
    uint8_t zero[TRVc::Rows::Size] = {};
    PutU16(zero, TRVc::Rows::Kind, RowAccount);
    PutText(zero, TRVc::Rows::Account, 10, "2440");
    ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, target.record, 1, zero));

    CopyVoucherRowsReversed(target.record, source.record, 0);
    ASSERT_EQ(MatrixRowCount(TRVc::Number, 0, target.record), 3);
    EXPECT_EQ(ReadRow(TRVc::Number, target.record, 0).kind, RowLink);
    Row first = ReadRow(TRVc::Number, target.record, 1);
    EXPECT_EQ(first.account, "1910");
    EXPECT_EQ(first.amount, -30);
    EXPECT_EQ(first.text, "first");
    EXPECT_EQ(first.vat, "1");
    EXPECT_EQ(ReadRow(TRVc::Number, target.record, 2).amount, 30);

    VoucherRowsNegate(target.record, 2);
    EXPECT_EQ(ReadRow(TRVc::Number, target.record, 1).amount, -30);
    EXPECT_EQ(ReadRow(TRVc::Number, target.record, 2).amount, -30);
}

// Storing says whether it stored: a voucher in no fiscal year and one the
// balances cannot date are refused with their flags, a stored one is
// refused the second time, and VoucherWouldStore gives each refusal's
// text before anything is tried.
TEST_F(Vouchers, StoreSaysWhetherItStored) {
    RuleRecord v(TRVc::Number);
    PackedDecimal total = Dec(0);
    Add(v.record, "1910", "", 10, true, &total);
    PutU32(v.record, TRVc::SerNr, 1);
    PutDate(v.record, TRVc::TransDate, DateRec{1, 6, 2024});

    VoucherOutsideYearsFlag = BalanceDateOutsideFlag = false;
    EXPECT_EQ(VoucherWouldStore(v.record), Texts::NoFiscalYear);
    EXPECT_FALSE(StoreVoucher(v.record));
    EXPECT_TRUE(VoucherOutsideYearsFlag);
    EXPECT_EQ(RegRecordCount(TRVc::Number), 0u);

    PutU16(v.record, TRVc::YearCode, YearCodeStockMove);   // a fixed code needs no fiscal year
    PutDate(v.record, TRVc::TransDate, DateRec{31, 12, 1979});
    EXPECT_EQ(VoucherWouldStore(v.record), Texts::BalanceDateOutOfRange);
    EXPECT_FALSE(StoreVoucher(v.record));
    EXPECT_TRUE(BalanceDateOutsideFlag);
    EXPECT_EQ(RegRecordCount(TRVc::Number), 0u);

    PutDate(v.record, TRVc::TransDate, DateRec{1, 6, 2024});
    EXPECT_EQ(VoucherWouldStore(v.record), 0);
    ASSERT_TRUE(StoreVoucher(v.record));
    EXPECT_EQ(RegRecordCount(TRVc::Number), 1u);
    EXPECT_EQ(MatrixRowCount(TRVc::Number, 0, v.record), 2);   // with its 9999 row
    EXPECT_EQ(VoucherWouldStore(v.record), Texts::RecordKeyExists);
    EXPECT_FALSE(StoreVoucher(v.record));
    EXPECT_EQ(RegRecordCount(TRVc::Number), 1u);
}

// The pending voucher: none to store is done; one that is not stored says
// so; its rows are freed either way.
TEST_F(Vouchers, PendingVoucherFreesItsRows) {
    RecClear(TRVc::Number, PendingVoucher);
    EXPECT_TRUE(StorePendingVoucher());
    PackedDecimal total = Dec(0);
    Add(PendingVoucher, "1910", "", 10, true, &total);
    PutDate(PendingVoucher, TRVc::TransDate, DateRec{1, 6, 2024});
    PutU16(PendingVoucher, TRVc::YearCode, 0);   // no fiscal year is defined
    MemBlock rows = RecMatrixHandle(TRVc::Number, PendingVoucher);
    ASSERT_NE(rows, 0u);
    EXPECT_FALSE(StorePendingVoucher());
    EXPECT_EQ(RecMatrixHandle(TRVc::Number, PendingVoucher), 0u);
    EXPECT_FALSE(MemIsValid(rows));
    EXPECT_EQ(RegRecordCount(TRVc::Number), 0u);
}

// The import's repairs: unknown VAT codes are cleared, missing accounts
// are created named by their row with the kind their number gives, and
// an existing account is left as it was.
TEST_F(Vouchers, ImportRepairsAndAccountKinds) {
    const std::pair<const char *, int> kinds[] = {{"1910", 0}, {"2440", 1}, {"2990", 2}, {"2", 1},
                                                  {"3010", 3}, {"4010", 4}, {"", 4},     {"9", 4}};
    for (auto [account, kind] : kinds) {
        PString a;
        PStringFromC(a, account);
        EXPECT_EQ(AccountKindFromNumber(a), kind) << account;
    }

    StoreAccount("1910", "Cash", 0);
    RuleRecord v(TRVc::Number);
    PackedDecimal total = Dec(0);
    Add(v.record, "1910", "", 10, true, &total, "", "renamed?");
    Add(v.record, "2990", "", 10, false, &total, "Q", "Accrued costs");
    ClearUnknownVatCodes(v.record);
    EXPECT_EQ(ReadRow(TRVc::Number, v.record, 1).vat, "");

    AccountsCreatedFlag = false;
    CreateMissingAccounts(v.record);
    EXPECT_TRUE(AccountsCreatedFlag);
    RuleRecord account(ACVc::Number);
    PutText(account.record, ACVc::Code, 10, "2990");
    ASSERT_TRUE(RecExists(ACVc::Number, account.record));
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(ACVc::Number, account.record, 1, 1, &recid, &position));
    EXPECT_EQ(Text(account.record, ACVc::Name), "Accrued costs");
    EXPECT_EQ(GetU16(account.record, ACVc::AccType), 2);
    EXPECT_EQ(GetU16(account.record, ACVc::CreditAllowed), 1);
    PutText(account.record, ACVc::Code, 10, "1910");
    ASSERT_TRUE(RecFind(ACVc::Number, account.record, 1, 1, &recid, &position));
    EXPECT_EQ(Text(account.record, ACVc::Name), "Cash");
    EXPECT_EQ(RegRecordCount(ACVc::Number), 2u);
}

}  // namespace
