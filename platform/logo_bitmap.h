// logo_bitmap.h - the program's own bitmap resources: the logo (1) and
// its compact form (3), as packed bitmaps (a 40-byte information header,
// the colour table and the pixel rows).
#pragma once

#include <cstdint>
#include <span>

// The bytes of resource n; empty for a number that is not a resource.
std::span<const uint8_t> PlBitmapResource(int n);
