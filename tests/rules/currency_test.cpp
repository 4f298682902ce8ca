// currency_test.cpp - conversion by rates rounded once with halves away
// from zero, charges typed as text, and the decimals of a document's
// currency, including an unknown currency (which rounds as the round-off
// block says, not to 0 decimals).
#include <string>

#include "rules/vat_currency.h"
#include "tests/rules/rules_fixture.h"

namespace {

class Currency : public RulesFixture {
protected:
    static std::string Str(const PackedDecimal &d) {
        uint8_t t[256];
        DecToDigitText(&d, t);
        return std::string((const char *)t + 1, t[0]);
    }
    static bool Eq(const PackedDecimal &a, double b) {
        PackedDecimal x = Dec(b);
        return DecEqual(&a, &x);
    }
    static PackedDecimal Blank() {
        PackedDecimal b;
        DecSetBlank(&b);
        return b;
    }
    void AddCurrency(const char *code, uint16_t decimals) {
        AddRow(CurrencyBlk::Number, CurrencyRow::Size, [&](uint8_t *r) {
            PutText(r, CurrencyRow::Code, 5, code);
            PutU16(r, CurrencyRow::Decimals, decimals);
        });
    }
    void RoundOff(uint16_t totals, uint16_t vat) {
        uint8_t block[RoundOffBlk::Size] = {};
        PutU16(block, RoundOffBlock::TotalDecimals, totals);
        PutU16(block, RoundOffBlock::VatDecimals, vat);
        StoreBlock(RoundOffBlk::Number, block, sizeof block);
        SettingsBlocksReload();
    }
};

// Rates per 100 units: no rate copies; halves go away from zero; the
// inverse divides back and copies on a zero amount or rate; an amount near
// the top of the range converts back without overflowing on the way.
TEST_F(Currency, RatesConvertWithOneRoundingHalvesAway) {
    struct Case {
        double amount, rate, times;
    } cases[] = {{100.00, 0, 100.00}, {100.00, 1150.00, 1150.00}, {0.05, 50, 0.03}, {-0.05, 50, -0.03},
                 {33.33, 33.333, 11.11}, {-1.005, 100, -1.01}};
    for (const Case &c : cases) {
        PackedDecimal a = Dec(c.amount), r = Dec(c.rate), out;
        AmountTimesRate(&a, &r, &out);
        EXPECT_TRUE(Eq(out, c.times)) << c.amount << " x " << c.rate << " = " << Str(out);
    }
    PackedDecimal a = Dec(100), blank = Blank(), out;
    AmountTimesRate(&a, &blank, &out);
    EXPECT_TRUE(Eq(out, 100));
    AmountTimesRate(&blank, &a, &out);
    EXPECT_TRUE(DecIsAllZero(&out));   // a blank amount with a rate is zero

    PackedDecimal x = Dec(1150), r = Dec(1150);
    AmountByRateInverse(&x, &r, &out);
    EXPECT_TRUE(Eq(out, 100)) << Str(out);
    x = Dec(5);
    AmountByRateInverse(&x, &blank, &out);
    EXPECT_TRUE(Eq(out, 5));
    x = Dec(-10);
    r = Dec(3);
    AmountByRateInverse(&x, &r, &out);
    EXPECT_TRUE(Eq(out, -333.33)) << Str(out);
    AmountByRateInverse(&blank, &r, &out);
    EXPECT_TRUE(DecIsBlank(&out));
    // 7 x 10^20 at a rate of 1,000,000: the amount times 100 leaves the
    // decimal range, the result (7 x 10^16) does not.
    DecFromThousandths(&x, (__int128)7000000000000000000LL * 100000);
    r = Dec(1000000);
    AmountByRateInverse(&x, &r, &out);
    __int128 got = 0;
    ASSERT_TRUE(DecToThousandths(&out, &got)) << Str(out);
    EXPECT_TRUE(got == (__int128)70000000000000000LL * 1000) << Str(out);
}

// Quotients, percentages and charges typed as text: a zero divisor counts
// as 1; "10%" adds a tenth; a plain number adds itself; an empty charge
// adds nothing; a charge that is no number adds nothing rather than
// wiping the amount; a blank amount with a charge stays blank.
TEST_F(Currency, PercentagesAndTypedCharges) {
    PackedDecimal a = Dec(10), b = Dec(4), zero, blank = Blank(), out;
    DecSetZero(&zero);
    DecDivOrOne(&a, &b, &out);
    EXPECT_TRUE(Eq(out, 2.5));
    DecDivOrOne(&a, &zero, &out);
    EXPECT_TRUE(Eq(out, 10));
    DecDivOrOne(&blank, &b, &out);
    EXPECT_TRUE(DecIsBlank(&out));

    PackedDecimal amount = Dec(200), pct = Dec(12.5);
    DecAddPercent(&amount, &pct, &out);
    EXPECT_TRUE(Eq(out, 225)) << Str(out);
    DecAddPercent(&amount, &blank, &out);
    EXPECT_TRUE(Eq(out, 200));

    struct Case {
        const char *charge;
        double result;
    } cases[] = {{"", 200}, {"10%", 220}, {"15", 215}, {"-20", 180}, {"%", 200}, {"ten", 200}, {"3%x", 200}};
    for (const Case &c : cases) {
        uint8_t text[32];
        PStringFromC(text, c.charge);
        AddAmountOrPercent(&amount, text, &out);
        EXPECT_TRUE(Eq(out, c.result)) << '"' << c.charge << "\" gives " << Str(out);
    }
    uint8_t text[8];
    PStringFromC(text, "5");
    AddAmountOrPercent(&blank, text, &out);
    EXPECT_TRUE(DecIsBlank(&out));
    PStringFromC(text, "");
    AddAmountOrPercent(&blank, text, &out);
    EXPECT_TRUE(DecIsBlank(&out));
}

// The decimals of a document: its currency's row; an empty currency, one
// no row has (the empty code too) and one too long to be a code all round
// as word 0 of the round-off block; a damaged count above 3 is taken as 3.
TEST_F(Currency, UnknownCurrencyRoundsAsTheRoundOffBlock) {
    RoundOff(2, 2);
    AddCurrency("JPY", 0);
    AddCurrency("BHD", 3);
    AddCurrency("EURUS", 0);
    AddCurrency("BAD", 9);
    uint8_t code[16];
    auto decimals = [&](const char *c) {
        PStringFromC(code, c);
        return DocumentDecimals(code);
    };
    EXPECT_EQ(decimals("JPY"), 0);
    EXPECT_EQ(decimals("BHD"), 3);
    EXPECT_EQ(decimals("XYZ"), 2);
    EXPECT_EQ(decimals(""), 2);
    EXPECT_EQ(decimals("EURUSD"), 2);   // not cut to the stored "EURUS"
    EXPECT_EQ(decimals("jpy"), 2);      // codes compare exactly
    EXPECT_EQ(decimals("BAD"), 3);
    RoundOff(1, 2);
    EXPECT_EQ(decimals("XYZ"), 1);
    EXPECT_EQ(decimals("JPY"), 0);
}

}  // namespace
