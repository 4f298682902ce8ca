// device_printer.cpp - the printer (kind 1) as a report output device.
//
// Not built yet: a report job on the printer is refused (told, stopped).
#include "output/devices/device_table.h"

namespace {

// The job start of a device not built yet: refused.
bool OpenNotYet(const uint8_t *) { return RepDeviceNotYet(); }

}  // namespace

const RepDevice PrinterDevice = {.openJob = OpenNotYet};
