// voucher_import.cpp - the import of vouchers ("trans3", "transfix",
// "BFO") and of vouchers as drafts. Not built yet: refused.
#include "exchange/text_exchange.h"
#include "rules/ledger_text.h"

uint32_t ImportHoldVouchers = 5;
bool ImportSeriesTest = false;

// Reads a "trans3" section. Not built yet: told, aborted.
void ImportVouchersText()
{
    ExchangeImportNotBuilt();
}

// Reads a "transfix" section. Not built yet: told, aborted.
void ImportOldVouchersText()
{
    ExchangeImportNotBuilt();
}

// Reads a "BFO" section. Not built yet: told, aborted.
void ImportBfoText()
{
    ExchangeImportNotBuilt();
}

// Stores an imported voucher as a draft. Not built yet: told, false.
bool StoreImportedSm1(const uint8_t *voucher)
{
    return ExchangeNotBuilt();
}

// Turns an imported voucher into a draft. Not built yet: told, false.
bool ImportVoucherToSm1(const uint8_t *voucher)
{
    return ExchangeNotBuilt();
}
