// window_event.cpp - dispatch of window events to the handlers of window
// types and to the generic actions.
//
// An event first reaches the handler of the window's type, when the type
// has one (a handler set at run time comes before the built-in table);
// then, unless the handler refused, the generic action of the
// event. Events 4 and 9 (may a matrix row be deleted, inserted) are
// decided by the handler alone when there is one. Events outside 0..28
// reach only the handler. Result: 1 go on / allowed, 0 refused or done.
#include "recordwin/record_windows.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <cstring>

#include "core/field_access.h"
#include "dict_offsets.h"
#include "output/printer_windows.h"
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

// Handlers set at run time, asked before the built-in table; type 0 is a
// free entry.
constexpr int RunTimeHandlerSlots = 16;
std::array<HandlerEntry, RunTimeHandlerSlots> RunTimeHandlers{};

// The handler of a window type: its run-time one, else its built-in one;
// null when it has neither.
EventHandler HandlerOf(int type)
{
    for (const HandlerEntry &e : RunTimeHandlers)
        if (e.type != 0 && e.type == type) return e.handler;
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
              EventReadOnly = 26, EventButton = 23, LastGenericEvent = 28;
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

// Offers event 0..30 of an open window to its type's handler and then to
// the event's generic action; 1 = go on / allowed, 0 = refused or done. A
// window that is not open has nothing to ask and answers 0.
uint8_t WindowEvent(int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    EventHandler handler = HandlerOf(WinTypeOf(window));
    uint8_t result = handler ? handler(window, event, a, b) : 1;
    if (handler && (event == EventMayDeleteRow || event == EventMayInsertRow)) return result;
    if (result != 1) return result;
    int16_t code = int16_t(event);
    if (code < 0 || code > LastGenericEvent) return result;
    return GenericAction(window, code, a, b);
}

// Gives window type `type` a handler asked before its built-in one,
// replacing one set before; null removes it. Only as many types as the
// run-time table holds may have one; a type beyond that is asserted
// against, and keeps its built-in handler in a release build.
void WindowEventHandlerSet(int type, WindowEventHandler h)
{
    assert(type > 0);
    HandlerEntry *free = nullptr;
    for (HandlerEntry &e : RunTimeHandlers) {
        if (e.type == type) {
            e = h ? HandlerEntry{type, h} : HandlerEntry{};
            return;
        }
        if (e.type == 0 && !free) free = &e;
    }
    if (!h) return;
    assert(free && "run-time handler table full");
    if (free) *free = HandlerEntry{type, h};
}
