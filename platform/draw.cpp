// DrawContext over cairo: creation with origin and clip, pens, brushes,
// raster modes, lines, rectangles, inversion, focus rectangles, clip stack and
// the scrolling of a rectangle of an image surface. On image surfaces every
// shape is built from whole-pixel rectangles and filled without antialiasing,
// so the result is exact to the pixel; on a PDF page shapes are drawn as
// vector paths in device units.
#include "platform/draw_internal.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Adds a pixel rectangle to the path (logical coordinates); empty ones are skipped.
void AddRect(cairo_t *cr, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top) return;
    cairo_rectangle(cr, left, top, right - left, bottom - top);
}

// Bounding box in surface pixels of what the current path would touch,
// limited to the clip and the surface. Returns false when nothing is touched.
bool PathDeviceBox(DrawContext *dc, PlRect *box)
{
    double x1, y1, x2, y2, cx1, cy1, cx2, cy2;
    cairo_fill_extents(dc->cr, &x1, &y1, &x2, &y2);
    cairo_clip_extents(dc->cr, &cx1, &cy1, &cx2, &cy2);
    PlRect path{int(std::floor(x1)), int(std::floor(y1)), int(std::ceil(x2)), int(std::ceil(y2))};
    PlRect clip{int(std::floor(cx1)), int(std::floor(cy1)), int(std::ceil(cx2)), int(std::ceil(cy2))};
    PlRect r = PlRectOffset(PlRectIntersect(path, clip), dc->origin.x, dc->origin.y);
    PlRect whole{0, 0, cairo_image_surface_get_width(dc->surface), cairo_image_surface_get_height(dc->surface)};
    *box = PlRectIntersect(r, whole);
    return !PlRectEmpty(*box);
}

// Exclusive-or of colour c into every pixel the current path covers: the path
// is rendered into an A8 mask (same clip, no antialiasing) and the covered
// pixels are combined bit by bit. Used where no cairo operator is exact.
void XorPathByMask(DrawContext *dc, PlColor c)
{
    PlRect box;
    if (!PathDeviceBox(dc, &box)) {
        cairo_new_path(dc->cr);
        return;
    }
    int w = PlRectWidth(box), h = PlRectHeight(box);
    cairo_path_t *path = cairo_copy_path(dc->cr);
    cairo_new_path(dc->cr);
    cairo_rectangle_list_t *clips = cairo_copy_clip_rectangle_list(dc->cr);
    cairo_surface_t *mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
    cairo_t *m = cairo_create(mask);
    cairo_translate(m, dc->origin.x - box.left, dc->origin.y - box.top);
    cairo_set_antialias(m, CAIRO_ANTIALIAS_NONE);
    if (clips->status == CAIRO_STATUS_SUCCESS) {
        for (int i = 0; i < clips->num_rectangles; i++) {
            const cairo_rectangle_t &cr = clips->rectangles[i];
            cairo_rectangle(m, cr.x, cr.y, cr.width, cr.height);
        }
        cairo_clip(m);
    }
    cairo_append_path(m, path);
    cairo_fill(m);
    cairo_destroy(m);
    cairo_surface_flush(mask);
    cairo_surface_flush(dc->surface);
    const unsigned char *md = cairo_image_surface_get_data(mask);
    int ms = cairo_image_surface_get_stride(mask);
    unsigned char *sd = cairo_image_surface_get_data(dc->surface);
    int ss = cairo_image_surface_get_stride(dc->surface);
    if (md != nullptr && sd != nullptr) {
        for (int y = 0; y < h; y++) {
            auto *row = reinterpret_cast<uint32_t *>(sd + size_t(box.top + y) * ss) + box.left;
            for (int x = 0; x < w; x++)
                if (md[size_t(y) * ms + x] >= 0x80) row[x] ^= (c & 0xFFFFFFu);
        }
        cairo_surface_mark_dirty_rectangle(dc->surface, box.left, box.top, w, h);
    }
    cairo_surface_destroy(mask);
    cairo_rectangle_list_destroy(clips);
    cairo_path_destroy(path);
}

