// window_buttons.cpp - the buttons of the record and list windows (event
// 23, raised by a window's button or its operations-menu item with the
// button number) handed to the handler of the window's type. A type that
// is not in the table ignores its buttons; each handler ignores the
// button numbers it does not list.
#include "recordwin/record_windows.h"

#include "outputwin/designer.h"
#include "recordwin/inquiry_lists.h"
#include "recordwin/receipt_window.h"
#include "shell/menu_lists.h"
#include "shell/net_services.h"
#include "shell/report_commands.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

using ButtonHandler = void (*)(int window, int button);

struct ButtonEntry {
    int type;
    ButtonHandler handler;
};

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
constexpr ButtonEntry ButtonHandlers[] = {
    {5, ReportWindowRun},        {6, ReportListButton},   {8, DocumentListButton}, {23, DesignerButton},
    {41, Win41Button},           {42, ListApproveButton}, {194, ListApproveButton},
    {121, Win121Button},         {143, Win143Button},     {145, Win145Button},     {154, Win154Button},
    {156, Win156Button},         {157, Win157Button},     {195, Win195Button},     {196, Win196Button},
    {197, PurchaseLabelButton},         {254, ListApproveButton}, {255, Win255Button},    {259, Win259Button},     {260, ListApproveButton}, {269, ListApproveButton},
    {272, Win272Button},         {273, Win273Button},     {289, Win289Button},     {290, Win290Button},
    {348, Win348Button},         {349, Win349Button},         {351, Win351ButtonWaiting}, {352, Win352Button},  {353, Win353Button},
    {423, Win423Button},
    {426, Win426Button},         {474, ListApproveButton}, {477, Win477Button},
    {284, Win284Button},
    {354, Win354Button},         {500, PersonReportButton},
};

}  // namespace

// Hands button `button` of window to its type's handler; nothing for a
// type without one. The items that open a record's inquiry list come
// first: they are the same for every window that has one.
void WindowButtonEvent(int window, int button) {
    if (!WinIsOpen(window)) return;
    if (InquiryListButton(window, button)) return;
    int type = WinTypeOf(window);
    for (const ButtonEntry &e : ButtonHandlers) {
        if (e.type != type) continue;
        e.handler(window, button);
        return;
    }
}
