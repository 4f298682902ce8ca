// draw_3d.cpp - the 3-D elements record windows are drawn with: boxes,
// sunken frames, push buttons, page and matrix-column tabs.
#include "shell/window_drawing.h"

// Draws a raised 3-D box with a title; draws nothing here.
void DrawBox3D(const MacRect *r, const uint8_t *title) {}

// Draws a sunken 3-D frame around r; draws nothing here.
void FrameSunken3D(const MacRect *r) {}

// Draws a push button of n; draws nothing here.
void PushButtonDraw(int n, const MacRect *r, const uint8_t *text, bool isDefault, bool pressed) {}

// Draws a page tab of n for page `page`; draws nothing here.
void PageTabDraw(int n, const MacRect *r, const uint8_t *text, bool isDefault, bool pressed, int page) {}

// Draws a matrix-column tab of n for column page `number`; draws nothing here.
void SecondTabDraw(int n, const MacRect *r, const uint8_t *text, bool isDefault, bool pressed, int number) {}

// Highlights the button of n bound to a record offset, or clears it; nothing here.
void ButtonHighlight(int n, uint32_t fieldOffset, bool on) {}

// The x of the record arrows in the top bar; 0 here.
int RecordArrowX() { return 0; }