// True when every channel of c is 0 or 255: then DIFFERENCE with c is an exact
// exclusive-or (255 inverts a channel, 0 keeps it).
bool IsBinaryColor(PlColor c)
{
    for (int shift = 0; shift < 24; shift += 8) {
        uint8_t v = uint8_t(c >> shift);
        if (v != 0 && v != 255) return false;
    }
    return true;
}

// The pixels of a one-pixel line from a to b, end point excluded (Bresenham).
template <typename Fn>
void ForLinePixels(PlPoint a, PlPoint b, Fn fn)
{
    int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int err = dx + dy, x = a.x, y = a.y, n = 0;
    while (x != b.x || y != b.y) {
        fn(x, y, n++);
        int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x += sx; }
        if (e2 <= dx) { err += dx; y += sy; }
    }
}

}  // namespace

void DcSetSourceColor(cairo_t *cr, PlColor c)
{
    cairo_set_source_rgb(cr, PlColorRed(c) / 255.0, PlColorGreen(c) / 255.0, PlColorBlue(c) / 255.0);
}

void DcSetSourceBrush(DrawContext *dc, const PlBrush &brush)
{
    if (brush.kind != PlBrushKind::Pattern) {
        DcSetSourceColor(dc->cr, brush.color);
        return;
    }
    cairo_surface_t *tile = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 8, 8);
    cairo_surface_flush(tile);
    unsigned char *data = cairo_image_surface_get_data(tile);
    int stride = cairo_image_surface_get_stride(tile);
    if (data != nullptr) {
        for (int y = 0; y < 8; y++) {
            auto *row = reinterpret_cast<uint32_t *>(data + size_t(y) * stride);
            for (int x = 0; x < 8; x++) row[x] = (brush.pattern[y] & (0x80 >> x)) ? brush.color : brush.background;
        }
        cairo_surface_mark_dirty(tile);
    }
    cairo_pattern_t *p = cairo_pattern_create_for_surface(tile);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
    cairo_set_source(dc->cr, p);
    cairo_pattern_destroy(p);
    cairo_surface_destroy(tile);
}

void DcPaintPath(DrawContext *dc, PlColor c, PlRop rop)
{
    cairo_t *cr = dc->cr;
    if (rop == PlRop::Copy) {
        DcSetSourceColor(cr, c);
        cairo_fill(cr);
        return;
    }
    PlColor x = rop == PlRop::Not ? kPlWhite : c;
    if (!dc->raster || IsBinaryColor(x)) {
        cairo_save(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
        DcSetSourceColor(cr, x);
        cairo_fill(cr);
        cairo_restore(cr);
        return;
    }
    XorPathByMask(dc, x);
}

DrawContext *DcCreate(cairo_surface_t *target, int originX, int originY, const PlRect *clips, int clipCount)
{
    if (target == nullptr || cairo_surface_status(target) != CAIRO_STATUS_SUCCESS) return nullptr;
    cairo_t *cr = cairo_create(target);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(cr);
        return nullptr;
    }
    auto *dc = new DrawContext{};
    dc->cr = cr;
    dc->surface = cairo_surface_reference(target);
    dc->raster = cairo_surface_get_type(target) == CAIRO_SURFACE_TYPE_IMAGE;
    dc->origin = PlPoint{originX, originY};
    dc->pen = kPlPenBlack;
    dc->brush = kPlBrushWhite;
    dc->rop = PlRop::Copy;
    dc->textColor = kPlBlack;
    dc->bkColor = kPlWhite;
    dc->bkMode = PlBkMode::Opaque;
    dc->font = nullptr;
    dc->position = PlPoint{0, 0};
    dc->clipBox = PlRect{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};
    if (dc->raster) {
        dc->clipBox = PlRect{0, 0, cairo_image_surface_get_width(target), cairo_image_surface_get_height(target)};
        // An explicit clip to the surface keeps the clip a plain rectangle list,
        // which the exclusive-or mask relies on.
        cairo_rectangle(cr, 0, 0, cairo_image_surface_get_width(target), cairo_image_surface_get_height(target));
        cairo_clip(cr);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    }
    if (clips != nullptr && clipCount > 0) {
        PlRect bounds{0, 0, 0, 0};
        for (int i = 0; i < clipCount; i++) {
            AddRect(cr, clips[i].left, clips[i].top, clips[i].right, clips[i].bottom);
            bounds = PlRectUnion(bounds, clips[i]);
        }
        dc->clipBox = PlRectIntersect(dc->clipBox, bounds);
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
        cairo_clip(cr);  // an all-empty list leaves an empty clip: nothing is drawn
    }
    cairo_translate(cr, originX, originY);
    if (!PlRectEmpty(dc->clipBox)) dc->clipBox = PlRectOffset(dc->clipBox, -originX, -originY);
    return dc;
}

