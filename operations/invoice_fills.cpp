// invoice_fills.cpp - the fills that the generated sales invoices share
// (project invoices, plan invoices, interest and sample invoices): the
// head a generated invoice starts from, the customer's data copied into
// the invoice header as a typed invoice takes it, and an invoice row
// filled from an item.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/doc_flow_fields.h"
#include "operations/operations.h"
#include "operations/project_ops.h"
#include "operations/sales_customer_fill.h"
#include "rules/documents.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

constexpr int CodeMax = 20, LineMax = 60;

}  // namespace

// The delivery address of a customer: its name and three delivery lines,
// or, without a first delivery line, all four empty (the postal address
// then serves).
void CopyCustomerDeliveryAddress(const uint8_t *c, uint8_t *inv) {
    assert(c && inv);
    if (c[CUVc::DelAddr1] != 0) {
        DocFlowCopyText(inv, IVVc::DelAddr0, c, CUVc::Name);
        DocFlowCopyText(inv, IVVc::DelAddr1, c, CUVc::DelAddr1);
        DocFlowCopyText(inv, IVVc::DelAddr2, c, CUVc::DelAddr2);
        DocFlowCopyText(inv, IVVc::DelAddr3, c, CUVc::DelAddr3);
        return;
    }
    uint8_t empty[1] = {0};
    for (uint32_t at : {IVVc::DelAddr0, IVVc::DelAddr1, IVVc::DelAddr2, IVVc::DelAddr3})
        PutPString(inv, at, LineMax, empty);
}

// No order, no credited invoice, not printed, its list mark from its
// posted flag, no objects, text or reference, and blank totals that the
// rows will make.
void ClearGeneratedInvoiceHead(uint8_t *inv) {
    assert(inv);
    PutU32(inv, IVVc::OrderNr, SerialNone);
    PutU32(inv, IVVc::CredInv, SerialNone);   // it credits no invoice
    PutU16(inv, IVVc::Printed, 0);
    StatusMarkInvoice(inv);
    const uint8_t empty[1] = {0};
    PutText(inv, IVVc::Objects, empty);
    PutText(inv, IVVc::Text290, empty);
    PutText(inv, IVVc::Reference, empty);
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (uint32_t at : {IVVc::RoundOff, IVVc::Net, IVVc::VatFreeNet, IVVc::Vat, IVVc::Total}) PutDec(inv, at, blank);
}

// The price list the invoice's customer group and own list resolve to,
// and with it whether the invoice's prices include VAT.
void ResolveInvoicePriceList(uint8_t *inv) {
    assert(inv);
    uint8_t group[256], priceList[256];
    uint16_t inclVat = 0;
    GetText(inv, IVVc::CustCat, group);
    GetText(inv, IVVc::PriceList, priceList);
    ResolvePriceList(group, priceList, &inclVat);
    PutText(inv, IVVc::PriceList, priceList);
    PutU16(inv, IVVc::InclVat, inclVat);
}

// The customer named at the invoice's byte 0 into its header, as every
// sales invoice takes it (sales_customer_fill.cpp).
bool CopyCustomerToDocument(uint8_t *doc) {
    assert(doc);
    uint8_t code[256];
    GetText(doc, IVVc::CustCode, code);
    RuleRecord cust(CUVc::Number);
    if (!ProjectReadByCode(cust, CUVc::Code, CodeMax, code)) return false;
    SalesInvoiceCustomerFill(doc, cust.record);
    return true;
}

// Row index of the invoice from item: code, text in the invoice's
// language (else the name), account and VAT code for its zone, price in
// the invoice's currency, cost, discount, price unit and amount.
void AddInvoiceItemRow(uint8_t *inv, const uint8_t *item, int32_t index) {
    assert(inv && item);
    uint8_t row[IVVc::Rows::Size];
    if (!MatrixRowGet(IVVc::Number, 0, inv, index, row)) return;
    uint8_t code[256], name[256], language[256], text[256];
    GetText(item, INVc::Code, code);
    PutText(row, IVVc::Rows::ItemCode, code);
    GetText(item, INVc::Name, name);
    GetText(inv, IVVc::LangCode, language);
    NthRowWithCode(1, text, RecMatrixHandle(INVc::Number, item), language, name);
    PutText(row, IVVc::Rows::Text, text);
    int zone = GetU16(inv, IVVc::VatZone);
    uint8_t account[256], vat[256];
    ItemSalesAccount(item, zone, account);
    ItemVatCode(item, zone, vat);
    PutText(row, IVVc::Rows::SalesAcc, account);
    PutText(row, IVVc::Rows::VatCode, vat);
    PackedDecimal base = GetDec(item, INVc::BasePrice), rate = GetDec(inv, IVVc::Rate), price;
    AmountByRateInverse(&base, &rate, &price);
    PutDec(row, IVVc::Rows::Price, price);
    PackedDecimal cost = GetDec(item, INVc::CostPrice), further = GetDec(item, INVc::AddCost);
    if (DecIsBlank(&cost)) DecSetZero(&cost);
    if (!DecIsBlank(&further)) DecAdd(&cost, &further, &cost);
    PutDec(row, IVVc::Rows::UnitCost, cost);
    PackedDecimal qty = GetDec(row, IVVc::Rows::Quantity), discount;
    uint8_t group[256], discCode[256];
    GetText(inv, IVVc::CustCat, group);
    GetText(inv, IVVc::DiscCode2, discCode);
    bool found = false;
    ItemDiscount(item, &price, &qty, group, discCode, &discount, &found);
    PutDec(row, IVVc::Rows::Discount, discount);
    PackedDecimal unit = GetDec(item, INVc::PriceUnit), sum;
    PutDec(row, IVVc::Rows::PriceUnit, unit);
    DecRowAmount(&qty, &price, &unit, &discount, &sum);
    PutDec(row, IVVc::Rows::Sum, sum);
    MatrixRowPut(IVVc::Number, 0, inv, index, row);
}
