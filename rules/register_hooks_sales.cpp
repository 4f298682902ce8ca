// register_hooks_sales.cpp - the register entries of contracts (45),
// quotations (55) and register 56 (an item's purchase terms from one
// vendor).
#include "rules/register_hooks_entries.h"

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "core/work_blocks.h"
#include "operations/operations.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

// The next serial number of reg dated today, drawn only stand-alone (run
// mode 0); elsewhere the record is numbered when it is inserted.
uint32_t SerialToday(int reg) {
    if (RunMode != 0) return SerialNone;
    int32_t n = NextSerialNumber(reg, &TodayDate, -1, 0);
    return n == NoFreeNumber ? SerialNone : (uint32_t)n;
}

// A new contract: number, today, prices as block 133 says, its amounts
// blank and monthly invoicing.
void ContractDefaults(int reg, uint8_t *c) {
    SetEntryUserCode();
    PutU16(c, ContractVc::InclVat, PricesInclVat());
    PutU32(c, ContractVc::SerNr, SerialToday(reg));
    PutDate(c, ContractVc::ContractDate, TodayDate);
    for (uint32_t at : {ContractVc::Freight, ContractVc::FreightHome, ContractVc::FreightPctAmount,
                        ContractVc::FreightPct, ContractVc::RoundOff, ContractVc::NetTotal, ContractVc::VatFree,
                        ContractVc::VatTotal, ContractVc::Total, ContractVc::Amount1010}) {
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(c, at, blank);
    }
    PutU16(c, ContractVc::Interval, 1);
}

// A contract copied as a new one: a new number and today's date.
void ContractDefaultsOther(int reg, uint8_t *c) {
    SetEntryUserCode();
    PutU32(c, ContractVc::SerNr, SerialToday(reg));
    PutDate(c, ContractVc::ContractDate, TodayDate);
}

// A new quotation: number, today, prices as block 133 says.
void QuotationDefaults(int reg, uint8_t *q) {
    SetEntryUserCode();
    PutU16(q, QuotationVc::InclVat, PricesInclVat());
    PutU32(q, QuotationVc::SerNr, SerialToday(reg));
    PutDate(q, QuotationVc::QTDate, TodayDate);
}

// A quotation copied as a new one is numbered when it is inserted.
void QuotationDefaultsOther(int, uint8_t *q) { PutU32(q, QuotationVc::SerNr, SerialNone); }

// Register 56 keeps only the user's code for its entry.
void Register56Defaults(int, uint8_t *) { SetEntryUserCode(); }

// Before an insert or a rewrite of register 56: its list mark.
int Register56Mark(int, uint8_t *r) {
    StatusMarkRegister56(r);
    return 1;
}
int Register56MarkUpdate(int reg, uint8_t *r, uint8_t *, uint32_t) { return Register56Mark(reg, r); }

}  // namespace

// Whether prices are entered with VAT, from block 133.
uint16_t PricesInclVat() {
    const uint8_t *block = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    return block ? GetU16(block, SalesAccountsBlk::PricesInclVat) : 0;
}

// Fills the entries of registers 45, 55 and 56, and the check of 127.
void InstallSalesDocEntries(std::array<RegisterHooks, RegisterCount> &table) {
    table[ContractVc::Number] = CheckedEntryWith({.newRecordDefaults = ContractDefaults,
        .newRecordDefaultsOther = ContractDefaultsOther});

    table[QuotationVc::Number] = CheckedEntryWith({.newRecordDefaults = QuotationDefaults,
        .newRecordDefaultsOther = QuotationDefaultsOther});

    table[PurchItemVc::Number] = CheckedEntryWith({.beforeInsert = Register56Mark,
        .beforeUpdate = Register56MarkUpdate, .newRecordDefaults = Register56Defaults});

    // A sales document keeps no number or rows to check: only its codes.
    table[SalesDocVc::Number].validateRecord = ValidateRecordOf;
}
