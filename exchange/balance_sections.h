// balance_sections.h - the balance, budget and key-figure part of the text
// exchange: the older import sections of opening balances, budgets,
// results and number series, the key-figure export (kind 12) with the
// results table its formulas read, and the period statistics exports of
// the customer and item balances (kinds 7 and 8).
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/report_job.h"
#include "core/decimal.h"

// The readers of the dispatch table's balance rows, by the row's number.
enum class BalanceSection : uint16_t {
    Opening = 1,   // "insaldon2"
    BudgetOld,     // "budg" and "budget"
    BudgetV2,      // "budg1v2"
    ResultSkip,    // "fgres"
    SerialBlock,   // "tser4"
};
// Runs the reader of a balance row on the section of the current tag.
void BalanceSectionImport(int which);

// ---- Import readers (budget_sections.cpp, block_sections.cpp) ----
// Opening balances into register-51 records of at most OpeningRowsPerRecord
// rows, each numbered in its series on the day before the fiscal year.
constexpr int32_t OpeningRowsPerRecord = 99;
void OpeningBalanceImport();
// Budgets of the oldest layout: account, objects, a text per period.
void BudgetImportOld();
// Budgets of the second layout: account, objects, name, flags and amounts.
void BudgetImportV2();
// Results of an older version: read and shown, not stored.
void ResultImportSkip();
// A number-series block of the older layout: the block number on the line
// after the tag, then one range a line; the block's rows replaced.
void SerialBlockImport();
// The fiscal year the older sections date their rows in: the company's
// current year (an older company section read before sets it), else the
// fiscal year that holds today. The number of its months (0 when none).
int ImportFiscalYear(DateRec *start, DateRec *end);

// ---- Exports (key_figure_export.cpp, period_stats_export.cpp) ----
// Kind 12: the key-figure rows of block 150 from the first code of the
// range to the last, evaluated per period or over the whole selection.
void KeyFigureExport(ReportJob &job);
// Kind 7: per customer of register 1 in the code range, the movement of
// its first balance column in each period of the selection.
void PeriodStatsExport5(const ReportJob &job);
// Kind 8: per item of register 12, the movement of its second balance
// column in each period, the block written twice.
void PeriodStatsExport3(const ReportJob &job);

// The results of the key-figure rows while kind 12 runs: a row for every
// row of block 150 and a column for every period evaluated. The formula
// functions that read earlier results take them from here.
// The value of the row coded code in the current column; false (out
// blank) when no table is current, no row has the code, or it is not yet
// evaluated.
bool KeyFigureResultOfRow(const uint8_t *code, PackedDecimal *out);
// The value at (row, column) of the current table; false (out blank) when
// outside it or no table is current.
bool KeyFigureResultAt(int32_t row, int32_t column, PackedDecimal *out);
