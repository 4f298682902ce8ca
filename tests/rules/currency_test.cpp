// currency_test.cpp - conversion by rates rounded once with halves away
// from zero, charges typed as text, and the decimals of a document's
// currency, an unknown one rounding as the round-off block says.
#include "rules/vat_currency.h"
#include "tests/rules/amount_text.h"
#include "tests/rules/rules_fixture.h"

namespace {

using Currency = RulesFixture;

// Rates per 100 units: no rate copies; halves go away from zero; the
// inverse copies on a zero amount or rate, and converts an amount whose
// hundredfold leaves the decimal range without overflowing.
TEST_F(Currency, RatesConvertWithOneRoundingHalvesAway) {
    struct Case {
        double amount, rate;
        const char *times, *inverse;
    } cases[] = {{100, 0, "100", "100"},          {100, 1150, "1150", "8.7"},   {0.05, 50, "0.03", "0.1"},
                 {-0.05, 50, "-0.03", "-0.1"},    {33.33, 33.333, "11.11", "99.99"}, {-10, 3, "-0.3", "-333.33"},
                 {0, 50, "0", "0"}};
    for (const Case &c : cases) {
        PackedDecimal a = Dec(c.amount), r = Dec(c.rate), times, inverse;
        AmountTimesRate(&a, &r, &times);
        AmountByRateInverse(&a, &r, &inverse);
        EXPECT_EQ(AmountText(times) + " " + AmountText(inverse), std::string(c.times) + " " + c.inverse)
            << c.amount << " at " << c.rate;
    }
    PackedDecimal blank, a = Dec(5), out;
    DecSetBlank(&blank);
    AmountTimesRate(&blank, &a, &out);
    EXPECT_EQ(AmountText(out), "0");
    AmountByRateInverse(&a, &blank, &out);
    EXPECT_EQ(AmountText(out), "5");
    DecFromThousandths(&a, (__int128)7000000000000000000LL * 100000);   // 7 x 10^20
    PackedDecimal rate = Dec(1000000);
    AmountByRateInverse(&a, &rate, &out);
    EXPECT_EQ(AmountText(out), "70000000000000000");
}

// Typed charges: "10%" adds a tenth; a number adds itself; an empty or
// non-numeric charge adds nothing (a mistyped charge never wipes the
// amount); a blank amount with a charge stays blank.
TEST_F(Currency, TypedCharges) {
    PackedDecimal blank, amount = Dec(200), out;
    DecSetBlank(&blank);
    std::string got;
    for (const char *charge : {"", "10%", "15", "-20", "%", "ten", "3%x"}) {
        AddAmountOrPercent(&amount, P(charge), &out);
        got += AmountText(out) + " ";
    }
    EXPECT_EQ(got, "200 220 215 180 200 200 200 ");
    AddAmountOrPercent(&blank, P("5"), &out);
    EXPECT_EQ(AmountText(out), "blank");
}

// The decimals of a document: its currency's row; an empty currency, one
// no row has, one too long to be a code and one in other letters round as
// word 0 of the round-off block (not 0 decimals); a count above 3 is 3.
TEST_F(Currency, UnknownCurrencyRoundsAsTheRoundOffBlock) {
    uint8_t block[RoundOffBlk::Size] = {};
    PutU16(block, RoundOffBlock::TotalDecimals, 1);
    StoreBlock(RoundOffBlk::Number, block, sizeof block);
    for (auto [code, decimals] : {std::pair{"JPY", 0}, {"BHD", 3}, {"EURUS", 0}, {"BAD", 9}}) {
        AddRow(CurrencyBlk::Number, CurrencyRow::Size, [&](uint8_t *r) {
            PutText(r, CurrencyRow::Code, 5, code);
            PutU16(r, CurrencyRow::Decimals, (uint16_t)decimals);
        });
    }
    std::string got;
    for (const char *code : {"JPY", "BHD", "XYZ", "", "EURUSD", "jpy", "BAD"})
        got += std::to_string(DocumentDecimals(P(code)));
    EXPECT_EQ(got, "0311113");
}

}  // namespace
