// document_rows.cpp - the row steps shared by the sales invoice, order,
// quotation and purchase-order windows (see document_rows.h): pricing an
// item row, its sum, its gross profit and the discount a typed sum means.
#include "recordwin/document_rows.h"

#include <cassert>

#include "core/field_access.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "rules/prices.h"
#include "rules/vat_currency.h"
#include "shell/window_layout.h"

namespace {

constexpr int ItemCodeMax = 20, TextMax = 100, VatCodeMax = 2, AccountMax = 10, StructMax = 20, CodeMax = 5;

// The price query of a row: its item and quantity with the document's
// currency, rate, language, discount codes, price list and VAT zone;
// price and discount blank so that the rules set them. The codes point
// into the query's own buffers.
struct RowQuery {
    uint8_t item[256], currency[256], lang[256], group[256], priceList[256], discount2[256];
    ItemPriceQuery q{};
};

void FillQuery(const DocLayout &l, const uint8_t *doc, const uint8_t *r, RowQuery *rq)
{
    GetPString(r, l.itemCode, ItemCodeMax, rq->item);
    GetPString(doc, l.currency, CodeMax, rq->currency);
    GetPString(doc, l.lang, CodeMax, rq->lang);
    GetPString(doc, l.discountCode, CodeMax, rq->group);
    GetPString(doc, l.priceList, CodeMax, rq->priceList);
    GetPString(doc, l.discountCode2, CodeMax, rq->discount2);
    rq->q.itemCode = rq->item;
    rq->q.quantity = GetDec(r, l.quantity);
    rq->q.currency = rq->currency;
    rq->q.rate = GetDec(doc, l.rate);
    rq->q.textCode = rq->lang;
    rq->q.customer = rq->group;
    rq->q.priceList = rq->priceList;
    rq->q.discountCode = rq->discount2;
    rq->q.vatZone = GetU16(doc, l.vatZone);
    DecSetBlank(&rq->q.price);
    DecSetBlank(&rq->q.discount);
}

}  // namespace

const DocLayout InvoiceDocLayout = {
    IVVc::Number,          IVVc::Rows::Size,
    IVVc::CurncyCode,      IVVc::Rate,
    IVVc::LangCode,        IVVc::CustCat,
    IVVc::PriceList,       IVVc::DiscCode2,
    IVVc::VatZone,         IVVc::InclVat,
    IVVc::VatCode,         IVVc::Rows::ItemCode,
    IVVc::Rows::Quantity,  IVVc::Rows::Text,
    IVVc::Rows::Price,     IVVc::Rows::Sum,
    IVVc::Rows::Discount,  IVVc::Rows::SalesAcc,
    IVVc::Rows::Objects,   IVVc::Rows::UnitCost,
    IVVc::Rows::GrossProfit, IVVc::Rows::VatCode,
    IVVc::Rows::StructCode, IVVc::Rows::PriceUnit,
    IVVc::Rows::Kind,      false,
};

const DocLayout OrderDocLayout = {
    ORVc::Number,          ORVc::Rows::Size,
    ORVc::CurncyCode,      ORVc::Rate,
    ORVc::LangCode,        ORVc::CustCat,
    ORVc::PriceList,       ORVc::DiscCode2,
    ORVc::VatZone,         ORVc::InclVat,
    ORVc::VatCode,         ORVc::Rows::ItemCode,
    ORVc::Rows::Quantity,  ORVc::Rows::Text,
    ORVc::Rows::Price,     ORVc::Rows::Sum,
    ORVc::Rows::Discount,  ORVc::Rows::SalesAcc,
    ORVc::Rows::Objects,   ORVc::Rows::UnitCost,
    ORVc::Rows::GrossProfit, ORVc::Rows::VatCode,
    ORVc::Rows::StructCode, ORVc::Rows::PriceUnit,
    ORVc::Rows::Kind,      false,
};

