// Bitmaps: pixel order of every depth (bit order, nibble order, row padding,
// bottom-up and top-down rows), stretched drawing, and refusal of headers and
// buffers that do not agree.
#include <gtest/gtest.h>

#include <vector>

#include "platform/bitmap.h"

namespace {

const std::vector<uint8_t> kTwoColours = {0, 0, 0, 0, 0, 0, 255, 0};  // black, red (B, G, R, -)

PlColor SurfacePixelOf(cairo_surface_t *s, int x, int y) { return PlSurfacePixel(s, x, y); }

}  // namespace

TEST(DrawBitmap, DepthsAndRowOrder)
{
    // 1 bit, 10 x 2, bottom-up: rows of 2 bytes padded to 4.
    std::vector<uint8_t> bits1 = {
        0x80, 0x40, 0, 0,  // bottom row: pixels 0 and 9 set
        0x01, 0x00, 0, 0,  // top row: pixel 7 set
    };
    PlDib d1{{10, 2, 1, 1, 0, 0}, kTwoColours, bits1};
    EXPECT_EQ(DibRowBytes(d1.header), 4u);
    PlDibError e;
    cairo_surface_t *s = DibToSurface(d1, &e);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(e, PlDibError::None);
    EXPECT_EQ(SurfacePixelOf(s, 7, 0), kPlRed);
    EXPECT_EQ(SurfacePixelOf(s, 6, 0), kPlBlack);
    EXPECT_EQ(SurfacePixelOf(s, 0, 1), kPlRed);
    EXPECT_EQ(SurfacePixelOf(s, 9, 1), kPlRed);
    EXPECT_EQ(SurfacePixelOf(s, 8, 1), kPlBlack);
    cairo_surface_destroy(s);

    // 4 bit, 3 x 2, top-down; high nibble first; index 3 is past the table: black.
    std::vector<uint8_t> pal4 = {255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0};  // blue, green, red
    std::vector<uint8_t> bits4 = {0x01, 0x20, 0, 0, 0x33, 0x10, 0, 0};
    PlDib d4{{3, -2, 1, 4, 0, 3}, pal4, bits4};
    s = DibToSurface(d4, nullptr);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SurfacePixelOf(s, 0, 0), PlRgb(0, 0, 255));
    EXPECT_EQ(SurfacePixelOf(s, 1, 0), PlRgb(0, 255, 0));
    EXPECT_EQ(SurfacePixelOf(s, 2, 0), kPlRed);
    EXPECT_EQ(SurfacePixelOf(s, 0, 1), kPlBlack);
    EXPECT_EQ(SurfacePixelOf(s, 2, 1), PlRgb(0, 255, 0));
    cairo_surface_destroy(s);

    // 8 and 24 bit.
    std::vector<uint8_t> bits8 = {1, 0, 0, 0};
    s = DibToSurface(PlDib{{2, 1, 1, 8, 0, 2}, kTwoColours, bits8}, nullptr);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SurfacePixelOf(s, 0, 0), kPlRed);
    EXPECT_EQ(SurfacePixelOf(s, 1, 0), kPlBlack);
    cairo_surface_destroy(s);
    std::vector<uint8_t> bits24 = {0x30, 0x20, 0x10, 0x60, 0x50, 0x40, 0, 0};  // B G R per pixel
    s = DibToSurface(PlDib{{2, 1, 1, 24, 0, 0}, {}, bits24}, nullptr);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SurfacePixelOf(s, 0, 0), PlRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(SurfacePixelOf(s, 1, 0), PlRgb(0x40, 0x50, 0x60));
    cairo_surface_destroy(s);
}

