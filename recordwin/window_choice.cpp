// window_choice.cpp - the small actions that frame a record window's
// life: its activation (event 0), a choice made in one of its lists
// (event 2), its record stored (event 24), the availability rule of the
// delivery window, and two hooks the framework asks of every window.
#include "recordwin/record_windows.h"

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "rules/rules_types.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int VoucherType = 117, SettingsType = 198, SalesInvoiceType = 347, PurchaseType = 197,
              DeliveryType = 354;
// A voucher window greys the third item of its operations menu while
// text 1075 is not empty: the text is the switch, its wording the reason.
constexpr int VoucherSwitchedItem = 3;
// Told when a delivery row would deliver more than is left on its order.
// The window types that draw themselves.
constexpr int SelfDrawnTypes[] = {1, 5, 18, 19, 23, 32, 423};

// The unit cost of every row of the purchase in window from its price,
// the purchase's VAT kind, the row's charge and the purchase's rate;
// each changed cell is redrawn, then the totals.
void PurchaseUnitCostsRefresh(int window)
{
    uint8_t *purchase = WinRecordBuffer(window);
    if (!purchase) return;
    int kind = GetU16(purchase, PUVc::VatKind);
    PackedDecimal rate = GetDec(purchase, PUVc::Rate);
    int32_t count = MatrixRowCount(PUVc::Number, 0, purchase);
    for (int32_t i = 0; i < count; i++) {
        uint8_t row[PUVc::Rows::Size], item[256], charge[256];
        if (!MatrixRowRead(PUVc::Number, purchase, i, row)) break;
        GetText(row, PUVc::Rows::ItemCode, item);
        GetText(row, PUVc::Rows::Charge, charge);
        PackedDecimal price = GetDec(row, PUVc::Rows::Price), cost;
        NetAmountPlusCharge(item, &price, kind, charge, &rate, &cost);
        PutDec(row, PUVc::Rows::UnitCost, cost);
        if (!MatrixRowPut(PUVc::Number, 0, purchase, i, row)) break;
        WinMatrixDrawRow(window, i, PUVc::Rows::UnitCost, 0);
    }
    PurchaseRowTotals(purchase);
    WinRedrawFieldById(window, int(PUVc::ValueSum));
    WinRedrawFieldById(window, int(PUVc::QtySum));
}

// Brings the Available column of the delivery `record` (window's record
// or its stored copy) up to the stock its rows' locations hold now: the
// figure stored with it is from when it was made, and stock may have
// arrived since. What the rows deliver stays as the user left it. A row
// whose item has no stock record at its location keeps its figure (an
// item not kept in stock shows none). With `draw`, each changed cell is
// redrawn.
void DeliveryAvailableBring(int window, uint8_t *record, bool draw)
{
    RuleRecord stock(LocationStock::Number);
    if (!record || !stock.record) return;
    uint8_t row[SHVc::Rows::Size], item[256], location[256];
    int32_t count = MatrixRowCount(SHVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(SHVc::Number, record, i, row)) break;
        GetText(row, SHVc::Rows::ItemCode, item);
        GetText(row, SHVc::Rows::Location, location);
        if (location[0] == 0) GetText(record, SHVc::Location, location);
        if (item[0] == 0 || !Register6Lookup(item, location, stock.record)) continue;
        PackedDecimal now = GetDec(stock.record, LocationStock::InStock), shown = GetDec(row, SHVc::Rows::Available);
        if (!DecIsBlank(&shown) && DecCompare(&now, &shown) == 0) continue;
        PutDec(row, SHVc::Rows::Available, now);
        if (!MatrixRowPut(SHVc::Number, 0, record, i, row)) break;
        if (draw) WinMatrixDrawRow(window, i, SHVc::Rows::Available, 0);
    }
}

// True when window shows a stored delivery not yet shipped, which it
// does not edit: the one whose Available figures follow the stock.
bool DeliveryFollowsStock(int window)
{
    const WindowRec *w = WinTable[window];
    const uint8_t *delivery = WinRecordBuffer(window);
    return delivery && w->stored && w->recordId != 0 && GetU16(delivery, SHVc::Shipped) == 0;
}

}  // namespace

// Event 0: window became the active one. A voucher window greys the third
// item of its operations menu while text 1075 says so; a delivery shown
// unshipped shows the stock available now; other types do nothing.
void WindowActivateEvent(int window)
{
    if (WinIsOpen(window) && WinRecState(window) == 0) WinShownFiguresRefresh(window);
    if (!WinIsOpen(window) || WinTypeOf(window) != VoucherType) return;
    uint8_t text[256];
    GetUiText(text, Texts::VoucherMenuSwitch);
    if (text[0] != 0) EnableWindowMenuItem(window, VoucherSwitchedItem, false);
}

