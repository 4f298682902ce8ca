// person_payment_window.h - the person-payment window (type 476) and the
// expense window (type 475): their event handlers and the steps of their
// field logic.
#pragma once

#include <cstdint>

// Window type 476's event handler: 1 = go on / allowed, 0 = refused or done.
uint8_t Win476Event(int window, int event, void *a, void *b);
// What committing screen field `field` of a person-payment window does.
void PersonPaymentFieldChanged(int window, int field, uint8_t changed);
// The rows' total and the bank amount, redrawn.
void PersonPaymentTotalsRefresh(int window);
// The rate of the payment's currency on its date into the window, then the totals.
void PersonPaymentRateRefresh(int window, uint8_t *payment);
// The rate from the bank amount less the charges over the rows' total;
// left as it is while the rows total nothing.
void PersonPaymentRateFromAmounts(uint8_t *payment);

// Window type 475's event handler: 1 = go on / allowed, 0 = refused or done.
uint8_t Win475Event(int window, int event, void *a, void *b);
// What committing screen field `field` of an expense window does.
void ExpenseFieldChanged(int window, int field, uint8_t changed);
// The total and VAT total of the rows, redrawn; the window marked changed.
void ExpenseTotalsRefresh(int window, uint8_t *expense);
// The rate of the claim's currency on its date into the window.
void ExpenseRateRefresh(int window, uint8_t *expense);
// The person's name into the claim; 1 when the person was found.
int ExpensePersonFill(uint8_t *expense);
// The name and VAT code of row `row`'s account.
void ExpenseRowAccountLookup(int window, uint8_t *expense, int row);
