// field_editing.h - the field under edit in a record window: marking a
// window for repainting, committing and focusing fields, focus moves,
// typed keys and characters, the screen-field number of a record field,
// whether a field may be edited, and the chooser.
#pragma once

#include <cstdint>

// ---- field_editing.cpp ----
// Marks window n for repainting by the main loop.
void WinMarkChanged(int n);
// Takes the edit control's text into the record.
void WinCommitField(int n);
// True, the user told and the focus kept, when the field under edit in n
// holds a typed date the field refuses: a caller about to commit the
// field (a move, a store, a run) then stops.
bool WinTypedTextRefused(int n);
// Tells the user that `text`, typed as a date, is none the program reads
// as typed, and the form dates are typed in.
void TellTypedDateRefused(const uint8_t *text);
// Focuses screen field F of n, selecting its text when asked; false when
// it cannot, or when the field under edit refuses what was typed.
bool WinGotoField(int n, int F, bool select);
// True when screen field F of n, of access word `access`, may be edited
// in edit state `state`; tells the user why not when `report` is 1 (a
// choice, paste or deletion), and for a typed character (`report` 2) when
// the window type's rule would otherwise drop it without a word.
bool WinMayEditField(int n, int F, int state, int access, int report);
// Starts n's edit for a key or command that changes its focused field;
// true when the field may now be changed. A refused field leaves a record
// only shown as it was (told as for WinMayEditField's `report`).
bool WinBeginFieldEdit(int n, int report);
// Asks n's type whether control `index` may change; true when it may.
bool WindowFieldChanged(int n, int index);

// ---- field_moves.cpp ----
// Moves the focus to another field by mode 1..7; false when it cannot.
bool MoveFieldFocus(int n, int mode);
// The screen field of n showing a record field (a row's, for a row and
// row offset), and in *page the column page it is on; NoField when not shown.
int WinFieldNumberOf(int n, uint32_t field, int row, uint32_t rowOffset, int *page);

// ---- field_keys.cpp ----
// Runs a key of window n; false when the key is not the window's.
bool WindowKeyCommand(int n, int key, bool shift);

// ---- field_typing.cpp ----
// True when c is a control character (below 32, or DEL), which no field takes.
bool FieldCharIsControl(int c);
// Puts a text into the focused field of n in place of the selection.
void WinInsertFieldText(int n, const uint8_t *text);
// Types a text into the focused field of n, starting the edit when needed.
void WinTypeText(int n, const uint8_t *text);
// Types character c into the focused field of n.
void WinTypeChar(int n, int c);
// Opens the chooser of the focused field.
void CmdChoose(int n);
// Opens chooser `chooser` (a window type, or today's date) for n's focused field.
void WinChooseForField(int n, int chooser);
