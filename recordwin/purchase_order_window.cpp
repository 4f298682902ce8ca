// purchase_order_window.cpp - the purchase-order window (type 290,
// register 58): its event handler and its header logic. A vendor fills
// the order; a stock location gives the delivery address; the delivery
// text takes block 220's form; a VAT zone chosen recomputes the totals.
// Rows follow purchase_order_rows.cpp. A stored order that is confirmed
// or has received rows keeps its rows: none deleted.
#include <iterator>

#include "core/field_access.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "recordwin/document_rows.h"
#include "recordwin/purchase_order_window.h"
#include "recordwin/record_windows.h"
#include "recordwin/sales_doc_window.h"
#include "rules/checks.h"
#include "rules/documents.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace PO = PurchOrderVc;

constexpr int LastEvent = 12;
constexpr int LocationMax = 10, ObjectsMax = 30;

// The location's name and address lines become the delivery address.
constexpr CustomerCopy LocationAddress[] = {
    {PO::DelAddr0, LocationVc::Addr0, 60},
    {PO::DelAddr1, LocationVc::Addr1, 60},
    {PO::DelAddr2, LocationVc::Addr2, 60},
    {PO::DelAddr3, LocationVc::Addr3, 60},
};

// The vendor code was left: when changed, or when a code stands without
// a name, the vendor fills the order. An unknown vendor beeps and leaves
// the order as it was; an emptied code is left alone.
void VendorLeft(int window, uint8_t changed)
{
    uint8_t *order = WinRecordBuffer(window);
    bool nameMissing = order[PO::VendCode] != 0 && order[PO::VendName] == 0;
    if (!changed && !nameMissing) return;
    if (order[PO::VendCode] == 0) return;
    if (!CopyVendorToPurchaseOrder(order)) {
        Beep();
        return;
    }
    PurchaseOrderTotals(order);
    WinFieldsSync(window);
}

// The location was changed: a known one gives the delivery address; an
// unknown one beeps and changes nothing. An emptied location (the main
// one) keeps the address typed.
void LocationLeft(int window)
{
    uint8_t *order = WinRecordBuffer(window);
    uint8_t code[256];
    GetText(order, PO::Location, code);
    if (code[0] == 0) return;
    RuleRecord location(LocationVc::Number);
    if (!location.record) return;
    PutText(location.record, LocationVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(LocationVc::Number, "Code", location.record, 1, 1, &recid, &position)) {
        Beep();
        return;
    }
    CustomerCopiesApply(order, location.record, LocationAddress, int(std::size(LocationAddress)));
    WinFieldsSync(window);
}

// A new row: no discount, nothing received or on purchases, no objects.
void RowDefaults(int window, uint8_t *rows, int row)
{
    if (!rows || row < 0 || row >= WinMatrixRowCount(window)) return;
    uint8_t *r = rows + uint32_t(row) * PO::Rows::Size;
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (uint32_t at : {PO::Rows::Discount, PO::Rows::QtyReceived, PO::Rows::QtyOnPurchases}) PutDec(r, at, blank);
    constexpr uint8_t Empty[1] = {0};
    PutText(r, PO::Rows::Objects, Empty);
}

// A stored order keeps its rows once it is confirmed or has received
// rows (in the rows shown or stored).
bool RowsKept(int window)
{
    const uint8_t *stored = WinStoredRecord(window), *shown = WinRecordBuffer(window);
    bool kept = (stored && (GetU16(stored, PO::Confirmed) != 0 || PurchaseOrderHasReceivedRows(stored))) ||
                (shown && PurchaseOrderHasReceivedRows(shown));
    if (kept) ShowTextMessage(Texts::OrderDelivered);
    return kept;
}

}  // namespace

// Recomputes the purchase order's totals and redraws net, VAT and total.
void PurchaseOrderTotalsRefresh(int window)
{
    if (!WinIsOpen(window)) return;
    PurchaseOrderTotals(WinRecordBuffer(window));
    WinRedrawFieldById(window, int(PO::NetTotal));
    WinRedrawFieldById(window, int(PO::VatTotal));
    WinRedrawFieldById(window, int(PO::Total));
}

// Screen field F of the purchase-order window was left: a row cell runs
// the row step, a header field carries its value on.
void PurchaseOrderFieldLeave(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    if (WinHasMatrix(window) && cells > 0 && field >= first) {
        PurchaseOrderRowLeft(window, field, changed);
        return;
    }
    switch (WinFieldIdAt(window, field)) {
    case PO::VendCode: VendorLeft(window, changed); return;
    case PO::Location:
        if (changed) LocationLeft(window);
        return;
    case PO::DelivText:
        if (changed) DeliveryTextNormalise(window, PO::DelivText);
        return;
    default: return;
    }
}

// Window type 290's event handler: 1 = go on / allowed, 0 = refused.
// Events past 12 are none of its business.
uint8_t Win290Event(int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    if (event < 0 || event > LastEvent) return 1;
    // A type laid out over another record is left to the generic actions.
    if (!WinRecordBuffer(window) || WinRegisterOf(window) != PO::Number) return 1;
    switch (WindowEventCode(event)) {
    case WindowEventCode::Choice:
        if (a && *static_cast<const uint16_t *>(a) == PO::VatZone) PurchaseOrderTotalsRefresh(window);
        return 1;
    case WindowEventCode::RowDefaults:
        if (a && b) RowDefaults(window, static_cast<uint8_t *>(a), *static_cast<const int16_t *>(b));
        return 1;
    case WindowEventCode::MayDeleteRow: return WinRecState(window) == 2 && RowsKept(window) ? 0 : 1;
    case WindowEventCode::FieldChanged:
        if (a && b) PurchaseOrderFieldLeave(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::RowsChanged: PurchaseOrderTotalsRefresh(window); return 1;
    default: return 1;
    }
}
