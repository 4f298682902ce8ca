// sales_reports.h - the calculations of the sales and stock reports that
// other folders call.
#pragma once

struct ReportJob;

#include <cstdint>

#include "core/decimal.h"
#include "core/memblock.h"
#include "reports/frame/totals_table.h"
#include "rules/stock.h"

// ---- The stock cost calculations' lines (stock_cost_lines.cpp) ----

// Installs the report lines of the FIFO walk and the component scan.
void StockCostLinesInstall();

// ---- Sales journals (sales_journal.cpp, receipt_journal.cpp, due_date_report.cpp,
// posting_journal.cpp, ship_date_report.cpp) ----

// Report 1: the sales transaction journal.
void SalesJournalReport(ReportJob &job);
// Report 57: the invoice journal with items.
void InvoiceJournalReport(ReportJob &job);
// Report 13: the customer-receipt journal.
void ReceiptJournalReport(ReportJob &job);
// Report 16: invoices and open items by due date.
void DueDateReport(ReportJob &job);
// Report 65: sales invoices by date with their vouchers.
void InvoiceByDateReport(ReportJob &job);
// Report 111: orders and deliveries by ship date.
void ShipDateReport(ReportJob &job);
// Report 1 layout 1's summary line of an invoice.
void PrintDocSummaryLine(const uint8_t *invoice);
// Report 57 layout 1's rows of an invoice; its home net and row sum.
void InvoiceJournalDetail(const uint8_t *selection, const uint8_t *invoice, PackedDecimal *homeNet, PackedDecimal *rowSum);
// A delivery with its address and rows.
void DeliveryDetail(const uint8_t *delivery);
