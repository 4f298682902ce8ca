// posting_journal.cpp - report 65, sales invoices by date with their vouchers.
#include "reports/sales/sales_reports.h"

// Report 65. Not built yet: does nothing.
void InvoiceByDateReport()
{
}
