// stock_history_docs.cpp - the item history (register 59) of deliveries,
// purchases, productions and stock movements.
//
// One record per item of a document: the rows of one item are summed into
// the record made at the item's first row; a delivery row's structure
// gives one record per component. A delivery's rows may leave from
// locations of their own, so its records are per item and location.
// After writing, the document's serial numbers by location follow.
#include <cassert>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "operations/stock_docs.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

constexpr uint16_t DocMoveOut = 65535;

using Line = ItemHistoryLine;

// Adds qty of item at location, first seen at row, to lines.
void Add(std::vector<Line> &lines, const uint8_t *item, const uint8_t *location, const PackedDecimal *qty,
         uint16_t row) {
    if (DecIsBlank(qty)) return;
    for (Line &l : lines)
        if (PStringEqual(l.item, item) && PStringEqual(l.location, location)) {
            DecAdd(&l.qty, qty, &l.qty);
            return;
        }
    Line l{};
    PStringCopy(l.item, item);
    PStringCopy(l.location, location);
    DecCopy(&l.qty, qty);
    l.row = row;
    lines.push_back(l);
}

// The document's location, else the main one, into out.
void LocationOr(const uint8_t *own, uint8_t *out) {
    PStringCopy(out, own);
    if (out[0] == 0) StockMainLocation(out);
}

// The lines of a simple document: item code and quantity per row, all at
// location.
std::vector<Line> RowLines(int reg, const uint8_t *doc, TextField<20> itemAt, AmountField qtyAt,
                           const uint8_t *location) {
    std::vector<Line> lines;
    std::vector<uint8_t> row(RecRowSize(reg));
    uint8_t item[256];
    int32_t count = MatrixRowCount(reg, 0, doc);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(reg, doc, i, row.data())) continue;
        GetText(row.data(), itemAt, item);
        if (item[0] == 0) continue;
        PackedDecimal qty = GetDec(row.data(), qtyAt);
        Add(lines, item, location, &qty, (uint16_t)i);
    }
    return lines;
}

}  // namespace

bool ItemHistoryWrite(const ItemHistoryEntry &e, const std::vector<ItemHistoryLine> &lines) {
    for (const ItemHistoryLine &l : lines) {
        uint8_t h[ItemHistVc::Size] = {};
        PutText(h, ItemHistVc::ItemCode, l.item);
        PutText(h, ItemHistVc::Location, l.location);
        PutU16(h, ItemHistVc::DocType, e.type);
        PutU32(h, ItemHistVc::DocNr, e.serial);
        PutDate(h, ItemHistVc::HistDate, e.date);
        PutU16(h, ItemHistVc::Receipt, e.receipt);
        PackedDecimal qty = l.qty;
        if (e.out) DecNegateInto(&l.qty, &qty);
        PutDec(h, ItemHistVc::Quantity, qty);
        PutU16(h, ItemHistVc::Direction, e.direction);
        PutU16(h, ItemHistVc::RowNr, l.row);
        uint32_t recid = 0;
        if (!RecStore(ItemHistVc::Number, h, 0, &recid)) {
            ShowTextMessage(Texts::RecordNotStored);
            DbHoldFail();
            return false;
        }
    }
    return true;
}

