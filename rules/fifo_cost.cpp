// fifo_cost.cpp - the FIFO cost of a quantity issued from stock on hand,
// for the stock vouchers, the batch routines and the stock reports.
//
// The stock on hand is taken to be the newest receipts; an issue takes its
// oldest units. Receipts are found through the item's history (register
// 59) and valued from the rows of the documents that made them:
// productions (77), purchases (4) and, when stock is valued by location,
// stock movements (92). Sales carry the receipt flag too, so the walk
// does not go down index "FIFO" (item, flag, date), where it would pass
// every sale of the item, but down index "FIFODoc" (item, flag, document
// type, date) once per valued document type, merging the runs newest
// first in the order of "FIFO" (date, then record id). A company file
// made before "FIFODoc" existed has it incomplete; there the walk goes
// down "FIFO" as before.
//
// Units of the stock on hand older than every receipt found are priced at
// the average cost of the units the receipts cover, so an issue and a
// valuation of the same stock agree. StockFifoValue is the valuation: the
// cost of issuing the whole of a quantity.
#include <cassert>
#include <cstring>
#include <unordered_set>

#include "core/date.h"
#include "core/field_types.h"
#include "core/system.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/stock.h"
#include "rules/stock_cost_lines.h"
#include "rules/vat_currency.h"

namespace {

// Where the walk down the stock on hand stands.
struct FifoWalk {
    PackedDecimal remaining;   // units of the stock on hand not yet passed
    PackedDecimal toIssue;     // units of the issue not yet costed
    PackedDecimal cost;        // blank until a row is taken
    PackedDecimal covered;     // units of the stock on hand the receipts cover
    PackedDecimal coveredValue;
    const DateRec *limit = nullptr;   // receipts dated after it are passed over
    bool currentRate = false;         // receipts in a currency at today's rate
    bool print = false;               // one report line per row taken
};

// The main location of block 203 into out (empty while unbound).
void MainLocationCode(uint8_t *out) {
    out[0] = 0;
    if (const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock))
        GetText(block, MainStockBlk::MainLocation, out);
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
    PackedDecimal below, taken, value, inStock;
    DecMin(rowQty, &w->remaining, &inStock);
    DecAdd(&w->covered, &inStock, &w->covered);
    DecMul(&inStock, unit, &value);
    DecAdd(&w->coveredValue, &value, &w->coveredValue);
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
    uint8_t currency[256] = {};
    uint32_t rowSize = 0, itemAt = 0, qtyAt = 0, unitAt = 0;
    switch (reg) {
    case ProductionVc::Number:
        GetText(doc.record, ProductionVc::Location, at);
        if (byLocation && location[0] != 0 && !SameLocation(at, location)) return true;
        factor = GetDec(doc.record, ProductionVc::Quantity);
        rowSize = ProductionVc::Rows::Size, itemAt = ProductionVc::Rows::ItemCode;
        qtyAt = ProductionVc::Rows::QtyMade, unitAt = ProductionVc::Rows::UnitCost;
        break;
    case PUVc::Number:
        GetText(doc.record, PUVc::Location, at);
        if (byLocation && location[0] != 0 && !SameLocation(at, location)) return true;
        rowSize = PUVc::Rows::Size, itemAt = PUVc::Rows::ItemCode;
        qtyAt = PUVc::Rows::Quantity, unitAt = PUVc::Rows::UnitCost;
        GetText(doc.record, PUVc::Currency, currency);
        rate = GetDec(doc.record, PUVc::Rate);
        break;
    default:
        GetText(doc.record, StockMoveVc::ToLocation, at);
        if (!SameLocation(at, location)) return true;
        rate = GetDec(doc.record, StockMoveVc::Rate);
        GetText(doc.record, StockMoveVc::CurncyCode, currency);
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
        PackedDecimal today;
        const bool revalue = w->currentRate && currency[0] != 0 && CurrencyRate(currency, &TodayDate, &today);
        if (reg == StockMoveVc::Number) {
            // The price the movement gave, in its currency; without one
            // the units keep the cost they left with.
            if (DecIsZero(&unit)) unit = GetDec(row, StockMoveVc::Rows::BaseCost);
            else AmountTimesRate(&unit, revalue ? &today : &rate, &unit);
        } else if (reg == PUVc::Number && revalue) {
            AmountByRateInverse(&unit, &rate, &unit);
            AmountTimesRate(&unit, &today, &unit);
        }
        PackedDecimal before = w->toIssue, taken, value;
        bool more = TakeRow(w, &qty, &unit);
        if (w->print) {
            DecSub(&before, &w->toIssue, &taken);
            DecMul(&taken, &unit, &value);
            StockCostLines.fifoRow((uint16_t)reg, GetU32(entry, ItemHistVc::DocNr), GetDate(entry, ItemHistVc::HistDate),
                                   &taken, &unit, &value);
        }
        if (!more) return false;
    }
    return true;
}

