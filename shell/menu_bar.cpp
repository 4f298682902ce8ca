// menu_bar.cpp - building the menu bar, the popups of the menu
// definitions and the operations popups of window types.
#include "shell/menus.h"

MenuHandlesRec MenuHandles;

// Builds the frame's menu bar and its popups.
void MenuBarBuild() {}

// A popup from menu definition m; 0 when refused.
uint32_t MenuFromTable(int m) { return 0; }

// Appends the key text of Ctrl+c to a menu text.
void KeyTextAppend(char *text, int c) {}

// The operations popup of a window type; 0 when it has none.
uint32_t BuildWindowOpsMenu(int type) { return 0; }
