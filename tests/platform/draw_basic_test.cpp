// Pixel tests of the drawing context on an RGB24 image surface: origin and
// clip, fills and frames, lines, raster modes, inversion, focus rectangles,
// the clip stack and scrolling.
#include <gtest/gtest.h>

#include "platform/draw.h"

namespace {

struct Canvas {
    cairo_surface_t *surface;
    explicit Canvas(int w = 64, int h = 48, PlColor fill = kPlWhite)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h))
    {
        DrawContext *dc = DcCreate(surface, 0, 0, nullptr, 0);
        DcFillRect(dc, PlRect{0, 0, w, h}, PlSolidBrush(fill));
        DcDestroy(dc);
    }
    ~Canvas() { cairo_surface_destroy(surface); }
    PlColor At(int x, int y) const { return PlSurfacePixel(surface, x, y); }
    // Number of pixels of colour c inside r.
    int Count(PlRect r, PlColor c) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++) n += At(x, y) == c;
        return n;
    }
};

}  // namespace

TEST(DrawFill, OriginClipFillFrameRectangle)
{
    Canvas c;
    PlRect clips[2] = {{0, 0, 20, 48}, {40, 0, 64, 48}};
    DrawContext *dc = DcCreate(c.surface, 10, 5, clips, 2);
    ASSERT_NE(dc, nullptr);
    // Logical (0,0)-(40,10) is surface (10,5)-(50,15); the band 20..40 is clipped away.
    DcFillRect(dc, PlRect{0, 0, 40, 10}, kPlBrushBlack);
    EXPECT_EQ(c.Count(PlRect{0, 0, 64, 48}, kPlBlack), 2 * 10 * 10);
    EXPECT_EQ(c.Count(PlRect{10, 5, 20, 15}, kPlBlack), 100);
    EXPECT_EQ(c.Count(PlRect{40, 5, 50, 15}, kPlBlack), 100);
    DcDestroy(dc);
    const PlRect nothing{0, 0, 0, 0};  // an all-empty clip list clips everything away
    dc = DcCreate(c.surface, 0, 0, &nothing, 1);
    DcFillRect(dc, PlRect{0, 0, 64, 48}, kPlBrushBlack);
    EXPECT_EQ(c.Count(PlRect{0, 0, 64, 48}, kPlBlack), 200);
    EXPECT_TRUE(PlRectEmpty(DcClipBox(dc)));
    DcDestroy(dc);

    Canvas d;
    dc = DcCreate(d.surface, 0, 0, nullptr, 0);
    DcFrameRect(dc, PlRect{2, 2, 12, 8}, kPlBrushBlack);
    EXPECT_EQ(d.Count(PlRect{0, 0, 64, 48}, kPlBlack), 2 * 10 + 2 * 4);
    EXPECT_EQ(d.At(11, 7), kPlBlack);
    EXPECT_EQ(d.At(3, 3), kPlWhite);
    // Rectangle: a 3-pixel pen inside the bounds, interior in the brush.
    DcSetPen(dc, PlPen{PlPenStyle::Solid, 3, kPlRed});
    DcSetBrush(dc, kPlBrushLightGrey);
    DcRectangle(dc, PlRect{20, 20, 30, 30});
    EXPECT_EQ(d.Count(PlRect{0, 0, 64, 48}, kPlRed), 100 - 16);
    EXPECT_EQ(d.Count(PlRect{23, 23, 27, 27}, kPlLightGrey), 16);
    // Null brush leaves the interior; null pen leaves the border.
    DcSetBrush(dc, kPlBrushNull);
    DcSetPen(dc, kPlPenBlack);
    DcRectangle(dc, PlRect{40, 20, 50, 30});
    EXPECT_EQ(d.At(45, 25), kPlWhite);
    EXPECT_EQ(d.At(40, 25), kPlBlack);
    DcSetPen(dc, kPlPenNull);
    DcSetBrush(dc, kPlBrushBlack);
    DcRectangle(dc, PlRect{52, 20, 56, 24});
    EXPECT_EQ(d.Count(PlRect{52, 20, 56, 24}, kPlBlack), 16);
    DcDestroy(dc);
}

TEST(DrawFill, PatternBrushFollowsOrigin)
{
    Canvas c;
    DrawContext *dc = DcCreate(c.surface, 3, 0, nullptr, 0);
    DcFillRect(dc, PlRect{0, 0, 16, 16}, kPlBrushGreyPattern);
    // Logical (0,0) is the set (black) bit of the checkerboard.
    EXPECT_EQ(c.At(3, 0), kPlBlack);
    EXPECT_EQ(c.At(4, 0), kPlWhite);
    EXPECT_EQ(c.Count(PlRect{3, 0, 19, 16}, kPlBlack), 128);
    DcDestroy(dc);
}

