// field_keys.cpp - the keys a record window takes: Tab, Return, Escape,
// the arrows and the row keys.
#include "shell/field_editing.h"

// Runs a key of window n; false here (no key is the window's).
bool WindowKeyCommand(int n, int key, bool shift) { return false; }
