// field_rules.cpp - field rules by window type: whether a field may be
// edited, and the texts of fields whose text the window supplies (type 28).
#include "recordwin/record_windows.h"

// 1 when screen field F of the window may be edited in state `state`.
// No window type has field rules of its own, so every field may.
uint8_t WinFieldEditRules(int window, int F, int state, int unused, int report) { return 1; }

// Takes a typed text into a field whose text the window supplies; false
// (no type takes one).
bool WinFieldFromTextByType(int window, uint8_t *record, int F, const uint8_t *text) { return false; }

// The text the window supplies for data field F; empty (no type supplies one).
void WinFieldDisplayText(int window, int F, uint8_t *text) { text[0] = 0; }

// The text the window supplies for matrix cell F; empty (no type supplies one).
void MatrixCellDisplayText(int window, int F, uint8_t *text) { text[0] = 0; }
