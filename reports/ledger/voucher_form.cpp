// voucher_form.cpp - a voucher printed on a form by the form print run
// (document type 25).
//
// Not built yet: the voucher's print-out is refused (the user is told).
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "reports/ledger/ledger_reports.h"

// Prints the voucher record as doctype 25. Not built yet: tells the user
// and gives false.
bool FormPrintVoucher(int16_t doctype, const uint8_t *record) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}
