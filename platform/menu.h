// Menus drawn by the layer: the menu bar of a top-level window and popup
// menus. Items have texts with "&" mnemonics and an optional key text after a
// tab ("&Open\tCtrl+O"), may be separators, greyed, disabled or checked, and
// may hold a popup (the bar's items do). Items are addressed by position
// (from 0) or by command id.
//
// Tracking: a click on the bar, Alt (or F10) and then the arrows, Return,
// Esc and mnemonic letters, or Alt+letter. The owner gets message 278 (init
// menu) when tracking starts; the chosen command is posted to the owner as
// message 273 with wParam = id and lParam = 0.
//
// While an MDI child is maximised its system menu sits at position 0 of the
// frame's bar (so the other items move one position on, as the program
// expects) with its restore, minimise and close boxes at the right end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/geometry.h"

namespace PlMenuFlag {
constexpr uint32_t Grayed = 1u << 0;     // shown grey and not choosable
constexpr uint32_t Disabled = 1u << 1;   // not choosable (shown normally)
constexpr uint32_t Checked = 1u << 2;
constexpr uint32_t Popup = 1u << 3;      // the id is a popup menu
constexpr uint32_t Separator = 1u << 4;
}  // namespace PlMenuFlag

// Flags of MenuTrackPopup.
namespace PlTrack {
constexpr uint32_t LeftAlign = 0;
constexpr uint32_t CenterAlign = 4;  // centred on the x of the point
constexpr uint32_t RightAlign = 8;
constexpr uint32_t ReturnCmd = 0x100;  // return the command instead of posting it
}  // namespace PlTrack

uint32_t MenuCreateBar();
uint32_t MenuCreatePopup();
// Destroys a menu and the popups it holds. False for an unknown menu.
bool MenuDestroy(uint32_t menu);
bool MenuIsMenu(uint32_t menu);

// Appends or inserts (position -1 = at the end) an item; for a popup item
// `id` is the popup menu. The popup then belongs to this menu.
bool MenuAppend(uint32_t menu, uint32_t flags, uint32_t id, std::string_view text);
bool MenuInsert(uint32_t menu, int position, uint32_t flags, uint32_t id, std::string_view text);
// Deletes the item at position; a popup it holds is destroyed.
bool MenuDelete(uint32_t menu, int position);
// Removes the item at position; a popup it holds is kept for later use.
bool MenuRemove(uint32_t menu, int position);

int MenuItemCount(uint32_t menu);
// Command id of the item at position (0 for separators and popups, -1 when
// there is no such item).
int MenuItemId(uint32_t menu, int position);
uint32_t MenuSubMenu(uint32_t menu, int position);
std::string MenuItemText(uint32_t menu, int position);
uint32_t MenuItemFlags(uint32_t menu, int position);
// Position of the item with command id in menu (its popups not searched), -1.
int MenuFindCommand(uint32_t menu, int id);

// Enables (on) or greys (off) an item. Return the previous state: 1 enabled,
// 0 greyed or disabled, -1 when there is no such item. By command the popups
// of the menu are searched too.
int MenuEnableByPosition(uint32_t menu, int position, bool on);
int MenuEnableByCommand(uint32_t menu, int id, bool on);
int MenuCheckByPosition(uint32_t menu, int position, bool on);
int MenuCheckByCommand(uint32_t menu, int id, bool on);

// Redraws the menu bar of a top-level window after changes.
void MenuBarRedraw(uint32_t win);
// Screen rectangles of the bar's items (tests and scripts click on them).
PlRect MenuBarItemRect(uint32_t win, int position);
// Screen rectangle of the item at position of the popup open now (empty when
// that popup is not open).
PlRect MenuOpenItemRect(uint32_t menu, int position);

// Shows a popup menu at a screen point and tracks it. Returns the chosen
// command (0 = none); unless ReturnCmd is given the command is also posted to
// the owner.
int MenuTrackPopup(uint32_t popup, uint32_t flags, PlPoint screen, uint32_t owner);
// True while a menu is being tracked.
bool MenuTracking();
// The bar item shown selected and the popup item selected while tracking
// (-1 = none).
int MenuTrackBarItem();
int MenuTrackPopupItem();

// Command ids of the maximised MDI child's system menu (handled by the layer).
constexpr int kPlScRestore = 0xF120;
constexpr int kPlScMinimize = 0xF020;
constexpr int kPlScClose = 0xF060;
