// print_destination.cpp - the print destinations of form prints and
// their opening.
//
// Not built yet: a print open is refused (told, stopped).
#include "output/devices/device_table.h"

PString PrintSetupTexts[3];

// Opens a destination; not built yet: refused (told, stopped, false).
bool PrintOpen(int, int, const uint8_t *, const uint8_t *) { return RepDeviceNotYet(); }
