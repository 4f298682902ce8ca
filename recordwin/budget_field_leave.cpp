// budget_field_leave.cpp - the field logic of the project budget windows:
// cost budgets (type 360, register 72) and time budgets (type 362,
// register 68). The project and the item give their names and the
// budget's discount percentage; a row's price and amount follow its
// cells; the budget's totals follow its rows. Only changed values act.
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/projects.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int ProjectMax = 20, ItemMax = 20, NameMax = 60, PersonMax = 5, CustomerMax = 20;

// Reads the record of reg whose code at keyAt is the text at codeAt of
// rec (at most max characters); copies its name at nameFrom into rec's
// field at nameTo, emptied when there is none. True when it was found.
bool NameOf(int window, uint8_t *rec, uint32_t codeAt, int max, RuleRecord &found, uint32_t keyAt, uint32_t nameFrom,
            uint32_t nameTo)
{
    PString code, name;
    GetPString(rec, codeAt, max, code);
    bool ok = found.record && ProjectReadByCode(found, keyAt, max, code);
    name[0] = 0;
    if (ok) GetPString(found.record, nameFrom, NameMax, name);
    PutPString(rec, nameTo, NameMax, name);
    WinRedrawFieldById(window, int(nameTo));
    return ok;
}

// The price (and percentage) of the budget's item worked in its project
// by person (empty: nobody in particular).
void BudgetItemPrice(const uint8_t *budget, uint32_t projectAt, uint32_t itemAt, const uint8_t *person,
                     PackedDecimal *price, PackedDecimal *percent)
{
    PString project, item;
    GetPString(budget, projectAt, ProjectMax, project);
    GetPString(budget, itemAt, ItemMax, item);
    ProjectItemPrice(project, item, person, price, percent);
}

}  // namespace

// Screen field `field` of a cost-budget window was committed.
void CostBudgetFieldLeave(int window, int field, uint8_t changed)
{
    namespace CB = CostBudgetVc;
    namespace Row = CostBudgetVc::Rows;
    if (!WinRecordIs(window, CB::Number) || !WinRecordBuffer(window) || !changed) return;
    uint8_t *budget = WinRecordBuffer(window);
    FieldPlace at = WinFieldPlace(window, field);
    if (!at.IsCell()) {
        if (at.id == int(CB::Project)) {
            RuleRecord project(ProjectVc::Number);
            NameOf(window, budget, CB::Project, ProjectMax, project, ProjectVc::Code, ProjectVc::Name, CB::ProjectName);
        } else if (at.id == int(CB::ItemCode)) {
            RuleRecord item(INVc::Number);
            NameOf(window, budget, CB::ItemCode, ItemMax, item, INVc::Code, INVc::Name, CB::ItemName);
            PackedDecimal price, percent;
            BudgetItemPrice(budget, CB::Project, CB::ItemCode, EmptyPString, &price, &percent);
            PutDec(budget, CB::DiscPct, percent);
            WinRedrawFieldById(window, int(CB::DiscPct));
        } else if (at.id == int(CB::DiscPct)) {
            CostBudgetTotals(budget);
        }
        WinMarkChanged(window);
        return;
    }
    WinRows rows(window, Row::Size);
    uint8_t *r = rows.At(at.row);
    if (!r) return;
    if (at.column == 0) {
        PackedDecimal price, percent;
        BudgetItemPrice(budget, CB::Project, CB::ItemCode, EmptyPString, &price, &percent);
        PutDec(r, Row::UnitPrice, price);
        WinMatrixDrawRow(window, at.row, Row::UnitPrice, 0);
        return;
    }
    if (at.column >= 1 && at.column <= 4) {
        // quantity x price less the budget's discount, with the row's own
        // surcharge, less what was invoiced.
        PackedDecimal qty = GetDec(r, Row::QtySpent), price = GetDec(r, Row::UnitPrice),
                      discount = GetDec(budget, CB::DiscPct), pct = GetDec(r, Row::Surcharge),
                      invoiced = GetDec(r, Row::Invoiced), amount;
        DecRowAmount(&qty, &price, nullptr, &discount, &amount);
        if (!DecIsBlank(&pct)) DecAddPercent(&amount, &pct, &amount);
        if (!DecIsBlank(&invoiced)) DecSub(&amount, &invoiced, &amount);
        PutDec(r, Row::Spent, amount);
        WinMatrixDrawRow(window, at.row, Row::Spent, 0);
    } else if (at.column == 6) {
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(r, Row::Surcharge, blank);
        WinMatrixDrawRow(window, at.row, Row::Surcharge, 0);
    } else {
        return;
    }
    CostBudgetTotals(budget);
    WinMarkChanged(window);
}

