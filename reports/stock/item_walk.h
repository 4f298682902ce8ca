// item_walk.h - the walk over the items of report 9's selection, shared by
// its two layouts.
#pragma once

#include <cstdint>

// Calls each for every item of the code range (SelText1) and, when
// SelText3 is given, of the item-group range, in group order then; the
// items whose vendor text differs from SelText7 (when given) are passed
// over. Stops when the user presses Esc, after the item at hand.
void ItemWalk(const uint8_t *selection, void (*each)(const uint8_t *item, void *context), void *context);
