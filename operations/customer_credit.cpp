// customer_credit.cpp - a customer's credit limit and open balance.
#include "operations/operations.h"

// Finds no customer: false.
bool CustomerBalanceCredit(uint8_t *customer, PackedDecimal *limit, PackedDecimal *balance) { return false; }

// Adds nothing: sum as it was.
void CustomerOpenBalance(const uint8_t *code, PackedDecimal *sum) {}
