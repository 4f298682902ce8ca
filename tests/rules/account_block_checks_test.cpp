// account_block_checks_test.cpp - account lookups (existence, blocked flag,
// name, sub-ledger accounts) and the checks of the VAT-code, sales-account
// and purchase-account blocks: the first fault is refused at its field,
// or its row and column, with the text the user sees.
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "core/ui_text.h"
#include "rules/accounts.h"
#include "rules/vat_currency.h"
#include "tests/rules/rules_fixture.h"

namespace {

class AccountChecks : public RulesFixture {
protected:
    static const uint8_t *Code(const char *c) {
        static uint8_t buffers[4][256];
        static int next = 0;
        uint8_t *b = buffers[next++ % 4];
        PStringFromC(b, c);
        return b;
    }
    // One 208 row for a table built in memory, not stored.
    static void Row(std::vector<uint8_t> &rows, const char *code, const char *a1, const char *a2, const char *a3) {
        rows.resize(rows.size() + VatCodeRow::Size, 0);
        uint8_t *r = rows.data() + rows.size() - VatCodeRow::Size;
        PutText(r, VatCodeRow::Code, 2, code);
        PutText(r, VatCodeRow::Account1, 10, a1);
        PutText(r, VatCodeRow::Account2, 10, a2);
        PutText(r, VatCodeRow::Account3, 10, a3);
    }
    void ExpectRefusedAt(int result, const char *text, uint16_t field, uint16_t row, uint16_t column) {
        EXPECT_EQ(result, -1);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back(), text);
        EXPECT_EQ(FieldErrorPos.field, field);
        EXPECT_EQ(FieldErrorPos.row, row);
        EXPECT_EQ(FieldErrorPos.column, column);
        shown.clear();
    }
    void ExpectRefusedAt(int result, const char *text, uint16_t field) {
        EXPECT_EQ(result, -1);
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.back(), text);
        EXPECT_EQ(FieldErrorPos.field, field);
        shown.clear();
    }
    void SubLedgerSwitches(uint16_t sales, uint16_t vendor) {
        uint8_t s[SalesAccountsBlk::Size] = {}, v[PurchAccountsBlk::Size] = {};
        PutU16(s, SalesAccountsBlk::SubLedgerActive, sales);
        PutU16(v, PurchAccountsBlk::SubLedgerActive, vendor);
        StoreBlock(SalesAccountsBlk::Number, s, sizeof s);
        StoreBlock(PurchAccountsBlk::Number, v, sizeof v);
        SettingsBlocksReload();
    }
};

// Accounts: unknown, empty and overlong codes are not accounts (an
// overlong code is not cut down to a stored one); the blocked flag; the
// name cut to the width, or the missing-account text for none.
TEST_F(AccountChecks, AccountLookups) {
    StoreAccount("1910", "Cash in hand", 0);
    StoreAccount("2440", "Suppliers", 1, 1);
    StoreAccount("1234567890", "Ten characters", 0);
    EXPECT_TRUE(AccountExists(Code("1910")));
    EXPECT_TRUE(AccountExists(Code("1234567890")));
    EXPECT_FALSE(AccountExists(Code("1234567890X")));
    EXPECT_FALSE(AccountExists(Code("")));
    EXPECT_FALSE(AccountExists(nullptr));
    EXPECT_FALSE(AccountExists(Code("19")));
    EXPECT_TRUE(AccountBlocked(Code("2440")));
    EXPECT_FALSE(AccountBlocked(Code("1910")));
    EXPECT_FALSE(AccountBlocked(Code("9999")));

    uint8_t name[16];
    std::fill(std::begin(name), std::end(name), 0xEE);
    EXPECT_TRUE(AccountNameOf(Code("1910"), name, 7));
    EXPECT_EQ(std::string((const char *)name + 1, name[0]), "Cash in");
    EXPECT_EQ(name[8], 0xEE);   // nothing past width + 1 bytes
    EXPECT_FALSE(AccountNameOf(Code("9999"), name, 15));
    EXPECT_EQ(std::string((const char *)name + 1, name[0]), "(unknown accoun");
    EXPECT_FALSE(AccountNameOf(Code(""), name, 0));
    EXPECT_EQ(name[0], 0);
}

