// old_company_sections.h - the readers of the text exchange's older
// sections that the import's tag table names, the invoice import
// that creates the customers, items and users its invoices name, and what
// an import tells at its end about the records it created.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "operations/import_missing.h"

// ---- Older layouts (old_company_sections.cpp) ----
void CompanyV1Import();        // "företag1"
void SeriesV1Import();         // "serier1"
void ReminderTextsImport();    // "påmtext1"
void ReminderStatsImport();    // "påmstat"
// Lines of "påmstat" per hold: 25.
extern uint32_t NoticeHoldLines;

// ---- The invoice import with its masters (okfakt_import.cpp) ----
// "okfakt": invoices read as "fakt1" invoices; an invoice whose number is
// stored already is passed over; otherwise its missing customer, items
// and salesperson are made, it is posted and stored. The hold is renewed
// every ImportHoldRecords invoices; when a hold fails, the invoices read
// in it are stored again one by one, and those that still fail are told
// with their lines and stop the import.
void ImportInvoicesCreatingMasters();
// Invoices not stored because their writes failed, and their first lines.
struct OkInvoiceFailures {
    uint32_t count;
    uint32_t lines[8];
};
extern OkInvoiceFailures OkInvoicesNotStored;
// Forgets, before a run, the invoices lost and the records created.
void ImportMastersForget();
// Tells, at a run's end, the invoices lost and what the run created.
void ImportMastersReport();

