// code_checks.cpp - whether a code typed into a record names something the
// company keeps, and the one loop that refuses the first code of a record
// that does not.
//
// A record's code fields are listed once, as a table of CodeField in the
// order its window shows them (customer_checks.cpp, trade_register_checks.cpp,
// document_code_checks.cpp); CheckCodeFields walks the table. Each look-up
// below reads the named register by its first index, or the settings block
// that keeps the codes (currencies 172, languages 181, VAT codes, payment
// modes 131), where the records' choice lists find them too.
#include <cassert>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "operations/sales_invoice.h"
#include "rules/accounts.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

// True when register reg keeps a record whose code (at byte `at`, at most
// max characters, the first part of the register's first index) is code.
bool InRegister(int reg, uint32_t at, int max, const uint8_t *code)
{
    RuleRecord rec(reg);
    return ProjectReadByCode(rec, at, max, code);
}

// True when the code in record differs from the stored record's; always
// for a new record (mode 1, or no stored copy).
bool Changed(const uint8_t *record, const uint8_t *stored, int mode, uint32_t at, int max, const uint8_t *code)
{
    if (mode != 2 || !stored || stored == record) return true;
    uint8_t before[256];
    GetPString(stored, at, max, before);
    return !PStringEqual(before, code);
}

}  // namespace

bool KnownLanguage(const uint8_t *code)
{
    MemBlock rows = 0;
    if (!SettingsBlockFetch(&rows, LanguageBlk::Number) || !rows) return false;
    uint8_t *data = nullptr;
    int32_t count = 0;
    MemArrayLock(rows, LanguageBlk::Rows::Size, &data, &count);
    bool found = false;
    uint8_t known[256];
    for (int32_t i = 0; data && i < count && !found; i++) {
        GetText(data + (size_t)i * LanguageBlk::Rows::Size, LanguageBlk::Rows::Code, known);
        found = PStringEqual(known, code);
    }
    if (data) MemUnlock(rows);
    MemFree(&rows);
    return found;
}

bool KnownCurrency(const uint8_t *code) { return IsCurrencyCode(code); }
bool KnownVatCode(const uint8_t *code) { return IsVatCode(code); }
bool KnownAccount(const uint8_t *code) { return AccountExists(code); }
bool KnownPaymentTerms(const uint8_t *code) { return PaymentTermsKnown(code); }
bool KnownCustomer(const uint8_t *code) { return InRegister(CUVc::Number, CUVc::Code, 20, code); }
bool KnownVendor(const uint8_t *code) { return InRegister(VEVc::Number, VEVc::Code, 20, code); }
bool KnownItem(const uint8_t *code) { return InRegister(INVc::Number, INVc::Code, 20, code); }
bool KnownPerson(const uint8_t *code) { return InRegister(PEVc::Number, PEVc::Code, 5, code); }
bool KnownProject(const uint8_t *code) { return InRegister(ProjectVc::Number, ProjectVc::Code, 20, code); }
bool KnownLocation(const uint8_t *code) { return InRegister(LocationVc::Number, LocationVc::Code, 10, code); }
bool KnownCountry(const uint8_t *code) { return InRegister(CountryVc::Number, CountryVc::Code, 5, code); }
bool KnownDelTerms(const uint8_t *code) { return InRegister(DTVc::Number, DTVc::Code, 5, code); }
bool KnownDelMode(const uint8_t *code) { return InRegister(DelModeVc::Number, DelModeVc::Code, 5, code); }
bool KnownPriceList(const uint8_t *code) { return InRegister(PriceListVc::Number, PriceListVc::Code, 5, code); }
bool KnownCustomerGroup(const uint8_t *code) { return InRegister(CustGroupVc::Number, CustGroupVc::Code, 5, code); }
// The discount matrix is found by its register's "Code" index, as the
// other code registers are.
bool KnownDiscountMatrix(const uint8_t *code) { return InRegister(DiscMatrixVc::Number, DiscMatrixVc::Code, 5, code); }
bool KnownItemGroup(const uint8_t *code) { return InRegister(ITVc::Number, ITVc::Code, 5, code); }
bool KnownUnit(const uint8_t *code) { return InRegister(UnitVc::Number, UnitVc::Code, 5, code); }
bool KnownPriceFormula(const uint8_t *code) { return InRegister(PriceFormulaVc::Number, PriceFormulaVc::Code, 5, code); }
bool KnownQtyStep(const uint8_t *code) { return InRegister(QtyStepVc::Number, QtyStepVc::Code, 5, code); }
bool KnownAccessGroup(const uint8_t *code) { return InRegister(AccessVc::Number, AccessVc::Code, 5, code); }
bool KnownEmployeeType(const uint8_t *code) { return InRegister(EmpTypeVc::Number, EmpTypeVc::Code, 5, code); }

// A document's price list is a list's code or, taken from its customer
// group, a price class 1 to 5 that the prices read as a number.
bool KnownDocumentPriceList(const uint8_t *code)
{
    if (code[0] == 1 && code[1] >= '1' && code[1] <= '5') return true;
    return KnownPriceList(code);
}

// An objects field may hold a short list ("P1,K2"): every code must be an
// object.
bool KnownObjects(const uint8_t *list)
{
    int position = 1;
    while (position <= list[0]) {
        uint8_t code[ObjectCodeMax + 1];
        NextObjectCode(list, &position, code);
        if (code[0] > 0 && !InRegister(OBVc::Number, OBVc::Code, ObjectCodeMax, code)) return false;
    }
    return true;
}

// Refuses the first code of the table that names nothing: FieldError's
// -1 with its text, the cursor on its field. An empty code passes unless
// the field must be given. In a change (mode 2) only the codes that differ
// from the stored record are looked up: one stored earlier with a code
// whose record has since been deleted may still be edited in its other
// fields. 0 when every code passes.
int CheckCodeFields(std::span<const CodeField> fields, const uint8_t *record, const uint8_t *stored, int mode)
{
    assert(record);
    uint8_t code[256];
    for (const CodeField &f : fields) {
        GetPString(record, f.at, f.max, code);
        if (code[0] == 0) {
            if (f.missing) return FieldError(f.missing, nullptr, (uint16_t)f.at);
            continue;
        }
        if (Changed(record, stored, mode, f.at, f.max, code) && !f.known(code))
            return FieldError(f.refused, nullptr, (uint16_t)f.at);
    }
    return 0;
}

// Cell `column` of row `row` (whose bytes are rowBytes) of the rows at the
// record's byte `matrix`: empty, or a code that `known` finds; otherwise
// refused with `refused` at that cell.
int CheckRowCode(const uint8_t *rowBytes, uint32_t column, int max, bool (*known)(const uint8_t *), int refused,
                 uint32_t matrix, int32_t row) {
    uint8_t code[256];
    GetPString(rowBytes, column, max, code);
    if (code[0] == 0 || known(code)) return 0;
    return FieldErrorAt(refused, nullptr, uint16_t(matrix), uint16_t(row), uint16_t(column));
}

// Any code at all: for a table row whose field need only be given.
bool AnyCode(const uint8_t *) { return true; }
