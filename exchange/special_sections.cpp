// special_sections.cpp - the form definition blocks, the number series
// blocks and the key tables of the text exchange. Not built yet: refused.
#include "exchange/text_exchange.h"

// Writes a form definition block. Not built yet: told, the job stopped.
void WriteDefBlockText(int block)
{
    ExchangeExportNotBuilt();
}

// Reads a form definition block. Not built yet: told, aborted.
void ReadDefBlockText()
{
    ExchangeImportNotBuilt();
}

// Writes the number series blocks. Not built yet: told, the job stopped.
void SerialBlocksExport()
{
    ExchangeExportNotBuilt();
}

// Writes a key table. Not built yet: told, the job stopped.
void KeyBlockExport(int block)
{
    ExchangeExportNotBuilt();
}

// Reads a key table. Not built yet: told, aborted.
void KeyBlockImport()
{
    ExchangeImportNotBuilt();
}
