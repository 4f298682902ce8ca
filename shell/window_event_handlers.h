// window_event_handlers.h - the table of window-event handlers set at run
// time (WindowEventHandlerSet, window_events.h), read entry by entry: the
// start-up check asks for the handlers the program's start must set, and
// a test starts from an empty table.
#pragma once

#include "shell/window_events.h"

// The handler set at run time for window type `type`; null when none was
// set (its built-in handler, if any, is not asked).
WindowEventHandler WindowEventHandlerSetFor(int type);
// Removes every handler set at run time; the built-in ones stay.
void WindowEventHandlersClear();
