// field_moves.cpp - moving the focus between the fields of a record
// window, and finding the screen field that shows a record field.
#include "shell/field_editing.h"
#include "shell/window_layout.h"

// Moves the focus to another field by mode 1..7; false here.
bool MoveFieldFocus(int n, int mode) { return false; }

// The screen field of n showing a record field; NoField here.
int WinFieldNumberOf(int n, uint32_t field, int row, uint32_t rowOffset, int *page)
{
    *page = 0;
    return NoField;
}
