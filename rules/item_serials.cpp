// item_serials.cpp - serial numbers in stock by location (register 104)
// kept from the documents that move them, with a history record
// (register 103) for every row of a serial-tracked item.
//
// An empty location means the main location of block 203 everywhere here.
// Each routine first applies every row to register 104, then writes the
// history; each gives false as soon as a store failed, so the calling hook
// fails its hold and nothing of the document's effect is kept.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "rules/stock.h"

namespace SerialStock = SerialStockVc;
namespace SerialHistory = SerialHistVc;

namespace {

// The source register a stock movement's history names for its issuing
// (from-location) side.
constexpr uint16_t SourceMoveOut = 65535;

// location, or the main location of block 203 when it is empty, into out.
void ResolveLocation(const uint8_t *location, uint8_t *out) {
    PStringCopy(out, location);
    if (out[0] != 0) return;
    if (const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock))
        GetText(block, MainStockBlk::MainLocation, out);
}

// Reads item code into item (a register-3 record); false when it does not
// exist.
bool ReadItem(const uint8_t *code, uint8_t *item) {
    PutText(item, INVc::Code, code);
    return RecFindByFirstKey(INVc::Number, item);
}

// True when item code exists and has a serial-number mode.
bool ItemHasSerials(const uint8_t *code) {
    RuleRecord item(INVc::Number);
    return item.record && ReadItem(code, item.record) && GetU16(item.record, INVc::SerialMode) >= 1;
}

// One document row as the routines apply it: the item, its serial text
// and the quantity it adds at a location (negative: takes out).
struct SerialMove {
    uint8_t item[24];
    uint8_t serial[32];
    PackedDecimal qty;
};

// The history record of one row: item, serial, date, source register and
// number, and location (empty = block 203's). Inserted without checks;
// false when the insert failed.
bool InsertSerialHistory(const uint8_t *item, const uint8_t *serial, const DateRec &date, uint16_t sourceReg,
                         uint32_t sourceNr, const uint8_t *location) {
    RuleRecord h(SerialHistory::Number);
    if (!h.record) return false;
    uint8_t loc[256];
    ResolveLocation(location, loc);
    PutText(h.record, SerialHistory::ItemCode, item);
    PutText(h.record, SerialHistory::SerialNr, serial);
    PutDate(h.record, SerialHistory::HistDate, date);
    PutU16(h.record, SerialHistory::SourceReg, sourceReg);
    PutU32(h.record, SerialHistory::SourceNr, sourceNr);
    PutText(h.record, SerialHistory::Location, loc);
    uint32_t recid = 0;
    return RecInsertUnchecked(SerialHistory::Number, h.record, &recid);
}

// Reads row i of record (register reg) into a move: the item at itemAt,
// serial at serialAt and quantity at qtyAt. false when there is no such
// row.
bool ReadMove(int reg, const uint8_t *record, int32_t i, uint32_t itemAt, uint32_t serialAt, uint32_t qtyAt,
              SerialMove *m) {
    uint8_t row[256];
    assert(RecRowSize(reg) <= sizeof row);
    if (!MatrixRowRead(reg, record, i, row)) return false;
    GetPString(row, itemAt, 20, m->item);
    GetPString(row, serialAt, 30, m->serial);
    m->qty = GetDec(row, qtyAt);
    return true;
}

// The rows of a document that moves stock at one location: every row's
// quantity (negated when out) applied there, then a history record per
// row of a serial-tracked item.
bool ApplyAtOneLocation(int reg, const uint8_t *record, uint32_t itemAt, uint32_t serialAt, uint32_t qtyAt,
                        bool out, uint32_t locationAt, uint32_t dateAt, uint32_t serNrAt) {
    uint8_t location[256];
    GetPString(record, locationAt, 10, location);
    const int32_t n = MatrixRowCount(reg, 0, record);
    SerialMove m;
    for (int32_t i = 0; i < n; i++) {
        if (!ReadMove(reg, record, i, itemAt, serialAt, qtyAt, &m)) return false;
        if (out) DecNegateInto(&m.qty, &m.qty);
        if (!UpdateSerialAtLocation(m.item, location, m.serial, &m.qty)) return false;
    }
    const DateRec date = GetDate(record, dateAt);
    const uint32_t serNr = GetU32(record, serNrAt);
    for (int32_t i = 0; i < n; i++) {
        if (!ReadMove(reg, record, i, itemAt, serialAt, qtyAt, &m)) return false;
        if (!ItemHasSerials(m.item)) continue;
        if (!InsertSerialHistory(m.item, m.serial, date, (uint16_t)reg, serNr, location)) return false;
    }
    return true;
}

}  // namespace

