// window_placement.cpp - where the windows of a type open, per user.
#include "shell/record_commands.h"

// The user's stored rectangle and list column of a window type, over the defaults.
void WinPlacementLoad(int type, MacRect *r, uint16_t *column) {}

// Stores the user's rectangle and list column of a window type.
void WinPlacementSave(int type, const MacRect *r, int column) {}

// Gives n its type's default rectangle and stores that as its placement.
void WinPlacementDefault(int n) {}

// Stores n's rectangle and list column as its type's placement (command
// 808); not built yet: nothing is stored.
void WinPlacementSaveCommand(int n) {}
