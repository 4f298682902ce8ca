// project_budget_lines.cpp - the walk over a project's budgets by item
// (index "ProjectItem" of registers 68 and 72) and the budget amounts of
// a project: what was invoiced and what is still to invoice, of time,
// of costs and of the time-budget rows.
#include "rules/project_budget_lines.h"

#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "rules/rules_types.h"

namespace {

constexpr int CodeMax = 20;

// sum += the amount field of base at `at` (blank counts as zero).
void AddField(PackedDecimal *sum, const uint8_t *base, uint32_t at) {
    const PackedDecimal v = GetDec(base, at);
    if (!DecIsBlank(&v)) DecAdd(sum, &v, sum);
}

struct BudgetLinesRun {
    bool invoiced, toInvoice;
    PackedDecimal *time, *cost, *rows;
};

bool TimeBudgetAmounts(const uint8_t *budget, void *data) {
    namespace T = TimeBudgetVc;
    BudgetLinesRun *run = static_cast<BudgetLinesRun *>(data);
    if (run->invoiced) AddField(run->time, budget, T::Invoiced);
    if (run->toInvoice) AddField(run->time, budget, T::ToInvoice);
    uint8_t row[T::Rows::Size];
    const int32_t n = MatrixRowCount(T::Number, 0, budget);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(T::Number, budget, i, row)) continue;
        if (run->invoiced) AddField(run->rows, row, T::Rows::CostInvoiced);
        if (run->toInvoice) AddField(run->rows, row, T::Rows::CostSpent);
    }
    return true;
}

bool CostBudgetAmounts(const uint8_t *budget, void *data) {
    namespace C = CostBudgetVc;
    BudgetLinesRun *run = static_cast<BudgetLinesRun *>(data);
    if (run->invoiced) AddField(run->cost, budget, C::Invoiced);
    if (run->toInvoice) AddField(run->cost, budget, C::SpentSum);
    return true;
}

}  // namespace

bool ProjectBudgetWalk(int reg, const uint8_t *code, bool (*each)(const uint8_t *budget, void *data), void *data) {
    assert(reg == TimeBudgetVc::Number || reg == CostBudgetVc::Number);
    assert(code && each);
    const uint32_t projectAt = reg == TimeBudgetVc::Number ? TimeBudgetVc::Project : CostBudgetVc::Project;
    RuleRecord budget(reg);
    if (!budget.record || !code[0]) return true;
    PutPString(budget.record, projectAt, CodeMax, code);
    constexpr const char *index = "ProjectItem";
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(reg, index, budget.record, 1, 0, &recid, &position)) return true;
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(reg, budget.record);
            if (!RecReadAtIndex(reg, index, (int32_t)p, budget.record, &recid)) break;
        }
        PString have;
        GetPString(budget.record, projectAt, CodeMax, have);
        if (!PStringEqual(have, code)) break;
        if (!each(budget.record, data)) return false;
    }
    return true;
}

void ProjectBudgetLines(const uint8_t *code, bool invoiced, bool toInvoice, PackedDecimal *time, PackedDecimal *cost,
                        PackedDecimal *rows) {
    assert(time && cost && rows);
    DecSetZero(time);
    DecSetZero(cost);
    DecSetZero(rows);
    BudgetLinesRun run{invoiced, toInvoice, time, cost, rows};
    ProjectBudgetWalk(TimeBudgetVc::Number, code, TimeBudgetAmounts, &run);
    ProjectBudgetWalk(CostBudgetVc::Number, code, CostBudgetAmounts, &run);
}
