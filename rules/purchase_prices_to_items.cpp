// purchase_prices_to_items.cpp - the unit costs of one purchase (goods
// receipt, register 4) carried into the items it holds: their cost
// prices, their sales prices from cost and markup (company variant 15),
// and their price-list prices made again by the price formulas. Every
// step takes the same rows: an item code that exists, inside the item
// range and the item-group range when those are given.
#include "rules/purchase_prices.h"

#include <cassert>
#include <cstring>
#include <vector>

#include "core/company_variant.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/write_gate.h"
#include "dict_offsets.h"
#include "operations/batch_routines.h"
#include "operations/run_outcome.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace P = ReportParamsVc;
namespace Item = INVc;

// A from:to range of codes; an empty text takes every code.
struct CodeRange {
    bool given;
    uint8_t from[256], to[256];
};

CodeRange ReadRange(const uint8_t *params, uint32_t at)
{
    CodeRange r{};
    uint8_t text[256];
    GetPString(params, at, 255, text);
    r.given = text[0] != 0;
    if (r.given) RangeSplit(text, r.from, r.to);
    return r;
}

bool InRange(const CodeRange &r, const uint8_t *code)
{
    if (!r.given) return true;
    if (r.from[0] != 0 && PStringCompare(code, r.from) < 0) return false;
    return r.to[0] == 0 || PStringCompare(code, r.to) <= 0;
}

// Reads the item of a purchase row into item when the row is one the run
// takes; its record id in *recid.
bool SelectedItem(const uint8_t *row, const CodeRange &items, const CodeRange &groups, uint8_t *item,
                  uint32_t *recid)
{
    uint8_t code[256], group[256];
    GetText(row, PUVc::Rows::ItemCode, code);
    if (code[0] == 0 || !InRange(items, code)) return false;
    PutText(item, Item::Code, code);
    uint32_t position = 0;
    if (!RecFind(Item::Number, item, 1, 1, recid, &position)) return false;
    GetText(item, Item::Group, group);
    return InRange(groups, group);
}

// unit cost + markup %, with the VAT of the item's code added when sales
// prices include VAT.
PackedDecimal SalesPriceOf(const uint8_t *item, const PackedDecimal &cost)
{
    PackedDecimal markup = GetDec(item, Item::Markup), add, price, hundred;
    DecFromLong(&hundred, 100);
    price = cost;
    if (!DecIsBlank(&markup)) {
        DecMul(&cost, &markup, &add);
        DecDiv(&add, &hundred, &add);
        DecAdd(&cost, &add, &price);
    }
    DecRound(&price, 2, &price);
    const uint8_t *sales = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (sales && GetU16(sales, SalesAccountsBlk::PricesInclVat) != 0) {
        uint8_t vatCode[256];
        PackedDecimal vat;
        ItemVatCode(item, 0, vatCode);
        VatAmount(vatCode, &price, &vat, 0);
        if (!DecIsBlank(&vat)) DecAdd(&price, &vat, &price);
    }
    return price;
}

// "code:code", the range of one item.
void OneItemRange(const uint8_t *code, uint8_t *range)
{
    PStringCopy(range, code);
    PStringAppendChar(range, ':');
    PStringAppend(range, code);
}

bool Differs(const PackedDecimal &a, const PackedDecimal &b)
{
    if (DecIsBlank(&a) || DecIsBlank(&b)) return DecIsBlank(&a) != DecIsBlank(&b);
    return DecCompare(&a, &b) != 0;
}

// The price lists made again for one item: the job record names the item
// alone, the lists of the caller's range, no group or vendor filter; the
// caller's job record is left as it was.
bool PriceListsForItem(const uint8_t *params, const uint8_t *code)
{
    std::vector<uint8_t> selection(params, params + ReportParamsSize);
    uint8_t text[256], empty[1] = {0};
    OneItemRange(code, text);
    PutText(selection.data(), P::SelText2, text);
    PutText(selection.data(), P::SelText3, empty);
    PutTextPrefix(selection.data(), P::SelText7, 20, empty);
    return PriceUpdate(ReportJob{selection.data()});
}

}  // namespace

