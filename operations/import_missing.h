// import_missing.h - the customer, items and user an imported sales
// invoice names but the company lacks, made as the invoice is stored,
// and what an import tells of them at its end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- Records an import created (import_missing.cpp) ----
// What CreateMissingCustomer, CreateMissingItems and CreateMissingUser
// made since the last import began: whether customers and items were
// made, and the codes of the users, who are made without access rights.
struct ImportCreatedRec {
    bool customers, items;
    std::vector<std::string> users;
};
extern ImportCreatedRec ImportCreated;
// Forgets what the last import created (before a run).
void ImportCreatedForget();
// Tells what the run created: the customers and items in one message,
// the users made without access rights in another, with their codes.
void ImportCreatedReport();
// For each item row of invoice whose cost is blank and whose item exists:
// the item's cost plus added cost as the row's unit cost, and the row's
// net amount in home currency less quantity times that cost as its gross
// profit.
void RowCostsFromItems(uint8_t *invoice);
