// edit_control.h - the one edit control of a record window over the
// field under edit, the window's scroll-bar controls, and switching
// pages from its tabs.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/memblock.h"

// ---- edit_control.cpp ----
// The last date put under edit.
extern DateRec LastDate;
// Opens n's edit control over a binding's field in a record or rows
// block, showing `text`.
void EditControlOpen(int n, const uint8_t *binding, MemBlock record, int row, const uint8_t *text);
// Opens n's edit control over a binding's field, showing its value; a
// hidden text (type 25) gets a password control.
void EditControlOpenForBinding(int n, const uint8_t *binding, MemBlock record, int row);
// The text of n's edit control as a PString.
void EditTextGet(int n, uint8_t *text);
// Destroys n's edit control.
void EditControlDestroy(int n);

// ---- window_controls.cpp ----
// Creates n's scroll-bar controls.
void WinControlsCreate(int n);
// Switches n to page `page`, moving the focus into it when asked.
void WinPageSwitch(int n, int page, bool focus);
// Shows a page of n with the focus moved into it.
void WinPageSwitchFocus(int n, int page);
