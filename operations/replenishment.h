// replenishment.h - purchase orders and productions made for the stock:
// items below their minimum level ordered from their default supplier or
// made from their recipe, and the purchase-order rows that sales orders
// the stock cannot cover need (the batch routine of the order rules).
//
// Purchase orders are register 58 (PurchOrderVc), productions register 77
// (ProductionVc), purchase data (an item's supplier) register 56
// (PurchItemVc); codes are PStrings. Purchase orders and productions are
// stored without their register hooks: the quantity to receive that the
// hooks would add is added here, so the stock by location stays what the
// stored documents make it.
#pragma once

#include <cstdint>

#include "core/decimal.h"

// ---- Purchase-order rows (purchase_order_fill_rows.cpp) ----

// A new purchase order for vendorCode in order: the register's defaults,
// the next serial of the register on the order's date when the defaults
// gave none, the vendor and its data. False when no serial is free (the
// order must then not be stored).
bool NewPurchaseOrder(uint8_t *order, const uint8_t *vendorCode);
// The vendor's first purchase order (by "VECode") that still takes items:
// not confirmed, not closed and fewer than 99 rows; with salesOrder given,
// also made for that sales order. Read into order with its id into
// *recid; false when there is none (order is then cleared).
bool FindVendorPurchaseOrderFor(const uint8_t *vendorCode, const uint32_t *salesOrder, uint8_t *order,
                                uint32_t *recid);
bool FindVendorPurchaseOrder(const uint8_t *vendorCode, uint8_t *order, uint32_t *recid);
// Adds quantity of the item to order: to its row of the same item and
// vendor's item code, else to a new item row filled from purchaseData;
// then the purchase quantity (quantity / price unit, the quantity itself
// for a zero unit) and the row sum. False when the row could not be put.
bool AddPurchaseOrderRow(uint8_t *order, const uint8_t *itemCode, const uint8_t *purchaseData,
                         const PackedDecimal *quantity);
// Totals and list marks of order, then, when it has a serial, stores it
// (insert when *recid is 0, else rewrite) and adds quantity of itemCode
// to the to-receive stock at its location, both or neither. False, and
// the order counted as not stored, when it has no serial or a store
// failed.
bool PurchaseOrderStoreAdding(uint8_t *order, uint32_t *recid, const uint8_t *itemCode,
                              const PackedDecimal *quantity);
// quantity of itemCode on the vendor's open purchase order (or a new
// one); false when the order was not stored.
bool PurchaseOrderAddItem(const uint8_t *itemCode, const uint8_t *purchaseData, const PackedDecimal *quantity);
// quantity of itemCode for the sales order customerOrder (register 7) on
// the vendor's open purchase order (or a new one), under a heading of
// the sales order's number and address made once per purchase order;
// with ownRow (the selection's option word at 876) the item gets a row of
// its own with rowText instead of adding to its row. False when not stored.
bool PurchaseOrdersFromRows(const uint8_t *itemCode, const uint8_t *purchaseData, const PackedDecimal *quantity,
                            const uint8_t *customerOrder, const uint8_t *rowText, bool ownRow);
// Appends four text rows with the sales order's delivery address when its
// first line is set, else its name and address.
bool AppendOrderAddressRows(uint8_t *purchaseOrder, const uint8_t *customerOrder);

// The record's serial at serialAt; when the defaults gave none, the next
// free serial of reg on the date at dateAt is put there. SerialNone when
// no number is free.
uint32_t SerialOrNext(int reg, uint8_t *record, uint32_t serialAt, uint32_t dateAt);

// ---- What a run could not store (replenishment_runs.cpp) ----

// The items of the current run that were not ordered or made because no
// serial was free or a store failed.
extern int32_t ReplenishmentNotStored;
// Starts a run's count; ends it telling the user the count (text
// textNumber followed by it) when it is not zero: Texts::ItemsNotOrdered
// or Texts::ItemsNotMade.
void ReplenishmentRunBegin();
void ReplenishmentRunEnd(int textNumber);

// ---- The suggestions (replenishment_runs.cpp) ----

// Purchase orders for the stocked items of the block's item range (48) or
// group range (560), of the vendor at 1118 when given, that lie below
// their minimum level and have a supplier. Esc ends the walk after the
// current item. True when the walk ran (items not stored are told).
bool PurchaseOrderSuggestion(const uint8_t *block);
// Productions for the same items from their recipes.
bool ProductionSuggestion(const uint8_t *block);
// A production of quantity batches of the recipe (register 76) with its
// rows from the structure; stored with its stock when it has a serial.
// False when no serial is free or a store failed.
bool CreateProductionRecord(const uint8_t *recipe, const PackedDecimal *quantity);
// The suggestions locally, or at the server for a client (requests 47
// and 48 with the job record).
bool PurchaseOrderSuggestionCall(uint8_t *block);
bool ProductionSuggestionCall(uint8_t *block);
