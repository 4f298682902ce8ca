// Tests of currency rates: the rate in force on a date, the answers for a
// currency without rates and for no currency, and a client that cannot
// reach its server.
#include "database/access/transport.h"
#include "rules/prices.h"
#include "tests/rules/rules_fixture.h"

namespace {

class CurrencyRateTest : public RulesFixture {
protected:
    static PackedDecimal RateOn(const char *currency, DateRec date) {
        uint8_t code[256];
        PStringFromC(code, currency);
        PackedDecimal rate;
        CurrencyRateLocal(code, &date, &rate);
        return rate;
    }
};

TEST_F(CurrencyRateTest, TheLatestRateOnOrBeforeTheDateApplies) {
    StoreRate("EUR", DateRec{1, 3, 2024}, 1150);
    StoreRate("EUR", DateRec{1, 5, 2024}, 1170);
    StoreRate("USD", DateRec{1, 1, 2024}, 1000);   // another currency sorts after EUR
    StoreRate("DKK", DateRec{1, 6, 2024}, 150);    // and one before it
    PackedDecimal r = RateOn("EUR", DateRec{15, 4, 2024});
    EXPECT_EQ(DecCompareDouble(&r, 1150), 0);
    r = RateOn("EUR", DateRec{1, 5, 2024});
    EXPECT_EQ(DecCompareDouble(&r, 1170), 0);
    r = RateOn("EUR", DateRec{31, 12, 2030});
    EXPECT_EQ(DecCompareDouble(&r, 1170), 0);
    // Before the first EUR rate the DKK rate lies below the key: not taken.
    r = RateOn("EUR", DateRec{28, 2, 2024});
    EXPECT_FALSE(DecIsBlank(&r));
    EXPECT_EQ(DecCompareDouble(&r, 100), 0);
    r = RateOn("SEK", DateRec{1, 1, 2025});   // no rate at all
    EXPECT_EQ(DecCompareDouble(&r, 100), 0);
    r = RateOn("", DateRec{1, 1, 2025});
    EXPECT_TRUE(DecIsBlank(&r));
}

bool NoServer(uint16_t, MsgBuffer *, MsgBuffer *) { return false; }

TEST_F(CurrencyRateTest, AClientWithoutServerGetsFalseAndABlankRateNever100) {
    StoreRate("EUR", DateRec{1, 3, 2024}, 1150);
    uint8_t eur[] = {3, 'E', 'U', 'R'};
    DateRec date{1, 4, 2024};
    PackedDecimal rate = Dec(7);
    EXPECT_TRUE(CurrencyRate(eur, &date, &rate));
    EXPECT_EQ(DecCompareDouble(&rate, 1150), 0);
    RunMode = RunModeClient;
    TransportInstall(NoServer, nullptr);
    rate = Dec(7);
    EXPECT_FALSE(CurrencyRate(eur, &date, &rate));
    EXPECT_TRUE(DecIsBlank(&rate));
    EXPECT_TRUE(RemoteConnectionLost);
    TransportInstall(nullptr, nullptr);
    RunMode = 0;
}

}  // namespace
