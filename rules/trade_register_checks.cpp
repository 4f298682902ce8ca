// trade_register_checks.cpp - the checks of the trade registers before a
// record is stored: a vendor (register 27) names only terms, accounts,
// currencies, languages, countries and objects the company keeps; a
// purchase item (56) names an item and a vendor that exist; a stock
// location (78) books on an account that exists.
// Each check gives 0, or FieldError's -1 with the cursor's field in
// FieldErrorPos, so that the window shows the message on that field.
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "rules/checks.h"

namespace {

constexpr int AccountMax = 10;

// A vendor's code, then its codes in the order its window shows them,
// each of which may be empty.
// The vendor group (VEGroup) is not among them: it is a free class that
// reports compare as text, and no register keeps vendor groups.
const CodeField VendorCodes[] = {
    {VEVc::Code, 20, 0, AnyCode, Texts::VendorCodeMissing},
    {VEVc::Country, 5, Texts::VendorCountryUnknown, KnownCountry},
    {VEVc::PayTerms, 2, Texts::VendorTermsUnknown, KnownPaymentTerms},
    {VEVc::PurchAcc, 10, Texts::AccountMissing, KnownAccount},
    {VEVc::CurncyCode, 5, Texts::CurrencyUnknown, KnownCurrency},
    {VEVc::LangCode, 5, Texts::VendorLanguageUnknown, KnownLanguage},
    {VEVc::DelTerms, 5, Texts::VendorDelTermsUnknown, KnownDelTerms},
    {VEVc::Objects, 5, Texts::ObjectUnknown, KnownObjects},
};

// A purchase item is one vendor's terms for one item: both must be given
// and exist, or the item's purchases would find terms of nobody.
const CodeField PurchaseItemCodes[] = {
    {PurchItemVc::ItemCode, 20, Texts::ItemUnknown, KnownItem, Texts::ItemCodeMissing},
    {PurchItemVc::VendCode, 20, Texts::VendorUnknown, KnownVendor, Texts::VendorCodeMissing},
};

// A stock location: a code, and a stock account of the chart when one is
// given (none: the stock settings' account is used).
const CodeField LocationCodes[] = {
    {LocationVc::Code, AccountMax, 0, AnyCode, Texts::CodeMissing},
    {LocationVc::StockAcc, AccountMax, Texts::AccountMissing, KnownAccount},
};

}  // namespace

// A vendor: a code; then, in the order the window shows them, a country
// of register 74, payment terms of register 57 or a payment mode of block
// 131, a purchase account of the chart, a currency of block 172, a
// language of block 181, delivery terms of register 23 and its object.
int ValidateVendor(const uint8_t *vendor) { return CheckCodeFields(VendorCodes, vendor, vendor, 1); }

int CheckPurchaseItemCodes(const uint8_t *record) { return CheckCodeFields(PurchaseItemCodes, record, record, 1); }

int ValidateLocation(const uint8_t *location) { return CheckCodeFields(LocationCodes, location, location, 1); }
