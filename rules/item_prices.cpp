// item_prices.cpp - the price, discount, VAT code, account and cost of an
// item on a document row, the cost of an item structure, and an item's
// stock figures for the cost key.
//
// ItemPrice answers one document row in eleven steps: defaults, the item,
// its group, the price list, the currency, the given price, the text in
// the document's language, the discount, the VAT code and account of the
// VAT zone, and the cost. Every code it is given is a PString; a code
// longer than its field cannot name a stored record and finds nothing.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "rules/documents.h"
#include "rules/prices.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

constexpr int ItemCodeMax = 20, GroupCodeMax = 5, ListCodeMax = 5, CurrencyMax = 5, AccountMax = 10, VatMax = 2,
              NameMax = 60, StructureMax = 20;

// Reads the record of rec's register whose key, a code of at most max
// characters at offset, is code; false for an empty or overlong code and a
// code that is not stored.
bool ReadByCode(RuleRecord &rec, uint32_t offset, const uint8_t *code, int max) {
    if (!rec.record || !code || code[0] == 0 || code[0] > max) return false;
    PutPString(rec.record, offset, max, code);
    return RecFindByFirstKey(rec.reg, rec.record);
}

// Copies the text field at offset (at most max characters) into out.
void Field(const uint8_t *base, uint32_t offset, int max, uint8_t *out) { GetPString(base, offset, max, out); }

// The price record of list and item into price (and its account into
// account when that is not empty); false when the list has no price for
// the item.
bool ListPrice(const uint8_t *list, const uint8_t *item, PackedDecimal *price, uint8_t *account) {
    if (list[0] == 0 || list[0] > ListCodeMax || item[0] == 0 || item[0] > ItemCodeMax) return false;
    RuleRecord rec(PriceVc::Number);
    if (!rec.record) return false;
    PutText(rec.record, PriceVc::PriceList, list);
    PutText(rec.record, PriceVc::ItemCode, item);
    uint32_t recid = 0, position = 0;
    if (!RecFind(PriceVc::Number, rec.record, 2, 1, &recid, &position)) return false;
    *price = GetDec(rec.record, PriceVc::Price);
    uint8_t acc[256];
    Field(rec.record, PriceVc::SalesAcc, AccountMax, acc);
    if (acc[0] != 0) PStringCopy(account, acc);
    return true;
}

// Converts price, in the currency of the price list named list (whose
// price was used), into the document's currency.
void ConvertListPrice(const uint8_t *list, const ItemPriceQuery *q, PackedDecimal *price) {
    uint8_t listCurrency[256] = {0};
    RuleRecord def(PriceListVc::Number);
    if (ReadByCode(def, PriceListVc::Code, list, ListCodeMax))
        Field(def.record, PriceListVc::CurncyCode, CurrencyMax, listCurrency);
    if (PStringEqual(listCurrency, q->currency)) return;   // the list is in the document's currency
    if (listCurrency[0] == 0) {                            // a home-currency list
        AmountByRateInverse(price, &q->rate, price);
        return;
    }
    PackedDecimal rate;
    if (!CurrencyRate(listCurrency, &TodayDate, &rate)) DecSetBlank(&rate);
    AmountTimesRate(price, &rate, price);                  // into home currency
    if (q->currency[0] != 0) AmountByRateInverse(price, &q->rate, price);
}

// cost + additional cost; blank when both are blank.
PackedDecimal CostPlusAdditional(const uint8_t *item) {
    PackedDecimal cost = GetDec(item, INVc::CostPrice), add = GetDec(item, INVc::AddCost), sum;
    if (DecIsBlank(&cost) && DecIsBlank(&add)) {
        DecSetBlank(&sum);
        return sum;
    }
    if (DecIsBlank(&cost)) return add;
    if (DecIsBlank(&add)) return cost;
    DecAdd(&cost, &add, &sum);
    return sum;
}

}  // namespace

