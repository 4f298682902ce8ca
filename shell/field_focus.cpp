// field_focus.cpp - the focused field of a record window, the binding
// of a matrix cell under edit, and the selected matrix row.
#include "shell/window_layout.h"

// Focuses screen field F of n; false here (no field takes the focus).
bool WinFocusField(int n, int F) { return false; }

// Selects row `row` of n's matrix; selects nothing here.
void WinSelectRow(int n, int row, bool force) {}
