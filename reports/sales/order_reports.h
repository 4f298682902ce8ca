// order_reports.h - the order, purchase-order, salesman, posted-document
// and item statistics reports, and the small line printers they share.
#pragma once

struct ReportJob;

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "core/decimal.h"
#include "core/pstring.h"

// Report 54: the orders with something outstanding, status from Option3..5.
void OrderStatusReport(ReportJob &job);
// Reports 64 (mode 1: not delivered, rows in stock) and 116 (mode 2: shipped
// and not invoiced).
void OrderStatusReport64(ReportJob &job, int mode);
// Report 4: the order list.
void OrderListReport4(ReportJob &job);
// Report 81: the purchase orders still to receive.
void POStatusReport(ReportJob &job);
// Report 110: one order with what stock allows, its deliveries and invoices.
void DocumentFlowReport(ReportJob &job);
// Report 97: the orders' net amounts per object, for the period and the
// fiscal year to its end.
void OrderObjectReport(ReportJob &job);
// Report 72: item sales per salesman, or the rows with their commission.
void InvoiceReport72(ReportJob &job);
// Report 112: the posted documents of a register with the voucher rows
// each posts, and those rows summed per account.
void PostedDocumentVoucherReport(ReportJob &job);
// Report 9, layout 0: three statistics values per item over the period.
void ItemListReportLayout0(ReportJob &job);
// Report 9, other layouts: sales statistics, stock and price per item.
void ItemListReport(ReportJob &job);

// The commission of one invoice row: the item's percent, or the
// salesman's when the item has none; commission = base x percent / 100
// when the percent lies in -100..100, else zero. Both zero when the item
// or the salesman is not found.
void RowCommission(const uint8_t *item, const uint8_t *salesman, const PackedDecimal *base, PackedDecimal *percent,
                   PackedDecimal *commission);

// ---- Line pieces of these reports (order_report_lines.cpp) ----

// A quantity field of record; a blank one reads as zero.
PackedDecimal OrderQty(const uint8_t *record, uint32_t offset);
// An amount (or quantity) at x by field type; align 0 left, 1 right.
void OrderLineAmount(int x, const PackedDecimal *amount, int type, int align);
// The pieces of a sales order's item row that the order list and the
// stock totals share: its item code, the quantity, its text, price and
// discount at their columns, and the amount at amountX (the caller starts
// and ends the line).
struct ItemRowAmounts {
    PackedDecimal qty, price, discount, amount;
};
void OrderItemRowPieces(const uint8_t *row, const ItemRowAmounts &a, int amountX);
// A 32-bit number at x.
void OrderLineNumber(int x, int32_t n, int align);
// One piece of a printed line: the record's field at offset, of field
// type type (a text of at most width characters for FtText), at x.
struct LinePiece {
    int x;
    uint32_t offset;
    int type;
    int width;
    int align;
};
// Prints one line of record's pieces; with skipEmpty nothing when all its
// text pieces are empty.
void OrderLineFields(const uint8_t *record, std::initializer_list<LinePiece> pieces, bool skipEmpty = false);
// An order's head line (number, date, customer, name, reference) and its
// address lines that are not empty.
void OrderHeadLines(const uint8_t *order);
// An empty line of height h.
void OrderLineGap(int h);
// The open-order status reports (sales and purchase) print an item row
// alike past its order's columns. Amounts: the quantity left at 270, the
// price at 380, its value at 450 and the order's currency (currencyAt) at
// 480; the quantity left adds to sums[0].
void OrderStatusRowAmounts(const uint8_t *order, uint32_t currencyAt, const PackedDecimal *left,
                           const PackedDecimal *price, const PackedDecimal *value, PackedDecimal *sums);
// Quantities: count (at most 4) columns at 260, 330, 410 and 480, each
// added to its sum.
void OrderStatusRowQuantities(const PackedDecimal *cols, int count, PackedDecimal *sums);
// The totals line under layout 2: the quantity left alone, or the count
// quantity columns' sums.
void OrderStatusSumsLine(const PackedDecimal *sums, int count, bool quantities);
// A line holding a rule from x1 to x2.
void OrderLineRule(int x1, int x2, int thickness);

// Walks register reg by index from the key in record (its first `parts`
// key parts), reading each record into record and calling each until it
// returns false, the records end or the user presses Esc (after the
// record at hand). The record's rows are freed before each read and at
// the end.
void ReportIndexWalk(int reg, const char *index, uint8_t *record, int parts,
                     bool (*each)(const uint8_t *record, void *context), void *context);

// ---- Order amounts per object (order_object_report.cpp) ----

// One object's orders: their amount without VAT and how many they are.
struct ObjectTotal {
    PString code;
    PackedDecimal amount;
    int32_t count;
};
using ObjectTotals = std::vector<ObjectTotal>;
// The index of the last row of code, or -1.
int ObjectTotalFind(const uint8_t *code, const ObjectTotals &table);
// Adds the order's amount without VAT and one order to code's row, or
// appends the row; nothing when the job record selection names another
// object.
void ObjectTotalAdd(const uint8_t *selection, ObjectTotals *table, const uint8_t *code, const uint8_t *order);
// ObjectTotalAdd for each object of the order's object list.
void OrderObjectsAdd(const uint8_t *selection, ObjectTotals *table, const uint8_t *order);
