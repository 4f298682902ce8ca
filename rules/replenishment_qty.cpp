// replenishment_qty.cpp - the order and production quantities of an item
// below its minimum stock level, which the stock reports show and the
// purchase-order and production suggestions act on.
#include "rules/replenishment_qty.h"

#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "rules/purchase_from_orders.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

namespace Item = INVc;
namespace Supplier = PurchItemVc;
namespace Recipe = StructureVc;

// A blank amount counts as zero.
PackedDecimal ZeroIfBlank(PackedDecimal d) {
    if (DecIsBlank(&d)) DecSetZero(&d);
    return d;
}

}  // namespace

void ItemStockNeed(const uint8_t *item, uint8_t *stock, PackedDecimal *available, PackedDecimal *need) {
    uint8_t code[256];
    const uint8_t allLocations[1] = {0};
    GetText(item, Item::Code, code);
    Register6Lookup(code, allLocations, stock);
    PackedDecimal inStock = ZeroIfBlank(GetDec(stock, LSVc::InStock));
    PackedDecimal onOrders = ZeroIfBlank(GetDec(stock, LSVc::OnOrders));
    PackedDecimal toReceive = ZeroIfBlank(GetDec(stock, LSVc::ToReceive));
    DecSub(&inStock, &onOrders, available);
    DecAdd(available, &toReceive, available);
    PackedDecimal minimum = ZeroIfBlank(GetDec(item, Item::MinStock));
    DecSetBlank(need);
    if (DecCompare(available, &minimum) < 0) DecSub(&minimum, available, need);
}

void SupplierQuantityRule(const uint8_t *supplier, PackedDecimal *toOrder) {
    assert(supplier && toOrder);
    if (DecIsBlank(toOrder) || DecSign(toOrder) <= 0) return;
    PackedDecimal minimum = GetDec(supplier, Supplier::MinQty), threshold = GetDec(supplier, Supplier::Threshold);
    if (!DecIsZero(&minimum) && DecCompare(&minimum, toOrder) > 0) *toOrder = minimum;
    if (!DecIsZero(&threshold) && DecCompare(&threshold, toOrder) > 0) DecSetBlank(toOrder);
}

bool ItemDefaultSupplier(const uint8_t *selection, const uint8_t *itemCode, uint8_t *supplier) {
    assert(itemCode && supplier);
    uint8_t vendor[256] = {0}, found[256];
    bool byVendor = false;
    if (selection) {
        GetTextPrefix(selection, ReportParamsVc::SelText2, 20, vendor);
        byVendor = GetU16(selection, ReportParamsVc::Option2) != 0;
    }
    RecClear(Supplier::Number, supplier);
    if (byVendor) {
        PutText(supplier, Supplier::ItemCode, itemCode);
        PutText(supplier, Supplier::VendCode, vendor);
        uint32_t recid = 0, position = 0;
        return RecFindByIndex(Supplier::Number, "Vendor", supplier, 2, 1, &recid, &position);
    }
    if (!Pi1DefaultChoice(itemCode, supplier)) return false;
    if (vendor[0] == 0) return true;
    GetText(supplier, Supplier::VendCode, found);
    return PStringEqual(found, vendor);
}

bool ItemQtyFromSupplier(const uint8_t *item, uint8_t *stock, uint8_t *supplier, PackedDecimal *available,
                         PackedDecimal *toOrder, const std::function<bool(const uint8_t *, uint8_t *)> &pick) {
    assert(item && stock && supplier && available && toOrder && pick);
    ItemStockNeed(item, stock, available, toOrder);
    uint8_t code[256];
    GetText(item, Item::Code, code);
    bool has = pick(code, supplier);
    if (has) SupplierQuantityRule(supplier, toOrder);
    return has;
}

bool ItemQtyToOrder(const uint8_t *selection, const uint8_t *item, uint8_t *stock, uint8_t *supplier,
                    PackedDecimal *available, PackedDecimal *toOrder) {
    return ItemQtyFromSupplier(item, stock, supplier, available, toOrder,
                               [selection](const uint8_t *code, uint8_t *found) {
                                   return ItemDefaultSupplier(selection, code, found);
                               });
}

bool RecipeQtyToMake(const uint8_t *item, uint8_t *stock, uint8_t *recipe, PackedDecimal *available,
                     PackedDecimal *batches) {
    assert(item && stock && recipe && available && batches);
    PackedDecimal need;
    ItemStockNeed(item, stock, available, &need);
    DecSetBlank(batches);
    uint8_t self[256], structure[256], code[256];
    GetText(item, Item::Code, self);
    GetText(item, Item::StructCode, structure);
    RecClear(Recipe::Number, recipe);
    if (structure[0] == 0) return false;
    PutText(recipe, Recipe::Code, structure);
    uint32_t recid = 0, position = 0;
    if (!RecFind(Recipe::Number, recipe, 1, 1, &recid, &position)) return false;
    PackedDecimal output;
    DecSetZero(&output);
    uint8_t row[Recipe::Rows::Size];
    for (int32_t i = 0, n = MatrixRowCount(Recipe::Number, 0, recipe); i < n; i++) {
        if (!MatrixRowRead(Recipe::Number, recipe, i, row)) continue;
        GetText(row, Recipe::Rows::ItemCode, code);
        if (!PStringEqual(code, self)) continue;
        PackedDecimal made = ZeroIfBlank(GetDec(row, Recipe::Rows::QuantityIn));
        DecAdd(&output, &made, &output);
    }
    if (DecSign(&output) <= 0) return false;
    if (DecIsBlank(&need) || DecSign(&need) <= 0) return true;
    PackedDecimal covered;
    DecDiv(&need, &output, batches);
    DecRound(batches, 0, batches);
    DecMul(batches, &output, &covered);
    if (DecCompare(&covered, &need) < 0) {
        PackedDecimal one;
        DecFromLong(&one, 1);
        DecAdd(batches, &one, batches);
    }
    return true;
}
