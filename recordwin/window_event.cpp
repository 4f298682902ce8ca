// window_event.cpp - the record windows' handlers of window types and the
// generic actions of window events, which the framework's dispatch
// (shell/window_events.cpp) asks after any handler set at run time.
#include "recordwin/record_windows.h"

#include <cstdint>
#include <cstring>

#include "core/field_access.h"
#include "dict_offsets.h"
#include "outputwin/printer_windows.h"
#include "recordwin/out_payment_window.h"
#include "recordwin/person_payment_window.h"
#include "recordwin/purchase_invoice_window.h"
#include "recordwin/receipt_window.h"
#include "recordwin/report_defaults.h"
#include "recordwin/settings_group_windows.h"
#include "shell/window_events.h"
#include "shell/window_table.h"

namespace {

using EventHandler = WindowEventHandler;

// Types without logic of their own still have a handler: it makes events
// 4 and 9 the handler's alone, so their rows may always be deleted and
// inserted.
uint8_t WinAllowAllEvent(int window, int event, void *a, void *b)
{
    (void)window;
    (void)event;
    (void)a;
    (void)b;
    return 1;
}

// The field changes of type 350 change nothing else.
uint8_t Win350FieldChanged(int window, int16_t field, uint8_t changed)
{
    (void)window;
    (void)field;
    (void)changed;
    return 1;
}

// Type 350 hands field changes (event 6) on and allows everything.
uint8_t Win350Event(int window, int event, void *a, void *b)
{
    if (WindowEventCode(event) == WindowEventCode::FieldChanged && a && b) Win350FieldChanged(window, *static_cast<int16_t *>(a), *static_cast<uint8_t *>(b));
    return 1;
}

struct HandlerEntry {
    int type;
    EventHandler handler;
};

// The window types with a handler of their own, by exact type number.
constexpr HandlerEntry Handlers[] = {
    {40, Win40Event},       {41, Win41Event},
    {45, WinAllowAllEvent}, {54, WinAllowAllEvent}, {96, WinAllowAllEvent},
    {195, WinAllowAllEvent}, {347, Win347Event}, {350, Win350Event},
    {155, Win155Event},     {157, Win157Event},     {475, Win475Event}, {476, Win476Event},
    {117, Win117Event},
    {164, Win164Event},     {255, Win255Event},     {533, Win533Event},
    {272, Win272Event},     {352, Win352Event},
    {290, Win290Event},     {468, Win468Event},
    {557, Win557Event},
    {500, WinAllowAllEvent},
    {PrinterListType, PrinterListEvent}, {PrinterRowType, PrinterRowEvent},
    {WinTypes::SetForms, SettingsGroupEvent}, {WinTypes::SetSeries, SettingsGroupEvent},
};

// The built-in handler of a window type; null when it has none.
EventHandler BuiltInHandlerOf(int type)
{
    for (const HandlerEntry &e : Handlers)
        if (e.type == type) return e.handler;
    return nullptr;
}

// Only the code window may get a row inserted in the middle of its rows
// when its type has no handler to decide.
uint8_t MatrixRowInsertEvent(int window) { return WinTypeOf(window) == CodeRowsType ? 1 : 0; }

// The generic action of event `event` for window, reading its arguments
// a and b. The actions of the record windows are built with those
// windows; until then each lets the caller go on, as for a type without
// rules. Built: activation (0), the edit question (1), a choice (2), a new
// row's defaults (3), where Enter goes (7), the row questions (4, 9, 13) and what follows a
// row delete (12), a field change (6), OK (11), a choice list's OK (21),
// which gives its record to the opener (done: 0), the window opened
// (22), a button (23), the record stored (24) and the closed question
// (26); a report window's defaults (14, and 22 for InterestLastMonth) and its
// queueing (28); File > Print (8). The row events' row number is read as
// 16 bits: the row commands pass a 16-bit number, and the low half of a
// 32-bit one is the same row.
uint8_t GenericAction(int window, int event, void *a, void *b)
{
    switch (WindowEventCode(event)) {
    case WindowEventCode::MayEditField:
        return WindowMayEditEvent(window, a ? *static_cast<const int16_t *>(a) : 0,
                                  b ? *static_cast<const uint16_t *>(b) : 0xFFFFu);
    case WindowEventCode::RowDefaults:
        if (a && b) MatrixRowDefaultsEvent(window, static_cast<uint8_t *>(a), *static_cast<const int16_t *>(b));
        return 1;
    case WindowEventCode::MayDeleteRow: return a ? WindowMayDeleteRowEvent(window, *static_cast<const int16_t *>(a)) : 0;
    case WindowEventCode::FieldChanged:
        if (a && b) FieldChangedEvent(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::MayInsertRow: return MatrixRowInsertEvent(window);
    case WindowEventCode::Enter: return a ? MatrixCellEvent(window, *static_cast<const int16_t *>(a)) : 1;
    case WindowEventCode::RowsChanged:
        if (a) MatrixRowsChangedEvent(window, *static_cast<const int16_t *>(a));
        return 1;
    case WindowEventCode::MayClearRow: return a ? MatrixRowMayClearEvent(window, *static_cast<const int16_t *>(a)) : 0;
    case WindowEventCode::RecordOpen: return WindowReadOnlyEvent(window);
    case WindowEventCode::RecordChosen: WindowChooseRecordEvent(window); return 0;
    case WindowEventCode::Activated: WindowActivateEvent(window); return 1;
    case WindowEventCode::Choice:
        if (a) WindowChoiceEvent(window, *static_cast<const uint16_t *>(a), b ? *static_cast<const uint8_t *>(b) : 0);
        return 1;
    case WindowEventCode::Ok: return WindowOkEvent(window);
    case WindowEventCode::LaidOut:
        WindowOpenedEvent(window);
        // The previous month's interest run takes its defaults when laid
        // out, not only when opened with given values.
        if (WinTypeOf(window) == WinTypes::InterestLastMonth) ReportWindowDefaultsEvent(window);
        return 1;
    case WindowEventCode::OpenedWithArgs: ReportWindowDefaultsEvent(window); return 1;
    case WindowEventCode::Print: WindowPrintEvent(window); return 1;
    case WindowEventCode::ReportOk: {
        ReportJob job{static_cast<uint8_t *>(a)};
        return ReportWindowRunEvent(window, job);
    }
    case WindowEventCode::Stored: AfterStoreEvent(window); return 1;
    case WindowEventCode::Button:
        if (b) WindowButtonEvent(window, *static_cast<const int16_t *>(b));
        return 1;
    default: return 1;
    }
}

}  // namespace

// The record windows' part of the framework's event dispatch.
const WindowEventBuiltInsRec WindowEventBuiltIns = {BuiltInHandlerOf, GenericAction};
