// old_master_sections.h - the import's readers of the older and partial
// sections that do not go through the register readers: users by code,
// item prices, the old price-list definition, the purchase series
// numbers, number-series rows by document kind, and the single form
// definition record of import mode 3.
#pragma once

#include <cstdint>

// Which older-section reader a row of the import's dispatch table runs (its
// number with TagReader::OldMasters).
enum class OldMasterSection : uint16_t {
    PurchaseSeries = 1,   // "levSR1"
    UserOld,              // "signs1": code and name
    Salesman,             // "salesman": code, name, word 156, commission
    UserAnv,              // "anv": code and the person's other fields
    ItemPrices,           // "price1"
    PriceListOld,         // "prislista1"
    Series,               // "verserier": series rows by document kind
    SeriesWithFlag,       // "serier3": the same, and the file carries its series
};

// Runs the reader of an older section on the section of the current tag;
// each reads its lines, shows each record's key, and ends on the next
// section's tag.
void OldMasterSectionImport(OldMasterSection which);

void PurchaseSeriesImport();
void UserImportOld();
void SalesmanImport();
void UserImportAnv();
void ItemPriceImport();
void PriceListImportOld();
// withFlag: the file's number series are taken by the voucher readers.
void SeriesImport(bool withFlag);

// Import mode 3: one form definition (register 91) whose code is the
// imported file's name, without rows; an existing definition of that name
// is kept. False when nothing was stored (told).
bool ImportFileRecord();
