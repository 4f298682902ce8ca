// stock_field_leave.cpp - the field logic of the stock windows: stock
// movements (type 426, register 92), item structures (367, register 76)
// and productions (122, register 77). An item code gives its row the
// item's name and cost; a movement row's unit cost follows its base cost
// and add-on; a structure's totals follow its rows; a production's item
// fills its component rows from the item's structure.
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int CurrencyMax = 5, NameMax = 60, ItemMax = 20, AddOnMax = 20;

// Reads the item whose code is the text at `codeAt` of row into item;
// false when the code is empty or no item has it.
bool RowItem(const uint8_t *row, uint32_t codeAt, RuleRecord &item)
{
    PString code;
    GetPString(row, codeAt, ItemMax, code);
    return item.record && ProjectReadByCode(item, INVc::Code, ItemMax, code);
}

// The row's item code at `codeAt` was left: when it changed, or when the
// row has a code but no name yet, the item's name goes to `nameAt`;
// false (after a beep) when no item has the code, or nothing was asked.
bool ItemNameIntoRow(int window, int row, uint8_t *r, uint32_t codeAt, uint32_t nameAt, uint8_t changed,
                     RuleRecord &item)
{
    bool nameMissing = r[codeAt] != 0 && r[nameAt] == 0;
    if (!changed && !nameMissing) return false;
    if (!RowItem(r, codeAt, item)) {
        Beep();
        return false;
    }
    PString name;
    GetText(item.record, INVc::Name, name);
    PutPString(r, nameAt, NameMax, name);
    WinMatrixDrawRow(window, row, nameAt, 0);
    return true;
}

// The unit cost of a movement row: its base cost plus its add-on.
void MovementUnitCost(int window, int row, uint8_t *r)
{
    namespace Row = StockMoveVc::Rows;
    PString addOn;
    GetPString(r, Row::AddOn, AddOnMax, addOn);
    PackedDecimal base = GetDec(r, Row::BaseCost), cost;
    AddAmountOrPercent(&base, addOn, &cost);
    PutDec(r, Row::UnitCost, cost);
    WinMatrixDrawRow(window, row, Row::UnitCost, 0);
}

}  // namespace

// Screen field `field` of a stock-movement window was committed.
void StockMovementFieldLeave(int window, int field, uint8_t changed)
{
    namespace Row = StockMoveVc::Rows;
    if (!WinRecordIs(window, StockMoveVc::Number) || !WinRecordBuffer(window)) return;
    uint8_t *move = WinRecordBuffer(window);
    FieldPlace at = WinFieldPlace(window, field);
    if (!at.IsCell()) {
        if (!changed || (at.id != int(StockMoveVc::CurncyCode) && at.id != int(StockMoveVc::MoveDate))) return;
        PString currency;
        GetText(move, StockMoveVc::CurncyCode, currency);
        DateRec date = GetDate(move, StockMoveVc::MoveDate);
        PackedDecimal rate;
        if (CurrencyRate(currency, &date, &rate)) PutDec(move, StockMoveVc::Rate, rate);
        WinRedrawFieldById(window, int(StockMoveVc::Rate));
        WinMarkChanged(window);
        return;
    }
    WinRows rows(window, Row::Size);
    uint8_t *r = rows.At(at.row);
    if (!r) return;
    switch (at.cell) {
    case Row::ItemCode: {
        RuleRecord item(INVc::Number);
        if (!ItemNameIntoRow(window, at.row, r, Row::ItemCode, Row::Text, changed, item)) return;
        PackedDecimal cost = GetDec(item.record, INVc::CostPrice);
        PutDec(r, Row::BaseCost, cost);
        PutDec(r, Row::UnitCost, cost);
        WinMatrixDrawRow(window, at.row, Row::BaseCost, 0);
        WinMatrixDrawRow(window, at.row, Row::UnitCost, 0);
        return;
    }
    case Row::UnitCost:
        // A unit cost typed over stands alone: the add-on no longer says
        // how it was made.
        if (!changed) return;
        r[Row::AddOn] = 0;
        WinMatrixDrawRow(window, at.row, Row::AddOn, 0);
        return;
    case Row::BaseCost:
    case Row::AddOn:
        if (changed) MovementUnitCost(window, at.row, r);
        return;
    default: return;
    }
}

// Screen field `field` of an item-structure window was committed: a
// changed item code in column 0 gives its row the item's name and cost;
// any change recomputes the structure's totals.
void ItemStructureFieldLeave(int window, int field, uint8_t changed)
{
    namespace Row = StructureVc::Rows;
    if (!WinRecordIs(window, StructureVc::Number) || !WinRecordBuffer(window) || !changed) return;
    FieldPlace at = WinFieldPlace(window, field);
    if (at.IsCell() && at.column == 0) {
        WinRows rows(window, Row::Size);
        uint8_t *r = rows.At(at.row);
        RuleRecord item(INVc::Number);
        if (r && RowItem(r, Row::ItemCode, item)) {
            PString name;
            GetText(item.record, INVc::Name, name);
            PutText(r, Row::ItemName, name);
            PutDec(r, Row::Cost, GetDec(item.record, INVc::CostPrice));
            WinMatrixDrawRow(window, at.row, Row::ItemName, 0);
            WinMatrixDrawRow(window, at.row, Row::Cost, 0);
        }
    }
    ItemStructureTotals(WinRecordBuffer(window));
    WinRedrawFieldById(window, int(StructureVc::Total94));
    WinRedrawFieldById(window, int(StructureVc::Total106));
}

// Screen field `field` of a production window was committed: a changed
// item fills the component rows from its structure (a beep when it has
// none); a changed component code gives its row the item's name.
void ProductionFieldLeave(int window, int field, uint8_t changed)
{
    namespace Row = ProductionVc::Rows;
    if (!WinRecordIs(window, ProductionVc::Number) || !WinRecordBuffer(window) || !changed) return;
    FieldPlace at = WinFieldPlace(window, field);
    if (!at.IsCell()) {
        if (at.id != int(ProductionVc::ItemCode)) return;
        if (!FillProductionFromStructure(WinRecordBuffer(window))) Beep();
        WinRecordRefresh(window);
        WinMarkChanged(window);
        return;
    }
    if (at.column != 0) return;
    WinRows rows(window, Row::Size);
    uint8_t *r = rows.At(at.row);
    RuleRecord item(INVc::Number);
    if (!r || !RowItem(r, Row::ItemCode, item)) return;
    PString name;
    GetText(item.record, INVc::Name, name);
    PutText(r, Row::ItemName, name);
    WinMatrixDrawRow(window, at.row, Row::ItemName, 0);
}
