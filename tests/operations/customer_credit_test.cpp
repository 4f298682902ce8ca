// Tests of a customer's credit limit and open balance: its own, its
// paying customer's, and a missing customer.
#include "operations/operations.h"
#include "rules/rules_types.h"
#include "tests/rules/rules_fixture.h"

namespace {

class CustomerCreditTest : public RulesFixture {
protected:
    void OpenItem(uint32_t nr, const char *customer, double amount) {
        StoreRecord(ARVc::Number, [&](uint8_t *r) {
            PutU32(r, ARVc::InvoiceNr, nr);
            PutText(r, ARVc::CustCode, 20, customer);
            PutDec(r, ARVc::OpenAmount, Dec(amount));
        });
    }
    bool Credit(const char *code, double *limit, double *balance, std::string *codeAfter) {
        RuleRecord c(CUVc::Number);
        PutText(c.record, CUVc::Code, 20, code);
        PackedDecimal l, b;
        bool found = CustomerBalanceCredit(c.record, &l, &b);
        *limit = DecIsBlank(&l) ? -1 : DecToLong(&l);
        *balance = DecIsBlank(&b) ? -1 : DecToLong(&b);
        *codeAfter = Text(c.record, CUVc::Code);
        return found;
    }
};

TEST_F(CustomerCreditTest, OwnOrPayingCustomersFigures) {
    StoreCustomer("B", "", "", 300);
    StoreCustomer("A", "", "", 1000);
    StoreCustomer("AB", "", "", 50);
    StoreCustomer("KID", "", "B", 9);
    StoreCustomer("ORPHAN", "", "GONE", 9);
    OpenItem(1, "A", 100);
    OpenItem(2, "B", 40);
    OpenItem(3, "A", 25.5);
    OpenItem(4, "AB", 7);   // a code that starts with A is another customer
    OpenItem(5, "KID", 3);
    double limit, balance;
    std::string code;
    ASSERT_TRUE(Credit("A", &limit, &balance, &code));
    EXPECT_EQ(limit, 1000);
    EXPECT_EQ(balance, 125);
    ASSERT_TRUE(Credit("KID", &limit, &balance, &code));   // the paying customer's, not its own
    EXPECT_EQ(limit, 300);
    EXPECT_EQ(balance, 40);
    EXPECT_EQ(code, "KID");
    ASSERT_TRUE(Credit("ORPHAN", &limit, &balance, &code));   // a payer that does not exist: no limit
    EXPECT_EQ(limit, -1);
    EXPECT_EQ(balance, -1);
    EXPECT_FALSE(Credit("NOBODY", &limit, &balance, &code));
    EXPECT_EQ(code, "");
    EXPECT_EQ(limit, -1);
}

}  // namespace
