// Fonts: face mapping through fontconfig, metrics and extents, text out at a
// top-left point with opaque or transparent background, the cp1252 edge and
// the list of installed families.
#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/font.h"

namespace {

// Darkest-channel sum of the pixels in r that differ from white: a measure of ink.
int Ink(cairo_surface_t *s, PlRect r)
{
    int ink = 0;
    for (int y = r.top; y < r.bottom; y++)
        for (int x = r.left; x < r.right; x++) ink += PlSurfacePixel(s, x, y) != kPlWhite;
    return ink;
}

}  // namespace

TEST(DrawFont, Cp1252AndUtf8RoundTripEveryByte)
{
    // Every character of the code page comes back as its byte, so text
    // copied out through the display's clipboard pastes back unchanged.
    for (int b = 1; b < 256; ++b) {
        std::string one(1, char(b));
        std::string back = PlUtf8ToCp1252(PlCp1252ToUtf8(one));
        if (PlCp1252ToUtf8(one) == "\xEF\xBF\xBD") EXPECT_EQ(back, "?") << b;  // undefined in the code page
        else EXPECT_EQ(back, one) << "byte " << b;
    }
    EXPECT_EQ(PlCp1252ToUtf8("\x80\x96"), "\xE2\x82\xAC\xE2\x80\x93");  // euro, en dash
    EXPECT_EQ(PlCp1252ToUtf8("\x81"), "\xEF\xBF\xBD");  // undefined in the code page
    EXPECT_EQ(PlCp1252ToUtf8(std::string_view("a\0b", 3)), "ab");
    EXPECT_EQ(PlUtf8ToCp1252("\xE2\x82\xAC" "100"), "\x80" "100");    // euro
    EXPECT_EQ(PlUtf8ToCp1252("\xE2\x80\x9Cq\xE2\x80\x9D"), "\x93q\x94");  // quotation marks
    // Characters the code page lacks, and C1 controls (which are not the
    // code page's 0x80..0x9F characters), become '?'.
    EXPECT_EQ(PlUtf8ToCp1252("\xE4\xB8\xAD" "a\xC2\x80" "b\xF0\x9F\x98\x80"), "?a?b?");
    // Damaged sequences lose only themselves, not the rest of the text.
    EXPECT_EQ(PlUtf8ToCp1252("a\xC3" "b\xFF" "c\xE2\x82" "d"), "a?b?c?d");
    EXPECT_EQ(PlUtf8ToCp1252("\xC3\xA5\xC3\x84\xC3\xB6"), "\xE5\xC4\xF6");
    EXPECT_EQ(PlUtf8ToCp1252("a\xC0\xAF" "b"), "a??b") << "overlong forms are refused";
}

TEST(DrawFont, FacesResolveToInstalledFamilies)
{
    struct Case { const char *face; const char *family; };
    const Case cases[] = {{"Times New Roman", "Liberation Serif"}, {"Arial", "Liberation Sans"},
                          {"Courier New", "Liberation Mono"},      {"DejaVu Sans", "DejaVu Sans"},
                          {"", "DejaVu Sans"}};
    for (const Case &c : cases) {
        PlFont *f = FontCreate(c.face, 20, 400, false);
        ASSERT_NE(f, nullptr) << c.face;
        EXPECT_EQ(FontResolvedFamily(f), c.family) << c.face;
        EXPECT_EQ(FontPixelHeight(f), 20);
        EXPECT_GE(FontMetrics(f).height, 20);
        EXPECT_LE(FontMetrics(f).height, 30);
        FontDestroy(f);
    }
    EXPECT_EQ(FontCreate("Arial", 0, 400, false), nullptr);
    EXPECT_EQ(FontCreate("Arial", kPlFontPixelsMax + 1, 400, false), nullptr);
    PlFont *largest = FontCreate("Arial", kPlFontPixelsMax, 400, false);
    ASSERT_NE(largest, nullptr) << "the largest height is still made";
    EXPECT_EQ(FontPixelHeight(largest), kPlFontPixelsMax);
    FontDestroy(largest);
    // Mono has one advance for every character; proportional faces do not.
    PlFont *mono = FontCreate("Courier New", 30, 400, false);
    PlFont *serif = FontCreate("Times New Roman", 30, 700, true);
    ASSERT_NE(mono, nullptr);
    ASSERT_NE(serif, nullptr);
    EXPECT_EQ(FontTextExtent(mono, "iiii").cx, FontTextExtent(mono, "WWWW").cx);
    EXPECT_EQ(FontTextExtent(mono, "iiii").cx * 2, FontTextExtent(mono, "iiiiiiii").cx);
    EXPECT_LT(FontTextExtent(serif, "iiii").cx, FontTextExtent(serif, "WWWW").cx);
    FontDestroy(mono);
    FontDestroy(serif);
}

