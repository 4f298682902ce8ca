// project_budgets.cpp - project budgets and time sheets: their totals,
// row prices, quotation rows carried into budgets, and project codes.
#include "rules/projects.h"

// Leaves the budget's totals as they are.
void TimeBudgetTotals(uint8_t *budget) {}

// Leaves the budget's totals as they are.
void CostBudgetTotals(uint8_t *budget) {}

// Leaves the time sheet's total as it is.
void TimeSheetTotal(uint8_t *sheet) {}

// Knows no price: price blank.
void TimeBudgetRowPrice(const uint8_t *project, const uint8_t *item, const uint8_t *rowCode, PackedDecimal *price) {
    DecSetBlank(price);
}

// Stores nothing: false.
bool QuotationRowsBatch(const uint8_t *selection) { return false; }

// Stores nothing: false.
bool QuotationRowsBatchCall(uint8_t *selection) { return false; }

// Stores nothing: false.
bool QuotationToTimeBudget(const uint8_t *project, const uint8_t *item, const PackedDecimal *price,
                           const PackedDecimal *qty, const PackedDecimal *percent, int unused, const uint8_t *text) {
    return false;
}

// Stores nothing: false.
bool QuotationToCostBudget(const uint8_t *project, const uint8_t *item, const PackedDecimal *price,
                           const PackedDecimal *qty, const PackedDecimal *percent, int unused, const uint8_t *text) {
    return false;
}

// Finds no item: text empty.
void ItemTextField(const uint8_t *item, uint8_t *text) { text[0] = 0; }

// Proposes no code: false.
bool NextProjectCode(uint8_t *code) { return false; }
