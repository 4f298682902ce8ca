// window_prepare.cpp - preparing a window after it opened, before its
// record loads.
#include "shell/record_commands.h"

// Prepares n after it opened; nothing here.
void WinPrepareAfterOpen(int n) {}
