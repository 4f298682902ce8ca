// time_budgets.cpp - the time budgets (register 68) that time-sheet rows
// feed: a row of a person added to that person's budget row (or to the
// row that serves every person without one), or a budget made for the
// project and item on its first row.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "rules/projects.h"

namespace {

constexpr int ProjectMax = 20, ItemMax = 20, PersonMax = 5;

namespace TB = TimeBudgetVc;
namespace TS = TimeSheetVc;

// Adds value into the amount at `at` of base; a blank field counts as zero.
void AddInto(uint8_t *base, uint32_t at, const PackedDecimal &value) {
    PackedDecimal sum = GetDec(base, at);
    if (DecIsBlank(&sum)) DecSetZero(&sum);
    PackedDecimal v = value;
    if (DecIsBlank(&v)) return;
    DecAdd(&sum, &v, &sum);
    PutDec(base, at, sum);
}

// The cost of quantity hours of person: the quantity times the person's
// cost rate, to two decimals; zero when the person is missing.
PackedDecimal PersonCost(const uint8_t *person, const PackedDecimal &quantity) {
    PackedDecimal cost;
    DecSetZero(&cost);
    RuleRecord rec(PEVc::Number);
    if (!ProjectReadByCode(rec, PEVc::Code, PersonMax, person)) return cost;
    PackedDecimal rate = GetDec(rec.record, PEVc::CostRate), q = quantity;
    if (DecIsBlank(&rate) || DecIsBlank(&q)) return cost;
    DecMul(&q, &rate, &cost);
    DecRound(&cost, 2, &cost);
    return cost;
}

// A budget row for person with every amount blank and price.
void NewRow(uint8_t *row, const uint8_t *person, const PackedDecimal &price) {
    std::memset(row, 0, TB::Rows::Size);
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutText(row, TB::Rows::Person, person);
    for (uint32_t at : {TB::Rows::BudgetQty, TB::Rows::QtySpent, TB::Rows::QtyInvoiced, TB::Rows::Qty42,
                        TB::Rows::QtyToInvoice, TB::Rows::CostInvoiced, TB::Rows::CostSpent})
        PutDec(row, at, blank);
    PutDec(row, TB::Rows::Price, price);
}

// The sheet row's codes and quantity.
struct Booking {
    uint8_t person[256], project[256], item[256];
    PackedDecimal quantity;
};

bool ReadBooking(const uint8_t *sheet, int32_t index, Booking *b) {
    uint8_t row[TS::Rows::Size];
    if (!MatrixRowGet(TS::Number, 0, sheet, index, row)) return false;
    GetText(row, TS::Rows::Person, b->person);
    GetText(row, TS::Rows::Project, b->project);
    GetText(row, TS::Rows::ItemCode, b->item);
    b->quantity = GetDec(row, TS::Rows::Quantity);
    return true;
}

// The booking into a budget row: spent and still to invoice grow by the
// quantity, the cost spent by its cost.
void Book(uint8_t *row, const Booking &b) {
    AddInto(row, TB::Rows::QtySpent, b.quantity);
    AddInto(row, TB::Rows::QtyToInvoice, b.quantity);
    AddInto(row, TB::Rows::CostSpent, PersonCost(b.person, b.quantity));
}

}  // namespace

// Reads a record by its code through the register's first index.
bool ProjectReadByCode(RuleRecord &rec, uint32_t at, int max, const uint8_t *code) {
    if (!rec.record || !code || code[0] == 0 || code[0] > max) return false;
    RecClear(rec.reg, rec.record);
    PutPString(rec.record, at, max, code);
    return RecFindByFirstKey(rec.reg, rec.record);
}

// Finds the budget of project and item by the (project, item) index.
bool ProjectBudgetFind(int reg, uint8_t *rec, const uint8_t *project, const uint8_t *item, uint32_t *recid) {
    assert(reg == TB::Number || reg == CostBudgetVc::Number);
    bool time = reg == TB::Number;
    if (project[0] > ProjectMax || item[0] > ItemMax) return false;
    RecClear(reg, rec);
    PutPString(rec, time ? TB::Project : CostBudgetVc::Project, ProjectMax, project);
    PutPString(rec, time ? TB::ItemCode : CostBudgetVc::ItemCode, ItemMax, item);
    uint32_t position = 0;
    return RecFindByIndex(reg, "ProjectItem", rec, 2, 1, recid, &position);
}

