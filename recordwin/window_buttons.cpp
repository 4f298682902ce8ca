// window_buttons.cpp - the buttons of the record and list windows (event
// 23, raised by a window's operations-menu item with the item's place in
// the menu) handed to the handler of the window's type. The number the
// layout gives the item says what it does: a number that names one of
// the record's inquiry lists opens that list, any other is the button the
// handler gets. The table below says, for every window type whose buttons
// do something, which buttons it acts on; a button it does not list does
// nothing, so the table is also the list that the interface file's items
// are held to.
#include "recordwin/record_windows.h"

#include <initializer_list>

#include "core/window_entries.h"
#include "dict_offsets.h"
#include "outputwin/designer.h"
#include "recordwin/inquiry_lists.h"
#include "recordwin/receipt_window.h"
#include "shell/menu_lists.h"
#include "shell/net_services.h"
#include "shell/report_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

using ButtonHandler = void (*)(int window, int button);

// A window type, its handler and the buttons it acts on (bit b: button
// b). A type without a handler here runs its buttons in its own event
// handler; they are listed all the same.
struct ButtonEntry {
    int type;
    ButtonHandler handler;
    uint32_t acts;
};

constexpr uint32_t Buttons(std::initializer_list<int> numbers) {
    uint32_t bits = 0;
    for (int b : numbers) bits |= 1u << b;
    return bits;
}

// The order list shows the wait cursor while its button runs.
void Win351ButtonWaiting(int window, int button) {
    WaitCursor();
    Win351Button(window, button);
    ArrowCursor();
}

// The server's status window: button 1 puts the program back into
// serving clients, as opening the company on the server does.
void Win423Button(int, int button) {
    if (button == 1 && NetServices.serverRunModeOn) NetServices.serverRunModeOn();
}

// The window types whose buttons do something, by exact type number.
// The approve kinds that do nothing (37 on the productions, 32 on the
// projects) are no buttons of their lists.
constexpr ButtonEntry ButtonHandlers[] = {
    {WinTypes::Preview, ReportWindowRun, Buttons({1})},
    {WinTypes::ReportList, ReportListButton, Buttons({1, 2})},
    {WinTypes::DocumentList, DocumentListButton, Buttons({1, 2})},
    {WinTypes::FormDesigner, DesignerButton, Buttons({1, 2, 3, 4})},
    {WinTypes::ReceiptList, nullptr, Buttons({1})},   // Win40Event
    {WinTypes::Receipt, Win41Button, Buttons({1, 2})},
    {WinTypes::ItemList, ListApproveButton, Buttons({1})},
    {WinTypes::Voucher, nullptr, Buttons({1, 2, 3, 4})},   // Win117Event
    {WinTypes::ProductionList, Win121Button, Buttons({2})},
    {WinTypes::KeyBudget, Win143Button, Buttons({1})},
    {WinTypes::DateBudget, Win145Button, Buttons({1})},
    {WinTypes::PurchaseInvoiceList, Win154Button, Buttons({1})},
    {WinTypes::PurchaseInvoice, nullptr, Buttons({1})},   // its own event handler
    {WinTypes::OutPaymentList, Win156Button, Buttons({1, 2, 3})},
    {WinTypes::OutPayment, Win157Button, Buttons({1, 2, 3})},
    {WinTypes::ItemsByGroup, ListApproveButton, Buttons({1})},
    {WinTypes::Item, Win195Button, Buttons({1, 2})},
    {WinTypes::GoodsReceiptList, Win196Button, Buttons({1})},
    {WinTypes::GoodsReceipt, PurchaseLabelButton, Buttons({1, 2})},
    {WinTypes::AccountRowsList, ListApproveButton, Buttons({1})},
    {WinTypes::AccountRows, Win255Button, Buttons({1})},
    {WinTypes::Project, Win259Button, Buttons({1})},
    {WinTypes::TimeSheetList, ListApproveButton, Buttons({1})},
    {WinTypes::Quotation, Win272Button, Buttons({1, 2, 3})},
    {WinTypes::QuotationList, Win273Button, Buttons({1})},
    {WinTypes::PurchaseItem, Win284Button, Buttons({1})},
    {WinTypes::PurchaseOrderList, Win289Button, Buttons({1, 2, 3, 4})},
    {WinTypes::PurchaseOrder, Win290Button, Buttons({1, 2})},
    {WinTypes::SetForms, nullptr, AnyButton},    // SettingsGroupEvent
    {WinTypes::SetSeries, nullptr, AnyButton},   // SettingsGroupEvent
    {WinTypes::SalesInvoice, nullptr, Buttons({1})},   // Win347Event
    {WinTypes::SalesInvoiceList, Win348Button, Buttons({1, 2})},
    {WinTypes::CustomerAddressList, Win349Button, Buttons({1})},
    {WinTypes::OrderList, Win351ButtonWaiting, Buttons({1, 2, 3, 4, 5})},
    {WinTypes::Order, Win352Button, Buttons({1, 2, 3, 4, 5, 6})},
    {WinTypes::DeliveryList, Win353Button, Buttons({1})},
    {WinTypes::Delivery, Win354Button, Buttons({1})},
    {WinTypes::ServerStatus, Win423Button, Buttons({1})},
    {WinTypes::StockMovement, Win426Button, Buttons({1})},
    {WinTypes::ExpenseClaimList, ListApproveButton, Buttons({1})},
    {WinTypes::PersonPaymentList, Win477Button, Buttons({1, 2})},
    {WinTypes::Employee, PersonReportButton, Buttons({1})},
    {WinTypes::SalesDoc, nullptr, Buttons({1})},   // Win557Event
};

const ButtonEntry *EntryOf(int type) {
    for (const ButtonEntry &e : ButtonHandlers)
        if (e.type == type) return &e;
    return nullptr;
}

}  // namespace

int OpNumberAt(int type, int item) {
    uint8_t *def = WinTypeDef(type);
    if (!def || item < 1 || item > WinDefPartCount(def, WinPartMenuItems)) return -1;
    uint16_t size = 0;
    const uint8_t *entry = WinDefPartEntry(def, WinPartMenuItems, item - 1, &size);
    if (!entry || size < OpEntry::Number + 2) return -1;
    return DefU16(entry + OpEntry::Number);
}

int ItemButton(int type, int item) {
    int number = OpNumberAt(type, item);
    return number > 0 ? number : item;
}

std::vector<WindowButtons> WindowButtonsActedOn() {
    std::vector<WindowButtons> all;
    for (const ButtonEntry &e : ButtonHandlers) all.push_back({e.type, e.acts});
    return all;
}

// Hands operations item `item` of window to its type's handler as the
// button the item's number names; nothing for a type without one or a
// button it does not act on. The items that open a record's inquiry list
// come first: they are the same for every window that has one.
void WindowButtonEvent(int window, int item) {
    if (!WinIsOpen(window)) return;
    if (InquiryListButton(window, item)) return;
    int type = WinTypeOf(window);
    const ButtonEntry *e = EntryOf(type);
    int button = ItemButton(type, item);
    if (!e || !e->handler || button < 1 || button > 31 || !(e->acts & (1u << button))) return;
    e->handler(window, button);
}