const DocLayout QuotationDocLayout = {
    QuotationVc::Number,         QuotationVc::Rows::Size,
    QuotationVc::CurncyCode,     QuotationVc::Rate,
    QuotationVc::LangCode,       QuotationVc::DiscCode,
    QuotationVc::PriceList,      QuotationVc::DiscCode2,
    QuotationVc::VatZone,        QuotationVc::InclVat,
    QuotationVc::VatCode,        QuotationVc::Rows::ItemCode,
    QuotationVc::Rows::Quantity, QuotationVc::Rows::Text,
    QuotationVc::Rows::Price,    QuotationVc::Rows::Sum,
    QuotationVc::Rows::Discount, QuotationVc::Rows::SalesAcc,
    QuotationVc::Rows::Objects,  QuotationVc::Rows::UnitCost,
    QuotationVc::Rows::GrossProfit, QuotationVc::Rows::VatCode,
    NoDocCell,                   QuotationVc::Rows::PriceUnit,
    QuotationVc::Rows::Kind,     false,
};

const DocLayout ContractDocLayout = {
    ContractVc::Number,          ContractVc::Rows::Size,
    ContractVc::CurncyCode,      ContractVc::Rate,
    ContractVc::LangCode,        ContractVc::DiscCode,
    ContractVc::PriceList,       ContractVc::DiscCode2,
    ContractVc::VatZone,         ContractVc::InclVat,
    NoDocCell,                   ContractVc::Rows::ItemCode,
    ContractVc::Rows::Quantity,  ContractVc::Rows::Text,
    ContractVc::Rows::Price,     ContractVc::Rows::Sum,
    ContractVc::Rows::Discount,  ContractVc::Rows::SalesAcc,
    ContractVc::Rows::Objects,   ContractVc::Rows::UnitCost,
    ContractVc::Rows::GrossProfit, ContractVc::Rows::VatCode,
    NoDocCell,                   ContractVc::Rows::PriceUnit,
    ContractVc::Rows::Kind,      true,
};

const DocLayout PurchaseOrderDocLayout = {
    PurchOrderVc::Number,          PurchOrderVc::Rows::Size,
    PurchOrderVc::CurncyCode,      PurchOrderVc::Rate,
    PurchOrderVc::LangCode,        NoDocCell,
    NoDocCell,                     NoDocCell,
    PurchOrderVc::VatZone,         NoDocCell,
    NoDocCell,                     PurchOrderVc::Rows::ItemCode,
    PurchOrderVc::Rows::PricedQty, PurchOrderVc::Rows::Text,
    PurchOrderVc::Rows::Price,     PurchOrderVc::Rows::Sum,
    PurchOrderVc::Rows::Discount,  NoDocCell,
    NoDocCell,                     NoDocCell,
    NoDocCell,                     PurchOrderVc::Rows::VatCode,
    NoDocCell,                     NoDocCell,
    PurchOrderVc::Rows::Kind,      true,
};

LockedRows::LockedRows(int window) : handle(WinMatrixRows(window)), data(handle ? MemLock(handle) : nullptr) {}

LockedRows::~LockedRows()
{
    if (data) MemUnlock(handle);
}

void DocRowRedraw(int window, int row, std::initializer_list<uint32_t> cells)
{
    for (uint32_t c : cells)
        if (c != NoDocCell) WinMatrixDrawRow(window, row, c, 0);
}

