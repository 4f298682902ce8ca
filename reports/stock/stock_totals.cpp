// stock_totals.cpp - the small stock routines the stock and order reports
// share: an item's stock by location, whether an order's rows are in
// stock or still open, the detail blocks of an order and of a stock
// movement, and the heading line of the order and purchase-order status
// reports.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/sales/order_reports.h"
#include "reports/stock/stock_reports.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

constexpr int LineHeight = 15;
constexpr int ColQty = 3;

// The quantity fields of a stock record, summed over the locations.
constexpr uint32_t StockQuantities[] = {LSVc::Amount0,  LSVc::InStock,   LSVc::OnOrders,    LSVc::OnConfPO,
                                        LSVc::Reserved, LSVc::ToReceive, LSVc::OnDeliveries};

void AddStock(uint8_t *totals, const uint8_t *stock) {
    for (uint32_t field : StockQuantities) {
        PackedDecimal sum = GetDec(totals, field), add = GetDec(stock, field);
        if (DecIsBlank(&add)) continue;
        DecAdd(&sum, &add, &sum);
        PutDec(totals, field, sum);
    }
}

// The quantity in stock of the record taken back to date when one is given.
void BackToDate(uint8_t *stock, const uint8_t *item, const DateRec *date) {
    if (!date || date->year == 0) return;
    PString location;
    GetText(stock, LSVc::Location, location);
    PackedDecimal qty = GetDec(stock, LSVc::InStock);
    if (DecIsBlank(&qty)) DecSetZero(&qty);
    StockQtyBackToDate(item, location, &qty, date);
    PutDec(stock, LSVc::InStock, qty);
}

bool StockedItem(const uint8_t *code) {
    RuleRecord item(INVc::Number);
    if (!item.record) return false;
    PutText(item.record, INVc::Code, code);
    uint32_t recid = 0, position = 0;
    return RecFind(INVc::Number, item.record, 1, 1, &recid, &position) && GetU16(item.record, INVc::Stocked) != 0;
}

void Quantity(const uint8_t *row, uint32_t field, PackedDecimal *out) {
    *out = GetDec(row, field);
    if (DecIsBlank(out)) DecSetZero(out);
}

}  // namespace

void ItemStockTotals(const uint8_t *item, const uint8_t *location, uint8_t *totals, const DateRec *date) {
    assert(item && location && totals);
    std::memset(totals, 0, LSVc::Size);
    PackedDecimal zero;
    DecSetZero(&zero);
    for (uint32_t field : StockQuantities) PutDec(totals, field, zero);
    PutText(totals, LSVc::ItemCode, item);
    PutText(totals, LSVc::Location, location);
    RuleRecord stock(LSVc::Number);
    if (!stock.record) return;
    PutText(stock.record, LSVc::ItemCode, item);
    PutText(stock.record, LSVc::Location, location);
    uint32_t recid = 0, position = 0;
    if (location[0]) {
        if (!RecFindByIndex(LSVc::Number, "ItemLocation", stock.record, 2, 1, &recid, &position)) return;
        BackToDate(stock.record, item, date);
        AddStock(totals, stock.record);
        return;
    }
    PString got;
    bool more = RecFindByIndex(LSVc::Number, "ItemLocation", stock.record, 1, 0, &recid, &position);
    for (int32_t p = (int32_t)position; more; p++) {
        if (p != (int32_t)position && !RecReadAtIndex(LSVc::Number, "ItemLocation", p, stock.record, &recid)) break;
        GetText(stock.record, LSVc::ItemCode, got);
        if (!PStringEqual(got, item)) break;
        BackToDate(stock.record, item, date);
        AddStock(totals, stock.record);
        const PackedDecimal qty = GetDec(stock.record, LSVc::InStock);
        if (DecIsZero(&qty)) continue;
        RepStartLine(LineHeight);
        StockFieldAt(120, stock.record, LSVc::Location);
        StockValueAt(ColQty, &qty, FtAmount3);
        RepEndLine();
    }
}

bool OrderRowsInStock(const uint8_t *order) {
    assert(order);
    PString item, location;
    GetText(order, ORVc::Location, location);
    uint8_t row[ORVc::Rows::Size];
    RuleRecord stock(LSVc::Number);
    if (!stock.record) return true;
    const int32_t rows = MatrixRowCount(ORVc::Number, 0, order);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(ORVc::Number, order, i, row)) break;
        if (DocRowKind(GetU16(row, ORVc::Rows::Kind)) != DocRowKind::Item) continue;
        GetText(row, ORVc::Rows::ItemCode, item);
        if (item[0] == 0 || !StockedItem(item)) continue;
        PackedDecimal ordered, gone, left, inStock;
        Quantity(row, ORVc::Rows::Quantity, &ordered);
        Quantity(row, ORVc::Rows::QtyDelivered, &gone);
        DecSub(&ordered, &gone, &left);
        Register6Lookup(item, location, stock.record);
        Quantity(stock.record, LSVc::InStock, &inStock);
        if (DecCompare(&left, &inStock) > 0) return false;
    }
    return true;
}

bool OrderHasOpenRows(const uint8_t *order) {
    assert(order);
    PString item;
    uint8_t row[ORVc::Rows::Size];
    const int32_t rows = MatrixRowCount(ORVc::Number, 0, order);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(ORVc::Number, order, i, row)) break;
        if (DocRowKind(GetU16(row, ORVc::Rows::Kind)) != DocRowKind::Item) continue;
        GetText(row, ORVc::Rows::ItemCode, item);
        if (item[0] == 0) continue;
        PackedDecimal shipped, invoiced;
        Quantity(row, ORVc::Rows::QtyShipped, &shipped);
        Quantity(row, ORVc::Rows::QtyInvoiced, &invoiced);
        if (DecCompare(&shipped, &invoiced) > 0) return true;
    }
    return false;
}

