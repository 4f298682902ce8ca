// ledger_print.h - the ledger's printouts that operations ask for: a
// stored voucher on the printer and a voucher draft with its rows.
//
// The printouts are report bodies; the ledger reports install them at
// start-up. Until then a printout asked for tells the user it is not
// available and prints nothing.
#pragma once

#include <cstdint>

// The voucher print-out: report 25 on the printer, and the one document
// type above 0 that the form print run prints.
constexpr int VoucherPrintReport = 25;

struct LedgerPrintRec {
    void (*voucher)(int report, const uint8_t *voucher);   // a register 11 voucher as report `report`
    void (*accountRows)(const uint8_t *record);           // a register 9 draft with its rows and totals
};
extern LedgerPrintRec LedgerPrint;

// Prints voucher as report `report`; false (the user told) when no
// printout is installed.
bool LedgerPrintVoucher(int report, const uint8_t *voucher);
// Prints a voucher draft with its rows and totals; false (the user told)
// when no printout is installed.
bool LedgerPrintAccountRows(const uint8_t *record);