void DcDestroy(DrawContext *dc)
{
    if (dc == nullptr) return;
    cairo_destroy(dc->cr);
    cairo_surface_flush(dc->surface);
    cairo_surface_destroy(dc->surface);
    delete dc;
}

cairo_surface_t *DcSurface(DrawContext *dc) { return dc->surface; }
cairo_t *DcCairo(DrawContext *dc) { return dc->cr; }
PlPoint DcOrigin(const DrawContext *dc) { return dc->origin; }
bool DcIsRaster(const DrawContext *dc) { return dc->raster; }

// Each setter gives the value it replaces, so that a caller can put it back.
PlPen DcSetPen(DrawContext *dc, const PlPen &pen) { return std::exchange(dc->pen, pen); }
PlBrush DcSetBrush(DrawContext *dc, const PlBrush &brush) { return std::exchange(dc->brush, brush); }
PlRop DcSetRop(DrawContext *dc, PlRop rop) { return std::exchange(dc->rop, rop); }
PlColor DcSetTextColor(DrawContext *dc, PlColor c) { return std::exchange(dc->textColor, c); }
PlColor DcSetBkColor(DrawContext *dc, PlColor c) { return std::exchange(dc->bkColor, c); }
PlBkMode DcSetBkMode(DrawContext *dc, PlBkMode mode) { return std::exchange(dc->bkMode, mode); }
PlPen DcPen(const DrawContext *dc) { return dc->pen; }
PlBrush DcBrush(const DrawContext *dc) { return dc->brush; }
PlRop DcRop(const DrawContext *dc) { return dc->rop; }
PlColor DcTextColor(const DrawContext *dc) { return dc->textColor; }
PlColor DcBkColor(const DrawContext *dc) { return dc->bkColor; }
PlBkMode DcBkMode(const DrawContext *dc) { return dc->bkMode; }

void DcMoveTo(DrawContext *dc, int x, int y) { dc->position = PlPoint{x, y}; }
PlPoint DcCurrentPosition(const DrawContext *dc) { return dc->position; }

void DcLineTo(DrawContext *dc, int x, int y)
{
    PlPoint a = dc->position, b{x, y};
    dc->position = b;
    const PlPen &pen = dc->pen;
    if (pen.style == PlPenStyle::Null || (a.x == b.x && a.y == b.y)) return;
    int w = pen.width < 1 ? 1 : pen.width;
    cairo_t *cr = dc->cr;
    if (!dc->raster && pen.style == PlPenStyle::Solid) {
        // A page: a vector line centred on the pixel centres.
        cairo_save(cr);
        cairo_set_line_width(cr, w);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_move_to(cr, a.x + 0.5, a.y + 0.5);
        cairo_line_to(cr, b.x + 0.5, b.y + 0.5);
        DcSetSourceColor(cr, pen.color);
        cairo_stroke(cr);
        cairo_restore(cr);
        return;
    }
    int lo = -(w - 1) / 2, hi = lo + w;  // square pen around each pixel
    if (pen.style == PlPenStyle::Solid && (a.x == b.x || a.y == b.y)) {
        // Straight lines as one rectangle (end excluded).
        if (a.y == b.y) {
            int l = a.x < b.x ? a.x : b.x + 1, r = a.x < b.x ? b.x : a.x + 1;
            AddRect(cr, l, a.y + lo, r, a.y + hi);
        } else {
            int t = a.y < b.y ? a.y : b.y + 1, bt = a.y < b.y ? b.y : a.y + 1;
            AddRect(cr, a.x + lo, t, a.x + hi, bt);
        }
    } else {
        bool dotted = pen.style == PlPenStyle::Dot;
        ForLinePixels(a, b, [&](int px, int py, int n) {
            if (!dotted || n % 2 == 0) AddRect(cr, px + lo, py + lo, px + hi, py + hi);
        });
    }
    DcPaintPath(dc, pen.color, dc->rop);
}

