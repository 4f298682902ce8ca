// sales_doc_rows.cpp - the row step of the order and quotation windows:
// an item or a quantity prices its row, a price or discount sums it, a
// typed sum gives the discount it means, and the gross profit, the
// item-information window and the totals follow. Cells are named by
// their byte in the row; the windows have no row kinds to tell apart.
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "recordwin/sales_doc_window.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "shell/matrix_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int ItemCodeMax = 20, CostKeyMax = 10;

struct RowMarks {
    bool sum = false, profit = false;
};

// The item cell: a changed code, or a code whose description is empty,
// prices the row (the order keeps the quantity typed before it). False
// when the item is unknown: the row is as it was.
bool ItemCellLeft(const SalesDocWindow &d, int window, int row, uint8_t changed, uint8_t *item, RowMarks *m)
{
    const DocLayout &l = *d.layout;
    uint8_t *doc = WinRecordBuffer(window);
    PackedDecimal keptQty;
    {
        LockedRows rows(window);
        if (!rows.data) return true;
        uint8_t *r = rows.data + uint32_t(row) * l.rowSize;
        bool textMissing = r[l.itemCode] != 0 && r[l.text] == 0;
        if (!changed && !textMissing) return true;
        std::vector<uint8_t> before(r, r + l.rowSize);
        keptQty = GetDec(r, l.quantity);
        DecSetBlank(reinterpret_cast<PackedDecimal *>(r + l.price));
        DecSetBlank(reinterpret_cast<PackedDecimal *>(r + l.discount));
        if (d.isOrder) DecSetBlank(reinterpret_cast<PackedDecimal *>(r + l.sum));
        if (!DocRowPrice(l, doc, row, r, item, DocTakeText | DocTakeCost)) {
            std::memcpy(r, before.data(), l.rowSize);
            return false;
        }
        if (d.isOrder) DocRowStructure(l, item, r, nullptr);
        PutDec(r, l.priceUnit, GetDec(item, INVc::PriceUnit));
    }
    // The row holds its new values before any of its cells is redrawn.
    DocRowRedraw(window, row, {l.price, l.text, l.discount, l.account, l.afterAccount, l.vatCode, l.unitCost,
                              d.isOrder ? l.structCode : NoDocCell, l.priceUnit});
    m->sum = true;
    uint8_t lang[256];
    GetPString(doc, l.lang, 5, lang);
    DocItemTextRows(window, item, lang, int(l.text), row);
    if (d.isOrder) {
        LockedRows rows(window);
        if (rows.data && row < WinMatrixRowCount(window)) {
            PutDec(rows.data + uint32_t(row) * l.rowSize, l.quantity, keptQty);
            WinMatrixDrawRow(window, row, l.quantity, 0);
        }
    }
    return true;
}

// The quantity cell, changed: the row is repriced keeping its own
// description and cost. An unknown item is silent here.
void QuantityCellLeft(const SalesDocWindow &d, int window, int row, uint8_t *r, uint8_t *item, RowMarks *m)
{
    const DocLayout &l = *d.layout;
    if (!d.isOrder) m->sum = true;
    if (!DocRowPrice(l, WinRecordBuffer(window), row, r, item, 0)) return;
    if (d.isOrder) DocRowStructure(l, item, r, nullptr);
    m->sum = true;
}

// The other cells: price and discount mark the sum; a typed sum gives
// the discount it means and marks the profit, as do the cost (order) and
// the VAT code.
void OtherCellLeft(const SalesDocWindow &d, uint32_t cell, uint8_t *r, bool *discountSet, RowMarks *m)
{
    const DocLayout &l = *d.layout;
    if (cell == l.price || cell == l.discount) {
        m->sum = true;
    } else if (cell == l.sum) {
        PackedDecimal price = GetDec(r, l.price), unit = GetDec(r, l.priceUnit), sum = GetDec(r, l.sum),
                      qty = GetDec(r, l.quantity), discount;
        if (DocDiscountFromSum(&price, &unit, &sum, &qty, &discount)) {
            PutDec(r, l.discount, discount);
            *discountSet = true;
        }
        m->profit = true;
    } else if (cell == l.vatCode || (d.isOrder && cell == l.unitCost)) {
        m->profit = true;
    }
}

