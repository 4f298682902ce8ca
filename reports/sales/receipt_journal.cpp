// receipt_journal.cpp - report 13, the customer-receipt journal.
#include "reports/sales/sales_reports.h"

// Report 13. Not built yet: does nothing.
void ReceiptJournalReport()
{
}
