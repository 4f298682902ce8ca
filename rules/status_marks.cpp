// status_marks.cpp - the status marks of productions and stock
// movements.
#include "rules/documents.h"

// Leaves the production's mark as it is.
void StatusMarkProduction(uint8_t *production) {}

// Leaves the movement's mark as it is.
void StatusMarkStockMovement(uint8_t *move) {}
