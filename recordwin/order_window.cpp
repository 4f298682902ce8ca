// order_window.cpp - the order window (type 352, register 7): its event
// handler and its header logic. A customer fills the order and may warn
// of its credit limit; date and currency give the rate; a price list its
// VAT word; the delivery text takes block 220's form. Rows follow the
// shared sales-document row step (sales_doc_rows.cpp). An order whose
// rows are partly delivered keeps its rows: none deleted or inserted.
#include "core/field_access.h"
#include "core/ui_text.h"
#include "core/warning_message.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "operations/sales_customer_fill.h"
#include "recordwin/record_windows.h"
#include "recordwin/sales_doc_window.h"
#include "rules/checks.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int CustomerCodeMax = 20;

// The credit warning of an order: only when block 205's order word asks
// for it and the customer has a positive limit that its balance passes.
bool OrderCreditWarning(const uint8_t *order)
{
    if (!CreditLimitBlock || GetU16(CreditLimitBlock, CreditLimitBlk::OrderCheck) != 1) return false;
    uint8_t code[256];
    GetText(order, ORVc::CustCode, code);
    return CustomerOverCreditLimit(code);
}

void OrderCustomerLeft(int window, uint8_t changed)
{
    uint8_t *order = WinRecordBuffer(window);
    bool nameMissing = order[ORVc::CustCode] != 0 && order[ORVc::Addr0] == 0;
    if (!changed && !nameMissing) return;
    RuleRecord customer(CUVc::Number);
    if (!customer.record) return;
    if (!OrderCustomerFill(order, customer.record)) {
        Beep();
        return;
    }
    OrderTotals(order);
    WinFieldsSync(window);
    SalesDocRateRefresh(OrderWindowDesc, window);
    CustomerNoteShow(customer.record);
    if (OrderCreditWarning(order)) ShowWarning(Texts::CreditLimitExceeded, nullptr);
}

// The order, or while a stored order is changed its stored copy, has
// delivered rows.
bool DeliveredRows(int window, bool stored)
{
    const uint8_t *order = stored ? WinStoredRecord(window) : WinRecordBuffer(window);
    return order && OrderHasDeliveredRows(order);
}

bool RefuseDelivered()
{
    ShowTextMessage(Texts::OrderDelivered);
    return false;
}

bool OrderMayInsertRow(int window, int state)
{
    switch (state) {
    case 0: return !DeliveredRows(window, false) || RefuseDelivered();
    case 1: return true;
    case 2: return !DeliveredRows(window, true) || RefuseDelivered();
    default: return false;
    }
}

}  // namespace

const SalesDocWindow OrderWindowDesc = {&OrderDocLayout, true, ORVc::OrdDate, ORVc::CustCode, ORVc::Addr0,
                                        ORVc::Location, OrderTotalsRefresh};

// Recomputes the order's totals and redraws net, VAT and total.
void OrderTotalsRefresh(int window)
{
    if (!WinIsOpen(window)) return;
    OrderTotals(WinRecordBuffer(window));
    WinRedrawFieldById(window, int(ORVc::Net));
    WinRedrawFieldById(window, int(ORVc::Vat));
    WinRedrawFieldById(window, int(ORVc::Total));
}

void OrderRowInfo(int window, int row) { SalesDocRowInfo(OrderWindowDesc, window, row); }

// Screen field F of the order window was left: a header field carries
// its value on, a row cell runs the row step.
void OrderFieldLeave(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    int id = NoField;
    if (SalesDocLeaveIsRow(OrderWindowDesc, window, field, changed, &id)) return;
    switch (id) {
    case ORVc::CustCode: OrderCustomerLeft(window, changed); return;
    case ORVc::OrdDate:
    case ORVc::CurncyCode:
        if (changed) SalesDocRateRefresh(OrderWindowDesc, window);
        return;
    case ORVc::PriceList:
        if (changed) SalesDocPriceListLeft(OrderWindowDesc, window);
        return;
    case ORVc::DelivText:
        if (changed) DeliveryTextNormalise(window, ORVc::DelivText);
        return;
    default: return;
    }
}

// Window type 352's event handler: 1 = go on / allowed, 0 = refused.
uint8_t Win352Event(int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    // A type laid out over another record is left to the generic actions.
    if (!SalesDocRulesApply(OrderWindowDesc, window)) return 1;
    int state = WinRecState(window);
    switch (WindowEventCode(event)) {
    case WindowEventCode::Choice:
        if (a && *static_cast<const uint16_t *>(a) == ORVc::VatZone) OrderTotalsRefresh(window);
        return 1;
    case WindowEventCode::MayDeleteRow:
        if (state != 2) return 1;
        return DeliveredRows(window, false) ? RefuseDelivered() : 1;
    case WindowEventCode::FieldChanged:
        if (a && b) OrderFieldLeave(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::MayInsertRow: return OrderMayInsertRow(window, state) ? 1 : 0;
    case WindowEventCode::RowsChanged: OrderTotalsRefresh(window); return 1;
    case WindowEventCode::RowAboutToChange:
        if (a) OrderRowInfo(window, *static_cast<const int16_t *>(a));
        return 1;
    default: return 1;
    }
}
