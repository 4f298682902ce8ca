// fifo_cost.cpp - the FIFO cost of a quantity issued from stock on hand,
// for the stock reports and the stock vouchers.
//
// The stock on hand is taken to be the newest receipts; an issue takes its
// oldest units. Receipts are found through the item's history (register
// 59, index "FIFO": item, receipt flag, date) and valued from the rows of
// the documents that made them: productions (77), purchases (4) and, when
// stock is valued by location, stock movements (92).
#include <cassert>
#include <cstring>
#include <unordered_set>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "reports/sales/sales_reports.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

// Where the walk down the stock on hand stands.
struct FifoWalk {
    PackedDecimal remaining;   // units of the stock on hand not yet passed
    PackedDecimal toIssue;     // units of the issue not yet costed
    PackedDecimal cost;        // blank until a row is taken
};

// The main location of block 203 into out (empty while unbound).
void MainLocationCode(uint8_t *out) {
    out[0] = 0;
    if (const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock))
        GetPString(block, MainStockBlk::MainLocation, 10, out);
}

// True when a document's location `at` is location, empty codes standing
// for the main location.
bool SameLocation(const uint8_t *at, const uint8_t *location) {
    uint8_t a[256], b[256];
    PStringCopy(a, at);
    PStringCopy(b, location);
    if (a[0] == 0) MainLocationCode(a);
    if (b[0] == 0) MainLocationCode(b);
    return PStringEqual(a, b);
}

// Takes one receipt row of rowQty units at unit cost into the walk: the
// row covers the units from remaining - rowQty up to remaining, and the
// issue takes the lowest of them. false when the stock on hand is passed.
bool TakeRow(FifoWalk *w, const PackedDecimal *rowQty, const PackedDecimal *unit) {
    PackedDecimal below, taken, value;
    DecSub(&w->remaining, rowQty, &below);
    if (DecCompare(&below, &w->toIssue) <= 0 && DecSign(&w->toIssue) > 0) {
        if (DecSign(&below) >= 0) DecSub(&w->toIssue, &below, &taken);
        else taken = w->toIssue;
        DecMul(&taken, unit, &value);
        DecAdd(&w->cost, &value, &w->cost);
        DecSub(&w->toIssue, &taken, &w->toIssue);
    }
    DecSub(&w->remaining, rowQty, &w->remaining);
    return DecSign(&w->remaining) > 0;
}

// Walks the rows of one source document of a history entry, last row
// first, taking those of item with a positive quantity. false when the
// stock on hand is passed.
bool TakeDocument(FifoWalk *w, const uint8_t *entry, const uint8_t *item, const uint8_t *location, bool byLocation) {
    uint16_t type = GetU16(entry, ItemHistVc::DocType);
    int reg = 0;
    uint32_t serialAt = 0;
    switch (type) {
    case ProductionVc::Number: reg = type, serialAt = ProductionVc::SerNr; break;
    case PUVc::Number: reg = type, serialAt = PUVc::SerNr; break;
    case StockMoveVc::Number:
        // A movement only shifts stock between locations: it is a receipt
        // of the location it goes to, and nothing for the company's whole
        // stock.
        if (!byLocation || location[0] == 0) return true;
        reg = type, serialAt = StockMoveVc::SerNr;
        break;
    default: return true;
    }
    RuleRecord doc(reg);
    if (!doc.record) return true;
    PutU32(doc.record, serialAt, GetU32(entry, ItemHistVc::DocNr));
    uint32_t recid = 0, position = 0;
    if (!RecFind(reg, doc.record, 1, 1, &recid, &position)) return true;

    uint8_t at[256];
    PackedDecimal factor, rate;
    DecFromLong(&factor, 1);
    DecSetZero(&rate);
    uint32_t rowSize = 0, itemAt = 0, qtyAt = 0, unitAt = 0;
    switch (reg) {
    case ProductionVc::Number:
        GetPString(doc.record, ProductionVc::Location, 10, at);
        if (byLocation && location[0] != 0 && !SameLocation(at, location)) return true;
        factor = GetDec(doc.record, ProductionVc::Quantity);
        rowSize = ProductionVc::Rows::Size, itemAt = ProductionVc::Rows::ItemCode;
        qtyAt = ProductionVc::Rows::QtyMade, unitAt = ProductionVc::Rows::UnitCost;
        break;
    case PUVc::Number:
        GetPString(doc.record, PUVc::Location, 10, at);
        if (byLocation && location[0] != 0 && !SameLocation(at, location)) return true;
        rowSize = PUVc::Rows::Size, itemAt = PUVc::Rows::ItemCode;
        qtyAt = PUVc::Rows::Quantity, unitAt = PUVc::Rows::UnitCost;
        break;
    default:
        GetPString(doc.record, StockMoveVc::ToLocation, 10, at);
        if (!SameLocation(at, location)) return true;
        rate = GetDec(doc.record, StockMoveVc::Rate);
        rowSize = StockMoveVc::Rows::Size, itemAt = StockMoveVc::Rows::ItemCode;
        qtyAt = StockMoveVc::Rows::Quantity, unitAt = StockMoveVc::Rows::UnitCost;
        break;
    }
    uint8_t row[PUVc::Rows::Size > ProductionVc::Rows::Size ? PUVc::Rows::Size : ProductionVc::Rows::Size];
    static_assert(sizeof(row) >= StockMoveVc::Rows::Size);
    assert(rowSize <= sizeof(row));
    (void)rowSize;   // only the assertion reads it
    uint8_t code[256];
    for (int32_t i = MatrixRowCount(reg, 0, doc.record) - 1; i >= 0; i--) {
        if (!MatrixRowRead(reg, doc.record, i, row)) continue;
        GetPString(row, itemAt, 20, code);
        if (!PStringEqual(code, item)) continue;
        PackedDecimal qty = GetDec(row, qtyAt), unit = GetDec(row, unitAt);
        if (reg == ProductionVc::Number) DecMul(&qty, &factor, &qty);
        if (DecSign(&qty) <= 0) continue;
        if (reg == StockMoveVc::Number) {
            // The price the movement gave, in its currency; without one
            // the units keep the cost they left with.
            if (DecIsZero(&unit)) unit = GetDec(row, StockMoveVc::Rows::BaseCost);
            else AmountTimesRate(&unit, &rate, &unit);
        }
        if (!TakeRow(w, &qty, &unit)) return false;
    }
    return true;
}

}  // namespace