TEST(DrawFont, UiFontsExtentAndTextOut)
{
    PlFont *regular = FontUiRegular();
    PlFont *bold = FontUiSemibold();
    ASSERT_NE(regular, nullptr);
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(FontResolvedFamily(regular), "DejaVu Sans");
    PlSize a = FontTextExtent(regular, "Invoice");
    PlSize b = FontTextExtent(bold, "Invoice");
    EXPECT_GT(a.cx, 30);
    EXPECT_GT(b.cx, a.cx);  // the bold face is wider
    EXPECT_EQ(a.cy, FontMetrics(regular).height);
    EXPECT_EQ(FontTextExtent(regular, "").cx, 0);
    EXPECT_GT(FontTextExtent(regular, "\x80").cx, 0);  // the euro sign has a glyph
    EXPECT_EQ(FontTextExtent(regular, "ab").cx + FontTextExtent(regular, "ab").cx,
              FontTextExtent(regular, "abab").cx);

    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 120, 40);
    DrawContext *dc = DcCreate(s, 10, 5, nullptr, 0);
    DcFillRect(dc, PlRect{-10, -5, 110, 35}, kPlBrushWhite);
    EXPECT_EQ(DcFont(dc), regular);
    DcSetBkMode(dc, PlBkMode::Transparent);
    DcTextOut(dc, 0, 0, "Hg");
    PlSize hg = DcTextExtent(dc, "Hg");
    // All ink lies in the text cell at surface (10,5); the cell has ink near its top.
    PlRect cell{10, 5, 10 + hg.cx, 5 + hg.cy};
    EXPECT_EQ(Ink(s, PlRect{0, 0, 120, 40}), Ink(s, cell));
    EXPECT_GT(Ink(s, PlRect{cell.left, cell.top, cell.right, cell.top + 6}), 0);
    EXPECT_GT(Ink(s, PlRect{cell.left, cell.bottom - FontMetrics(regular).descent, cell.right, cell.bottom}), 0);

    // Opaque white-on-black: the cell's background becomes black, selection style.
    DcSetBkMode(dc, PlBkMode::Opaque);
    DcSetBkColor(dc, kPlBlack);
    DcSetTextColor(dc, kPlWhite);
    PlFont *old = DcSelectFont(dc, bold);
    EXPECT_EQ(old, regular);
    DcTextOut(dc, 40, 10, "ok");
    PlSize ok = DcTextExtent(dc, "ok");
    EXPECT_EQ(PlSurfacePixel(s, 50, 15), kPlBlack);
    EXPECT_EQ(PlSurfacePixel(s, 50 + ok.cx - 1, 15 + ok.cy - 1), kPlBlack);
    EXPECT_EQ(PlSurfacePixel(s, 50 + ok.cx, 15), kPlWhite);
    int black = 0;
    for (int x = 50; x < 50 + ok.cx; x++)
        for (int y = 15; y < 15 + ok.cy; y++) black += PlSurfacePixel(s, x, y) == kPlBlack;
    EXPECT_LT(black, ok.cx * ok.cy);  // white glyphs in it
    DcDestroy(dc);
    cairo_surface_destroy(s);
}

TEST(DrawFont, FamilyListIsSortedUniqueAndShowable)
{
    std::vector<std::string> families;
    ASSERT_TRUE(FontListFamilies(&families));
    auto has = [&](const char *name) { return std::find(families.begin(), families.end(), name) != families.end(); };
    EXPECT_TRUE(has("DejaVu Sans"));
    EXPECT_TRUE(has("Liberation Serif"));
    for (size_t i = 1; i < families.size(); ++i)
        EXPECT_LT(strcasecmp(families[i - 1].c_str(), families[i].c_str()), 0)
            << "out of order or twice: " << families[i - 1] << " / " << families[i];
    for (const std::string &f : families) EXPECT_EQ(f.find('?'), std::string::npos) << f;

    // Names come back in the code page; one it cannot show is left out rather
    // than shown as question marks; a family that fontconfig lists once per
    // style, or in another case, appears once.
    std::vector<std::string> made = FontFamilyNames({"Zeta", "Caf\xC3\xA9 Serif", "\xE6\x96\x87\xE6\xB3\x89", "alpha",
                                                     "Zeta", "ZETA", "Alpha Mono", "", "Euro \xE2\x82\xAC"});
    EXPECT_EQ(made, (std::vector<std::string>{"alpha", "Alpha Mono", "Caf\xE9 Serif", "Euro \x80", "Zeta"}));
}