// The row of the person takes the booking; without one, the last row with
// an empty person code; without that either, a new row of the person at
// the project's price for the person.
void TimeBudgetUpdate(const uint8_t *sheet, int32_t index, uint8_t *budget) {
    assert(sheet && budget);
    Booking b;
    if (!ReadBooking(sheet, index, &b)) return;
    int32_t n = MatrixRowCount(TB::Number, 0, budget), target = -1, common = -1;
    uint8_t row[TB::Rows::Size], code[256];
    for (int32_t i = 0; i < n && target < 0; i++) {
        if (!MatrixRowGet(TB::Number, 0, budget, i, row)) break;
        GetText(row, TB::Rows::Person, code);
        if (PStringEqual(code, b.person)) target = i;
        else if (code[0] == 0) common = i;
    }
    if (target < 0) target = common;
    if (target < 0) {
        PackedDecimal price, percent;
        ProjectItemPrice(b.project, b.item, b.person, &price, &percent);
        NewRow(row, b.person, price);
        target = n;
    } else {
        MatrixRowGet(TB::Number, 0, budget, target, row);
    }
    Book(row, b);
    MatrixRowPut(TB::Number, 0, budget, target, row);
    TimeBudgetTotals(budget);
}

// A new budget of the row's project and item with the row as its first.
bool TimeBudgetCreate(const uint8_t *sheet, int32_t index) {
    assert(sheet);
    Booking b;
    RuleRecord budget(TB::Number);
    if (!budget.record || !ReadBooking(sheet, index, &b)) return false;
    uint8_t defaults[ProjectBlk::Size] = {};
    bool haveDefaults = SettingsBlockRead(ProjectBlk::Number, defaults, ProjectBlk::Size);
    RecClear(TB::Number, budget.record);
    uint8_t *rec = budget.record;
    PutText(rec, TB::Project, b.project);
    PutText(rec, TB::ItemCode, b.item);
    PutU16(rec, TB::FixedBudget, 0);
    PutU16(rec, TB::Detail, haveDefaults ? GetU16(defaults, ProjectBlk::TimeDetail) : 0);
    PackedDecimal blank, price, percent;
    DecSetBlank(&blank);
    for (uint32_t at : {TB::ToInvoice, TB::Budget, TB::Invoiced}) PutDec(rec, at, blank);
    ProjectItemPrice(b.project, b.item, b.person, &price, &percent);
    PutDec(rec, TB::DiscPct, percent);
    uint8_t name[256];
    TimeBudgetItem(b.item, name);
    PutText(rec, TB::ItemName, name);
    TimeBudgetProject(b.project, name);
    PutText(rec, TB::ProjectName, name);
    uint8_t row[TB::Rows::Size];
    NewRow(row, b.person, price);
    Book(row, b);
    if (!MatrixRowPut(TB::Number, 0, rec, 0, row)) return false;
    TimeBudgetTotals(rec);
    uint32_t recid = 0;
    return RecStore(TB::Number, rec, 0, &recid);
}

// The item's name, empty when the item is missing.
void TimeBudgetItem(const uint8_t *itemCode, uint8_t *name) {
    name[0] = 0;
    RuleRecord item(INVc::Number);
    if (ProjectReadByCode(item, INVc::Code, ItemMax, itemCode)) GetText(item.record, INVc::Name, name);
}

// The project's name, empty when the project is missing.
void TimeBudgetProject(const uint8_t *projectCode, uint8_t *name) {
    name[0] = 0;
    RuleRecord project(ProjectVc::Number);
    if (ProjectReadByCode(project, ProjectVc::Code, ProjectMax, projectCode))
        GetText(project.record, ProjectVc::Name, name);
}
