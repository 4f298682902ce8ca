// totals_table.cpp - sums by code (a currency, a payment mode) gathered
// while a report walks and printed at its end; number-range captions and
// the range tests the reports share.
#include "reports/sales/report_run.h"
#include "reports/sales/sales_reports.h"

// Empties the table. Not built yet: does nothing.
void TotalsTableReset()
{
}

// The table's rows. Not built yet: tells so, none.
int TotalsTableCount(int)
{
    ReportsNotBuilt();
    return 0;
}

// Prints the table. Not built yet: does nothing.
void TotalsTablePrint(int, int, int, int, int)
{
}

// Adds to a code's row. Not built yet: tells so, stops the job, false.
bool TotalsTableAdd(const uint8_t *, const PackedDecimal *, const PackedDecimal *, const PackedDecimal *)
{
    ReportsNotBuilt();
    return false;
}

// A number range's caption. Not built yet: the empty text.
void NumberRangeCaption(uint32_t, uint32_t, uint8_t *out)
{
    out[0] = 0;
}

// A value in a range by its kind. Not built yet: tells so, outside.
bool InRangeBySetting(const uint8_t *, const uint8_t *)
{
    ReportsNotBuilt();
    return false;
}

// A delivery's rows at its order's prices. Not built yet: blank.
void RowsAmountTotal(const uint8_t *, const uint8_t *, PackedDecimal *result)
{
    DecSetBlank(result);
}
