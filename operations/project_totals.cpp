// project_totals.cpp - the invoiced amounts a project (register 53) keeps,
// moved from an invoice's old form to its new one.
//
// Not built yet: the project totals are left as they are.
#include "operations/sales_invoice.h"

// Moves a project's invoiced amounts from oldInv to newInv. Not built
// yet: does nothing.
void UpdateProjectTotals(const uint8_t *newInv, const uint8_t *oldInv) {}
