// field_editing.cpp - the field under edit: marking a window for
// repainting, committing and focusing a field, whether a field may be
// edited, and the type's say on control changes.
#include <cassert>

#include "shell/field_editing.h"
#include "shell/shell.h"
#include "shell/window_table.h"

// Marks window n for repainting by the main loop.
void WinMarkChanged(int n)
{
    assert(WinIsOpen(n));
    WinTable[n]->changed = 1;
    RedrawPendingFlag = 1;
}

// Takes the edit control's text into the record; takes nothing here.
void WinCommitField(int n) {}

// Focuses screen field F of n; false here (no field takes the focus).
bool WinGotoField(int n, int F, bool select) { return false; }

// True when screen field F of n may be edited now; false here.
bool WinMayEditField(int n, int F, int state, int access, int report) { return false; }

// Asks n's type whether control `index` may change; false here.
bool WindowFieldChanged(int n, int index) { return false; }
