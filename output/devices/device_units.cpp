// device_units.cpp - the devices' widths and position tables in report units.
//
// Not built yet: no device has a width.
#include "output/devices/device_table.h"

// The current device's table and width; not built yet: the table as it
// is, width 0 (none).
void RepPageWidth(PositionTable *, int32_t *width) { *width = 0; }
