// stock_reports.h - the item and stock reports: stock value (8), item
// prices, stock position and item list (10, 11, 12, 77), items that can
// be made from components (80), item history (73), serial-number history
// (84), the customer list (3), items by inventory code (74), stock
// movements (96), locations (98), recipes (78), purchase rows by vendor
// (114) and the day's journals in one run (87); with the small stock
// routines they and the order reports share.
//
// Bodies take their job: the selection is in job.selection. Records are
// memory-form buffers of the register named; codes are PStrings.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"

struct ReportJob;

// ---- Report bodies ----

void ItemReport8(ReportJob &job);                 // 8: stock value, first in first out
void ItemPriceReport(ReportJob &job, int mode);     // 10 (mode 0), 11 and 77 (2), 12 (3)
void ItemQtyReport(ReportJob &job);               // 80: items that the components allow
void StockHistoryReport(ReportJob &job);          // 73: item history with a running balance
void SerialNumberHistoryReport(ReportJob &job);   // 84: serial-numbered units moved
void CustomerListReport(ReportJob &job);          // 3
void ItemInvCodeReport(ReportJob &job);           // 74
void StockMovementReport(ReportJob &job);         // 96
void LocationReport(ReportJob &job);              // 98
void RecipeReport(ReportJob &job);                // 78
void PurchInvoiceByVendorCode(ReportJob &job);    // 114
void Report87Batch(ReportJob &job);   // 87

// ---- The item walk of the item reports (stock_item_walk.cpp) ----

// Walks the items of the selection: SelText1 the code range, SelText3 the
// group range, SelText7 the classification code, order 0 by code, 1 by
// group (a heading per group with groupHeadings), 2 by name. each() gets
// every item kept; Esc stops after the item at hand.
void StockItemWalk(const uint8_t *selection, int order, bool groupHeadings,
                   void (*each)(const uint8_t *item, void *context), void *context);

// ---- Shared lines (stock_report_lines.cpp) ----

// A decimal of field type `type` at x (a column stop below 11), right-aligned.
void StockValueAt(int x, const PackedDecimal *value, int type);
// The text at offset of record (at most `width` characters) at x, for an
// offset that is no field of the interface file (a field's descriptor
// does not reach this form); right-aligned when align is not 0.
void StockFieldAt(int x, const uint8_t *record, RawOffset offset, int width, int align = 0);
// The text field f of record, at its own length, at x; right-aligned
// when align is not 0.
template <int N>
inline void StockFieldAt(int x, const uint8_t *record, TextField<N> f, int align = 0) {
    StockFieldAt(x, record, RawOffset(f.offset), N, align);
}
// A 32-bit serial number at x, left-aligned.
void StockNumberAt(int x, uint32_t number);
// The record of register reg whose first index, the 32-bit field at
// serialField, holds serial, into record; false when there is none.
bool StockReadBySerial(int reg, uint32_t serialField, uint32_t serial, uint8_t *record);

// ---- Stock routines (stock_totals.cpp) ----

// The stock of an item from register 6 into totals (an LSVc buffer): one
// location's record, or with an empty location the sum of all of them,
// a line per location with stock printed (location at 120, quantity in
// stop 3). With a date (not null, its year set) each quantity in stock is
// first taken back to that date. No record: zeros.
void ItemStockTotals(const uint8_t *item, const uint8_t *location, uint8_t *totals, const DateRec *date);
// True unless an item row (kind 1) of a stocked item orders more, less
// what has gone already, than its location holds.
bool OrderRowsInStock(const uint8_t *order);
// True when some item row's delivered quantity exceeds its invoiced one.
bool OrderHasOpenRows(const uint8_t *order);
// The order in full for the order-status reports: head, addresses, and
// each item row with what is left of it (ordered, or with fromShipped
// shipped, less invoiced) and that quantity's amount, then their sum.
void OrderDetailBlock(const uint8_t *order, bool fromShipped = false);
// The text numbers of a status report's heading line, by layout (a
// quantity text 0 prints nothing).
struct StatusHeadingTexts {
    int number;             // at 0, every layout
    int date, name, value;  // layout 0 at 60, 140, stop 1; layout 1 date and name at 130, 210
    int layout1Right;       // layout 1 at 480
    int rowText, rowItem;   // layout 2 at 110 and 175 (the date at 50)
    int amounts[3];         // layout 2 with values at 270, 380, 450
    int quantities[4];      // layout 2 with quantities at 260, 330, 410, 480
};
// The heading line of the order and purchase-order status reports.
void OrderStatusHeadings(int layout, bool quantities, const StatusHeadingTexts &texts);
// A stock movement in full: head and its rows.
void StockMovementDetail(const uint8_t *movement);

// ---- Item structures (stock_history_report.cpp) ----

// The quantity per unit of component in the structure of the item
// structureItem into result; blank when there is no structure or no row.
void StructureComponentQty(const uint8_t *structureItem, const uint8_t *component, PackedDecimal *result);
