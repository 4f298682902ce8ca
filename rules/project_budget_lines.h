// project_budget_lines.h - the budgets of one project read in item order
// (time budgets, register 68; cost budgets, register 72) and the budget
// amounts of a project that the project budget report prints.
#pragma once

#include <cstdint>

#include "core/decimal.h"

// Walks the budgets of reg (68 or 72) of the project with code (a
// PString), in item order, calling each until it gives false. false when
// each stopped the walk; true when every budget was seen (none for an
// empty code).
bool ProjectBudgetWalk(int reg, const uint8_t *code, bool (*each)(const uint8_t *budget, void *data), void *data);

// The budget amounts of the project with code: time of its time budgets,
// cost of its cost budgets and rows of its time-budget rows, each the
// invoiced amounts (when invoiced) plus the amounts still to invoice
// (when toInvoice). Every sum starts at zero.
void ProjectBudgetLines(const uint8_t *code, bool invoiced, bool toInvoice, PackedDecimal *time, PackedDecimal *cost,
                        PackedDecimal *rows);
