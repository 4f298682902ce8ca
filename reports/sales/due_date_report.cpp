// due_date_report.cpp - report 16, invoices and open items by due date.
#include "reports/sales/sales_reports.h"

// Report 16. Not built yet: does nothing.
void DueDateReport()
{
}
