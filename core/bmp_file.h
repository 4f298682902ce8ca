// bmp_file.h - picture files read into the packed form the program keeps
// in a block (the 40-byte information header, the colour table and the
// pixel rows, as platform/bitmap.h describes them), and such blocks drawn
// stretched into a rectangle.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/memblock.h"
#include "platform/bitmap.h"
#include "platform/draw.h"
#include "platform/geometry.h"

constexpr uint32_t BmpInfoHeaderSize = 40;
constexpr uint32_t BmpMaxColors = 256;               // the colour table is capped here
constexpr uint32_t BmpStartBlockSize = 1064;         // header + largest colour table

// Reads a picture file from its start into a new packed block (header
// size 40); 0 when the file is not a picture this program draws.
MemBlock ReadBmpFile(FILE *file);
// Reads n bytes in pieces of at most 32767; true at once for 0.
bool ReadFileChunked(FILE *file, uint8_t *to, uint32_t n);
// Colour-table entries of a 40-byte or 12-byte header.
uint32_t DibColorCount(const uint8_t *header);
// Bytes of the colour table of a header.
uint32_t DibPaletteSize(const uint8_t *header);
// The first pixel row of a packed bitmap.
uint8_t *DibBits(uint8_t *dib);
// A checked view of a packed block of `size` bytes; false when the
// platform would refuse to draw it.
bool PackedDibView(const uint8_t *dib, uint32_t size, PlDib *out);
// Draws a packed bitmap stretched into rect; keep 0 draws a square of the
// rectangle's smaller side. False when nothing was drawn.
bool StretchDibInRect(DrawContext *dc, const PlRect &rect, const uint8_t *dib, uint32_t size, int keep);
// Puts the bullet character and a blank in front of a PString.
void BulletPrefix(uint8_t *text);
