// payment_terms_test.cpp - due dates, discounts and document kinds that
// payment terms and payment modes give sales and purchase invoices.
#include <cstring>

#include "rules/series_terms.h"
#include "tests/rules/rules_fixture.h"

namespace {

constexpr uint32_t AllBits = 0xFFFFFFFFu;

class PaymentTerms : public RulesFixture {
protected:
    void AddPaymentMode(const char *code, const char *text) {
        AddRow(PaymentModeBlk::Number, PaymentModeBlk::Rows::Size, [&](uint8_t *r) {
            PutText(r, PaymentModeBlk::Rows::Code, 1, code);
            PutText(r, PaymentModeBlk::Rows::BankAccount, 60, text);
        });
    }
    void StoreDiscountTerms(const char *code, uint16_t kind, uint32_t days, double pct, uint32_t discDays) {
        StoreRecord(PayTermsVc::Number, [&](uint8_t *r) {
            PutText(r, PayTermsVc::Code, 2, code);
            PutU16(r, PayTermsVc::Kind, kind);
            PutU32(r, PayTermsVc::Days, days);
            PutDec(r, PayTermsVc::DiscPct, Dec(pct));
            PutU32(r, PayTermsVc::DiscDays, discDays);
        });
    }
    static void ExpectDate(const uint8_t *rec, uint32_t at, DateRec want) {
        DateRec d = GetDate(rec, at);
        EXPECT_EQ(d.day, want.day);
        EXPECT_EQ(d.month, want.month);
        EXPECT_EQ(d.year, want.year);
    }
};

// Sales invoices: the next-month rule across a year end and within a
// month, a code that is only a payment mode, a document of kind 4 that
// keeps its kind, and an unknown code replaced by the first terms' code.
TEST_F(PaymentTerms, SalesInvoiceDueDates) {
    StoreTerms("10", 1, 10);
    StoreTerms("N3", 4, 30);
    StoreTerms("NM", 4, 10);
    AddPaymentMode("B", "Bank transfer");
    RuleRecord inv(IVVc::Number);
    uint8_t *r = inv.record;

    PutText(r, IVVc::PayTerms, 2, "N3");
    PutDate(r, IVVc::InvDate, DateRec{31, 12, 2024});
    ApplyPaymentTerms(r);
    ExpectDate(r, IVVc::PayDate, {30, 1, 2025});
    EXPECT_EQ(GetU16(r, IVVc::InvType), 1);

    PutText(r, IVVc::PayTerms, 2, "NM");
    PutDate(r, IVVc::InvDate, DateRec{17, 3, 2024});
    ApplyPaymentTerms(r);
    ExpectDate(r, IVVc::PayDate, {10, 4, 2024});

    PutU16(r, IVVc::InvType, 4);   // a document of kind 4 keeps it
    PutText(r, IVVc::PayTerms, 2, "10");
    ApplyPaymentTerms(r);
    EXPECT_EQ(GetU16(r, IVVc::InvType), 4);
    ExpectDate(r, IVVc::PayDate, {27, 3, 2024});

    PutU16(r, IVVc::InvType, 0);
    PutText(r, IVVc::PayTerms, 2, "B");
    ApplyPaymentTerms(r);
    ExpectDate(r, IVVc::PayDate, {17, 3, 2024});
    EXPECT_EQ(GetU16(r, IVVc::InvType), 2);
    EXPECT_EQ(Text(r, IVVc::PayTerms), "B");
    EXPECT_EQ(GetU32(r, IVVc::CashDiscDays), AllBits);
    PackedDecimal pct = GetDec(r, IVVc::CashDiscPct);
    EXPECT_TRUE(DecIsBlank(&pct));
    EXPECT_EQ(PaymentTermsKind((const uint8_t *)"\001B"), 2);
    EXPECT_EQ(PaymentTermsKind((const uint8_t *)"\002N3"), 4);
    EXPECT_EQ(PaymentTermsKind((const uint8_t *)"\002ZZ"), 1);
    EXPECT_EQ(PaymentTermsKind((const uint8_t *)"\000"), 1);   // the first record, "10"

    PutText(r, IVVc::PayTerms, 2, "ZZ");
    ApplyPaymentTerms(r);
    EXPECT_EQ(Text(r, IVVc::PayTerms), "10");
    ExpectDate(r, IVVc::PayDate, {27, 3, 2024});
}

// Cash terms (kind 3) make a credit note: the text "K" and the credit
// notes' stock switch; other kinds empty the text. Days of all bits set
// mean due on the invoice date.
TEST_F(PaymentTerms, CashTermsMakeACreditNote) {
    StoreTerms("C", 3, -1);
    StoreTerms("O", 1, 14);
    uint8_t accounts[SalesAccountsBlk::Size] = {};
    PutU16(accounts, SalesAccountsBlk::CreditNoteUpdateStock, 1);
    PutU16(accounts, SalesAccountsBlk::UpdateStock, 7);
    StoreBlock(SalesAccountsBlk::Number, accounts, sizeof accounts);
    SettingsBlocksReload();
    RuleRecord inv(IVVc::Number);
    PutText(inv.record, IVVc::PayTerms, 2, "C");
    PutDate(inv.record, IVVc::InvDate, DateRec{2, 2, 2024});
    ApplyPaymentTerms(inv.record);
    EXPECT_EQ(GetU16(inv.record, IVVc::InvType), 3);
    EXPECT_EQ(Text(inv.record, IVVc::PayModeText), "K");
    EXPECT_EQ(GetU16(inv.record, IVVc::UpdStock), 1);
    ExpectDate(inv.record, IVVc::PayDate, {2, 2, 2024});

    PutU16(inv.record, IVVc::InvType, 0);
    PutText(inv.record, IVVc::PayTerms, 2, "O");
    ApplyPaymentTerms(inv.record);
    EXPECT_EQ(Text(inv.record, IVVc::PayModeText), "");
    ExpectDate(inv.record, IVVc::PayDate, {16, 2, 2024});
}

// Purchase invoices: the discount in whole units and its date, a stale
// discount date cleared, and days of all bits set due on the invoice date
// (also under the next-month rule) rather than billions of days later.
TEST_F(PaymentTerms, PurchaseInvoiceTerms) {
    StoreDiscountTerms("D2", 1, 30, 2, 10);
    StoreDiscountTerms("NX", 4, AllBits, 0, AllBits);
    StoreDiscountTerms("XX", 1, AllBits, 0, AllBits);
    RuleRecord pi(VIVc::Number);
    uint8_t *r = pi.record;
    PutText(r, VIVc::PayTerms, 2, "D2");
    PutDate(r, VIVc::InvDate, DateRec{10, 5, 2024});
    PutDec(r, VIVc::InvAmount, Dec(1234.56));
    ApplyPurchaseInvoiceTerms(r);
    PackedDecimal disc = GetDec(r, VIVc::DiscAmount), want = Dec(25);
    EXPECT_TRUE(DecEqual(&disc, &want));
    ExpectDate(r, VIVc::DiscDate, {20, 5, 2024});
    ExpectDate(r, VIVc::DueDate, {9, 6, 2024});
    EXPECT_EQ(GetU16(r, VIVc::InvType), 1);

    for (const char *code : {"XX", "NX"}) {
        PutText(r, VIVc::PayTerms, 2, code);
        RefreshPurchaseInvoiceTerms(r);
        ExpectDate(r, VIVc::DueDate, {10, 5, 2024});
        DateRec d = GetDate(r, VIVc::DiscDate);
        EXPECT_TRUE(DateIsEmpty(&d)) << code;
        disc = GetDec(r, VIVc::DiscAmount);
        EXPECT_TRUE(DecIsBlank(&disc)) << code;
        EXPECT_EQ(GetU16(r, VIVc::InvType), 1) << code;
    }
}

// A payment's mode text comes from its mode's row (row 0 for an empty or
// unknown code); an empty code also takes row 0's code; no modes: nothing
// changes.
TEST_F(PaymentTerms, PaymentModeText) {
    RuleRecord pay(OPVc::Number);
    PutText(pay.record, OPVc::PayText, 60, "kept");
    ApplyPaymentMode(pay.record);
    EXPECT_EQ(Text(pay.record, OPVc::PayText), "kept");
    AddPaymentMode("G", "Giro 123");
    AddPaymentMode("C", "Cash box");
    PutText(pay.record, OPVc::PayMode, 1, "C");
    ApplyPaymentMode(pay.record);
    EXPECT_EQ(Text(pay.record, OPVc::PayText), "Cash box");
    PutText(pay.record, OPVc::PayMode, 1, "Q");
    ApplyPaymentModeCopy(pay.record);
    EXPECT_EQ(Text(pay.record, OPVc::PayText), "Giro 123");
    EXPECT_EQ(Text(pay.record, OPVc::PayMode), "Q");
    PutText(pay.record, OPVc::PayMode, 1, "");
    ApplyPaymentMode(pay.record);
    EXPECT_EQ(Text(pay.record, OPVc::PayMode), "G");
}

}  // namespace