// True when the entry is dated after the walk's date limit (a limit with
// a year).
bool AfterLimit(const FifoWalk *w, const uint8_t *entry) {
    if (!w->limit || w->limit->year == 0) return false;
    DateRec d = GetDate(entry, ItemHistVc::HistDate);
    return DateCompare(&d, w->limit) > 0;
}

// One document type's run of an item's flagged entries in index
// "FIFODoc", read from the newest back.
struct ReceiptRun {
    uint8_t entry[ItemHistVc::Size];
    uint32_t position = 0;   // of entry in the index; 0 when the run is over
    uint32_t recid = 0;
};

constexpr const char *ReceiptIndex = "FIFODoc";

// True when entry is a flagged entry of item made by a document of type.
bool InRun(const uint8_t *entry, const uint8_t *item, uint16_t type) {
    uint8_t got[256];
    GetText(entry, ItemHistVc::ItemCode, got);
    return PStringEqual(got, item) && GetU16(entry, ItemHistVc::Receipt) == 1 &&
           GetU16(entry, ItemHistVc::DocType) == type;
}

// Puts run at the newest flagged entry of item made by a document of type;
// the run is over when there is none.
void RunStart(ReceiptRun *run, const uint8_t *item, uint16_t type) {
    std::memset(run->entry, 0, sizeof run->entry);
    PutText(run->entry, ItemHistVc::ItemCode, item);
    PutU16(run->entry, ItemHistVc::Receipt, 1);
    PutU16(run->entry, ItemHistVc::DocType, type);
    PutDate(run->entry, ItemHistVc::HistDate, DateRec{31, 12, 9999});
    uint32_t position = 0;
    if (!RecFindByIndexKeep(ItemHistVc::Number, ReceiptIndex, run->entry, 4, 0, &run->recid, &position) ||
        !InRun(run->entry, item, type))
        position = 0;
    run->position = position;
}

// Moves run one entry back; the run is over past its first entry.
void RunBack(ReceiptRun *run, const uint8_t *item, uint16_t type) {
    uint32_t p = run->position - 1;
    if (p < 1 || !RecReadAtIndex(ItemHistVc::Number, ReceiptIndex, (int32_t)p, run->entry, &run->recid) ||
        !InRun(run->entry, item, type))
        p = 0;
    run->position = p;
}

// True when run a's entry comes after run b's in index "FIFO": a later
// date, or the same date and a larger record id.
bool RunAfter(const ReceiptRun &a, const ReceiptRun &b) {
    DateRec da = GetDate(a.entry, ItemHistVc::HistDate), db = GetDate(b.entry, ItemHistVc::HistDate);
    int c = DateCompare(&da, &db);
    return c != 0 ? c > 0 : a.recid > b.recid;
}

// True when index "FIFODoc" holds an entry for every history record. A
// company file made before the index was defined gets it, empty, at its
// next history record, and the index then misses the older entries.
bool ReceiptIndexComplete() {
    uint32_t count = RegRecordCount(ItemHistVc::Number), recid = 0;
    uint8_t entry[ItemHistVc::Size];
    return count > 0 && RecReadAtIndex(ItemHistVc::Number, ReceiptIndex, (int32_t)count, entry, &recid);
}

// Takes the receipts of item into w by the runs of index "FIFODoc", the
// valued document types merged newest first.
void WalkReceiptRuns(FifoWalk *w, const uint8_t *item, const uint8_t *location, bool byLocation) {
    // A movement is a receipt only of the location it goes to.
    const uint16_t types[] = {ProductionVc::Number, PUVc::Number, StockMoveVc::Number};
    const size_t kinds = byLocation && location[0] != 0 ? 3 : 2;
    ReceiptRun runs[3];
    for (size_t k = 0; k < kinds; k++) RunStart(&runs[k], item, types[k]);
    std::unordered_set<uint64_t> seen;
    for (;;) {
        ReceiptRun *next = nullptr;
        size_t at = 0;
        for (size_t k = 0; k < kinds; k++)
            if (runs[k].position != 0 && (!next || RunAfter(runs[k], *next))) next = &runs[k], at = k;
        if (!next) return;
        uint64_t doc = (uint64_t)types[at] << 32 | GetU32(next->entry, ItemHistVc::DocNr);
        if (!AfterLimit(w, next->entry) && seen.insert(doc).second &&
            !TakeDocument(w, next->entry, item, location, byLocation))
            return;
        RunBack(next, item, types[at]);
    }
}

