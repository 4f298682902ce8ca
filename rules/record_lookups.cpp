// record_lookups.cpp - lookups of document windows: a customer group's
// price list, the n-th text row with a code, whether a person exists.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "rules/documents.h"
#include "rules/rules_types.h"

namespace {

constexpr int CodeMax = 5;
constexpr uint32_t TextRowSize = INVc::Rows::Size;   // 68: code at 0, text at 6

// Reads the record of rec's register whose code (at most CodeMax
// characters at offset) is code; false for an empty, overlong or unknown
// code.
bool ReadByCode(RuleRecord &rec, uint32_t offset, const uint8_t *code) {
    if (!rec.record || !code || code[0] == 0 || code[0] > CodeMax) return false;
    PutPString(rec.record, offset, CodeMax, code);
    return RecFindByFirstKey(rec.reg, rec.record);
}

}  // namespace

// An empty priceList (6 bytes) takes the price list of customer group
// `group`; *setting gets the list's prices-include-VAT word (0 for a list
// that is not defined), and block 133's default when there is still no
// list.
void ResolvePriceList(const uint8_t *group, uint8_t *priceList, uint16_t *setting) {
    assert(group && priceList && setting);
    *setting = 0;
    if (priceList[0] == 0) {
        RuleRecord grp(CustGroupVc::Number);
        if (ReadByCode(grp, CustGroupVc::Code, group)) GetText(grp.record, CustGroupVc::PriceList, priceList);
    }
    if (priceList[0] == 0) {
        const uint8_t *block = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
        if (block) *setting = GetU16(block, SalesAccountsBlk::PricesInclVat);
        return;
    }
    RuleRecord def(PriceListVc::Number);
    if (ReadByCode(def, PriceListVc::Code, priceList)) *setting = GetU16(def.record, PriceListVc::InclVat);
}

// The text of the n-th (1-based) row of rows (68-byte rows: code at 0,
// text at 6) whose code is code. A code no row has counts as empty. With
// an empty code the first is defaultText itself and n >= 2 the (n-1)-th
// row with an empty code. defaultText and false when there are fewer
// (and for n below 1). Only whole rows are read.
bool NthRowWithCode(int n, uint8_t *text, MemBlock rows, const uint8_t *code, const uint8_t *defaultText) {
    assert(text && code && defaultText);
    PStringCopy(text, defaultText);
    if (n < 1) return false;
    uint8_t *data = nullptr;
    int32_t count = 0;
    if (rows && MemIsValid(rows)) MemArrayLock(rows, TextRowSize, &data, &count);
    uint8_t want[256], got[256];
    want[0] = 0;
    if (code[0] <= CodeMax) PStringCopy(want, code);   // a longer code names no row
    bool known = false;
    for (int32_t i = 0; i < count && !known && want[0] != 0; i++) {
        GetText(data + (size_t)i * TextRowSize, INVc::Rows::LangCode, got);
        known = PStringEqual(got, want);
    }
    if (!known) want[0] = 0;
    int wanted = want[0] == 0 ? n - 1 : n;   // with no code, the default text is the first
    bool found = wanted == 0;
    for (int32_t i = 0; i < count && !found; i++) {
        const uint8_t *row = data + (size_t)i * TextRowSize;
        GetText(row, INVc::Rows::LangCode, got);
        if (!PStringEqual(got, want) || --wanted > 0) continue;
        GetText(row, INVc::Rows::Text, text);
        found = true;
    }
    if (data) MemUnlock(rows);
    return found;
}

// True when a person (register 44) with this code is stored; the code is
// compared in upper case.
bool PersonExists(const uint8_t *code) {
    assert(code);
    if (code[0] == 0 || code[0] > CodeMax) return false;
    uint8_t upper[256];
    PStringCopy(upper, code);
    UpperPString(upper);
    RuleRecord person(PEVc::Number);
    return ReadByCode(person, PEVc::Code, upper);
}
