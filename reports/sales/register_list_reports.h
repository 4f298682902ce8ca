// register_list_reports.h - simple listings of registers: the registers
// with their record counts (85), one item in every price list (90), the
// vendors (27), the purchase items (113) and the productions (79).
#pragma once

void RegisterCountReport();   // 85
void PriceListReport();       // 90 (price_list_report.cpp)
void VendorListReport();      // 27
void PurchaseItemReport();    // 113
void ProductionReport();      // 79
