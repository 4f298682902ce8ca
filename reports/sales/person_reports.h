// person_reports.h - the employee and person-entry reports: employees by
// department (102), the entry calculation previewed per employee (103),
// the entries of a department or employee summed by account (100) and
// the entries of one date with their amounts on the listed accounts of
// settings block 216, as a list (101) or a block each (104).
#pragma once

#include <cstdint>
#include <vector>

#include "core/decimal.h"

struct ReportJob;

void EmployeeDepReport(ReportJob &job);          // 102
void EmployeeDepPersonReport(ReportJob &job);    // 103
void DepPersonReport100(ReportJob &job);         // 100
// Reports 101 (block 0) and 104 (block 1).
void TransDateReport101(ReportJob &job, int block);

// The sum per listed account: the account code and its amount.
struct ListedAccountSum {
    uint8_t code[11];   // the account, a PString of at most 10 characters
    PackedDecimal amount;
};
using ListedAccountTable = std::vector<ListedAccountSum>;

// The department's name (register 61) into result; empty when none.
void DepartmentName(const uint8_t *code, uint8_t *result);
// True when one of the entry's account rows is on an account of block 216.
bool EntryHasListedAccount(const uint8_t *entry);
// The entry's sum on each listed account that it has rows on, negated:
// one line each (the account's text, the amount, text 6050), added into
// *total and, when table is given, into the table.
void ListedAccountLines(const uint8_t *entry, ListedAccountTable *table, PackedDecimal *total);
// The same lines without a table (the calculation preview of 103).
void ListedAccountLinesPreview(const uint8_t *entry, PackedDecimal *total);
// One line per row of the table: its account's block-216 text at xText
// and the amount at xAmount.
void ListedAccountSummary(const ListedAccountTable &table, int xText, int xAmount);
// One account row of a person entry: account, text, name (kind 15: the
// account's own name unless the row carries one), debit and credit.
void EntryRowLine(int kind, const uint8_t *row);
