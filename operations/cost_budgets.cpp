// cost_budgets.cpp - the cost budgets (register 72) that the project rows
// of approved purchase invoices (register 28) and posted expenses
// (register 109) feed: one row per text and whole-number unit price, the
// amounts raised by the row's surcharge.
//
// The unit price is rounded to a whole number on purpose: it is the key
// that later costs of the same text merge on, not a price to invoice by.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "rules/projects.h"
#include "rules/vat_currency.h"

namespace {

constexpr int ItemMax = 20, TextMax = 60;

namespace CB = CostBudgetVc;

// a + b into a field, blank counting as zero.
void AddInto(uint8_t *base, uint32_t at, const PackedDecimal &value) {
    PackedDecimal sum = GetDec(base, at), v = value;
    if (DecIsBlank(&v)) return;
    if (DecIsBlank(&sum)) DecSetZero(&sum);
    DecAdd(&sum, &v, &sum);
    PutDec(base, at, sum);
}

// The merge key's unit price: amount / quantity rounded half away from
// zero to a whole number; blank for a zero or blank quantity.
PackedDecimal UnitPriceKey(const PackedDecimal *quantity, const PackedDecimal *amount) {
    PackedDecimal price;
    DecSetBlank(&price);
    if (DecIsZero(quantity)) return price;
    PackedDecimal a = *amount;
    if (DecIsBlank(&a)) DecSetZero(&a);
    DecDiv(&a, quantity, &price);
    DecRound(&price, 0, &price);
    return price;
}

// Numeric equality with blank as zero.
bool SameAmount(PackedDecimal a, PackedDecimal b) {
    if (DecIsBlank(&a)) DecSetZero(&a);
    if (DecIsBlank(&b)) DecSetZero(&b);
    return DecCompare(&a, &b) == 0;
}

// Adds one cost row (project, item, text, quantity, amount) into its
// budget: found by (project, item) it takes the row and is rewritten,
// else it is made.
bool CostToBudget(const uint8_t *project, const uint8_t *item, const uint8_t *text, const PackedDecimal &quantity,
                  const PackedDecimal &amount) {
    RuleRecord budget(CB::Number);
    if (!budget.record) return false;
    uint32_t recid = 0;
    if (!ProjectBudgetFind(CB::Number, budget.record, project, item, &recid))
        return CostBudgetCreate(project, item, text, &quantity, &amount);
    CostBudgetAddRow(text, &quantity, &amount, budget.record, nullptr);
    return RecStore(CB::Number, budget.record, 1, &recid);
}

}  // namespace

// The row of the same text and unit price takes quantity and amount; a
// new row takes the last row's surcharge (or percentage, the first row).
void CostBudgetAddRow(const uint8_t *text, const PackedDecimal *quantity, const PackedDecimal *amount,
                      uint8_t *budget, const PackedDecimal *percentage) {
    assert(text && quantity && amount && budget);
    PackedDecimal price = UnitPriceKey(quantity, amount), blank;
    DecSetBlank(&blank);
    uint8_t row[CB::Rows::Size], have[256], cut[256];
    PStringCopy(cut, text);
    if (cut[0] > TextMax) cut[0] = TextMax;
    int32_t n = MatrixRowCount(CB::Number, 0, budget), target = -1;
    for (int32_t i = 0; i < n && target < 0; i++) {
        if (!MatrixRowGet(CB::Number, 0, budget, i, row)) break;
        GetText(row, CB::Rows::Text, have);
        if (PStringEqual(have, cut) && SameAmount(GetDec(row, CB::Rows::UnitPrice), price)) target = i;
    }
    if (target >= 0) {
        MatrixRowGet(CB::Number, 0, budget, target, row);
    } else {
        PackedDecimal surcharge = blank;
        if (n > 0 && MatrixRowGet(CB::Number, 0, budget, n - 1, row)) surcharge = GetDec(row, CB::Rows::Surcharge);
        else if (percentage) surcharge = *percentage;
        std::memset(row, 0, sizeof row);
        PutText(row, CB::Rows::Text, cut);
        for (uint32_t at : {CB::Rows::QtySpent, CB::Rows::BudgetQty, CB::Rows::Amount98, CB::Rows::Invoiced,
                            CB::Rows::Spent})
            PutDec(row, at, blank);
        PutDec(row, CB::Rows::UnitPrice, price);
        PutDec(row, CB::Rows::Surcharge, surcharge);
        target = n;
    }
    AddInto(row, CB::Rows::QtySpent, *quantity);
    PackedDecimal spent = *amount, surcharge = GetDec(row, CB::Rows::Surcharge);
    if (!DecIsBlank(&surcharge) && !DecIsBlank(&spent)) DecAddPercent(&spent, &surcharge, &spent);
    AddInto(row, CB::Rows::Spent, spent);
    MatrixRowPut(CB::Number, 0, budget, target, row);
    CostBudgetTotals(budget);
}

