// settings_group_windows.h - the windows that gather settings windows of
// one topic (the form choices of every document, the number series of
// every register): a list with a line a member, each opening its window.
#pragma once

#include <cstdint>

// The window types a group window of type `type` lists, in its order: the
// numbers of its layout's operations entries that name a defined window
// type the user may open. Fills at most `max` into types; the count.
int SettingsGroupMembers(int type, int *types, int max);
// Fills group window n's list, a line a member (its operation's label),
// the first selected.
void SettingsGroupFill(int n);
// Opens the member of line `line` of group window n; false (a beep) when
// there is no such line.
bool SettingsGroupOpen(int n, int line);
// The events of a group window: filled when prepared (22), the selected
// line opened by OK (11), operation k of its menu opened by event 23.
uint8_t SettingsGroupEvent(int window, int event, void *a, void *b);
