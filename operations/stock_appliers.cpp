// stock_appliers.cpp - the stock documents' quantities in the stock of
// each item at each location (register 6).
#include <cassert>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "operations/stock_docs.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"

namespace {

// qty negated unless add; false (nothing to add) when qty is blank.
bool Signed(const PackedDecimal *qty, int add, PackedDecimal *out) {
    if (DecIsBlank(qty)) return false;
    if (add) DecCopy(out, qty);
    else DecNegateInto(qty, out);
    return true;
}

// The stock record of item at location, made for a stocked item; nullptr
// amounts add nothing. Only the pending-delivery quantity needs this path.
bool AddOnDeliveries(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty) {
    uint8_t place[256];
    PStringCopy(place, location);
    if (place[0] == 0) StockMainLocation(place);
    RuleRecord stock(LSVc::Number);
    if (!stock.record) return false;
    PutText(stock.record, LSVc::ItemCode, item);
    PutText(stock.record, LSVc::Location, place);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(LSVc::Number, "ItemLocation", stock.record, 2, 1, &recid, &position)) {
        // UpdateLocationStock makes the record when the item is stocked.
        PackedDecimal none;
        DecSetBlank(&none);
        if (!UpdateLocationStock(item, place, &none, nullptr, nullptr, nullptr, nullptr)) return false;
        PutText(stock.record, LSVc::ItemCode, item);
        PutText(stock.record, LSVc::Location, place);
        if (!RecFindByIndex(LSVc::Number, "ItemLocation", stock.record, 2, 1, &recid, &position)) return true;
    }
    PackedDecimal value = GetDec(stock.record, LSVc::OnDeliveries);
    if (DecIsBlank(&value)) DecSetZero(&value);
    DecAdd(&value, qty, &value);
    PutDec(stock.record, LSVc::OnDeliveries, value);
    if (RecStore(LSVc::Number, stock.record, 1, &recid)) return true;
    DbHoldFail();
    return false;
}

// The components of a row's structure for qty, or the item itself.
void RowParts(const uint8_t *item, const uint8_t *structure, const PackedDecimal *qty,
              std::vector<StructurePart> &parts) {
    if (NamesStructure(structure) && StructureParts(item, structure, qty, parts)) return;
    parts.clear();
    StructurePart self{};
    PStringCopy(self.item, item);
    DecCopy(&self.qty, qty);
    parts.push_back(self);
}

// Reads the order whose serial is serial into order; false when none.
bool ReadOrder(uint32_t serial, uint8_t *order) {
    if (serial == SerialNone) return false;
    PutU32(order, ORVc::SerNr, serial);
    return RecFindByFirstKey(ORVc::Number, order);
}

}  // namespace

// The main location of block 203 into out; empty while the block is not
// bound.
void StockMainLocation(uint8_t *out) {
    out[0] = 0;
    if (const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock))
        GetText(block, MainStockBlk::MainLocation, out);
}

// The row index a link names, -1 when none (all ones, a component line) or
// when its low 16 bits are not below count.
int32_t LinkedRowIndex(uint32_t link, int32_t count) {
    if (link == SerialNone || link == 0xFFFFFFFEu) return -1;
    int32_t at = (int32_t)(link & 0xFFFFu);
    return at < count ? at : -1;
}

// True when structure names one: neither empty nor the window's "_".
bool NamesStructure(const uint8_t *structure) {
    return structure[0] != 0 && !(structure[0] == 1 && structure[1] == '_');
}

bool ProductionRowRead(const uint8_t *production, int32_t i, uint8_t *item, PackedDecimal *used, PackedDecimal *made) {
    uint8_t row[ProductionVc::Rows::Size];
    if (!MatrixRowRead(ProductionVc::Number, production, i, row)) return false;
    GetText(row, ProductionVc::Rows::ItemCode, item);
    if (item[0] == 0) return false;
    *used = GetDec(row, ProductionVc::Rows::QtyUsed);
    *made = GetDec(row, ProductionVc::Rows::QtyMade);
    if (DecIsBlank(used)) DecSetZero(used);
    if (DecIsBlank(made)) DecSetZero(made);
    return true;
}

// Adds qty to the pending-delivery quantity of item at location; a blank
// quantity, an unknown or unstocked item change nothing.
bool DeliveryLocationStock(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty) {
    assert(item && location && qty);
    if (item[0] == 0 || DecIsBlank(qty) || DecIsZero(qty)) return true;
    return AddOnDeliveries(item, location, qty);
}

