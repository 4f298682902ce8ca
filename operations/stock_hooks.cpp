// stock_hooks.cpp - the register entries of the stock documents: purchases
// (4), orders (7), deliveries (8), purchase orders (58), productions (77)
// and stock movements (92). The hooks keep the location stock, the item
// history and the orders' quantities in step with every insert, update
// and delete, store the voucher built by the check, and run the print
// kinds block 170 asks for on save.
#include <array>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "operations/posting_follow_ups.h"
#include "operations/stock_docs.h"
#include "rules/approval.h"
#include "rules/checks.h"
#include "rules/documents.h"
#include "rules/entry_state.h"
#include "rules/ledger.h"
#include "rules/register_hooks_entries.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

// True when the u16 at `at` is set.
bool Set(const uint8_t *r, uint32_t at) { return GetU16(r, at) != 0; }
// A hook's result: 1, or 0 when a step failed (its hold fails with it).
int Ok(bool done) {
    if (!done) DbHoldFail();
    return done ? 1 : 0;
}
// A serial from the register's series on today, stand-alone only.
uint32_t NewSerial(int reg) {
    if (RunMode != 0) return SerialNone;
    int32_t n = NextSerialNumber(reg, &TodayDate, -1, 0);
    return n == NoFreeNumber ? SerialNone : (uint32_t)n;
}
// Block 170's word at `at` (0 while unbound).
uint16_t PrintOnSave(uint32_t at) {
    const uint8_t *block = SettingsRecord(PrintOnSaveBlk::Number, PrintOnSaveBlock);
    return block ? GetU16(block, at) : 0;
}
// The user's code first, as every new record's defaults.
void UserFirst() { CurrentUserCode(EntryUserCode); }

// ---- 4 purchase ----

int PurchaseBeforeInsert(int, uint8_t *p) {
    StatusMarkPurchase(p);
    return Ok(!Set(p, PUVc::Received) || StorePendingVoucher());
}
int PurchaseAfterInsert(int, uint8_t *p, uint32_t, int) {
    return Ok(PurchaseStockUpdate(p, nullptr, 0) && UpdateItemCost(p));
}
// The cost price follows only the update that receives the purchase: a
// later rewrite would average the same receipt in again.
int PurchaseBeforeUpdate(int, uint8_t *n, uint8_t *s, uint32_t) {
    bool ok = true;
    if (GetU32(n, PUVc::POSerNr) != SerialNone || GetU32(s, PUVc::POSerNr) != SerialNone)
        ok = UpdatePurchaseOrderReceived(GetU32(n, PUVc::POSerNr) != SerialNone ? n : nullptr, s, 0);
    if (ok && !Set(s, PUVc::Received) && Set(n, PUVc::Received))
        ok = LocationStockFromPurchase(n, 1) && StockHistoryFromPurchase(n) && StorePendingVoucher() &&
             UpdateItemCost(n);
    StatusMarkPurchase(n);
    return Ok(ok);
}
// A deleted purchase's quantities leave its purchase order's rows.
int PurchaseBeforeDelete(int, uint8_t *p) { return Ok(UpdatePurchaseOrderReceived(nullptr, p, 0)); }
void PurchaseDefaults(int, uint8_t *p) {
    UserFirst();
    PutDate(p, PUVc::RegDate, TodayDate);
    PutDate(p, PUVc::TransDate, TodayDate);
    PutU32(p, PUVc::SerNr, NewSerial(PUVc::Number));
    PutU32(p, PUVc::POSerNr, SerialNone);
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(p, PUVc::Rate, blank);
}
void PurchaseDefaultsOther(int, uint8_t *p) {
    UserFirst();
    PutU32(p, PUVc::SerNr, SerialNone);
    PutU32(p, PUVc::POSerNr, SerialNone);
    PutU16(p, PUVc::Received, 0);
    uint8_t row[PUVc::Rows::Size];
    for (int32_t i = 0, n = MatrixRowCount(PUVc::Number, 0, p); i < n; i++) {
        if (!MatrixRowRead(PUVc::Number, p, i, row)) continue;
        PutU32(row, PUVc::Rows::PORowNr, SerialNone);
        MatrixRowPut(PUVc::Number, 0, p, i, row);
    }
    StatusMarkPurchase(p);
}

// ---- 7 order ----

