// char_form_grid.cpp - a form page on the character printer: a grid of
// characters that the form's elements are placed in, sent at page end.
//
// Not built yet: a page start is refused (told, stopped).
#include "output/devices/device_table.h"

int16_t CharGridColumns = 120, CharGridLines = 0;

// Starts a grid page; not built yet: refused (told, stopped).
bool CharGridPageStart(const uint8_t *) { return RepDeviceNotYet(); }

// Takes the form's line count; not built yet: does nothing.
void CharGridGeometry(int, int) {}

// Places a text in the grid; not built yet: does nothing.
void CharGridText(const uint8_t *, const PackedDecimal[4], int, int) {}

// Sends the grid; not built yet: does nothing.
void CharGridPageEnd() {}
