// column_amounts.cpp - the three column amounts of an account line by the
// report and layout of the job record.
#include <cassert>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "rules/rules_types.h"

namespace {

// The reports whose columns compare periods (22, 47-51), and those whose
// columns show opening, closing and a budget (19, 21, 33, 37-46).
bool ComparesPeriods(int report) { return report == 22 || (report >= 47 && report <= 51); }
bool ShowsBalances(int report) { return report == 19 || report == 21 || report == 33 || (report >= 37 && report <= 46); }

}  // namespace

// a, b, c of account and objects for the job record's report number
// (22 during the balance export), ColumnLayout and period [DateFrom,
// DateTo]; all zero when the account has no balance record for the
// objects or the report or layout has no such columns. YearStart and
// YearToDate are read as ReportFiscalYear left them.
void AccountColumnAmounts(const uint8_t *account, const uint8_t *objects, PackedDecimal *a, PackedDecimal *b,
                          PackedDecimal *c) {
    const uint8_t *selection = CurrentJobRecord();
    assert(account && objects && a && b && c && selection);
    DecSetZero(a);
    DecSetZero(b);
    DecSetZero(c);
    RuleRecord found(BalanceRecord::Number);
    if (!found.record || !BalanceRecordFind(account, objects, found.record)) return;
    const MemBlock block = GetU32(found.record, BalanceRecord::Periods);
    const int report = (int16_t)GetU16(selection, ReportParamsVc::ReportNumber);
    const int layout = GetU16(selection, ReportParamsVc::ColumnLayout);
    const int second = GetU16(selection, ReportParamsVc::SecondKind) != 0;
    const DateRec from = GetDate(selection, ReportParamsVc::DateFrom);
    const DateRec to = GetDate(selection, ReportParamsVc::DateTo);

    if (report == 6 || report == 20 || (ComparesPeriods(report) && layout == 0)) {
        if (YearToDate) {
            AccountBalanceChange(account, objects, &from, &to, block, second, a);
            AccountBalanceChange(account, objects, &YearStart, &to, block, second, b);
        } else {
            AccountBalanceChange(account, objects, &from, &to, block, second, b);
        }
        return;
    }
    if (ComparesPeriods(report)) {
        if (layout < 1 || layout > 3) return;
        AccountBalanceChange(account, objects, &from, &to, block, second, b);
        if (layout == 1) {
            DateRec lastFrom = from, lastTo = to;
            DateAddYears(&lastFrom, -1);
            DateAddYears(&lastTo, -1);
            AccountBalanceChange(account, objects, &lastFrom, &lastTo, block, second, a);
        } else if (layout == 2) {
            BudgetInRange(account, objects, &from, &to, a);
        } else {
            Budget2InRange(account, objects, &from, &to, a);
        }
        return;
    }
    if (!ShowsBalances(report) && report != 23) return;
    if (layout == 0) {
        AccountBalanceBefore(account, objects, &from, block, second, a);
        AccountBalanceAt(account, objects, &to, block, second, c);
        DecSub(c, a, b);
        return;
    }
    if (report == 23 || (layout != 2 && layout != 3)) return;
    AccountBalanceBefore(account, objects, &from, block, second, a);
    AccountBalanceAt(account, objects, &to, block, second, b);
    if (layout == 2)
        BudgetInRange(account, objects, &from, &to, c);
    else
        Budget2InRange(account, objects, &from, &to, c);
    DecAdd(c, a, c);
}
