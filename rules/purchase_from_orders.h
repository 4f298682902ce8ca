// purchase_from_orders.h - purchase orders made from the rows of sales
// orders that the stock cannot cover (batch routine 12 and approve kind
// 47), and the purchase-order row they append.
//
// Sales orders are register 7 (ORVc), purchase orders register 58
// (PurchOrderVc), an item's purchase source register 56 (PurchItemVc),
// stock register 6 (LSVc); codes are PStrings.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/report_job.h"
#include "rules/approval.h"

// The batch routine: the sales orders of the job's selection
// (order numbers at 48, dates at 1162 to 1168, order class at 304, method
// at 46, address rows at 878, only the shortage at 880) put their rows'
// quantities on purchase orders. True when the walk ran (items not stored
// are told at the end).
bool OrdersToPurchaseOrders(const ReportJob &job);
// The item's default purchase source by "DefaultChoice" into source; true
// when found.
bool Pi1DefaultChoice(const uint8_t *itemCode, uint8_t *source);
// The item's stock over all locations into stock and its default source;
// available = in stock - on orders + to receive; quantity = minimum stock
// - available when below it, else blank; with a source and a quantity
// above zero a larger minimum order quantity raises it and a larger
// threshold blanks it. True when the item has a default source.
bool OrderRowStockCheck(const uint8_t *item, uint8_t *stock, uint8_t *source, PackedDecimal *available,
                        PackedDecimal *quantity);
// The vendor's open purchase order made for the sales order orderSerial.
bool FindVendorPurchaseOrderVECode(const uint8_t *vendorCode, uint32_t orderSerial, uint8_t *purchaseOrder,
                                   uint32_t *recid);
// Appends one kind-1 row: from source (a register-56 record) when given,
// else a text row of text (" " when empty); withVat fills the VAT code of
// the item for the order's zone; with quantity the purchase quantity and
// the sum too. False when the row could not be put.
bool AppendPurchaseOrderRow(uint8_t *purchaseOrder, bool withVat, const uint8_t *source,
                            const PackedDecimal *quantity, const uint8_t *text);
// One order row's quantity of the item on the vendor's purchase order for
// this sales order (a new one when none takes it), with the order's
// address rows when withAddress; false when not stored.
bool OrderRowToPurchaseOrder(const uint8_t *item, const uint8_t *source, const PackedDecimal *quantity,
                             const uint8_t *salesOrder, bool withAddress);
// Approve kind 47: the batch routine for this one order.
ApproveResult ApproveOrderToPurchaseOrders(int reg, uint8_t *order, uint32_t recid);
// Adds quantity to a purchase-order row's quantity, then sets its
// purchase quantity (quantity / its price unit, the quantity itself for a
// zero unit) and its sum (purchase quantity x price less discount).
void PurchaseOrderRowAddQuantity(uint8_t *row, const PackedDecimal *quantity);
