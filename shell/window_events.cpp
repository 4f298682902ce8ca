// window_events.cpp - dispatch of window events to the handlers of window
// types and to the generic actions.
//
// An event first reaches the handler of the window's type, when the type
// has one (a handler set at run time comes before the built-in table);
// then, unless the handler refused, the generic action of the
// event. Events 4 and 9 (may a matrix row be deleted, inserted) are
// decided by the handler alone when there is one. Events outside 0..28
// reach only the handler. Result: 1 go on / allowed, 0 refused or done.
#include "shell/window_events.h"
#include "shell/window_event_handlers.h"

#include <array>
#include <cassert>
#include <cstdint>

#include "shell/window_table.h"

namespace {

struct HandlerEntry {
    int type;
    WindowEventHandler handler;
};


// Handlers set at run time, asked before the built-in table; type 0 is a
// free entry.
constexpr int RunTimeHandlerSlots = 16;
std::array<HandlerEntry, RunTimeHandlerSlots> RunTimeHandlers{};

// The handler of a window type: its run-time one, else its built-in one;
// null when it has neither.
WindowEventHandler HandlerOf(int type)
{
    if (WindowEventHandler h = WindowEventHandlerSetFor(type)) return h;
    return WindowEventBuiltIns.handlerOf ? WindowEventBuiltIns.handlerOf(type) : nullptr;
}

}  // namespace

// Offers event 0..30 of an open window to its type's handler and then to
// the event's generic action; 1 = go on / allowed, 0 = refused or done. A
// window that is not open has nothing to ask and answers 0.
uint8_t WindowEvent(int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    WindowEventHandler handler = HandlerOf(WinTypeOf(window));
    uint8_t result = handler ? handler(window, event, a, b) : 1;
    if (handler && (WindowEventCode(event) == WindowEventCode::MayDeleteRow || WindowEventCode(event) == WindowEventCode::MayInsertRow)) return result;
    if (result != 1) return result;
    int16_t code = int16_t(event);
    if (code < 0 || code > LastGenericWindowEvent || !WindowEventBuiltIns.genericAction) return result;
    return WindowEventBuiltIns.genericAction(window, code, a, b);
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

// The run-time handler of window type `type`; null when none was set.
WindowEventHandler WindowEventHandlerSetFor(int type)
{
    for (const HandlerEntry &e : RunTimeHandlers)
        if (e.type != 0 && e.type == type) return e.handler;
    return nullptr;
}

void WindowEventHandlersClear() { RunTimeHandlers.fill(HandlerEntry{}); }
