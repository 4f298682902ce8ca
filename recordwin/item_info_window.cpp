// item_info_window.cpp - the item-information window (type 242,
// "ArtStatIClass"): an item's costs and a row's gross profit.
//
// Not built yet: the window is not updated.
#include "recordwin/record_windows.h"

// Shows an item's costs and gross profit in the open window. Not built
// yet: does nothing.
void ItemInfoWindowUpdate(const uint8_t *item, const uint8_t *costKey, const PackedDecimal *gp,
                          const PackedDecimal *pct) {}
