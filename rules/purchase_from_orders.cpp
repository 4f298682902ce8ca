// purchase_from_orders.cpp - the rows of sales orders that the stock
// cannot cover put on purchase orders of the items' default vendors:
// batch routine 12 over a selection of orders, and approve kind 47 for
// one order.
//
// Three methods: 0 a purchase order per vendor and sales order (the
// order's serial kept in the purchase order), 1 the vendor's open
// purchase order whatever it was made for, 2 the vendor's open purchase
// order with the sales order's rows under a heading of its own.
#include "rules/invoice_kind.h"
#include "rules/purchase_from_orders.h"

#include <cassert>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/replenishment.h"
#include "rules/replenishment_qty.h"
#include "rules/rules_types.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

namespace RP = ReportParamsVc;
namespace PO = PurchOrderVc;
namespace Row = PurchOrderVc::Rows;
namespace Source = PurchItemVc;
namespace Order = ORVc;

// The selection of the batch routine, read once from its job.
struct OrderSelection {
    int32_t from = 0, to = -1;   // order numbers; -1 open
    DateRec fromDate{}, toDate{};
    uint8_t orderClass[256]{};
    uint16_t method = 0;
    bool address = false, shortage = false;
    bool ownRow = false;   // method 2: each order row on a row of its own
};

// Reads the selection; false when an order number typed is no number.
bool ReadSelection(const uint8_t *params, OrderSelection &s) {
    uint8_t range[256], from[256], to[256];
    GetText(params, RP::SelText1, range);
    RangeSplit(range, from, to);
    if (from[0] != 0 && !TextToLongChecked(from, &s.from)) return false;
    if (to[0] != 0 && !TextToLongChecked(to, &s.to)) return false;
    if (to[0] == 0) s.to = -1;
    s.fromDate = GetDate(params, RP::DateFrom);
    s.toDate = GetDate(params, RP::DateTo);
    GetTextPrefix(params, RP::SelText2, 5, s.orderClass);
    s.method = GetU16(params, RP::ReportLayout);
    s.address = GetU16(params, RP::Option3) != 0;
    s.shortage = GetU16(params, RP::Option4) != 0;
    s.ownRow = GetU16(params, RP::Option2) != 0;
    return true;
}

// True when the order lies in the selection's dates and order class.
bool OrderSelected(const OrderSelection &s, const uint8_t *order) {
    DateRec date = GetDate(order, Order::OrdDate);
    if (s.fromDate.year != 0 && DateCompare(&date, &s.fromDate) < 0) return false;
    if (s.toDate.year != 0 && DateCompare(&date, &s.toDate) > 0) return false;
    if (s.orderClass[0] == 0) return true;
    uint8_t have[256];
    GetText(order, Order::OrderClass, have);
    return PStringEqual(have, s.orderClass);
}

// Reads the item of code into item; false when there is none.
bool ReadItem(const uint8_t *code, uint8_t *item) {
    RecClear(INVc::Number, item);
    PutText(item, INVc::Code, code);
    uint32_t recid = 0, position = 0;
    return RecFindByIndex(INVc::Number, "Code", item, 1, 1, &recid, &position);
}

// The quantity of an order row to order: the row's, or with the shortage
// option what the stock lacks (on orders - to receive - in stock, the
// negative of the available quantity) when that is not above it.
PackedDecimal RowQuantity(const OrderSelection &s, const uint8_t *row, const PackedDecimal &available) {
    PackedDecimal qty = GetDec(row, Order::Rows::Quantity);
    if (DecIsBlank(&qty)) DecSetZero(&qty);
    if (!s.shortage) return qty;
    PackedDecimal lack;
    DecNegateInto(&available, &lack);
    if (DecCompare(&lack, &qty) <= 0) return lack;
    return qty;
}

