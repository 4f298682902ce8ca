// ship_date_report.cpp - report 111, orders and deliveries by ship date,
// and a delivery's detail.
#include "reports/sales/sales_reports.h"

// Report 111. Not built yet: does nothing.
void ShipDateReport()
{
}

// A delivery's detail. Not built yet: does nothing.
void DeliveryDetail(const uint8_t *)
{
}
