// Icons: the numbers the windows use exist, each is masked (opaque shape,
// transparent rest), placement by top-left and by centre, and the framed box
// for an unknown number.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/icon.h"

TEST(DrawIcon, SetIsCompleteAndMasked)
{
    const int needed[] = {3, 4, 7, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 130, 301, 302, 303, 304,
                          331, 332, 333, 334, 391, 392, 398, 399, 400, 401, 402, 403, 410, 411, 412, 413};
    for (int n : needed) EXPECT_TRUE(IconExists(n)) << n;
    EXPECT_FALSE(IconExists(0));
    EXPECT_FALSE(IconExists(5));
    std::span<const int> all = IconNumbers();
    EXPECT_EQ(all.size(), std::size(needed));
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));

    for (int n : all) {
        cairo_surface_t *s = IconSurface(n);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(cairo_image_surface_get_width(s), 32);
        const unsigned char *d = cairo_image_surface_get_data(s);
        int stride = cairo_image_surface_get_stride(s), opaque = 0, clear = 0, partial = 0;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++) {
                uint32_t a = reinterpret_cast<const uint32_t *>(d + y * stride)[x] >> 24;
                opaque += a == 255;
                clear += a == 0;
                partial += a != 0 && a != 255;
            }
        EXPECT_GT(opaque, 10) << n;
        EXPECT_GT(clear, 10) << n;
        EXPECT_EQ(partial, 0) << n;  // a hard mask
    }
    // Distinct states look different.
    auto same = [](int a, int b) {
        cairo_surface_t *x = IconSurface(a), *y = IconSurface(b);
        return std::equal(cairo_image_surface_get_data(x), cairo_image_surface_get_data(x) + 32 * 32 * 4,
                          cairo_image_surface_get_data(y));
    };
    for (auto [a, b] : {std::pair{331, 332}, {332, 334}, {301, 302}, {3, 7}, {4, 11}, {11, 12}, {400, 403}, {411, 413}})
        EXPECT_FALSE(same(a, b)) << a << " " << b;
}

TEST(DrawIcon, PlacementMaskAndUnknown)
{
    const PlColor bg = PlRgb(1, 2, 3);
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 100, 60);
    DrawContext *dc = DcCreate(s, 5, 5, nullptr, 0);
    DcFillRect(dc, PlRect{-5, -5, 95, 55}, PlSolidBrush(bg));
    // Centred on (20, 20): occupies logical 4..36, surface 9..41.
    EXPECT_TRUE(DcDrawIconCentred(dc, kIconCheckOn, 20, 20));
    cairo_surface_t *icon = IconSurface(kIconCheckOn);
    const unsigned char *d = cairo_image_surface_get_data(icon);
    int stride = cairo_image_surface_get_stride(icon), mismatches = 0;
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            uint32_t px = reinterpret_cast<const uint32_t *>(d + y * stride)[x];
            PlColor want = (px >> 24) == 255 ? (px & 0xFFFFFF) : bg;
            mismatches += PlSurfacePixel(s, 9 + x, 9 + y) != want;
        }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(PlSurfacePixel(s, 8, 20), bg);
    EXPECT_EQ(PlSurfacePixel(s, 41, 20), bg);

    // Unknown: a framed box at the top-left point.
    EXPECT_FALSE(DcDrawIcon(dc, 9999, 50, 10));
    EXPECT_EQ(PlSurfacePixel(s, 55, 15), kPlBlack);
    EXPECT_EQ(PlSurfacePixel(s, 86, 46), kPlBlack);
    EXPECT_EQ(PlSurfacePixel(s, 70, 30), kPlLightGrey);
    EXPECT_EQ(PlSurfacePixel(s, 87, 30), bg);

    // Clipped drawing stays inside the clip.
    DcFillRect(dc, PlRect{-5, -5, 95, 55}, PlSolidBrush(bg));
    DcPushClip(dc, PlRect{0, 0, 20, 60});
    DcDrawIcon(dc, kIconFrame, 4, 4);
    DcPopClip(dc);
    int outside = 0, inside = 0;
    for (int y = 0; y < 60; y++)
        for (int x = 0; x < 100; x++) (x < 25 ? inside : outside) += PlSurfacePixel(s, x, y) != bg;
    EXPECT_GT(inside, 50);
    EXPECT_EQ(outside, 0);
    DcDestroy(dc);
    cairo_surface_destroy(s);
}