// The rows of one order put on purchase orders by the method.
void OrderRows(const OrderSelection &s, const uint8_t *order) {
    RuleRecord item(INVc::Number), stock(LSVc::Number), source(Source::Number);
    if (!item.record || !stock.record || !source.record) return;
    uint8_t row[Order::Rows::Size], code[256], text[256];
    for (int32_t i = 0, n = MatrixRowCount(Order::Number, 0, order); i < n; i++) {
        if (!MatrixRowRead(Order::Number, order, i, row)) continue;
        GetText(row, Order::Rows::ItemCode, code);
        if (code[0] == 0 || !ReadItem(code, item.record)) continue;
        PackedDecimal available, suggested;
        bool hasSource = OrderRowStockCheck(item.record, stock.record, source.record, &available, &suggested);
        PackedDecimal qty = RowQuantity(s, row, available);
        if (!hasSource || DecSign(&qty) <= 0) continue;
        switch (s.method) {
        case 0: OrderRowToPurchaseOrder(item.record, source.record, &qty, order, s.address); break;
        case 1: PurchaseOrderAddItem(code, source.record, &qty); break;
        case 2:
            GetText(row, Order::Rows::Text, text);
            PurchaseOrdersFromRows(code, source.record, &qty, order, text, s.ownRow);
            break;
        default: break;
        }
    }
}

}  // namespace

bool Pi1DefaultChoice(const uint8_t *itemCode, uint8_t *source) {
    assert(itemCode && source);
    RecClear(Source::Number, source);
    PutText(source, Source::ItemCode, itemCode);
    PutU16(source, Source::Default, 1);
    uint32_t recid = 0, position = 0;
    return RecFindByIndex(Source::Number, "DefaultChoice", source, 2, 1, &recid, &position);
}

bool OrderRowStockCheck(const uint8_t *item, uint8_t *stock, uint8_t *source, PackedDecimal *available,
                        PackedDecimal *quantity) {
    return ItemQtyFromSupplier(item, stock, source, available, quantity, Pi1DefaultChoice);
}

bool FindVendorPurchaseOrderVECode(const uint8_t *vendorCode, uint32_t orderSerial, uint8_t *purchaseOrder,
                                   uint32_t *recid) {
    return FindVendorPurchaseOrderFor(vendorCode, &orderSerial, purchaseOrder, recid);
}

void PurchaseOrderRowAddQuantity(uint8_t *row, const PackedDecimal *quantity) {
    assert(row && quantity);
    PackedDecimal qty = GetDec(row, Row::Quantity), unit = GetDec(row, Row::PriceUnit), units, sum;
    if (DecIsBlank(&qty)) DecSetZero(&qty);
    DecAdd(&qty, quantity, &qty);
    PutDec(row, Row::Quantity, qty);
    DecDivOrOne(&qty, &unit, &units);
    PutDec(row, Row::PricedQty, units);
    PackedDecimal price = GetDec(row, Row::Price), discount = GetDec(row, Row::Discount);
    DecRowAmount(&units, &price, nullptr, &discount, &sum);
    PutDec(row, Row::Sum, sum);
}

bool AppendPurchaseOrderRow(uint8_t *purchaseOrder, bool withVat, const uint8_t *source,
                            const PackedDecimal *quantity, const uint8_t *text) {
    assert(purchaseOrder);
    uint8_t row[Row::Size] = {}, field[256];
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutU16(row, Row::Kind, uint16_t(DocRowKind::Item));
    PutU16(row, Row::Word2, 0);
    for (uint32_t at : {Row::Quantity, Row::Price, Row::Sum, Row::Discount, Row::QtyReceived, Row::QtyOnPurchases,
                        Row::PricedQty, Row::PriceUnit})
        PutDec(row, at, blank);
    field[0] = 0;
    if (text) PStringCopy(field, text);
    if (source) {
        uint8_t code[256];
        GetText(source, Source::VendItemCode, code);
        PutText(row, Row::VendItemCode, code);
        GetText(source, Source::ItemCode, code);
        PutText(row, Row::ItemCode, code);
        if (field[0] == 0) GetText(source, Source::Text, field);
        PutDec(row, Row::Price, GetDec(source, Source::Price));
        PutDec(row, Row::PriceUnit, GetDec(source, Source::PriceUnit));
        if (withVat) {
            uint8_t vat[256];
            ItemVatCode(code, GetU16(purchaseOrder, PO::VatZone), vat);
            PutText(row, Row::VatCode, vat);
        }
    } else if (field[0] == 0) {
        PStringFromC(field, " ");
    }
    PutText(row, Row::Text, field);
    if (quantity) PurchaseOrderRowAddQuantity(row, quantity);
    return MatrixRowPut(PO::Number, 0, purchaseOrder, MatrixRowCount(PO::Number, 0, purchaseOrder), row);
}

