// field_rules.cpp - the texts of fields whose text the window supplies
// (type 28); whether a field may be edited is in edit_rules.cpp.
#include "recordwin/record_windows.h"

#include "shell/window_layout.h"
#include "shell/window_table.h"

// Takes a typed text into a field whose text the window supplies; false
// (no type takes one).
bool WinFieldFromTextByType(int window, uint8_t *record, int F, const uint8_t *text) { return false; }

// The text the window supplies for data field F; empty (no type supplies one).
void WinFieldDisplayText(int window, int F, uint8_t *text) { text[0] = 0; }

// The text the window supplies for matrix cell F; empty (no type supplies one).
void MatrixCellDisplayText(int window, int F, uint8_t *text) { text[0] = 0; }
