// ledger_reports.h - services of the ledger reports that other folders
// call: code lists of report selections, budget amounts and the
// voucher's print-out on a form.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"

// True when code lies in list, a report's selection of codes and ranges.
bool CodeListContains(const uint8_t *code, const uint8_t *list);
// The budget (register 20) of account and objects for the days from..to,
// each budget row counted by the share of its days that fall in the range.
void BudgetInRange(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                   PackedDecimal *out);
// The same from the second budget (register 21).
void Budget2InRange(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                    PackedDecimal *out);

// Prints a voucher on a form (doctype 25; other numbers print nothing);
// false when nothing was printed.
bool FormPrintVoucher(int16_t doctype, const uint8_t *record);
