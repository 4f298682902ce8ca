// field_editing.h - the field under edit in a record window: marking a
// window for repainting, committing and focusing fields, typed keys and
// characters, the chooser and the matrix row commands.
#pragma once

#include <cstdint>

// Marks window n for repainting by the main loop.
void WinMarkChanged(int n);
// Takes the edit control's text into the record.
void WinCommitField(int n);
// True when the field at `offset` of n may be edited now.
bool WinMayEditField(int n, int row, int state, uint32_t offset, int flag);
// Moves the focus to another field by mode; false when it cannot.
bool MoveFieldFocus(int n, int mode);
// Runs a key of window n; false when the key is not the window's.
bool WindowKeyCommand(int n, int key, bool shift);
// Types character c into the focused field of n.
void WinTypeChar(int n, int c);
// Opens the chooser of the focused field.
void CmdChoose(int n);
// Deletes, inserts or selects a matrix row (Edit items 6, 7, 8).
void MatrixRowCommand(int n, int item);
