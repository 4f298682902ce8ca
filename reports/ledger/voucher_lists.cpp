// voucher_lists.cpp - the voucher reports: the print-out of a range, the
// transactions by date, the number ranges and the account-row record.
#include "reports/ledger/ledger_reports.h"

// Report 25. Not built yet: does nothing.
void VoucherPrintRun()
{
}

// Report 24. Not built yet: does nothing.
void TransByDateReport()
{
}

// The voucher number ranges. Not built yet: does nothing.
void VoucherNumberRanges()
{
}

// A register-9 layout record. Not built yet: does nothing.
void PrintAccountRowRecord(const uint8_t *)
{
}
