// preview_layout.cpp - the preview's layout of its store and its page index.
//
// Not built yet.
#include "output/devices/device_table.h"

// Lays out the store; not built yet: does nothing.
void PreviewLayout(int) {}
