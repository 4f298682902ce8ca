// settings_windows.cpp - saving the records of settings windows (kinds 8
// and 9) and storing a settings block with the copies bound to it.
#include "database/access/record_access.h"
#include "shell/record_commands.h"

// Saves n's record by its kind; false here.
bool WinSaveRecord(int n) { return false; }

// Saves the settings record of n; false here.
bool WinSaveSettingsRecord(int n) { return false; }

// Stores a settings block from a buffer; refuses here: nothing is stored.
int SettingsRecordStore(int block, const uint8_t *buffer, uint32_t size) { return RecStoreFailed; }