// The gross profit of the row into its cell, and the figures of the
// item-information window.
void RowProfit(const SalesDocWindow &d, const uint8_t *doc, uint8_t *r)
{
    const DocLayout &l = *d.layout;
    PackedDecimal net, gp, pct;
    DocRowGrossProfit(l, doc, r, &net, &gp);
    PutDec(r, l.grossProfit, gp);
    PercentOf(&net, &gp, &pct);
    uint8_t item[256], costKey[256] = {0};
    GetPString(r, l.itemCode, ItemCodeMax, item);
    if (d.costKey != NoDocCell) GetPString(doc, d.costKey, CostKeyMax, costKey);
    ItemInfoWindowUpdate(item, costKey, &gp, &pct);
}

}  // namespace

void SalesDocRowLeft(const SalesDocWindow &d, int window, int F, uint8_t changed)
{
    const DocLayout &l = *d.layout;
    int row = NoField, column = NoField, cell = NoField;
    if (!WinRowCellAt(window, F, &row, &column, &cell)) return;
    RuleRecord item(INVc::Number);
    if (!item.record) return;
    RowMarks m;
    uint8_t *doc = WinRecordBuffer(window);
    {
        // A row typed into is an item row, so that the totals count it.
        LockedRows rows(window);
        if (!rows.data) return;
        uint8_t *r = rows.data + uint32_t(row) * l.rowSize;
        if (changed && l.kind != NoDocCell && GetU16(r, l.kind) == 0) PutU16(r, l.kind, uint16_t(DocRowKind::Item));
    }
    if (uint32_t(cell) == l.itemCode) {
        if (!ItemCellLeft(d, window, row, changed, item.record, &m)) {
            Beep();
            return;
        }
        if (row >= WinMatrixRowCount(window)) return;
    }
    bool discountSet = false, sumSet = false;
    {
        LockedRows rows(window);
        if (!rows.data) return;
        uint8_t *r = rows.data + uint32_t(row) * l.rowSize;
        if (uint32_t(cell) == l.quantity && changed) QuantityCellLeft(d, window, row, r, item.record, &m);
        else if (uint32_t(cell) != l.itemCode && changed) OtherCellLeft(d, uint32_t(cell), r, &discountSet, &m);
        if (m.sum && DocRowSumUpdate(l, r)) {
            sumSet = true;
            m.profit = true;
        }
        if (m.profit) RowProfit(d, doc, r);
    }
    // Every value is in the row before its cells are redrawn.
    if (uint32_t(cell) == l.quantity && changed)
        DocRowRedraw(window, row, {l.price, l.discount, l.account, l.afterAccount, l.vatCode, l.unitCost,
                                  d.isOrder ? l.structCode : NoDocCell});
    if (discountSet) DocRowRedraw(window, row, {l.discount});
    if (sumSet) DocRowRedraw(window, row, {l.sum});
    if (m.profit) {
        DocRowRedraw(window, row, {l.grossProfit});
        d.totalsRefresh(window);
    }
}

void SalesDocRowInfo(const SalesDocWindow &d, int window, int row)
{
    if (!WinIsOpen(window)) return;
    const DocLayout &l = *d.layout;
    const uint8_t *doc = WinRecordBuffer(window);
    uint8_t item[256] = {0}, costKey[256] = {0};
    PackedDecimal gp, pct;
    DecSetBlank(&gp);
    DecSetBlank(&pct);
    if (d.costKey != NoDocCell) GetPString(doc, d.costKey, CostKeyMax, costKey);
    if (row >= 0 && row < WinMatrixRowCount(window)) {
        LockedRows rows(window);
        if (rows.data) {
            const uint8_t *r = rows.data + uint32_t(row) * l.rowSize;
            GetPString(r, l.itemCode, ItemCodeMax, item);
            PackedDecimal net;
            DocRowNetHome(l, doc, r, &net);
            gp = GetDec(r, l.grossProfit);
            PercentOf(&net, &gp, &pct);
        }
    }
    ItemInfoWindowUpdate(item, costKey, &gp, &pct);
}
