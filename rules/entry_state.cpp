// entry_state.cpp - reading and saving the entry state of the company.
#include "rules/entry_state.h"

DateRec DefaultTransDate;

// Reads the entry defaults of the open company; 1 when done, 0 on failure.
int InitEntryState() { return 0; }

// Saves the number-series defaults of the open company.
void SaveSeriesState() {}