TEST(DrawBitmap, StretchIntoRectangle)
{
    // 2 x 2, 24 bit, bottom-up: bottom row blue, red; top row green, white.
    std::vector<uint8_t> bits = {255, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 255, 255, 255, 0, 0};
    PlDib dib{{2, 2, 1, 24, 0, 0}, {}, bits};
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 30, 30);
    DrawContext *dc = DcCreate(s, 2, 2, nullptr, 0);
    DcFillRect(dc, PlRect{-2, -2, 28, 28}, kPlBrushGrey);
    EXPECT_EQ(DcDrawDib(dc, dib, PlRect{4, 4, 12, 8}), PlDibError::None);  // 4x wide, 2x high
    // Surface 6..14 x 6..10.
    EXPECT_EQ(PlSurfacePixel(s, 6, 6), PlRgb(0, 255, 0));
    EXPECT_EQ(PlSurfacePixel(s, 10, 7), kPlWhite);
    EXPECT_EQ(PlSurfacePixel(s, 13, 7), kPlWhite);
    EXPECT_EQ(PlSurfacePixel(s, 6, 8), PlRgb(0, 0, 255));
    EXPECT_EQ(PlSurfacePixel(s, 13, 9), kPlRed);
    EXPECT_EQ(PlSurfacePixel(s, 14, 9), kPlGrey);
    EXPECT_EQ(PlSurfacePixel(s, 13, 10), kPlGrey);
    // An invalid bitmap draws nothing.
    PlDib bad = dib;
    bad.bits = std::span<const uint8_t>(bits.data(), 15);
    EXPECT_EQ(DcDrawDib(dc, bad, PlRect{0, 20, 20, 26}), PlDibError::BitsTooShort);
    EXPECT_EQ(PlSurfacePixel(s, 10, 24), kPlGrey);
    DcDestroy(dc);
    cairo_surface_destroy(s);
}

TEST(DrawBitmap, RefusesInconsistentInput)
{
    std::vector<uint8_t> bits(64, 0);
    auto check = [&](PlDibHeader h, std::span<const uint8_t> pal, std::span<const uint8_t> b) {
        PlDibError e = PlDibError::None;
        cairo_surface_t *s = DibToSurface(PlDib{h, pal, b}, &e);
        EXPECT_EQ(s == nullptr, e != PlDibError::None);
        if (s != nullptr) cairo_surface_destroy(s);
        return e;
    };
    EXPECT_EQ(check({4, 4, 1, 8, 0, 2}, kTwoColours, bits), PlDibError::None);
    EXPECT_EQ(check({4, 4, 1, 8, 0, 0}, kTwoColours, bits), PlDibError::PaletteTooShort);  // needs 256 entries
    EXPECT_EQ(check({4, 4, 1, 8, 0, 300}, kTwoColours, bits), PlDibError::Unsupported);
    EXPECT_EQ(check({5, 4, 1, 24, 0, 0}, {}, bits), PlDibError::None);  // 15 bytes padded to 16, x 4 = 64
    EXPECT_EQ(check({0, 4, 1, 24, 0, 0}, {}, bits), PlDibError::BadSize);
    EXPECT_EQ(check({4, 0, 1, 24, 0, 0}, {}, bits), PlDibError::BadSize);
    EXPECT_EQ(check({40000, 1, 1, 1, 0, 0}, kTwoColours, bits), PlDibError::BadSize);
    EXPECT_EQ(check({30000, -30000, 1, 1, 0, 0}, kTwoColours, bits), PlDibError::BadSize);
    EXPECT_EQ(check({4, 4, 1, 16, 0, 0}, {}, bits), PlDibError::Unsupported);
    EXPECT_EQ(check({4, 4, 1, 8, 1, 2}, kTwoColours, bits), PlDibError::Unsupported);  // run-length
    // An information header as stored in a file.
    std::vector<uint8_t> raw(40, 0);
    raw[0] = 40;
    raw[4] = 3;                      // width 3
    raw[8] = 0xFE, raw[9] = 0xFF, raw[10] = 0xFF, raw[11] = 0xFF;  // height -2
    raw[12] = 1;
    raw[14] = 4;
    raw[32] = 5;
    PlDibHeader h{};
    ASSERT_EQ(DibHeaderFromBytes(raw, &h), PlDibError::None);
    EXPECT_EQ(h.width, 3);
    EXPECT_EQ(h.height, -2);
    EXPECT_EQ(h.bitCount, 4);
    EXPECT_EQ(h.colorsUsed, 5u);
    EXPECT_EQ(DibPaletteEntries(h), 5u);
    EXPECT_EQ(DibHeaderFromBytes(std::span<const uint8_t>(raw.data(), 39), &h), PlDibError::BadHeader);
    raw[0] = 12;
    EXPECT_EQ(DibHeaderFromBytes(raw, &h), PlDibError::BadHeader);
}