// An order's item rows (kind 1): on orders += ordered, and reserved the
// same when the order reserves, at the order's location; a structure row
// counts its components.
bool OrderReservedStock(const uint8_t *order, int add) {
    assert(order);
    uint8_t location[256], item[256], structure[256], row[ORVc::Rows::Size];
    GetText(order, ORVc::Location, location);
    const bool reserves = GetU16(order, ORVc::Reserves) != 0;
    std::vector<StructurePart> parts;
    int32_t count = MatrixRowCount(ORVc::Number, 0, order);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(ORVc::Number, order, i, row) ||
            DocRowKind(GetU16(row, ORVc::Rows::Kind)) != DocRowKind::Item) continue;
        GetText(row, ORVc::Rows::ItemCode, item);
        PackedDecimal qty = GetDec(row, ORVc::Rows::Quantity), amount;
        if (item[0] == 0 || !Signed(&qty, add, &amount)) continue;
        GetText(row, ORVc::Rows::StructCode, structure);
        RowParts(item, structure, &amount, parts);
        for (const StructurePart &p : parts)
            if (!UpdateLocationStock(p.item, location, nullptr, &p.qty, reserves ? &p.qty : nullptr, nullptr, nullptr))
                return false;
    }
    return true;
}

// A purchase order's rows: to receive += ordered less received (not below
// zero), on confirmed orders += ordered when the order is confirmed; a
// closed order and a row with nothing to receive count nothing.
bool PurchaseOrderOnOrderStock(const uint8_t *po, int add) {
    assert(po);
    if (GetU16(po, PurchOrderVc::Closed) != 0) return true;
    uint8_t location[256], item[256], row[PurchOrderVc::Rows::Size];
    GetText(po, PurchOrderVc::Location, location);
    const bool confirmed = GetU16(po, PurchOrderVc::Confirmed) != 0;
    int32_t count = MatrixRowCount(PurchOrderVc::Number, 0, po);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PurchOrderVc::Number, po, i, row)) continue;
        GetText(row, PurchOrderVc::Rows::ItemCode, item);
        PackedDecimal ordered = GetDec(row, PurchOrderVc::Rows::Quantity);
        PackedDecimal received = GetDec(row, PurchOrderVc::Rows::QtyReceived), left, toReceive, onConf;
        if (item[0] == 0 || DecIsBlank(&ordered)) continue;
        if (DecIsBlank(&received)) DecSetZero(&received);
        DecSub(&ordered, &received, &left);
        if (DecSign(&left) <= 0) continue;
        Signed(&left, add, &toReceive);
        Signed(&ordered, add, &onConf);
        if (!UpdateLocationStock(item, location, nullptr, nullptr, nullptr, confirmed ? &onConf : nullptr, &toReceive))
            return false;
    }
    return true;
}

// A production's rows times its produced quantity: finished, in stock +=
// made less used; else on orders += used and to receive += made.
bool ProductionStockRows(const uint8_t *production, int add) {
    assert(production);
    uint8_t location[256], item[256];
    GetText(production, ProductionVc::Location, location);
    const bool finished = GetU16(production, ProductionVc::Finished) != 0;
    PackedDecimal times = GetDec(production, ProductionVc::Quantity);
    if (DecIsBlank(&times)) return true;
    int32_t count = MatrixRowCount(ProductionVc::Number, 0, production);
    for (int32_t i = 0; i < count; i++) {
        PackedDecimal used, made;
        if (!ProductionRowRead(production, i, item, &used, &made)) continue;
        DecMul(&used, &times, &used);
        DecMul(&made, &times, &made);
        PackedDecimal a, b;
        if (finished) {
            DecSub(&made, &used, &a);
            if (DecIsZero(&a)) continue;
            Signed(&a, add, &a);
            if (!UpdateLocationStock(item, location, &a, nullptr, nullptr, nullptr, nullptr)) return false;
        } else {
            Signed(&used, add, &a);
            Signed(&made, add, &b);
            if (!UpdateLocationStock(item, location, nullptr, &a, nullptr, nullptr, &b)) return false;
        }
    }
    return true;
}

// A purchase's rows into stock at its location (empty: the main one).
bool LocationStockFromPurchase(const uint8_t *purchase, int add) {
    assert(purchase);
    uint8_t location[256], item[256], row[PUVc::Rows::Size];
    GetText(purchase, PUVc::Location, location);
    int32_t count = MatrixRowCount(PUVc::Number, 0, purchase);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PUVc::Number, purchase, i, row)) continue;
        GetText(row, PUVc::Rows::ItemCode, item);
        PackedDecimal qty = GetDec(row, PUVc::Rows::Quantity), amount;
        if (item[0] == 0 || !Signed(&qty, add, &amount)) continue;
        if (!UpdateLocationStock(item, location, &amount, nullptr, nullptr, nullptr, nullptr)) return false;
    }
    return true;
}

