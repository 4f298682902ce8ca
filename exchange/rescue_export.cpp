// rescue_export.cpp - the export of every intact record of a damaged
// database to a text file (kind 28). Not built yet: refused.
#include "exchange/text_exchange.h"

// Runs the rescue export; true when it ran to its end. Not built yet:
// told, false.
bool RescueExportRun()
{
    ExchangeNotBuiltReset();
    return ExchangeNotBuilt();
}
