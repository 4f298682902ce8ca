// production_rows.cpp - the rows of a production from its item's
// structure.
#include "rules/stock.h"

// Finds no structure: false, the production untouched.
bool FillProductionFromStructure(uint8_t *production) { return false; }
