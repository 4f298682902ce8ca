// voucher_print_kind.cpp - approve kind 12: a stored voucher printed on
// the printer as report 25.
#include "operations/voucher_print_kind.h"

#include "rules/ledger_print.h"

// Prints the voucher; the record is not changed, so nothing is stored.
ApproveResult PrintVoucherKind(int, uint8_t *voucher, uint32_t)
{
    if (voucher) (void)LedgerPrintVoucher(VoucherPrintReport, voucher);
    return ApproveResult::Unchanged;
}
