// register_sections.cpp - the sections of whole registers, of number and
// key ranges, and the reading of a register's records. Not built yet:
// every entry refuses.
#include "exchange/text_exchange.h"

uint32_t ImportHoldRecords = 10;

// Writes every record of a register. Not built yet: told, the job stopped.
void RegExportAll(int reg)
{
    ExchangeExportNotBuilt();
}

// Writes the records of a number range. Not built yet: told, the job stopped.
void RegExportNumberRange()
{
    ExchangeExportNotBuilt();
}

// Writes the records of a key range. Not built yet: told, the job stopped.
void RegExportKeyRange(int reg)
{
    ExchangeExportNotBuilt();
}

// Reads and stores a section's records. Not built yet: told, aborted.
void RegImportRecords(int reg, uint16_t version, uint8_t replace)
{
    ExchangeImportNotBuilt();
}
