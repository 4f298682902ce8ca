// accounts.cpp - lookups of accounts (register 16).
#include "rules/accounts.h"

// Tells whether an account with this code is stored.
bool AccountExists(const uint8_t *account) {
    return false;
}

// Tells whether the account is blocked; an account that cannot be read counts
// as blocked.
bool AccountBlocked(const uint8_t *account) {
    return true;
}

// Copies the account's name into name.
bool AccountNameOf(const uint8_t *account, uint8_t *name, int width) {
    if (name) name[0] = 0;
    return false;
}

// Tells whether the account is kept by a sub-ledger; one that cannot be read
// counts as kept there.
bool IsSubLedgerAccount(const uint8_t *account) {
    return true;
}
