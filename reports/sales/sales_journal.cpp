// sales_journal.cpp - reports 1 and 57, the sales transaction journal and
// the invoice journal with items.
#include "reports/sales/sales_reports.h"

// Report 1. Not built yet: does nothing.
void SalesJournalReport()
{
}

// Report 57. Not built yet: does nothing.
void InvoiceJournalReport()
{
}

// Report 1's summary line. Not built yet: does nothing.
void PrintDocSummaryLine(const uint8_t *)
{
}

// Report 57's invoice rows. Not built yet: both sums blank.
void InvoiceJournalDetail(const uint8_t *, PackedDecimal *homeNet, PackedDecimal *rowSum)
{
    DecSetBlank(homeNet);
    DecSetBlank(rowSum);
}
