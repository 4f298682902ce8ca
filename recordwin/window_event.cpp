// window_event.cpp - dispatch of window events to the handlers of
// window types and to the generic actions.
#include "recordwin/record_windows.h"

// Offers event 0..30 to window's type; 1 = go on / allowed, 0 = refused or done.
uint8_t WindowEvent(int window, int event, void *a, void *b) { return 0; }
