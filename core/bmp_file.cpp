// bmp_file.cpp - reading picture files into packed blocks and drawing
// such blocks stretched into a rectangle.
//
// A picture file, as read here (all numbers little-endian):
//   file header, 14 bytes: u16 magic 19778 ("BM"), u32 file size, two
//     reserved u16, u32 offset of the pixel rows from the file's start
//     (0: they follow the colour table);
//   information header at 14: u32 header size (40, or 108 and 124 for
//     the longer forms whose first 40 bytes are the same), i32 width,
//     i32 height (negative: top row first), u16 planes, u16 bit count,
//     u32 compression, u32 image size, two i32 resolutions, u32 colours
//     used, u32 colours important;
//   colour table right after the whole header: 4 bytes an entry;
//   pixel rows, each padded to 4 bytes.
//
// The packed block keeps the first 40 header bytes with the header size
// set to 40, the colours-used and image-size fields set to what the block
// holds, then the colour table and the rows. The file is trusted for
// nothing: every size is computed in 64 bits and checked against the
// file's length before the block grows, and the finished block must pass
// the platform's own check, so whatever reaches the drawing code can be
// drawn without reading past the block.
#include "core/bmp_file.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstring>

namespace {

constexpr uint16_t BmpMagic = 19778;        // "BM"
constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t CoreHeaderSize = 12;     // the older header, refused by the reader
constexpr uint32_t ReadPiece = 32767;

// Offsets in the 40-byte information header.
constexpr uint32_t HdrSize = 0, HdrWidth = 4, HdrHeight = 8, HdrBitCount = 14, HdrCompression = 16,
                   HdrImageSize = 20, HdrColorsUsed = 32;
// The bit count of the 12-byte header.
constexpr uint32_t CoreBitCount = 10;

uint32_t Le32(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }
void PutLe32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; i++) p[i] = uint8_t(v >> (8 * i));
}

// Colour-table entries of a bit count: 2, 16 or 256; 0 for the direct
// colour formats and for anything else.
uint32_t EntriesOfBits(uint32_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 ? uint32_t(1) << bits : 0;
}

// The file's length in bytes, the file left at its start; false when it
// cannot be positioned (a pipe, a closed stream).
bool FileLength(FILE *file, uint64_t *length)
{
    if (std::fseek(file, 0, SEEK_END) != 0) return false;
    long end = std::ftell(file);
    if (end < 0 || std::fseek(file, 0, SEEK_SET) != 0) return false;
    *length = uint64_t(end);
    return true;
}

// Positions the file at byte `at`; false when that fails.
bool SeekTo(FILE *file, uint64_t at)
{
    return at <= uint64_t(LONG_MAX) && std::fseek(file, long(at), SEEK_SET) == 0;
}

// What a checked information header asks for.
struct BmpLayout {
    uint32_t colors;      // colour-table entries kept
    uint64_t tableAt;     // file offset of the colour table
    uint64_t bitsAt;      // file offset of the pixel rows
    uint64_t imageSize;   // bytes of the pixel rows
};

// Checks the first 40 header bytes (hdr) and the file header (file)
// against each other and the file's length; fills *out. False for
// anything this program does not draw or the file cannot hold.
bool CheckLayout(const uint8_t *file, const uint8_t *hdr, uint64_t length, BmpLayout *out)
{
    uint32_t size = Le32(hdr + HdrSize);
    if (size != BmpInfoHeaderSize && size != 108 && size != 124) return false;
    int32_t width = int32_t(Le32(hdr + HdrWidth)), height = int32_t(Le32(hdr + HdrHeight));
    uint32_t bits = Le16(hdr + HdrBitCount), used = Le32(hdr + HdrColorsUsed);
    if (Le32(hdr + HdrCompression) != 0) return false;
    if (width <= 0 || height == 0 || height == INT32_MIN) return false;
    int64_t rows = height < 0 ? -int64_t(height) : int64_t(height);
    if (width > kPlDibMaxSide || rows > kPlDibMaxSide || int64_t(width) * rows > kPlDibMaxPixels) return false;
    uint32_t entries = EntriesOfBits(bits);
    if (entries != 0) {
        if (used > entries) return false;
        out->colors = used != 0 ? used : entries;
    } else {
        if (bits != 24 && bits != 32) return false;   // 16 bits among them
        if (used != 0) return false;
        out->colors = 0;
    }
    assert(out->colors <= BmpMaxColors);
    out->imageSize = uint64_t((int64_t(width) * bits + 31) / 32 * 4) * uint64_t(rows);
    uint32_t stored = Le32(hdr + HdrImageSize);
    if (stored != 0 && stored < out->imageSize) return false;
    out->tableAt = FileHeaderSize + uint64_t(size);
    uint64_t tableEnd = out->tableAt + uint64_t(out->colors) * 4;
    if (tableEnd > length) return false;
    uint32_t offset = Le32(file + 10);
    out->bitsAt = offset != 0 ? offset : tableEnd;
    if (out->bitsAt < out->tableAt) return false;   // rows inside the headers
    return out->bitsAt + out->imageSize <= length;
}

}  // namespace

