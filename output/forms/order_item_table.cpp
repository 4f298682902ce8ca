// order_item_table.cpp - the side rows an order's documents print from
// (documents -6 and -15): per order row its item's vendor, texts, unit
// in the order's language and amounts, and the amounts times the row's
// quantity. Built when the order's print starts, freed when it ends.
#include <cassert>
#include <vector>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "output/forms/forms.h"

namespace {
std::vector<uint8_t> OrderSides;   // OrderSideRow::Size bytes per order row

// An order's side row begins with the delivery's columns (ItemSideColumns).
static_assert(OrderSideRow::VendCode == DeliverySideRow::VendCode &&
              OrderSideRow::StepAmount1 == DeliverySideRow::StepAmount1 &&
              OrderSideRow::StepAmount2 == DeliverySideRow::StepAmount2 &&
              OrderSideRow::Qty196 == DeliverySideRow::Qty196 && OrderSideRow::Qty208 == DeliverySideRow::Qty208 &&
              OrderSideRow::Text220 == DeliverySideRow::Text220 &&
              OrderSideRow::DefLocation == DeliverySideRow::DefLocation &&
              OrderSideRow::Unit == DeliverySideRow::Unit && OrderSideRow::CostPrice == DeliverySideRow::CostPrice);
}  // namespace

// Builds the side rows of the order: a row whose item is missing keeps
// empty texts and blank amounts.
void OrderRowItemTable(const uint8_t *order) {
    assert(order);
    int32_t rows = MatrixRowCount(ORVc::Number, 0, order);
    if (rows < 0) rows = 0;
    OrderSides.assign((size_t)rows * OrderSideRow::Size, 0);
    PackedDecimal blank;
    DecSetBlank(&blank);
    uint8_t language[256], code[256], row[ORVc::Rows::Size], item[INVc::Size] = {};
    GetText(order, ORVc::LangCode, language);
    for (int32_t i = 0; i < rows; i++) {
        uint8_t *side = OrderSides.data() + (size_t)i * OrderSideRow::Size;
        ItemSideColumnsBlank(side);
        PutDec(side, OrderSideRow::QtyCost, blank);
        if (!MatrixRowRead(ORVc::Number, order, i, row)) continue;
        GetText(row, ORVc::Rows::ItemCode, code);
        if (!DocReadByCode(INVc::Number, INVc::Code, code, item)) continue;
        RecFreeMatrix(INVc::Number, item);
        PackedDecimal qty = GetDec(row, ORVc::Rows::Quantity);
        ItemSideColumns(side, item, qty, language);
        PutDec(side, OrderSideRow::QtyCost, DocTimes(qty, GetDec(item, INVc::CostPrice)));
    }
}

// Frees the order's side rows.
void OrderRowItemTableFree() {
    OrderSides.clear();
    OrderSides.shrink_to_fit();
}

// The side row of order row `row`; null outside them.
const uint8_t *OrderSideRowOf(int32_t row) {
    if (row < 0 || (size_t)(row + 1) * OrderSideRow::Size > OrderSides.size()) return nullptr;
    return OrderSides.data() + (size_t)row * OrderSideRow::Size;
}
