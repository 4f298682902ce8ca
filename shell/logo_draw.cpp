// logo_draw.cpp - the program's logo in the About window.
#include "shell/window_drawing.h"

// Draws the logo in window n; not built yet: nothing is drawn.
void DrawLogoBitmap(int n) {}