// Takes the receipts of item into w down index "FIFO", passing every
// flagged entry (sales too): the way while "FIFODoc" is incomplete.
void WalkFlaggedEntries(FifoWalk *w, const uint8_t *item, const uint8_t *location, bool byLocation) {
    constexpr const char *index = "FIFO";
    uint8_t entry[ItemHistVc::Size] = {}, got[256];
    PutText(entry, ItemHistVc::ItemCode, item);
    PutU16(entry, ItemHistVc::Receipt, 1);
    PutDate(entry, ItemHistVc::HistDate, DateRec{31, 12, 9999});
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndexKeep(ItemHistVc::Number, index, entry, 3, 0, &recid, &position)) return;
    std::unordered_set<uint64_t> seen;
    for (uint32_t p = position; p >= 1; p--) {
        if (p != position && !RecReadAtIndex(ItemHistVc::Number, index, (int32_t)p, entry, &recid)) return;
        GetText(entry, ItemHistVc::ItemCode, got);
        if (!PStringEqual(got, item) || GetU16(entry, ItemHistVc::Receipt) != 1) return;
        uint64_t doc = (uint64_t)GetU16(entry, ItemHistVc::DocType) << 32 | GetU32(entry, ItemHistVc::DocNr);
        if (!AfterLimit(w, entry) && seen.insert(doc).second && !TakeDocument(w, entry, item, location, byLocation))
            return;
    }
}

}  // namespace

namespace {

// Walks the receipts of item for the stock on hand and the issue in w,
// then prices the issued units older than every receipt at the average of
// the covered units. An item missing or not stocked costs zero and
// answers false; no receipt at all leaves the cost blank.
bool FifoWalkItem(FifoWalk *w, const uint8_t *item, const uint8_t *location) {
    DecSetBlank(&w->cost);
    DecSetZero(&w->covered);
    DecSetZero(&w->coveredValue);
    RuleRecord goods(INVc::Number);
    if (!goods.record) return true;
    PutText(goods.record, INVc::Code, item);
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, goods.record, 1, 1, &recid, &position) || GetU16(goods.record, INVc::Stocked) == 0) {
        DecSetZero(&w->cost);
        return false;
    }
    uint8_t want[256];
    GetText(goods.record, INVc::Code, want);
    bool byLocation = false;
    if (const uint8_t *block = SettingsRecord(CostAccBlk::Number, CostAccountsBlock))
        byLocation = GetU16(block, CostAccBlk::ValueByLocation) != 0;
    if (DecSign(&w->remaining) > 0) {
        if (ReceiptIndexComplete()) WalkReceiptRuns(w, want, location, byLocation);
        else WalkFlaggedEntries(w, want, location, byLocation);
    }
    if (DecSign(&w->toIssue) <= 0 || DecSign(&w->covered) <= 0) return true;
    // The value first, then the division: an average rounded on its own
    // would be multiplied into a visible error.
    PackedDecimal extra;
    DecMul(&w->coveredValue, &w->toIssue, &extra);
    DecDiv(&extra, &w->covered, &extra);
    DecRound(&extra, 2, &extra);
    DecAdd(&w->cost, &extra, &w->cost);
    return true;
}

}  // namespace

// The FIFO cost of issuing `issued` of item at location (empty: all) out
// of onHand into cost: the receipts are walked from the newest back and
// the issue takes the oldest units of the stock on hand; units older than
// every receipt found take the average cost of the covered units. An
// issue of zero or less costs zero; an item missing or not stocked has no
// cost of its own and leaves cost as the caller set it (a service's row
// shows no cost); no receipt at all gives blank. A document with several
// history entries is valued once.
void StockFifoCostOfQty(const uint8_t *item, const uint8_t *location, const PackedDecimal *onHand,
                        const PackedDecimal *issued, PackedDecimal *cost) {
    assert(item && location && onHand && issued && cost);
    if (DecSign(issued) <= 0) {
        DecSetZero(cost);
        return;
    }
    FifoWalk w;
    w.remaining = *onHand;
    w.toIssue = *issued;
    if (FifoWalkItem(&w, item, location)) *cost = w.cost;
}

// The value of qty of item held at location (empty: all), first in first
// out: the newest receipts make up the stock, and units beyond them take
// the average cost of those covered. currentRate revalues receipts in a
// currency at today's rate; print writes one report line per row used;
// limit (null, or no year: none) passes over receipts dated after it. A
// quantity of zero or less is worth zero, nothing read.
void StockFifoValue(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty, PackedDecimal *result,
                    bool currentRate, bool print, const DateRec *limit) {
    assert(item && location && qty && result);
    if (DecIsBlank(qty) || DecSign(qty) <= 0) {
        DecSetZero(result);
        return;
    }
    FifoWalk w;
    w.remaining = *qty;
    w.toIssue = *qty;
    w.limit = limit;
    w.currentRate = currentRate;
    w.print = StockCostLinesReady(print, StockCostLines.fifoRow != nullptr);
    FifoWalkItem(&w, item, location);
    *result = w.cost;
}
