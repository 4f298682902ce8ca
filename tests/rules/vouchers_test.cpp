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
    static void Add(uint8_t *v, const char *account, const char *objects, double amount, bool debit,
                    PackedDecimal *total, const char *vat = "", const char *text = "") {
        PString a, o, c, t;
        PStringFromC(a, account);
        PStringFromC(o, objects);
        PStringFromC(c, vat);
        PStringFromC(t, text);
        PackedDecimal d = Dec(amount);
        AddVoucherRow(v, a, o, c, t, &d, 0, debit, total);
    }
    // Text field or amount of row i of a record of reg.
    static std::string RowText(int reg, const uint8_t *r, int32_t i, uint32_t at) {
        uint8_t row[TRVc::Rows::Size];
        EXPECT_TRUE(MatrixRowRead(reg, r, i, row));
        return Text(row, at);
    }
    static double RowAmount(int reg, const uint8_t *r, int32_t i) {
        uint8_t row[TRVc::Rows::Size];
        EXPECT_TRUE(MatrixRowRead(reg, r, i, row));
        PackedDecimal a = GetDec(row, reg == TRVc::Number ? TRVc::Rows::Amount : SMVc::Rows::Amount);
        return DecToDouble(&a);
    }
    static int32_t Rows(int reg, const uint8_t *r) { return MatrixRowCount(reg, 0, r); }
};

// The builders: nothing for a zero amount or an empty account, credits
// negated into the row and the total, objects sorted once; searching adds
// into the last equal row, merging into the first equal sm1 row (same
// account, VAT code and objects, any objects when none are given).
TEST_F(Vouchers, RowBuildersSignMergeAndSkip) {
    RuleRecord v(TRVc::Number), sm1(SMVc::Number);
    PackedDecimal total = Dec(0);
    Add(v.record, "3010", "P1", 0, true, &total);
    Add(v.record, "", "P1", 10, true, &total);
    EXPECT_EQ(Rows(TRVc::Number, v.record), 0);
    Add(v.record, "3010", "P1,K2,P1", 40, false, &total, "1", "sale");
    EXPECT_EQ(RowText(TRVc::Number, v.record, 0, TRVc::Rows::Objects), "K2,P1");
    EXPECT_EQ(RowAmount(TRVc::Number, v.record, 0), -40);
    EXPECT_EQ(DecToDouble(&total), -40);

    PString a, o;
    PStringFromC(a, "3010");
    PStringFromC(o, "P1,K2");
    PackedDecimal five = Dec(5);
    FindVoucherRow(v.record, a, o, EmptyPString, nullptr, &five, true, false, &total);
    EXPECT_EQ(Rows(TRVc::Number, v.record), 1);
    EXPECT_EQ(RowAmount(TRVc::Number, v.record, 0), -45);
    FindVoucherRow(v.record, a, o, EmptyPString, nullptr, &five, false, true, &total);
    EXPECT_EQ(Rows(TRVc::Number, v.record), 2);
    EXPECT_EQ(DecToDouble(&total), -40);

    PString vat, text;
    PStringFromC(vat, "1");
    PStringFromC(text, "a text longer than twenty characters");
    AddAccountRow(sm1.record, a, o, vat, text, &five, true, true, &total);
    AddAccountRow(sm1.record, a, nullptr, vat, nullptr, &five, true, true, &total);          // merges
    AddAccountRow(sm1.record, a, o, EmptyPString, nullptr, &five, true, true, &total);       // other VAT code
    AddAccountRow(sm1.record, a, EmptyPString, vat, nullptr, &five, true, false, &total);    // other objects
    ASSERT_EQ(Rows(SMVc::Number, sm1.record), 3);
    EXPECT_EQ(RowAmount(SMVc::Number, sm1.record, 0), 10);
    EXPECT_EQ(RowText(SMVc::Number, sm1.record, 0, SMVc::Rows::Text), "a text longer than t");
    EXPECT_EQ(RowAmount(SMVc::Number, sm1.record, 2), -5);
}

// 100.00 debit against 99.99 credit gets a -0.01 row on 9999 and
// balances; balancing again adds nothing. A flagged row counts in no
// total; a fixed year code stays and the posted flags are cleared.
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

    BalanceVoucher(v.record);
    BalanceVoucher(v.record);
    ASSERT_EQ(Rows(TRVc::Number, v.record), 4);
    EXPECT_EQ(RowText(TRVc::Number, v.record, 3, TRVc::Rows::Account), "9999");
    EXPECT_DOUBLE_EQ(RowAmount(TRVc::Number, v.record, 3), -0.01);
    PackedDecimal credit = GetDec(v.record, TRVc::CreditTotal), balance = GetDec(v.record, TRVc::Balance);
    EXPECT_DOUBLE_EQ(DecToDouble(&credit), -100.00);
    EXPECT_TRUE(DecIsZero(&balance));
    EXPECT_EQ(GetU16(v.record, TRVc::YearCode), YearCodePurchase);
    EXPECT_EQ(GetU16(v.record, TRVc::Posted), 0);
}

