// group_sections.cpp - the customer and supplier group registers'
// section "kgrupp2". Not built yet: refused.
#include "exchange/text_exchange.h"

// Writes a group record. Not built yet: told, the job stopped.
void WriteGroupText(int reg, const uint8_t *record)
{
    ExchangeExportNotBuilt();
}

// Reads a group section. Not built yet: told, aborted.
void GroupImport()
{
    ExchangeImportNotBuilt();
}