// The row answer for q's item: see the file comment. item gets the item's
// record with its text rows (cleared when there is no such item). A
// missing item gives false with a blank price, discount and cost and
// empty texts.
bool ItemPrice(const ItemPriceQuery *q, uint8_t *item, ItemPriceAnswer *a) {
    assert(q && item && a);
    assert(q->itemCode && q->currency && q->textCode && q->customer && q->priceList && q->discountCode);
    const uint8_t *block = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    // 1. Outputs emptied; working price and discount start as given.
    std::memset(a, 0, sizeof *a);
    DecSetBlank(&a->cost);
    PackedDecimal price = q->price, discount = q->discount;
    if (CompactVariant && q->discountCode[0] != 0 && DecIsBlank(&discount)) {
        // The reduced interface has no discount field: its code is the discount.
        PackedDecimal typed;
        if (FieldFromText((uint8_t *)&typed, FtAmount2, 0, q->discountCode)) discount = typed;
    }
    // 2. The item.
    RecClear(INVc::Number, item);
    bool found = false;
    if (q->itemCode[0] != 0 && q->itemCode[0] <= ItemCodeMax) {
        PutText(item, INVc::Code, q->itemCode);
        uint32_t recid = 0, position = 0;
        found = RecFind(INVc::Number, item, 1, 1, &recid, &position);
    }
    if (!found) {
        RecClear(INVc::Number, item);
        DecSetBlank(&a->price);
        DecSetBlank(&a->discount);
        return false;
    }
    // 3. Percentage-table flag, the item's account and (zone 0) VAT code.
    uint8_t text[256];
    Field(item, INVc::PctTable, GroupCodeMax, text);
    a->flag = text[0] != 0 ? 1 : 0;
    Field(item, INVc::SalesAcc, AccountMax, a->account);
    int zone = q->vatZone;
    if (zone == 0) Field(item, INVc::VatCode, VatMax, a->vatCode);
    // 4. The item's group.
    uint8_t group[256];
    Field(item, INVc::Group, GroupCodeMax, group);
    RuleRecord grp(ITVc::Number);
    if (ReadByCode(grp, ITVc::Code, group, GroupCodeMax)) {
        if (zone == 1) Field(grp.record, ITVc::VatCodeZ1, VatMax, a->vatCode);
        else if (zone == 2) Field(grp.record, ITVc::VatCodeZ2, VatMax, a->vatCode);
        else if (a->vatCode[0] == 0) Field(grp.record, ITVc::VatCode, VatMax, a->vatCode);
        if (a->account[0] == 0) Field(grp.record, ITVc::SalesAcc, AccountMax, a->account);
    }
    // 5. Base price, or the price list's price for the item.
    PackedDecimal working = GetDec(item, INVc::BasePrice);
    bool fromList = q->priceList[0] != 0 && ListPrice(q->priceList, q->itemCode, &working, a->account);
    // 6. Into the document's currency.
    if (fromList) ConvertListPrice(q->priceList, q, &working);
    else AmountByRateInverse(&working, &q->rate, &working);
    // 7. A given non-zero price stays.
    a->price = DecIsZero(&price) ? working : price;
    // 8. The text in the document's language.
    uint8_t name[256];
    Field(item, INVc::Name, NameMax, name);
    NthRowWithCode(1, a->text, RecMatrixHandle(INVc::Number, item), q->textCode, name);
    // 9. The discount for the customer group, discount code and quantity.
    PackedDecimal left;
    bool discounted = false;
    ItemDiscount(item, &a->price, &q->quantity, q->customer, q->discountCode, &left, &discounted);
    a->discount = discounted || DecIsBlank(&discount) ? left : discount;
    // 10. The zone's VAT code and account from block 133.
    if (block) {
        if (zone == 1) Field(block, SalesAccountsBlk::VatCode1, VatMax, a->vatCode);
        else if (zone == 2) Field(block, SalesAccountsBlk::VatCode2, VatMax, a->vatCode);
        else if (a->vatCode[0] == 0) Field(block, SalesAccountsBlk::VatCode0, VatMax, a->vatCode);
        if (a->account[0] == 0) {
            uint32_t at = zone == 1 ? SalesAccountsBlk::SalesAcc1
                        : zone == 2 ? SalesAccountsBlk::SalesAcc2 : SalesAccountsBlk::SalesAcc0;
            Field(block, at, AccountMax, a->account);
            if (a->account[0] == 0) Field(block, SalesAccountsBlk::SalesAcc0, AccountMax, a->account);
        }
    }
    // 11. The cost: cost price and additional cost, or the structure's.
    a->cost = CostPlusAdditional(item);
    PackedDecimal costPrice = GetDec(item, INVc::CostPrice);
    uint8_t structure[256];
    Field(item, INVc::StructCode, StructureMax, structure);
    if (DecIsBlank(&costPrice) && GetU16(item, INVc::StructFlag) != 0 && structure[0] != 0)
        StructurePrice(structure, &a->cost);
    return true;
}

