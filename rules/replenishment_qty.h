// replenishment_qty.h - how much of an item to order or to make: the
// item's available stock against its minimum level, its default
// supplier, and the batches of its recipe.
//
// Item records are register 3 (INVc), stock records register 6 (LSVc),
// supplier records register 56 (PurchItemVc), recipes register 76
// (StructureVc); codes are PStrings.
#pragma once

#include <cstdint>
#include <functional>

#include "core/decimal.h"

// The item's stock over every location into stock; available = in stock
// less on orders plus to receive; need = the minimum level less available
// when available lies below it, else blank.
void ItemStockNeed(const uint8_t *item, uint8_t *stock, PackedDecimal *available, PackedDecimal *need);
// A supplier's quantities applied to a positive need: a larger minimum
// order quantity raises it, then a larger threshold blanks it.
void SupplierQuantityRule(const uint8_t *supplier, PackedDecimal *toOrder);
// Reads the item's supplier (register 56) into supplier: by "DefaultChoice"
// (item, default mark 1); with the report option at 876 set, by "Vendor"
// with the vendor code of the text at 304 instead. Without that option a
// vendor code given at 304 must be the found supplier's. True when found.
// The offsets are of the run's selection (may be null: no option set).
bool ItemDefaultSupplier(const uint8_t *selection, const uint8_t *itemCode, uint8_t *supplier);
// The item's stock over all locations into stock, available = in stock
// less on orders plus to receive; toOrder = minimum level less available
// when available is below it, else blank. With a supplier and toOrder
// above zero, a larger supplier minimum raises toOrder to it, and then a
// threshold above toOrder blanks it. True when the item has a supplier.
bool ItemQtyToOrder(const uint8_t *selection, const uint8_t *item, uint8_t *stock, uint8_t *supplier,
                    PackedDecimal *available, PackedDecimal *toOrder);
// ItemQtyToOrder with the supplier pick finds for the item's code (the
// purchase orders made from sales orders take the default choice alone).
bool ItemQtyFromSupplier(const uint8_t *item, uint8_t *stock, uint8_t *supplier, PackedDecimal *available,
                         PackedDecimal *toOrder, const std::function<bool(const uint8_t *, uint8_t *)> &pick);
// available and the need as ItemQtyToOrder has them; recipe gets the
// item's recipe (its structure code), whose rows naming the item itself
// make the output of one batch (their quantities made). batches = the
// whole batches that cover the need (rounded up); blank without a need.
// False when the recipe is missing or makes nothing of the item.
bool RecipeQtyToMake(const uint8_t *item, uint8_t *stock, uint8_t *recipe, PackedDecimal *available,
                     PackedDecimal *batches);