// Type 8, out of stock at the row's location, else the delivery's, else
// the main one.
bool StockHistoryFromDelivery(const uint8_t *delivery) {
    assert(delivery);
    uint8_t own[256], location[256], item[256], structure[256], row[SHVc::Rows::Size];
    std::vector<Line> lines;
    std::vector<StructurePart> parts;
    int32_t count = MatrixRowCount(SHVc::Number, 0, delivery);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(SHVc::Number, delivery, i, row)) continue;
        GetText(row, SHVc::Rows::ItemCode, item);
        if (item[0] == 0) continue;
        GetText(row, SHVc::Rows::Location, own);
        // An import marks a row without a location of its own by "_".
        if (own[0] == 1 && own[1] == '_') own[0] = 0;
        if (own[0] == 0) GetText(delivery, SHVc::Location, own);
        LocationOr(own, location);
        PackedDecimal qty = GetDec(row, SHVc::Rows::ToDeliver);
        GetText(row, SHVc::Rows::StructCode, structure);
        if (NamesStructure(structure) && StructureParts(item, structure, &qty, parts)) {
            for (const StructurePart &p : parts) Add(lines, p.item, location, &p.qty, (uint16_t)i);
            continue;
        }
        Add(lines, item, location, &qty, (uint16_t)i);
    }
    ItemHistoryEntry e{SHVc::Number, GetU32(delivery, SHVc::SerNr), GetDate(delivery, SHVc::ShipDate), 0, 1, true};
    return ItemHistoryWrite(e, lines) && ItemSerialsFromDelivery(delivery);
}

// Type 4, into stock at the purchase's location, else the main one.
bool StockHistoryFromPurchase(const uint8_t *purchase) {
    assert(purchase);
    uint8_t own[256], location[256];
    GetText(purchase, PUVc::Location, own);
    LocationOr(own, location);
    std::vector<Line> lines = RowLines(PUVc::Number, purchase, PUVc::Rows::ItemCode, PUVc::Rows::Quantity, location);
    ItemHistoryEntry e{PUVc::Number, GetU32(purchase, PUVc::SerNr), GetDate(purchase, PUVc::TransDate), 1, 1, false};
    return ItemHistoryWrite(e, lines) && ItemSerialsFromPurchase(purchase);
}

// Type 77: per item, made less used, times the produced quantity, the
// same amount the production moves into stock.
bool StockHistoryFromProduction(const uint8_t *production) {
    assert(production);
    uint8_t own[256], location[256], item[256];
    GetText(production, ProductionVc::Location, own);
    LocationOr(own, location);
    PackedDecimal times = GetDec(production, ProductionVc::Quantity);
    if (DecIsBlank(&times)) DecFromLong(&times, 1);
    std::vector<Line> lines;
    int32_t count = MatrixRowCount(ProductionVc::Number, 0, production);
    for (int32_t i = 0; i < count; i++) {
        PackedDecimal used, made, net;
        if (!ProductionRowRead(production, i, item, &used, &made)) continue;
        DecSub(&made, &used, &net);
        DecMul(&net, &times, &net);
        Add(lines, item, location, &net, (uint16_t)i);
    }
    ItemHistoryEntry e{ProductionVc::Number, GetU32(production, ProductionVc::SerNr),
                       GetDate(production, ProductionVc::ProdDate), 1, 1, false};
    return ItemHistoryWrite(e, lines) && ItemSerialsFromProduction(production);
}

// Two records per item: out of the from location (type 65535) and into
// the to location (type 92).
bool StockHistoryFromStockMove(const uint8_t *move) {
    assert(move);
    uint8_t own[256], from[256], to[256];
    GetText(move, StockMoveVc::FromLocation, own);
    LocationOr(own, from);
    GetText(move, StockMoveVc::ToLocation, own);
    LocationOr(own, to);
    const uint32_t serial = GetU32(move, StockMoveVc::SerNr);
    const DateRec date = GetDate(move, StockMoveVc::MoveDate);
    std::vector<Line> out =
        RowLines(StockMoveVc::Number, move, StockMoveVc::Rows::ItemCode, StockMoveVc::Rows::Quantity, from);
    // The same items and quantities arrive where they left: one reading of
    // the rows serves both.
    std::vector<Line> in = out;
    for (Line &l : in) PStringCopy(l.location, to);
    return ItemHistoryWrite({DocMoveOut, serial, date, 0, 1, true}, out) &&
           ItemHistoryWrite({StockMoveVc::Number, serial, date, 1, 1, false}, in) && ItemSerialsFromStockMove(move);
}
