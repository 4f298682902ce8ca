// payment_terms_test.cpp - due dates, discounts and document kinds that
// payment terms and payment modes give sales and purchase invoices.
#include "rules/pay_terms_kind.h"
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
    void StoreTermsFull(const char *code, uint16_t kind, uint32_t days, double pct = 0, uint32_t discDays = AllBits) {
        StoreRecord(PayTermsVc::Number, [&](uint8_t *r) {
            PutText(r, PayTermsVc::Code, 2, code);
            PutU16(r, PayTermsVc::Kind, kind);
            PutU32(r, PayTermsVc::Days, days);
            PutDec(r, PayTermsVc::DiscPct, Dec(pct));
            PutU32(r, PayTermsVc::DiscDays, discDays);
        });
    }
    // The date at `at` as day.month.year.
    static std::string D(const uint8_t *rec, uint32_t at) {
        DateRec d = GetDate(rec, at);
        return std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year);
    }
    // Applies terms code to the sales invoice dated date; its due date.
    static std::string Due(uint8_t *inv, const char *code, DateRec date) {
        PutText(inv, IVVc::PayTerms, 2, code);
        PutDate(inv, IVVc::InvDate, date);
        ApplyPaymentTerms(inv);
        return D(inv, IVVc::PayDate);
    }
};

// Sales invoices: the next-month rule across a year end and within a
// month; a document of kind 4 keeps its kind; a code that is only a
// payment mode (kind 2, due at once); an unknown code replaced by the
// first terms' code; cash terms make a cash invoice with no "K";
// credit-note terms make a credit note with "K" and the credit notes'
// stock switch, and days of all bits set are due at once.
TEST_F(PaymentTerms, SalesInvoiceDueDates) {
    StoreTermsFull("10", 1, 10);
    StoreTermsFull("C", 3, AllBits);
    StoreTermsFull("N3", 4, 30);
    AddPaymentMode("B", "Bank transfer");
    uint8_t accounts[SalesAccountsBlk::Size] = {};
    PutU16(accounts, SalesAccountsBlk::CreditNoteUpdateStock, 1);
    StoreBlock(SalesAccountsBlk::Number, accounts, sizeof accounts);
    SettingsBlocksReload();
    RuleRecord inv(IVVc::Number);
    uint8_t *r = inv.record;

    EXPECT_EQ(Due(r, "N3", {31, 12, 2024}), "30.1.2025");
    EXPECT_EQ(GetU16(r, IVVc::InvType), 1);
    EXPECT_EQ(Due(r, "N3", {17, 3, 2024}), "30.4.2024");
    PutU16(r, IVVc::InvType, 4);
    EXPECT_EQ(Due(r, "10", {17, 3, 2024}), "27.3.2024");
    EXPECT_EQ(GetU16(r, IVVc::InvType), 4);

    PutU16(r, IVVc::InvType, 0);
    EXPECT_EQ(Due(r, "B", {17, 3, 2024}), "17.3.2024");
    EXPECT_EQ(GetU16(r, IVVc::InvType), 2);
    EXPECT_EQ(Text(r, IVVc::PayTerms), "B");
    PackedDecimal pct = GetDec(r, IVVc::CashDiscPct);
    EXPECT_TRUE(DecIsBlank(&pct));
    EXPECT_EQ(PaymentTermsKind((const uint8_t *)"\001B"), int(PayTermsKind::Cash));
    EXPECT_EQ(PaymentTermsKind((const uint8_t *)"\002N3"), int(PayTermsKind::NextMonth));
    EXPECT_EQ(PaymentTermsKind((const uint8_t *)"\002ZZ"), int(PayTermsKind::Ordinary));

    EXPECT_EQ(Due(r, "ZZ", {17, 3, 2024}), "27.3.2024");
    EXPECT_EQ(Text(r, IVVc::PayTerms), "10");
    EXPECT_EQ(Due(r, "C", {2, 2, 2024}), "2.2.2024");
    EXPECT_EQ(GetU16(r, IVVc::InvType), 3);
    EXPECT_EQ(Text(r, IVVc::PayModeText), "K");
    EXPECT_EQ(GetU16(r, IVVc::UpdStock), 1);

    StoreTermsFull("KO", 2, 0);
    PutU16(r, IVVc::InvType, 0);
    EXPECT_EQ(Due(r, "KO", {2, 2, 2024}), "2.2.2024");
    EXPECT_EQ(GetU16(r, IVVc::InvType), 2);
    EXPECT_EQ(Text(r, IVVc::PayModeText), "");
    EXPECT_EQ(PaymentTermsKind((const uint8_t *)"\002KO"), int(PayTermsKind::Cash));
}

