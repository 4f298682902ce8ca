// text_export.cpp - the text export's run: the whole database, the
// vouchers, the groups of settings and the customer list, by export kind.
// Not built yet: every entry refuses.
#include "exchange/text_exchange.h"

// Runs export kind on the text-file device. Not built yet: refused, false.
bool RunTextExportBody(int kind)
{
    ExchangeNotBuiltReset();
    return ExchangeNotBuilt();
}

// Writes what an export kind names. Not built yet: told, the job stopped.
void ExportDatabaseText(int kind)
{
    ExchangeExportNotBuilt();
}

// Writes the header of a full export. Not built yet: told, the job stopped.
void ExportHeaderWrite()
{
    ExchangeExportNotBuilt();
}

// Writes the customer list (kind 9). Not built yet: told, the job stopped.
void CustomerListExport()
{
    ExchangeExportNotBuilt();
}
