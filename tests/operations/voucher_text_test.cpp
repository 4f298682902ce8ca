// The text line of a document's voucher: the party, the currency and its
// rate only for a document in a currency, cut to the voucher's field.
#include <string>

#include "operations/voucher_text.h"
#include "tests/rules/rules_fixture.h"

namespace {

class VoucherTextTest : public RulesFixture {
protected:
    static std::string Of(const uint8_t *p) { return std::string((const char *)p + 1, p[0]); }
    static const uint8_t *P(uint8_t *buffer, const std::string &text) {
        PStringFromC(buffer, text.c_str());
        return buffer;
    }
    uint8_t code[256], name[256], currency[256], text[256];
};

TEST_F(VoucherTextTest, PartyTextNamesCurrencyAndRateOnlyForAForeignDocument) {
    PartyVoucherText(P(code, "C1"), P(name, "Customer"), P(currency, ""), Dec(100), text);
    EXPECT_EQ(Of(text), "C1 Customer");
    PartyVoucherText(code, name, P(currency, "EUR"), Dec(1125), text);
    EXPECT_EQ(Of(text), "C1 Customer, EUR 1125,00");
}

TEST_F(VoucherTextTest, PartyTextIsCutToSixtyCharacters) {
    const std::string longName(70, 'N');
    PartyVoucherText(P(code, "V4"), P(name, longName), P(currency, "EUR"), Dec(1125), text);
    EXPECT_EQ(Of(text), "V4 " + longName.substr(0, 57));   // the rate is cut off too
}

TEST_F(VoucherTextTest, CurrencyRateFollowsTheSeparatorAndHomeCurrencyAddsNothing) {
    P(text, "Paid");
    AppendCurrencyRate(text, " / ", P(currency, ""), Dec(98.5));
    EXPECT_EQ(Of(text), "Paid");
    AppendCurrencyRate(text, " / ", P(currency, "USD"), Dec(98.5));
    EXPECT_EQ(Of(text), "Paid / USD 98,50");
    P(text, std::string(80, 'x'));
    CutVoucherText(text);
    EXPECT_EQ(text[0], 60);
}

}  // namespace
