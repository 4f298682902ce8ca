// document_code_checks.cpp - the codes of a trade document that name
// other registers' records: customer or vendor, payment terms, price list,
// currency, VAT code, salesperson, language, delivery terms and mode,
// customer group, discount matrix, objects, accounts, project, location
// and freight item. A code that names nothing would be carried into the
// documents made from this one, its voucher and its printout (an invoice
// in a currency the company does not keep, a delivery by a mode nobody
// defined); it is refused when the document is stored, at its field.
//
// Each table lists a document's codes in the order of its window's
// fields, so the first refused is the first the user meets. The
// document's own check (its number, date, rows, ...) runs after these;
// where it already refused a code (the customer, the currency, a
// delivery's location) the table repeats that field with the same text so
// the order holds. Codes left empty mean "none" or "the company's
// default" and pass. A stored document is held only to the codes the user
// changed, so one stored with a code since deleted, or made by a text
// import (which stores records without these checks), may still be edited.
//
// Not checked: the contract's filter code and the sales document's cost
// code (texts compared by selections, naming no register), and the rows'
// cells (the documents' own checks read their items).
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "rules/checks.h"

namespace {

constexpr int Code = 20, Short = 5, Terms = 2, Vat = 2, Account = 10, Location = 10, Objects = 30;

// Refusal texts, one a kind of code.
constexpr int UnknownTerms = Texts::VendorTermsUnknown, UnknownLanguage = Texts::VendorLanguageUnknown,
              UnknownDelTerms = Texts::VendorDelTermsUnknown, UnknownPerson = Texts::TimePersonMissing,
              UnknownProject = Texts::TimeProjectMissing;

const CodeField InvoiceCodes[] = {
    {IVVc::CustCode, Code, Texts::CodeUnknown, KnownCustomer},
    {IVVc::PayTerms, Terms, UnknownTerms, KnownPaymentTerms},
    {IVVc::PriceList, Short, Texts::PriceListUnknown, KnownDocumentPriceList},
    {IVVc::CurncyCode, Short, Texts::CurrencyUnknown, KnownCurrency},
    {IVVc::VatCode, Vat, Texts::VatCodeUnknown, KnownVatCode},
    {IVVc::SalesMan, Short, UnknownPerson, KnownPerson},
    {IVVc::DelTerms, Short, UnknownDelTerms, KnownDelTerms},
    {IVVc::DelMode, Short, Texts::DelModeUnknown, KnownDelMode},
    {IVVc::StatCustCode, Code, Texts::CustomerUnknown, KnownCustomer},
    {IVVc::CustCat, Short, Texts::CustGroupUnknown, KnownCustomerGroup},
    {IVVc::LangCode, Short, UnknownLanguage, KnownLanguage},
    {IVVc::DiscCode2, Short, Texts::DiscMatrixUnknown, KnownDiscountMatrix},
    {IVVc::Objects, Objects, Texts::ObjectUnknown, KnownObjects},
    {IVVc::ARAcc, Account, Texts::AccountMissing, KnownAccount},
    {IVVc::Project, Code, UnknownProject, KnownProject},
    {IVVc::Location, Location, Texts::LocationUnknown, KnownLocation},
    {IVVc::FreightItem, Code, Texts::ItemUnknown, KnownItem},
    {IVVc::FreightVat, Vat, Texts::VatCodeUnknown, KnownVatCode},
    {IVVc::FreightObj, Objects, Texts::ObjectUnknown, KnownObjects},
    {IVVc::FreightAcc, Account, Texts::AccountMissing, KnownAccount},
};

// The order's objects are left to its own check, which also holds them
// to the object types block 175 requires.
const CodeField OrderCodes[] = {
    {ORVc::CustCode, Code, Texts::CodeUnknown, KnownCustomer},
    {ORVc::PayTerms, Terms, UnknownTerms, KnownPaymentTerms},
    {ORVc::PriceList, Short, Texts::PriceListUnknown, KnownDocumentPriceList},
    {ORVc::CurncyCode, Short, Texts::CurrencyUnknown, KnownCurrency},
    {ORVc::VatCode, Vat, Texts::VatCodeUnknown, KnownVatCode},
    {ORVc::SalesMan, Short, UnknownPerson, KnownPerson},
    {ORVc::LangCode, Short, UnknownLanguage, KnownLanguage},
    {ORVc::Location, Location, Texts::LocationUnknown, KnownLocation},
    {ORVc::DelTerms, Short, UnknownDelTerms, KnownDelTerms},
    {ORVc::DelMode, Short, Texts::DelModeUnknown, KnownDelMode},
    {ORVc::InvoiceTo, Code, Texts::CustomerUnknown, KnownCustomer},
    {ORVc::CustCat, Short, Texts::CustGroupUnknown, KnownCustomerGroup},
    {ORVc::DiscCode2, Short, Texts::DiscMatrixUnknown, KnownDiscountMatrix},
    {ORVc::Project, Code, UnknownProject, KnownProject},
};

const CodeField DeliveryCodes[] = {
    {SHVc::CustCode, Code, Texts::CustomerUnknown, KnownCustomer},
    {SHVc::Location, Location, Texts::CodeUnknown, KnownLocation},
    {SHVc::DelMode, Short, Texts::DelModeUnknown, KnownDelMode},
    {SHVc::Project, Code, UnknownProject, KnownProject},
    {SHVc::LangCode, Short, UnknownLanguage, KnownLanguage},
};

const CodeField PurchaseInvoiceCodes[] = {
    {VIVc::VendCode, Code, Texts::CodeUnknown, KnownVendor},
    {VIVc::PayTerms, Terms, UnknownTerms, KnownPaymentTerms},
    {VIVc::CurncyCode, Short, Texts::CurrencyUnknown, KnownCurrency},
    {VIVc::VatCode, Vat, Texts::VatCodeUnknown, KnownVatCode},
    {VIVc::CredAcc, Account, Texts::AccountMissing, KnownAccount},
    {VIVc::PayeeCode, Code, Texts::VendorUnknown, KnownVendor},
    {VIVc::Objects, Objects, Texts::ObjectUnknown, KnownObjects},
    {VIVc::Approver, Short, UnknownPerson, KnownPerson},
};

const CodeField ContractCodes[] = {
    {ContractVc::CustCode, Code, Texts::CodeUnknown, KnownCustomer},
    {ContractVc::PayTerms, Terms, UnknownTerms, KnownPaymentTerms},
    {ContractVc::PriceList, Short, Texts::PriceListUnknown, KnownDocumentPriceList},
    {ContractVc::CurncyCode, Short, Texts::CurrencyUnknown, KnownCurrency},
    {ContractVc::LangCode, Short, UnknownLanguage, KnownLanguage},
    {ContractVc::SalesMan, Short, UnknownPerson, KnownPerson},
    {ContractVc::DiscCode, Short, Texts::CustGroupUnknown, KnownCustomerGroup},
    {ContractVc::DiscCode2, Short, Texts::DiscMatrixUnknown, KnownDiscountMatrix},
    {ContractVc::Objects, Objects, Texts::ObjectUnknown, KnownObjects},
    {ContractVc::Project, Code, UnknownProject, KnownProject},
    {ContractVc::Location, Location, Texts::LocationUnknown, KnownLocation},
    {ContractVc::DelTerms, Short, UnknownDelTerms, KnownDelTerms},
    {ContractVc::FreightItem, Code, Texts::ItemUnknown, KnownItem},
    {ContractVc::FreightVat, Vat, Texts::VatCodeUnknown, KnownVatCode},
    {ContractVc::FreightObjects, Objects, Texts::ObjectUnknown, KnownObjects},
    {ContractVc::FreightAcc, Account, Texts::AccountMissing, KnownAccount},
};

const CodeField QuotationCodes[] = {
    {QuotationVc::CustCode, Code, Texts::CodeUnknown, KnownCustomer},
    {QuotationVc::PayTerms, Terms, UnknownTerms, KnownPaymentTerms},
    {QuotationVc::PriceList, Short, Texts::PriceListUnknown, KnownDocumentPriceList},
    {QuotationVc::CurncyCode, Short, Texts::CurrencyUnknown, KnownCurrency},
    {QuotationVc::VatCode, Vat, Texts::VatCodeUnknown, KnownVatCode},
    {QuotationVc::SalesMan, Short, UnknownPerson, KnownPerson},
    {QuotationVc::LangCode, Short, UnknownLanguage, KnownLanguage},
    {QuotationVc::DelTerms, Short, UnknownDelTerms, KnownDelTerms},
    {QuotationVc::DelMode, Short, Texts::DelModeUnknown, KnownDelMode},
    {QuotationVc::PayerCode, Code, Texts::CustomerUnknown, KnownCustomer},
    {QuotationVc::DiscCode, Short, Texts::CustGroupUnknown, KnownCustomerGroup},
    {QuotationVc::DiscCode2, Short, Texts::DiscMatrixUnknown, KnownDiscountMatrix},
    {QuotationVc::Objects, Short, Texts::ObjectUnknown, KnownObjects},
    {QuotationVc::Project, Code, UnknownProject, KnownProject},
};

const CodeField PurchaseOrderCodes[] = {
    {PurchOrderVc::VendCode, Code, Texts::VendorUnknown, KnownVendor},
    {PurchOrderVc::PayTerms, Terms, UnknownTerms, KnownPaymentTerms},
    {PurchOrderVc::CurncyCode, Short, Texts::CurrencyUnknown, KnownCurrency},
    {PurchOrderVc::LangCode, Short, UnknownLanguage, KnownLanguage},
    {PurchOrderVc::Location, Location, Texts::LocationUnknown, KnownLocation},
    {PurchOrderVc::DelMode, Short, Texts::DelModeUnknown, KnownDelMode},
    {PurchOrderVc::DelTerms, Short, UnknownDelTerms, KnownDelTerms},
};

const CodeField SalesDocCodes[] = {
    {SalesDocVc::CustCode, Code, Texts::CustomerUnknown, KnownCustomer},
    {SalesDocVc::PayTerms, Terms, UnknownTerms, KnownPaymentTerms},
    {SalesDocVc::PriceList, Short, Texts::PriceListUnknown, KnownDocumentPriceList},
    {SalesDocVc::CurncyCode, Short, Texts::CurrencyUnknown, KnownCurrency},
    {SalesDocVc::SalesMan, Short, UnknownPerson, KnownPerson},
    {SalesDocVc::LangCode, Short, UnknownLanguage, KnownLanguage},
    {SalesDocVc::Objects, Objects, Texts::ObjectUnknown, KnownObjects},
    {SalesDocVc::DiscCode, Short, Texts::CustGroupUnknown, KnownCustomerGroup},
    {SalesDocVc::DiscCode2, Short, Texts::DiscMatrixUnknown, KnownDiscountMatrix},
};

// The table of reg; empty for a register without one.
std::span<const CodeField> DocumentCodes(int reg)
{
    switch (reg) {
    case IVVc::Number: return InvoiceCodes;
    case ORVc::Number: return OrderCodes;
    case SHVc::Number: return DeliveryCodes;
    case VIVc::Number: return PurchaseInvoiceCodes;
    case ContractVc::Number: return ContractCodes;
    case QuotationVc::Number: return QuotationCodes;
    case PurchOrderVc::Number: return PurchaseOrderCodes;
    case SalesDocVc::Number: return SalesDocCodes;
    default: return {};
    }
}

}  // namespace

int CheckDocumentCodes(int reg, const uint8_t *record, const uint8_t *stored, int mode)
{
    if (!record) return 0;
    return CheckCodeFields(DocumentCodes(reg), record, stored, mode);
}
