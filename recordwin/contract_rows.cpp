// contract_rows.cpp - the row step of the contract window (type 468).
// Item rows (kind 1) are priced like invoice rows: an item or quantity
// through the price rules, a price or discount marks the sum, a sum or
// VAT code the profit. Rows of kind 4 recompute their profit when their
// sum, account or VAT code changes, rows of kind 5 when their text,
// price or discount does; only kinds 1 and 4 carry a sum and a profit.
// Cells are named by their byte in the row.
#include "recordwin/contract_window.h"

#include <vector>

#include "core/field_access.h"
#include "dict_offsets.h"
#include "recordwin/document_rows.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Row = ContractVc::Rows;


struct RowMarks {
    bool sum = false, profit = false;
};

bool IsAnyOf(uint32_t cell, std::initializer_list<uint32_t> cells)
{
    for (uint32_t c : cells)
        if (c == cell) return true;
    return false;
}

// An item row's cell was left. False when the step stops there (an
// unknown item typed: beep, the row as it was).
bool ItemRowCellLeft(uint8_t *doc, int row, uint8_t *r, uint32_t cell, uint8_t changed, uint8_t *item,
                     std::vector<uint32_t> *redraw, RowMarks *m)
{
    const DocLayout &l = ContractDocLayout;
    if (cell == Row::ItemCode) {
        bool textMissing = r[Row::ItemCode] != 0 && r[Row::Text] == 0;
        if (!changed && !textMissing) return true;
        if (!DocRowPrice(l, doc, row, r, item, DocTakeText | DocTakeCost)) return false;
        PutDec(r, Row::PriceUnit, GetDec(item, INVc::PriceUnit));
        *redraw = {Row::Price, Row::Text, Row::Discount, Row::SalesAcc, Row::Objects, Row::VatCode, Row::UnitCost,
                   Row::PriceUnit};
        m->sum = true;
        return true;
    }
    if (!changed) return true;
    if (cell == Row::Quantity) {
        // The row keeps its description; its cost is refreshed.
        if (!DocRowPrice(l, doc, row, r, item, DocTakeCost)) return true;
        *redraw = {Row::Price, Row::Discount, Row::SalesAcc, Row::Objects, Row::VatCode, Row::UnitCost};
        m->sum = true;
    } else if (IsAnyOf(cell, {Row::Price, Row::Discount})) {
        m->sum = true;
    } else if (IsAnyOf(cell, {Row::Sum, Row::VatCode})) {
        m->profit = true;
    }
    return true;
}

// The gross profit of a row of kind 1 or 4: net in home currency less
// quantity x unit cost; a row without an item has neither cost nor
// profit.
void RowProfit(const uint8_t *doc, uint8_t *r, std::vector<uint32_t> *redraw)
{
    PackedDecimal net, gp;
    if (r[Row::ItemCode] != 0) {
        DocRowGrossProfit(ContractDocLayout, doc, r, &net, &gp);
    } else {
        DecSetZero(&gp);
        PutDec(r, Row::UnitCost, gp);
        redraw->push_back(Row::UnitCost);
    }
    PutDec(r, Row::GrossProfit, gp);
    redraw->push_back(Row::GrossProfit);
}

}  // namespace

void ContractRowLeft(int window, int F, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    int row = NoField, column = NoField, cell = NoField;
    if (!WinRowCellAt(window, F, &row, &column, &cell)) return;
    RuleRecord item(INVc::Number);
    if (!item.record) return;
    uint8_t *doc = WinRecordBuffer(window);
    RowMarks m;
    std::vector<uint32_t> redraw;
    {
        LockedRows rows(window);
        if (!rows.data) return;
        uint8_t *r = rows.data + uint32_t(row) * Row::Size;
        // A row typed into without a kind becomes an item row, so that
        // totals and invoicing count it.
        const uint16_t kindBefore = GetU16(r, Row::Kind);
        if (changed && GetU16(r, Row::Kind) == 0 && uint32_t(cell) != Row::Kind) {
            PutU16(r, Row::Kind, uint16_t(ContractRowKind::Item));
            redraw.push_back(Row::Kind);
        }
        const ContractRowKind kind = ContractRowKind(GetU16(r, Row::Kind));
        if (kind == ContractRowKind::Item) {
            if (!ItemRowCellLeft(doc, row, r, uint32_t(cell), changed, item.record, &redraw, &m)) {
                PutU16(r, Row::Kind, kindBefore);
                Beep();
                return;
            }
        } else if (changed &&
                   ((kind == ContractRowKind::Sum &&
                     IsAnyOf(uint32_t(cell), {Row::Sum, Row::SalesAcc, Row::VatCode})) ||
                    (kind == ContractRowKind::Text &&
                     IsAnyOf(uint32_t(cell), {Row::Text, Row::Price, Row::Discount})))) {
            m.profit = true;
        }
        bool priced = kind == ContractRowKind::Item || kind == ContractRowKind::Sum;
        if (m.sum && priced && DocRowSumUpdate(ContractDocLayout, r)) {
            redraw.push_back(Row::Sum);
            m.profit = true;
        }
        if (m.profit && priced) RowProfit(doc, r, &redraw);
    }
    // Every value is in the row before its cells are redrawn.
    for (uint32_t c : redraw) DocRowRedraw(window, row, {c});
    if (m.profit) ContractTotalsRefresh(window);
}
