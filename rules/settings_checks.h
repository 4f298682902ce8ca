// settings_checks.h - the checks of settings blocks before they are
// stored and what follows a stored block. Rows are the block's rows in
// memory form, size bytes of whole rows.
#pragma once

#include <cstdint>

// Checks block before it is stored: 0, or FieldErrorAt's -1 at the faulty
// row and column. The fiscal-years block gets the order codes of its new
// rows written into data, which is what is then stored.
int SettingsBlockCheck(int block, uint8_t *data, uint32_t size);
// What a stored block changes in the running program.
void SettingsBlockAfterChange(int block, const uint8_t *data, uint32_t size);
// Shows the company's changed details where windows show them; the shell
// installs it (a server without windows leaves it null).
extern void (*CompanyDetailsShownHook)();
// The checks of single blocks; 0 or -1 as SettingsBlockCheck.
int CheckBlock130Codes(const uint8_t *rows, uint32_t size);
int CheckPaymentModesBlock(const uint8_t *rows, uint32_t size);
// Gives every fiscal year without an order code one, keeping stored codes.
int CheckFiscalYearsBlock(uint8_t *rows, uint32_t size);
// Refuses rows with a number missing, a range or dates turned over and,
// with refuseOverlap, number ranges that overlap.
int CheckSeriesRows(const uint8_t *rows, uint32_t size, bool refuseOverlap);
// The same with overlaps refused: the series of every numbered register
// but the vouchers.
int CheckSeriesBlock(const uint8_t *rows, uint32_t size);
// The checks of the blocks read as closed sets or pairs
// (settings_value_checks.cpp): formats (145), the bank-file layout (224),
// the value kind (220), named periods (136) and currencies (172).
int CheckFormatBlock(const uint8_t *block, uint32_t size);
int CheckBankFileBlock(const uint8_t *block, uint32_t size);
int CheckValueKindBlock(const uint8_t *block, uint32_t size);
int CheckPeriodsBlock(const uint8_t *rows, uint32_t size);
int CheckCurrencyBlock(const uint8_t *rows, uint32_t size);
