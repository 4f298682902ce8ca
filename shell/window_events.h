// window_events.h - the one event entry through which the window framework
// tells a window type that something happened or asks whether something
// may happen, and the table of handlers by window type it dispatches
// through.
//
// The framework owns the dispatch: an event reaches the handler of the
// window's type (a handler set at run time comes before the built-in
// one), then, unless that handler refused, the event's generic action.
// The record windows supply the built-in handlers and the generic actions
// (WindowEventBuiltIns, recordwin/window_event.cpp), so the framework
// names no window type of its own.
#pragma once

#include <cstdint>

// The events a window type is told of or asked about, by their numbers
// (the number is what WindowEvent and every handler receive; the numbers
// missing here are never raised). a and b are the event's two arguments.
enum class WindowEventCode : int {
    Activated = 0,          // the window was activated
    MayEditField = 1,       // may field a (16-bit) be edited; b: its value's offset in the record
    Choice = 2,             // a choice in a list or a dialog button: a field or button (16-bit), b a value (8-bit)
    RowDefaults = 3,        // a new matrix row: a the rows, b the row number (16-bit)
    MayDeleteRow = 4,       // may matrix row a (32-bit) be deleted
    FieldChanged = 6,       // field a (16-bit) was committed; b (8-bit) is 1 when its value differs
    Enter = 7,              // Enter in field a (16-bit): 0 when the handler moved the focus itself
    Print = 8,              // print the record
    MayInsertRow = 9,       // may a matrix row be inserted at row a (32-bit)
    Ok = 11,                // OK on the record; 1 lets the framework store it
    RowsChanged = 12,       // matrix rows from a (32-bit) were deleted or emptied
    MayClearRow = 13,       // may row a (32-bit) be emptied where it may not be deleted
    OpenedWithArgs = 14,    // a new record was opened with given values
    RecordChosen = 21,      // a record was chosen in a list
    LaidOut = 22,           // the window was laid out after opening
    Button = 23,            // window button b (16-bit) was pressed (the frame's commands 700-799)
    Stored = 24,            // the record was stored
    RecordOpen = 26,        // is the record open for changes: 0 closed (read-only), 1 open
    ReportOk = 28,          // OK on a report-specification window; a: its job record
    RowClicked = 29,        // matrix row a (16-bit) was clicked
    RowAboutToChange = 30,  // the selected matrix row is about to become a (16-bit)
};

// Offers event 0..30 to window's type; 1 = go on / allowed, 0 = refused or done.
uint8_t WindowEvent(int window, int event, void *a, void *b);
inline uint8_t WindowEvent(int window, WindowEventCode event, void *a, void *b)
{
    return WindowEvent(window, static_cast<int>(event), a, b);
}
// A window type's event handler: 1 = go on / allowed, 0 = refused or done.
using WindowEventHandler = uint8_t (*)(int window, int event, void *a, void *b);
// Gives a window type a handler asked before its built-in one; null removes it.
void WindowEventHandlerSet(int type, WindowEventHandler h);

// What the record windows register with the framework: the built-in
// handler of a window type (null: none) and the generic action of event
// 0..LastGenericEvent once the type's handler let it go on.
struct WindowEventBuiltInsRec {
    WindowEventHandler (*handlerOf)(int type);
    uint8_t (*genericAction)(int window, int event, void *a, void *b);
};
// Defined by the record windows with their tables in place, so that every
// program that opens a window dispatches the same way from its first event.
extern const WindowEventBuiltInsRec WindowEventBuiltIns;
// The last event that has a generic action.
constexpr int LastGenericWindowEvent = 28;