TEST(DrawLine, EndPointExcludedAndShapes)
{
    // Each line on a white canvas: its pixels inside area, the start drawn,
    // the end point (or a pixel beside a wide pen) left white.
    struct Line {
        PlPen pen;
        PlPoint from, to;
        PlRect area;
        int pixels;
        PlPoint white;
    };
    const Line lines[] = {
        {kPlPenBlack, {10, 5}, {21, 5}, {0, 5, 64, 6}, 11, {21, 5}},   // the caller adds one to include x 20
        {kPlPenBlack, {30, 10}, {25, 10}, {0, 10, 64, 11}, 5, {25, 10}},   // leftwards
        {kPlPenBlack, {40, 20}, {40, 12}, {40, 0, 41, 48}, 8, {40, 12}},   // upwards
        {{PlPenStyle::Solid, 1, kPlRed}, {0, 20}, {10, 30}, {0, 20, 11, 31}, 10, {10, 30}},   // one pixel per step
        {{PlPenStyle::Dot, 1, kPlBlack}, {0, 40}, {20, 40}, {0, 40, 64, 41}, 10, {1, 40}},   // every other pixel
        {{PlPenStyle::Solid, 3, kPlBlack}, {30, 44}, {40, 44}, {30, 43, 40, 46}, 30, {35, 42}},   // centred
    };
    for (const Line &l : lines) {
        Canvas c;
        DrawContext *dc = DcCreate(c.surface, 0, 0, nullptr, 0);
        if (&l != &lines[0]) DcSetPen(dc, l.pen);   // the first draws with the context's own pen
        DcMoveTo(dc, l.from.x, l.from.y);
        DcLineTo(dc, l.to.x, l.to.y);
        EXPECT_EQ(DcCurrentPosition(dc).x, l.to.x);
        EXPECT_EQ(c.Count(l.area, l.pen.color), l.pixels) << l.from.x << "," << l.from.y;
        EXPECT_EQ(c.Count(PlRect{0, 0, 64, 48}, l.pen.color), l.pixels) << "nothing outside the line";
        EXPECT_EQ(c.At(l.from.x, l.from.y), l.pen.color);
        EXPECT_EQ(c.At(l.white.x, l.white.y), kPlWhite);
        DcDestroy(dc);
    }
}

TEST(DrawRop, XorNotInvertAndFocusAreReversible)
{
    Canvas c(40, 40, PlRgb(10, 200, 77));
    DrawContext *dc = DcCreate(c.surface, 0, 0, nullptr, 0);
    DcFillRect(dc, PlRect{0, 0, 20, 40}, PlSolidBrush(PlRgb(0x12, 0x34, 0x56)));
    const PlColor grey = PlRgb(0x55, 0x0F, 0xF0);
    DcSetRop(dc, PlRop::Xor);
    DcSetPen(dc, PlPen{PlPenStyle::Solid, 1, grey});
    DcMoveTo(dc, 0, 5);
    DcLineTo(dc, 40, 5);
    EXPECT_EQ(c.At(3, 5), PlRgb(0x12 ^ 0x55, 0x34 ^ 0x0F, 0x56 ^ 0xF0));
    EXPECT_EQ(c.At(30, 5), PlRgb(10 ^ 0x55, 200 ^ 0x0F, 77 ^ 0xF0));
    DcMoveTo(dc, 0, 5);
    DcLineTo(dc, 40, 5);
    EXPECT_EQ(c.At(3, 5), PlRgb(0x12, 0x34, 0x56));
    EXPECT_EQ(c.At(30, 5), PlRgb(10, 200, 77));
    // Not inverts whatever the pen colour.
    DcSetRop(dc, PlRop::Not);
    DcMoveTo(dc, 2, 0);
    DcLineTo(dc, 2, 10);
    EXPECT_EQ(c.At(2, 1), PlRgb(0xED, 0xCB, 0xA9));
    EXPECT_EQ(c.At(2, 9), PlRgb(0xED, 0xCB, 0xA9));
    EXPECT_EQ(c.At(2, 10), PlRgb(0x12, 0x34, 0x56));  // end point
    // The rubber band: a clipped xor rectangle drawn twice leaves no trace.
    DcSetRop(dc, PlRop::Xor);
    DcSetBrush(dc, kPlBrushNull);
    DcPushClip(dc, PlRect{0, 0, 25, 40});
    DcRectangle(dc, PlRect{10, 10, 30, 30});
    EXPECT_EQ(c.At(10, 20), PlRgb(0x12 ^ 0x55, 0x34 ^ 0x0F, 0x56 ^ 0xF0));
    EXPECT_EQ(c.At(29, 20), PlRgb(10, 200, 77));  // clipped
    DcRectangle(dc, PlRect{10, 10, 30, 30});
    DcPopClip(dc);
    EXPECT_EQ(c.At(10, 20), PlRgb(0x12, 0x34, 0x56));
    EXPECT_EQ(c.At(24, 10), PlRgb(10, 200, 77));
    DcSetRop(dc, PlRop::Copy);

    DcInvertRect(dc, PlRect{15, 15, 25, 25});
    EXPECT_EQ(c.At(15, 15), PlRgb(0xED, 0xCB, 0xA9));
    EXPECT_EQ(c.At(24, 24), PlRgb(245, 55, 178));
    EXPECT_EQ(c.At(25, 24), PlRgb(10, 200, 77));
    DcInvertRect(dc, PlRect{15, 15, 25, 25});
    EXPECT_EQ(c.At(24, 24), PlRgb(10, 200, 77));

    DcDrawFocusRect(dc, PlRect{22, 22, 32, 30});
    int inverted = c.Count(PlRect{22, 22, 32, 30}, PlRgb(245, 55, 178));
    EXPECT_EQ(inverted, 16);  // half of the 32 outline pixels
    EXPECT_EQ(c.At(22, 22), PlRgb(245, 55, 178));
    EXPECT_EQ(c.At(23, 22), PlRgb(10, 200, 77));
    EXPECT_EQ(c.At(26, 26), PlRgb(10, 200, 77));  // inside untouched
    DcDrawFocusRect(dc, PlRect{22, 22, 32, 30});
    EXPECT_EQ(c.Count(PlRect{22, 22, 32, 30}, PlRgb(10, 200, 77)), 80);
    DcDestroy(dc);
}