// A stock movement's rows: out of the from location, into the to one.
bool LocationStockTransfer(const uint8_t *move, int add) {
    assert(move);
    uint8_t from[256], to[256], item[256], row[StockMoveVc::Rows::Size];
    GetText(move, StockMoveVc::FromLocation, from);
    GetText(move, StockMoveVc::ToLocation, to);
    int32_t count = MatrixRowCount(StockMoveVc::Number, 0, move);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(StockMoveVc::Number, move, i, row)) continue;
        GetText(row, StockMoveVc::Rows::ItemCode, item);
        PackedDecimal qty = GetDec(row, StockMoveVc::Rows::Quantity), in, out;
        if (item[0] == 0 || !Signed(&qty, add, &in)) continue;
        DecNegateInto(&in, &out);
        if (!UpdateLocationStock(item, from, &out, nullptr, nullptr, nullptr, nullptr) ||
            !UpdateLocationStock(item, to, &in, nullptr, nullptr, nullptr, nullptr))
            return false;
    }
    return true;
}

// A shipped delivery's rows (structures exploded): out of stock at the
// delivery's location, then off the order's quantities on orders (and
// reserved, when the order reserves) at the order's location; finally the
// project link when the delivery names a project.
bool OrderRowsToLocationStock(const uint8_t *delivery, int add) {
    assert(delivery);
    uint8_t location[256], orderLocation[256], item[256], structure[256], row[SHVc::Rows::Size];
    GetText(delivery, SHVc::Location, location);
    RuleRecord order(ORVc::Number);
    const bool hasOrder = order.record && ReadOrder(GetU32(delivery, SHVc::OrderNr), order.record);
    const bool reserves = hasOrder && GetU16(order.record, ORVc::Reserves) != 0;
    if (hasOrder) GetText(order.record, ORVc::Location, orderLocation);
    std::vector<StructurePart> parts;
    int32_t count = MatrixRowCount(SHVc::Number, 0, delivery);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(SHVc::Number, delivery, i, row)) continue;
        GetText(row, SHVc::Rows::ItemCode, item);
        PackedDecimal qty = GetDec(row, SHVc::Rows::ToDeliver), amount;
        if (item[0] == 0 || !Signed(&qty, add, &amount)) continue;
        DecNegateInto(&amount, &amount);
        GetText(row, SHVc::Rows::StructCode, structure);
        RowParts(item, structure, &amount, parts);
        for (const StructurePart &p : parts) {
            if (!UpdateLocationStock(p.item, location, &p.qty, nullptr, nullptr, nullptr, nullptr)) return false;
            if (hasOrder && !UpdateLocationStock(p.item, orderLocation, nullptr, &p.qty, reserves ? &p.qty : nullptr,
                                                 nullptr, nullptr))
                return false;
        }
    }
    uint8_t project[256];
    GetText(delivery, SHVc::Project, project);
    return project[0] == 0 || DeliveryProjectLink(delivery);
}

// The pending-delivery quantity at byte 106 changes only by what an
// unshipped delivery added: a shipped version's rows count nothing, so a
// delivery inserted shipped adds nothing, one becoming shipped takes back
// what it added, and one deleted after shipping gives nothing back.
bool DeliveryStockRows(const uint8_t *newDoc, const uint8_t *oldDoc, int add) {
    const uint8_t *first = newDoc ? newDoc : oldDoc;
    if (!first) return true;
    uint8_t location[256], item[256], structure[256], row[SHVc::Rows::Size];
    GetText(first, SHVc::Location, location);
    std::vector<StructurePart> parts;
    const struct {
        const uint8_t *doc;
        bool counts;
    } sides[] = {{newDoc, add != 0}, {oldDoc, add == 0}};
    for (const auto &side : sides) {
        if (!side.doc || GetU16(side.doc, SHVc::Shipped) != 0) continue;
        int32_t count = MatrixRowCount(SHVc::Number, 0, side.doc);
        for (int32_t i = 0; i < count; i++) {
            if (!MatrixRowRead(SHVc::Number, side.doc, i, row)) continue;
            GetText(row, SHVc::Rows::ItemCode, item);
            PackedDecimal qty = GetDec(row, SHVc::Rows::ToDeliver), amount;
            if (item[0] == 0 || !Signed(&qty, side.counts ? 1 : 0, &amount)) continue;
            GetText(row, SHVc::Rows::StructCode, structure);
            RowParts(item, structure, &amount, parts);
            for (const StructurePart &p : parts)
                if (!DeliveryLocationStock(p.item, location, &p.qty)) return false;
        }
    }
    return true;
}
