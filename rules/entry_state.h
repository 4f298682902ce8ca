// entry_state.h - the entry state a company starts with: the default
// transaction date and the number-series defaults, read when a company
// opens and saved when it closes.
#pragma once

#include <cstdint>

#include "core/date.h"

extern DateRec DefaultTransDate;  // date new vouchers take
extern uint8_t EntryUserCode[6];  // the current user's code, set first by every new-record default

// Reads the entry defaults of the open company; 1 when done, 0 on failure.
int InitEntryState();
// Saves the number-series defaults of the open company.
void SaveSeriesState();
// Sets the series hints and names of session's SessionUserInfo entry
// back to empty.
void ResetSessionUserInfo(int session);