bool OrderRowToPurchaseOrder(const uint8_t *item, const uint8_t *source, const PackedDecimal *quantity,
                             const uint8_t *salesOrder, bool withAddress) {
    assert(item && source && quantity && salesOrder);
    RuleRecord po(PO::Number);
    if (!po.record) return false;
    uint8_t vendor[256], code[256];
    GetText(source, Source::VendCode, vendor);
    GetText(item, INVc::Code, code);
    const uint32_t serial = GetU32(salesOrder, Order::SerNr);
    uint32_t recid = 0;
    bool ok = true;
    if (!FindVendorPurchaseOrderVECode(vendor, serial, po.record, &recid)) {
        NewPurchaseOrder(po.record, vendor);
        PutU32(po.record, PO::SalesOrderNr, serial);
    }
    ok = AddPurchaseOrderRow(po.record, code, source, quantity);
    // The address goes on once, when the purchase order is made: every
    // further row would repeat it.
    if (ok && recid == 0 && withAddress)
        ok = AppendOrderAddressRows(po.record, salesOrder);
    if (!ok) {
        ReplenishmentNotStored++;
        return false;
    }
    return PurchaseOrderStoreAdding(po.record, &recid, code, quantity);
}

bool OrdersToPurchaseOrders(const ReportJob &job) {
    if (!job.selection) return false;
    OrderSelection s;
    if (!ReadSelection(job.selection, s)) return false;
    RuleRecord order(Order::Number);
    if (!order.record) return false;
    ReplenishmentRunBegin();
    PutU32(order.record, Order::SerNr, (uint32_t)(s.from > 0 ? s.from : 0));
    uint32_t recid = 0, position = 0;
    if (RecFindByIndex(Order::Number, "SerNr", order.record, 1, 0, &recid, &position)) {
        for (int32_t p = (int32_t)position; RecReadAtIndex(Order::Number, "SerNr", p, order.record, &recid); p++) {
            if (s.to >= 0 && GetU32(order.record, Order::SerNr) > (uint32_t)s.to) break;
            if (OrderSelected(s, order.record)) OrderRows(s, order.record);
            if (UserCancelFlag) break;
        }
    }
    ReplenishmentRunEnd(Texts::ItemsNotOrdered);
    return true;
}

ApproveResult ApproveOrderToPurchaseOrders(int, uint8_t *order, uint32_t) {
    assert(order);
    // A job of its own: the order alone, method 0, no address rows.
    std::vector<uint8_t> selection(RP::Size, 0);
    uint8_t number[256];
    LongToDigitText((int32_t)GetU32(order, Order::SerNr), number);
    PutText(selection.data(), RP::SelText1, number);
    PutDate(selection.data(), RP::DateFrom, GetDate(order, Order::OrdDate));
    PutDate(selection.data(), RP::DateTo, GetDate(order, Order::OrdDate));
    PutU16(selection.data(), RP::Option2, 1);
    OrdersToPurchaseOrders(ReportJob{selection.data()});
    return ApproveResult::Unchanged;
}
