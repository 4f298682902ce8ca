// menu_commands.cpp - the File, Edit and Record menu dispatchers.
#include "shell/menus.h"

// Runs File menu item `item` for window w.
void MenuCommand(int w, int item) {}

// Runs Edit menu item `item` for window w.
void EditCommand(int w, int item) {}

// Runs Record menu item `item` for window w.
void RecordCommand(int w, int item) {}
