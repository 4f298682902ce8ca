// Invalidation, paint delivery, immediate contexts, scrolling and PNG export.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/draw.h"
#include "platform/queue.h"
#include "platform/window.h"

namespace {
std::vector<uint32_t> gPainted;
PlColor gPaintColor = kPlBlack;

// Paints its whole client area in gPaintColor.
intptr_t SolidProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::Paint) {
        gPainted.push_back(win);
        PlPaint ps;
        if (WinBeginPaint(win, &ps)) {
            DcFillRect(ps.dc, WinClientRect(win), PlSolidBrush(gPaintColor));
            WinEndPaint(win, &ps);
        }
        return 0;
    }
    return WinDefProc(win, msg, wParam, lParam);
}

// Only erases (default paint).
intptr_t EraseOnlyProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    return WinDefProc(win, msg, wParam, lParam);
}

class WindowPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        WinResetAll();
        gPainted.clear();
        gPaintColor = kPlBlack;
        ASSERT_TRUE(WinRegisterClass({"Solid", SolidProc, 0, kPlWhite, 0, 0}));
        ASSERT_TRUE(WinRegisterClass({"Green", EraseOnlyProc, 0, PlRgb(0, 255, 0), 0, 0}));
    }
    void TearDown() override { WinResetAll(); }
};

TEST_F(WindowPaint, PaintComesWhenTheQueueIsEmptyAndErasesWithTheClassBrush)
{
    uint32_t top = WinCreate("Green", "", PlStyle::Visible, {0, 0, 120, 100}, 0, 0, 0);
    uint32_t child = WinCreate("Solid", "", PlStyle::Child | PlStyle::Visible, {10, 10, 40, 40}, top, 0, 0);
    MsgPost(top, PlMsg::User, 0, 0);
    PlMessage m;
    ASSERT_EQ(MsgGet(&m), PlGet::Message);
    EXPECT_EQ(m.msg, PlMsg::User) << "posted messages come before paint";
    int paints = 0;
    while (MsgPeek(&m, true)) {
        ASSERT_EQ(m.msg, PlMsg::Paint);
        MsgDispatch(m);
        ++paints;
    }
    EXPECT_EQ(paints, 2);
    EXPECT_FALSE(WinHasInvalid(top));
    EXPECT_EQ(WinClientPixel(top, 5, 5), PlRgb(0, 255, 0));
    EXPECT_EQ(WinClientPixel(top, 15, 15), kPlBlack) << "the parent's erase does not cover the child";
    EXPECT_EQ(WinClientPixel(child, 0, 0), kPlBlack);

    // Invalidating part of the child repaints only that part.
    gPaintColor = kPlRed;
    PlRect part{0, 0, 5, 5};
    WinInvalidate(child, &part, true);
    EXPECT_TRUE(PlRectEqual(WinInvalidBox(child), part));
    MsgPumpPending();
    EXPECT_EQ(WinClientPixel(child, 2, 2), kPlRed);
    EXPECT_EQ(WinClientPixel(child, 10, 10), kPlBlack);

    // Hidden windows are not painted; showing them paints them.
    WinShow(child, PlShow::Hide);
    gPainted.clear();
    MsgPumpPending();
    EXPECT_TRUE(gPainted.empty());
    EXPECT_EQ(WinClientPixel(top, 15, 15), PlRgb(0, 255, 0)) << "uncovered area was erased";
    WinShow(child, PlShow::Show);
    MsgPumpPending();
    EXPECT_EQ(gPainted, std::vector<uint32_t>{child});
}

TEST_F(WindowPaint, ImmediateContextsClipToWhatIsVisible)
{
    uint32_t top = WinCreate("Green", "", PlStyle::Visible, {0, 0, 100, 100}, 0, 0, 0);
    uint32_t lower = WinCreate("Solid", "", PlStyle::Child | PlStyle::Visible, {0, 0, 60, 60}, top, 0, 0);
    uint32_t upper = WinCreate("Solid", "", PlStyle::Child | PlStyle::Visible, {30, 30, 90, 90}, top, 0, 0);
    MsgPumpPending();
    DrawContext *dc = WinGetDc(lower);
    ASSERT_NE(dc, nullptr);
    DcFillRect(dc, {0, 0, 60, 60}, kPlBrushWhite);
    WinReleaseDc(lower, dc);
    EXPECT_EQ(WinClientPixel(lower, 10, 10), kPlWhite);
    EXPECT_EQ(WinClientPixel(upper, 5, 5), kPlBlack) << "the sibling above is clipped out";
    // Drawing into the parent does not cover its children.
    dc = WinGetDc(top);
    DcFillRect(dc, {0, 0, 100, 100}, kPlBrushGrey);
    WinReleaseDc(top, dc);
    EXPECT_EQ(WinClientPixel(top, 95, 95), kPlGrey);
    EXPECT_EQ(WinClientPixel(upper, 5, 5), kPlBlack);
    // A hidden window's context draws nothing.
    WinShow(upper, PlShow::Hide);
    MsgPumpPending();
    PlColor before = WinClientPixel(top, 50, 50);
    dc = WinGetDc(upper);
    ASSERT_NE(dc, nullptr);
    DcFillRect(dc, {0, 0, 60, 60}, kPlBrushWhite);
    WinReleaseDc(upper, dc);
    EXPECT_EQ(WinClientPixel(top, 50, 50), before);
    EXPECT_EQ(WinGetDc(987654), nullptr);
}

TEST_F(WindowPaint, ScrollMovesPixelsAndInvalidatesTheUncoveredBand)
{
    uint32_t top = WinCreate("Green", "", PlStyle::Visible, {0, 0, 100, 100}, 0, 0, 0);
    MsgPumpPending();
    DrawContext *dc = WinGetDc(top);
    DcFillRect(dc, {0, 20, 100, 30}, kPlBrushBlack);
    WinReleaseDc(top, dc);
    PlRect area{0, 0, 100, 80};
    WinScrollRect(top, &area, 0, -17);
    EXPECT_EQ(WinClientPixel(top, 50, 5), kPlBlack) << "rows 20..29 moved up by 17";
    EXPECT_EQ(WinClientPixel(top, 50, 12), kPlBlack);
    EXPECT_NE(WinClientPixel(top, 50, 13), kPlBlack);
    PlRect inv = WinInvalidBox(top);
    EXPECT_EQ(inv.top, 80 - 17);
    EXPECT_EQ(inv.bottom, 80);
    EXPECT_EQ(WinClientPixel(top, 50, 90), PlRgb(0, 255, 0)) << "outside the rectangle nothing moved";
    MsgPumpPending();
    EXPECT_EQ(WinClientPixel(top, 50, 70), PlRgb(0, 255, 0));
}

TEST_F(WindowPaint, SavesPngOfAnyWindow)
{
    uint32_t top = WinCreate("Green", "", PlStyle::Visible, {0, 0, 64, 48}, 0, 0, 0);
    uint32_t child = WinCreate("Solid", "", PlStyle::Child | PlStyle::Visible, {8, 8, 24, 20}, top, 0, 0);
    MsgPumpPending();
    std::string path = ::testing::TempDir() + "window_paint_test.png";
    ASSERT_TRUE(WinSavePng(child, path));
    cairo_surface_t *png = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png), 16);
    EXPECT_EQ(cairo_image_surface_get_height(png), 12);
    EXPECT_EQ(PlSurfacePixel(png, 3, 3) & 0xFFFFFF, kPlBlack);
    cairo_surface_destroy(png);
    std::remove(path.c_str());
    EXPECT_FALSE(WinSavePng(top, "/nonexistent-dir/x.png"));
}
}  // namespace
