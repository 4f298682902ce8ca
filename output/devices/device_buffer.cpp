// device_buffer.cpp - the memory buffer device (kinds 5 and 8).
//
// Not built yet: a job on it is refused (told, stopped).
#include "output/devices/device_table.h"

namespace {

// The job start of a device not built yet: refused.
bool OpenNotYet(const uint8_t *) { return RepDeviceNotYet(); }

}  // namespace

const RepDevice BufferDevice = {.openJob = OpenNotYet};

// Appends a text and a separator; not built yet: the job stops, nothing is appended.
void RepBufferAppend(const uint8_t *, uint8_t) { RepStopped = 1; }
