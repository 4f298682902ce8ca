// voucher_print.cpp - a voucher on paper: its heads, its rows and the
// print of one voucher on the printer.
#include "reports/ledger/ledger_reports.h"

int32_t VoucherRowCounter = 0;

// Prints a voucher. Not built yet: does nothing.
void PrintVoucher(int, const uint8_t *)
{
}

// Prints a voucher row. Not built yet: does nothing.
void PrintVoucherRow(int, const uint8_t *, const uint8_t *, PackedDecimal *, MemBlock)
{
}

// Prints one voucher on the printer. Not built yet: does nothing.
void PrintVoucherNow(int, const uint8_t *)
{
}
