// accounts.cpp - lookups of accounts (register 16) that the checks, the
// settings-block checks and the voucher builders make.
//
// An account code is a PString of at most ACVc code length (10); a longer
// code cannot name a stored account and is answered as unknown, never cut
// to a shorter one that might exist.
#include "rules/accounts.h"

#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/rules_types.h"

namespace {

constexpr int AccountCodeMax = 10;

// Reads the account with code `account` into record (ACVc::Size bytes);
// false for a null, empty or overlong code and for an unknown account.
bool ReadAccount(const uint8_t *account, uint8_t *record) {
    std::memset(record, 0, ACVc::Size);
    if (!account || account[0] == 0 || account[0] > AccountCodeMax) return false;
    PutText(record, ACVc::Code, account);
    return RecFindByFirstKey(ACVc::Number, record);
}

}  // namespace

// Tells whether an account with this code is stored.
bool AccountExists(const uint8_t *account) {
    uint8_t record[ACVc::Size];
    return ReadAccount(account, record);
}

// Tells whether the account is stored with its blocked flag set; an
// unknown account is not blocked (the callers refuse it as missing).
bool AccountBlocked(const uint8_t *account) {
    uint8_t record[ACVc::Size];
    return ReadAccount(account, record) && GetU16(record, ACVc::Blocked) != 0;
}

// Copies the account's name, cut to width characters, into name (width + 1
// bytes); an empty or unknown account gets the missing-account text, cut
// the same way, and false. A width outside 0..255 is taken within it.
bool AccountNameOf(const uint8_t *account, uint8_t *name, int width) {
    if (!name) return false;
    int limit = TextFieldLimit(width);
    uint8_t record[ACVc::Size];
    uint8_t text[256];
    bool found = ReadAccount(account, record);
    if (found) GetText(record, ACVc::Name, text);
    else GetUiText(text, Texts::AccountNameMissing);
    int n = text[0] > limit ? limit : text[0];
    name[0] = (uint8_t)n;
    std::memcpy(name + 1, text + 1, (size_t)n);
    return found;
}

void AccountRowShownText(const uint8_t *account, const uint8_t *rowText, uint8_t *text) {
    PStringCopy(text, rowText);
    if (text[0] == 0 || !account || account[0] == 0) return;
    uint8_t name[256];
    if (AccountNameOf(account, name, AccountNameWidth) && name[0] > text[0] && PStringPrefixEqual(text, name))
        PStringCopy(text, name);
}

// Tells whether the account is kept by a sub-ledger: listed in block 173
// with kind 1 while the sales ledger's sub-ledger switch (block 133) is on,
// or with kind 2 while the purchase ledger's (block 155) is on.
bool IsSubLedgerAccount(const uint8_t *account) {
    if (!account || account[0] == 0 || account[0] > AccountCodeMax) return false;
    const uint8_t *sales = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    const uint8_t *vendor = SettingsRecord(PurchAccountsBlk::Number, VendorAccountsBlock);
    bool salesOn = sales && GetU16(sales, SalesAccountsBlk::SubLedgerActive) != 0;
    bool vendorOn = vendor && GetU16(vendor, PurchAccountsBlk::SubLedgerActive) != 0;
    if (!salesOn && !vendorOn) return false;
    SettingsRows rows(SubLedgerAccBlk::Number, &Block173Rows, SubLedgerAccBlk::Rows::Size);
    uint8_t code[256];
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.data + (size_t)i * SubLedgerAccBlk::Rows::Size;
        GetText(row, SubLedgerAccBlk::Rows::Account, code);
        if (!PStringEqual(code, account)) continue;
        uint16_t kind = GetU16(row, SubLedgerAccBlk::Rows::Kind);
        if ((kind == 1 && salesOn) || (kind == 2 && vendorOn)) return true;
    }
    return false;
}

// AccountNameOf, and the account's own VAT code into vat (3 bytes) when
// vat is not null: empty for an empty or unknown account.
bool AccountNameAndVat(const uint8_t *account, uint8_t *name, uint8_t *vat, int width) {
    if (vat) vat[0] = 0;
    bool found = AccountNameOf(account, name, width);
    if (!found || !vat) return found;
    uint8_t record[ACVc::Size];
    if (ReadAccount(account, record)) GetText(record, ACVc::VatCode, vat);
    return found;
}
