// account_block_checks_test.cpp - account lookups (existence, blocked flag,
// name, sub-ledger accounts) and the checks of the VAT-code, sales-account
// and purchase-account blocks: the first fault is refused at its field,
// or its row and column, with the text the user sees.
#include <algorithm>
#include <iterator>

#include "core/ui_text.h"
#include "rules/accounts.h"
#include "rules/vat_currency.h"
#include "tests/rules/amount_text.h"
#include "tests/rules/rules_fixture.h"

namespace {

class AccountChecks : public RulesFixture {
protected:
    // The text shown and the focus of the last refusal, as one line.
    std::string Refusal(int result) {
        std::string r = std::to_string(result) + " " + (shown.empty() ? "" : shown.back()) + " " +
                        std::to_string(FieldErrorPos.field) + "/" + std::to_string(FieldErrorPos.row) + "/" +
                        std::to_string(FieldErrorPos.column);
        shown.clear();
        return r;
    }
    // The refusal's text and field, without the row and column.
    std::string FieldRefusal(int result) {
        std::string r = Refusal(result);
        return r.substr(0, r.find('/'));
    }
};

// Unknown, empty and overlong codes are not accounts (an overlong code is
// not cut to a stored one); the blocked flag; the name cut to the width,
// or the missing-account text; sub-ledger accounts by kind and switch.
TEST_F(AccountChecks, AccountLookups) {
    StoreAccount("1910", "Cash in hand", 0);
    StoreAccount("2440", "Suppliers", 1, 1);
    StoreAccount("1234567890", "Ten characters", 0);
    std::string got;
    for (const char *code : {"1910", "2440", "1234567890", "1234567890X", "", "19"})
        got += std::to_string(AccountExists(P(code))) + std::to_string(AccountBlocked(P(code)));
    EXPECT_EQ(got, "101110000000");

    uint8_t name[16];
    std::fill(std::begin(name), std::end(name), 0xEE);
    EXPECT_TRUE(AccountNameOf(P("1910"), name, 7));
    EXPECT_EQ(S(name), "Cash in");
    EXPECT_EQ(name[8], 0xEE);   // nothing past width + 1 bytes
    EXPECT_FALSE(AccountNameOf(P("9999"), name, 15));
    EXPECT_EQ(S(name), "(unknown accoun");

    for (auto [kind, account] : {std::pair{1, "1510"}, {2, "2440"}, {3, "1930"}}) {
        AddRow(SubLedgerAccBlk::Number, SubLedgerAccBlk::Rows::Size, [&](uint8_t *r) {
            PutU16(r, SubLedgerAccBlk::Rows::Kind, (uint16_t)kind);
            PutText(r, SubLedgerAccBlk::Rows::Account, 10, account);
        });
    }
    got.clear();
    for (uint16_t sales : {0, 1}) {
        uint8_t s[SalesAccountsBlk::Size] = {}, v[PurchAccountsBlk::Size] = {};
        PutU16(s, SalesAccountsBlk::SubLedgerActive, sales);
        PutU16(v, PurchAccountsBlk::SubLedgerActive, (uint16_t)!sales);
        StoreBlock(SalesAccountsBlk::Number, s, sizeof s);
        StoreBlock(PurchAccountsBlk::Number, v, sizeof v);
        for (const char *code : {"1510", "2440", "1930", "151"}) got += std::to_string(IsSubLedgerAccount(P(code)));
    }
    EXPECT_EQ(got, "01001000");
}

// Block 208: a later duplicate is refused at its own row before the
// earlier row's missing account; then each row's accounts in order; a
// partial trailing row is not read.
TEST_F(AccountChecks, VatTableRefusesDuplicatesThenMissingAccounts) {
    StoreAccount("2610", "Output VAT", 1);
    StoreAccount("2640", "Input VAT", 1);
    auto table = [](std::initializer_list<std::array<const char *, 4>> list) {
        std::vector<uint8_t> rows(list.size() * VatCodeRow::Size, 0);
        uint8_t *r = rows.data();
        for (const auto &f : list) {
            PutText(r, VatCodeRow::Code, 2, f[0]);
            PutText(r, VatCodeRow::Account1, 10, f[1]);
            PutText(r, VatCodeRow::Account2, 10, f[2]);
            PutText(r, VatCodeRow::Account3, 10, f[3]);
            r += VatCodeRow::Size;
        }
        return rows;
    };
    std::vector<uint8_t> t = table({{"1", "9999", "", ""}, {"2", "2610", "2640", ""}, {"1", "2610", "", ""}});
    EXPECT_EQ(Refusal(CheckVatCodeAccounts(t.data(), (uint32_t)t.size())), "-1 This code is used twice. 0/2/0");
    t = table({{"1", "2610", "2640", ""}, {"2", "2610", "2641", ""}});
    EXPECT_EQ(Refusal(CheckVatCodeAccounts(t.data(), (uint32_t)t.size())),
              "-1 The account does not exist. 0/1/" + std::to_string(VatCodeRow::Account2));
    t = table({{"1", "2610", "2640", "2650"}});
    EXPECT_EQ(Refusal(CheckVatCodeAccounts(t.data(), (uint32_t)t.size())),
              "-1 The account does not exist. 0/0/" + std::to_string(VatCodeRow::Account3));
    t = table({{"1", "2610", "", ""}, {"", "", "", ""}, {"1", "9999", "", ""}});
    EXPECT_EQ(CheckVatCodeAccounts(t.data(), 2 * VatCodeRow::Size + VatCodeRow::Size / 2), 0);
    EXPECT_TRUE(shown.empty());
}

// Blocks 133 and 155: every listed account field must exist (1007 at the
// field), then every VAT code must be in block 208 (1120 at the field).
TEST_F(AccountChecks, AccountBlocksRefuseTheFirstUnknownField) {
    StoreAccount("1510", "Customers", 0);
    AddVatCode("1", 25, -1, "", "");
    uint8_t sales[SalesAccountsBlk::Size] = {};
    PutText(sales, SalesAccountsBlk::ARAcc, 10, "1510");
    PutText(sales, SalesAccountsBlk::VatCode0, 2, "1");
    EXPECT_EQ(CheckSalesAccountsBlock(sales), 0);
    PutText(sales, SalesAccountsBlk::VatCode1, 2, "9");
    PutText(sales, SalesAccountsBlk::StockDiffAcc, 10, "4999");
    EXPECT_EQ(FieldRefusal(CheckSalesAccountsBlock(sales)),
              "-1 The account does not exist. " + std::to_string(SalesAccountsBlk::StockDiffAcc));
    PutText(sales, SalesAccountsBlk::StockDiffAcc, 10, "");
    EXPECT_EQ(FieldRefusal(CheckSalesAccountsBlock(sales)),
              "-1 Unknown code. " + std::to_string(SalesAccountsBlk::VatCode1));

    uint8_t vendor[PurchAccountsBlk::Size] = {};
    PutText(vendor, PurchAccountsBlk::VatCodeT2, 2, "1");
    EXPECT_EQ(CheckVendorAccountsBlock(vendor), 0);
    PutText(vendor, PurchAccountsBlk::PrepayAcc, 10, "1511");
    PutText(vendor, PurchAccountsBlk::VatCodeT0, 2, "7");
    EXPECT_EQ(FieldRefusal(CheckVendorAccountsBlock(vendor)),
              "-1 The account does not exist. " + std::to_string(PurchAccountsBlk::PrepayAcc));
}

}  // namespace
