// register_hooks_invoice.cpp - the rules' entry of register 5, the sales
// invoices: checks, the steps around insert, update, store and delete,
// and the new record's defaults.
//
// Not built yet: register 5 gets no entry, so no window, import or
// conversion reaches it (an entry is installed whole or not at all).
#include "rules/register_hooks_entries.h"

// Fills register 5's entry of table. Not built yet: installs nothing.
void InstallInvoiceEntry(std::array<RegisterHooks, RegisterCount> &table) {}
