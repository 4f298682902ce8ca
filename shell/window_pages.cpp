// window_pages.cpp - the pages of a record window: which are shown,
// choosing one, and stepping through them.
#include "shell/window_layout.h"

// Shows page `page` of n, redrawing when asked; shows nothing here.
void WinShowPage(int n, int page, bool redraw) {}

// Shows page `page` of n (0 stands for 1) and focuses its field; nothing here.
void WinChoosePage(int n, int page) {}

// Steps n's pages by i; nothing here.
void WinPageStep(int n, int i) {}
