// sm1_fb1_text.cpp - the voucher drafts' ("sm1") and opening balances'
// ("fb1") sections. Not built yet: refused.
#include "exchange/text_exchange.h"
#include "rules/ledger_text.h"

// Writes a draft. Not built yet: told, the job stopped.
void WriteSm1Text(const uint8_t *r)
{
    ExchangeExportNotBuilt();
}

// Reads a draft. Not built yet: told, false.
bool ReadSm1Text(uint8_t *r)
{
    ExchangeImportNotBuilt();
    return false;
}

// Writes an opening balance. Not built yet: told, the job stopped.
void WriteFb1Text(const uint8_t *r)
{
    ExchangeExportNotBuilt();
}

// Reads an opening balance. Not built yet: told, false.
bool ReadFb1Text(uint8_t *r)
{
    ExchangeImportNotBuilt();
    return false;
}

// Stores an opening balance without replacing one. Not built yet: told, false.
bool StoreFb1Record(uint8_t *r)
{
    return ExchangeNotBuilt();
}
