// list_windows.cpp - list-window states and moving through a list.
#include "shell/list_windows.h"

// Which of open, new, OK and cancel window w allows now.
void EditCommandsState(int w, bool *open, bool *nw, bool *ok, bool *cancel)
{
    *open = *nw = *ok = *cancel = false;
}

// Whether previous and next are possible in w, and the arrows' icon (400..403).
void RecordMoveState(int w, bool *prev, bool *next, int *icon)
{
    *prev = *next = false;
    *icon = 400;
}

// True when exactly one row of w is selected; its record id in *id (may be null).
bool ListSingleSelection(int w, int32_t *id) { return false; }

// Scrolls pane `pane` of w so that row top is the first shown.
void ListScrollTo(int w, int pane, int32_t top) {}

// Moves w's selection by delta rows, extending it when asked; false when it cannot move.
bool ListMoveSelection(int w, int delta, bool extend) { return false; }
