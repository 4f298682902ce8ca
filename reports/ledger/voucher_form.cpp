// voucher_form.cpp - a voucher printed on a form by the form print run
// (document type 25).
#include "output/report_hooks.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/ledger_print.h"

// Prints the voucher record when doctype is 25 (the voucher print-out on
// the printer) and gives true; other document types print nothing: false.
bool FormPrintVoucher(int16_t doctype, const uint8_t *record) {
    if (doctype != VoucherPrintReport || !record) return false;
    PrintVoucherNow(VoucherPrintReport, record);
    return true;
}

