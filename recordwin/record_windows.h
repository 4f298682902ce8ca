// record_windows.h - the record windows' side of the window framework:
// the one event entry through which the framework tells a window type
// that something happened or asks whether something may happen, and
// the rules by window type that the framework consults.
#pragma once

#include <cstdint>

#include "core/memblock.h"

// ---- window_event.cpp ----
// Offers event 0..30 to window's type; 1 = go on / allowed, 0 = refused or done.
uint8_t WindowEvent(int window, int event, void *a, void *b);

// ---- type_rules.cpp ----
// Lets the window's type withdraw open, new, OK or cancel.
void EditCommandsTypeRule(int window, bool *open, bool *nw, bool *ok, bool *cancel);
// The record's text for the window's title as a PString (may be empty).
void WinTitleRecordText(int window, uint8_t *text);
// Repaints what window type 1 lays out: the frame's bars.
void WindowType1Refresh();
// True when the window lists addresses.
bool WinIsAddressList(int window);
// Appends the text of the window's marked records to *text.
void ListCopyMarkedAddresses(int window, MemBlock *text);
