// bank_payments_in.h - import mode 1: a bank's file of incoming customer
// payments into customer receipts, and what the run tells at its end.
#pragma once

#include <cstdint>

// Lines kept for each kind of note.
constexpr uint32_t BankImportLinesKept = 8;

// What one run of import mode 1 did; cleared by ResetImportFlags.
struct BankImportResultRec {
    uint32_t read, stored;
    uint32_t refusedLine;   // the first line the check refused (the file stored nothing)
    int refusedFault;       // the text naming its fault, 0 none
    uint32_t notStored, notStoredLines[BankImportLinesKept];   // receipts not stored, by first line
    uint32_t overpaid, overpaidLines[BankImportLinesKept];     // payments above the open amount
    uint32_t unmatched, unmatchedLines[BankImportLinesKept];   // payments of no invoice found
    bool nothingRead;       // no line of the company's format
};
extern BankImportResultRec BankImportResult;

// Reads the whole source: checks every line, then makes the receipts.
void ImportBankPayments();
// Tells the refusal, or the receipts not stored and the payments to look at.
void BankImportReport();
// Counts a note and keeps its line among the first few.
void BankImportNote(uint32_t *count, uint32_t *lines, uint32_t line);
