// register_list_reports.h - simple listings of registers: the registers
// with their record counts (85), one item in every price list (90), the
// vendors (27), the purchase items (113) and the productions (79).
#pragma once

struct ReportJob;

void RegisterCountReport(ReportJob &job);   // 85
void PriceListReport(ReportJob &job);       // 90 (price_list_report.cpp)
void VendorListReport(ReportJob &job);      // 27
void PurchaseItemReport(ReportJob &job);    // 113
void ProductionReport(ReportJob &job);      // 79
