// location_stock.cpp - the stock of an item at a location (register 6):
// the running quantities the documents add to.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "rules/rules_types.h"

namespace {

// True when item exists in register 3 with its stocked flag set.
bool ItemIsStocked(const uint8_t *item) {
    RuleRecord goods(INVc::Number);
    if (!goods.record || item[0] == 0) return false;
    PutText(goods.record, INVc::Code, item);
    uint32_t recid = 0, position = 0;
    return RecFind(INVc::Number, goods.record, 1, 1, &recid, &position) && GetU16(goods.record, INVc::Stocked) != 0;
}

}  // namespace

// Adds the five amounts (null or blank adds nothing) to the stock record
// of item at location (empty: block 203's main location) and stores it.
// A missing record is made, all quantities zero, only for an item that
// exists and is stocked; otherwise nothing happens and that is no
// failure. false when the store failed: the user is told and the open
// hold fails.
bool UpdateLocationStock(const uint8_t *item, const uint8_t *location, const PackedDecimal *inStock,
                         const PackedDecimal *onOrders, const PackedDecimal *reserved, const PackedDecimal *onConfPo,
                         const PackedDecimal *toReceive) {
    assert(item && location);
    uint8_t place[256];
    PStringCopy(place, location);
    if (place[0] == 0) {
        const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock);
        if (block) GetText(block, MainStockBlk::MainLocation, place);
    }
    RuleRecord stock(LSVc::Number);
    if (!stock.record) {
        ShowTextMessage(Texts::RecordNotStored);
        DbHoldFail();
        return false;
    }
    PutText(stock.record, LSVc::ItemCode, item);
    PutText(stock.record, LSVc::Location, place);
    uint32_t recid = 0, position = 0;
    bool existed = RecFindByIndex(LSVc::Number, "ItemLocation", stock.record, 2, 1, &recid, &position);
    if (!existed) {
        if (!ItemIsStocked(item)) return true;
        RecClear(LSVc::Number, stock.record);
        PutText(stock.record, LSVc::ItemCode, item);
        PutText(stock.record, LSVc::Location, place);
        PackedDecimal zero;
        DecSetZero(&zero);
        for (uint32_t at : {LSVc::Amount0, LSVc::InStock, LSVc::OnOrders, LSVc::OnConfPO, LSVc::Reserved,
                            LSVc::ToReceive, LSVc::OnDeliveries})
            PutDec(stock.record, at, zero);
    }
    const struct {
        const PackedDecimal *amount;
        uint32_t at;
    } moves[] = {{inStock, LSVc::InStock}, {onOrders, LSVc::OnOrders}, {reserved, LSVc::Reserved},
                 {onConfPo, LSVc::OnConfPO}, {toReceive, LSVc::ToReceive}};
    for (const auto &m : moves) {
        if (!m.amount || DecIsBlank(m.amount)) continue;
        PackedDecimal value = GetDec(stock.record, m.at);
        DecAdd(&value, m.amount, &value);
        PutDec(stock.record, m.at, value);
    }
    if (RecStore(LSVc::Number, stock.record, existed ? 1 : 0, &recid)) return true;
    ShowTextMessage(Texts::RecordNotStored);
    DbHoldFail();
    return false;
}
