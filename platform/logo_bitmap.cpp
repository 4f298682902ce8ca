// logo_bitmap.cpp - the program's own bitmap resources, made by code at
// their first use rather than kept as binary files: the logo (1), a
// 24 x 24 ledger page under a ring, and its compact form (3), the ring
// alone in 16 x 16. Both are 8-bit packed bitmaps, bottom row first. They
// stay smaller than 28 pixels so that, drawn at (3, 3), they end above
// the texts of the About window.
#include "platform/logo_bitmap.h"

#include <array>
#include <cassert>
#include <vector>

namespace {

// Colour-table indices of the resources.
enum LogoColor : uint8_t { Navy, White, Gold, Green, ColorCount };

// The colour table, as red, green, blue.
constexpr std::array<std::array<uint8_t, 3>, ColorCount> LogoPalette = {{
    {0x1F, 0x3A, 0x68},   // navy ground
    {0xFF, 0xFF, 0xFF},   // the ring
    {0xE8, 0xB4, 0x2A},   // gold ledger lines
    {0x2E, 0x8B, 0x57},   // the green tick of a booked entry
}};

void PutLe(std::vector<uint8_t> &out, size_t at, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; i++) out[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// The colour of pixel (x, y), top row 0, of a logo `side` pixels square;
// the compact form keeps only the ring.
uint8_t LogoPixel(int x, int y, int side, bool compact)
{
    // The ring: twice the distance from the centre, squared, against the
    // ring's inner and outer radii (in half pixels, so both sizes stay even).
    int dx = 2 * x + 1 - side, dy = 2 * y + 1 - side;
    int d2 = dx * dx + dy * dy;
    int outer = side - 2, inner = side - 7;
    if (d2 <= outer * outer && d2 >= inner * inner) return White;
    if (compact) return Navy;
    // Inside the ring: three gold ledger lines and a green tick, two
    // pixels thick, beside them.
    if (d2 < inner * inner) {
        if ((y == 9 || y == 12 || y == 15) && x >= 7 && x <= 12) return Gold;
        static constexpr int TickY[] = {12, 13, 14, 13, 12, 11};   // for x = 14..19
        if (x >= 14 && x <= 19 && (y == TickY[x - 14] || y == TickY[x - 14] + 1)) return Green;
    }
    return Navy;
}

// A packed 8-bit bitmap of the logo: header, colour table, rows.
std::vector<uint8_t> MakeLogo(int side, bool compact)
{
    assert(side > 0 && side <= 24 && side % 4 == 0);
    constexpr size_t header = 40, table = ColorCount * 4;
    size_t rowBytes = size_t(side);   // 8 bits a pixel, a multiple of 4 already
    std::vector<uint8_t> out(header + table + rowBytes * size_t(side), 0);
    PutLe(out, 0, header, 4);
    PutLe(out, 4, uint32_t(side), 4);
    PutLe(out, 8, uint32_t(side), 4);       // positive: bottom row first
    PutLe(out, 12, 1, 2);                   // planes
    PutLe(out, 14, 8, 2);                   // bits a pixel
    PutLe(out, 20, uint32_t(rowBytes * size_t(side)), 4);
    PutLe(out, 24, 2835, 4);                // 72 dots an inch
    PutLe(out, 28, 2835, 4);
    PutLe(out, 32, ColorCount, 4);
    for (size_t i = 0; i < ColorCount; i++) {
        out[header + 4 * i] = LogoPalette[i][2];
        out[header + 4 * i + 1] = LogoPalette[i][1];
        out[header + 4 * i + 2] = LogoPalette[i][0];
    }
    uint8_t *bits = out.data() + header + table;
    for (int y = 0; y < side; y++)
        for (int x = 0; x < side; x++) bits[size_t(side - 1 - y) * rowBytes + size_t(x)] = LogoPixel(x, y, side, compact);
    return out;
}

}  // namespace

// The bytes of resource n: 1 the logo, 3 its compact form; empty for any
// other number. Made once, on the first call, and kept for the run.
std::span<const uint8_t> PlBitmapResource(int n)
{
    static const std::vector<uint8_t> logo = MakeLogo(24, false);
    static const std::vector<uint8_t> compact = MakeLogo(16, true);
    if (n == 1) return logo;
    if (n == 3) return compact;
    return {};
}
