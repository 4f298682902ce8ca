// ledger_lines.h - what the account-listing ledger reports share: the walk
// over the accounts of a code range, the sign the company block gives an
// account type, and the printing of an amount or a record's text field on
// the current report line.
#pragma once

#include <cstdint>

#include "core/decimal.h"

// Calls each(account record) for every account (register 16, by code)
// from the first not below from through the last not above to (an empty
// to: the register's end), until each returns false or Esc is pressed.
// False when the walk was stopped.
bool WalkAccountRange(const uint8_t *from, const uint8_t *to, bool (*each)(const uint8_t *account, void *context),
                      void *context);
// True when the company block asks for the balances of accounts of type
// to be shown with the opposite sign (one flag per account type).
bool LedgerSignNegates(int type);
// amount of field type `type` right-aligned at x, in row style `style`.
void LedgerAmount(int x, const PackedDecimal *amount, int type = 2, int style = 0);
// The text field of record at offset (at most width characters) at x.
void LedgerField(int x, const uint8_t *record, uint32_t offset, int width, int align = 0);
// A line of height h holding text n at x alone.
void LedgerTextLine(int h, int x, int n);
