// ui_text.h - user-interface texts by number.
//
// Every text the user sees comes from the interface file by number.
// This is the lookup that the core types need (month names); the
// interface-file loader fills the table.
#pragma once

#include <cstdint>

// Copies text number n into out (a PString). A number the loaded
// interface file lacks, number 0, or any number while none is loaded,
// gives the empty text.
void GetUiText(int n, uint8_t *out);

// The text table as the interface-file loader hands it over: a lookup
// function, or null when no interface file is loaded.
using UiTextLookup = const uint8_t *(*)(int n);
void UiTextSetLookup(UiTextLookup lookup);
