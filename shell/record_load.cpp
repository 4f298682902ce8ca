// record_load.cpp - putting a record into a record window: loading by
// id, a new record, a copy as new, browsing, reading again, and finding by
// a typed key.
#include "database/access/record_access.h"
#include "shell/record_commands.h"

// Loads record `recordId` into n, or clears it; loads nothing here.
void WinLoadRecord(int n, uint32_t recordId) {}

// Starts a new record in n; false here.
bool WinNewRecord(int n) { return false; }

// Makes n's record a new record with its values; nothing here.
void WinCopyAsNew(int n) {}

// Shows the next record of n's register; nothing here.
void WinRecordNext(int n) {}

// Shows the previous record of n's register; nothing here.
void WinRecordPrev(int n) {}

// Reads n's record again as stored; refuses here.
int WinRereadRecord(int n) { return RecRefused; }

// Finds the record of n's typed key and shows it; nothing here.
void WinFindByTypedKey(int n) {}
