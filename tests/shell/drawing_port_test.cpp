// The drawing port: which context is current, the lines' end points and
// fills pixel for pixel, clips and their tokens, frames, and the bottom
// bar's buttons drawn from window type 1 and the module table.
#include <cairo.h>

#include "core/decimal.h"
#include "core/work_blocks.h"
#include "platform/icon.h"
#include "shell_fixture.h"

using DrawingPort = TestWindows;

namespace {
constexpr uint32_t White = 0xFFFFFF, Black = 0x000000, Red = 0xFF0000, Grey = 0x808080, LightGrey = 0xC0C0C0;

// Makes n the port with its client area white and the pen black.
void Blank(int n)
{
    SetPortWindow(n);
    MacRect all{0, 0, 300, 400};
    FillRectMode(&all, 1);
    SetPenMode(2);
}

// True when some pixel of r on the surface differs from white.
bool Inked(cairo_surface_t *s, PlRect r)
{
    for (int y = r.top; y < r.bottom; y++)
        for (int x = r.left; x < r.right; x++)
            if (PlSurfacePixel(s, x, y) != White) return true;
    return false;
}
}  // namespace

TEST_F(DrawingPort, PortSelectionKeepsReleasesAndRefusesContexts)
{
    int a = Open(TypeUnnamed), b = Open(TypeUnnamed);
    SetPortWindow(a);
    DrawContext *dc = PortState.dc;
    ASSERT_NE(dc, nullptr);
    SetPortWindow(a);
    EXPECT_EQ(PortState.dc, dc) << "the same window keeps its context";

    // PortLine draws elsewhere and gives the port back.
    PortLine(b, 0, 0, 5, 0, 2);
    int saved = -1;
    EXPECT_EQ(GetPortWindow(&saved), a);
    EXPECT_EQ(saved, a);

    SetPortWindow(0);
    EXPECT_EQ(GetPortWindow(&saved), 0);
    EXPECT_EQ(PortState.dc, nullptr);

    // Without a live child nothing becomes current, and drawing is dropped.
    int c = WinSlotAlloc();
    SetPortWindow(c);
    EXPECT_EQ(GetPortWindow(&saved), 0);
    MoveTo(1, 1);
    LineToMode(9, 1);
    EXPECT_EQ(PortState.dc, nullptr);

    // A slot closed and taken again by another window is not the port's
    // old context, although the number is the same.
    SetPortWindow(a);
    uint32_t oldChild = WinTable[a]->mdiChild;
    WinClose(a);
    ASSERT_EQ(Open(TypeUnnamed), a);
    ASSERT_NE(WinTable[a]->mdiChild, oldChild);
    SetPortWindow(a);
    EXPECT_EQ(PortState.window, WinTable[a]->mdiChild);
}

TEST_F(DrawingPort, LinesEndOnTheirLastPixelAndFillsReachPastTheEnd)
{
    int n = Open(TypeUnnamed);
    Blank(n);
    MoveTo(10, 5);
    LineToMode(20, 5);                      // horizontal: 10..20
    EXPECT_EQ(Pixel(n, 9, 5), White);
    EXPECT_EQ(Pixel(n, 10, 5), Black);
    EXPECT_EQ(Pixel(n, 20, 5), Black);
    EXPECT_EQ(Pixel(n, 21, 5), White);
    MoveTo(40, 5);
    LineToMode(40, 15);                     // vertical: 5..15
    EXPECT_EQ(Pixel(n, 40, 15), Black);
    EXPECT_EQ(Pixel(n, 40, 16), White);
    MoveTo(60, 10);
    LineToMode(70, 20);                     // diagonal: not extended
    EXPECT_EQ(Pixel(n, 69, 19), Black);
    EXPECT_EQ(Pixel(n, 70, 20), White);

    SetPenMode(3);                          // grey fill to (x + 1, y + 1)
    MoveTo(10, 30);
    LineToMode(20, 33);
    EXPECT_EQ(Pixel(n, 10, 30), Grey);
    EXPECT_EQ(Pixel(n, 20, 33), Grey);
    EXPECT_EQ(Pixel(n, 21, 33), White);
    EXPECT_EQ(Pixel(n, 20, 34), White);
    EXPECT_EQ(Pixel(n, 9, 30), White);
    SetPenMode(4);
    MoveTo(30, 30);
    LineToMode(32, 31);
    EXPECT_EQ(Pixel(n, 32, 31), LightGrey);
    SetPenMode(0);
    MoveTo(50, 30);
    LineToMode(60, 30);
    SetPenMode(7);
    LineToMode(60, 30);
    EXPECT_EQ(Pixel(n, 55, 30), White) << "modes 0 and 7 draw nothing";
}

// The filled one-pixel lines the 3-D edges, the matrix grid and the page
// strip are drawn with: both ends drawn, nothing past them, and a line
// whose end lies before its start (a shape too small for it) draws nothing.
TEST_F(DrawingPort, FilledLinesDrawBothEndsAndNothingWhenReversed)
{
    int n = Open(TypeUnnamed);
    Blank(n);
    FillHLine(10, 20, 50, 2);
    FillVLine(40, 60, 70, 3);
    FillHLine(130, 130, 90, 2);             // one pixel: start and end are one
    FillHLine(120, 100, 80, 2);
    FillVLine(150, 120, 100, 2);
    struct Probe { int x, y; uint32_t want; } probes[] = {
        {9, 50, White},  {10, 50, Black}, {20, 50, Black}, {21, 50, White}, {15, 51, White},
        {40, 59, White}, {40, 60, Grey},  {40, 70, Grey},  {40, 71, White}, {41, 65, White},
        {130, 90, Black}, {131, 90, White},
    };
    for (const Probe &p : probes) EXPECT_EQ(Pixel(n, p.x, p.y), p.want) << p.x << "," << p.y;
    // A reversed line draws nothing anywhere along either of its ends.
    for (int x = 95; x < 125; x++) EXPECT_EQ(Pixel(n, x, 80), White) << x;
    for (int y = 95; y < 125; y++) EXPECT_EQ(Pixel(n, 150, y), White) << y;
}

