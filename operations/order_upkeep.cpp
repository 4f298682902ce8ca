// order_upkeep.cpp - the quantities of the order rows and purchase-order
// rows that deliveries and purchases came from.
//
// A row's link to its order row is a 32-bit number whose low 16 bits index
// the order's rows; all ones is none and a structure's component line
// (all ones but the last bit) never touches an order row. A link outside
// the order's rows is passed over.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "operations/project_ops.h"
#include "operations/stock_docs.h"
#include "rules/rules_types.h"

namespace {

// Adds qty (negated unless add) to the decimal at `at` of row.
void AddAt(uint8_t *row, uint32_t at, const PackedDecimal *qty, bool add) {
    if (DecIsBlank(qty)) return;
    PackedDecimal value = GetDec(row, at), signedQty;
    if (DecIsBlank(&value)) DecSetZero(&value);
    if (add) DecCopy(&signedQty, qty);
    else DecNegateInto(qty, &signedQty);
    DecAdd(&value, &signedQty, &value);
    PutDec(row, at, value);
}

// Stores rec of reg found at recid; false (told, hold failed) when not.
bool StoreFound(int reg, uint8_t *rec, uint32_t recid) {
    if (RecStore(reg, rec, 1, &recid)) return true;
    ShowTextMessage(Texts::RecordNotStored);
    DbHoldFail();
    return false;
}

// A delivery's rows on the order's rows: on deliveries unless keep,
// shipped when the delivery is; add 0 takes them back.
void DeliveryOnOrder(const uint8_t *delivery, uint8_t *order, bool keep, bool add) {
    const bool shipped = GetU16(delivery, SHVc::Shipped) != 0;
    int32_t rows = MatrixRowCount(ORVc::Number, 0, order);
    uint8_t row[SHVc::Rows::Size], orderRow[ORVc::Rows::Size], text[256];
    int32_t count = MatrixRowCount(SHVc::Number, 0, delivery);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(SHVc::Number, delivery, i, row)) continue;
        int32_t at = LinkedRowIndex(GetU32(row, SHVc::Rows::OrderRowNr), rows);
        if (at < 0 || !MatrixRowRead(ORVc::Number, order, at, orderRow)) continue;
        PackedDecimal qty = GetDec(row, SHVc::Rows::ToDeliver);
        if (!keep) AddAt(orderRow, ORVc::Rows::QtyDelivered, &qty, add);
        if (shipped) AddAt(orderRow, ORVc::Rows::QtyShipped, &qty, add);
        if (add) {
            GetText(row, SHVc::Rows::SerialNr, text);
            PutText(orderRow, ORVc::Rows::Text304, text);
        }
        MatrixRowPut(ORVc::Number, 0, order, at, orderRow);
    }
}

// A purchase's rows on the purchase order's rows: on purchases unless
// keep, received when the purchase is; add 0 takes them back.
void PurchaseOnOrder(const uint8_t *purchase, uint8_t *po, bool keep, bool add) {
    const bool received = GetU16(purchase, PUVc::Received) != 0;
    int32_t rows = MatrixRowCount(PurchOrderVc::Number, 0, po);
    uint8_t row[PUVc::Rows::Size], poRow[PurchOrderVc::Rows::Size];
    int32_t count = MatrixRowCount(PUVc::Number, 0, purchase);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PUVc::Number, purchase, i, row)) continue;
        int32_t at = LinkedRowIndex(GetU32(row, PUVc::Rows::PORowNr), rows);
        if (at < 0 || !MatrixRowRead(PurchOrderVc::Number, po, at, poRow)) continue;
        PackedDecimal qty = GetDec(row, PUVc::Rows::Quantity);
        if (!keep) AddAt(poRow, PurchOrderVc::Rows::QtyOnPurchases, &qty, add);
        if (received) AddAt(poRow, PurchOrderVc::Rows::QtyReceived, &qty, add);
        MatrixRowPut(PurchOrderVc::Number, 0, po, at, poRow);
    }
}

}  // namespace

// The order is the new delivery's, else the old one's; none: nothing.
bool UpdateOrderFromDelivery(const uint8_t *newDoc, const uint8_t *oldDoc, int keepDelivered) {
    const uint8_t *named = newDoc ? newDoc : oldDoc;
    if (!named || GetU32(named, SHVc::OrderNr) == SerialNone) return true;
    RuleRecord order(ORVc::Number);
    if (!order.record) return false;
    PutU32(order.record, ORVc::SerNr, GetU32(named, SHVc::OrderNr));
    uint32_t recid = 0, position = 0;
    if (!RecFind(ORVc::Number, order.record, 1, 1, &recid, &position)) return true;
    if (oldDoc) DeliveryOnOrder(oldDoc, order.record, keepDelivered != 0, false);
    if (newDoc) DeliveryOnOrder(newDoc, order.record, keepDelivered != 0, true);
    StatusMarkOrder(order.record);
    return StoreFound(ORVc::Number, order.record, recid);
}

// The purchase order is the new purchase's, else the old one's; its stock
// to receive is taken out before the change and counted again after it.
bool UpdatePurchaseOrderReceived(const uint8_t *newDoc, const uint8_t *oldDoc, int keepOnPurchases) {
    const uint8_t *named = newDoc ? newDoc : oldDoc;
    if (!named || GetU32(named, PUVc::POSerNr) == SerialNone) return true;
    RuleRecord po(PurchOrderVc::Number);
    if (!po.record) return false;
    PutU32(po.record, PurchOrderVc::SerNr, GetU32(named, PUVc::POSerNr));
    uint32_t recid = 0, position = 0;
    if (!RecFind(PurchOrderVc::Number, po.record, 1, 1, &recid, &position)) return true;
    if (!PurchaseOrderOnOrderStock(po.record, 0)) return false;
    if (oldDoc) PurchaseOnOrder(oldDoc, po.record, keepOnPurchases != 0, false);
    if (newDoc) PurchaseOnOrder(newDoc, po.record, keepOnPurchases != 0, true);
    if (!PurchaseOrderOnOrderStock(po.record, 1)) return false;
    StatusMarkPurchaseOrder(po.record);
    return StoreFound(PurchOrderVc::Number, po.record, recid);
}

// The delivery's entry among the project's links.
bool DeliveryProjectLink(const uint8_t *delivery) { return ProjectLinkEntries(SHVc::Number, delivery); }

// When shipped: the stock and the order's quantities, and the history;
// then the order's rows when it has an order.
bool DeliveryInsertSteps(const uint8_t *delivery) {
    assert(delivery);
    if (GetU16(delivery, SHVc::Shipped) != 0 &&
        (!OrderRowsToLocationStock(delivery, 1) || !StockHistoryFromDelivery(delivery)))
        return false;
    if (GetU32(delivery, SHVc::OrderNr) == SerialNone) return true;
    return UpdateOrderFromDelivery(delivery, nullptr, 0);
}
