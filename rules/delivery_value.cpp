// delivery_value.cpp - a delivery valued at the prices of its order.
#include "rules/delivery_value.h"

#include <cassert>
#include <vector>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"

// The value of a delivery's rows at its order's prices: each delivery
// row's quantity to deliver with the price, price unit and discount of
// the order row its first word's low 16 bits index; a row pointing past
// the order's rows adds nothing. Blank when nothing was added.
void RowsAmountTotal(const uint8_t *delivery, const uint8_t *order, PackedDecimal *result)
{
    assert(delivery && order && result);
    DecSetBlank(result);
    int32_t rows = MatrixRowCount(SHVc::Number, 0, delivery);
    int32_t orderRows = MatrixRowCount(ORVc::Number, 0, order);
    std::vector<uint8_t> row(RecRowSize(SHVc::Number)), orderRow(RecRowSize(ORVc::Number));
    assert(row.size() >= SHVc::Rows::Size && orderRow.size() >= ORVc::Rows::Size);
    for (int32_t i = 0; i < rows; ++i) {
        if (!MatrixRowGet(SHVc::Number, 0, delivery, i, row.data())) continue;
        int32_t index = static_cast<int32_t>(GetU32(row.data(), SHVc::Rows::OrderRowNr) & 0xFFFFu);
        if (index >= orderRows || !MatrixRowGet(ORVc::Number, 0, order, index, orderRow.data())) continue;
        PackedDecimal qty = GetDec(row.data(), SHVc::Rows::ToDeliver);
        PackedDecimal price = GetDec(orderRow.data(), ORVc::Rows::Price);
        PackedDecimal unit = GetDec(orderRow.data(), ORVc::Rows::PriceUnit);
        PackedDecimal discount = GetDec(orderRow.data(), ORVc::Rows::Discount);
        PackedDecimal amount;
        DecRowAmount(&qty, &price, &unit, &discount, &amount);
        DecAdd(result, &amount, result);
    }
}
