// purchase_order_fill_rows.cpp - putting items on purchase orders for the
// replenishment runs: a vendor's open purchase order found or a new one
// made, the item's row added to or appended, and the order stored with
// the quantity it adds to the stock to receive.
#include <cassert>
#include <cstring>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "operations/replenishment.h"
#include "operations/sales_invoice.h"
#include "rules/documents.h"
#include "rules/invoice_kind.h"
#include "rules/purchase_from_orders.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

namespace PO = PurchOrderVc;
namespace Row = PurchOrderVc::Rows;
namespace Source = PurchItemVc;
// A vendor's purchase order with this many rows takes no further items.
constexpr int32_t FullOrderRows = 99;
// The heading row of a sales order's rows: this text and its number.

// True when order (a read purchase order) still takes items.
bool TakesItems(const uint8_t *order, const uint32_t *salesOrder) {
    if (GetU16(order, PO::Confirmed) != 0 || GetU16(order, PO::Closed) != 0) return false;
    if (MatrixRowCount(PO::Number, 0, order) >= FullOrderRows) return false;
    return !salesOrder || GetU32(order, PO::SalesOrderNr) == *salesOrder;
}

// True when a row of order has text as its text.
bool HasRowText(const uint8_t *order, const uint8_t *text) {
    uint8_t row[Row::Size], have[256];
    for (int32_t i = 0, n = MatrixRowCount(PO::Number, 0, order); i < n; i++) {
        if (!MatrixRowRead(PO::Number, order, i, row)) continue;
        GetText(row, Row::Text, have);
        if (PStringEqual(have, text)) return true;
    }
    return false;
}

// The vendor's open purchase order into order (*recid its id), or a new
// one (*recid 0); false when a new one has no serial.
bool OpenOrNewOrder(const uint8_t *vendorCode, uint8_t *order, uint32_t *recid) {
    if (FindVendorPurchaseOrder(vendorCode, order, recid)) return true;
    *recid = 0;
    return NewPurchaseOrder(order, vendorCode);
}

}  // namespace

uint32_t SerialOrNext(int reg, uint8_t *record, uint32_t serialAt, uint32_t dateAt) {
    uint32_t serial = GetU32(record, serialAt);
    if (serial != SerialNone && serial != 0) return serial;
    DateRec date = GetDate(record, dateAt);
    int32_t n = NextSerialNumber(reg, &date, 0, 0);
    serial = n == NoFreeNumber ? SerialNone : (uint32_t)n;
    PutU32(record, serialAt, serial);
    return serial;
}

bool NewPurchaseOrder(uint8_t *order, const uint8_t *vendorCode) {
    assert(order && vendorCode);
    RecClear(PO::Number, order);
    RecNewDefaults(PO::Number, order);
    uint32_t serial = SerialOrNext(PO::Number, order, PO::SerNr, PO::PODate);
    PutText(order, PO::VendCode, vendorCode);
    CopyVendorToPurchaseOrder(order);
    return serial != SerialNone;
}

bool FindVendorPurchaseOrderFor(const uint8_t *vendorCode, const uint32_t *salesOrder, uint8_t *order,
                                uint32_t *recid) {
    assert(vendorCode && order && recid);
    RecClear(PO::Number, order);
    PutText(order, PO::VendCode, vendorCode);
    uint32_t position = 0;
    if (!RecFindByIndex(PO::Number, "VECode", order, 1, 0, recid, &position)) return false;
    uint8_t vendor[256];
    for (int32_t p = (int32_t)position; RecReadAtIndex(PO::Number, "VECode", p, order, recid); p++) {
        GetText(order, PO::VendCode, vendor);
        if (!PStringEqual(vendor, vendorCode)) break;
        if (TakesItems(order, salesOrder)) return true;
    }
    RecClear(PO::Number, order);
    *recid = 0;
    return false;
}

bool FindVendorPurchaseOrder(const uint8_t *vendorCode, uint8_t *order, uint32_t *recid) {
    return FindVendorPurchaseOrderFor(vendorCode, nullptr, order, recid);
}

bool AddPurchaseOrderRow(uint8_t *order, const uint8_t *itemCode, const uint8_t *purchaseData,
                         const PackedDecimal *quantity) {
    assert(order && itemCode && purchaseData && quantity);
    uint8_t row[Row::Size], code[256], vendorItem[256], have[256];
    GetText(purchaseData, Source::VendItemCode, vendorItem);
    int32_t n = MatrixRowCount(PO::Number, 0, order), at = -1;
    for (int32_t i = 0; i < n && at < 0; i++) {
        if (!MatrixRowRead(PO::Number, order, i, row) ||
            DocRowKind(GetU16(row, Row::Kind)) != DocRowKind::Item) continue;
        GetText(row, Row::ItemCode, code);
        GetText(row, Row::VendItemCode, have);
        if (PStringEqual(code, itemCode) && PStringEqual(have, vendorItem)) at = i;
    }
    if (at < 0) {
        if (!AppendPurchaseOrderRow(order, true, purchaseData, nullptr, nullptr)) return false;
        at = n;
        if (!MatrixRowRead(PO::Number, order, at, row)) return false;
        PutText(row, Row::ItemCode, itemCode);
    }
    PurchaseOrderRowAddQuantity(row, quantity);
    return MatrixRowPut(PO::Number, 0, order, at, row);
}

