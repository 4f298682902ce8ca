// fiscal_year_text.cpp - the fiscal years of an import: a year inserted by
// its dates, and the "yearcode1" section. Not built yet: refused.
#include "exchange/text_exchange.h"

// Inserts a fiscal year. Not built yet: told, false.
bool InsertYear(uint8_t *code, const DateRec *start, const DateRec *end)
{
    return ExchangeNotBuilt();
}

// Reads the fiscal years' section. Not built yet: told, aborted.
void YearCodeImport()
{
    ExchangeImportNotBuilt();
}
