// edit_control.cpp - the one edit control of a record window over the
// field under edit.
#include "shell/edit_control.h"

// The last date put under edit.
DateRec LastDate{};

// Opens n's edit control over a binding's field showing `text`; opens none here.
void EditControlOpen(int n, const uint8_t *binding, MemBlock record, int row, const uint8_t *text) {}

// Opens n's edit control over a binding's field showing its value; opens none here.
void EditControlOpenForBinding(int n, const uint8_t *binding, MemBlock record, int row) {}

// The text of n's edit control as a PString; empty here.
void EditTextGet(int n, uint8_t *text) { text[0] = 0; }

// Destroys n's edit control; nothing here.
void EditControlDestroy(int n) {}
