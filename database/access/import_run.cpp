// import_run.cpp - the record import loop and the serial numbers of the
// text exchange.
#include "database/access/database_open.h"

uint32_t PendingImportSeqNr;

// The record import loop.
void ImportRun() {}

// Writes a register's header line to the export file.
void ExportRegisterHeader(int reg) {}

// Writes a serial number to the export file.
void ExportSeqNr(uint32_t serial) {}

// Reads a serial number for the next import store.
void ImportSeqNr() {}

// Batch routine that does nothing.
void MaintenanceNoOp() {}
