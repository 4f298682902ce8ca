// report_year.cpp - the fiscal year of a report's period and the month
// steps of the period columns.
#include <cstring>

#include "reports/ledger/ledger_reports.h"

DateRec YearStart{};
uint8_t YearToDate = 0;

// Sets YearStart and YearToDate. Not built yet: does nothing.
void ReportFiscalYear()
{
}

// The same day of the next month. Not built yet: out blank.
void DateNextMonth(const DateRec *, DateRec *out)
{
    std::memset(out, 0, sizeof *out);
}

// The last day of date's month. Not built yet: out blank.
void DateMonthEnd(const DateRec *, DateRec *out)
{
    std::memset(out, 0, sizeof *out);
}