// Adds qty (negative: takes it out) to the register-104 record of item and
// serial at location. A record is made (quantity zero first) only for an
// existing stock item with a serial-number mode; for any other item
// without a record nothing happens. true unless a store failed.
bool UpdateSerialAtLocation(const uint8_t *item, const uint8_t *location, const uint8_t *serial,
                            const PackedDecimal *qty) {
    assert(item && location && serial && qty);
    RuleRecord entry(SerialStock::Number);
    if (!entry.record) return false;
    uint8_t loc[256];
    ResolveLocation(location, loc);
    PutText(entry.record, SerialStock::ItemCode, item);
    PutText(entry.record, SerialStock::Location, loc);
    PutText(entry.record, SerialStock::SerialNr, serial);
    uint32_t recid = 0, position = 0;
    const bool found = RecFindByIndex(SerialStock::Number, "ItemLocation", entry.record, 3, 1, &recid, &position);
    if (!found) {
        if (RemoteConnectionLost) return false;
        RuleRecord it(INVc::Number);
        if (!it.record) return false;
        if (!ReadItem(item, it.record) || GetU16(it.record, INVc::Stocked) == 0 ||
            GetU16(it.record, INVc::SerialMode) == 0)
            return true;
        // The miss cleared the record: fill the key again, quantity zero.
        PutText(entry.record, SerialStock::ItemCode, item);
        PutText(entry.record, SerialStock::Location, loc);
        PutText(entry.record, SerialStock::SerialNr, serial);
        PackedDecimal zero;
        DecSetZero(&zero);
        PutDec(entry.record, SerialStock::Quantity, zero);
    }
    PackedDecimal q = GetDec(entry.record, SerialStock::Quantity);
    DecAdd(&q, qty, &q);
    PutDec(entry.record, SerialStock::Quantity, q);
    return RecStore(SerialStock::Number, entry.record, found ? 1 : 0, &recid);
}

// A stock movement (register 92): each row's quantity taken from the
// from-location and added at the to-location; then two history records
// per serial-tracked row, the receiving side under register 92 and the
// issuing side under 65535, on the movement's date.
bool ItemSerialsFromStockMove(const uint8_t *move) {
    namespace M = StockMoveVc;
    assert(move);
    uint8_t from[256], to[256];
    GetText(move, M::FromLocation, from);
    GetText(move, M::ToLocation, to);
    const int32_t n = MatrixRowCount(M::Number, 0, move);
    SerialMove m;
    for (int32_t i = 0; i < n; i++) {
        if (!ReadMove(M::Number, move, i, M::Rows::ItemCode, M::Rows::SerialNr, M::Rows::Quantity, &m)) return false;
        if (!UpdateSerialAtLocation(m.item, to, m.serial, &m.qty)) return false;
        PackedDecimal out;
        DecNegateInto(&m.qty, &out);
        if (!UpdateSerialAtLocation(m.item, from, m.serial, &out)) return false;
    }
    const DateRec date = GetDate(move, M::MoveDate);
    const uint32_t serNr = GetU32(move, M::SerNr);
    for (int32_t i = 0; i < n; i++) {
        if (!ReadMove(M::Number, move, i, M::Rows::ItemCode, M::Rows::SerialNr, M::Rows::Quantity, &m)) return false;
        if (!ItemHasSerials(m.item)) continue;
        if (!InsertSerialHistory(m.item, m.serial, date, M::Number, serNr, to) ||
            !InsertSerialHistory(m.item, m.serial, date, SourceMoveOut, serNr, from))
            return false;
    }
    return true;
}

// A delivery (register 8): each row's quantity to deliver taken out at the
// delivery's location.
bool ItemSerialsFromDelivery(const uint8_t *delivery) {
    namespace D = SHVc;
    assert(delivery);
    return ApplyAtOneLocation(D::Number, delivery, D::Rows::ItemCode, D::Rows::SerialNr, D::Rows::ToDeliver, true,
                              D::Location, D::ShipDate, D::SerNr);
}

// A purchase (register 4): each row's quantity added at the purchase's
// location.
bool ItemSerialsFromPurchase(const uint8_t *purchase) {
    namespace P = PUVc;
    assert(purchase);
    return ApplyAtOneLocation(P::Number, purchase, P::Rows::ItemCode, P::Rows::SerialNr, P::Rows::Quantity, false,
                              P::Location, P::TransDate, P::SerNr);
}

// A production (register 77) at its location: a row's quantity used, per
// produced unit, times the produced quantity is taken out, and its
// quantity made likewise added; blank quantities move nothing.
bool ItemSerialsFromProduction(const uint8_t *production) {
    namespace P = ProductionVc;
    assert(production);
    uint8_t location[256], row[P::Rows::Size], item[24], serial[32];
    GetText(production, P::Location, location);
    const PackedDecimal produced = GetDec(production, P::Quantity);
    const int32_t n = MatrixRowCount(P::Number, 0, production);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(P::Number, production, i, row)) return false;
        GetText(row, P::Rows::ItemCode, item);
        GetText(row, P::Rows::SerialNr, serial);
        const PackedDecimal used = GetDec(row, P::Rows::QtyUsed), made = GetDec(row, P::Rows::QtyMade);
        PackedDecimal q;
        if (!DecIsBlank(&used)) {
            DecMul(&used, &produced, &q);
            DecNegateInto(&q, &q);
            if (!UpdateSerialAtLocation(item, location, serial, &q)) return false;
        }
        if (!DecIsBlank(&made)) {
            DecMul(&made, &produced, &q);
            if (!UpdateSerialAtLocation(item, location, serial, &q)) return false;
        }
    }
    const DateRec date = GetDate(production, P::ProdDate);
    const uint32_t serNr = GetU32(production, P::SerNr);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(P::Number, production, i, row)) return false;
        GetText(row, P::Rows::ItemCode, item);
        if (!ItemHasSerials(item)) continue;
        GetText(row, P::Rows::SerialNr, serial);
        if (!InsertSerialHistory(item, serial, date, P::Number, serNr, location)) return false;
    }
    return true;
}
