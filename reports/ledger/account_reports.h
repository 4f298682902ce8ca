// account_reports.h - the ledger reports that list accounts: the general
// ledger (6), the ledger set-up list (17), the trial balances (20, 61), the
// sales-ledger account statement (60), the rate accounts (82) and the
// result by object (83), with the interest over an account's postings and
// the small services they share.
#pragma once

#include <cstdint>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"

struct ReportJob;

// ---- Bodies run by report number ----
void LedgerReport6(ReportJob &job);            // 6, general ledger
void LedgerSetupListReport(ReportJob &job);    // 17, ledger set-up list
void AccountBalanceReport(ReportJob &job);     // 20, trial balance with class subtotals
void LedgerReport60(ReportJob &job);           // 60, account statement of the sales ledger
void LedgerReport61(ReportJob &job);           // 61, six-column trial balance
void Register100Report(ReportJob &job);        // 82, rate accounts
void ObjectBalanceReport(ReportJob &job);      // 83, result by object

// ---- The general ledger's VAT summary and counter accounts ----

// One VAT code's sums: the debit sum and the credit sum as a positive amount.
struct VatSummaryEntry {
    uint8_t code[12];   // PString of at most 10 characters
    PackedDecimal debit, credit;
};
// Adds amount under code: zero or more to the debit sum, less than zero
// its magnitude to the credit sum; a new code is appended with zero sums;
// an empty code adds nothing.
void AddVatSummary(std::vector<VatSummaryEntry> &summary, const uint8_t *code, const PackedDecimal *amount);
// The accounts of the voucher's style-0 account rows whose amount has the
// opposite sign of a line on account (credit: the line's amount is below
// zero): amounts of at least 1.0 for a credit line, at most -1.0 for a
// debit; the first three joined by ",", then "..." when there are more.
void CounterAccountList(const uint8_t *voucher, const uint8_t *account, bool credit, uint8_t *out);

// ---- The ledger set-up list ----

// The statement rows (registers 25 and 26) whose account formula takes
// account: the row numbers after their register's text, joined by ",".
void StatementRowsOfAccount(const uint8_t *account, uint8_t *out);

// ---- Accounts, fiscal years and interest ----

// The type word of account (register 16); 0 when it is missing.
int AccountType(const uint8_t *account);
// The latest first day of the fiscal years of block 149; empty when none.
void LatestFiscalYearStart(DateRec *out);
// The rate record (register 102, 16 bytes into rate; its rows stay to be
// read by InterestForDays) that applies from spanStart: the one of that
// date, else the last before it. *spanEnd is the day before the code's
// next record, empty when there is none. False when no record applies.
bool InterestRateSpan(const uint8_t *rateCode, const DateRec *spanStart, uint8_t *rate, DateRec *spanEnd);
// Interest of balance over days at the rate record's rate (the first
// rate row's rate in per cent a year, blank without rows): balance x rate
// / 100 x days / 365, rounded to 2 decimals; *rateOut the rate used.
void InterestForDays(int32_t days, const PackedDecimal *balance, const uint8_t *rate, PackedDecimal *interest,
                     PackedDecimal *rateOut);
// Follows account's balance (rows holding every object of objects) day
// by day through its postings from spanStart to spanEnd, both included,
// adding the interest of each part of constant balance to *interest and
// the postings to *balance; with ReportLayout 1 a line per part. An
// opening-balance record counts only on its own object list, as the
// balances hold it. False when Esc stopped the walk or a source record's
// rows could not be read; the interest is then that of what was summed.
bool AccountInterestOverPostings(const uint8_t *account, const uint8_t *objects, const DateRec *spanStart,
                                 const DateRec *spanEnd, PackedDecimal *balance, const uint8_t *rate,
                                 PackedDecimal *interest);