int OrderBeforeInsert(int, uint8_t *o) {
    StatusMarkOrder(o);
    return Ok(OrderReservedStock(o, 1));
}
int OrderAfterInsert(int, uint8_t *o, uint32_t recid, int saveFlag) {
    bool ok = UpdateOrderObjectLinks(o, nullptr);
    if (saveFlag != 1) return Ok(ok);
    if (ok && PrintOnSave(PrintOnSaveBlk::OrderForm2) > 0)
        ok = ApproveRecord(ApproveKindPrintOrderSecondForm, ORVc::Number, recid);
    if (ok && PrintOnSave(PrintOnSaveBlk::OrderForm) >= 1 && !Set(o, ORVc::Printed))
        ok = ApproveRecord(ApproveKindPrintOrder, ORVc::Number, recid);
    return Ok(ok);
}
int OrderBeforeUpdate(int, uint8_t *n, uint8_t *s, uint32_t) {
    PutU16(n, ORVc::Printed, 0);
    StatusMarkOrder(n);
    return Ok(OrderReservedStock(s, 0) && OrderReservedStock(n, 1));
}
int OrderAfterUpdate(int, uint8_t *n, uint8_t *s, uint32_t recid) {
    bool ok = UpdateOrderObjectLinks(n, s);
    if (ok && PrintOnSave(PrintOnSaveBlk::OrderForm2) == 2)
        ok = ApproveRecord(ApproveKindPrintOrderSecondForm, ORVc::Number, recid);
    if (ok && PrintOnSave(PrintOnSaveBlk::OrderForm) == 2)
        ok = ApproveRecord(ApproveKindPrintOrder, ORVc::Number, recid);
    return Ok(ok);
}
int OrderBeforeDelete(int, uint8_t *o) { return Ok(OrderReservedStock(o, 0)); }
// A new order: its number, today, unprinted and unmarked, prices with or
// without VAT as block 133 says (as a new quotation, invoice or contract).
void OrderDefaults(int, uint8_t *o) {
    UserFirst();
    PutU32(o, ORVc::SerNr, NewSerial(ORVc::Number));
    PutDate(o, ORVc::OrdDate, TodayDate);
    PutU16(o, ORVc::Printed, 0);
    PutU16(o, ORVc::InclVat, PricesInclVat());
    for (uint32_t at : {ORVc::InvMark, ORVc::DelivMark}) PutU16(o, at, 0);
}
void OrderDefaultsOther(int, uint8_t *o) {
    UserFirst();
    PutU32(o, ORVc::SerNr, SerialNone);
    PutU16(o, ORVc::Printed, 0);
    PutDate(o, ORVc::OrdDate, TodayDate);
    PackedDecimal zero;
    DecSetZero(&zero);
    uint8_t row[ORVc::Rows::Size];
    for (int32_t i = 0, n = MatrixRowCount(ORVc::Number, 0, o); i < n; i++) {
        if (!MatrixRowRead(ORVc::Number, o, i, row)) continue;
        for (uint32_t at : {ORVc::Rows::QtyDelivered, ORVc::Rows::QtyShipped, ORVc::Rows::QtyInvoiced})
            PutDec(row, at, zero);
        MatrixRowPut(ORVc::Number, 0, o, i, row);
    }
    StatusMarkOrder(o);
}

// ---- 8 delivery ----

