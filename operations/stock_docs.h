// stock_docs.h - what the stock documents do to the derived registers:
// the stock of each item at each location (register 6), the item history
// (register 59), the item's cost price, and the quantities of the orders
// and purchase orders the documents came from.
//
// Documents: purchases (register 4), orders (7), deliveries (8), purchase
// orders (58), productions (77) and stock movements (92). An applier takes
// a document and add (1 counts it, 0 takes it back by negating every
// amount). A row whose item is unknown or not stocked changes no stock
// record; a row with a blank quantity adds nothing. Each gives false when
// a store failed (told to the user, the open hold failed).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/interface_defs.h"
#include "core/pstring.h"
#include "database/access/register_hooks.h"
#include "rules/approval.h"
#include "rules/stock.h"

// ---- Location stock (stock_appliers.cpp) ----

// Adds qty (blank adds nothing) to the pending-delivery quantity of item at
// location (empty: the main location), as UpdateLocationStock does.
bool DeliveryLocationStock(const uint8_t *item, const uint8_t *location, const PackedDecimal *qty);
// An order's item rows on orders, and reserved when the order reserves;
// structures exploded into their components.
bool OrderReservedStock(const uint8_t *order, int add);
// A purchase order's rows still to receive, and on confirmed orders.
bool PurchaseOrderOnOrderStock(const uint8_t *po, int add);
// A production's rows: into stock when finished, else on orders and to
// receive.
bool ProductionStockRows(const uint8_t *production, int add);
// A purchase's rows into stock at its location.
bool LocationStockFromPurchase(const uint8_t *purchase, int add);
// A stock movement's rows out of its from location and into its to one.
bool LocationStockTransfer(const uint8_t *move, int add);
// A shipped delivery's rows out of stock, and off the order's quantities.
bool OrderRowsToLocationStock(const uint8_t *delivery, int add);
// The pending-delivery quantity of the rows of newDoc and oldDoc (either
// may be null): an unshipped version's rows count, a shipped one's count
// nothing; oldDoc's rows count negated; add 0 negates all.
bool DeliveryStockRows(const uint8_t *newDoc, const uint8_t *oldDoc, int add);

// ---- Item history (stock_history_docs.cpp) ----
// Each inserts one register-59 record per item of the document (per item
// and location for a delivery), then runs the serial-number routine.

bool StockHistoryFromDelivery(const uint8_t *delivery);
bool StockHistoryFromPurchase(const uint8_t *purchase);
bool StockHistoryFromProduction(const uint8_t *production);
bool StockHistoryFromStockMove(const uint8_t *move);

// One item-history record in the making: an item at a location, its
// quantity summed over the document's rows, the first of them its row.
struct ItemHistoryLine {
    PString item;
    PString location;
    PackedDecimal qty;
    uint16_t row;
};
// What every record of one document shares: the document's type, serial
// and date, the direction and receipt flag, and whether the quantities go
// out of stock (stored negated).
struct ItemHistoryEntry {
    uint16_t type;
    uint32_t serial;
    DateRec date;
    uint16_t direction;
    uint16_t receipt;
    bool out;
};
// Inserts one register-59 record per line (also the sales invoice's
// history, stock_history.cpp); false (told, the hold failed) when a store
// failed.
bool ItemHistoryWrite(const ItemHistoryEntry &e, const std::vector<ItemHistoryLine> &lines);

// ---- Cost price and purchases (purchase_stock.cpp) ----

// Sets the cost price of each item of a received purchase: the row's unit
// cost (method 1) or the moving average over the stock after the receipt
// (method 2; a stock not above zero takes the row's unit cost).
bool UpdateItemCost(const uint8_t *purchase);
// A received purchase into stock and history; then the purchase order it
// names follows (old: the stored version or null; keepOnPurchases as
// UpdatePurchaseOrderReceived).
bool PurchaseStockUpdate(const uint8_t *purchase, const uint8_t *old, int keepOnPurchases);

// ---- Orders and purchase orders (order_upkeep.cpp) ----

// Moves the quantities on deliveries and shipped of the order's rows from
// old to newDoc (either may be null); keepDelivered leaves the quantities
// on deliveries alone.
bool UpdateOrderFromDelivery(const uint8_t *newDoc, const uint8_t *oldDoc, int keepDelivered);
// Moves the quantities on purchases and received of the purchase order's
// rows from old to newDoc (either may be null), its stock to receive
// following.
bool UpdatePurchaseOrderReceived(const uint8_t *newDoc, const uint8_t *oldDoc, int keepOnPurchases);
// The delivery's project link entry.
bool DeliveryProjectLink(const uint8_t *delivery);
// A new delivery: stock, history and order when shipped, the order's
// quantities on deliveries.
bool DeliveryInsertSteps(const uint8_t *delivery);

// ---- Shared by the files above (stock_appliers.cpp) ----

// The main location of block 203 into the PString out (empty while unbound).
void StockMainLocation(uint8_t *out);
// The order-row index of a delivery or purchase row's link, or -1 when the
// link names no row inside count rows.
int32_t LinkedRowIndex(uint32_t link, int32_t count);
// True when the row's structure code (PString) names a structure: not
// empty and not the window's "_".
bool NamesStructure(const uint8_t *structure);
// Reads row i of a production: its item code (PString) into item, its
// used and made quantities (blank read as zero). false for a row that
// cannot be read or names no item.
bool ProductionRowRead(const uint8_t *production, int32_t i, uint8_t *item, PackedDecimal *used, PackedDecimal *made);

// ---- Register entries (stock_hooks.cpp) ----

// Fills the entries of registers 4, 7, 8, 58, 77 and 92, whole.
void InstallStockEntries(std::array<RegisterHooks, RegisterCount> &table);

// ---- Approve kinds of the stock documents (stock_kinds.cpp) ----
// Each as ApproveKindDef's operation: Changed when the record changed.

ApproveResult PrintProductionForm(int reg, uint8_t *production, uint32_t recid);   // kind 8
ApproveResult PrintOrderForm(int reg, uint8_t *order, uint32_t recid);             // kind 13
ApproveResult PrintShipmentForm(int reg, uint8_t *delivery, uint32_t recid);       // kind 14
ApproveResult ApproveShipment(int reg, uint8_t *delivery, uint32_t recid);         // kind 15
ApproveResult ApprovePurchase(int reg, uint8_t *purchase, uint32_t recid);         // kind 20
ApproveResult PrintQuotationForm(int reg, uint8_t *quotation, uint32_t recid);     // kind 25
ApproveResult PrintOrderForm2(int reg, uint8_t *order, uint32_t recid);            // kind 26
ApproveResult PrintPurchaseOrderForm(int reg, uint8_t *po, uint32_t recid);        // kind 33
ApproveResult MarkPurchaseOrder(int reg, uint8_t *po, uint32_t recid);             // kind 34
ApproveResult MarkPurchaseOrder2(int reg, uint8_t *po, uint32_t recid);            // kind 36
ApproveResult PrintPurchaseForm(int reg, uint8_t *purchase, uint32_t recid);       // kind 48

// ---- Item-structure costs (structure_costs.cpp) ----

// Batch routine 23: sets the cost of the selected component rows of the
// item structures in the selection's code range, from the item's two cost
// amounts (method 0) or from its FIFO stock value per unit (method 1). A
// row with a blank quantity keeps its cost, and so does a method-1 row
// whose item has no stock above zero. false when a store failed.
bool ItemStructureBatch(const uint8_t *selection);