// Prices the row through ItemPriceCall: price, discount, VAT code and
// account always, the description and unit cost when asked; the per-row
// sum rules when the item is flagged for them (they work on the
// document's rows, which r lies in); the document's VAT code last, as it
// overrides the item's.
bool DocRowPrice(const DocLayout &l, uint8_t *doc, int row, uint8_t *r, uint8_t *item, unsigned takes)
{
    assert(doc && r && item);
    RowQuery rq;
    FillQuery(l, doc, r, &rq);
    ItemPriceAnswer a{};
    if (!ItemPriceCall(&rq.q, item, &a)) return false;
    PutDec(r, l.price, a.price);
    if (takes & DocTakeText) PutPString(r, l.text, TextMax, a.text);
    PutDec(r, l.discount, a.discount);
    PutPString(r, l.vatCode, VatCodeMax, a.vatCode);
    if (takes & DocTakeCost) PutDec(r, l.unitCost, a.cost);
    PutPString(r, l.account, AccountMax, a.account);
    if (a.flag && !l.noRowSumRules) (void)RowSumCall(l.reg, doc, row, nullptr);
    if (l.vatOverride != NoDocCell && doc[l.vatOverride] != 0) {
        uint8_t vat[256];
        GetPString(doc, l.vatOverride, VatCodeMax, vat);
        PutPString(r, l.vatCode, VatCodeMax, vat);
    }
    return true;
}

// A structure item is one whose structure word is 1 and whose structure
// code is set.
void DocRowStructure(const DocLayout &l, const uint8_t *item, uint8_t *r, const uint8_t *none)
{
    if (l.structCode == NoDocCell) return;
    uint8_t structure[256];
    GetText(item, INVc::StructCode, structure);
    if (GetU16(item, INVc::StructFlag) == 1 && structure[0] != 0)
        PutPString(r, l.structCode, StructMax, structure);
    else if (none)
        PutPString(r, l.structCode, StructMax, none);
}

bool DocRowSumUpdate(const DocLayout &l, uint8_t *r)
{
    PackedDecimal qty = GetDec(r, l.quantity), price = GetDec(r, l.price), unit,
                  discount = GetDec(r, l.discount), sum, old = GetDec(r, l.sum);
    if (l.priceUnit == NoDocCell)
        DecSetBlank(&unit);
    else
        unit = GetDec(r, l.priceUnit);
    DecRowAmount(&qty, &price, &unit, &discount, &sum);
    if (DecEqual(&sum, &old)) return false;
    PutDec(r, l.sum, sum);
    return true;
}

void DocRowNetHome(const DocLayout &l, const uint8_t *doc, const uint8_t *r, PackedDecimal *net)
{
    PackedDecimal sum = GetDec(r, l.sum), rate = GetDec(doc, l.rate), home;
    uint8_t vat[256];
    GetPString(r, l.vatCode, VatCodeMax, vat);
    AmountTimesRate(&sum, &rate, &home);
    NetOfTax(vat, &home, GetU16(doc, l.inclVat), net);
}

void DocRowGrossProfit(const DocLayout &l, const uint8_t *doc, const uint8_t *r, PackedDecimal *net,
                       PackedDecimal *gp)
{
    PackedDecimal qty = GetDec(r, l.quantity), cost = GetDec(r, l.unitCost), costTotal;
    DocRowNetHome(l, doc, r, net);
    DecMul(&qty, &cost, &costTotal);
    DecSub(net, &costTotal, gp);
    DecRound(gp, 2, gp);
}

bool DocDiscountFromSum(const PackedDecimal *price, const PackedDecimal *unit, const PackedDecimal *sum,
                        const PackedDecimal *quantity, PackedDecimal *discount)
{
    if (DecIsZero(price) || DecIsZero(quantity)) return false;
    PackedDecimal unitPrice = *price, perUnit, gap, hundred, pct;
    if (unit && !DecIsZero(unit)) DecDiv(price, unit, &unitPrice);
    if (DecIsZero(&unitPrice)) return false;
    PackedDecimal typed;
    if (DecIsBlank(sum))
        DecSetZero(&typed);
    else
        typed = *sum;
    DecDiv(&typed, quantity, &perUnit);
    DecSub(&unitPrice, &perUnit, &gap);
    DecFromLong(&hundred, 100);
    DecMul(&gap, &hundred, &gap);
    DecDiv(&gap, &unitPrice, &pct);
    DecRound(&pct, 1, discount);
    return true;
}
