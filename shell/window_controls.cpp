// window_controls.cpp - a record window's scroll-bar controls and the
// switching of its pages from its tabs.
#include "shell/edit_control.h"

// Creates n's scroll-bar controls; creates none here.
void WinControlsCreate(int n) {}

// Switches n to page `page`; nothing here.
void WinPageSwitch(int n, int page, bool focus) {}

// Shows a page of n with the focus moved into it; nothing here.
void WinPageSwitchFocus(int n, int page) {}
