// statement_reports.h - the ledger's user-defined reports: formula-row
// reports (19, 33, 37 to 41) whose rows are formulas of the report
// language, the language's ledger functions those formulas call, and the
// statements (21, 22, 42 to 51) whose rows sum account formulas and
// earlier rows into three amount columns.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/window_kind.h"

struct ReportJob;

// ---- Formula-row reports (formula_reports.cpp) ----

// Report 19: the key-figure rows (settings block 150) of the code range
// in SelText1, from the row coded as its first end through the row coded
// as its last.
void FormulaReport19(ReportJob &job);
// Report 33: every row of settings block 156, then the voucher number
// ranges when Option5 is set.
void FormulaReport33(ReportJob &job);
// Reports 37 to 41: every row of settings block 164 + (report - 37),
// titled by SelText1, else by the report's saved selection title.
void FormulaReport37(ReportJob &job);

// Kinds of the windows that keep a report's rows.
constexpr int WindowKindList = KindCode(WindowKind::List), WindowKindSettingsRows = KindCode(WindowKind::SettingsTable);
// The line a report with no rows prints (statement_report.cpp): text
// `text` followed by the quoted title of the window of kind `kind` that
// keeps the rows: a list (kind 1) of register `number`, or a settings
// window of rows (kind 9) of block `number`.
void NoRowsLine(int text, int kind, int number, uint8_t *line);

// ---- The results of a running formula-row report (ledger_functions.cpp) ----

// Columns of the results table; its rows are the report's rows (at least
// ResultRowsMin), so that no block of rows reaches outside it.
constexpr int ResultColumns = 18, ResultRowsMin = 100;

// Makes rows (count FormulaRows of settings-block layout, locked by the
// caller) the current row list and a blank results table current; false
// when another report's table is current already.
bool FormulaRunBegin(const uint8_t *rows, int32_t count);
// Releases the table and clears the row list.
void FormulaRunEnd();
// The index of the first row of the current row list whose code equals
// code exactly; -1 when none matches or no list is current.
int32_t FindFormulaRow(const uint8_t *code);
// Stores value as row's result in the current column; false outside the table.
bool FormulaResultPut(int32_t row, const PackedDecimal *value);
// The result of row in the current column; false (out blank) when no
// table is current or row lies outside it.
bool FormulaResultAt(int32_t row, PackedDecimal *out);

// The ledger functions of the report language (14 balance, 15 movement,
// 16 the value of a row, 19 movement for an object list, 21 movement and
// 22 balance for one object): pops the arguments from the value stack
// and pushes the result as a REAL. Other numbers push nothing.
void ReportBalanceFunction(int n);
// Enters ReportBalanceFunction into the language's machine under each
// number of the ledger's range (14 to 22); the reports' install does it
// at the program's start, for every formula (statement rows, the
// key-figure export, report columns).
void ReportFunctionsInstall();
// Calls each for the account start alone (end null), or for every
// account from start through end in account order; an end below start
// walks the same accounts downward when either is set, else none. Codes
// are cut to ten characters; Esc ends the walk.
void AccountRangeWalk(const uint8_t *start, const uint8_t *end, bool either, void (*each)(const uint8_t *, void *),
                      void *context);
// Sums the account formula (account numbers as digit runs; "-" before a
// term subtracts it; ":" after a term makes the next number the end of a
// range walked upward) for objects over the job record's period.
void AccountRangeSum(const uint8_t *formula, const uint8_t *objects, PackedDecimal *opening,
                     PackedDecimal *movement, PackedDecimal *closing);

// ---- Statements (statement_report.cpp, amount_rows.cpp) ----

// The headings of a statement's three amount columns (interface texts, 0
// for a column without one) by the kind of statement (result or balance),
// its ColumnLayout and whether the result statement adds its year to
// date; whether the third takes the amount unit's suffix. A layout the
// statement does not know heads no column. The column header and the
// selection header's line naming the columns both read it.
struct StatementColumnHeads {
    int text[3];
    bool thirdSuffixed;
};
StatementColumnHeads StatementColumnTexts(bool result, int layout, bool yearToDate);

// Reports 21, 22 and 42 to 51: the statement rows of the report's row
// register, for the job record's period.
void StatementReport(ReportJob &job);
// Sums the account formula of a kind-1 row into sums[0..2] (the
// unnegated column amounts) and prints its account lines by the job
// record's detail level; rowSign negates the printed sums.
void AccountFormulaSum(int report, const uint8_t *formula, const uint8_t *label, PackedDecimal *sums, int rowSign,
                       const PackedDecimal *keyFigure);
// Sums the row formula (row numbers as digit runs, "-" subtracting) of
// entry `row` from the entries already computed: rowNumbers[i] is entry
// i's row number, -1 before its row is reached; amounts[c][i] column c.
void RowFormulaSum(int report, const uint8_t *formula, int32_t row, PackedDecimal *const amounts[3], int32_t count,
                   const int64_t *rowNumbers);
// One line: first label at x, second label at column 2, the three
// amounts laid out by the running job record's report, layout and amount
// unit (CurrentJobRecord()), negated when sign is set.
void PrintAmountRow(int x, const uint8_t *first, const uint8_t *second, const PackedDecimal *amounts, int sign,
                    const PackedDecimal *keyFigure);
// An account broken down by the objects of the running job record's ObjectType;
// amounts are the account's on entry and, without Option3, the sums of
// its objects on return.
void PrintAccountByObjects(const uint8_t *account, const uint8_t *name, PackedDecimal *amounts, int sign,
                           const PackedDecimal *keyFigure);
// The statement sign flag of the company block at index (an account type
// or a row's sign class); 0 for an index outside the flags.
int StatementSignFlag(int index);
