// remote_exec.cpp - a client runs the output commands its server sent on
// its own devices.
//
// Not built yet: a received buffer is refused whole.
#include "output/devices/device_table.h"

// Runs received output commands; not built yet: refused (false), nothing runs.
bool RepExecRemote(const uint8_t *, uint32_t) { return false; }

// Ends a received job when its connection ends; not built yet: does nothing.
void RepRemoteJobEnd(RemoteJobEnd) {}
