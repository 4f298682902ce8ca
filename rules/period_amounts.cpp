// period_amounts.cpp - month indexes and the period blocks of balance
// records in memory.
#include "rules/ledger.h"

// The month index of a date for report reads.
uint16_t MonthIndex(const DateRec *date) {
    return 0;
}

// The month index of a booking date; false outside the balances' range.
bool MonthIndexChecked(const DateRec *date, uint16_t *month) {
    if (month) *month = 0;
    return false;
}

// Tells whether the balances can hold a booking date.
bool DateAllowed(const DateRec *date) {
    return false;
}

// Adds an amount into a period block.
bool AddToPeriodAmount(MemBlock *block, int kinds, int kind, uint16_t month, const PackedDecimal *amount) {
    return false;
}

// The balance at the end of a month.
void PeriodBalanceAt(MemBlock block, int kinds, int kind, uint16_t month, PackedDecimal *result) {
    if (result) DecSetBlank(result);
}

// The balance before a month.
void PeriodBalanceBefore(MemBlock block, int kinds, int kind, uint16_t month, PackedDecimal *result) {
    if (result) DecSetBlank(result);
}

// The change of the balance over a run of months.
void PeriodBalanceChange(MemBlock block, int kinds, int kind, uint16_t m1, uint16_t m2, PackedDecimal *result) {
    if (result) DecSetBlank(result);
}
