// database_open.h - starting and stopping the database: the run mode,
// opening a company file locally or through a server, the steps after
// an open, closing, the two flush modes, the record import loop and the
// serial numbers of the text exchange.
#pragma once

#include <cstdint>

#include "core/work_blocks.h"

extern int16_t DbLastOpenError;     // the engine's code of the last failed open
extern int DbOpenArgument;          // the argument of the last DbOpen
extern uint32_t PendingImportSeqNr; // serial number the next import store takes

// ---- database_open.cpp ----
// Sets the run mode; returns the one before.
uint16_t SetRunMode(uint16_t mode);
// Sets the run mode to stand-alone before the network settings are read.
// Only the 16-bit mode word is written: the word stored after it belongs
// to someone else and keeps its value.
void SetRunModeLocal();
// Opens the company file of a PString name; true when open.
bool DbOpen(const uint8_t *name, int argument);
// The steps after an open: registers, settings, entry state, login.
bool DbAfterOpen(int argument, const uint8_t *name);
// Lets the user into the company just opened (server module or login);
// a refused login closes it. True when it stays open.
bool DbEnterCompany();
// Opens every register again after the file was opened.
bool DbReopenRegisters();
// Closes the database, locally or at the server.
void DbClose();
// Closes the local database file.
void DbCloseLocal();
// Ends the session at the server.
void DbCloseRemote();
// The menu command that (re)opens a company.
void DbConnectCommand();
// The database-fault abort flag: set when a file fault is reported, read
// by the runs that must stop on it, cleared by the form print run at
// each page.
bool DbAbortFlag();
void DbAbortFlagClear();
// Flushes in mode 0: the cache only.
void DbFlushQuick();
// Flushes in mode 1: everything written, header last.
void DbFlushFull();

// ---- import_run.cpp ----
// The record import loop.
void ImportRun();
// Writes a register's header line to the export file.
void ExportRegisterHeader(int reg);
// Writes a serial number to the export file.
void ExportSeqNr(uint32_t serial);
// Reads a serial number for the next import store.
void ImportSeqNr();
// Batch routine that does nothing.
void MaintenanceNoOp();

