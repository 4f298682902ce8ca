// ledger_reports.h - services of the ledger reports that other folders
// call: the voucher's print-out on a form and the ledger's report
// calculations. Code lists and budget amounts are the rules'
// (rules/code_budgets.h).
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"
#include "core/memblock.h"
#include "rules/code_budgets.h"

struct ReportJob;

// Prints a voucher on a form (doctype 25; other numbers print nothing);
// false when nothing was printed.
bool FormPrintVoucher(int16_t doctype, const uint8_t *record);

// ---- The job record's check (report_check.cpp) ----

// Checks a whole job record before a report runs, putting the
// month indexes and the sorted object list back into it; false when
// refused: one message told, FieldErrorPos set where a field is at fault.
bool CheckReportParameters(uint8_t *params);
// The check the output layer calls for a job record that runs elsewhere
// (the period and object-list steps and report 21's whole months).
bool ReportParamsCheckBody(uint8_t *params);

// ---- Balances, budgets and column amounts (balances.cpp, column_amounts.cpp, report_year.cpp) ----
// block: a balance record's period handle (BLVc::Periods), 0 to find it;
// secondKind: 1 to take kind-1 postings only.

// The fiscal year's first day and whether the period starts after it
// (set by ReportFiscalYear only).
extern DateRec YearStart;
extern uint8_t YearToDate;
// The balance of account and objects at the end of date.
void AccountBalanceAt(const uint8_t *account, const uint8_t *objects, const DateRec *date, MemBlock block,
                      int secondKind, PackedDecimal *out);
// The balance of account and objects before date.
void AccountBalanceBefore(const uint8_t *account, const uint8_t *objects, const DateRec *date, MemBlock block,
                          int secondKind, PackedDecimal *out);
// The movement of account and objects over the days from..to.
void AccountBalanceChange(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                          MemBlock block, int secondKind, PackedDecimal *out);
// The opening balance of account and objects for the fiscal year of date;
// false (out blank) when none is stored.
bool AccountOpeningBalance(const uint8_t *account, const uint8_t *objects, const DateRec *date, MemBlock block,
                           int secondKind, PackedDecimal *out);
// Finds the balance record (register 17) of account and objects into
// record; false when there is none.
bool BalanceRecordFind(const uint8_t *account, const uint8_t *objects, uint8_t *record);
// The value balance of item (kinds 12 and 112) at the end of date.
void ValueBalanceAt(const uint8_t *item, const uint8_t *record, int kind, int column, const DateRec *date,
                    MemBlock block, PackedDecimal *out);
// The value balance of item before date.
void ValueBalanceBefore(const uint8_t *item, const uint8_t *record, int kind, int column, const DateRec *date,
                        MemBlock block, PackedDecimal *out);
// The value movement of item over the days from..to.
void ValueBalanceChange(const uint8_t *item, const uint8_t *record, int kind, int column, const DateRec *from,
                        const DateRec *to, MemBlock block, PackedDecimal *out);
// The opening, movement and closing amounts of account and objects over
// the running job record's period (CurrentJobRecord(): the formula
// functions call this without a job at hand).
void AccountPeriodAmounts(const uint8_t *account, const uint8_t *objects, PackedDecimal *opening,
                          PackedDecimal *movement, PackedDecimal *closing);
// The three column amounts a, b, c of account and objects by the running
// job record's report and layout (CurrentJobRecord(): the balance export
// calls this outside a report run).
void AccountColumnAmounts(const uint8_t *account, const uint8_t *objects, PackedDecimal *a, PackedDecimal *b,
                          PackedDecimal *c);
// Sets YearStart and YearToDate from the job record's period and the
// fiscal years.
void ReportFiscalYear(const uint8_t *selection);
// The same day of the next month (the month's last day where it has fewer).
void DateNextMonth(const DateRec *date, DateRec *out);
// The last day of date's month.
void DateMonthEnd(const DateRec *date, DateRec *out);

// ---- Vouchers on paper (voucher_print.cpp, voucher_lists.cpp) ----

// Rows printed by the voucher print-out (style-0 rows counted).
extern int32_t VoucherRowCounter;
// Prints a voucher with its heads and rows for report `report`.
void PrintVoucher(int report, const uint8_t *voucher);
// Prints one voucher row; adds a style-0 row's positive amount to
// debitTotal. vatSummary is for a later report and is 0 here.
void PrintVoucherRow(int report, const uint8_t *voucher, const uint8_t *row, PackedDecimal *debitTotal,
                     MemBlock vatSummary);
// The heading line, `height` high, over a journal's voucher rows as
// PrintVoucherRow prints them: the credit amounts at stop 5, the rows'
// VAT codes at the right edge.
void VoucherRowsHeading(int height);
// Prints one voucher now on the printer as report `report`, the user's
// job record kept as it was.
void PrintVoucherNow(int report, const uint8_t *voucher);
// Report 25: the vouchers of the job record's range, a page each.
void VoucherPrintRun(ReportJob &job);
// Report 24: the transactions by date.
void TransByDateReport(ReportJob &job);
// The voucher number ranges by series.
void VoucherNumberRanges(const uint8_t *selection);
void VoucherNumberRanges(const DateRec &from, const DateRec &to);
// Prints a register-9 layout record with its 82-byte rows and totals.
void PrintAccountRowRecord(const uint8_t *record);
// Installs the two printouts above for the operations (rules/ledger_print.h).
void LedgerPrintInstall();
