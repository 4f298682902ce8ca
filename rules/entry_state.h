// entry_state.h - the entry state a company starts with: the default
// transaction date and the number-series defaults, read when a company
// opens and saved when it closes.
#pragma once

#include "core/date.h"

extern DateRec DefaultTransDate;  // date new vouchers take

// Reads the entry defaults of the open company; 1 when done, 0 on failure.
int InitEntryState();
// Saves the number-series defaults of the open company.
void SaveSeriesState();
