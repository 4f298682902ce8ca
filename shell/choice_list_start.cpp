// choice_list_start.cpp - filling the list of a choice-list window when
// it opens: from its opener's register, by list kind, or a special list.
#include "shell/choice_list_start.h"

// Fills n's list from its opener's register; not built yet: the list stays empty.
void ChoiceListStart(int n) {}

// Fills n's list by list kind; not built yet: the list stays empty.
void ChoiceListStartRange(int n, int list, int value) {}

// Fills n's list with a special list; not built yet: the list stays empty.
void ChoiceListStartSpecial(int n, int list) {}

// The special list that fills nothing.
void NoOpFontList() {}
