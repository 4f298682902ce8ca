// column_amounts.cpp - the three column amounts of an account line by the
// report and layout of the job record.
#include "reports/ledger/ledger_reports.h"

// The column amounts a, b, c. Not built yet: all blank.
void AccountColumnAmounts(const uint8_t *, const uint8_t *, PackedDecimal *a, PackedDecimal *b, PackedDecimal *c)
{
    DecSetBlank(a);
    DecSetBlank(b);
    DecSetBlank(c);
}
