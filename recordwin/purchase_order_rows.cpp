// purchase_order_rows.cpp - the row step of the purchase-order window
// (type 290). An item fills its row from the vendor's terms for it
// (register 56, by item and vendor): price, the vendor's code, the
// description, the factor between ordered and priced quantity; the VAT
// code is the item's for the order's zone, also when the vendor has no
// terms for a known item (its other cells then stay as typed). The two
// quantities follow each other through the factor; the row sum is the
// priced quantity x price less discount, a typed sum gives the discount
// it means, and the totals follow. Cells are named by their byte in the row. Purchase-order
// rows carry no gross profit.
#include "recordwin/purchase_order_window.h"

#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "recordwin/document_rows.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace PO = PurchOrderVc;
namespace Row = PurchOrderVc::Rows;
namespace Terms = PurchItemVc;

constexpr int CodeMax = 20, TermsTextMax = 60, TextMax = 100, VatCodeMax = 2;

// What a left cell asks of the rest of the step.
struct RowMarks {
    bool sum = false, totals = false;
};

// The vendor's terms for the row's item fill it; false (row unchanged)
// when the vendor has none for it.
bool VendorTermsFill(const uint8_t *order, uint8_t *r)
{
    uint8_t item[256], vendor[256], text[256], vat[256];
    GetText(r, Row::ItemCode, item);
    GetText(order, PO::VendCode, vendor);
    if (item[0] == 0) return false;
    RuleRecord terms(Terms::Number);
    if (!terms.record) return false;
    PutText(terms.record, Terms::ItemCode, item);
    PutText(terms.record, Terms::VendCode, vendor);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(Terms::Number, "MainKey", terms.record, 2, 1, &recid, &position)) return false;
    PutDec(r, Row::Price, GetDec(terms.record, Terms::Price));
    GetText(terms.record, Terms::VendItemCode, text);
    PutText(r, Row::VendItemCode, text);
    GetText(terms.record, Terms::Text, text);
    PutText(r, Row::Text, text);
    ItemVatCode(item, GetU16(order, PO::VatZone), vat);
    PutText(r, Row::VatCode, vat);
    PutDec(r, Row::PriceUnit, GetDec(terms.record, Terms::PriceUnit));
    PurchaseOrderPricedFromQuantity(r);
    return true;
}

// True when the row's item is in the item register.
bool ItemKnown(const uint8_t *r)
{
    uint8_t item[256];
    GetText(r, Row::ItemCode, item);
    RuleRecord rec(INVc::Number);
    if (item[0] == 0 || !rec.record) return false;
    PutText(rec.record, INVc::Code, item);
    return RecFindByFirstKey(INVc::Number, rec.record);
}

// The factor of a row, a blank or zero one counting as 1.
PackedDecimal FactorOf(const uint8_t *r)
{
    PackedDecimal factor = GetDec(r, Row::PriceUnit);
    if (DecIsZero(&factor)) DecFromLong(&factor, 1);
    return factor;
}

// The cell `cell` of row r was left. Returns false when the step stops
// there (an unknown item: the row as it was); cells to redraw go to
// redraw.
bool CellLeft(const uint8_t *order, uint8_t *r, uint32_t cell, uint8_t changed, std::vector<uint32_t> *redraw,
              RowMarks *m)
{
    if (cell == Row::ItemCode) {
        bool textMissing = r[Row::ItemCode] != 0 && r[Row::Text] == 0;
        if (!changed && !textMissing) return true;
        std::vector<uint8_t> before(r, r + Row::Size);
        if (!VendorTermsFill(order, r)) {
            std::memcpy(r, before.data(), Row::Size);
            // Without the vendor's terms a known item still gives the row
            // its VAT code, the one the check would store.
            if (!ItemKnown(r)) return false;
            if (PurchaseOrderRowVatDefault(order, r)) {
                redraw->push_back(Row::VatCode);
                m->totals = true;
            }
            return true;
        }
        *redraw = {Row::VendItemCode, Row::Text, Row::Price, Row::VatCode, Row::PriceUnit, Row::PricedQty};
        m->sum = true;
        return true;
    }
    if (!changed) return true;
    switch (cell) {
    case Row::Quantity:
        PurchaseOrderPricedFromQuantity(r);
        redraw->push_back(Row::PricedQty);
        m->sum = true;
        break;
    case Row::PricedQty:
        PurchaseOrderQuantityFromPriced(r);
        redraw->push_back(Row::Quantity);
        m->sum = true;
        break;
    case Row::Price:
    case Row::Discount: m->sum = true; break;
    case Row::Sum: {
        PackedDecimal price = GetDec(r, Row::Price), sum = GetDec(r, Row::Sum), qty = GetDec(r, Row::PricedQty),
                      discount;
        if (DocDiscountFromSum(&price, nullptr, &sum, &qty, &discount)) {
            PutDec(r, Row::Discount, discount);
            redraw->push_back(Row::Discount);
        }
        m->totals = true;
        break;
    }
    case Row::VatCode: m->totals = true; break;
    default: break;
    }
    return true;
}

}  // namespace

void PurchaseOrderPricedFromQuantity(uint8_t *row)
{
    PackedDecimal qty = GetDec(row, Row::Quantity), factor = FactorOf(row), priced;
    DecDivOrOne(&qty, &factor, &priced);
    PutDec(row, Row::PricedQty, priced);
}

void PurchaseOrderQuantityFromPriced(uint8_t *row)
{
    PackedDecimal priced = GetDec(row, Row::PricedQty), factor = FactorOf(row), qty;
    if (DecIsBlank(&priced))
        DecSetBlank(&qty);
    else
        DecMul(&priced, &factor, &qty);
    PutDec(row, Row::Quantity, qty);
}

void PurchaseOrderRowLeft(int window, int F, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    int row = NoField, column = NoField, cell = NoField;
    if (!WinRowCellAt(window, F, &row, &column, &cell)) return;
    const uint8_t *order = WinRecordBuffer(window);
    RowMarks m;
    std::vector<uint32_t> redraw;
    {
        LockedRows rows(window);
        if (!rows.data) return;
        uint8_t *r = rows.data + uint32_t(row) * Row::Size;
        if (!CellLeft(order, r, uint32_t(cell), changed, &redraw, &m)) {
            Beep();
            return;
        }
        // A row typed into is an item row, so that the totals count it.
        if (changed && GetU16(r, Row::Kind) == 0) PutU16(r, Row::Kind, uint16_t(DocRowKind::Item));
        if (m.sum && DocRowSumUpdate(PurchaseOrderDocLayout, r)) {
            redraw.push_back(Row::Sum);
            m.totals = true;
        }
    }
    // Every value is in the row before its cells are redrawn.
    for (uint32_t c : redraw) DocRowRedraw(window, row, {c});
    if (m.totals) PurchaseOrderTotalsRefresh(window);
}
