// list_commands.cpp - the record commands of a list window: OK on the
// selected row, and open as a new copy.
#include "shell/list_windows.h"
#include "shell/record_commands.h"

// The OK of a list window; not built yet: nothing is opened.
void CmdListOk(int n) {}

// Opens the selected row's record as a new copy; not built yet: nothing is opened.
void ListOpenAsNew(int n) {}
