// code_budgets.h - code lists of a selection (code_lists.cpp) and the
// budget amounts of an account for a range of days (budget_amounts.cpp).
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"

// True when code lies in list, a report's selection of codes and ranges.
bool CodeListContains(const uint8_t *code, const uint8_t *list);
// The budget (register 20) of account and objects for the days from..to,
// each budget row counted by the share of its days that fall in the range.
void BudgetInRange(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                   PackedDecimal *out);
// The same from the second budget (register 21).
void Budget2InRange(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                    PackedDecimal *out);