TEST_F(DrawingPort, RedLineComparesWithTheLastMoveTo)
{
    int n = Open(TypeUnnamed);
    Blank(n);
    MoveTo(5, 30);
    LineToMode(5, 40);      // vertical, so the pen stands at (5, 41)
    LineToMode(15, 41);     // neither x nor y as at MoveTo: not extended
    EXPECT_EQ(Pixel(n, 15, 41), White);
    RedLineTo(15, 50);      // (15, 41) was only the last end, not MoveTo's
    EXPECT_EQ(Pixel(n, 15, 45), Red);
    EXPECT_EQ(Pixel(n, 15, 50), White);
    MoveTo(30, 60);
    MarkLineTo(40, 60, true);
    EXPECT_EQ(Pixel(n, 40, 60), Red);
    MoveTo(30, 60);
    MarkLineTo(35, 60, false);
    EXPECT_EQ(Pixel(n, 35, 60), White);
    EXPECT_EQ(Pixel(n, 36, 60), Red);
    MoveTo(30, 65);
    LineToMode(30, 70);     // the black pen came back after the coloured lines
    EXPECT_EQ(Pixel(n, 30, 70), Black);
}

TEST_F(DrawingPort, FramesClipsAndRectangles)
{
    int n = Open(TypeUnnamed);
    Blank(n);
    PackedDecimal width;
    DecSetBlank(&width);
    MacRect r{10, 10, 30, 30};
    FrameRectWidth(&r, &width);
    EXPECT_EQ(Pixel(n, 10, 20), Black);
    EXPECT_EQ(Pixel(n, 11, 20), White) << "a blank width draws one pixel";
    DecFromDoubleSmall(3, &width);
    MacRect r3{70, 10, 90, 30};
    FrameRectWidth(&r3, &width);
    EXPECT_EQ(Pixel(n, 12, 80), Black);
    EXPECT_EQ(Pixel(n, 13, 80), White);
    EXPECT_EQ(Pixel(n, 29, 80), Black);

    // A clip limits drawing until its token is restored.
    MacRect clip{100, 100, 110, 110}, big{95, 95, 120, 120};
    int token = ClipToRect(n, &clip);
    EXPECT_NE(token, 0);
    FillRectMode(&big, 2);
    EXPECT_EQ(Pixel(n, 100, 100), Black);
    EXPECT_EQ(Pixel(n, 99, 100), White);
    RestoreClip(n, token);
    FillRectMode(&big, 2);
    EXPECT_EQ(Pixel(n, 96, 96), Black);
    ClipToRect(n, &clip);
    RestoreClip(n, 0);      // token 0 gets the port afresh, without any clip
    MacRect wide{140, 140, 160, 160};
    FillRectMode(&wide, 2);
    EXPECT_EQ(Pixel(n, 141, 141), Black);

    MacRect p;
    RectFromPoints(&p, 30, 40, 10, 20);
    EXPECT_TRUE(p.top == 20 && p.left == 10 && p.bottom == 40 && p.right == 30);
    MacRect a{0, 0, 10, 10}, touching{0, 10, 10, 20};
    EXPECT_FALSE(IntersectMacRect(&a, &touching)) << "right edges are exclusive";
}

TEST_F(DrawingPort, BottomBarButtonsFollowTheIconPartAndTheModules)
{
    CurrentModule = 3;
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 480, 70);
    DrawContext *bar = DcCreate(s, 0, 0, nullptr, 0);
    ASSERT_NE(bar, nullptr);
    PlRect all{0, 0, 480, 70};
    DcFillRect(bar, all, kPlBrushWhite);
    DrawToolbarButtons(bar);
    cairo_surface_flush(s);

    auto iconAt = [&](int x) { return Inked(s, PlRect{x - 16, 2, x + 16, 34}); };
    auto labelAt = [&](int x) { return Inked(s, PlRect{x - 20, 36, x + 20, 52}); };
    for (int i = 1; i <= 4; i++) {
        EXPECT_TRUE(iconAt(ButtonX[i])) << "fixed button " << i;
        EXPECT_TRUE(labelAt(ButtonX[i])) << "label of fixed button " << i;
    }
    EXPECT_FALSE(iconAt(ButtonX[0])) << "entry 0 is no button";
    // Modules 0 and 3 match (types 41, 42): entries 5 and 6, labelled with
    // the module text; type 43 finds no entry left, type 40 is module 2.
    EXPECT_TRUE(iconAt(ButtonX[5]));
    EXPECT_TRUE(labelAt(ButtonX[5]));
    EXPECT_TRUE(iconAt(ButtonX[6]));
    EXPECT_FALSE(Inked(s, PlRect{ButtonX[6] + 40, 0, 480, 70})) << "nothing past the last entry";
    EXPECT_EQ(DcBkMode(bar), PlBkMode::Opaque) << "the bar's context is given back as it was";

    // With the module matching nothing, only the fixed buttons are drawn.
    DcFillRect(bar, all, kPlBrushWhite);
    CurrentModule = 5;
    DrawToolbarButtons(bar);
    cairo_surface_flush(s);
    EXPECT_TRUE(iconAt(ButtonX[5])) << "module 0 matches every module";
    EXPECT_FALSE(iconAt(ButtonX[6]));
    DcDestroy(bar);
    cairo_surface_destroy(s);
    CurrentModule = 0;
}
