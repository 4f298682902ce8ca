// list_windows.h - the states of list windows that menus and toolbar
// follow, and moving through a list.
#pragma once

#include <cstdint>

// Which of open, new, OK and cancel window w allows now.
void EditCommandsState(int w, bool *open, bool *nw, bool *ok, bool *cancel);
// Whether previous and next are possible in w, and the arrows' icon:
// 400 none, 401 next only, 402 previous only, 403 both.
void RecordMoveState(int w, bool *prev, bool *next, int *icon);
// True when exactly one row of w is selected; its record id in *id (may be null).
bool ListSingleSelection(int w, int32_t *id);
// Scrolls pane `pane` of w so that row top is the first shown.
void ListScrollTo(int w, int pane, int32_t top);
// Moves w's selection by delta rows, extending it when asked; false when it cannot move.
bool ListMoveSelection(int w, int delta, bool extend);
