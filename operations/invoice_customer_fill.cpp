// invoice_customer_fill.cpp - a sales invoice filled from its customer
// (names, addresses, terms, currency, price list, freight defaults, the
// credit-limit warning), and a document window's number list started
// from its opener.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/warning_message.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/doc_flow_fields.h"
#include "operations/project_ops.h"
#include "operations/sales_customer_fill.h"
#include "operations/sales_invoice.h"
#include "rules/documents.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

// The freight defaults of settings block 186: its freight item and
// percentage; with the item, its VAT code and account for the invoice's
// zone and its price in home currency and in the invoice's currency, and
// the percentage's share of the price. Without the item every freight
// field is empty.
void FreightDefaults(uint8_t *inv)
{
    const uint8_t *block = SettingsRecord(FreightBlk::Number, Block186);
    uint8_t code[256] = {0};
    PackedDecimal pct;
    DecSetZero(&pct);
    if (block) {
        GetText(block, FreightBlk::FreightItem, code);
        pct = GetDec(block, FreightBlk::FreightPct);
    }
    PutText(inv, IVVc::FreightItem, code);
    PutDec(inv, IVVc::FreightPct, pct);
    RuleRecord item(INVc::Number);
    uint32_t recid = 0, position = 0;
    bool found = item.record && code[0] != 0;
    if (found) {
        PutText(item.record, INVc::Code, code);
        found = RecFind(INVc::Number, item.record, 1, 1, &recid, &position);
    }
    PackedDecimal blank;
    DecSetBlank(&blank);
    if (!found) {
        uint8_t empty[1] = {0};
        PackedDecimal zero;
        DecSetZero(&zero);
        PutText(inv, IVVc::FreightItem, empty);
        PutDec(inv, IVVc::FreightPct, zero);
        for (uint32_t at : {IVVc::FreightHome, IVVc::Freight, IVVc::FreightPctAmt}) PutDec(inv, at, blank);
        PutText(inv, IVVc::FreightVat, empty);
        PutText(inv, IVVc::FreightAcc, empty);
        return;
    }
    int zone = GetU16(inv, IVVc::VatZone);
    uint8_t vat[256] = {0}, account[256] = {0};
    ItemVatCode(item.record, zone, vat);
    ItemSalesAccount(item.record, zone, account);
    PutText(inv, IVVc::FreightVat, vat);
    PutText(inv, IVVc::FreightAcc, account);
    PackedDecimal price = GetDec(item.record, INVc::BasePrice), rate = GetDec(inv, IVVc::Rate), inCurrency, one,
                  hundred, discount, share;
    PutDec(inv, IVVc::FreightHome, price);
    AmountByRateInverse(&price, &rate, &inCurrency);
    PutDec(inv, IVVc::Freight, inCurrency);
    DecFromLong(&one, 1);
    DecFromLong(&hundred, 100);
    DecSub(&hundred, &pct, &discount);
    DecRowAmount(&one, &price, nullptr, &discount, &share);
    PutDec(inv, IVVc::FreightPctAmt, share);
}

}  // namespace

// Fills the invoice from the customer named at its byte 0 as every sales
// invoice is filled (sales_customer_fill.cpp), then the rate of its
// currency on the invoice date, the freight defaults and the totals.
// Shows the customer's note, and text 1164 when block 205 asks for the
// check and the open balance exceeds a positive credit limit. false, the
// invoice untouched, when there is no such customer.
bool InvoiceCustomerFill(uint8_t *inv)
{
    assert(inv);
    RuleRecord cust(CUVc::Number);
    if (!cust.record) return false;
    const uint8_t *c = cust.record;
    DocFlowCopyText(cust.record, CUVc::Code, inv, IVVc::CustCode);
    PackedDecimal limit, balance;
    if (inv[IVVc::CustCode] == 0 || !CustomerBalanceCreditCall(cust.record, &limit, &balance)) return false;

    SalesInvoiceCustomerFill(inv, c);
    uint8_t currency[256];
    GetText(inv, IVVc::CurncyCode, currency);
    DateRec date = GetDate(inv, IVVc::InvDate);
    PackedDecimal rate;
    if (CurrencyRate(currency, &date, &rate)) PutDec(inv, IVVc::Rate, rate);

    FreightDefaults(inv);
    DocTotalsRound(inv);

    uint8_t note[256];
    GetText(c, CUVc::Note, note);
    if (note[0] != 0) ShowMessage(0, note);
    const uint8_t *check = SettingsRecord(CreditLimitBlk::Number, CreditLimitBlock);
    PackedDecimal zero;
    DecSetZero(&zero);
    // A warning only: the invoice goes on (the refusal, when the company
    // asks for one, comes from the invoice's check on storing).
    if (check && GetU16(check, CreditLimitBlk::InvoiceCheck) == 1 && DecCompare(&limit, &zero) > 0 &&
        DecCompare(&balance, &limit) > 0)
        ShowWarning(Texts::CreditLimitExceeded, nullptr);
    return true;
}