// The FIFO cost of issuing `issued` of item at location (empty: all) out
// of onHand into cost: the receipts are walked from the newest back and
// the issue takes the oldest units of the stock on hand. An issue of zero
// or less costs zero; an item missing or not stocked leaves cost alone;
// no receipt row taken gives blank. A document with several history
// entries is valued once.
void StockFifoCostOfQty(const uint8_t *item, const uint8_t *location, const PackedDecimal *onHand,
                        const PackedDecimal *issued, PackedDecimal *cost) {
    assert(item && location && onHand && issued && cost);
    if (DecSign(issued) <= 0) {
        DecSetZero(cost);
        return;
    }
    RuleRecord goods(INVc::Number);
    if (!goods.record) return;
    PutPString(goods.record, INVc::Code, 20, item);
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, goods.record, 1, 1, &recid, &position)) return;
    if (GetU16(goods.record, INVc::Stocked) == 0) return;
    uint8_t want[256];
    GetPString(goods.record, INVc::Code, 20, want);

    bool byLocation = false;
    if (const uint8_t *block = SettingsRecord(CostAccBlk::Number, CostAccountsBlock))
        byLocation = GetU16(block, CostAccBlk::ValueByLocation) != 0;

    FifoWalk w;
    w.remaining = *onHand;
    w.toIssue = *issued;
    DecSetBlank(&w.cost);
    if (DecSign(&w.remaining) > 0) {
        RuleRecord entry(ItemHistVc::Number);
        if (!entry.record) return;
        constexpr const char *index = "FIFO";
        PutPString(entry.record, ItemHistVc::ItemCode, 20, want);
        PutU16(entry.record, ItemHistVc::Receipt, 1);
        PutDate(entry.record, ItemHistVc::HistDate, DateRec{31, 12, 9999});
        std::unordered_set<uint64_t> seen;
        uint8_t got[256];
        if (RecFindByIndexKeep(ItemHistVc::Number, index, entry.record, 3, 0, &recid, &position)) {
            for (uint32_t p = position; p >= 1; p--) {
                if (p != position && !RecReadAtIndex(ItemHistVc::Number, index, (int32_t)p, entry.record, &recid))
                    break;
                GetPString(entry.record, ItemHistVc::ItemCode, 20, got);
                if (!PStringEqual(got, want) || GetU16(entry.record, ItemHistVc::Receipt) != 1) break;
                uint64_t doc = (uint64_t)GetU16(entry.record, ItemHistVc::DocType) << 32 |
                               GetU32(entry.record, ItemHistVc::DocNr);
                if (!seen.insert(doc).second) continue;
                if (!TakeDocument(&w, entry.record, want, location, byLocation)) break;
            }
        }
    }
    *cost = w.cost;
}
