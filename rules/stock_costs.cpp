// stock_costs.cpp - the FIFO cost of an issue from stock, and the row
// costs of stock movements.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

// The FIFO value of issuing qty of item out of its stock at location
// (register 6; empty: every location) into cost; an item missing or not
// stocked leaves cost as it is.
void FifoIssueCost(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty, PackedDecimal *cost) {
    PackedDecimal none;
    DecSetZero(&none);
    FifoIssueCostPlus(item, location, qty, cost, &none);
}

// FifoIssueCost with the stock at location first raised by extra (the
// units a document being saved has not yet taken out).
void FifoIssueCostPlus(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty, PackedDecimal *cost,
                       const PackedDecimal *extra) {
    assert(item && location && qty && cost && extra);
    RuleRecord stock(LocationStock::Number);
    if (!stock.record) return;
    Register6Lookup(item, location, stock.record);
    PackedDecimal onHand = GetDec(stock.record, LocationStock::InStock);
    DecAdd(&onHand, extra, &onHand);
    StockFifoCostOfQty(item, location, &onHand, qty, cost);
}

// Sets each row of a stock movement (register 92): unit cost = the FIFO
// cost of the row's quantity at the from location / the quantity (blank
// for a zero quantity), price = the unit cost plus the row's charge (an
// amount, or a percentage ending in "%"), blank with the unit cost.
void ConvertRowCost(uint8_t *move) {
    assert(move);
    uint8_t from[256], item[256], charge[256], row[StockMoveVc::Rows::Size];
    GetText(move, StockMoveVc::FromLocation, from);
    int32_t count = MatrixRowCount(StockMoveVc::Number, 0, move);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(StockMoveVc::Number, move, i, row)) continue;
        GetText(row, StockMoveVc::Rows::ItemCode, item);
        GetText(row, StockMoveVc::Rows::AddOn, charge);
        PackedDecimal qty = GetDec(row, StockMoveVc::Rows::Quantity), cost, unit, price;
        DecSetBlank(&cost);
        FifoIssueCost(item, from, &qty, &cost);
        DecDiv(&cost, &qty, &unit);
        if (DecIsBlank(&unit)) DecSetBlank(&price);
        else AddAmountOrPercent(&unit, charge, &price);
        PutDec(row, StockMoveVc::Rows::BaseCost, unit);
        PutDec(row, StockMoveVc::Rows::UnitCost, price);
        MatrixRowPut(StockMoveVc::Number, 0, move, i, row);
    }
}
