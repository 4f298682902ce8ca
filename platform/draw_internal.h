// The inside of a DrawContext, shared by the drawing files of the platform
// layer (draw, font, icon, bitmap); no other code includes this.
#pragma once

#include <vector>

#include "platform/draw.h"

struct DrawContext {
    cairo_t *cr;               // user space = logical coordinates (translated by origin)
    cairo_surface_t *surface;  // referenced for the context's life
    bool raster;               // an image surface: pixel-exact drawing, no antialiasing
    PlPoint origin;            // logical (0,0) in surface coordinates
    PlPen pen;
    PlBrush brush;
    PlRop rop;
    PlColor textColor;
    PlColor bkColor;
    PlBkMode bkMode;
    PlFont *font;              // null = the regular UI font
    PlPoint position;          // current position for DcLineTo
    PlRect clipBox;            // bounding box of the clip, logical (exact, unlike cairo's)
    std::vector<PlRect> clipStack;  // clip boxes before each push not yet popped
};

// Fills the current path of dc->cr (logical coordinates) with colour c combined
// by rop, and clears the path. Exact per pixel on image surfaces.
void DcPaintPath(DrawContext *dc, PlColor c, PlRop rop);
// Sets the cairo source to brush (solid colour or repeating pattern).
void DcSetSourceBrush(DrawContext *dc, const PlBrush &brush);
void DcSetSourceColor(cairo_t *cr, PlColor c);
