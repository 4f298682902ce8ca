// type_rules.cpp - rules by window type that the framework consults:
// edit-command states, the title text, the address lists.
#include "recordwin/record_windows.h"

// Lets the window's type withdraw open, new, OK or cancel.
void EditCommandsTypeRule(int window, bool *open, bool *nw, bool *ok, bool *cancel) {}

// The record's text for the window's title as a PString (may be empty).
void WinTitleRecordText(int window, uint8_t *text) { text[0] = 0; }

// Repaints what window type 1 lays out: the frame's bars.
void WindowType1Refresh() {}

// True when the window lists addresses.
bool WinIsAddressList(int window) { return false; }

// Appends the text of the window's marked records to *text.
void ListCopyMarkedAddresses(int window, MemBlock *text) {}