bool PurchaseOrderStoreAdding(uint8_t *order, uint32_t *recid, const uint8_t *itemCode,
                              const PackedDecimal *quantity) {
    assert(order && recid && itemCode && quantity);
    PurchaseOrderTotals(order);
    StatusMarkPurchaseOrder(order);
    if (GetU32(order, PO::SerNr) == SerialNone) {
        ReplenishmentNotStored++;
        return false;
    }
    uint8_t location[256];
    GetText(order, PO::Location, location);
    DbHoldBegin();
    bool ok = RecStore(PO::Number, order, *recid != 0 ? 1 : 0, recid) &&
              UpdateLocationStock(itemCode, location, nullptr, nullptr, nullptr, nullptr, quantity);
    if (!ok) DbHoldFail();
    ok = DbHoldEnd() && ok;
    if (!ok) ReplenishmentNotStored++;
    return ok;
}

bool PurchaseOrderAddItem(const uint8_t *itemCode, const uint8_t *purchaseData, const PackedDecimal *quantity) {
    assert(itemCode && purchaseData && quantity);
    RuleRecord order(PO::Number);
    if (!order.record) return false;
    uint8_t vendor[256];
    GetText(purchaseData, Source::VendCode, vendor);
    uint32_t recid = 0;
    OpenOrNewOrder(vendor, order.record, &recid);
    if (!AddPurchaseOrderRow(order.record, itemCode, purchaseData, quantity)) {
        ReplenishmentNotStored++;
        return false;
    }
    return PurchaseOrderStoreAdding(order.record, &recid, itemCode, quantity);
}

bool AppendOrderAddressRows(uint8_t *purchaseOrder, const uint8_t *customerOrder) {
    assert(purchaseOrder && customerOrder);
    static constexpr uint32_t Delivery[] = {ORVc::DelAddr0, ORVc::DelAddr1, ORVc::DelAddr2, ORVc::DelAddr3};
    static constexpr uint32_t Address[] = {ORVc::Addr0, ORVc::Addr1, ORVc::Addr2, ORVc::Addr3};
    uint8_t line[256];
    GetText(customerOrder, ORVc::DelAddr0, line);
    const uint32_t *lines = line[0] != 0 ? Delivery : Address;
    for (int i = 0; i < 4; i++) {
        GetPString(customerOrder, lines[i], 60, line);
        if (!AppendPurchaseOrderRow(purchaseOrder, false, nullptr, nullptr, line)) return false;
    }
    return true;
}

bool PurchaseOrdersFromRows(const uint8_t *itemCode, const uint8_t *purchaseData, const PackedDecimal *quantity,
                            const uint8_t *customerOrder, const uint8_t *rowText, bool ownRow) {
    assert(itemCode && purchaseData && quantity && customerOrder && rowText);
    RuleRecord order(PO::Number);
    if (!order.record) return false;
    uint8_t vendor[256], heading[256], number[256];
    GetText(purchaseData, Source::VendCode, vendor);
    uint32_t recid = 0;
    OpenOrNewOrder(vendor, order.record, &recid);
    GetUiText(heading, Texts::TitleOrderDoc);
    LongToDigitText((int32_t)GetU32(customerOrder, ORVc::SerNr), number);
    PStringAppend(heading, number);
    bool ok = true;
    if (!HasRowText(order.record, heading)) {
        const uint8_t empty[1] = {0};
        if (MatrixRowCount(PO::Number, 0, order.record) > 0)
            ok = AppendPurchaseOrderRow(order.record, false, nullptr, nullptr, empty);
        ok = ok && AppendPurchaseOrderRow(order.record, false, nullptr, nullptr, heading);
        if (ok && CompanyVariantIs(CountryVariant::V9)) {
            uint8_t text[256];
            GetText(customerOrder, ORVc::CustReference, text);
            ok = AppendPurchaseOrderRow(order.record, false, nullptr, nullptr, text);
        }
        ok = ok && AppendOrderAddressRows(order.record, customerOrder);
    }
    if (ok && ownRow) {
        ok = AppendPurchaseOrderRow(order.record, true, purchaseData, quantity, rowText);
    } else if (ok) {
        ok = AddPurchaseOrderRow(order.record, itemCode, purchaseData, quantity);
    }
    if (!ok) {
        ReplenishmentNotStored++;
        return false;
    }
    return PurchaseOrderStoreAdding(order.record, &recid, itemCode, quantity);
}