// A new cost budget of project and item; its first row's surcharge is the
// item's (zero when the item is missing).
bool CostBudgetCreate(const uint8_t *project, const uint8_t *item, const uint8_t *text, const PackedDecimal *quantity,
                      const PackedDecimal *amount) {
    assert(project && item && text && quantity && amount);
    uint8_t defaults[ProjectBlk::Size] = {};
    bool haveDefaults = SettingsBlockRead(ProjectBlk::Number, defaults, ProjectBlk::Size);
    RuleRecord it(INVc::Number), budget(CB::Number);
    if (!budget.record) return false;
    PackedDecimal surcharge;
    DecSetZero(&surcharge);
    uint8_t name[256] = {0};
    if (ProjectReadByCode(it, INVc::Code, ItemMax, item)) {
        surcharge = GetDec(it.record, INVc::Markup);
        GetText(it.record, INVc::Name, name);
    }
    uint8_t *rec = budget.record;
    RecClear(CB::Number, rec);
    PutText(rec, CB::Project, project);
    PutText(rec, CB::ItemCode, item);
    PutU16(rec, CB::FixedBudget, 0);
    PutU16(rec, CB::Detail, haveDefaults ? GetU16(defaults, ProjectBlk::CostDetail) : 0);
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (uint32_t at : {CB::SpentSum, CB::Budget, CB::Invoiced, CB::DiscPct}) PutDec(rec, at, blank);
    PutText(rec, CB::ItemName, name);
    TimeBudgetProject(project, name);
    PutText(rec, CB::ProjectName, name);
    CostBudgetAddRow(text, quantity, amount, rec, &surcharge);
    uint32_t recid = 0;
    return RecStore(CB::Number, rec, 0, &recid);
}

// Each project row of an approved purchase invoice into its cost budget.
bool PurchaseInvoiceToCostBudget(const uint8_t *invoice) {
    assert(invoice);
    if (GetU16(invoice, VIVc::Approved) == 0) return true;
    int32_t n = MatrixRowCount(VIVc::Number, 0, invoice);
    uint8_t row[VIVc::Rows::Size], project[256], item[256], text[256];
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(VIVc::Number, 0, invoice, i, row)) return false;
        GetText(row, VIVc::Rows::Project, project);
        if (project[0] == 0) continue;
        GetText(row, VIVc::Rows::ItemCode, item);
        GetText(row, VIVc::Rows::Text, text);
        if (!CostToBudget(project, item, text, GetDec(row, VIVc::Rows::Quantity), GetDec(row, VIVc::Rows::Amount)))
            return false;
    }
    return true;
}

// Each project row of a posted expense into its cost budget: the amount
// without its VAT.
bool ExpenseToCostBudget(const uint8_t *expense) {
    assert(expense);
    if (GetU16(expense, ExpenseVc::Posted) == 0) return true;
    int32_t n = MatrixRowCount(ExpenseVc::Number, 0, expense);
    uint8_t row[ExpenseVc::Rows::Size], project[256], item[256], text[256];
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(ExpenseVc::Number, 0, expense, i, row)) return false;
        GetText(row, ExpenseVc::Rows::Project, project);
        if (project[0] == 0) continue;
        GetText(row, ExpenseVc::Rows::ItemCode, item);
        GetText(row, ExpenseVc::Rows::Text, text);
        PackedDecimal amount = GetDec(row, ExpenseVc::Rows::Amount), vat = GetDec(row, ExpenseVc::Rows::VatAmount);
        if (DecIsBlank(&amount)) DecSetZero(&amount);
        if (!DecIsBlank(&vat)) DecSub(&amount, &vat, &amount);
        if (!CostToBudget(project, item, text, GetDec(row, ExpenseVc::Rows::Quantity), amount)) return false;
    }
    return true;
}
