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

// Offers event 0..30 to window's type; 1 = go on / allowed, 0 = refused or done.
uint8_t WindowEvent(int window, int event, void *a, void *b);
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
