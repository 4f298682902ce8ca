// Drawing on a window's pixels or a printed page: a DrawContext is a cairo
// context on a target surface with a logical origin, a clip, a current pen,
// brush, raster mode, text colours and font. One unit is one pixel (on a page,
// one device unit), y grows downwards, and rectangles exclude right/bottom.
//
// Pixel exactness: on image surfaces lines, frames and fills are drawn without
// antialiasing on whole pixels, so tests and the window layer can probe exact
// pixels. Lines exclude their end point, as the window code expects.
//
// Fonts and text out live in font.h, icons in icon.h, bitmaps in bitmap.h;
// all of them draw on a DrawContext declared here.
#pragma once

#include <cairo.h>
#include <cstdint>

#include "platform/geometry.h"

// Colours are 0xRRGGBB, the same layout as an RGB24 pixel of cairo.
using PlColor = uint32_t;

constexpr PlColor PlRgb(uint8_t r, uint8_t g, uint8_t b)
{
    return (PlColor(r) << 16) | (PlColor(g) << 8) | PlColor(b);
}
constexpr uint8_t PlColorRed(PlColor c) { return uint8_t(c >> 16); }
constexpr uint8_t PlColorGreen(PlColor c) { return uint8_t(c >> 8); }
constexpr uint8_t PlColorBlue(PlColor c) { return uint8_t(c); }

constexpr PlColor kPlWhite = PlRgb(255, 255, 255);
constexpr PlColor kPlBlack = PlRgb(0, 0, 0);
constexpr PlColor kPlGrey = PlRgb(128, 128, 128);       // dark grey of shadows
constexpr PlColor kPlLightGrey = PlRgb(192, 192, 192);  // face of bars and buttons
constexpr PlColor kPlRed = PlRgb(255, 0, 0);
constexpr PlColor kPlWorkspace = PlRgb(128, 128, 128);  // MDI client background

// ---------------------------------------------------------------------------
// Pens: value objects; the context keeps a copy of the selected one.
enum class PlPenStyle : uint8_t {
    Solid,
    Dot,   // one pixel on, one off (only for width 1)
    Null,  // draws nothing
};

struct PlPen {
    PlPenStyle style;
    int width;  // pixels; 0 counts as 1
    PlColor color;
};

constexpr PlPen kPlPenBlack{PlPenStyle::Solid, 1, kPlBlack};
constexpr PlPen kPlPenWhite{PlPenStyle::Solid, 1, kPlWhite};
constexpr PlPen kPlPenNull{PlPenStyle::Null, 1, kPlBlack};

// How lines and DcRectangle combine with what is already there. Xor and Not
// are exact bit operations on image surfaces, so drawing the same rubber band
// or mark line twice restores the pixels.
enum class PlRop : uint8_t {
    Copy,  // pixel = pen/brush colour
    Xor,   // pixel ^= pen/brush colour
    Not,   // pixel = ~pixel (the colour is ignored)
};

// ---------------------------------------------------------------------------
// Brushes: solid, null or an 8x8 two-colour pattern (bit 7 of row 0 is the
// top-left pixel; a set bit takes `color`, a clear bit `background`). Patterns
// are aligned to the context's logical origin.
enum class PlBrushKind : uint8_t { Solid, Null, Pattern };

struct PlBrush {
    PlBrushKind kind;
    PlColor color;
    PlColor background;    // pattern only
    uint8_t pattern[8];    // pattern only
};

constexpr PlBrush PlSolidBrush(PlColor c) { return PlBrush{PlBrushKind::Solid, c, c, {}}; }
constexpr PlBrush PlPatternBrush(const uint8_t (&rows)[8], PlColor set, PlColor clear)
{
    return PlBrush{PlBrushKind::Pattern, set, clear,
                   {rows[0], rows[1], rows[2], rows[3], rows[4], rows[5], rows[6], rows[7]}};
}

constexpr PlBrush kPlBrushWhite = PlSolidBrush(kPlWhite);
constexpr PlBrush kPlBrushBlack = PlSolidBrush(kPlBlack);
constexpr PlBrush kPlBrushGrey = PlSolidBrush(kPlGrey);
constexpr PlBrush kPlBrushLightGrey = PlSolidBrush(kPlLightGrey);
constexpr PlBrush kPlBrushNull{PlBrushKind::Null, 0, 0, {}};
// The 50% grey checkerboard of black and white pixels (disabled look, drag bands).
constexpr PlBrush kPlBrushGreyPattern{
    PlBrushKind::Pattern, kPlBlack, kPlWhite, {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}};

