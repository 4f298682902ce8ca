// stock_levels.cpp - stock per item and location (register 6), quantities
// on a date from the item history (register 59), and the quantities a
// delivery's rows have available.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "rules/stock.h"

namespace {

// The quantities of a register-6 record that sums over locations add up.
constexpr uint32_t StockQuantities[] = {LocationStock::Amount0,  LocationStock::InStock,  LocationStock::OnOrders,
                                        LocationStock::OnConfPO, LocationStock::Reserved, LocationStock::ToReceive,
                                        LocationStock::OnDeliveries};

// The main location of block 203 into out (empty while unbound).
void MainLocation(uint8_t *out) {
    out[0] = 0;
    if (const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock))
        GetText(block, MainStockBlk::MainLocation, out);
}

// Sums the quantities of every location record of item into stock; true
// when there was at least one.
bool SumAllLocations(const uint8_t *item, uint8_t *stock) {
    RuleRecord entry(LocationStock::Number);
    if (!entry.record) return false;
    PutText(entry.record, LocationStock::ItemCode, item);
    uint8_t want[256], got[256];
    GetText(entry.record, LocationStock::ItemCode, want);
    PutText(stock, LocationStock::ItemCode, want);
    constexpr const char *index = "ItemCode";
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(LocationStock::Number, index, entry.record, 1, 1, &recid, &position)) return false;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(LocationStock::Number, index, (int32_t)p, entry.record, &recid)) break;
        GetText(entry.record, LocationStock::ItemCode, got);
        if (!PStringEqual(got, want)) break;
        for (uint32_t at : StockQuantities) {
            PackedDecimal sum = GetDec(stock, at), q = GetDec(entry.record, at);
            DecAdd(&sum, &q, &sum);
            PutDec(stock, at, sum);
        }
    }
    return true;
}

}  // namespace

// Reads the register-6 record of item at location into stock (index
// "ItemLocation", exact); an empty location sums the quantities of every
// location record of the item. false, every quantity zero, when there is
// none.
bool Register6Lookup(const uint8_t *item, const uint8_t *location, uint8_t *stock) {
    assert(item && location && stock);
    std::memset(stock, 0, LocationStock::Size);
    if (location[0] == 0) return SumAllLocations(item, stock);
    PutText(stock, LocationStock::ItemCode, item);
    PutText(stock, LocationStock::Location, location);
    uint32_t recid = 0, position = 0;
    if (RecFindByIndex(LocationStock::Number, "ItemLocation", stock, 2, 1, &recid, &position)) return true;
    std::memset(stock, 0, LocationStock::Size);
    return false;
}

// True when the FIFO layer (register 59) lies at location, an empty code
// on either side standing for the main location of block 203.
bool FifoLayerAtLocation(const uint8_t *layer, const uint8_t *location) {
    assert(layer && location);
    uint8_t at[256], want[256];
    GetText(layer, ItemHistVc::Location, at);
    PStringCopy(want, location);
    if (at[0] == 0) MainLocation(at);
    if (want[0] == 0) MainLocation(want);
    return PStringEqual(at, want);
}

// The quantity in stock of item at location (register 6) into qty; when
// date is given, less the receipts at the location dated after it.
void StockQtyAtDate(const uint8_t *item, const uint8_t *location, PackedDecimal *qty, const DateRec *date) {
    assert(item && location && qty);
    RuleRecord stock(LocationStock::Number);
    DecSetZero(qty);
    if (!stock.record) return;
    Register6Lookup(item, location, stock.record);
    *qty = GetDec(stock.record, LocationStock::InStock);
    if (date) StockQtyBackToDate(item, location, qty, date);
}

// Subtracts from qty the receipts of item at location dated after date:
// walks the item's receipts by index "FIFO" (item, receipt, date) from the
// newest back while they are dated after date.
void StockQtyBackToDate(const uint8_t *item, const uint8_t *location, PackedDecimal *qty, const DateRec *date) {
    assert(item && location && qty && date);
    RuleRecord layer(ItemHistVc::Number);
    if (!layer.record) return;
    constexpr const char *index = "FIFO";
    uint8_t want[256], got[256];
    PutText(layer.record, ItemHistVc::ItemCode, item);
    GetText(layer.record, ItemHistVc::ItemCode, want);
    PutU16(layer.record, ItemHistVc::Receipt, 1);
    PutDate(layer.record, ItemHistVc::HistDate, DateRec{31, 12, 9999});
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndexKeep(ItemHistVc::Number, index, layer.record, 3, 0, &recid, &position)) return;
    for (uint32_t p = position; p >= 1; p--) {
        if (p != position && !RecReadAtIndex(ItemHistVc::Number, index, (int32_t)p, layer.record, &recid)) break;
        GetText(layer.record, ItemHistVc::ItemCode, got);
        if (!PStringEqual(got, want) || GetU16(layer.record, ItemHistVc::Receipt) != 1) break;
        DateRec at = GetDate(layer.record, ItemHistVc::HistDate);
        if (DateCompare(&at, date) <= 0) break;
        if (!FifoLayerAtLocation(layer.record, location)) continue;
        PackedDecimal q = GetDec(layer.record, ItemHistVc::Quantity);
        DecSub(qty, &q, qty);
    }
}

// Sets row `row` of the delivery's quantity in stock from register 6 (the
// row's location, else location, else the delivery's) and its quantity to
// deliver to the row's remaining quantity, limited to that stock and never
// below zero. A row that cannot be read is left alone.
void OrderRowAvailable(uint8_t *delivery, int32_t row, const uint8_t *location) {
    assert(delivery);
    uint8_t r[SHVc::Rows::Size], item[256], at[256];
    if (!MatrixRowRead(SHVc::Number, delivery, row, r)) return;
    GetText(r, SHVc::Rows::Location, at);
    if (at[0] == 0 && location) PStringCopy(at, location);
    if (at[0] == 0) GetText(delivery, SHVc::Location, at);
    GetText(r, SHVc::Rows::ItemCode, item);
    RuleRecord stock(LocationStock::Number);
    if (!stock.record) return;
    Register6Lookup(item, at, stock.record);
    PackedDecimal inStock = GetDec(stock.record, LocationStock::InStock);
    PackedDecimal want = GetDec(r, SHVc::Rows::QtyLeft), deliver;
    DecMin(&want, &inStock, &deliver);
    if (DecSign(&deliver) < 0) DecSetZero(&deliver);
    PutDec(r, SHVc::Rows::Available, inStock);
    PutDec(r, SHVc::Rows::ToDeliver, deliver);
    MatrixRowPut(SHVc::Number, 0, delivery, row, r);
}

// OrderRowAvailable for every row of the delivery, each at its own
// location or the delivery's.
void OrderRowsAvailable(uint8_t *delivery) {
    assert(delivery);
    int32_t count = MatrixRowCount(SHVc::Number, 0, delivery);
    for (int32_t i = 0; i < count; i++) OrderRowAvailable(delivery, i, nullptr);
}
