// ledger_print_install.cpp - the ledger reports' printouts installed for
// the operations that print a voucher or a voucher draft.
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger_print.h"

void LedgerPrintInstall()
{
    LedgerPrint = LedgerPrintRec{
        .voucher = PrintVoucherNow,
        .accountRows = PrintAccountRowRecord,
    };
}
