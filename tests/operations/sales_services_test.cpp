// sales_services_test.cpp - the code after a code, the next customer code
// kept in block 132, and an item's serial stock over every location.
#include "operations/operations.h"
#include "tests/rules/rules_fixture.h"

namespace {

using SalesServices = RulesFixture;

std::string Next(const char *code) {
    uint8_t in[256], out[256];
    PStringFromC(in, code);
    PStringFromC(out, "untouched");
    bool ok = IncrementCode(in, out);
    return (ok ? "" : "refused:") + std::string((const char *)out + 1, out[0]);
}

// Trailing digits count up without leading zeros; a code without digits
// gets 1; a number that would pass 32 bits is refused and out untouched.
TEST_F(SalesServices, IncrementCode) {
    EXPECT_EQ(Next("K0099"), "K100");
    EXPECT_EQ(Next("ABC"), "ABC1");
    EXPECT_EQ(Next(""), "1");
    EXPECT_EQ(Next("12A7"), "12A8");
    EXPECT_EQ(Next("X2147483646"), "X2147483647");
    EXPECT_EQ(Next("X2147483647"), "refused:untouched");
    EXPECT_EQ(Next("X99999999999999999999"), "refused:untouched");
}

// The next customer code follows the one kept in block 132 and is kept
// there; when a customer has it already, the code after the highest
// customer code is taken, also when that code begins with a character
// above the ASCII range.
TEST_F(SalesServices, NextCustomerCode) {
    uint8_t out[256];
    ASSERT_TRUE(NextCustomerCode(out));
    EXPECT_EQ(PStringToStd(out), "1");
    ASSERT_TRUE(NextCustomerCode(out));
    EXPECT_EQ(PStringToStd(out), "2");
    for (const char *code : {"3", "C10", "\xC5SA7"}) {
        StoreRecord(CUVc::Number, [&](uint8_t *r) { PutText(r, CUVc::Code, 20, code); });
    }
    ASSERT_TRUE(NextCustomerCode(out));
    EXPECT_EQ(PStringToStd(out), "\xC5SA8");
    uint8_t kept[256];
    ::GetText(SeriesStateBlock, SeriesDefaultsBlk::LastCustCode, kept);
    EXPECT_TRUE(PStringEqual(kept, out));
}

// Serial stock: quantities of the item's serial at every location add up;
// other serials and items do not count.
TEST_F(SalesServices, SerialQtyTotal) {
    auto add = [&](const char *item, const char *serial, const char *loc, double qty) {
        StoreRecord(SerialStockVc::Number, [&](uint8_t *r) {
            PutText(r, SerialStockVc::ItemCode, 20, item);
            PutText(r, SerialStockVc::SerialNr, 30, serial);
            PutText(r, SerialStockVc::Location, 10, loc);
            PutDec(r, SerialStockVc::Quantity, Dec(qty));
        });
    };
    add("ITEM", "S1", "A", 1.5);
    add("ITEM", "S1", "B", 2);
    add("ITEM", "S2", "A", 10);
    add("ITEN", "S1", "A", 10);
    uint8_t item[256], serial[256];
    PStringFromC(item, "ITEM");
    PStringFromC(serial, "S1");
    PackedDecimal enough = Dec(3.5), more = Dec(3.6);
    EXPECT_TRUE(SerialQtyTotal(item, serial, &enough));
    EXPECT_FALSE(SerialQtyTotal(item, serial, &more));
}

}  // namespace
