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
// The widest account name: what a row that keeps fewer characters of it
// (the account rows keep 20) is shown with.
constexpr int AccountNameWidth = 60;
// The text a row on `account` whose own text is `rowText` (a PString) is
// shown with, into text (256 bytes): the account's whole name when the
// row's text is the beginning of it (a row keeps fewer of its characters
// than an account has), the row's own text otherwise.
void AccountRowShownText(const uint8_t *account, const uint8_t *rowText, uint8_t *text);
// AccountNameOf that also gives the account's VAT code into vat when vat
// is not null (empty for an unknown account).
bool AccountNameAndVat(const uint8_t *account, uint8_t *name, uint8_t *vat, int width);
// True when the account is kept by a sub-ledger (block 173 with the
// sub-ledger switch of block 133 on).
bool IsSubLedgerAccount(const uint8_t *account);
