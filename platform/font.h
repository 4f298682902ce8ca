// Fonts and 8-bit text on a DrawContext. Faces are chosen through fontconfig:
// the screen's UI faces come from DejaVu Sans, and the printer face names the
// program uses (serif, sans and mono families) map to the metric-compatible
// Liberation Serif, Sans and Mono. Text is 8-bit in the Western Windows code
// page (cp1252) and is converted to UTF-8 only here, at the drawing edge.
// Text is placed by its top-left corner; the cell height is ascent + descent.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/draw.h"

struct PlFont;  // opaque; made by FontCreate, released by FontDestroy

// The platform's serif face: the printer's last fallback.
constexpr std::string_view kPlSerifFace = "Liberation Serif";

struct PlFontMetrics {
    int ascent;   // pixels from the top of the cell to the baseline
    int descent;  // pixels below the baseline
    int height;   // ascent + descent
};

// The largest character height FontCreate makes, in pixels: the font
// library refuses larger ones, and a scaled font it refuses stays
// allocated inside it, so they are never asked for.
constexpr int kPlFontPixelsMax = 0xFFFF;

// A font of `face` (a family name; unknown names fall back through fontconfig),
// `pixelHeight` pixels of character (em) height, weight 400 (normal) or from 600
// up (bold), upright or italic. Returns null for a height below 1 or above
// kPlFontPixelsMax, or when no face can be found.
PlFont *FontCreate(std::string_view face, int pixelHeight, int weight, bool italic);
void FontDestroy(PlFont *font);

// The screen's two 12-pixel UI fonts, made on first use and kept for the run.
PlFont *FontUiRegular();
PlFont *FontUiSemibold();

// The family fontconfig resolved the face to (for example "Liberation Serif").
std::string FontResolvedFamily(const PlFont *font);
int FontPixelHeight(const PlFont *font);
PlFontMetrics FontMetrics(const PlFont *font);
// Width and height in pixels of 8-bit text in `font`; {0, cell height} for empty text.
PlSize FontTextExtent(const PlFont *font, std::string_view text);

// Selects a font into the context (null selects the regular UI font) and
// returns the previous one. The context does not own its font.
PlFont *DcSelectFont(DrawContext *dc, PlFont *font);
PlFont *DcFont(const DrawContext *dc);
// Draws 8-bit text with its top-left corner at (x, y) in the context's font and
// text colour; with an opaque background the text cell is filled first with
// the background colour.
void DcTextOut(DrawContext *dc, int x, int y, std::string_view text);
PlSize DcTextExtent(DrawContext *dc, std::string_view text);

// The families of the installed fonts (through fontconfig), for the choice
// lists that offer a face: cp1252 names, sorted without regard to case and
// each named once. Families whose name the code page cannot show are left
// out. False (and an empty list) when fontconfig cannot be used.
bool FontListFamilies(std::vector<std::string> *out);
// The same list made from family names in UTF-8 as fontconfig gives them.
std::vector<std::string> FontFamilyNames(const std::vector<std::string> &utf8Names);

// cp1252 to UTF-8; bytes that the code page leaves undefined become U+FFFD.
std::string PlCp1252ToUtf8(std::string_view text);
// UTF-8 (from the display: typed text, the clipboard) to cp1252.
std::string PlUtf8ToCp1252(std::string_view utf8);
