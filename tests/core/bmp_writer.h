// bmp_writer.h - picture files written byte by byte for the picture
// reader's tests and fuzz seeds, each field settable so that a test can
// make a file lie about itself.
#pragma once

#include <cstdint>
#include <vector>

// One picture file to write. -1 in a field marked "auto" takes the value
// a well-formed file has.
struct BmpShape {
    int32_t width = 5, height = 3;     // a negative height writes the top row first
    uint16_t bits = 8;
    uint16_t magic = 19778;
    uint32_t headerSize = 40;          // 12 writes the older header; 108 and 124 pad with zeros
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;           // the field as written
    int64_t tableEntries = -1;         // auto: colorsUsed, else 2^bits for 1, 4, 8 bits, else 0
    int64_t imageSizeField = -1;       // auto: the rows' bytes
    int64_t bitsOffset = -1;           // auto: right after the table and the gap
    uint32_t gap = 0;                  // bytes between the table and the rows
};

// The colour of table entry i of every written file, as 0xRRGGBB.
inline uint32_t BmpTestColor(uint32_t i)
{
    return ((i * 37u + 11u) & 255u) << 16 | ((i * 91u + 50u) & 255u) << 8 | ((i * 13u + 100u) & 255u);
}

// The value of pixel (x, y), top row 0: a table index for 1, 4 and 8
// bits, a colour 0xRRGGBB otherwise.
inline uint32_t BmpTestPixel(const BmpShape &s, int x, int y)
{
    if (s.bits <= 8) {
        uint32_t entries = s.colorsUsed ? s.colorsUsed : 1u << s.bits;
        return uint32_t(x + 3 * y) % entries;
    }
    return uint32_t(x * 40 + 7) % 256 << 16 | uint32_t(y * 60 + 3) % 256 << 8 | uint32_t(x * 11 + y * 17) % 256;
}

// Bytes of one padded row.
inline uint32_t BmpRowBytes(const BmpShape &s) { return (uint32_t(s.width) * s.bits + 31) / 32 * 4; }

inline void BmpPut(std::vector<uint8_t> &out, size_t at, uint32_t v, int bytes)
{
    if (out.size() < at + size_t(bytes)) out.resize(at + size_t(bytes));
    for (int i = 0; i < bytes; i++) out[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// The file's bytes, pixels from BmpTestPixel.
inline std::vector<uint8_t> BmpWrite(const BmpShape &s)
{
    uint32_t rows = uint32_t(s.height < 0 ? -s.height : s.height);
    uint32_t rowBytes = BmpRowBytes(s), image = rowBytes * rows;
    uint32_t entries = s.tableEntries >= 0 ? uint32_t(s.tableEntries)
                       : s.colorsUsed     ? s.colorsUsed
                       : s.bits <= 8      ? 1u << s.bits
                                          : 0u;
    uint32_t entrySize = s.headerSize == 12 ? 3 : 4;
    uint32_t tableAt = 14 + s.headerSize, bitsAt = tableAt + entries * entrySize + s.gap;
    std::vector<uint8_t> out(bitsAt + image, 0);
    BmpPut(out, 0, s.magic, 2);
    BmpPut(out, 2, uint32_t(out.size()), 4);
    BmpPut(out, 10, s.bitsOffset >= 0 ? uint32_t(s.bitsOffset) : bitsAt, 4);
    BmpPut(out, 14, s.headerSize, 4);
    if (s.headerSize == 12) {
        BmpPut(out, 18, uint32_t(s.width), 2);
        BmpPut(out, 20, uint32_t(s.height), 2);
        BmpPut(out, 22, 1, 2);
        BmpPut(out, 24, s.bits, 2);
    } else {
        BmpPut(out, 18, uint32_t(s.width), 4);
        BmpPut(out, 22, uint32_t(s.height), 4);
        BmpPut(out, 26, 1, 2);
        BmpPut(out, 28, s.bits, 2);
        BmpPut(out, 30, s.compression, 4);
        BmpPut(out, 34, s.imageSizeField >= 0 ? uint32_t(s.imageSizeField) : image, 4);
        BmpPut(out, 46, s.colorsUsed, 4);
    }
    for (uint32_t i = 0; i < entries; i++) {
        BmpPut(out, tableAt + i * entrySize, BmpTestColor(i), 3);   // blue, green, red
    }
    for (uint32_t y = 0; y < rows; y++) {
        uint32_t fileRow = s.height < 0 ? y : rows - 1 - y;
        uint8_t *row = out.data() + bitsAt + fileRow * rowBytes;
        for (int x = 0; x < s.width; x++) {
            uint32_t v = BmpTestPixel(s, x, int(y));
            switch (s.bits) {
            case 1: row[x / 8] |= uint8_t((v & 1u) << (7 - x % 8)); break;
            case 4: row[x / 2] |= uint8_t((v & 15u) << (x % 2 ? 0 : 4)); break;
            case 8: row[x] = uint8_t(v); break;
            case 16: row[2 * x] = uint8_t(v); row[2 * x + 1] = uint8_t(v >> 8); break;
            default: {
                int step = s.bits / 8;
                row[step * x] = uint8_t(v);
                row[step * x + 1] = uint8_t(v >> 8);
                row[step * x + 2] = uint8_t(v >> 16);
                break;
            }
            }
        }
    }
    return out;
}

// The colour pixel (x, y) of a written file shows, as 0xRRGGBB.
inline uint32_t BmpTestShown(const BmpShape &s, int x, int y)
{
    uint32_t v = BmpTestPixel(s, x, y);
    return s.bits <= 8 ? BmpTestColor(v) : v & 0xFFFFFFu;
}
