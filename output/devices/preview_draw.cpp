// preview_draw.cpp - painting the preview window from its store.
//
// Not built yet.
#include "output/devices/device_table.h"

// Paints the preview; not built yet: does nothing.
void PreviewPaint(int) {}

// Draws a band of items; not built yet: does nothing.
void PreviewDrawFrom(int, int32_t, int32_t) {}

// Draws the header band; not built yet: does nothing.
void PreviewDrawAbove(int) {}

// Draws the page marks; not built yet: does nothing.
void PreviewDrawMarks(int) {}
