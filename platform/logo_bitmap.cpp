// logo_bitmap.cpp - the program's own bitmap resources.
#include "platform/logo_bitmap.h"

// The bytes of resource n; not built yet: no resource (empty).
std::span<const uint8_t> PlBitmapResource(int n) { return {}; }
