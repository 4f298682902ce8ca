// menu_lists.cpp - filling the menu-list windows with the entries of the
// current module that the user may use, finding the entry of a row, and
// enabling their buttons by group.
#include "shell/menu_lists.h"

// Fills n's list box; not built yet: the list stays as it is.
void MenuListFill(int n) {}

// The table entry of a list row; not built yet: always -1 (none).
int MenuListEntryOfRow(int n, int row, const uint8_t **entry)
{
    if (entry) *entry = nullptr;
    return -1;
}

// Enables or disables n's buttons of a group; not built yet: nothing changes.
void WinButtonsEnable(int n, int group, int button, bool on) {}
