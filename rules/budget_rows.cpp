// budget_rows.cpp - the period rows of budgets, spread by a distribution
// key or taken from the account's budget between dates.
#include "rules/ledger.h"

// Leaves the budget as it is.
void BudgetRowsByKey(uint8_t *budget) {}

// Leaves the budget as it is.
void BudgetRowsByDates(uint8_t *budget) {}