// Event 2: a choice was made in window for the field whose value lies at
// record byte `offset`. A sales invoice recomputes its totals when its
// VAT zone changed; a purchase recomputes every row's unit cost and its
// totals when its VAT kind changed, then goes back to the field the user
// was on. Other types do nothing.
void WindowChoiceEvent(int window, int offset, uint8_t value)
{
    (void)value;
    if (!WinIsOpen(window)) return;
    switch (WinTypeOf(window)) {
    case SalesInvoiceType:
        if (offset == int(IVVc::VatZone)) InvoiceTotalsRefresh(window);
        return;
    case PurchaseType: {
        if (offset != int(PUVc::VatKind)) return;
        int field = WinFocusFieldNumber(window);
        WinCommitField(window);
        if (!WinIsOpen(window)) return;
        PurchaseUnitCostsRefresh(window);
        WinMarkChanged(window);
        if (field > 0) WinGotoField(window, field, true);
        return;
    }
    default: return;
    }
}

// The figures window shows without storing them brought up to date in
// its record and in its stored copy alike, so that the record does not
// differ from the stored one for a figure nobody typed: a delivery not
// yet shipped shows the stock its rows' locations hold now. Run as the
// window becomes active and as its edit begins (the stored copy then
// read again), so its first change is no edit of another user's and
// closing it asks nothing.
void WinShownFiguresRefresh(int window)
{
    if (!WinIsOpen(window) || WinTypeOf(window) != DeliveryType || !DeliveryFollowsStock(window)) return;
    DeliveryAvailableBring(window, WinTable[window]->stored, false);
    DeliveryAvailableBring(window, WinRecordBuffer(window), true);
}

// Event 24: window's record was stored. A settings window (type 198)
// redraws what window type 1 shows; other types do nothing.
void AfterStoreEvent(int window)
{
    if (WinIsOpen(window) && WinTypeOf(window) == SettingsType) WindowType1Refresh();
}

// The availability rule of the delivery window's field changes: a new
// location recomputes what every row can deliver; a row delivering more
// than its order has left is told (and kept: the user may mean it); a
// row's new location recomputes that row's availability there. Nothing
// for an unchanged field or a cell outside the rows.
void DeliveryRowAvailabilityCheck(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window) || WinTypeOf(window) != DeliveryType || !changed) return;
    uint8_t *delivery = WinRecordBuffer(window);
    if (!delivery) return;
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    if (!WinHasMatrix(window) || field < first) {
        if (WinFieldIdAt(window, field) != int(SHVc::Location)) return;
        OrderRowsAvailable(delivery);
        WinMarkChanged(window);
        return;
    }
    int row = NoField, column = 0;
    MatrixRowAt(window, field, &row, &column);
    int id = WinFieldIdAtCell(window, field);
    if (row < 0 || row >= MatrixRowCount(SHVc::Number, 0, delivery)) return;
    if (id == int(SHVc::Rows::ToDeliver)) {
        uint8_t r[SHVc::Rows::Size];
        if (!MatrixRowRead(SHVc::Number, delivery, row, r)) return;
        PackedDecimal deliver = GetDec(r, SHVc::Rows::ToDeliver), left = GetDec(r, SHVc::Rows::QtyLeft);
        if (DecCompare(&deliver, &left) > 0) ShowTextMessage(Texts::DeliverAboveRemaining);
    } else if (id == int(SHVc::Rows::Location)) {
        uint8_t location[256];
        GetText(delivery, SHVc::Location, location);
        OrderRowAvailable(delivery, row, location);
        WinMatrixDrawRow(window, row, SHVc::Rows::Available, 0);
        WinMatrixDrawRow(window, row, SHVc::Rows::ToDeliver, 0);
    }
}

// 0 when a window of window's type draws itself, 1 when the framework
// paints it the default way.
uint8_t WinPaintDefault(int window)
{
    if (!WinIsOpen(window)) return 1;
    for (int type : SelfDrawnTypes)
        if (WinTypeOf(window) == type) return 0;
    return 1;
}

// A hook of the OK action: takes an empty memory block and gives it back
// at once. `unused` is not read.
void EmptyBlockCycle(int unused)
{
    (void)unused;
    MemBlock block = MemAlloc(0);
    MemFree(&block);
}
