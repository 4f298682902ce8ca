// database_open.cpp - run mode, opening and closing the database, and
// the flush modes.
#include "database/access/database_open.h"

int16_t DbLastOpenError;
int DbOpenArgument;

// Sets the run mode; returns the one before.
uint16_t SetRunMode(uint16_t mode) { return 0; }

// Opens the company file of a PString name; true when open.
bool DbOpen(const uint8_t *name, int argument) { return false; }

// The steps after an open: registers, settings, entry state, login.
bool DbAfterOpen(int argument, const uint8_t *name) { return false; }

// Opens every register again after the file was opened.
bool DbReopenRegisters() { return false; }

// Closes the database, locally or at the server.
void DbClose() {}

// Closes the local database file.
void DbCloseLocal() {}

// Ends the session at the server.
void DbCloseRemote() {}

// The menu command that (re)opens a company.
void DbConnectCommand() {}

// Flushes in mode 0: the cache only.
void DbFlushQuick() {}

// Flushes in mode 1: everything written, header last.
void DbFlushFull() {}
