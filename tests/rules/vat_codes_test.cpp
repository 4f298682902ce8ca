// vat_codes_test.cpp - VAT codes over a real database: the default row
// answering unknown codes, the inclusive share, decimal VAT rounded once,
// sums per code rounded per code, and an item's VAT code fallbacks.
#include "rules/vat_currency.h"
#include "tests/rules/amount_text.h"
#include "tests/rules/rules_fixture.h"

namespace {

using VatCodes = RulesFixture;

// An empty block answers "no rate" and writes nothing; then row 0 answers
// empty, unknown and overlong codes; the inclusive rate is the second rate
// when set, else the share 100 x (1 - 100 / (100 + rate)).
TEST_F(VatCodes, LookupsAnswerUnknownCodesWithRowZero) {
    PackedDecimal rate = Dec(7);
    uint8_t acc[11] = {1, 'x'};
    int32_t index = 5;
    VatCodeLookup(P("1"), &rate, 0, acc, nullptr);
    EXPECT_EQ(AmountText(rate) + S(acc), "7x");
    EXPECT_FALSE(VatRateDec(P("1"), &rate, &index, 0));
    EXPECT_EQ(AmountText(rate), "blank");
    EXPECT_EQ(index, -1);

    AddVatCode("1", 25, -1, "2610", "2640");
    AddVatCode("2", 12, 10.71, "2620", "2641");
    for (const char *code : {"", "9", "222"}) {
        VatCodeLookup(P(code), &rate, 0, acc, nullptr);
        EXPECT_EQ(AmountText(rate) + " " + S(acc), "25 2610") << code;
        EXPECT_FALSE(IsVatCode(P(code)));
    }
    EXPECT_TRUE(IsVatCode(P("2")));
    EXPECT_NEAR(VatRate(P("1"), 1), 20.0, 1e-9);
    EXPECT_DOUBLE_EQ(VatRate(P("2"), 1), 10.71);
    EXPECT_TRUE(VatRateDec(P("1"), &rate, &index, 1));
    EXPECT_EQ(AmountText(rate), "20");
    EXPECT_FALSE(VatRateDec(P("7"), &rate, &index, 0));
    EXPECT_EQ(AmountText(rate) + "@" + std::to_string(index), "25@0");
}

// The double path keeps thousandths and rounds on request; the decimal path
// rounds once from the exact product, so 0.99 x 0.505 % (0.0049995) is 0.00,
// not the 0.01 that rounding each step gives.
TEST_F(VatCodes, DecimalVatRoundsOnce) {
    AddVatCode("1", 25, -1, "", "");
    PackedDecimal a = Dec(10.5), vat, rate, x = Dec(0.99), y = Dec(0.505);
    VatAmount(P("1"), &a, &vat, 0);
    EXPECT_EQ(AmountText(vat), "2.625");
    VatAmountRound2(P("1"), &a, &vat, &rate, 0);
    EXPECT_EQ(AmountText(vat), "2.63");
    a = Dec(-0.10);
    VatAmountDec(P("1"), &a, &vat, 0);
    EXPECT_EQ(AmountText(vat), "-0.03");
    PercentOfAmount(&x, &y, &vat);
    EXPECT_EQ(AmountText(vat), "0");

}

// The VAT part of an amount that includes VAT, as the purchase-invoice and
// expense windows split it: by the code's second rate when set, else by
// the share its rate gives, to cents. Unlike the lookups above, an empty
// or unknown code has no part at all (row 0 does not answer for it).
TEST_F(VatCodes, VatPartOfAnAmountIncludingVat) {
    PackedDecimal amount = Dec(125), vat = Dec(9), rate, factor;
    EXPECT_FALSE(VatPartOf(P("1"), &amount, &vat));   // no codes kept yet
    EXPECT_EQ(AmountText(vat), "0");
    AddVatCode("1", 25, -1, "", "");
    AddVatCode("2", 12, 10.71, "", "");
    EXPECT_TRUE(VatPartOf(P("1"), &amount, &vat));
    EXPECT_EQ(AmountText(vat), "25");
    amount = Dec(99.99);
    EXPECT_TRUE(VatPartOf(P("2"), &amount, &vat));
    EXPECT_EQ(AmountText(vat), "10.71");              // 99.99 x 10.71 % = 10.708929
    amount = Dec(-10);
    EXPECT_TRUE(VatPartOf(P("1"), &amount, &vat));
    EXPECT_EQ(AmountText(vat), "-2");
    for (const char *code : {"", "9"}) {
        vat = Dec(9);
        EXPECT_FALSE(VatPartOf(P(code), &amount, &vat)) << code;
        EXPECT_EQ(AmountText(vat), "0") << code;
    }
    EXPECT_TRUE(VatCodeRateLookup(P("2"), &rate, &factor));
    EXPECT_EQ(AmountText(rate) + "/" + AmountText(factor), "12/10.71");
    EXPECT_FALSE(VatCodeRateLookup(P("3"), &rate, &factor));
    EXPECT_EQ(AmountText(rate) + "/" + AmountText(factor), "blank/blank");
}

// Sums per code: unknown codes go to slot 0, blank amounts nowhere; two
// codes of half a cent each round per code (0.01 + 0.01 = 0.02, the value
// the double path gives); the extra is slot x additional percentage, not
// rounded; sums made before the table changed add and total nothing.
TEST_F(VatCodes, SumsRoundPerCodeAndRefuseAnotherTable) {
    AddVatCode("0", 0, -1, "", "");
    AddVatCode("1", 25, -1, "", "");
    AddVatCode("2", 12, -1, "", "");
    std::vector<uint8_t> &rows = tableRows[VatCodeBlk::Number];
    PutDec(rows.data() + 2 * VatCodeRow::Size, VatCodeRow::AddPct, Dec(10));
    StoreBlock(VatCodeBlk::Number, rows.data(), (uint32_t)rows.size());

    MemBlock sums = 0;
    ASSERT_NE(VatSumsNew(&sums), nullptr);
    PackedDecimal a = Dec(0.02), b = Dec(0.042), big = Dec(80), blank, vat, extra;
    DecSetBlank(&blank);
    VatSumsAdd(sums, P("1"), &a);   // 0.005
    VatSumsAdd(sums, P("2"), &b);   // 0.00504
    VatSumsAdd(sums, P("2"), &blank);
    EXPECT_EQ(VatSumsUsedCount(sums), 2);
    EXPECT_EQ(VatSumsNthUsed(sums, 2), 3);
    EXPECT_EQ(VatSumsNthUsed(sums, 3), 1);
    VatSumsTotal(sums, 0, &vat, &extra);
    EXPECT_EQ(AmountText(vat) + " " + AmountText(extra), "0.02 0.004");
    VatSumsAdd(sums, P("Q"), &big);
    EXPECT_EQ(VatSumsNthUsed(sums, 1), 1);

    AddVatCode("3", 6, -1, "", "");
    VatSumsAdd(sums, P("1"), &big);
    VatSumsTotal(sums, 0, &vat, &extra);
    EXPECT_EQ(AmountText(vat) + AmountText(extra), "blankblank");
    EXPECT_EQ(VatSumsUsedCount(sums), 3);
    MemBlock stale = sums;
    MemUnlock(sums);
    MemFree(&sums);
    EXPECT_EQ(VatSumsUsedCount(stale), 0);
}

// An item's VAT code: its own for every zone; else its group's for the
// zone; else block 133's default for the zone, and the other-zones default
// (240) when that is empty; its sales account likewise.
TEST_F(VatCodes, ItemCodesFallBackThroughGroupAndDefaults) {
    uint8_t block[SalesAccountsBlk::Size] = {};
    PutText(block, SalesAccountsBlk::VatCode0, 2, "1");
    PutText(block, SalesAccountsBlk::SalesAcc0, 10, "3000");
    StoreBlock(SalesAccountsBlk::Number, block, sizeof block);
    StoreRecord(ITVc::Number, [&](uint8_t *r) {
        PutText(r, ITVc::Code, 5, "GRP");
        PutText(r, ITVc::VatCodeZ1, 2, "2");
        PutText(r, ITVc::SalesAcc, 10, "3050");
    });
    StoreRecord(INVc::Number, [&](uint8_t *r) {
        PutText(r, INVc::Code, 20, "OWN");
        PutText(r, INVc::VatCode, 2, "2");
        PutText(r, INVc::Group, 5, "GRP");
    });
    StoreRecord(INVc::Number, [&](uint8_t *r) {
        PutText(r, INVc::Code, 20, "GROUPED");
        PutText(r, INVc::Group, 5, "GRP");
    });
    uint8_t code[3], acc[11];
    std::string got;
    for (const char *item : {"OWN", "GROUPED", "UNKNOWN", "AAAAAAAAAAAAAAAAAAAAA"}) {
        for (int zone : {1, 2, 3}) {
            ItemVatCode(P(item), zone, code);
            ItemSalesAccount(P(item), zone, acc);
            got += S(code) + S(acc) + " ";
        }
    }
    EXPECT_EQ(got, "23050 23050 23050 23050 13050 13050 13000 13000 13000 13000 13000 13000 ");
}

}  // namespace
