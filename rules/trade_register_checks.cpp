// trade_register_checks.cpp - the checks of the trade registers before a
// record is stored: a vendor (register 27) names only terms, accounts,
// currencies, languages and countries the company keeps; a stock location
// (78) books on an account that exists.
// Each check gives 0, or FieldError's -1 with the cursor's field in
// FieldErrorPos, so that the window shows the message on that field.
#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "operations/purchase_ledger.h"
#include "operations/sales_invoice.h"
#include "rules/accounts.h"
#include "rules/checks.h"
#include "rules/series_terms.h"

namespace {

constexpr int LanguageMax = 5, CodeMax = 5, AccountMax = 10, TermsMax = 2;

// True when a row of the language block (181) has code. The block is not
// kept in memory: its rows are fetched for the one look-up.
bool LanguageKnown(const uint8_t *code) {
    MemBlock rows = 0;
    if (!SettingsBlockFetch(&rows, LanguageBlk::Number) || !rows) return false;
    uint8_t *data = nullptr;
    int32_t count = 0;
    bool found = false;
    MemArrayLock(rows, LanguageBlk::Rows::Size, &data, &count);
    uint8_t known[256];
    for (int32_t i = 0; data && i < count && !found; i++) {
        GetPString(data + (size_t)i * LanguageBlk::Rows::Size, LanguageBlk::Rows::Code, LanguageMax, known);
        found = PStringEqual(known, code);
    }
    if (data) MemUnlock(rows);
    MemFree(&rows);
    return found;
}

// The text field at `at` (at most max characters) read from record.
struct Code {
    uint8_t text[256];
    Code(const uint8_t *record, uint32_t at, int max) { GetPString(record, at, max, text); }
    bool empty() const { return text[0] == 0; }
};

}  // namespace

// A vendor: a code; then, in the order the window shows them, payment
// terms of register 57 or a payment mode of block 131, a purchase account
// of the chart, a currency of block 172, a language of block 181,
// delivery terms of register 23 and a country of register 74. Each of
// them may be left empty.
int ValidateVendor(const uint8_t *vendor) {
    if (Code(vendor, VEVc::Code, 20).empty()) return FieldError(Texts::VendorCodeMissing, nullptr, VEVc::Code);
    if (Code terms(vendor, VEVc::PayTerms, TermsMax); !terms.empty() && !PaymentTermsKnown(terms.text))
        return FieldError(Texts::VendorTermsUnknown, nullptr, VEVc::PayTerms);
    if (Code account(vendor, VEVc::PurchAcc, AccountMax); !account.empty() && !AccountExists(account.text))
        return FieldError(Texts::AccountMissing, nullptr, VEVc::PurchAcc);
    if (Code currency(vendor, VEVc::CurncyCode, CodeMax); !IsCurrencyCode(currency.text))
        return FieldError(Texts::CurrencyUnknown, nullptr, VEVc::CurncyCode);
    if (Code language(vendor, VEVc::LangCode, LanguageMax); !language.empty() && !LanguageKnown(language.text))
        return FieldError(Texts::VendorLanguageUnknown, nullptr, VEVc::LangCode);
    if (Code terms(vendor, VEVc::DelTerms, CodeMax);
        !terms.empty() && !CodeInRegister(DTVc::Number, DTVc::Code, CodeMax, terms.text))
        return FieldError(Texts::VendorDelTermsUnknown, nullptr, VEVc::DelTerms);
    if (Code country(vendor, VEVc::Code594, CodeMax);
        !country.empty() && !CodeInRegister(CountryVc::Number, CountryVc::Code, CodeMax, country.text))
        return FieldError(Texts::VendorCountryUnknown, nullptr, VEVc::Code594);
    return 0;
}

// A stock location: a code, and a stock account of the chart when one is
// given (none: the stock settings' account is used).
int ValidateLocation(const uint8_t *location) {
    if (Code(location, LocationVc::Code, AccountMax).empty()) return FieldError(Texts::CodeMissing, nullptr, LocationVc::Code);
    if (Code account(location, LocationVc::StockAcc, AccountMax); !account.empty() && !AccountExists(account.text))
        return FieldError(Texts::AccountMissing, nullptr, LocationVc::StockAcc);
    return 0;
}
