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
constexpr int ItemCodeMax = 20, LanguageMax = 5;

std::vector<uint8_t> OrderSides;   // OrderSideRow::Size bytes per order row

PackedDecimal Times(PackedDecimal a, PackedDecimal b) {
    PackedDecimal r;
    DecMul(&a, &b, &r);
    return r;
}
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
    uint8_t language[256], code[256], text[256], row[ORVc::Rows::Size], item[INVc::Size] = {};
    GetText(order, ORVc::LangCode, language);
    for (int32_t i = 0; i < rows; i++) {
        uint8_t *side = OrderSides.data() + (size_t)i * OrderSideRow::Size;
        for (uint32_t at : {OrderSideRow::StepAmount1, OrderSideRow::StepAmount2, OrderSideRow::Qty196,
                            OrderSideRow::Qty208, OrderSideRow::CostPrice, OrderSideRow::QtyCost})
            PutDec(side, at, blank);
        if (!MatrixRowRead(ORVc::Number, order, i, row)) continue;
        GetText(row, ORVc::Rows::ItemCode, code);
        if (!DocReadByCode(INVc::Number, "Code", INVc::Code, ItemCodeMax, code, item)) continue;
        RecFreeMatrix(INVc::Number, item);
        PackedDecimal qty = GetDec(row, ORVc::Rows::Quantity);
        GetText(item, INVc::VendCode, text);
        PutText(side, OrderSideRow::VendCode, text);
        PutDec(side, OrderSideRow::StepAmount1, GetDec(item, INVc::StepAmount1));
        PutDec(side, OrderSideRow::StepAmount2, GetDec(item, INVc::StepAmount2));
        PutDec(side, OrderSideRow::Qty196, Times(qty, GetDec(item, INVc::StepAmount1)));
        PutDec(side, OrderSideRow::Qty208, Times(qty, GetDec(item, INVc::StepAmount2)));
        GetText(item, INVc::Text220, text);
        PutText(side, OrderSideRow::Text220, text);
        GetText(item, INVc::DefLocation, text);
        PutText(side, OrderSideRow::DefLocation, text);
        GetText(item, INVc::Unit, code);
        UnitTextByLanguage(language, code, text);
        PutText(side, OrderSideRow::Unit, text);
        PutDec(side, OrderSideRow::CostPrice, GetDec(item, INVc::CostPrice));
        PutDec(side, OrderSideRow::QtyCost, Times(qty, GetDec(item, INVc::CostPrice)));
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