TEST(DrawClip, PushPopNestAndBox)
{
    Canvas c;
    DrawContext *dc = DcCreate(c.surface, 4, 4, nullptr, 0);
    EXPECT_TRUE(PlRectEqual(DcClipBox(dc), PlRect{-4, -4, 60, 44}));
    DcPushClip(dc, PlRect{0, 0, 20, 20});
    DcPushClip(dc, PlRect{10, 10, 30, 30});
    EXPECT_TRUE(PlRectEqual(DcClipBox(dc), PlRect{10, 10, 20, 20}));
    DcFillRect(dc, PlRect{0, 0, 40, 40}, kPlBrushBlack);
    EXPECT_EQ(c.Count(PlRect{0, 0, 64, 48}, kPlBlack), 100);
    DcPopClip(dc);
    DcFillRect(dc, PlRect{0, 0, 40, 40}, kPlBrushGrey);
    EXPECT_EQ(c.Count(PlRect{0, 0, 64, 48}, kPlGrey), 400);
    DcPopClip(dc);
    DcPopClip(dc);  // unbalanced: ignored
    DcPushClip(dc, PlRect{5, 5, 5, 9});  // empty: nothing drawn
    DcFillRect(dc, PlRect{0, 0, 40, 40}, kPlBrushLightGrey);
    EXPECT_EQ(c.Count(PlRect{0, 0, 64, 48}, kPlLightGrey), 0);
    DcPopClip(dc);
    DcFillRect(dc, PlRect{30, 30, 31, 31}, kPlBrushLightGrey);
    EXPECT_EQ(c.At(34, 34), kPlLightGrey);
    DcDestroy(dc);
}

TEST(DrawScroll, MovesPixelsAndReportsExposed)
{
    Canvas c(32, 32);
    DrawContext *dc = DcCreate(c.surface, 0, 0, nullptr, 0);
    for (int y = 0; y < 32; y++) DcSetPixel(dc, 5, y, PlRgb(0, 0, uint8_t(y)));
    PlRect exposed;
    // Scroll rows 4..20 up by 3 inside the rectangle x 0..10.
    ASSERT_TRUE(DcScrollRect(dc, PlRect{0, 4, 10, 20}, 0, -3, &exposed));
    EXPECT_TRUE(PlRectEqual(exposed, PlRect{0, 17, 10, 20}));
    EXPECT_EQ(c.At(5, 4), PlRgb(0, 0, 7));
    EXPECT_EQ(c.At(5, 16), PlRgb(0, 0, 19));
    EXPECT_EQ(c.At(5, 3), PlRgb(0, 0, 3));     // outside the rectangle: kept
    EXPECT_EQ(c.At(5, 20), PlRgb(0, 0, 20));
    // Down by 2 with an origin: rows move the other way.
    DcDestroy(dc);
    dc = DcCreate(c.surface, 0, 10, nullptr, 0);
    ASSERT_TRUE(DcScrollRect(dc, PlRect{0, 0, 10, 10}, 0, 2, &exposed));
    EXPECT_TRUE(PlRectEqual(exposed, PlRect{0, 0, 10, 2}));
    EXPECT_EQ(c.At(5, 12), PlRgb(0, 0, 13));  // old surface row 10
    EXPECT_EQ(c.At(5, 19), PlRgb(0, 0, 17));
    EXPECT_EQ(c.At(5, 10), PlRgb(0, 0, 13));  // exposed rows keep their pixels
    // Horizontal, and a shift larger than the rectangle exposes all of it.
    ASSERT_TRUE(PlSurfaceScroll(c.surface, PlRect{0, 0, 10, 2}, 3, 0, &exposed));
    EXPECT_TRUE(PlRectEqual(exposed, PlRect{0, 0, 3, 2}));
    EXPECT_EQ(c.At(8, 0), PlRgb(0, 0, 0));
    EXPECT_EQ(c.At(5, 0), kPlWhite);
    ASSERT_TRUE(PlSurfaceScroll(c.surface, PlRect{0, 0, 10, 10}, 0, 40, &exposed));
    EXPECT_TRUE(PlRectEqual(exposed, PlRect{0, 0, 10, 10}));
    DcDestroy(dc);
}
