// contract_window.h - what the contract window's files
// (contract_window.cpp, contract_rows.cpp) share.
#pragma once

#include <cstdint>

// The row cell shown by screen field F of a contract window was left
// (changed: its value differs from before): an item row is priced and
// summed like an invoice row; rows of kinds 4 and 5 recompute their
// profit; the totals follow.
void ContractRowLeft(int window, int F, uint8_t changed);
// The freight's percentage part: its home amount x its percentage / 100,
// rounded to 2 decimals; blank while the home amount is blank.
void ContractFreightPercentPart(uint8_t *contract);
