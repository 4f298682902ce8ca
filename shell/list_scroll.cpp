// list_scroll.cpp - moving through a list: scrolling a pane, keeping a
// position visible, moving the selection by keys and clicks.
#include "shell/list_windows.h"

// Scrolls pane `pane` of n to top; not built yet: nothing moves.
void ListScrollTo(int n, int pane, int32_t top) {}

// Moves the visible rows' ids after a one-row scroll; not built yet: nothing moves.
void ListShiftRowIds(int n, int dir) {}

// Scrolls so that position p is visible; not built yet: nothing moves.
void ListEnsureVisible(int n, int pane, int32_t p) {}

// Moves n's selection by delta rows; not built yet: it never moves and says so.
bool ListMoveSelection(int n, int delta, bool extend) { return false; }

// Selects the row under a click; not built yet: nothing is selected.
void ListMouseClick(int n, int pane, int y, bool extend) {}
