// road_text.h - what the road tests write for an import and read back
// from printed text: a line of a tab-separated import file, and the
// lines, amounts and balances of a PDF's text as pdftotext gives it.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

// A line of a text file to import: the fields joined by tabs, `empties`
// more empty fields, ended by CR LF.
std::string ImportLine(std::initializer_list<std::string> fields, int empties = 0);

// The lines of a written file (a bank file, an export) that end in CR LF;
// a last line without its end is left out.
std::vector<std::string> FileLines(const std::filesystem::path &file);
// The digits of a shown text ("1 000,00" gives "100000").
std::string DigitsOf(const std::string &shown);
// The cells of a list row as the road reads it (ListRowsShown): its texts
// split at " | ".
std::vector<std::string> ListRowCells(const std::string &row);

// Today plus `days` as dates are typed ("dd.mm.yyyy").
std::string DayText(int days);

// The lines of text that start with `what` (blanks before it skipped).
std::vector<std::string> PrintedLinesStarting(const std::string &text, const std::string &what);
// The amounts of a printed line: each run of digits, group separators and
// an optional minus sign that holds a decimal comma, as a number.
std::vector<double> PrintedAmounts(const std::string &line);
// A statement row's amount: the last amount of the last line starting
// with `label` that has one (a row's sum line comes after the line that
// only heads its accounts); NaN when there is none.
double PrintedLastAmount(const std::string &text, const std::string &label);
// An account's closing balance in the printed trial balance, debit
// positive: the closing debit less the closing credit, the two columns
// before the balance; NaN when the account has no line.
double TrialClosingBalance(const std::string &text, const std::string &account);
