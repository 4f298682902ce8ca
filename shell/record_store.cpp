// record_store.cpp - storing a record window's record: trimming its rows,
// inserting or updating it, and the focus after a failed store.
#include "shell/record_commands.h"

// Stores n's record by its state; false here (nothing is stored).
bool StoreWindowRecord(int n) { return false; }

// Stores n's record and keeps the window on it; false here.
bool WinStoreAndStay(int n) { return false; }

// Trims n's empty matrix rows before a store; 0 here (nothing trimmed).
int MatrixTrimBeforeSave(int n) { return 0; }

// Inserts n's new record; false here.
bool WinInsertRecord(int n) { return false; }

// Updates n's changed record; false here.
bool WinUpdateRecord(int n) { return false; }

// Moves the focus after a failed store of n; nothing here.
void WinStoreFailedFocus(int n, int result) {}

// Focuses the screen field of n showing a record field; nothing here.
void WinGotoRecordField(int n, uint32_t field, int row, uint32_t column) {}
