// ledger_print.cpp - the ledger printouts operations ask for, through
// what the ledger reports installed.
#include "rules/ledger_print.h"

#include "core/ui_text.h"

LedgerPrintRec LedgerPrint;

bool LedgerPrintVoucher(int report, const uint8_t *voucher)
{
    if (!ServiceInstalled(LedgerPrint.voucher != nullptr)) return false;
    LedgerPrint.voucher(report, voucher);
    return true;
}

bool LedgerPrintAccountRows(const uint8_t *record)
{
    if (!ServiceInstalled(LedgerPrint.accountRows != nullptr)) return false;
    LedgerPrint.accountRows(record);
    return true;
}