void DcFillRect(DrawContext *dc, const PlRect &r, const PlBrush &brush)
{
    if (brush.kind == PlBrushKind::Null || PlRectEmpty(r)) return;
    AddRect(dc->cr, r.left, r.top, r.right, r.bottom);
    DcSetSourceBrush(dc, brush);
    cairo_fill(dc->cr);
}

// Adds the four sides of a frame of thickness t just inside r.
static void AddFrame(cairo_t *cr, const PlRect &r, int t)
{
    if (2 * t >= PlRectWidth(r) || 2 * t >= PlRectHeight(r)) {
        AddRect(cr, r.left, r.top, r.right, r.bottom);
        return;
    }
    AddRect(cr, r.left, r.top, r.right, r.top + t);
    AddRect(cr, r.left, r.bottom - t, r.right, r.bottom);
    AddRect(cr, r.left, r.top + t, r.left + t, r.bottom - t);
    AddRect(cr, r.right - t, r.top + t, r.right, r.bottom - t);
}

void DcFrameRect(DrawContext *dc, const PlRect &r, const PlBrush &brush)
{
    if (brush.kind == PlBrushKind::Null || PlRectEmpty(r)) return;
    AddFrame(dc->cr, r, 1);
    DcSetSourceBrush(dc, brush);
    cairo_fill(dc->cr);
}

void DcRectangle(DrawContext *dc, const PlRect &r)
{
    if (PlRectEmpty(r)) return;
    const PlPen &pen = dc->pen;
    int t = pen.style == PlPenStyle::Null ? 0 : (pen.width < 1 ? 1 : pen.width);
    PlRect inner{r.left + t, r.top + t, r.right - t, r.bottom - t};
    if (dc->brush.kind != PlBrushKind::Null && !PlRectEmpty(inner)) {
        AddRect(dc->cr, inner.left, inner.top, inner.right, inner.bottom);
        if (dc->rop == PlRop::Copy && dc->brush.kind == PlBrushKind::Pattern) {
            DcSetSourceBrush(dc, dc->brush);
            cairo_fill(dc->cr);
        } else {
            DcPaintPath(dc, dc->brush.color, dc->rop);
        }
    }
    if (t == 0) return;
    if (pen.style == PlPenStyle::Dot) {
        // Walk the outline pixel by pixel so that the dots follow the corners.
        PlPoint corners[5] = {{r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1},
                              {r.left, r.bottom - 1}, {r.left, r.top}};
        int n0 = 0;
        for (int i = 0; i < 4; i++) {
            ForLinePixels(corners[i], corners[i + 1], [&](int px, int py, int) {
                if (n0++ % 2 == 0) AddRect(dc->cr, px, py, px + 1, py + 1);
            });
        }
    } else {
        AddFrame(dc->cr, r, t);
    }
    DcPaintPath(dc, pen.color, dc->rop);
}

void DcInvertRect(DrawContext *dc, const PlRect &r)
{
    if (PlRectEmpty(r)) return;
    AddRect(dc->cr, r.left, r.top, r.right, r.bottom);
    DcPaintPath(dc, kPlWhite, PlRop::Not);
}

void DcDrawFocusRect(DrawContext *dc, const PlRect &r)
{
    if (PlRectEmpty(r)) return;
    // Every pixel of the one-pixel outline whose distance from the top-left
    // corner is even; each pixel is added once so that corners invert once.
    auto dot = [&](int x, int y) {
        if (((x - r.left) + (y - r.top)) % 2 == 0) AddRect(dc->cr, x, y, x + 1, y + 1);
    };
    for (int x = r.left; x < r.right; x++) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top) dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; y++) {
        dot(r.left, y);
        if (r.right - 1 > r.left) dot(r.right - 1, y);
    }
    DcPaintPath(dc, kPlWhite, PlRop::Not);
}

