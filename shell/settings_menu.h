// settings_menu.h - the frame's Settings menu: the settings windows of the
// current module, from the interface file's menu 20 + module.
#pragma once

#include <cstdint>

// Command ids of the Settings menu: SettingsMenuFirstId + the item's index
// in its menu definition.
constexpr int SettingsMenuFirstId = 1000, SettingsMenuLastId = 1099;
// The menu definition that holds module m's Settings menu.
constexpr int SettingsMenuBase = 20;

// The Settings popup on the menu bar; 0 when the interface file has no
// Settings menu (then the bar has none).
extern uint32_t SettingsMenuHandle;

// Appends an empty Settings popup to the menu bar when the interface file
// has a Settings menu of any module (not in the compact variant, which has
// no modules).
void SettingsMenuCreate();
// Fills the Settings popup anew for the current module: the items of its
// menu definition whose window the user may open, while a company is open.
void RebuildSettingsMenu();
// The window type Settings command `id` opens in the current module; 0 for
// an id the current module's menu does not hold.
int SettingsMenuWindowType(int id);
// Opens (or brings up) the window of Settings command `id`.
void SettingsMenuCommand(int id);
