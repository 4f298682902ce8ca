// field_typing.cpp - typing into the focused field of a record window,
// and the chooser of a field.
#include "shell/field_editing.h"

// Puts a text into the focused field of n in place of the selection; nothing here.
void WinInsertFieldText(int n, const uint8_t *text) {}

// Types a text into the focused field of n; nothing here.
void WinTypeText(int n, const uint8_t *text) {}

// Types character c into the focused field of n; nothing here.
void WinTypeChar(int n, int c) {}

// Opens the chooser of the focused field; nothing here.
void CmdChoose(int n) {}

// Opens chooser `chooser` for n's focused field; nothing here.
void WinChooseForField(int n, int chooser) {}
