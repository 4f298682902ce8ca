// journal_reports.h - the journal of vouchers by number or date (15) and
// the small pieces of its walk that the purchase-ledger reports share with
// it: a serial-number range, an open date range, an amount printed
// right-aligned, and the code summaries.
#pragma once

#include <cstdint>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"

struct ReportJob;

// ---- The shared walk (journal_walk.cpp) ----

// The serial-number range of SelText1: an open lower end starts at 0, an
// open upper end (-1) never stops the walk; "100" alone is 100 to 100.
struct SerialRange {
    int32_t from, to;
};
SerialRange SerialRangeOfSelection(const uint8_t *selection);
// True when serial lies past the range's upper end (signed compare).
bool SerialPastRange(int32_t serial, const SerialRange &range);
// True when date lies within from..to, a bound whose year is 0 being open.
bool DateInOpenRange(const DateRec *date, const DateRec *from, const DateRec *to);
// Writes a PackedDecimal right-aligned at x (blank as empty).
void PrintAmountAt(int x, const PackedDecimal *amount);

// ---- Code summaries (code_summary.cpp) ----

// One code's sums: the positive amounts, and the magnitudes of the
// negative ones.
struct CodeSummaryEntry {
    uint8_t code[12];   // PString of up to 10 characters
    PackedDecimal plus, minus;
};
// Codes in the order first met.
using CodeSummary = std::vector<CodeSummaryEntry>;
// Adds amount under code: zero or positive to plus, negative as its
// magnitude to minus. An empty code or a blank amount adds nothing.
void CodeSummaryAdd(CodeSummary &summary, const uint8_t *code, const PackedDecimal *amount);

// ---- Report 15 (trans_journal_report.cpp) ----

// Report 15: the vouchers with their rows by number or by transaction
// date, their sum and count, and the summaries per VAT code and account.
void TransJournalReport(ReportJob &job);