void DcSetPixel(DrawContext *dc, int x, int y, PlColor c)
{
    AddRect(dc->cr, x, y, x + 1, y + 1);
    DcPaintPath(dc, c, PlRop::Copy);
}

void DcPushClip(DrawContext *dc, const PlRect &r)
{
    cairo_save(dc->cr);
    dc->clipStack.push_back(dc->clipBox);
    dc->clipBox = PlRectIntersect(dc->clipBox, r);
    cairo_new_path(dc->cr);
    if (PlRectEmpty(r)) {
        cairo_rectangle(dc->cr, r.left, r.top, 0, 0);  // clip to nothing
    } else {
        AddRect(dc->cr, r.left, r.top, r.right, r.bottom);
    }
    cairo_clip(dc->cr);
}

void DcPopClip(DrawContext *dc)
{
    if (dc->clipStack.empty()) return;
    dc->clipBox = dc->clipStack.back();
    dc->clipStack.pop_back();
    cairo_restore(dc->cr);
}

PlRect DcClipBox(DrawContext *dc) { return dc->clipBox; }

bool PlSurfaceScroll(cairo_surface_t *surface, const PlRect &rect, int dx, int dy, PlRect *exposed)
{
    if (surface == nullptr || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return false;
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_RGB24 &&
        cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32)
        return false;
    PlRect whole{0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
    PlRect r = PlRectIntersect(rect, whole);
    PlRect dst = PlRectIntersect(PlRectOffset(r, dx, dy), r);
    if (exposed != nullptr) {
        if (PlRectEmpty(dst)) *exposed = r;
        else if (dx == 0 && dy == 0) *exposed = PlRect{0, 0, 0, 0};
        else if (dx == 0) *exposed = dy > 0 ? PlRect{r.left, r.top, r.right, dst.top} : PlRect{r.left, dst.bottom, r.right, r.bottom};
        else if (dy == 0) *exposed = dx > 0 ? PlRect{r.left, r.top, dst.left, r.bottom} : PlRect{dst.right, r.top, r.right, r.bottom};
        else *exposed = r;
    }
    if (PlRectEmpty(dst) || (dx == 0 && dy == 0)) return true;
    cairo_surface_flush(surface);
    unsigned char *data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    if (data == nullptr) return false;
    int w = PlRectWidth(dst), h = PlRectHeight(dst);
    size_t bytes = size_t(w) * 4;
    // Copy rows in the order that never overwrites a row not yet moved.
    for (int i = 0; i < h; i++) {
        int y = dy > 0 ? dst.bottom - 1 - i : dst.top + i;
        unsigned char *to = data + size_t(y) * stride + size_t(dst.left) * 4;
        const unsigned char *from = data + size_t(y - dy) * stride + size_t(dst.left - dx) * 4;
        std::memmove(to, from, bytes);
    }
    cairo_surface_mark_dirty_rectangle(surface, r.left, r.top, PlRectWidth(r), PlRectHeight(r));
    return true;
}

bool DcScrollRect(DrawContext *dc, const PlRect &r, int dx, int dy, PlRect *exposed)
{
    PlRect dev = PlRectOffset(r, dc->origin.x, dc->origin.y);
    if (!PlSurfaceScroll(dc->surface, dev, dx, dy, exposed)) return false;
    if (exposed != nullptr && !PlRectEmpty(*exposed)) *exposed = PlRectOffset(*exposed, -dc->origin.x, -dc->origin.y);
    return true;
}

PlColor PlSurfacePixel(cairo_surface_t *surface, int x, int y)
{
    if (surface == nullptr || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return 0;
    if (x < 0 || y < 0 || x >= cairo_image_surface_get_width(surface) || y >= cairo_image_surface_get_height(surface))
        return 0;
    cairo_surface_flush(surface);
    const unsigned char *data = cairo_image_surface_get_data(surface);
    if (data == nullptr) return 0;
    uint32_t v;
    std::memcpy(&v, data + size_t(y) * cairo_image_surface_get_stride(surface) + size_t(x) * 4, 4);
    return v & 0xFFFFFFu;
}
