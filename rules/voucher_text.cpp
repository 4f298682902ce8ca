// voucher_text.cpp - the vouchers' sections of the text exchange: the
// export of all vouchers and the writer and reader of one. Not built yet.
#include "exchange/text_exchange.h"
#include "rules/ledger_text.h"

// Writes every voucher ("trans3"). Not built yet: told, the job stopped.
void ExportVouchersText()
{
    ExchangeExportNotBuilt();
}

// Writes one voucher. Not built yet: told, the job stopped.
void WriteVoucherText(const uint8_t *voucher)
{
    ExchangeExportNotBuilt();
}

// Reads one voucher. Not built yet: told, false.
bool ReadVoucherText(uint8_t *voucher, int version)
{
    ExchangeImportNotBuilt();
    return false;
}
