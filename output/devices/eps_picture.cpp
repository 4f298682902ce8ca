// eps_picture.cpp - the texts that would include an EPS picture in
// PostScript output, handed to the platform's pass-through.
//
// Not built yet.
#include "output/devices/device_table.h"

void (*PostScriptPassThrough)(const uint8_t *text) = nullptr;

// Composes the EPS inclusion texts; not built yet: does nothing.
void EpsPictureOut(MemBlock, MemBlock, const PackedDecimal[4], const PackedDecimal[4], const uint8_t *, int) {}
