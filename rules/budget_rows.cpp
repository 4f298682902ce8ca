// budget_rows.cpp - the period rows of budgets, spread by a distribution
// key (register 20) or taken from the account's budget between dates
// (register 21).
//
// A period row's text, when not empty, is a fixed amount added to the
// computed one. A text that is no number adds nothing: it can only have
// come from an import, and a wrong amount is worse than none.
#include <cassert>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/memblock.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "rules/code_budgets.h"
#include "rules/ledger.h"

namespace KeyBudget = BUVc;
namespace DateBudget = BPVc;
namespace DistKey = DKVc;

namespace {

// Gives the budget an empty rows block when it has none.
void EnsureRows(int reg, uint8_t *budget) {
    if (RecMatrixHandle(reg, budget) != 0) return;
    const int32_t slot = RegMatrixOffset(reg);
    assert(slot >= 0);
    PutU32(budget, (uint32_t)slot, MemAlloc(0));
}

// Adds the amount written in the row's text (at textAt) to *amount.
void AddTextAmount(const uint8_t *row, uint32_t textAt, PackedDecimal *amount) {
    uint8_t text[256];
    GetPString(row, textAt, 60, text);
    if (text[0] == 0) return;
    PackedDecimal fixed;
    if (!TextToDecChecked(text, &fixed) || DecIsBlank(&fixed)) return;
    DecAdd(amount, &fixed, amount);
}

// The factors of distribution key code into key (a register-22 record);
// false when the key does not exist or its factors sum to zero (then no
// share can be taken).
bool ReadDistributionKey(const uint8_t *code, uint8_t *key) {
    PutText(key, DistKey::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(DistKey::Number, key, 1, 1, &recid, &position)) return false;
    const PackedDecimal sum = GetDec(key, DistKey::FactorSum);
    return !DecIsZero(&sum);
}

}  // namespace

// Sets each period row of a register-20 budget to the amount to
// distribute times the row's factor of the distribution key over the sum
// of the factors (rows beyond the factors or with factor zero get none),
// plus the amount in the row's text; the total is the sum of the rows.
// Without a key, a key that does not exist or a blank amount, the rows
// carry only their text amounts.
void BudgetRowsByKey(uint8_t *budget) {
    assert(budget);
    const int reg = KeyBudget::Number;
    EnsureRows(reg, budget);
    RuleRecord key(DistKey::Number);
    uint8_t code[256];
    GetText(budget, KeyBudget::KeyCode, code);
    const PackedDecimal amount = GetDec(budget, KeyBudget::Amount);
    const bool useKey = key.record && code[0] != 0 && !DecIsBlank(&amount) && ReadDistributionKey(code, key.record);
    const PackedDecimal sum = useKey ? GetDec(key.record, DistKey::FactorSum) : PackedDecimal{};
    const int32_t factors = useKey ? MatrixRowCount(DistKey::Number, 0, key.record) : 0;

    PackedDecimal total;
    DecSetZero(&total);
    uint8_t row[KeyBudget::Rows::Size], factorRow[DistKey::Rows::Size];
    const int32_t n = MatrixRowCount(reg, 0, budget);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(reg, budget, i, row)) break;
        PackedDecimal rowAmount;
        DecSetBlank(&rowAmount);
        if (i < factors && MatrixRowRead(DistKey::Number, key.record, i, factorRow)) {
            const PackedDecimal factor = GetDec(factorRow, DistKey::Rows::Factor);
            if (!DecIsZero(&factor)) {
                DecMul(&amount, &factor, &rowAmount);
                DecDiv(&rowAmount, &sum, &rowAmount);
            }
        }
        AddTextAmount(row, KeyBudget::Rows::Text, &rowAmount);
        PutDec(row, KeyBudget::Rows::Amount, rowAmount);
        if (!MatrixRowPut(reg, 0, budget, i, row)) break;
        DecAdd(&total, &rowAmount, &total);
    }
    PutDec(budget, KeyBudget::Total, total);
}

// Sets each period row of a register-21 budget, when its percentage is
// not zero, to the budget (register 20) of the record's account and
// objects over the row's days times (100 + percentage) / 100; a row
// without a from-date ends that pass, leaving it and the rows after it as
// they are and out of the total. Each row counted gets its text amount
// added; the total is the sum of the rows counted.
void BudgetRowsByDates(uint8_t *budget) {
    assert(budget);
    const int reg = DateBudget::Number;
    EnsureRows(reg, budget);
    uint8_t account[256], objects[256];
    GetText(budget, DateBudget::Account, account);
    GetText(budget, DateBudget::Objects, objects);
    const PackedDecimal percentage = GetDec(budget, DateBudget::Percentage);
    const bool usePercentage = !DecIsZero(&percentage);
    PackedDecimal factor;
    DecPercentFactor(&percentage, &factor);
    const DateRec end = GetDate(budget, DateBudget::EndDate);

    PackedDecimal total;
    DecSetZero(&total);
    uint8_t row[DateBudget::Rows::Size], next[DateBudget::Rows::Size];
    const int32_t n = MatrixRowCount(reg, 0, budget);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(reg, budget, i, row)) break;
        PackedDecimal rowAmount;
        DecSetBlank(&rowAmount);
        if (usePercentage) {
            const DateRec from = GetDate(row, DateBudget::Rows::FromDate);
            if (DateIsEmpty(&from)) break;
            DateRec to = end;
            if (i + 1 < n && MatrixRowRead(reg, budget, i + 1, next)) {
                const DateRec nextFrom = GetDate(next, DateBudget::Rows::FromDate);
                if (!DateIsEmpty(&nextFrom)) DateAddDays(&nextFrom, -1, &to);
            }
            PackedDecimal inRange;
            BudgetInRange(account, objects, &from, &to, &inRange);
            DecMul(&inRange, &factor, &rowAmount);
            DecRound(&rowAmount, 2, &rowAmount);
        }
        AddTextAmount(row, DateBudget::Rows::Text, &rowAmount);
        PutDec(row, DateBudget::Rows::Amount, rowAmount);
        if (!MatrixRowPut(reg, 0, budget, i, row)) break;
        DecAdd(&total, &rowAmount, &total);
    }
    PutDec(budget, DateBudget::Total, total);
}
