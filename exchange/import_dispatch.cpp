// import_dispatch.cpp - the import's steps: by import mode, and in mode 0
// by section tag; the format line; the skip of a section no reader takes.
// Not built yet: every reader is told once and aborts the import.
#include "exchange/text_exchange.h"

// One step of the import. Not built yet: told, the import aborted.
void ImportTextStep()
{
    ExchangeImportNotBuilt();
}

// Reads the sections the current tag starts. Not built yet: told, aborted.
void ImportTextSection()
{
    ExchangeImportNotBuilt();
}

// Reads the format line. Not built yet: told, aborted.
void ImportFormat()
{
    ExchangeImportNotBuilt();
}

// Skips a section to its closing empty line. Not built yet: told, aborted.
void ImportSkipSection()
{
    ExchangeImportNotBuilt();
}
