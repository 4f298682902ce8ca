// draw_icons.cpp - icons, labelled icons and the bottom bar's buttons.
#include "shell/draw_port.h"

// Draws icon `icon` centred on (x, y); nothing when it is missing.
void DrawIconAt(int icon, int x, int y) {}

// Draws an icon with its label centred below it.
void DrawIconLabel(int icon, int x, int y, const uint8_t *label) {}

// Draws an icon at (x, y) in a platform window through a context of its own.
void DrawWindowIcon(uint32_t window, int x, int y, int icon) {}

// Draws the bottom bar's buttons on the bar's paint context.
void DrawToolbarButtons(DrawContext *bar) {}
