// field_draw.cpp - drawing field values, list cells and field frames,
// and growing the edit rectangle to its text.
#include "shell/window_layout.h"

// Draws a field's value in r; draws nothing here.
void WinDrawFieldValue(int n, const uint8_t *value, int type, int length, int F, const MacRect *r, bool right,
                       bool selected, bool struck)
{
}

// Draws a list cell's value in r; draws nothing here.
void ListCellDraw(int n, const uint8_t *value, int type, int length, const MacRect *r, bool right, bool selected) {}

// Draws the frames of n's fields; draws nothing here.
void WinDrawFieldFrames(int n) {}

// Grows the edit rectangle r to the text; leaves r as it is here.
void EditRectGrow(int n, const uint8_t *text, MacRect *r, bool inMatrix) {}
