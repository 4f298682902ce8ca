// discounts.cpp - item discounts: the discount matrix (register 66) of a
// discount code names, per item group, a quantity-step code (register 64)
// and ten percentages; the step a row's quantity reaches picks one of them.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "rules/rules_types.h"

namespace {

constexpr int CodeMax = 5;
constexpr int StepCount = 9;          // thresholds of a quantity step
constexpr uint32_t PercentStride = 12;

// Reads the record of rec's register whose code (at most CodeMax
// characters at offset) is code; false for an empty, overlong or unknown
// code.
bool ReadByCode(RuleRecord &rec, uint32_t offset, const uint8_t *code) {
    if (!rec.record || !code || code[0] == 0 || code[0] > CodeMax) return false;
    PutPString(rec.record, offset, CodeMax, code);
    return RecFindByFirstKey(rec.reg, rec.record);
}

static_assert(QtyStepVc::Step9 == QtyStepVc::Step1 + 8 * PercentStride);
static_assert(DiscMatrixVc::Rows::Pct10 == DiscMatrixVc::Rows::Pct1 + 9 * PercentStride);
static_assert(DiscMatrixVc::DefPct10 == DiscMatrixVc::DefPct1 + 9 * PercentStride);

}  // namespace

// The discount of item (its record) at unit price and quantity qty: the
// code is discCode, or when that is empty the discount code of customer
// group `group`. The matrix row of the item's group decides, else the
// matrix's default step and percentages. discount is blank and *found
// false when there is no code or no matrix for it.
void ItemDiscount(const uint8_t *item, const PackedDecimal *price, const PackedDecimal *qty, const uint8_t *group,
                  const uint8_t *discCode, PackedDecimal *discount, bool *found) {
    assert(item && price && qty && group && discCode && discount && found);
    DecSetBlank(discount);
    *found = false;
    uint8_t code[256];
    PStringCopy(code, discCode);
    if (code[0] == 0 && group[0] != 0) {
        RuleRecord grp(CustGroupVc::Number);
        if (ReadByCode(grp, CustGroupVc::Code, group)) GetText(grp.record, CustGroupVc::DiscCode, code);
    }
    RuleRecord matrix(DiscMatrixVc::Number);
    if (!ReadByCode(matrix, DiscMatrixVc::Code, code)) return;
    uint8_t itemGroup[256], rowGroup[256], step[256];
    GetText(item, INVc::Group, itemGroup);
    uint8_t row[DiscMatrixVc::Rows::Size];
    int32_t rows = MatrixRowCount(DiscMatrixVc::Number, 0, matrix.record);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowGet(DiscMatrixVc::Number, 0, matrix.record, i, row)) break;
        GetText(row, DiscMatrixVc::Rows::ItemGroup, rowGroup);
        if (!PStringEqual(rowGroup, itemGroup)) continue;
        GetText(row, DiscMatrixVc::Rows::Step, step);
        DiscountForQuantity(item, step, qty, price, row + DiscMatrixVc::Rows::Pct1, discount, found);
        return;
    }
    GetText(matrix.record, DiscMatrixVc::DefStep, step);
    DiscountForQuantity(item, step, qty, price, matrix.record + DiscMatrixVc::DefPct1, discount, found);
}

// One of the ten percentages (12 bytes apart from percentages) by the step
// that the basis reaches: the basis is qty times price, qty alone, or qty
// times one of two amounts of item (its record), as the step record says.
// Without a step record the first percentage applies and *found is false.
void DiscountForQuantity(const uint8_t *item, const uint8_t *stepCode, const PackedDecimal *qty,
                         const PackedDecimal *price, const uint8_t *percentages, PackedDecimal *discount, bool *found) {
    assert(item && stepCode && qty && price && percentages && discount && found);
    int index = 0;
    RuleRecord steps(QtyStepVc::Number);
    if (ReadByCode(steps, QtyStepVc::Code, stepCode)) {
        *found = true;
        PackedDecimal basis, amount;
        switch (GetU16(steps.record, QtyStepVc::Basis)) {
        case 0: DecMul(qty, price, &basis); break;
        case 2: amount = GetDec(item, INVc::StepAmount1); DecMul(qty, &amount, &basis); break;
        case 3: amount = GetDec(item, INVc::StepAmount2); DecMul(qty, &amount, &basis); break;
        default: basis = *qty; break;
        }
        index = DiscountStepPercent(&basis, steps.record);
    }
    assert(index >= 0 && index <= StepCount);
    *discount = GetDec(percentages, (size_t)index * PercentStride);
}

// How many thresholds of the quantity-step record `steps`, counted from
// the first, basis reaches before one that is empty or above it (0..9). An
// empty threshold (blank, or zero as an unfilled amount is stored) ends
// the list; an empty basis reaches none.
int DiscountStepPercent(const PackedDecimal *basis, const uint8_t *steps) {
    assert(basis && steps);
    if (DecIsBlank(basis)) return 0;
    int reached = 0;
    for (int i = 0; i < StepCount; i++) {
        PackedDecimal threshold = GetDec(steps, QtyStepVc::Step1 + (size_t)i * PercentStride);
        if (DecIsZero(&threshold) || DecCompare(basis, &threshold) < 0) break;
        reached = i + 1;
    }
    return reached;
}
