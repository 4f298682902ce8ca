// vat_codes_test.cpp - VAT codes over a real database: the default row
// answering unknown codes, the inclusive share, decimal VAT rounded once,
// sums per code rounded per code, and the VAT codes and sales accounts of
// items with their fallbacks.
#include <string>

#include "rules/vat_currency.h"
#include "tests/rules/rules_fixture.h"

namespace {

class VatCodes : public RulesFixture {
protected:
    static std::string Str(const PackedDecimal &d) {
        uint8_t t[256];
        DecToDigitText(&d, t);
        return std::string((const char *)t + 1, t[0]);
    }
    static std::string P(const uint8_t *p) { return std::string((const char *)p + 1, p[0]); }
    static bool Eq(const PackedDecimal &a, double b) {
        PackedDecimal x = Dec(b);
        return DecEqual(&a, &x);
    }
    // Codes "0" (0 %), "1" (25 %, no second rate), "2" (12 %, second rate
    // 10.71, additional 10 %).
    void ThreeCodes() {
        AddVatCode("0", 0, -1, "", "");
        AddVatCode("1", 25, -1, "2610", "2640");
        AddVatCode("2", 12, 10.71, "2620", "2641");
        std::vector<uint8_t> &rows = tableRows[VatCodeBlk::Number];
        PutDec(rows.data() + 2 * VatCodeRow::Size, VatCodeRow::AddPct, Dec(10));
        StoreBlock(VatCodeBlk::Number, rows.data(), (uint32_t)rows.size());
    }
    void SalesDefaults(const char *vat0, const char *vat1, const char *acc0, const char *acc1) {
        uint8_t block[SalesAccountsBlk::Size] = {};
        PutText(block, SalesAccountsBlk::VatCode0, 2, vat0);
        PutText(block, SalesAccountsBlk::VatCode1, 2, vat1);
        PutText(block, SalesAccountsBlk::SalesAcc0, 10, acc0);
        PutText(block, SalesAccountsBlk::SalesAcc1, 10, acc1);
        StoreBlock(SalesAccountsBlk::Number, block, sizeof block);
        SettingsBlocksReload();
    }
};

// Row 0 answers empty, unknown and overlong codes everywhere; the inclusive
// rate is the second rate when set, else the VAT share 100 x (1 - 100 /
// (100 + rate)); an empty block answers "no rate" and writes nothing.
TEST_F(VatCodes, LookupsAnswerUnknownCodesWithRowZero) {
    {
        PackedDecimal rate = Dec(7);
        uint8_t acc[11] = {3, 'x', 'y', 'z'};
        VatCodeLookup((const uint8_t *)"\1" "1", &rate, 0, acc, nullptr);
        EXPECT_TRUE(Eq(rate, 7));   // untouched
        EXPECT_EQ(P(acc), "xyz");
        EXPECT_EQ(VatRate((const uint8_t *)"\1" "1", 0), 0.0);
        int32_t index = 5;
        EXPECT_FALSE(VatRateDec((const uint8_t *)"\1" "1", &rate, &index, 0));
        EXPECT_TRUE(DecIsBlank(&rate));
        EXPECT_EQ(index, -1);
        EXPECT_FALSE(IsVatCode((const uint8_t *)"\0"));
    }
    AddVatCode("1", 25, -1, "2610", "2640");
    AddVatCode("2", 12, 10.71, "2620", "2641");

    PackedDecimal rate;
    uint8_t acc1[11], acc2[11];
    VatCodeLookup((const uint8_t *)"\1" "2", &rate, 1, acc1, acc2);
    EXPECT_TRUE(Eq(rate, 10.71));
    EXPECT_EQ(P(acc1), "2620");
    EXPECT_EQ(P(acc2), "2641");
    for (const char *code : {"\0", "\1" "9", "\3" "222"}) {   // empty, unknown, overlong
        VatCodeLookup((const uint8_t *)code, &rate, 0, acc1, nullptr);
        EXPECT_TRUE(Eq(rate, 25)) << P((const uint8_t *)code);
        EXPECT_EQ(P(acc1), "2610");
        EXPECT_EQ(VatRate((const uint8_t *)code, 0), 25.0);
        EXPECT_FALSE(IsVatCode((const uint8_t *)code));
    }
    EXPECT_TRUE(IsVatCode((const uint8_t *)"\1" "2"));

    // Inclusive: the share of 25 % is 20; a second rate is used unchanged.
    EXPECT_NEAR(VatRate((const uint8_t *)"\1" "1", 1), 20.0, 1e-9);
    EXPECT_DOUBLE_EQ(VatRate((const uint8_t *)"\1" "2", 1), 10.71);
    int32_t index = -7;
    EXPECT_TRUE(VatRateDec((const uint8_t *)"\1" "1", &rate, &index, 1));
    EXPECT_TRUE(Eq(rate, 20)) << Str(rate);
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(VatRateDec((const uint8_t *)"\1" "7", &rate, &index, 0));
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(Eq(rate, 25));
    EXPECT_TRUE(VatRateDec((const uint8_t *)"\1" "2", &rate, &index, 0));
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(Eq(rate, 12));

    // The account's own VAT code leads the lookup; an unknown account has
    // none and gets row 0.
    StoreRecord(ACVc::Number, [&](uint8_t *r) {
        PutText(r, ACVc::Code, 10, "3010");
        PutText(r, ACVc::VatCode, 2, "2");
    });
    uint8_t code[3] = {2, 'z', 'z'};
    AccountVatCodeLookup((const uint8_t *)"\4" "3010", code, &rate, 0, acc1, nullptr);
    EXPECT_EQ(P(code), "2");
    EXPECT_TRUE(Eq(rate, 12));
    AccountVatCodeLookup((const uint8_t *)"\4" "9999", code, &rate, 0, acc1, nullptr);
    EXPECT_EQ(P(code), "");
    EXPECT_TRUE(Eq(rate, 25));
}

// VAT amounts: the double path unrounded and rounded; the decimal path and
// PercentOfAmount round once from the exact product, so 0.99 x 0.505 %
// (0.0049995) is 0.00, not the 0.01 that rounding each step would give;
// row VAT only for priced rows, and not in a no-VAT zone unless inclusive.
TEST_F(VatCodes, AmountsRoundOnceAndOnlyForPricedRows) {
    ThreeCodes();
    PackedDecimal a = Dec(10.5), vat, rate, plain;
    VatAmount((const uint8_t *)"\1" "1", &a, &vat, 0);
    EXPECT_TRUE(Eq(vat, 2.625)) << Str(vat);
    VatAmountRound2((const uint8_t *)"\1" "1", &a, &vat, &rate, 0);
    EXPECT_TRUE(Eq(vat, 2.63)) << Str(vat);
    EXPECT_TRUE(Eq(rate, 25));
    a = Dec(-0.10);
    VatAmountDec((const uint8_t *)"\1" "1", &a, &vat, 0);
    EXPECT_TRUE(Eq(vat, -0.03)) << Str(vat);   // -0.025, half away from zero

    PackedDecimal x = Dec(0.99), y = Dec(0.505), r;
    PercentOfAmount(&x, &y, &r);
    EXPECT_TRUE(Eq(r, 0.00)) << Str(r);
    PackedDecimal blank;
    DecSetBlank(&blank);
    PercentOfAmount(&blank, &blank, &r);
    EXPECT_TRUE(DecIsBlank(&r));
    PercentOfAmount(&x, &blank, &r);
    EXPECT_TRUE(DecIsAllZero(&r));

    a = Dec(100);
    RowVatAmount(3, 1, 0, (const uint8_t *)"\1" "1", &a, &rate, &vat, &plain);
    EXPECT_TRUE(DecIsBlank(&vat) && DecIsBlank(&rate) && DecIsBlank(&plain));
    RowVatAmount(1, 0, 1, (const uint8_t *)"\1" "1", &a, &rate, &vat, &plain);
    EXPECT_TRUE(DecIsBlank(&vat));
    RowVatAmount(4, 1, 1, (const uint8_t *)"\1" "1", &a, &rate, &vat, &plain);
    EXPECT_TRUE(Eq(vat, 20)) << Str(vat);
    EXPECT_TRUE(Eq(rate, 20));
    EXPECT_TRUE(Eq(plain, 25));
}

// Sums per code: amounts of unknown codes go to slot 0, blank amounts
// nowhere; the VAT of two codes of half a cent each rounds per code (0.01
// + 0.01 = 0.02, the value the double path gives); the extra charge is
// slot x additional percentage; sums made for another table add nothing.
TEST_F(VatCodes, SumsRoundPerCodeAndRefuseAnotherTable) {
    ThreeCodes();
    MemBlock sums = 0;
    ASSERT_NE(VatSumsNew(&sums), nullptr);
    ASSERT_NE(sums, 0u);
    PackedDecimal a = Dec(0.02), b = Dec(0.042), blank;   // 0.042 x 12 % = 0.00504 -> 0.005
    DecSetBlank(&blank);
    VatSumsAdd(sums, (const uint8_t *)"\1" "1", &a);   // 0.02 x 25 % = 0.005
    VatSumsAdd(sums, (const uint8_t *)"\1" "2", &b);
    VatSumsAdd(sums, (const uint8_t *)"\1" "2", &blank);
    EXPECT_EQ(VatSumsUsedCount(sums), 2);
    EXPECT_EQ(VatSumsNthUsed(sums, 1), 2);
    EXPECT_EQ(VatSumsNthUsed(sums, 2), 3);
    EXPECT_EQ(VatSumsNthUsed(sums, 3), 1);   // fewer than three used
    PackedDecimal vat, extra;
    VatSumsTotal(sums, 0, &vat, &extra);
    EXPECT_TRUE(Eq(vat, 0.02)) << Str(vat);
    EXPECT_TRUE(Eq(extra, 0.004)) << Str(extra);   // 0.042 x 10 %, not rounded to cents

    PackedDecimal big = Dec(80);
    VatSumsAdd(sums, (const uint8_t *)"\1" "Q", &big);   // unknown: slot 0 (0 %)
    EXPECT_EQ(VatSumsUsedCount(sums), 3);
    EXPECT_EQ(VatSumsNthUsed(sums, 1), 1);
    PackedDecimal rate = Dec(1000);   // slots 800, 0.20, 0.42
    VatSumsConvert(sums, &rate);
    VatSumsTotal(sums, 0, &vat, nullptr);
    EXPECT_TRUE(Eq(vat, 0.10)) << Str(vat);   // 0 + 0.05 + 0.0504 -> 0.05

    // The table grows by a code: the old sums no longer pair with it.
    AddVatCode("3", 6, -1, "", "");
    VatSumsAdd(sums, (const uint8_t *)"\1" "1", &big);
    VatSumsTotal(sums, 0, &vat, &extra);
    EXPECT_TRUE(DecIsBlank(&vat));
    EXPECT_TRUE(DecIsBlank(&extra));
    EXPECT_EQ(VatSumsUsedCount(sums), 3);   // nothing was added
    MemBlock stale = sums;
    MemUnlock(sums);
    MemFree(&sums);
    EXPECT_EQ(VatSumsUsedCount(stale), 0);   // a freed handle reads as no sums
    EXPECT_EQ(VatSumsNthUsed(stale, 1), 1);
}

// An item's VAT code and sales account: its own for every zone; else its
// group's for the zone; else block 133's default for the zone, and the
// other-zones default when that is empty. A code too long to be an item
// code is not looked up.
TEST_F(VatCodes, ItemCodesFallBackThroughGroupAndDefaults) {
    ThreeCodes();
    SalesDefaults("1", "", "3000", "");
    StoreRecord(ITVc::Number, [&](uint8_t *r) {
        PutText(r, ITVc::Code, 5, "GRP");
        PutText(r, ITVc::VatCodeZ1, 2, "2");
        PutText(r, ITVc::VatCodeZ2, 2, "0");
        PutText(r, ITVc::SalesAcc, 10, "3050");
    });
    StoreRecord(INVc::Number, [&](uint8_t *r) {
        PutText(r, INVc::Code, 20, "OWN");
        PutText(r, INVc::VatCode, 2, "2");
        PutText(r, INVc::SalesAcc, 10, "3010");
        PutText(r, INVc::Group, 5, "GRP");
    });
    StoreRecord(INVc::Number, [&](uint8_t *r) {
        PutText(r, INVc::Code, 20, "GROUPED");
        PutText(r, INVc::Group, 5, "GRP");
    });
    uint8_t code[3], acc[11];
    for (int zone : {0, 1, 2, 3}) {
        ItemVatCode((const uint8_t *)"\3" "OWN", zone, code);
        EXPECT_EQ(P(code), "2");
        ItemSalesAccount((const uint8_t *)"\3" "OWN", zone, acc);
        EXPECT_EQ(P(acc), "3010");
        ItemSalesAccount((const uint8_t *)"\7" "GROUPED", zone, acc);
        EXPECT_EQ(P(acc), "3050");
    }
    ItemVatCode((const uint8_t *)"\7" "GROUPED", 1, code);
    EXPECT_EQ(P(code), "2");
    ItemVatCode((const uint8_t *)"\7" "GROUPED", 2, code);
    EXPECT_EQ(P(code), "0");
    ItemVatCode((const uint8_t *)"\7" "GROUPED", 3, code);   // group's other-zones field empty
    EXPECT_EQ(P(code), "1");
    ItemVatCode((const uint8_t *)"\7" "UNKNOWN", 1, code);   // zone-1 default empty: other zones'
    EXPECT_EQ(P(code), "1");
    ItemSalesAccount((const uint8_t *)"\7" "UNKNOWN", 1, acc);
    EXPECT_EQ(P(acc), "3000");
    std::string longCode(21, 'A');
    uint8_t item[32];
    PStringFromC(item, longCode.c_str());
    ItemSalesAccount(item, 0, acc);
    EXPECT_EQ(P(acc), "3000");
}

}  // namespace