enum class PlBkMode : uint8_t { Opaque, Transparent };

struct PlFont;  // font.h

// ---------------------------------------------------------------------------
// The context.
struct DrawContext;

// A context drawing on `target` (an image surface of CAIRO_FORMAT_RGB24 owned by
// the window layer, or a PDF surface of a print job) with the logical origin at
// (originX, originY) of the surface and clipped to the union of `clips` (surface
// coordinates; count 0 = no clip beyond the surface). The context holds a
// reference on the surface. Returns null when cairo cannot make a context.
// Initial state: black pen, white brush, Copy, black text on white, opaque
// background, the regular UI font.
DrawContext *DcCreate(cairo_surface_t *target, int originX, int originY, const PlRect *clips, int clipCount);
void DcDestroy(DrawContext *dc);

cairo_surface_t *DcSurface(DrawContext *dc);
// The cairo context, with the device-to-logical translation applied, for code
// that draws something this header does not offer.
cairo_t *DcCairo(DrawContext *dc);
PlPoint DcOrigin(const DrawContext *dc);
// True for an image surface (pixel-exact drawing); false for a PDF page.
bool DcIsRaster(const DrawContext *dc);

// Selection of drawing state; each returns the previous value.
PlPen DcSetPen(DrawContext *dc, const PlPen &pen);
PlBrush DcSetBrush(DrawContext *dc, const PlBrush &brush);
PlRop DcSetRop(DrawContext *dc, PlRop rop);
PlColor DcSetTextColor(DrawContext *dc, PlColor c);
PlColor DcSetBkColor(DrawContext *dc, PlColor c);
PlBkMode DcSetBkMode(DrawContext *dc, PlBkMode mode);
PlPen DcPen(const DrawContext *dc);
PlBrush DcBrush(const DrawContext *dc);
PlRop DcRop(const DrawContext *dc);
PlColor DcTextColor(const DrawContext *dc);
PlColor DcBkColor(const DrawContext *dc);
PlBkMode DcBkMode(const DrawContext *dc);

// Lines with the current pen and raster mode; the end point is not drawn and
// becomes the current position.
void DcMoveTo(DrawContext *dc, int x, int y);
void DcLineTo(DrawContext *dc, int x, int y);
PlPoint DcCurrentPosition(const DrawContext *dc);

// Fills r with brush (raster mode ignored).
void DcFillRect(DrawContext *dc, const PlRect &r, const PlBrush &brush);
// A one-pixel frame just inside r with brush (raster mode ignored).
void DcFrameRect(DrawContext *dc, const PlRect &r, const PlBrush &brush);
// Outline with the current pen drawn inside r, interior filled with the current
// brush; both with the current raster mode.
void DcRectangle(DrawContext *dc, const PlRect &r);
// Inverts every pixel of r exactly (selection bands, pressed headers).
void DcInvertRect(DrawContext *dc, const PlRect &r);
// A dotted frame (every other pixel) inverted just inside r; drawing it again
// removes it.
void DcDrawFocusRect(DrawContext *dc, const PlRect &r);
// Sets one pixel (Copy).
void DcSetPixel(DrawContext *dc, int x, int y, PlColor c);

// Clip: DcPushClip intersects the current clip with r (logical coordinates);
// DcPopClip returns to the clip before the matching push. Unbalanced pops are
// ignored. DcClipBox gives the bounding box of the current clip, logical.
void DcPushClip(DrawContext *dc, const PlRect &r);
void DcPopClip(DrawContext *dc);
PlRect DcClipBox(DrawContext *dc);

// Moves the pixels of rect r (surface coordinates) of an RGB24 image surface by
// (dx, dy); pixels that would leave r are dropped, the uncovered part of r keeps
// its old pixels and is returned in *exposed (may be null; the bounding box when
// both dx and dy are non-zero). Returns false for a non-image surface.
bool PlSurfaceScroll(cairo_surface_t *surface, const PlRect &r, int dx, int dy, PlRect *exposed);
// The same on a context's surface with r in logical coordinates (exposed too).
bool DcScrollRect(DrawContext *dc, const PlRect &r, int dx, int dy, PlRect *exposed);

// Reads one pixel of an RGB24 image surface (surface coordinates); 0 outside.
PlColor PlSurfacePixel(cairo_surface_t *surface, int x, int y);
