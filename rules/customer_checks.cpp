// customer_checks.cpp - the codes a customer keeps for its sales
// documents: payment terms, group, currency, language, salesperson, price
// list, discount matrix, VAT code, delivery terms and mode, objects and
// payer. Each is copied into every invoice, order and quotation made for
// the customer, so a code that names nothing the company keeps would be
// carried silently into each of them; it is refused when the customer is
// stored, at that field.
//
// An empty code is always accepted (it means "none" or "the company's
// default"). A customer being changed is held only to the codes the user
// changed: one stored earlier with a code whose record has since been
// deleted may still be edited in its other fields.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "rules/checks.h"

namespace {

// In the order of the window's fields, so that the first refused is the
// first the user meets; the payer follows (it may be the customer itself).
const CodeField CustomerCodes[] = {
    {CUVc::PayTerms, 2, Texts::VendorTermsUnknown, KnownPaymentTerms},
    {CUVc::CustGroup, 5, Texts::CodeUnknown, KnownCustomerGroup},
    {CUVc::CurncyCode, 5, Texts::CurrencyUnknown, KnownCurrency},
    {CUVc::LangCode, 5, Texts::CodeUnknown, KnownLanguage},
    {CUVc::SalesMan, 5, Texts::TimePersonMissing, KnownPerson},
    {CUVc::PriceList, 5, Texts::CodeUnknown, KnownPriceList},
    {CUVc::DiscCode2, 5, Texts::DiscMatrixUnknown, KnownDiscountMatrix},
    {CUVc::VatCode, 2, Texts::CodeUnknown, KnownVatCode},
    {CUVc::DelTerms, 5, Texts::CodeUnknown, KnownDelTerms},
    {CUVc::DelMode, 5, Texts::CodeUnknown, KnownDelMode},
    {CUVc::Objects, 5, Texts::CodeUnknown, KnownObjects},
};
const CodeField Payer[] = {{CUVc::PayerCode, 20, Texts::CodeUnknown, KnownCustomer}};

}  // namespace

// Refuses the first code of the customer that names nothing the company
// keeps (0 when every code is empty, unchanged or known). mode 2 checks
// only the codes that differ from the stored customer.
int CheckCustomerCodes(const uint8_t *customer, const uint8_t *stored, int mode)
{
    assert(customer);
    if (int r = CheckCodeFields(CustomerCodes, customer, stored, mode)) return r;
    // The payer may be the customer itself, which a new customer is not yet.
    uint8_t payer[256], own[256];
    GetText(customer, CUVc::PayerCode, payer);
    GetText(customer, CUVc::Code, own);
    if (PStringEqual(payer, own)) return 0;
    return CheckCodeFields(Payer, customer, stored, mode);
}
