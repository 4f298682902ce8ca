// stock_kinds.cpp - the approve kinds of the stock documents: their form
// prints, shipping a delivery, receiving a purchase and approving a
// purchase order.
//
// A form's printed word is set only when the form printed in full; a print
// that did not come out leaves it as stored.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "operations/stock_docs.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "rules/print_services.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

// Form numbers of the documents.
constexpr int16_t FormProduction = -28, FormOrder = -6, FormShipped = -3, FormDelivery = -7, FormQuotation = -14,
                  FormOrder2 = -15, FormPurchaseOrder = -19, FormPurchase = -22;

// Prints the form; when it printed, sets the word at printedAt. Changed
// when it printed and the word was clear before.
ApproveResult PrintAndMark(int reg, int16_t form, uint8_t *record, uint32_t printedAt) {
    if (PrintDocumentForm(reg, form, record) != 1) return ApproveResult::Unchanged;
    if (GetU16(record, printedAt) != 0) return ApproveResult::Unchanged;
    PutU16(record, printedAt, 1);
    return ApproveResult::Changed;
}

// Prints a form that marks nothing.
ApproveResult PrintOnly(int reg, int16_t form, uint8_t *record) {
    PrintDocumentForm(reg, form, record);
    return ApproveResult::Unchanged;
}

// The location record of a purchase (register 78) into loc; false when
// the purchase names none or an unknown one.
bool PurchaseLocation(const uint8_t *purchase, uint8_t *loc) {
    uint8_t code[256];
    GetText(purchase, PUVc::Location, code);
    if (code[0] == 0) return false;
    std::memset(loc, 0, LocationVc::Size);
    PutText(loc, LocationVc::Code, code);
    return RecFindByFirstKey(LocationVc::Number, loc);
}

}  // namespace

ApproveResult PrintProductionForm(int reg, uint8_t *production, uint32_t) {
    return PrintOnly(reg, FormProduction, production);
}
ApproveResult PrintOrderForm(int reg, uint8_t *order, uint32_t) {
    return PrintAndMark(reg, FormOrder, order, ORVc::Printed);
}
ApproveResult PrintShipmentForm(int reg, uint8_t *delivery, uint32_t) {
    int16_t form = GetU16(delivery, SHVc::Shipped) != 0 ? FormShipped : FormDelivery;
    return PrintAndMark(reg, form, delivery, SHVc::Printed);
}
ApproveResult PrintQuotationForm(int reg, uint8_t *quotation, uint32_t) {
    return PrintOnly(reg, FormQuotation, quotation);
}
ApproveResult PrintOrderForm2(int reg, uint8_t *order, uint32_t) { return PrintOnly(reg, FormOrder2, order); }
ApproveResult PrintPurchaseOrderForm(int reg, uint8_t *po, uint32_t) {
    return PrintAndMark(reg, FormPurchaseOrder, po, PurchOrderVc::Printed);
}
ApproveResult PrintPurchaseForm(int reg, uint8_t *purchase, uint32_t) {
    return PrintOnly(reg, FormPurchase, purchase);
}