// Storing says whether it stored: a voucher in no fiscal year and one the
// balances cannot date are refused with their flags, a stored one the
// second time; VoucherWouldStore gives each refusal's text beforehand.
// The pending voucher frees its rows whether or not it was stored.
TEST_F(Vouchers, StoreSaysWhetherItStored) {
    RuleRecord v(TRVc::Number);
    PackedDecimal total = Dec(0);
    Add(v.record, "1910", "", 10, true, &total);
    PutU32(v.record, TRVc::SerNr, 1);
    PutDate(v.record, TRVc::TransDate, DateRec{1, 6, 2024});
    VoucherOutsideYearsFlag = BalanceDateOutsideFlag = false;
    EXPECT_EQ(VoucherWouldStore(v.record), Texts::NoFiscalYear);   // no fiscal year is defined
    EXPECT_FALSE(StoreVoucher(v.record));
    EXPECT_TRUE(VoucherOutsideYearsFlag);

    PutU16(v.record, TRVc::YearCode, YearCodeStockMove);   // a fixed code needs no fiscal year
    PutDate(v.record, TRVc::TransDate, DateRec{31, 12, 1979});
    EXPECT_EQ(VoucherWouldStore(v.record), Texts::BalanceDateOutOfRange);
    EXPECT_FALSE(StoreVoucher(v.record));
    EXPECT_TRUE(BalanceDateOutsideFlag);
    EXPECT_EQ(RegRecordCount(TRVc::Number), 0u);

    PutDate(v.record, TRVc::TransDate, DateRec{1, 6, 2024});
    EXPECT_EQ(VoucherWouldStore(v.record), 0);
    ASSERT_TRUE(StoreVoucher(v.record));
    EXPECT_EQ(VoucherWouldStore(v.record), Texts::RecordKeyExists);
    EXPECT_FALSE(StoreVoucher(v.record));
    EXPECT_EQ(RegRecordCount(TRVc::Number), 1u);

    RecClear(TRVc::Number, PendingVoucher);
    EXPECT_TRUE(StorePendingVoucher());   // nothing pending
    Add(PendingVoucher, "1910", "", 10, true, &total);
    PutDate(PendingVoucher, TRVc::TransDate, DateRec{1, 6, 2024});
    MemBlock rows = RecMatrixHandle(TRVc::Number, PendingVoucher);
    EXPECT_FALSE(StorePendingVoucher());
    EXPECT_FALSE(MemIsValid(rows));
    EXPECT_EQ(RegRecordCount(TRVc::Number), 1u);
}

// Reversing copies account rows with their signs turned and drops zero
// account rows, never link rows. The import's repairs: unknown VAT codes
// cleared, missing accounts created with their row's text and the kind
// their number gives, existing ones left alone.
TEST_F(Vouchers, ReverseAndImportRepairs) {
    RuleRecord source(TRVc::Number), target(TRVc::Number);
    PackedDecimal total = Dec(0);
    Add(source.record, "1910", "", 30, true, &total, "Q", "renamed?");
    Add(source.record, "2990", "P1", 30, false, &total, "", "Accrued costs");
    uint8_t row[TRVc::Rows::Size] = {};
    PutU16(row, TRVc::Rows::Kind, RowLink);
    ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, target.record, 0, row));
    PutU16(row, TRVc::Rows::Kind, RowAccount);   // an account row of no amount
    ASSERT_TRUE(MatrixRowPut(TRVc::Number, 0, target.record, 1, row));
    CopyVoucherRowsReversed(target.record, source.record, 0);
    ASSERT_EQ(Rows(TRVc::Number, target.record), 3);
    EXPECT_EQ(RowAmount(TRVc::Number, target.record, 1), -30);
    EXPECT_EQ(RowText(TRVc::Number, target.record, 2, TRVc::Rows::Objects), "P1");
    VoucherRowsNegate(target.record, 2);
    EXPECT_EQ(RowAmount(TRVc::Number, target.record, 1), -30);
    EXPECT_EQ(RowAmount(TRVc::Number, target.record, 2), -30);

    ClearUnknownVatCodes(target.record);
    EXPECT_EQ(RowText(TRVc::Number, target.record, 1, TRVc::Rows::VatCode), "");
    StoreAccount("1910", "Cash", 0);
    AccountsCreatedFlag = false;
    CreateMissingAccounts(target.record);
    EXPECT_TRUE(AccountsCreatedFlag);
    EXPECT_EQ(RegRecordCount(ACVc::Number), 2u);
    RuleRecord account(ACVc::Number);
    uint32_t recid = 0, position = 0;
    for (auto [code, name, kind] : {std::tuple{"2990", "Accrued costs", 2}, std::tuple{"1910", "Cash", 0}}) {
        PutText(account.record, ACVc::Code, 10, code);
        ASSERT_TRUE(RecFind(ACVc::Number, account.record, 1, 1, &recid, &position));
        EXPECT_EQ(Text(account.record, ACVc::Name), name);
        EXPECT_EQ(GetU16(account.record, ACVc::AccType), kind);
    }
    for (auto [code, kind] : {std::pair{"2440", 1}, {"2", 1}, {"3010", 3}, {"4010", 4}, {"", 4}}) {
        PString a;
        PStringFromC(a, code);
        EXPECT_EQ(AccountKindFromNumber(a), kind) << code;
    }
}

}  // namespace
