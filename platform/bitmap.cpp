// Validation, conversion and stretched drawing of in-memory device-independent
// bitmaps (see bitmap.h for the layout). Sizes are computed in 64 bits and
// checked against the buffers before any pixel is read, so a damaged picture
// file can only be refused, never read past.
#include "platform/bitmap.h"

#include "platform/draw_internal.h"

namespace {

uint32_t Le32(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t *p) { return uint16_t(p[0] | p[1] << 8); }

bool IsIndexed(uint16_t bits) { return bits == 1 || bits == 4 || bits == 8; }

int64_t Rows(const PlDibHeader &h) { return h.height < 0 ? -int64_t(h.height) : int64_t(h.height); }

}  // namespace

PlDibError DibHeaderFromBytes(std::span<const uint8_t> bytes, PlDibHeader *out)
{
    // Layout: u32 header size, i32 width, i32 height, u16 planes, u16 bit count,
    // u32 compression, u32 image size, i32 x and y pixels per metre,
    // u32 colours used, u32 colours important.
    if (bytes.size() < 40 || Le32(bytes.data()) < 40) return PlDibError::BadHeader;
    const uint8_t *p = bytes.data();
    out->width = int32_t(Le32(p + 4));
    out->height = int32_t(Le32(p + 8));
    out->planes = Le16(p + 12);
    out->bitCount = Le16(p + 14);
    out->compression = Le32(p + 16);
    out->colorsUsed = Le32(p + 32);
    return PlDibError::None;
}

size_t DibRowBytes(const PlDibHeader &h)
{
    return size_t((int64_t(h.width) * h.bitCount + 31) / 32 * 4);
}

size_t DibPaletteEntries(const PlDibHeader &h)
{
    if (!IsIndexed(h.bitCount)) return 0;
    return h.colorsUsed != 0 ? h.colorsUsed : size_t(1) << h.bitCount;
}

PlDibError DibValidate(const PlDib &dib)
{
    const PlDibHeader &h = dib.header;
    if (h.width <= 0 || h.height == 0 || h.width > kPlDibMaxSide || Rows(h) > kPlDibMaxSide ||
        int64_t(h.width) * Rows(h) > kPlDibMaxPixels)
        return PlDibError::BadSize;
    if (h.planes != 1 || h.compression != 0 ||
        !(IsIndexed(h.bitCount) || h.bitCount == 24 || h.bitCount == 32))
        return PlDibError::Unsupported;
    if (IsIndexed(h.bitCount) && h.colorsUsed > (uint32_t(1) << h.bitCount)) return PlDibError::Unsupported;
    if (dib.palette.size() < DibPaletteEntries(h) * 4) return PlDibError::PaletteTooShort;
    if (uint64_t(dib.bits.size()) < uint64_t(DibRowBytes(h)) * uint64_t(Rows(h))) return PlDibError::BitsTooShort;
    return PlDibError::None;
}

cairo_surface_t *DibToSurface(const PlDib &dib, PlDibError *error)
{
    PlDibError e = DibValidate(dib);
    if (error != nullptr) *error = e;
    if (e != PlDibError::None) return nullptr;
    const PlDibHeader &h = dib.header;
    int w = h.width, rows = int(Rows(h));
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, rows);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        if (error != nullptr) *error = PlDibError::BadSize;
        return nullptr;
    }
    cairo_surface_flush(s);
    unsigned char *out = cairo_image_surface_get_data(s);
    int stride = cairo_image_surface_get_stride(s);
    size_t rowBytes = DibRowBytes(h), entries = DibPaletteEntries(h);
    auto paletteColour = [&](size_t index) -> uint32_t {
        if (index >= entries) return 0;
        const uint8_t *q = dib.palette.data() + index * 4;
        return PlRgb(q[2], q[1], q[0]);
    };
    for (int y = 0; y < rows; y++) {
        int srcRow = h.height > 0 ? rows - 1 - y : y;
        const uint8_t *src = dib.bits.data() + size_t(srcRow) * rowBytes;
        auto *dst = reinterpret_cast<uint32_t *>(out + size_t(y) * stride);
        for (int x = 0; x < w; x++) {
            switch (h.bitCount) {
            case 1: dst[x] = paletteColour((src[x >> 3] >> (7 - (x & 7))) & 1); break;
            case 4: dst[x] = paletteColour((src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F); break;
            case 8: dst[x] = paletteColour(src[x]); break;
            case 24: dst[x] = PlRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
            default: dst[x] = PlRgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]); break;
            }
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

PlDibError DcDrawDib(DrawContext *dc, const PlDib &dib, const PlRect &dest)
{
    PlDibError e = DibValidate(dib);
    if (e != PlDibError::None || PlRectEmpty(dest)) return e;
    cairo_surface_t *s = DibToSurface(dib, &e);
    if (s == nullptr) return e;
    cairo_t *cr = dc->cr;
    cairo_save(cr);
    cairo_rectangle(cr, dest.left, dest.top, PlRectWidth(dest), PlRectHeight(dest));
    cairo_clip(cr);
    cairo_translate(cr, dest.left, dest.top);
    cairo_scale(cr, double(PlRectWidth(dest)) / dib.header.width, double(PlRectHeight(dest)) / Rows(dib.header));
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(s);
    return PlDibError::None;
}

const char *DibErrorText(PlDibError e)
{
    switch (e) {
    case PlDibError::None: return "no error";
    case PlDibError::BadHeader: return "the bitmap header is damaged";
    case PlDibError::BadSize: return "the bitmap size is invalid or too large";
    case PlDibError::Unsupported: return "the bitmap format is not supported";
    case PlDibError::PaletteTooShort: return "the bitmap colour table is incomplete";
    case PlDibError::BitsTooShort: return "the bitmap pixel data is incomplete";
    }
    return "unknown bitmap error";
}
