// accounts.h - lookups of accounts (register 16) that every check of the
// business rules makes.
#pragma once

#include <cstdint>

// True when an account with this code (PString) is stored.
bool AccountExists(const uint8_t *account);
// True when the account is stored and its blocked flag is set.
bool AccountBlocked(const uint8_t *account);
// Copies the account's name, cut to width characters, into name (a PString
// buffer of width + 1 bytes); an empty or unknown account gets the text
// for a missing account and false.
bool AccountNameOf(const uint8_t *account, uint8_t *name, int width);
// AccountNameOf that also gives the account's VAT code into vat when vat
// is not null (empty for an unknown account).
bool AccountNameAndVat(const uint8_t *account, uint8_t *name, uint8_t *vat, int width);
// True when the account is kept by a sub-ledger (block 173 with the
// sub-ledger switch of block 133 on).
bool IsSubLedgerAccount(const uint8_t *account);