// A delivery inserted shipped takes its costs and stores its voucher
// before the write, so the record stored carries the costs.
int DeliveryBeforeInsert(int, uint8_t *d) {
    StatusMarkDelivery(d);
    if (!Set(d, SHVc::Shipped)) return 1;
    DeliveryRowsCostPrice(d);
    return Ok(StorePendingVoucher());
}
int DeliveryAfterInsert(int, uint8_t *d, uint32_t recid, int saveFlag) {
    bool ok = DeliveryInsertSteps(d) && DeliveryStockRows(d, nullptr, 1);
    if (ok && Set(d, SHVc::Shipped)) ok = DeliveryShippedFollowUps(recid, saveFlag == 1);
    return Ok(ok);
}
int DeliveryBeforeUpdate(int, uint8_t *n, uint8_t *s, uint32_t) {
    bool ok = true;
    if (GetU32(n, SHVc::OrderNr) != SerialNone) ok = UpdateOrderFromDelivery(n, s, 0);
    if (ok && !Set(s, SHVc::Shipped)) {
        if (!Set(n, SHVc::Shipped)) ok = DeliveryStockRows(n, s, 1);
        else {
            DeliveryRowsCostPrice(n);
            ok = DeliveryStockRows(s, nullptr, 0) && OrderRowsToLocationStock(n, 1) && StockHistoryFromDelivery(n) &&
                 StorePendingVoucher();
        }
    }
    StatusMarkDelivery(n);
    return Ok(ok);
}
int DeliveryAfterUpdate(int, uint8_t *n, uint8_t *s, uint32_t recid) {
    if (Set(s, SHVc::Shipped) || !Set(n, SHVc::Shipped)) return 1;
    return Ok(DeliveryShippedFollowUps(recid, true));
}
int DeliveryBeforeDelete(int, uint8_t *d) {
    bool ok = GetU32(d, SHVc::OrderNr) == SerialNone || UpdateOrderFromDelivery(nullptr, d, 0);
    return Ok(ok && DeliveryStockRows(d, nullptr, 0));
}
void DeliveryDefaults(int, uint8_t *d) {
    UserFirst();
    PutU32(d, SHVc::SerNr, SerialNone);
    PutU32(d, SHVc::OrderNr, SerialNone);
    PutDate(d, SHVc::ShipDate, TodayDate);
    PutU16(d, SHVc::Shipped, 0);
}
void DeliveryDefaultsOther(int, uint8_t *d) {
    UserFirst();
    PutU32(d, SHVc::SerNr, SerialNone);
    PutU16(d, SHVc::Shipped, 0);
    StatusMarkDelivery(d);
}

// ---- 58 purchase order ----

int PoBeforeInsert(int, uint8_t *p) {
    StatusMarkPurchaseOrder(p);
    return Ok(PurchaseOrderOnOrderStock(p, 1));
}
int PoBeforeUpdate(int, uint8_t *n, uint8_t *s, uint32_t) {
    StatusMarkPurchaseOrder(n);
    return Ok(PurchaseOrderOnOrderStock(s, 0) && PurchaseOrderOnOrderStock(n, 1));
}
int PoBeforeDelete(int, uint8_t *p) { return Ok(PurchaseOrderOnOrderStock(p, 0)); }
void PoDefaults(int, uint8_t *p) {
    UserFirst();
    PutDate(p, PurchOrderVc::PODate, TodayDate);
    PutU16(p, PurchOrderVc::Confirmed, 0);
    PutU32(p, PurchOrderVc::SalesOrderNr, SerialNone);
    PutU32(p, PurchOrderVc::SerNr, NewSerial(PurchOrderVc::Number));
}
void PoDefaultsOther(int, uint8_t *p) {
    UserFirst();
    PutU32(p, PurchOrderVc::SerNr, SerialNone);
    PutU16(p, PurchOrderVc::Confirmed, 0);
    PutU16(p, PurchOrderVc::Closed, 0);
    PackedDecimal zero;
    DecSetZero(&zero);
    uint8_t row[PurchOrderVc::Rows::Size];
    for (int32_t i = 0, n = MatrixRowCount(PurchOrderVc::Number, 0, p); i < n; i++) {
        if (!MatrixRowRead(PurchOrderVc::Number, p, i, row)) continue;
        PutDec(row, PurchOrderVc::Rows::QtyReceived, zero);
        PutDec(row, PurchOrderVc::Rows::QtyOnPurchases, zero);
        MatrixRowPut(PurchOrderVc::Number, 0, p, i, row);
    }
    StatusMarkPurchaseOrder(p);
}

// ---- 77 production ----

int ProdBeforeInsert(int, uint8_t *p) {
    StatusMarkProduction(p);
    return Ok(ProductionStockRows(p, 1) && (!Set(p, ProductionVc::Finished) || StockHistoryFromProduction(p)));
}
int ProdBeforeUpdate(int, uint8_t *n, uint8_t *s, uint32_t) {
    StatusMarkProduction(n);
    bool ok = ProductionStockRows(s, 0) && ProductionStockRows(n, 1);
    if (ok && !Set(s, ProductionVc::Finished) && Set(n, ProductionVc::Finished)) ok = StockHistoryFromProduction(n);
    return Ok(ok);
}
int ProdBeforeDelete(int, uint8_t *p) { return Ok(ProductionStockRows(p, 0)); }
void ProdDefaults(int, uint8_t *p) {
    UserFirst();
    PutU32(p, ProductionVc::SerNr, SerialNone);
    PackedDecimal one;
    DecFromLong(&one, 1);
    PutDec(p, ProductionVc::Quantity, one);
    PutDate(p, ProductionVc::ProdDate, TodayDate);
    PutU16(p, ProductionVc::Finished, 0);
}
void ProdDefaultsOther(int, uint8_t *p) {
    UserFirst();
    PutU32(p, ProductionVc::SerNr, SerialNone);
    PutU16(p, ProductionVc::Finished, 0);
}

