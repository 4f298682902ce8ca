// Device-independent bitmaps held in memory as a header, a colour table and
// the pixel rows, as a picture file gives them: 1, 4, 8, 24 or 32 bits per
// pixel, uncompressed, rows padded to 4 bytes, bottom row first when the
// height is positive (top row first when negative). Everything is checked
// against the buffers before a byte is read; then the picture is drawn,
// stretched, into a rectangle of a DrawContext. Reading the file is the
// caller's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/draw.h"

struct PlDibHeader {
    int32_t width;         // pixels, > 0
    int32_t height;        // rows; > 0 bottom-up, < 0 top-down
    uint16_t planes;       // must be 1
    uint16_t bitCount;     // 1, 4, 8, 24 or 32
    uint32_t compression;  // only 0 (uncompressed)
    uint32_t colorsUsed;   // colour-table entries; 0 = all 2^bitCount (indexed formats)
};

// A bitmap: the header, its colour table (4 bytes an entry: blue, green, red,
// unused) and its pixel rows. The spans are not owned.
struct PlDib {
    PlDibHeader header;
    std::span<const uint8_t> palette;
    std::span<const uint8_t> bits;
};

enum class PlDibError : uint8_t {
    None,
    BadHeader,          // shorter than 40 bytes or a header size below 40
    BadSize,            // width or height zero, negative width, or larger than the limits
    Unsupported,        // planes, bit count or compression we do not draw
    PaletteTooShort,    // fewer colour-table bytes than the header announces
    BitsTooShort,       // fewer pixel bytes than width x height need
};

// Largest width or height accepted, and the largest pixel count.
constexpr int32_t kPlDibMaxSide = 32768;
constexpr int64_t kPlDibMaxPixels = int64_t(1) << 26;

// Reads the 40-byte information header (little-endian, as stored in a picture
// file after the file header) into *out. Fails with BadHeader.
PlDibError DibHeaderFromBytes(std::span<const uint8_t> bytes, PlDibHeader *out);

// Bytes of one padded row, and colour-table entries the header requires (0 for
// 24 and 32 bits); meaningful only for a header DibValidate accepts.
size_t DibRowBytes(const PlDibHeader &h);
size_t DibPaletteEntries(const PlDibHeader &h);

// Checks the header and the buffer sizes.
PlDibError DibValidate(const PlDib &dib);

// The bitmap as a new RGB24 image surface (the caller destroys it), top row
// first; null with *error set (error may be null) when DibValidate fails.
// A colour index beyond the colour table is drawn black.
cairo_surface_t *DibToSurface(const PlDib &dib, PlDibError *error);

// Draws the bitmap stretched into dest (logical; nearest-pixel scaling, so a
// 1:1 or whole-multiple drawing is exact). Draws nothing for an empty dest or
// an invalid bitmap and returns the reason.
PlDibError DcDrawDib(DrawContext *dc, const PlDib &dib, const PlRect &dest);

// Human-readable reason, for messages and logs.
const char *DibErrorText(PlDibError e);
