// font_list.cpp - the choice list of the installed font families.
#include "output/output_job.h"

// Lists the font families; not built yet: the list stays empty.
void EnumFontNames(int list) {}

// Adds one face to the list; not built yet: refused (false).
bool FontEnumCallback(const uint8_t *face) { return false; }
