// menus.h - the frame's menu bar: its popups, the dispatch of menu
// commands by range, and the enabling of menus and toolbar for the
// active window.
#pragma once

#include <cstdint>

struct MenuHandlesRec {
    uint32_t bar, file, edit, record;
    uint32_t registerPopup;
    uint32_t modulePopup;        // 0 in the compact variant
    uint32_t window, help;
};
extern MenuHandlesRec MenuHandles;

// ---- menu_bar.cpp ----
// Builds the frame's menu bar and its popups.
void MenuBarBuild();
// A popup from menu definition m; 0 when refused.
uint32_t MenuFromTable(int m);
// Appends the key text of Ctrl+c to a menu text.
void KeyTextAppend(char *text, int c);
// The operations popup of a window type; 0 when it has none.
uint32_t BuildWindowOpsMenu(int type);
// Fills the register popup with the module table's windows the user may open.
void RebuildRegisterMenu();
// Fills the module popup with the modules the user may use (item 501 + entry index).
void RebuildWindowTypeMenu();
// Enters the module of the k-th permitted module-menu entry (from 1); module 1 only when allowed.
void ModuleMenuPick(int k, bool allowModuleOne);

// ---- menu_commands.cpp ----
// Runs File menu item `item` for window w.
void MenuCommand(int w, int item);
// Runs Edit menu item `item` for window w.
void EditCommand(int w, int item);
// Runs Record menu item `item` for window w.
void RecordCommand(int w, int item);

// ---- menu_keys.cpp ----
// The frame command id Ctrl+c runs while window n is active; 0 none.
int MenuKeyCommand(int n, int c);
// Runs what Ctrl+c does in window n; false when it runs no menu command.
bool MenuKeyRun(int n, int c);

// ---- menu_state.cpp ----
// Enables the menus and toolbar for window n.
void MenuStateUpdate(int n);
// Tells window n's type that it became active.
void WindowActivated(int n);
// Enables or disables the top-bar buttons.
void ToolbarEnable(bool on);
