// budget_amounts.cpp - budget amounts of accounts over a run of days.
#include "reports/ledger/ledger_reports.h"

// The budget of an account over a run of days.
void BudgetInRange(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                   PackedDecimal *out) {
    if (out) DecSetBlank(out);
}

// The second budget of an account over a run of days.
void Budget2InRange(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                    PackedDecimal *out) {
    if (out) DecSetBlank(out);
}
