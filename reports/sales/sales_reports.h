// sales_reports.h - the calculations of the sales and stock reports that
// other folders call.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/memblock.h"

// ---- FIFO cost (fifo_cost.cpp) ----

// The FIFO cost of issuing `issued` of item at location out of onHand,
// taken from the newest receipts back, into cost.
void StockFifoCostOfQty(const uint8_t *item, const uint8_t *location, const PackedDecimal *onHand,
                        const PackedDecimal *issued, PackedDecimal *cost);

// ---- Components of an item structure (component_scan.cpp) ----

// How many units of item (times multiplier) its components in stock allow
// into result, and what they allow net of reservations into second when
// it is not null. explode scans the components' own structures too; print
// asks for one report line per component.
void RecipeComponentScan(const uint8_t *item, int multiplier, PackedDecimal *result, PackedDecimal *second,
                         int print, int explode);

// ---- Totals by code (totals_table.cpp) ----

// One code's three sums.
struct TotalsRow {
    uint8_t code[6];
    PackedDecimal amount1, amount2, amount3;
};
static_assert(sizeof(TotalsRow) == 42);
// Empties the totals table.
void TotalsTableReset();
// The rows of the table; all 0 leaves out the empty code's row.
int TotalsTableCount(int all);
// Prints the rows (sums at x1..x3, a negative x skipped, the code at
// codeX; the empty code's row only with withEmpty) and empties the table.
void TotalsTablePrint(int x1, int x2, int x3, int codeX, int withEmpty);
// Adds three amounts to code's row; false: no memory (told by the memory layer).
bool TotalsTableAdd(const uint8_t *code, const PackedDecimal *a1, const PackedDecimal *a2, const PackedDecimal *a3);
// The caption of a number range (1821 range, 1822 one number, 1823 none).
void NumberRangeCaption(uint32_t from, uint32_t to, uint8_t *out);
// True when value lies in range read by the kind block 220 gives.
bool InRangeBySetting(const uint8_t *range, const uint8_t *value);
// The amount of a delivery's rows at its order's prices.
void RowsAmountTotal(const uint8_t *delivery, const uint8_t *order, PackedDecimal *result);

// ---- Sales journals (sales_journal.cpp, receipt_journal.cpp, due_date_report.cpp,
// posting_journal.cpp, ship_date_report.cpp) ----

// Report 1: the sales transaction journal.
void SalesJournalReport();
// Report 57: the invoice journal with items.
void InvoiceJournalReport();
// Report 13: the customer-receipt journal.
void ReceiptJournalReport();
// Report 16: invoices and open items by due date.
void DueDateReport();
// Report 65: sales invoices by date with their vouchers.
void InvoiceByDateReport();
// Report 111: orders and deliveries by ship date.
void ShipDateReport();
// Report 1 layout 1's summary line of an invoice.
void PrintDocSummaryLine(const uint8_t *invoice);
// Report 57 layout 1's rows of an invoice; its home net and row sum.
void InvoiceJournalDetail(const uint8_t *invoice, PackedDecimal *homeNet, PackedDecimal *rowSum);
// A delivery with its address and rows.
void DeliveryDetail(const uint8_t *delivery);