// Purchase invoices: the discount in whole units and its date; days of all
// bits set are due on the invoice date, also under the next-month rule,
// rather than billions of days later, and a stale discount date goes.
TEST_F(PaymentTerms, PurchaseInvoiceTerms) {
    StoreTermsFull("D2", 1, 30, 2, 10);
    StoreTermsFull("NX", 4, AllBits);
    StoreTermsFull("XX", 1, AllBits);
    RuleRecord pi(VIVc::Number);
    uint8_t *r = pi.record;
    PutText(r, VIVc::PayTerms, 2, "D2");
    PutDate(r, VIVc::InvDate, DateRec{10, 5, 2024});
    PutDec(r, VIVc::InvAmount, Dec(1234.56));
    ApplyPurchaseInvoiceTerms(r);
    PackedDecimal disc = GetDec(r, VIVc::DiscAmount), want = Dec(25);
    EXPECT_TRUE(DecEqual(&disc, &want));
    EXPECT_EQ(D(r, VIVc::DiscDate), "20.5.2024");
    EXPECT_EQ(D(r, VIVc::DueDate), "9.6.2024");
    for (const char *code : {"XX", "NX"}) {
        PutText(r, VIVc::PayTerms, 2, code);
        RefreshPurchaseInvoiceTerms(r);
        EXPECT_EQ(D(r, VIVc::DueDate), "10.5.2024") << code;
        EXPECT_EQ(D(r, VIVc::DiscDate), "0.0.0") << code;
        EXPECT_EQ(GetU16(r, VIVc::InvType), 1) << code;
    }
}

// The cash discount of a purchase invoice is amount x percent / 100 rounded
// once to whole units, halves away from zero. The table's answers are
// worked out again here in whole cents and thousandths of a percent, so a
// wrong row cannot pass; near-halves are where a rounding to thousandths
// first (202.4995 -> 202.500 -> 203) gives the wrong unit.
TEST_F(PaymentTerms, PurchaseCashDiscountRoundsOnceToWholeUnits) {
    struct Case {
        int64_t cents;      // invoice amount
        int64_t pctMilli;   // discount percent in thousandths
        int64_t units;      // expected discount
    };
    const Case cases[] = {
        {328733, 6160, 202},    // 202.499528
        {-328733, 6160, -202},  // a credit invoice
        {5000, 5000, 3},        // 2.5 exactly
        {-5000, 5000, -3},
        {4999, 5000, 2},        // 2.4995
        {5001, 5000, 3},        // 2.5005
        {1010, 4950, 0},        // 0.49995
        {9999, 1500, 1},        // 1.49985
        {150, 33333, 0},        // 0.499995
        {50, 100000, 1},        // 0.5: the whole amount
        {123456789, 2500, 30864},   // 30864.19725
    };
    RuleRecord pi(VIVc::Number);
    uint8_t *r = pi.record;
    PutText(r, VIVc::PayTerms, 2, "CD");
    PutDate(r, VIVc::InvDate, DateRec{10, 5, 2024});
    for (const Case &c : cases) {
        // cents x thousandths of a percent / 10^7 is the discount in units.
        int64_t product = c.cents * c.pctMilli, magnitude = product < 0 ? -product : product;
        int64_t exact = (magnitude + 5000000) / 10000000;
        ASSERT_EQ(product < 0 ? -exact : exact, c.units) << c.cents << " at " << c.pctMilli;

        PackedDecimal pct, amount;
        DecFromThousandths(&pct, c.pctMilli);
        DecFromThousandths(&amount, (__int128)c.cents * 10);
        StoreRecord(PayTermsVc::Number, [&](uint8_t *t) {
            PutText(t, PayTermsVc::Code, 2, "CD");
            PutU16(t, PayTermsVc::Kind, 1);
            PutU32(t, PayTermsVc::Days, 30);
            PutDec(t, PayTermsVc::DiscPct, pct);
            PutU32(t, PayTermsVc::DiscDays, 10);
        });
        PutDec(r, VIVc::InvAmount, amount);
        ApplyPurchaseInvoiceTerms(r);
        PackedDecimal got = GetDec(r, VIVc::DiscAmount);
        __int128 thousandths = 0;
        ASSERT_TRUE(DecToThousandths(&got, &thousandths)) << c.cents;
        EXPECT_EQ((int64_t)thousandths, c.units * 1000) << c.cents << " at " << c.pctMilli;
    }
}

// A payment's mode text comes from its mode's row (row 0 for an unknown
// code); an empty code also takes row 0's code; no modes: nothing changes.
TEST_F(PaymentTerms, PaymentModeText) {
    RuleRecord pay(OPVc::Number);
    PutText(pay.record, OPVc::PayText, 60, "kept");
    ApplyPaymentMode(pay.record);
    EXPECT_EQ(Text(pay.record, OPVc::PayText), "kept");
    AddPaymentMode("G", "Giro 123");
    AddPaymentMode("C", "Cash box");
    PutText(pay.record, OPVc::PayMode, 1, "Q");
    ApplyPaymentModeCopy(pay.record);
    EXPECT_EQ(Text(pay.record, OPVc::PayText), "Giro 123");
    EXPECT_EQ(Text(pay.record, OPVc::PayMode), "Q");
    PutText(pay.record, OPVc::PayMode, 1, "");
    ApplyPaymentMode(pay.record);
    EXPECT_EQ(Text(pay.record, OPVc::PayMode), "G");
}

}  // namespace
