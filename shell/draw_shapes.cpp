// draw_shapes.cpp - frames, fills, inversion and the focus rectangle on
// the port, and the MacRect helpers.
//
// A MacRect is top, left, bottom, right; the platform's rectangle is
// left, top, right, bottom with the right and bottom edges exclusive.
// The values pass unchanged from one to the other.
#include <algorithm>

#include "shell/draw_port.h"
#include "shell/window_table.h"

// The port's context and r in the platform's form; null when no port.
static DrawContext *PortRect(const MacRect *r, PlRect *out)
{
    RectToWin(r, out);
    return PortState.dc;
}

// A one-pixel frame with the black brush.
void FrameRectBlack(const MacRect *r)
{
    PlRect pr;
    if (DrawContext *dc = PortRect(r, &pr)) DcFrameRect(dc, pr, kPlBrushBlack);
}

// A black frame drawn inside r, as wide as the number says (a blank or
// a width below 1 gives 1); the inside is left as it is.
void FrameRectWidth(const MacRect *r, const PackedDecimal *width)
{
    PlRect pr;
    DrawContext *dc = PortRect(r, &pr);
    if (!dc) return;
    int w = std::max(1, int(DecToLong(width)));
    PlPen oldPen = DcSetPen(dc, PlPen{PlPenStyle::Solid, w, kPlBlack});
    PlBrush oldBrush = DcSetBrush(dc, kPlBrushNull);
    PlRop oldRop = DcSetRop(dc, PlRop::Copy);
    DcRectangle(dc, pr);
    DcSetRop(dc, oldRop);
    DcSetBrush(dc, oldBrush);
    DcSetPen(dc, oldPen);
}

// Fills with white.
void EraseRectWhite(const MacRect *r) { FillRectMode(r, FillWhite); }

// Inverts the pixels.
void InvertRectPort(const MacRect *r)
{
    PlRect pr;
    if (DrawContext *dc = PortRect(r, &pr)) DcInvertRect(dc, pr);
}

// Fills white (1), black (2), grey (3) or light grey (4); other modes
// do nothing.
void FillRectMode(const MacRect *r, int mode)
{
    static const PlBrush brushes[4] = {kPlBrushWhite, kPlBrushBlack, kPlBrushGrey, kPlBrushLightGrey};
    PlRect pr;
    DrawContext *dc = PortRect(r, &pr);
    if (dc && mode >= 1 && mode <= 4) DcFillRect(dc, pr, brushes[mode - 1]);
}

void FillHLine(int x1, int x2, int y, int mode)
{
    if (x2 < x1) return;
    MacRect r;
    MakeRect(&r, x1, y, x2 + 1, y + 1);
    FillRectMode(&r, mode);
}

void FillVLine(int x, int y1, int y2, int mode)
{
    if (y2 < y1) return;
    MacRect r;
    MakeRect(&r, x, y1, x + 1, y2 + 1);
    FillRectMode(&r, mode);
}

// The focus rectangle in window n; the port is saved and restored.
void DrawFocusRectIn(int n, const MacRect *r)
{
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    PlRect pr;
    if (DrawContext *dc = PortRect(r, &pr)) DcDrawFocusRect(dc, pr);
    RestorePortWindow(saved);
}

// Fills r from left, top, right, bottom.
void MakeRect(MacRect *r, int left, int top, int right, int bottom)
{
    *r = MacRect{int16_t(top), int16_t(left), int16_t(bottom), int16_t(right)};
}

// The rectangle spanned by two points, smaller coordinates first.
void RectFromPoints(MacRect *r, int x1, int y1, int x2, int y2)
{
    MakeRect(r, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
}

// True when a and b share a pixel.
bool IntersectMacRect(const MacRect *a, const MacRect *b)
{
    PlRect pa, pb;
    RectToWin(a, &pa);
    RectToWin(b, &pb);
    return !PlRectEmpty(PlRectIntersect(pa, pb));
}

// The smallest rectangle holding a and b; an empty one does not count.
void UnionMacRect(const MacRect *a, const MacRect *b, MacRect *out)
{
    PlRect pa, pb;
    RectToWin(a, &pa);
    RectToWin(b, &pb);
    PlRect u = PlRectUnion(pa, pb);
    RectFromWin(&u, out);
}

// Moves a platform rectangle by dx, dy.
void OffsetMacRect(PlRect *r, int dx, int dy) { *r = PlRectOffset(*r, dx, dy); }