// The cost of one unit made by the structure named structure: over its
// rows with a quantity above zero, the cost price and additional cost of
// each existing component times the row's quantity. price is left as it
// was when there is no such structure.
void StructurePrice(const uint8_t *structure, PackedDecimal *price) {
    assert(structure && price);
    if (structure[0] == 0 || structure[0] > StructureMax) return;
    PackedDecimal sum;
    DecSetZero(&sum);
    const bool found = StructureComponentsWalk(structure, [&](const StructureComponent &c) {
        if (DecCompareDouble(&c.quantity, 0) <= 0) return;
        PackedDecimal cost = GetDec(c.item, INVc::CostPrice), add = GetDec(c.item, INVc::AddCost), unit, line;
        DecAdd(&cost, &add, &unit);
        DecMul(&unit, &c.quantity, &line);
        DecAdd(&sum, &line, &sum);
    });
    if (found) *price = sum;
}

// The two stock figures of item at location: the quantity in stock and the
// quantity reserved, from the item's stock record (an empty location sums
// every location). For an item made from a structure, the units its
// components allow and the part of those that reservations take. Both
// blank and false when the item does not exist.
bool ItemCost(const uint8_t *item, const uint8_t *location, PackedDecimal *cost, PackedDecimal *value) {
    assert(item && location && cost && value);
    DecSetBlank(cost);
    DecSetBlank(value);
    RuleRecord rec(INVc::Number);
    if (!ReadByCode(rec, INVc::Code, item, ItemCodeMax)) return false;
    uint8_t structure[256];
    Field(rec.record, INVc::StructCode, StructureMax, structure);
    if (GetU16(rec.record, INVc::StructFlag) == 1 && structure[0] != 0) {
        PackedDecimal net;
        RecipeComponentScan(item, 1, cost, &net, 0, 0);
        DecSub(cost, &net, value);
        return true;
    }
    uint8_t stock[LocationStock::Size];
    Register6Lookup(item, location, stock);
    *cost = GetDec(stock, LocationStock::InStock);
    *value = GetDec(stock, LocationStock::Reserved);
    return true;
}

// The VAT code (3 bytes) and sales account (11 bytes) a row takes by
// default in zone: block 133's codes of zone 1, zone 2 or the others.
void DefaultVatAndAccount(const void *unused, uint8_t *vatCode, uint8_t *account, int zone) {
    (void)unused;
    assert(vatCode && account);
    vatCode[0] = 0;
    account[0] = 0;
    const uint8_t *block = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (!block) return;
    uint32_t vatAt = zone == 1 ? SalesAccountsBlk::VatCode1 : zone == 2 ? SalesAccountsBlk::VatCode2
                                                                        : SalesAccountsBlk::VatCode0;
    uint32_t accAt = zone == 1 ? SalesAccountsBlk::SalesAcc1 : zone == 2 ? SalesAccountsBlk::SalesAcc2
                                                                         : SalesAccountsBlk::SalesAcc0;
    Field(block, vatAt, VatMax, vatCode);
    Field(block, accAt, AccountMax, account);
}
