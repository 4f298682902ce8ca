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
    if (event == 6 && a && b) Win350FieldChanged(window, *static_cast<int16_t *>(a), *static_cast<uint8_t *>(b));
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

// Only windows of type 241 may get a row inserted in the middle of their
// rows when their type has no handler to decide.
constexpr int RowInsertType = 241;

uint8_t MatrixRowInsertEvent(int window) { return WinTypeOf(window) == RowInsertType ? 1 : 0; }

constexpr int EventMayEdit = 1, EventRowDefaults = 3, EventMayDeleteRow = 4, EventFieldChanged = 6, EventEnter = 7,
              EventMayInsertRow = 9, EventRowsChanged = 12, EventMayClearRow = 13, EventChooseRecord = 21,
              EventReadOnly = 26, EventButton = 23;
constexpr int EventActivated = 0, EventChoice = 2, EventOk = 11, EventOpened = 22, EventStored = 24;
constexpr int EventPrint = 8, EventOpenedWithArgs = 14, EventQueueJob = 28;
// The report window that takes its defaults when laid out, not only when
// opened with given values.
constexpr int LaidOutDefaultsType = 176;

// The generic action of event `event` for window, reading its arguments
// a and b. The actions of the record windows are built with those
// windows; until then each lets the caller go on, as for a type without
// rules. Built: activation (0), the edit question (1), a choice (2), a new
// row's defaults (3), where Enter goes (7), the row questions (4, 9, 13) and what follows a
// row delete (12), a field change (6), OK (11), a choice list's OK (21),
// which gives its record to the opener (done: 0), the window opened
// (22), a button (23), the record stored (24) and the closed question
// (26); a report window's defaults (14, and 22 for type 176) and its
// queueing (28); File > Print (8). The row events' row number is read as
// 16 bits: the row commands pass a 16-bit number, and the low half of a
// 32-bit one is the same row.
uint8_t GenericAction(int window, int event, void *a, void *b)
{
    switch (event) {
    case EventMayEdit:
        return WindowMayEditEvent(window, a ? *static_cast<const int16_t *>(a) : 0,
                                  b ? *static_cast<const uint16_t *>(b) : 0xFFFFu);
    case EventRowDefaults:
        if (a && b) MatrixRowDefaultsEvent(window, static_cast<uint8_t *>(a), *static_cast<const int16_t *>(b));
        return 1;
    case EventMayDeleteRow: return a ? WindowMayDeleteRowEvent(window, *static_cast<const int16_t *>(a)) : 0;
    case EventFieldChanged:
        if (a && b) FieldChangedEvent(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case EventMayInsertRow: return MatrixRowInsertEvent(window);
    case EventEnter: return a ? MatrixCellEvent(window, *static_cast<const int16_t *>(a)) : 1;
    case EventRowsChanged:
        if (a) MatrixRowsChangedEvent(window, *static_cast<const int16_t *>(a));
        return 1;
    case EventMayClearRow: return a ? MatrixRowMayClearEvent(window, *static_cast<const int16_t *>(a)) : 0;
    case EventReadOnly: return WindowReadOnlyEvent(window);
    case EventChooseRecord: WindowChooseRecordEvent(window); return 0;
    case EventActivated: WindowActivateEvent(window); return 1;
    case EventChoice:
        if (a) WindowChoiceEvent(window, *static_cast<const uint16_t *>(a), b ? *static_cast<const uint8_t *>(b) : 0);
        return 1;
    case EventOk: return WindowOkEvent(window);
    case EventOpened:
        WindowOpenedEvent(window);
        if (WinTypeOf(window) == LaidOutDefaultsType) ReportWindowDefaultsEvent(window);
        return 1;
    case EventOpenedWithArgs: ReportWindowDefaultsEvent(window); return 1;
    case EventPrint: WindowPrintEvent(window); return 1;
    case EventQueueJob: return ReportWindowRunEvent(window);
    case EventStored: AfterStoreEvent(window); return 1;
    case EventButton:
        if (b) WindowButtonEvent(window, *static_cast<const int16_t *>(b));
        return 1;
    default: return 1;
    }
}

}  // namespace

// The record windows' part of the framework's event dispatch.
const WindowEventBuiltInsRec WindowEventBuiltIns = {BuiltInHandlerOf, GenericAction};
