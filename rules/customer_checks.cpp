// customer_checks.cpp - the codes a customer keeps for its sales
// documents: currency, language, salesperson, price list, delivery terms
// and mode, VAT code, objects, group and payer. Each is copied into every
// invoice, order and quotation made for the customer, so a code that names
// nothing the company keeps would be carried silently into each of them;
// it is refused when the customer is stored, at that field.
//
// An empty code is always accepted (it means "none" or "the company's
// default"). A customer being changed is held only to the codes the user
// changed: one stored earlier with a code whose record has since been
// deleted may still be edited in its other fields.
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
#include "rules/checks.h"
#include "rules/ledger.h"
#include "rules/vat_currency.h"

namespace {

// True when a row of the languages block (181) has this code.
bool LanguageExists(const uint8_t *code)
{
    MemBlock rows = 0;
    if (!SettingsBlockFetch(&rows, LanguageBlk::Number) || !rows) return false;
    uint8_t *data = nullptr;
    int32_t count = 0;
    MemArrayLock(rows, LanguageBlk::Rows::Size, &data, &count);
    bool found = false;
    uint8_t known[256];
    for (int32_t i = 0; data && i < count && !found; i++) {
        GetPString(data + (size_t)i * LanguageBlk::Rows::Size, LanguageBlk::Rows::Code, 5, known);
        found = PStringEqual(known, code);
    }
    if (data) MemUnlock(rows);
    MemFree(&rows);
    return found;
}

// True when register reg keeps a record whose code (at byte `at`, at most
// max characters, the register's first index) is code.
bool RecordWithCode(int reg, uint32_t at, int max, const uint8_t *code)
{
    RuleRecord rec(reg);
    return ProjectReadByCode(rec, at, max, code);
}

// A code field of the customer and how it is known.
struct CodeField {
    uint32_t at;
    int max;
    int refused;                        // the text told when it names nothing
    bool (*known)(const uint8_t *code);
};

bool CurrencyKnown(const uint8_t *c) { return IsCurrencyCode(c); }
bool LanguageKnown(const uint8_t *c) { return LanguageExists(c); }
bool PersonKnown(const uint8_t *c) { return RecordWithCode(PEVc::Number, PEVc::Code, 5, c); }
bool PriceListKnown(const uint8_t *c) { return RecordWithCode(PriceListVc::Number, PriceListVc::Code, 5, c); }
bool DelTermsKnown(const uint8_t *c) { return RecordWithCode(DTVc::Number, DTVc::Code, 5, c); }
bool DelModeKnown(const uint8_t *c) { return RecordWithCode(DelModeVc::Number, DelModeVc::Code, 5, c); }
bool VatCodeKnown(const uint8_t *c) { return IsVatCode(c); }
// The objects field may hold a short list ("P1,K2"): every code must be an object.
bool ObjectsKnown(const uint8_t *list)
{
    int position = 1;
    while (position <= list[0]) {
        uint8_t code[ObjectCodeMax + 1];
        NextObjectCode(list, &position, code);
        if (code[0] > 0 && !RecordWithCode(OBVc::Number, OBVc::Code, ObjectCodeMax, code)) return false;
    }
    return true;
}
bool GroupKnown(const uint8_t *c) { return RecordWithCode(CustGroupVc::Number, CustGroupVc::Code, 5, c); }
bool CustomerKnown(const uint8_t *c) { return RecordWithCode(CUVc::Number, CUVc::Code, 20, c); }

// In the order of the window's fields, so that the first refused is the
// first the user meets. The discount matrix (register 66) has no index
// to find a code by, so its code is not checked here.
const CodeField CustomerCodes[] = {
    {CUVc::CustGroup, 5, Texts::CodeUnknown, GroupKnown},
    {CUVc::CurncyCode, 5, Texts::CurrencyUnknown, CurrencyKnown},
    {CUVc::LangCode, 5, Texts::CodeUnknown, LanguageKnown},
    {CUVc::SalesMan, 5, Texts::TimePersonMissing, PersonKnown},
    {CUVc::PriceList, 5, Texts::CodeUnknown, PriceListKnown},
    {CUVc::VatCode, 2, Texts::CodeUnknown, VatCodeKnown},
    {CUVc::DelTerms, 5, Texts::CodeUnknown, DelTermsKnown},
    {CUVc::DelMode, 5, Texts::CodeUnknown, DelModeKnown},
    {CUVc::Objects, 5, Texts::CodeUnknown, ObjectsKnown},
};

// The code at `at` of the customer into code; false when it is empty or,
// in a change (mode 2), the same as the stored customer's.
bool ChangedCode(const uint8_t *customer, const uint8_t *stored, int mode, uint32_t at, int max, uint8_t *code)
{
    GetPString(customer, at, max, code);
    if (code[0] == 0) return false;
    if (mode != 2 || !stored) return true;
    uint8_t before[256];
    GetPString(stored, at, max, before);
    return !PStringEqual(before, code);
}

}  // namespace

// Refuses the first code of the customer that names nothing the company
// keeps (0 when every code is empty, unchanged or known). mode 2 checks
// only the codes that differ from the stored customer.
int CheckCustomerCodes(const uint8_t *customer, const uint8_t *stored, int mode)
{
    assert(customer);
    uint8_t code[256], own[256];
    for (const CodeField &f : CustomerCodes)
        if (ChangedCode(customer, stored, mode, f.at, f.max, code) && !f.known(code))
            return FieldError(f.refused, nullptr, f.at);
    // The payer may be the customer itself, which a new customer is not yet.
    GetPString(customer, CUVc::Code, 20, own);
    if (ChangedCode(customer, stored, mode, CUVc::PayerCode, 20, code) && !PStringEqual(code, own) &&
        !CustomerKnown(code))
        return FieldError(Texts::CodeUnknown, nullptr, CUVc::PayerCode);
    return 0;
}
