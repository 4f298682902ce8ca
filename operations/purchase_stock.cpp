// purchase_stock.cpp - a received purchase's effect on stock, history and
// the cost price of its items.
#include <cassert>

#include "core/date.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/stock_docs.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

constexpr uint16_t CostLastPrice = 1, CostMovingAverage = 2;

// The new cost price of item after receiving qty at unit: method 1 the
// unit cost; method 2 the average of the stock before the receipt at the
// old price and the receipt at unit. A stock after the receipt that is
// not above zero leaves nothing to average: the unit cost is taken, as
// method 1 gives. false when the method changes nothing.
bool NewCost(const uint8_t *item, const PackedDecimal *qty, const PackedDecimal *unit, PackedDecimal *cost) {
    uint16_t method = GetU16(item, INVc::CostMethod);
    if (method == CostLastPrice) {
        DecCopy(cost, unit);
        return true;
    }
    if (method != CostMovingAverage) return false;
    uint8_t code[256], none[1] = {0}, stock[LSVc::Size];
    GetText(item, INVc::Code, code);
    Register6Lookup(code, none, stock);
    PackedDecimal after = GetDec(stock, LSVc::InStock);
    if (DecIsBlank(&after) || DecSign(&after) <= 0) {
        DecCopy(cost, unit);
        return true;
    }
    PackedDecimal old = GetDec(item, INVc::CostPrice), before, a, b;
    if (DecIsBlank(&old)) DecSetZero(&old);
    DecSub(&after, qty, &before);
    DecMul(&before, &old, &a);
    DecMul(qty, unit, &b);
    DecAdd(&a, &b, &a);
    DecDiv(&a, &after, &a);
    DecRound(&a, 2, cost);
    return true;
}

}  // namespace

// For a received purchase, each row's item takes its new cost price; the
// item is stored, dated today, only when the price changed.
bool UpdateItemCost(const uint8_t *purchase) {
    assert(purchase);
    if (GetU16(purchase, PUVc::Received) != 1) return true;
    RuleRecord item(INVc::Number);
    if (!item.record) return false;
    uint8_t code[256], row[PUVc::Rows::Size];
    int32_t count = MatrixRowCount(PUVc::Number, 0, purchase);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PUVc::Number, purchase, i, row)) continue;
        GetText(row, PUVc::Rows::ItemCode, code);
        PackedDecimal qty = GetDec(row, PUVc::Rows::Quantity), unit = GetDec(row, PUVc::Rows::UnitCost), cost;
        if (code[0] == 0 || DecIsBlank(&qty) || DecIsBlank(&unit)) continue;
        PutText(item.record, INVc::Code, code);
        uint32_t recid = 0, position = 0;
        if (!RecFind(INVc::Number, item.record, 1, 1, &recid, &position)) continue;
        if (!NewCost(item.record, &qty, &unit, &cost)) continue;
        PackedDecimal old = GetDec(item.record, INVc::CostPrice);
        if (DecEqual(&old, &cost)) continue;
        PutDec(item.record, INVc::CostPrice, cost);
        PutDate(item.record, INVc::PriceDate, TodayDate);
        if (!RecStore(INVc::Number, item.record, 1, &recid)) {
            ShowTextMessage(Texts::RecordNotStored);
            DbHoldFail();
            return false;
        }
    }
    return true;
}

// A received purchase into stock and history; then the purchase order it
// names takes its quantities on purchases and received.
bool PurchaseStockUpdate(const uint8_t *purchase, const uint8_t *old, int keepOnPurchases) {
    assert(purchase);
    if (GetU16(purchase, PUVc::Received) == 1 &&
        (!LocationStockFromPurchase(purchase, 1) || !StockHistoryFromPurchase(purchase)))
        return false;
    if (GetU32(purchase, PUVc::POSerNr) == SerialNone) return true;
    return UpdatePurchaseOrderReceived(purchase, old, keepOnPurchases);
}
