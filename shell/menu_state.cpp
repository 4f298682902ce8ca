// menu_state.cpp - menu and toolbar states for the active window.
#include "shell/menus.h"

// Enables the menus and toolbar for window n.
void MenuStateUpdate(int n) {}

// Tells window n's type that it became active.
void WindowActivated(int n) {}

// Enables or disables the top-bar buttons.
void ToolbarEnable(bool on) {}