// Reads a picture file from its first byte into a new packed block: the
// 40-byte header (size field 40, colours used and image size filled in),
// the colour table and the pixel rows. 0, with nothing left allocated,
// when the file cannot be read, is not a picture file, uses a form this
// program does not draw (the 12-byte header, 16 bits, compression, more
// colours than its bit count allows), claims more than the file holds,
// or gives a block the platform would refuse to draw.
MemBlock ReadBmpFile(FILE *file)
{
    if (file == nullptr) return 0;
    uint64_t length = 0;
    if (!FileLength(file, &length)) return 0;
    uint8_t fileHeader[FileHeaderSize];
    if (!ReadFileChunked(file, fileHeader, FileHeaderSize) || Le16(fileHeader) != BmpMagic) return 0;
    MemBlock block = MemAlloc(BmpStartBlockSize);
    if (block == 0) return 0;
    uint8_t *p = MemLock(block);
    BmpLayout layout{};
    bool ok = p != nullptr && ReadFileChunked(file, p, BmpInfoHeaderSize) &&
              CheckLayout(fileHeader, p, length, &layout);
    if (ok) {
        PutLe32(p + HdrSize, BmpInfoHeaderSize);
        PutLe32(p + HdrColorsUsed, layout.colors);
        PutLe32(p + HdrImageSize, uint32_t(layout.imageSize));
        ok = SeekTo(file, layout.tableAt) && ReadFileChunked(file, p + BmpInfoHeaderSize, layout.colors * 4);
    }
    if (p != nullptr) MemUnlock(block);
    uint32_t head = BmpInfoHeaderSize + layout.colors * 4;
    ok = ok && MemRealloc(&block, uint32_t(head + layout.imageSize));
    if (ok) {
        p = MemLock(block);
        ok = p != nullptr && SeekTo(file, layout.bitsAt) && ReadFileChunked(file, p + head, uint32_t(layout.imageSize));
        PlDib view;
        ok = ok && PackedDibView(p, MemSize(block), &view);
        if (p != nullptr) MemUnlock(block);
    }
    if (!ok) MemFree(&block);
    return block;
}

// Reads n bytes into `to` in pieces of at most 32767 bytes; true when all
// were read, at once for n = 0.
bool ReadFileChunked(FILE *file, uint8_t *to, uint32_t n)
{
    while (n > 0) {
        size_t piece = std::min(n, ReadPiece);
        if (std::fread(to, 1, piece, file) != piece) return false;
        to += piece;
        n -= uint32_t(piece);
    }
    return true;
}

// The colour-table entries of a header: the colours-used field of a
// 40-byte header when it is not 0, otherwise 2, 16 or 256 from the bit
// count (of the 40-byte header, or of the 12-byte one), 0 for others.
uint32_t DibColorCount(const uint8_t *header)
{
    uint32_t size = Le32(header + HdrSize);
    if (size == CoreHeaderSize) return EntriesOfBits(Le16(header + CoreBitCount));
    uint32_t used = Le32(header + HdrColorsUsed);
    if (size == BmpInfoHeaderSize && used != 0) return used;
    return EntriesOfBits(Le16(header + HdrBitCount));
}

// Bytes of a header's colour table: 4 an entry, 3 with the 12-byte header.
uint32_t DibPaletteSize(const uint8_t *header)
{
    uint32_t entry = Le32(header + HdrSize) == CoreHeaderSize ? 3 : 4;
    return DibColorCount(header) * entry;
}

// The first pixel row of a packed bitmap: past the header and its table.
uint8_t *DibBits(uint8_t *dib) { return dib + Le32(dib + HdrSize) + DibPaletteSize(dib); }

// Fills *out with a view of the packed block dib of `size` bytes: its
// header, the colour table the header announces and the rows after it.
// False when the block is no packed bitmap of this program (a header
// size other than 40, more than 256 colours, a table past the block) or
// the platform's check refuses it.
bool PackedDibView(const uint8_t *dib, uint32_t size, PlDib *out)
{
    if (dib == nullptr || size < BmpInfoHeaderSize || Le32(dib + HdrSize) != BmpInfoHeaderSize) return false;
    if (DibHeaderFromBytes(std::span<const uint8_t>(dib, size), &out->header) != PlDibError::None) return false;
    uint32_t colors = DibColorCount(dib);
    if (colors > BmpMaxColors) return false;
    uint32_t table = colors * 4;
    if (uint64_t(BmpInfoHeaderSize) + table > size) return false;
    out->palette = std::span<const uint8_t>(dib + BmpInfoHeaderSize, table);
    out->bits = std::span<const uint8_t>(dib + BmpInfoHeaderSize + table, size - BmpInfoHeaderSize - table);
    return DibValidate(*out) == PlDibError::None;
}

// Draws the packed bitmap dib (`size` bytes) stretched into rect, the
// colours copied as they are: with keep 0 into a square of the
// rectangle's smaller side at its top-left corner, otherwise into the
// whole rectangle. False (nothing drawn) for an empty rectangle or a
// block that is no drawable bitmap.
bool StretchDibInRect(DrawContext *dc, const PlRect &rect, const uint8_t *dib, uint32_t size, int keep)
{
    if (dc == nullptr || PlRectEmpty(rect)) return false;
    PlDib view;
    if (!PackedDibView(dib, size, &view)) return false;
    PlRect dest = rect;
    if (keep == 0) {
        int side = std::min(PlRectWidth(rect), PlRectHeight(rect));
        dest.right = dest.left + side;
        dest.bottom = dest.top + side;
    }
    return DcDrawDib(dc, view, dest) == PlDibError::None;
}

// Sets the PString text to the bullet character (149) and a blank.
void BulletPrefix(uint8_t *text)
{
    text[0] = 2;
    text[1] = 149;
    text[2] = ' ';
}
