// register_hooks_entries.h - what the files of the rules' register entries
// share: the functions that fill the ledger's and the masters' entries,
// the checks every entry starts from, and the step every new-record
// default takes first.
#pragma once

#include <array>

#include "core/interface_defs.h"
#include "database/access/register_hooks.h"
#include "rules/checks.h"

// Fills the entries of registers 9, 11, 51 and 126 (register_hooks_ledger.cpp).
void InstallLedgerEntries(std::array<RegisterHooks, RegisterCount> &table);
// Fills the entries of the master registers (register_hooks_masters.cpp).
void InstallMasterEntries(std::array<RegisterHooks, RegisterCount> &table);
// Fills the entries of contracts, quotations and register 56
// (register_hooks_sales.cpp).
void InstallSalesDocEntries(std::array<RegisterHooks, RegisterCount> &table);
// Fills the entry of register 5, the sales invoices
// (register_hooks_invoice.cpp).
void InstallInvoiceEntry(std::array<RegisterHooks, RegisterCount> &table);
// The part of an entry every register with business rules starts from:
// the record layer's check, its delete check and its kept fields.
inline RegisterHooks CheckedEntry() {
    RegisterHooks h;
    h.validateRecord = ValidateRecordOf;
    h.canDelete = CanDeleteRecordOf;
    h.preserveStoredFields = PreserveStoredFieldsOf;
    return h;
}
// A register's own hooks over CheckedEntry: the three record-layer checks
// stay where own leaves them empty.
inline RegisterHooks CheckedEntryWith(RegisterHooks own) {
    const RegisterHooks checked = CheckedEntry();
    if (!own.validateRecord) own.validateRecord = checked.validateRecord;
    if (!own.canDelete) own.canDelete = checked.canDelete;
    if (!own.preserveStoredFields) own.preserveStoredFields = checked.preserveStoredFields;
    return own;
}
// Takes the current session user's code into EntryUserCode (empty when no
// session is current); every new record's defaults start with it.
void SetEntryUserCode();
// Whether a new sales document (quotation, order, invoice, contract)
// takes its prices with VAT: block 133's word, 0 while it is unread.
uint16_t PricesInclVat();
