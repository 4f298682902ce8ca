// budget_amounts.cpp - budget amounts of accounts over a run of days.
//
// A budget record (registers 20 and 21, keyed by account and object list)
// holds dated period rows: each row runs from its from-date to the day
// before the next row's from-date, the last one (or one followed by a row
// with no date) to the record's end date; a row with no from-date ends
// the rows. A range of days takes from each row the share of the row's
// days that falls in it. Days are counted inclusively, so the two halves
// of a month take the whole month's amount between them.
#include <algorithm>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "rules/code_budgets.h"
#include "rules/rules_types.h"

namespace {

// The offsets that differ between the two budget registers.
struct BudgetLayout {
    int reg;
    uint32_t account, objects, endDate, rowSize, rowFrom, rowAmount;
};
constexpr BudgetLayout Budget1{BUVc::Number,    BUVc::Account,       BUVc::Objects,      BUVc::EndDate,
                               BUVc::Rows::Size, BUVc::Rows::FromDate, BUVc::Rows::Amount};
constexpr BudgetLayout Budget2{BPVc::Number,    BPVc::Account,       BPVc::Objects,      BPVc::EndDate,
                               BPVc::Rows::Size, BPVc::Rows::FromDate, BPVc::Rows::Amount};
static_assert(BUVc::Rows::Size == BPVc::Rows::Size);

// Adds to *result the share of amount that the days from..to take of the
// row's days rowFrom..rowTo, both counted inclusively. Nothing when they
// do not overlap or the row has no days.
void AddBudgetShare(const DateRec *from, const DateRec *to, const DateRec *rowFrom, const DateRec *rowTo,
                    const PackedDecimal *amount, PackedDecimal *result) {
    if (DateIsEmpty(rowFrom) || DateIsEmpty(rowTo)) return;
    if (DateCompare(rowTo, from) < 0 || DateCompare(rowFrom, to) > 0) return;
    if (DateCompare(rowFrom, from) >= 0 && DateCompare(rowTo, to) <= 0) {
        DecAdd(result, amount, result);
        return;
    }
    int32_t rowDays = DateDiffDays(rowTo, rowFrom) + 1;
    const DateRec *start = DateCompare(from, rowFrom) > 0 ? from : rowFrom;
    const DateRec *end = DateCompare(to, rowTo) < 0 ? to : rowTo;
    int32_t overlap = DateDiffDays(end, start) + 1;
    if (rowDays <= 0 || overlap <= 0) return;
    PackedDecimal days, share;
    DecFromLong(&days, overlap);
    DecMul(amount, &days, &share);
    DecFromLong(&days, rowDays);
    DecDiv(&share, &days, &share);
    DecAdd(result, &share, result);
}

// *out = the budget of (account, objects) in layout's register over
// from..to: every record of that key, every row's share.
void BudgetOf(const BudgetLayout &layout, const uint8_t *account, const uint8_t *objects, const DateRec *from,
              const DateRec *to, PackedDecimal *out) {
    DecSetZero(out);
    if (DateIsEmpty(from) || DateIsEmpty(to)) return;
    RuleRecord budget(layout.reg);
    if (!budget.record) return;
    PutPString(budget.record, layout.account, 10, account);
    PutPString(budget.record, layout.objects, ObjectListMax, objects);
    uint32_t recid = 0, position = 0;
    bool found = RecFind(layout.reg, budget.record, 2, 0, &recid, &position);
    uint8_t row[BUVc::Rows::Size], next[BUVc::Rows::Size];
    while (found) {
        PString a, o;
        GetPString(budget.record, layout.account, 10, a);
        GetPString(budget.record, layout.objects, ObjectListMax, o);
        if (!PStringEqual(a, account) || !PStringEqual(o, objects)) break;
        DateRec end = GetDate(budget.record, layout.endDate);
        int32_t count = MatrixRowCount(layout.reg, 0, budget.record);
        for (int32_t i = 0; i < count && MatrixRowRead(layout.reg, budget.record, i, row); i++) {
            DateRec rowFrom = GetDate(row, layout.rowFrom);
            if (DateIsEmpty(&rowFrom)) break;
            DateRec rowTo = end;
            if (i + 1 < count && MatrixRowRead(layout.reg, budget.record, i + 1, next)) {
                DateRec nextFrom = GetDate(next, layout.rowFrom);
                if (!DateIsEmpty(&nextFrom)) DateAddDays(&nextFrom, -1, &rowTo);
            }
            PackedDecimal amount = GetDec(row, layout.rowAmount);
            AddBudgetShare(from, to, &rowFrom, &rowTo, &amount, out);
        }
        // Browsing past the last record stays on it: the same id ends the walk.
        const uint32_t previous = recid;
        found = RecBrowseNext(layout.reg, budget.record, &recid, "") && recid != previous;
    }
}

}  // namespace

// The budget (register 20) of account and objects for the days from..to.
void BudgetInRange(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                   PackedDecimal *out) {
    BudgetOf(Budget1, account, objects, from, to, out);
}

// The second budget (register 21) of account and objects for the days
// from..to.
void Budget2InRange(const uint8_t *account, const uint8_t *objects, const DateRec *from, const DateRec *to,
                    PackedDecimal *out) {
    BudgetOf(Budget2, account, objects, from, to, out);
}
