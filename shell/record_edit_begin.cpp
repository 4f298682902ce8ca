// record_edit_begin.cpp - starting the edit of a shown record: the lock,
// and a record changed by another user meanwhile.
#include "shell/record_commands.h"
#include "shell/shell.h"

// Starts editing the record of window n; the edit state stays.
void WinBeginEdit(int n) { StateRefreshFlag = 1; }

// True when n's stored copy differs from the record as stored now; false here.
bool WinRecordDiffers(int n) { return false; }

// Puts n's stored copy back into its record; nothing here.
void WinRestoreStored(int n) {}
