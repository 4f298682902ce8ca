// projects.h - the budgets of projects (registers 68 and 72), time sheet
// totals, quotation rows into budgets, project codes and the prices of
// project work.
#pragma once

#include <cstdint>

#include "rules/rules_types.h"

// ---- Budgets (project_budgets.cpp) ----

void TimeBudgetTotals(uint8_t *budget);   // register 68 totals from its rows
void CostBudgetTotals(uint8_t *budget);   // register 72 totals from its rows
void TimeSheetTotal(uint8_t *sheet);      // register 54 total from its rows
// The price of a time-budget row of item with rowCode in project into price.
void TimeBudgetRowPrice(const uint8_t *project, const uint8_t *item, const uint8_t *rowCode, PackedDecimal *price);
// Carries the rows of the quotation the selection (a report-parameters
// record) names into its project's budgets and ends with the run's line
// of what it carried, or why nothing; false when a store failed.
bool QuotationRowsBatch(const uint8_t *selection);
// QuotationRowsBatch, or in client mode request 49.
bool QuotationRowsBatchCall(uint8_t *selection);
// Adds one quotation row to the time budget (or cost budget) of project;
// false when a store failed. unused is not read.
bool QuotationToTimeBudget(const uint8_t *project, const uint8_t *item, const PackedDecimal *price,
                           const PackedDecimal *qty, const PackedDecimal *percent, int unused, const uint8_t *text);
bool QuotationToCostBudget(const uint8_t *project, const uint8_t *item, const PackedDecimal *price,
                           const PackedDecimal *qty, const PackedDecimal *percent, int unused, const uint8_t *text);
// The item's name into text (a PString buffer of 256 bytes); empty when
// there is no such item.
void ItemTextField(const uint8_t *item, uint8_t *text);
// Proposes the next project code into code; false when none could be made.
bool NextProjectCode(uint8_t *code);

// ---- Prices (project_prices.cpp) ----

// The customer's own price and discount percentage of item (register 71);
// false when the customer has none.
bool CustDiscPrice(const uint8_t *customer, const uint8_t *item, PackedDecimal *price, PackedDecimal *percent);
// The price class 1..5 of customer; its price list and group into
// priceList and group.
int CustomerPriceClass(const uint8_t *customer, uint8_t *priceList, uint8_t *group);
// The price of timeItem for person in price class cls into price.
void PersonPriceClass(const uint8_t *timeItem, const uint8_t *person, int cls, PackedDecimal *price);
// The price and discount percentage of item worked by person on project.
void ProjectItemPrice(const uint8_t *project, const uint8_t *item, const uint8_t *person, PackedDecimal *price,
                      PackedDecimal *percent);
