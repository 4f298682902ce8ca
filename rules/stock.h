// stock.h - stock levels by item and location, FIFO issue costs, item
// structures, the vouchers of deliveries and stock movements, serial
// numbers by location and the rows of productions.
//
// Codes are PStrings; an empty location means the main location of block
// 203. Records are memory-form buffers of the register named.
#pragma once

#include <cstdint>
#include <functional>

#include "core/date.h"
#include "core/decimal.h"
#include "rules/rules_types.h"

namespace LocationStock = LSVc;   // register 6: stock per item and location

// ---- Stock levels (stock_levels.cpp) ----

// Reads the register-6 record of item at location into stock; an empty
// location sums the records of every location. false, stock zero-filled,
// when there is none.
bool Register6Lookup(const uint8_t *item, const uint8_t *location, uint8_t *stock);
// True when the FIFO layer's location and location are the same, an
// empty one on either side standing for the main location.
bool FifoLayerAtLocation(const uint8_t *layer, const uint8_t *location);
// The quantity in stock of item at location into qty; when date is not
// null, less the receipts dated after it.
void StockQtyAtDate(const uint8_t *item, const uint8_t *location, PackedDecimal *qty, const DateRec *date);
// Subtracts from qty the receipts of item at location (register 59)
// dated after date.
void StockQtyBackToDate(const uint8_t *item, const uint8_t *location, PackedDecimal *qty, const DateRec *date);
// Writes into row of the delivery (register 8) the quantity available of
// its item at location.
void OrderRowAvailable(uint8_t *delivery, int32_t row, const uint8_t *location);
// OrderRowAvailable for every row of the delivery at the row's location.
void OrderRowsAvailable(uint8_t *delivery);

// ---- FIFO costs (stock_costs.cpp) ----

// The FIFO value of issuing qty of item out of its stock at location
// into cost; an item not stocked leaves cost as it is.
void FifoIssueCost(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty, PackedDecimal *cost);
// FifoIssueCost with the stock at location first raised by extra.
void FifoIssueCostPlus(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty, PackedDecimal *cost,
                       const PackedDecimal *extra);
// Fills the unit costs and prices of a stock movement's (register 92)
// rows from their FIFO values.
void ConvertRowCost(uint8_t *move);

// ---- Item structures (item_structures.cpp) ----

// Appends to the delivery (register 8) one row per component of
// structure for qty units of item; false when the structure does not
// exist or the rows could not be added.
bool ExplodeItemStructure(const uint8_t *item, const uint8_t *structure, const PackedDecimal *qty, uint8_t *delivery);

// ---- Vouchers of stock documents (stock_vouchers.cpp) ----

// Builds the pending voucher of a delivery (register 8) from its rows'
// FIFO costs; a delivery already posted gets none unless force. true when
// it is built or none is needed; false refuses the delivery (text 1085).
bool BuildShipmentVoucher(const uint8_t *delivery, bool force);
// Builds the pending voucher of a stock movement (register 92) between
// the location records (register 78) from and to; true when it is built
// or none is needed, false refuses the movement (text 1085).
bool BuildStockMovementVoucher(const uint8_t *move, const uint8_t *from, const uint8_t *to);

// ---- Serial numbers by location (item_serials.cpp) ----
// Each gives false when a store failed (the calling hook fails its hold).

// Adds qty (negative: takes it) to the register-104 record of item, serial
// at location, making the record (for a serial-tracked stock item only)
// when there is none; a record that reaches zero stays.
bool UpdateSerialAtLocation(const uint8_t *item, const uint8_t *location, const uint8_t *serial,
                            const PackedDecimal *qty);
bool ItemSerialsFromStockMove(const uint8_t *move);           // register 92
bool ItemSerialsFromDelivery(const uint8_t *delivery);        // register 8
bool ItemSerialsFromProduction(const uint8_t *production);    // register 77
bool ItemSerialsFromPurchase(const uint8_t *purchase);        // register 4

// ---- Production rows (production_rows.cpp) ----

// Fills the rows of a production (register 77) from its item's structure;
// a serial-tracked component gets one row per unit. false, rows emptied,
// when there is no structure or the rows would pass the row limit.
bool FillProductionFromStructure(uint8_t *production);

// ---- FIFO cost and value (fifo_cost.cpp) ----

// The FIFO cost of issuing `issued` of item at location out of onHand,
// taken from the newest receipts back, into cost.
void StockFifoCostOfQty(const uint8_t *item, const uint8_t *location, const PackedDecimal *onHand,
                        const PackedDecimal *issued, PackedDecimal *cost);
// The value of qty of item held at location (empty: all), first in first
// out, newest receipts first; units beyond the receipts take the average
// cost of those covered. currentRate revalues currency receipts at today's
// rate; print writes a report line per row used (stock_cost_lines.h);
// limit (null: none) passes over receipts dated after it.
void StockFifoValue(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty, PackedDecimal *result,
                    bool currentRate, bool print, const DateRec *limit);

// ---- Components of an item structure (component_scan.cpp) ----

// How many units of item (times multiplier) its components in stock
// allow into result, and what they allow net of reservations into second
// when it is not null. explode scans the components' own structures too;
// print asks for one report line per component (stock_cost_lines.h).
void RecipeComponentScan(const uint8_t *item, int multiplier, PackedDecimal *result, PackedDecimal *second,
                         int print, int explode);

// One row of an item structure whose component item exists: the row's
// item code, its two quantities (per unit made, and the second one) and
// the component's item record (register 3).
struct StructureComponent {
    const uint8_t *code;
    PackedDecimal quantity, second;
    const uint8_t *item;
};
// Calls visit for each row of the structure whose code is structure
// (register 76) that names an existing item, in row order; rows naming
// no item are passed over. False, nothing visited, when no structure has
// that code. The walk under both the structure's cost and the scan above.
bool StructureComponentsWalk(const uint8_t *structure, const std::function<void(const StructureComponent &)> &visit);
