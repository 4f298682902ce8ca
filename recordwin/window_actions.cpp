// window_actions.cpp - actions of record windows that the framework
// runs for a window type: closing with a choice for the opener, and
// whether a type's record may be edited now.
#include "recordwin/record_windows.h"

// Closes window, offering its record's key text to its opener; nothing here.
void WinCloseWithChoice(int window, const uint8_t *text) {}

// 1 when the type's record may be edited now; 0 here.
uint8_t WinTypeMayOpen(int type) { return 0; }
