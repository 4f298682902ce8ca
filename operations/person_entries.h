// person_entries.h - the person entries (register 126) made from the
// employees (register 119): the calculation of an entry's account rows
// from the base-amount table, the employee's standing rows, the entry
// types (register 120) and the bracket tables (register 118), and the
// two batch routines that store them for every employee (17) and delete
// a range of them (18). The person reports print the same calculation.
#pragma once

#include <cstdint>
#include <vector>

#include "core/decimal.h"
#include "core/pstring.h"
#include "core/report_job.h"

// One row of the code sums: a bracket-table code and the amount summed
// for it, in order of first appearance.
struct CodeSumRec {
    uint8_t code[13];   // PString of at most 12 characters
    PackedDecimal amount;
};
using CodeSums = std::vector<CodeSumRec>;

// The row of `code` in a table of summed rows (a PString `code` and an
// `amount` each), appended with a zero amount when the table has none;
// rows stay in order of first appearance.
template <typename Row> Row &SumRowOf(std::vector<Row> &table, const uint8_t *code) {
    for (Row &r : table)
        if (PStringEqual(r.code, code)) return r;
    Row fresh{};
    PStringCopy(fresh.code, code);
    DecSetZero(&fresh.amount);
    table.push_back(fresh);
    return table.back();
}

// Adds amount into entry's account rows (register 126): nothing for a
// zero amount or an empty account; with merge into the row of the same
// account and text, else (or when there is none) into a new row; added
// when add is set, else subtracted; total follows the same way.
// False when the row could not be stored.
bool AccountRowAdd(uint8_t *entry, const uint8_t *account, const uint8_t *text, const uint8_t *name,
                   const PackedDecimal *amount, bool merge, bool add, PackedDecimal *total);
// The amount of the base-amount table at row (from 1) and column (1..4);
// zero outside the table.
void BaseAmountOf(int row, int column, PackedDecimal *result);
// Adds amount into the sums of each bracket code the entry type lists
// (its rows), appending the codes not met before.
void CodeSumsAdd(CodeSums *sums, const uint8_t *entryType, const PackedDecimal *amount);
// The bracket amount of table code for the summed base sum, put on the
// table's debit and credit accounts of entry (exchanged for a negative
// sum); text goes on the debit row when the table says so. Nothing when
// no table has the code or no bracket takes the base.
void BracketAmount(const uint8_t *code, const PackedDecimal *sum, uint8_t *entry, PackedDecimal *total,
                   const uint8_t *text);
// The bracket result alone: true with *result when a row of the table
// takes base (the last such row wins).
bool BracketResult(const uint8_t *table, const PackedDecimal *base, PackedDecimal *result);
// Fills entry's account rows for the employee: the rows it held are
// dropped first; the period of settings block 135 and the selection's
// third text choose the employee's rows. The entry is balanced at the end.
void PersonEntryCalc(const uint8_t *selection, const uint8_t *person, uint8_t *entry);

// Batch routine 17: a person entry for every employee, dated the
// selection's date (DateFrom), stored when it has account rows. False
// when a store failed or no serial number was free (told to the user).
bool MaintenanceRun17(const ReportJob &job);
// Batch routine 18: deletes the person entries of the selection's serial
// range (NumberFrom..NumberTo; nothing when either is unset). False when
// a delete failed.
bool MaintenanceRun18(const ReportJob &job);

// How the two routines show the employee or entry at hand (the busy
// message) and close it at the end; installed by the window layer,
// nothing shown while null (on a server, in tests).
struct PersonRunBusyRec {
    void (*show)(const uint8_t *text);
    void (*close)();
};
extern PersonRunBusyRec PersonRunBusy;
