// balances.cpp - account and value balances at, before and between dates
// for the ledger reports.
//
// Not built yet: every amount comes back blank and every find fails.
#include "reports/ledger/ledger_reports.h"
#include "reports/sales/report_run.h"

// The balance at the end of date. Not built yet: out blank.
void AccountBalanceAt(const uint8_t *, const uint8_t *, const DateRec *, MemBlock, int, PackedDecimal *out)
{
    DecSetBlank(out);
}

// The balance before date. Not built yet: out blank.
void AccountBalanceBefore(const uint8_t *, const uint8_t *, const DateRec *, MemBlock, int, PackedDecimal *out)
{
    DecSetBlank(out);
}

// The movement over from..to. Not built yet: out blank.
void AccountBalanceChange(const uint8_t *, const uint8_t *, const DateRec *, const DateRec *, MemBlock, int,
                          PackedDecimal *out)
{
    DecSetBlank(out);
}

// The fiscal year's opening balance. Not built yet: tells so, out blank, false.
bool AccountOpeningBalance(const uint8_t *, const uint8_t *, const DateRec *, MemBlock, int, PackedDecimal *out)
{
    DecSetBlank(out);
    ReportsNotBuilt();
    return false;
}

// Finds a balance record. Not built yet: tells so and finds none.
bool BalanceRecordFind(const uint8_t *, const uint8_t *, uint8_t *)
{
    ReportsNotBuilt();
    return false;
}

// The value balance at the end of date. Not built yet: out blank.
void ValueBalanceAt(const uint8_t *, const uint8_t *, int, int, const DateRec *, MemBlock, PackedDecimal *out)
{
    DecSetBlank(out);
}

// The value balance before date. Not built yet: out blank.
void ValueBalanceBefore(const uint8_t *, const uint8_t *, int, int, const DateRec *, MemBlock, PackedDecimal *out)
{
    DecSetBlank(out);
}

// The value movement over from..to. Not built yet: out blank.
void ValueBalanceChange(const uint8_t *, const uint8_t *, int, int, const DateRec *, const DateRec *, MemBlock,
                        PackedDecimal *out)
{
    DecSetBlank(out);
}

// The period's opening, movement and closing. Not built yet: all blank.
void AccountPeriodAmounts(const uint8_t *, const uint8_t *, PackedDecimal *opening, PackedDecimal *movement,
                          PackedDecimal *closing)
{
    DecSetBlank(opening);
    DecSetBlank(movement);
    DecSetBlank(closing);
}