// ---- 92 stock movement ----

int MoveBeforeInsert(int, uint8_t *m) {
    StatusMarkStockMovement(m);
    return Ok(StorePendingVoucher());
}
bool MoveEffects(const uint8_t *m) { return StockHistoryFromStockMove(m) && LocationStockTransfer(m, 1); }
int MoveAfterInsert(int, uint8_t *m, uint32_t, int) { return Ok(!Set(m, StockMoveVc::Done) || MoveEffects(m)); }
int MoveBeforeUpdate(int, uint8_t *n, uint8_t *, uint32_t) {
    StatusMarkStockMovement(n);
    return Ok(StorePendingVoucher());
}
// Only the update that marks the movement done moves its stock: a done
// movement rewritten would move it again.
int MoveAfterUpdate(int, uint8_t *n, uint8_t *s, uint32_t) {
    return Ok(Set(s, StockMoveVc::Done) || !Set(n, StockMoveVc::Done) || MoveEffects(n));
}
void MoveDefaults(int, uint8_t *m) {
    UserFirst();
    PutDate(m, StockMoveVc::MoveDate, TodayDate);
    PutU32(m, StockMoveVc::SerNr, NewSerial(StockMoveVc::Number));
}
void MoveDefaultsOther(int, uint8_t *m) {
    UserFirst();
    PutU32(m, StockMoveVc::SerNr, NewSerial(StockMoveVc::Number));
    PutU16(m, StockMoveVc::Done, 0);
}

}  // namespace

void InstallStockEntries(std::array<RegisterHooks, RegisterCount> &table) {
    table[PUVc::Number] = CheckedEntryWith({.beforeInsert = PurchaseBeforeInsert, .afterInsert = PurchaseAfterInsert,
        .beforeUpdate = PurchaseBeforeUpdate, .beforeDelete = PurchaseBeforeDelete,
        .newRecordDefaults = PurchaseDefaults, .newRecordDefaultsOther = PurchaseDefaultsOther});
    table[ORVc::Number] = CheckedEntryWith({.beforeInsert = OrderBeforeInsert, .afterInsert = OrderAfterInsert,
        .beforeUpdate = OrderBeforeUpdate, .afterUpdate = OrderAfterUpdate, .beforeDelete = OrderBeforeDelete,
        .newRecordDefaults = OrderDefaults, .newRecordDefaultsOther = OrderDefaultsOther});
    table[SHVc::Number] = CheckedEntryWith({.beforeInsert = DeliveryBeforeInsert, .afterInsert = DeliveryAfterInsert,
        .beforeUpdate = DeliveryBeforeUpdate, .afterUpdate = DeliveryAfterUpdate,
        .beforeDelete = DeliveryBeforeDelete, .newRecordDefaults = DeliveryDefaults,
        .newRecordDefaultsOther = DeliveryDefaultsOther});
    table[PurchOrderVc::Number] = CheckedEntryWith({.beforeInsert = PoBeforeInsert, .beforeUpdate = PoBeforeUpdate,
        .beforeDelete = PoBeforeDelete, .newRecordDefaults = PoDefaults, .newRecordDefaultsOther = PoDefaultsOther});
    table[ProductionVc::Number] = CheckedEntryWith({.beforeInsert = ProdBeforeInsert,
        .beforeUpdate = ProdBeforeUpdate, .beforeDelete = ProdBeforeDelete, .newRecordDefaults = ProdDefaults,
        .newRecordDefaultsOther = ProdDefaultsOther});
    table[StockMoveVc::Number] = CheckedEntryWith({.beforeInsert = MoveBeforeInsert, .afterInsert = MoveAfterInsert,
        .beforeUpdate = MoveBeforeUpdate, .afterUpdate = MoveAfterUpdate, .newRecordDefaults = MoveDefaults,
        .newRecordDefaultsOther = MoveDefaultsOther});
}