void OrderDetailBlock(const uint8_t *order, bool fromShipped) {
    assert(order);
    namespace R = ORVc::Rows;
    constexpr int T = FtText;
    OrderLineFields(order, {{0, ORVc::SerNr, FtLongOrEmpty, 0, 0}, {130, ORVc::OrdDate, FtDate, 0, 0},
                            {220, ORVc::Text284, T, 20, 0}, {480, ORVc::CurncyCode, T, 5, 1}});
    OrderLineFields(order, {{50, ORVc::CustCode, T, 20, 0}, {200, ORVc::Addr0, T, 60, 0}});
    OrderLineFields(order, {{50, ORVc::SalesMan, T, 5, 0}, {200, ORVc::Addr1, T, 60, 0}});
    OrderLineFields(order, {{200, ORVc::Addr2, T, 60, 0}});
    OrderLineFields(order, {{200, ORVc::Addr3, T, 60, 0}, {480, ORVc::DelivText, T, 10, 1}});
    PackedDecimal sum;
    DecSetZero(&sum);
    uint8_t row[R::Size];
    const int32_t rows = MatrixRowCount(ORVc::Number, 0, order);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(ORVc::Number, order, i, row)) break;
        if (DocRowKind(GetU16(row, R::Kind)) != DocRowKind::Item) continue;
        PackedDecimal from, invoiced, left, amount;
        Quantity(row, fromShipped ? R::QtyShipped : R::Quantity, &from);
        Quantity(row, R::QtyInvoiced, &invoiced);
        DecSub(&from, &invoiced, &left);
        const PackedDecimal price = GetDec(row, R::Price), unit = GetDec(row, R::PriceUnit),
                            discount = GetDec(row, R::Discount);
        DecRowAmount(&left, &price, &unit, &discount, &amount);
        if (DecIsBlank(&amount)) DecSetZero(&amount);
        DecAdd(&sum, &amount, &sum);
        RepStartLine(LineHeight);
        OrderItemRowPieces(row, {left, price, discount, amount}, 480);
        RepEndLine();
    }
    OrderLineRule(380, 480, 2);
    RepStartLine(LineHeight);
    OrderLineAmount(480, &sum, FtAmount2, 1);
    RepEndLine();
}

void OrderStatusHeadings(int layout, bool quantities, const StatusHeadingTexts &texts) {
    RepStartLine(LineHeight);
    RepTextNr(0, 0, texts.number, 0);
    if (layout == 0) {
        RepTextNr(60, 0, texts.date, 0);
        RepTextNr(140, 0, texts.name, 0);
        RepTextNr(1, 0, texts.value, 1);
    } else if (layout == 1) {
        RepTextNr(130, 0, texts.date, 0);
        RepTextNr(210, 0, texts.name, 0);
        RepTextNr(480, 0, texts.layout1Right, 1);
    } else {
        RepTextNr(50, 0, texts.date, 0);
        RepTextNr(110, 0, texts.rowText, 0);
        RepTextNr(175, 0, texts.rowItem, 0);
        const int amountAt[3] = {270, 380, 450}, quantityAt[4] = {260, 330, 410, 480};
        for (int i = 0; i < 4; i++) {
            if (!quantities && i < 3) RepTextNr(amountAt[i], 0, texts.amounts[i], 1);
            if (quantities && texts.quantities[i] != 0) RepTextNr(quantityAt[i], 0, texts.quantities[i], 1);
        }
    }
    RepEndLine();
}

void StockMovementDetail(const uint8_t *movement) {
    assert(movement);
    RepStartLine(LineHeight);
    StockNumberAt(0, GetU32(movement, StockMoveVc::SerNr));
    RepValue(130, 0, movement + StockMoveVc::MoveDate, FtDate, 0);
    StockFieldAt(220, movement, StockMoveVc::CurncyCode);
    RepEndLine();
    RepStartLine(LineHeight);
    StockFieldAt(50, movement, StockMoveVc::FromLocation);
    StockFieldAt(200, movement, StockMoveVc::ToLocation);
    RepEndLine();
    RepStartLine(LineHeight);
    StockFieldAt(130, movement, StockMoveVc::Text);
    const PackedDecimal rate = GetDec(movement, StockMoveVc::Rate);
    StockValueAt(480, &rate, FtAmount3);
    RepEndLine();
    uint8_t row[StockMoveVc::Rows::Size];
    const int32_t rows = MatrixRowCount(StockMoveVc::Number, 0, movement);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(StockMoveVc::Number, movement, i, row)) break;
        const PackedDecimal qty = GetDec(row, StockMoveVc::Rows::Quantity),
                            cost = GetDec(row, StockMoveVc::Rows::UnitCost);
        RepStartLine(LineHeight);
        StockFieldAt(20, row, StockMoveVc::Rows::ItemCode);
        StockValueAt(124, &qty, FtAmount3);
        StockFieldAt(130, row, StockMoveVc::Rows::Text);
        StockFieldAt(260, row, StockMoveVc::Rows::SerialNr, -1);
        StockValueAt(340, &cost, FtAmount2);
        StockFieldAt(370, row, StockMoveVc::Rows::AddOn, -1);
        RepEndLine();
    }
}