// Kind 15: ships an unshipped delivery: its voucher, costs, stock, history
// and the order's shipped quantities; refused (nothing done) when shipped
// already, when its voucher cannot be built, or when the voucher would
// not be stored (dated in the voucher lock: told, as the window tells it).
ApproveResult ApproveShipment(int reg, uint8_t *delivery, uint32_t) {
    assert(delivery && reg == SHVc::Number);
    if (GetU16(delivery, SHVc::Shipped) != 0) return ApproveResult::Unchanged;
    std::vector<uint8_t> before(RegRecordSize(SHVc::Number));
    std::memcpy(before.data(), delivery, before.size());
    PutU16(delivery, SHVc::Shipped, 1);
    if (!BuildShipmentVoucher(delivery, false) || PendingVoucherStorable(SHVc::SerNr, SHVc::ShipDate) != 0) {
        PendingVoucherClear();
        PutU16(delivery, SHVc::Shipped, 0);
        return ApproveResult::Unchanged;
    }
    DeliveryRowsCostPrice(delivery);
    // The pending quantity the unshipped delivery added goes; the order
    // keeps its quantities on deliveries and gains the shipped ones.
    if (!DeliveryStockRows(before.data(), nullptr, 0) || !OrderRowsToLocationStock(delivery, 1) ||
        !StockHistoryFromDelivery(delivery) || !UpdateOrderFromDelivery(delivery, before.data(), 1))
        return ApproveResult::Failed;
    PutU16(delivery, SHVc::Printed, 0);
    StatusMarkDelivery(delivery);
    return StorePendingVoucher() ? ApproveResult::Changed : ApproveResult::Failed;
}

// Kind 20: receives a purchase into stock: its voucher, stock, history,
// the purchase order's received quantities and the items' cost prices;
// refused when received already, and like a shipment when its voucher
// cannot be built or would not be stored.
ApproveResult ApprovePurchase(int reg, uint8_t *purchase, uint32_t) {
    assert(purchase && reg == PUVc::Number);
    if (GetU16(purchase, PUVc::Received) != 0) return ApproveResult::Unchanged;
    std::vector<uint8_t> before(RegRecordSize(PUVc::Number));
    std::memcpy(before.data(), purchase, before.size());
    PutU16(purchase, PUVc::Received, 1);
    RuleRecord loc(LocationVc::Number);
    bool located = loc.record && PurchaseLocation(purchase, loc.record);
    if (!BuildPurchaseVoucher(purchase, located ? loc.record : nullptr, false) ||
        PendingVoucherStorable(PUVc::SerNr, PUVc::TransDate) != 0) {
        PendingVoucherClear();
        PutU16(purchase, PUVc::Received, 0);
        return ApproveResult::Unchanged;
    }
    if (!PurchaseStockUpdate(purchase, before.data(), 1) || !UpdateItemCost(purchase)) return ApproveResult::Failed;
    StatusMarkPurchase(purchase);
    return StorePendingVoucher() ? ApproveResult::Changed : ApproveResult::Failed;
}

// Kind 34: approves a purchase order; refused when approved already.
ApproveResult MarkPurchaseOrder(int reg, uint8_t *po, uint32_t) {
    assert(po && reg == PurchOrderVc::Number);
    if (GetU16(po, PurchOrderVc::Confirmed) != 0) return ApproveResult::Unchanged;
    // Its quantities on confirmed orders come with the approval.
    if (!PurchaseOrderOnOrderStock(po, 0)) return ApproveResult::Failed;
    PutU16(po, PurchOrderVc::Printed, 0);
    PutU16(po, PurchOrderVc::Confirmed, 1);
    if (!PurchaseOrderOnOrderStock(po, 1)) return ApproveResult::Failed;
    StatusMarkPurchaseOrder(po);
    return ApproveResult::Changed;
}

// Kind 36: the second approval; refused when given already.
ApproveResult MarkPurchaseOrder2(int reg, uint8_t *po, uint32_t) {
    assert(po && reg == PurchOrderVc::Number);
    if (GetU16(po, PurchOrderVc::Approved2) != 0) return ApproveResult::Unchanged;
    const bool wasConfirmed = GetU16(po, PurchOrderVc::Confirmed) != 0;
    if (!wasConfirmed && !PurchaseOrderOnOrderStock(po, 0)) return ApproveResult::Failed;
    PutU16(po, PurchOrderVc::Approved2, 1);
    PutU16(po, PurchOrderVc::Confirmed, 1);
    if (!wasConfirmed && !PurchaseOrderOnOrderStock(po, 1)) return ApproveResult::Failed;
    StatusMarkPurchaseOrder(po);
    return ApproveResult::Changed;
}
