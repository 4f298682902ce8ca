// bmp_file.cpp - reading picture files into packed blocks and drawing
// such blocks stretched into a rectangle.
#include "core/bmp_file.h"

// Reads a picture file; not built yet: no file is read (0).
MemBlock ReadBmpFile(FILE *file) { return 0; }

// Reads n bytes in pieces; not built yet: nothing is read (false).
bool ReadFileChunked(FILE *file, uint8_t *to, uint32_t n) { return false; }

// The colour-table entries of a header; not built yet: 0.
uint32_t DibColorCount(const uint8_t *header) { return 0; }

// The colour table's bytes; not built yet: 0.
uint32_t DibPaletteSize(const uint8_t *header) { return 0; }

// The first pixel row; not built yet: null.
uint8_t *DibBits(uint8_t *dib) { return nullptr; }

// A checked view of a block; not built yet: refused (false).
bool PackedDibView(const uint8_t *dib, uint32_t size, PlDib *out) { return false; }

// Draws a block into a rectangle; not built yet: nothing is drawn (false).
bool StretchDibInRect(DrawContext *dc, const PlRect &rect, const uint8_t *dib, uint32_t size, int keep) { return false; }

// Puts the bullet in front of a text; not built yet: the text stays as it is.
void BulletPrefix(uint8_t *text) {}