// Screen field `field` of a time-budget window was committed. The item's
// discount percentage for the project's customer goes into the budget's
// discount field (byte 126 holds a percentage, not a price).
void TimeBudgetFieldLeave(int window, int field, uint8_t changed)
{
    namespace TB = TimeBudgetVc;
    namespace Row = TimeBudgetVc::Rows;
    if (!WinRecordIs(window, TB::Number) || !WinRecordBuffer(window) || !changed) return;
    uint8_t *budget = WinRecordBuffer(window);
    FieldPlace at = WinFieldPlace(window, field);
    if (!at.IsCell()) {
        if (at.id == int(TB::Project)) {
            RuleRecord project(ProjectVc::Number);
            NameOf(window, budget, TB::Project, ProjectMax, project, ProjectVc::Code, ProjectVc::Name, TB::ProjectName);
        } else if (at.id == int(TB::ItemCode)) {
            RuleRecord item(INVc::Number);
            NameOf(window, budget, TB::ItemCode, ItemMax, item, INVc::Code, INVc::Name, TB::ItemName);
            PString code, customer, itemCode;
            GetText(budget, TB::Project, code);
            RuleRecord project(ProjectVc::Number);
            if (project.record && ProjectReadByCode(project, ProjectVc::Code, ProjectMax, code)) {
                GetText(project.record, ProjectVc::CustCode, customer);
                GetText(budget, TB::ItemCode, itemCode);
                PackedDecimal price, percent;
                if (CustDiscPrice(customer, itemCode, &price, &percent)) {
                    PutDec(budget, TB::DiscPct, percent);
                    WinRedrawFieldById(window, int(TB::DiscPct));
                }
            }
        } else if (at.id == int(TB::DiscPct)) {
            TimeBudgetTotals(budget);
        }
        WinMarkChanged(window);
        return;
    }
    WinRows rows(window, Row::Size);
    uint8_t *r = rows.At(at.row);
    if (!r) return;
    if (at.cell == int(Row::Qty42)) {
        // What is still to invoice grows by the change of the unsettled
        // quantity: the new value less the one before the edit.
        PackedDecimal now = GetDec(r, Row::Qty42), before = GetDec(WinTable[window]->oldValue.data(), 0),
                      left = GetDec(r, Row::QtyToInvoice), change;
        if (DecIsBlank(&now)) DecSetZero(&now);
        if (DecIsBlank(&before)) DecSetZero(&before);
        if (DecIsBlank(&left)) DecSetZero(&left);
        DecSub(&now, &before, &change);
        DecAdd(&left, &change, &left);
        PutDec(r, Row::QtyToInvoice, left);
        WinMatrixDrawRow(window, at.row, Row::QtyToInvoice, 0);
    } else if (at.column == 0) {
        PString person;
        GetText(r, Row::Person, person);
        PackedDecimal price, percent;
        BudgetItemPrice(budget, TB::Project, TB::ItemCode, person, &price, &percent);
        PutDec(r, Row::Price, price);
        WinMatrixDrawRow(window, at.row, Row::Price, 0);
        WinMarkChanged(window);
        return;
    } else if (at.column != 1 && at.column != 2 && at.column != 6) {
        return;
    }
    TimeBudgetTotals(budget);
    WinMarkChanged(window);
}