// Sub-ledger accounts: kind 1 rows count while the sales ledger's switch is
// on, kind 2 rows while the purchase ledger's is on; other kinds never.
TEST_F(AccountChecks, SubLedgerAccountsFollowTheirSwitch) {
    auto listed = [&](uint16_t kind, const char *account) {
        AddRow(SubLedgerAccBlk::Number, SubLedgerAccBlk::Rows::Size, [&](uint8_t *r) {
            PutU16(r, SubLedgerAccBlk::Rows::Kind, kind);
            PutText(r, SubLedgerAccBlk::Rows::Account, 10, account);
        });
    };
    listed(1, "1510");
    listed(2, "2440");
    listed(3, "1930");
    SubLedgerSwitches(0, 0);
    EXPECT_FALSE(IsSubLedgerAccount(Code("1510")));
    EXPECT_FALSE(IsSubLedgerAccount(Code("2440")));
    SubLedgerSwitches(1, 0);
    EXPECT_TRUE(IsSubLedgerAccount(Code("1510")));
    EXPECT_FALSE(IsSubLedgerAccount(Code("2440")));
    SubLedgerSwitches(0, 1);
    EXPECT_FALSE(IsSubLedgerAccount(Code("1510")));
    EXPECT_TRUE(IsSubLedgerAccount(Code("2440")));
    SubLedgerSwitches(1, 1);
    EXPECT_FALSE(IsSubLedgerAccount(Code("1930")));
    EXPECT_FALSE(IsSubLedgerAccount(Code("151")));
    EXPECT_FALSE(IsSubLedgerAccount(Code("")));
}

// Block 208: a later duplicate is refused at its own row, before the
// earlier row's missing account; then each row's accounts in order; a
// partial trailing row is not read; a sound table passes.
TEST_F(AccountChecks, VatTableRefusesDuplicatesThenMissingAccounts) {
    StoreAccount("2610", "Output VAT", 1);
    StoreAccount("2640", "Input VAT", 1);
    std::vector<uint8_t> rows;
    Row(rows, "1", "9999", "", "");
    Row(rows, "2", "2610", "2640", "");
    Row(rows, "1", "2610", "", "");
    ExpectRefusedAt(CheckVatCodeAccounts(rows.data(), (uint32_t)rows.size()), "This code is used twice.", 0, 2,
                    VatCodeRow::Code);

    rows.clear();
    Row(rows, "1", "2610", "2640", "");
    Row(rows, "2", "2610", "2641", "");
    ExpectRefusedAt(CheckVatCodeAccounts(rows.data(), (uint32_t)rows.size()), "The account does not exist.", 0, 1,
                    VatCodeRow::Account2);
    rows.clear();
    Row(rows, "1", "2610", "2640", "2650");
    ExpectRefusedAt(CheckVatCodeAccounts(rows.data(), (uint32_t)rows.size()), "The account does not exist.", 0, 0,
                    VatCodeRow::Account3);

    rows.clear();
    Row(rows, "1", "2610", "2640", "");
    Row(rows, "", "", "", "");
    size_t whole = rows.size();
    Row(rows, "1", "9999", "", "");   // a duplicate, cut to half a row below
    EXPECT_EQ(CheckVatCodeAccounts(rows.data(), (uint32_t)(whole + VatCodeRow::Size / 2)), 0);
    EXPECT_EQ(CheckVatCodeAccounts(nullptr, 0), 0);
    EXPECT_TRUE(shown.empty());
}

// Blocks 133 and 155: every listed account field must exist (1007 at the
// field), then every VAT code must be in block 208 (1120 at the field);
// empty fields pass.
TEST_F(AccountChecks, AccountBlocksRefuseTheFirstUnknownField) {
    StoreAccount("1510", "Customers", 0);
    StoreAccount("3010", "Sales", 3);
    AddVatCode("1", 25, -1, "", "");
    uint8_t sales[SalesAccountsBlk::Size] = {};
    PutText(sales, SalesAccountsBlk::ARAcc, 10, "1510");
    PutText(sales, SalesAccountsBlk::SalesAcc0, 10, "3010");
    PutText(sales, SalesAccountsBlk::VatCode0, 2, "1");
    EXPECT_EQ(CheckSalesAccountsBlock(sales), 0);
    PutText(sales, SalesAccountsBlk::VatCode1, 2, "9");
    PutText(sales, SalesAccountsBlk::StockDiffAcc, 10, "4999");
    ExpectRefusedAt(CheckSalesAccountsBlock(sales), "The account does not exist.", SalesAccountsBlk::StockDiffAcc);
    PutText(sales, SalesAccountsBlk::StockDiffAcc, 10, "");
    ExpectRefusedAt(CheckSalesAccountsBlock(sales), "Unknown code.", SalesAccountsBlk::VatCode1);

    uint8_t vendor[PurchAccountsBlk::Size] = {};
    PutText(vendor, PurchAccountsBlk::CreditorAcc, 10, "1510");
    PutText(vendor, PurchAccountsBlk::VatCodeT2, 2, "1");
    EXPECT_EQ(CheckVendorAccountsBlock(vendor), 0);
    PutText(vendor, PurchAccountsBlk::PrepayAcc, 10, "1511");
    PutText(vendor, PurchAccountsBlk::VatCodeT0, 2, "7");
    ExpectRefusedAt(CheckVendorAccountsBlock(vendor), "The account does not exist.", PurchAccountsBlk::PrepayAcc);
    EXPECT_EQ(CheckVendorAccountsBlock(nullptr), -1);
}

}  // namespace
