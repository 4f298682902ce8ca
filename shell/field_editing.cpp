// field_editing.cpp - the field under edit, typed keys and characters,
// the chooser and the matrix row commands.
#include "shell/field_editing.h"

#include <cassert>

#include "shell/shell.h"
#include "shell/window_table.h"

// Marks window n for repainting by the main loop.
void WinMarkChanged(int n)
{
    assert(WinIsOpen(n));
    WinTable[n]->changed = 1;
    RedrawPendingFlag = 1;
}

// Takes the edit control's text into the record.
void WinCommitField(int n) {}

// True when the field at `offset` of n may be edited now.
bool WinMayEditField(int n, int row, int state, uint32_t offset, int flag) { return false; }

// Moves the focus to another field by mode; false when it cannot.
bool MoveFieldFocus(int n, int mode) { return false; }

// Runs a key of window n; false when the key is not the window's.
bool WindowKeyCommand(int n, int key, bool shift) { return false; }

// Types character c into the focused field of n.
void WinTypeChar(int n, int c) {}

// Opens the chooser of the focused field.
void CmdChoose(int n) {}

// Deletes, inserts or selects a matrix row (Edit items 6, 7, 8).
void MatrixRowCommand(int n, int item) {}
