// choice_list_start.h - filling the choice list of window n: a list of
// the opener's register, of a list kind, or a special list.
#pragma once

constexpr int ListNoFill = 563, ListFontNames = 564;

// Fills n's list from the register of its opener on the opener's date.
void ChoiceListStart(int n);
// Fills n's list with list kind `list` for a value and focuses it.
void ChoiceListStartRange(int n, int list, int value);
// Fills n's list with a special list (ListNoFill, ListFontNames) and focuses it.
void ChoiceListStartSpecial(int n, int list);
// The special list that fills nothing.
void NoOpFontList();