// The run of the selection's purchase: each row the run takes (see the
// file comment) gives its item the unit cost and the sales price made
// from it, and the item's price lists are made again. It ends with its
// line: the items whose prices it set, or why none (no such purchase, no
// row of the ranges, every price as the purchase has it already).
bool PurchasePricesToItems(const uint8_t *params)
{
    assert(params);
    RunOutcome run;
    RunStart(&run, Texts::PurchasePricesTitle);
    RunNothing(&run, Texts::PurchasePricesNoPurchase, Texts::PurchasePricesNothing);
    RuleRecord purchase(PUVc::Number), item(Item::Number);
    if (!purchase.record || !item.record) return false;
    PutU32(purchase.record, PUVc::SerNr, GetU32(params, P::NumberFrom));
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(PUVc::Number, "SerNr", purchase.record, 1, 1, &recid, &position)) {
        RunFinish(&run, 0);
        return true;
    }
    RunNothing(&run, Texts::PurchasePricesNoItem);
    const CodeRange items = ReadRange(params, P::SelText2), groups = ReadRange(params, P::SelText3);
    const bool costs = GetU16(params, P::Option2) != 0;
    const bool sales = GetU16(params, P::Option3) != 0 && CompanyVariantIs(CountryVariant::V15);
    const bool lists = GetU16(params, P::Option4) == 0;
    uint8_t row[PUVc::Rows::Size], code[256];
    bool ok = true;
    for (int32_t i = 0; ok && MatrixRowRead(PUVc::Number, purchase.record, i, row); i++) {
        if (!SelectedItem(row, items, groups, item.record, &recid)) continue;
        GetText(item.record, Item::Code, code);
        if (!RunGoesOn(&run, code)) break;
        RunNothing(&run, Texts::PurchasePricesAlreadySo);
        PackedDecimal cost = GetDec(row, PUVc::Rows::UnitCost);
        bool changed = false;
        if (costs && Differs(cost, GetDec(item.record, Item::CostPrice))) {
            PutDec(item.record, Item::CostPrice, cost);
            changed = true;
        }
        if (sales && !DecIsBlank(&cost)) {
            PackedDecimal price = SalesPriceOf(item.record, cost);
            if (Differs(price, GetDec(item.record, Item::BasePrice))) {
                PutDec(item.record, Item::BasePrice, price);
                changed = true;
            }
        }
        if (changed && !RecStore(Item::Number, item.record, 1, &recid)) {
            RunFailed(&run, 1, Texts::PurchasePriceNotStored, Texts::PurchasePricesNotStored);
            ok = false;
            break;
        }
        if (changed) RunCount(&run, 1, Texts::PurchasePriceSet, Texts::PurchasePricesSet);
        if (lists && !PriceListsForItem(params, code)) ok = false;
    }
    RunFinish(&run, 0);
    return ok;
}

// Asked here as a server asks request 50 (RunWrites); refused, it has told
// why and stored nothing: true, as a client's refused request answers.
bool PurchasePricesToItemsCall(uint8_t *params)
{
    assert(params);
    if (RunModeIsClient()) return JobRequestRemote(ReqPurchasePricesToItems, params, ReportParamsVc::Size);
    RunWrites run(ReqPurchasePricesToItems, 0, params);
    return run.refused || PurchasePricesToItems(params);
}

void PurchasePricesFill(int openerReg, const uint8_t *opener, uint8_t *params)
{
    if (!opener || !params) return;
    if (openerReg == PUVc::Number) PutU32(params, P::NumberFrom, GetU32(opener, PUVc::SerNr));
    if (openerReg == PurchItemVc::Number) {
        uint8_t code[256], range[256];
        GetText(opener, PurchItemVc::ItemCode, code);
        OneItemRange(code, range);
        if (code[0] != 0) PutText(params, P::SelText2, range);
    }
    PutU16(params, P::Option2, 1);
    PutU16(params, P::Option3, 1);
}
