// register_hooks_sales.cpp - the register entries of contracts (45),
// quotations (55) and register 56.
#include "rules/register_hooks_entries.h"

// Leaves the entries of 45, 55 and 56 empty.
void InstallSalesDocEntries(std::array<RegisterHooks, RegisterCount> &table) {}
