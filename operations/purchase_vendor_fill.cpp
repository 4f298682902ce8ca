// purchase_vendor_fill.cpp - what a vendor gives the purchase documents
// made for it: a purchase invoice's name, terms, currency, objects and
// payee texts, and a payment row's payee texts. The typed windows, the
// conversion of a purchase order and the payment suggestion all fill
// through these, so an invoice or payment carries the same vendor data
// whichever way it was made.
#include <cassert>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

bool PurchaseInvoiceVendorFill(uint8_t *invoice)
{
    assert(invoice);
    uint8_t code[256], text[256];
    GetText(invoice, VIVc::VendCode, code);
    RuleRecord vendor(VEVc::Number);
    if (code[0] == 0 || !VendorRead(code, vendor)) return false;
    GetText(vendor.record, VEVc::Name, text);
    PutText(invoice, VIVc::VendName, text);
    GetText(vendor.record, VEVc::PayTerms, text);
    PutText(invoice, VIVc::PayTerms, text);
    GetText(vendor.record, VEVc::CurncyCode, text);
    PutText(invoice, VIVc::CurncyCode, text);
    const uint8_t *accounts = SettingsRecord(PurchAccountsBlk::Number, VendorAccountsBlock);
    if (accounts && GetU16(accounts, PurchAccountsBlk::CopyVendText) != 0) {
        GetText(vendor.record, VEVc::Objects, text);
        PutText(invoice, VIVc::Objects, text);
    }
    uint8_t payee[256];
    GetText(invoice, VIVc::PayeeCode, payee);
    PurchasePayeeFill(invoice, payee[0] != 0 ? payee : code);
    return true;
}

void PurchasePayeeFill(uint8_t *invoice, const uint8_t *code)
{
    RuleRecord vendor(VEVc::Number);
    if (code[0] != 0 && VendorRead(code, vendor) && !CompanyVariantIs(CountryVariant::V5)) {
        uint8_t text[256];
        GetText(vendor.record, VEVc::AccountNr, text);
        PutText(invoice, VIVc::PayeeText, text);
        GetText(vendor.record, VEVc::BankGiro, text);
        PutText(invoice, VIVc::PayText, text);
    }
    ApplyPurchaseInvoiceTerms(invoice);
}

void PaymentGiroName(const uint8_t *payment, const uint8_t *vendor, uint8_t *name)
{
    uint8_t mode[256];
    GetText(payment, OPVc::PayMode, mode);
    if (PStringEqualC(mode, "P"))
        GetText(vendor, VEVc::PostalGiro, name);
    else
        GetText(vendor, VEVc::BankGiro, name);
}

void PaymentRowPayeeFill(const uint8_t *payment, const uint8_t *invoice, uint8_t *row)
{
    uint8_t text[256], code[256], account[256] = {0};
    GetText(invoice, VIVc::PayText, text);
    GetText(invoice, VIVc::VendCode, code);
    RuleRecord vendor(VEVc::Number);
    if (VendorRead(code, vendor)) {
        GetText(vendor.record, VEVc::AccountNr, account);
        if (text[0] == 0 && CompanyVariantIs(CountryVariant::V5)) PaymentGiroName(payment, vendor.record, text);
    }
    PutText(row, OPVc::Rows::InvPayText, text);
    PutText(row, OPVc::Rows::AccountText, account);
}
