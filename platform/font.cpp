// Fonts through fontconfig and cairo-ft, 8-bit text out and text extent.
// Face names the program stores (in settings and form designs) are mapped to
// installed metric-compatible families before fontconfig matches them, and
// every rendering option is fixed here, so text looks and measures the same on
// every machine that has the two font packages.
#include "platform/font.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cassert>
#include <cctype>
#include <cmath>
#include <strings.h>

#include "platform/cp1252.h"
#include "platform/draw_internal.h"

struct PlFont {
    cairo_font_face_t *face;
    cairo_scaled_font_t *scaled;  // at pixelHeight, identity transform, fixed options
    std::string family;           // what fontconfig resolved the request to
    int pixelHeight;
    PlFontMetrics metrics;
};

namespace {

void AppendUtf8(std::string &out, uint32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// The installed family for a face name the program may carry: the classic
// serif, sans and typewriter faces of office documents map to the Liberation
// families with the same metrics; anything else goes to fontconfig as given.
std::string MapFamily(std::string_view face)
{
    std::string lower;
    for (char ch : face) lower += char(std::tolower(static_cast<unsigned char>(ch)));
    auto has = [&](const char *word) { return lower.find(word) != std::string::npos; };
    if (has("dejavu") || has("liberation")) return std::string(face);
    if (has("courier") || has("mono")) return "Liberation Mono";
    if (has("arial") || has("helvetica") || has("sans")) return "Liberation Sans";
    if (has("times") || has("roman") || has("serif")) return "Liberation Serif";
    if (lower.empty()) return "DejaVu Sans";
    return std::string(face);
}

// The fixed rendering options: grey antialiasing, slight hinting, whole-pixel
// advances (so text extents are integers and layouts are reproducible).
cairo_font_options_t *FixedOptions()
{
    static cairo_font_options_t *options = [] {
        cairo_font_options_t *o = cairo_font_options_create();
        cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_subpixel_order(o, CAIRO_SUBPIXEL_ORDER_DEFAULT);
        cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
        return o;
    }();
    return options;
}

// Overrides in the matched pattern whatever the local configuration chose
// for rendering, so that the options above hold.
void FixPatternOptions(FcPattern *p)
{
    FcPatternDel(p, FC_ANTIALIAS);
    FcPatternDel(p, FC_HINTING);
    FcPatternDel(p, FC_HINT_STYLE);
    FcPatternDel(p, FC_AUTOHINT);
    FcPatternDel(p, FC_RGBA);
    FcPatternDel(p, FC_LCD_FILTER);
    FcPatternDel(p, FC_EMBEDDED_BITMAP);
    FcPatternAddBool(p, FC_ANTIALIAS, FcTrue);
    FcPatternAddBool(p, FC_HINTING, FcTrue);
    FcPatternAddInteger(p, FC_HINT_STYLE, FC_HINT_SLIGHT);
    FcPatternAddBool(p, FC_AUTOHINT, FcFalse);
    FcPatternAddInteger(p, FC_RGBA, FC_RGBA_NONE);
    FcPatternAddBool(p, FC_EMBEDDED_BITMAP, FcFalse);
}

PlFont *ResolveFont(const DrawContext *dc) { return dc->font != nullptr ? dc->font : FontUiRegular(); }

}  // namespace

// GCC tells an address-sanitized build by __SANITIZE_ADDRESS__, clang (the
// fuzz builds) by __has_feature(address_sanitizer).
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVEL_FONT_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(ORVEL_FONT_ASAN)
// fontconfig loses a few bytes while parsing its configuration files; that is
// not ours to fix, so sanitizer builds of every program that draws text tell
// the leak checker to ignore the library's own allocations.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
#endif

std::string PlCp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char ch : text) {
        auto b = static_cast<unsigned char>(ch);
        if (b == 0) continue;  // cairo takes NUL-terminated text
        uint32_t cp = b;
        if (b >= 0x80 && b <= 0x9F) cp = kCp1252High[b - 0x80] != 0 ? kCp1252High[b - 0x80] : 0xFFFD;
        AppendUtf8(out, cp);
    }
    return out;
}

// The cp1252 byte of a code point, -1 when the code page lacks it. The five
// bytes the code page leaves undefined stand for themselves, as the C1 code
// points of the same value.
static int Cp1252Byte(uint32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
    for (size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == cp) return int(0x80 + i);
        if (kCp1252High[i] == 0 && cp == 0x80 + i) return int(cp);
    }
    return -1;
}

std::string PlUtf8ToCp1252(std::string_view utf8)
{
    std::string out;
    size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[i]);
        int n = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
        if (n == 0) {  // a stray continuation byte or a lead byte that is never valid
            out.push_back('?');
            ++i;
            continue;
        }
        uint32_t cp = n == 1 ? b : n == 2 ? (b & 0x1Fu) : n == 3 ? (b & 0x0Fu) : (b & 0x07u);
        size_t k = 1;
        for (; k < size_t(n) && i + k < utf8.size(); ++k) {
            auto c = static_cast<unsigned char>(utf8[i + k]);
            if ((c & 0xC0) != 0x80) break;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        i += k;
        bool whole = k == size_t(n);
        bool shortest = n < 3 || (n == 3 && cp >= 0x800) || (n == 4 && cp >= 0x10000 && cp <= 0x10FFFF);
        int byte = whole && shortest && !(cp >= 0xD800 && cp <= 0xDFFF) ? Cp1252Byte(cp) : -1;
        if (byte == 0) continue;  // 8-bit text ends at a NUL; leave it out
        out.push_back(byte < 0 ? '?' : char(byte));
    }
    return out;
}

PlFont *FontCreate(std::string_view face, int pixelHeight, int weight, bool italic)
{
    if (pixelHeight < 1 || pixelHeight > kPlFontPixelsMax) return nullptr;
    if (!FcInit()) return nullptr;
    std::string family = MapFamily(face);
    FcPattern *want = FcPatternCreate();
    FcPatternAddString(want, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
    FcPatternAddDouble(want, FC_PIXEL_SIZE, pixelHeight);
    FcPatternAddInteger(want, FC_WEIGHT, weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(want, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, want, FcMatchPattern);
    FcDefaultSubstitute(want);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, want, &result);
    FcPatternDestroy(want);
    if (match == nullptr) return nullptr;
    FixPatternOptions(match);
    FcChar8 *got = nullptr;
    std::string resolved = FcPatternGetString(match, FC_FAMILY, 0, &got) == FcResultMatch
                               ? std::string(reinterpret_cast<const char *>(got))
                               : family;
    cairo_font_face_t *ff = cairo_ft_font_face_create_for_pattern(match);
    FcPatternDestroy(match);  // the face keeps its own reference
    if (cairo_font_face_status(ff) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(ff);
        return nullptr;
    }
    cairo_matrix_t fm, ctm;
    cairo_matrix_init_scale(&fm, pixelHeight, pixelHeight);
    cairo_matrix_init_identity(&ctm);
    cairo_scaled_font_t *sf = cairo_scaled_font_create(ff, &fm, &ctm, FixedOptions());
    if (cairo_scaled_font_status(sf) != CAIRO_STATUS_SUCCESS) {
        cairo_scaled_font_destroy(sf);
        cairo_font_face_destroy(ff);
        return nullptr;
    }
    cairo_font_extents_t fe;
    cairo_scaled_font_extents(sf, &fe);
    auto *font = new PlFont{ff, sf, resolved, pixelHeight, {}};
    font->metrics.ascent = int(std::ceil(fe.ascent));
    font->metrics.descent = int(std::ceil(fe.descent));
    font->metrics.height = font->metrics.ascent + font->metrics.descent;
    return font;
}

void FontDestroy(PlFont *font)
{
    if (font == nullptr || font == FontUiRegular() || font == FontUiSemibold()) return;
    cairo_scaled_font_destroy(font->scaled);
    cairo_font_face_destroy(font->face);
    delete font;
}

PlFont *FontUiRegular()
{
    static PlFont *font = FontCreate("DejaVu Sans", 12, 400, false);
    return font;
}

PlFont *FontUiSemibold()
{
    static PlFont *font = FontCreate("DejaVu Sans", 12, 600, false);
    return font;
}

std::string FontResolvedFamily(const PlFont *font) { return font != nullptr ? font->family : std::string(); }
int FontPixelHeight(const PlFont *font) { return font != nullptr ? font->pixelHeight : 0; }
PlFontMetrics FontMetrics(const PlFont *font) { return font != nullptr ? font->metrics : PlFontMetrics{0, 0, 0}; }

PlSize FontTextExtent(const PlFont *font, std::string_view text)
{
    if (font == nullptr) return PlSize{0, 0};
    std::string utf8 = PlCp1252ToUtf8(text);
    if (utf8.empty()) return PlSize{0, font->metrics.height};
    cairo_text_extents_t te;
    cairo_scaled_font_text_extents(font->scaled, utf8.c_str(), &te);
    return PlSize{int(std::lround(te.x_advance)), font->metrics.height};
}

PlFont *DcSelectFont(DrawContext *dc, PlFont *font)
{
    PlFont *old = ResolveFont(dc);
    dc->font = font;
    return old;
}

PlFont *DcFont(const DrawContext *dc) { return ResolveFont(dc); }

PlSize DcTextExtent(DrawContext *dc, std::string_view text) { return FontTextExtent(ResolveFont(dc), text); }

void DcTextOut(DrawContext *dc, int x, int y, std::string_view text)
{
    PlFont *font = ResolveFont(dc);
    if (font == nullptr) return;
    std::string utf8 = PlCp1252ToUtf8(text);
    if (utf8.empty()) return;
    cairo_text_extents_t te;
    cairo_scaled_font_text_extents(font->scaled, utf8.c_str(), &te);
    int width = int(std::lround(te.x_advance));
    cairo_t *cr = dc->cr;
    if (dc->bkMode == PlBkMode::Opaque && width > 0) {
        cairo_rectangle(cr, x, y, width, font->metrics.height);
        DcSetSourceColor(cr, dc->bkColor);
        cairo_fill(cr);
    }
    cairo_save(cr);
    cairo_set_scaled_font(cr, font->scaled);
    cairo_set_font_options(cr, FixedOptions());
    DcSetSourceColor(cr, dc->textColor);
    cairo_move_to(cr, x, y + font->metrics.ascent);
    cairo_show_text(cr, utf8.c_str());
    cairo_new_path(cr);
    cairo_restore(cr);
}

std::vector<std::string> FontFamilyNames(const std::vector<std::string> &utf8Names)
{
    std::vector<std::string> out;
    out.reserve(utf8Names.size());
    for (const std::string &name : utf8Names) {
        std::string cp = PlUtf8ToCp1252(name);
        // A name that does not come back the same holds characters the code
        // page lacks: shown, it would be a row of question marks.
        if (cp.empty() || PlCp1252ToUtf8(cp) != name) continue;
        out.push_back(std::move(cp));
    }
    // cp1252 letters above 127 are compared as bytes; the ASCII ones
    // without regard to case, as fontconfig matches family names.
    auto less = [](const std::string &a, const std::string &b) { return strcasecmp(a.c_str(), b.c_str()) < 0; };
    auto same = [](const std::string &a, const std::string &b) { return strcasecmp(a.c_str(), b.c_str()) == 0; };
    std::stable_sort(out.begin(), out.end(), less);
    out.erase(std::unique(out.begin(), out.end(), same), out.end());
    return out;
}

bool FontListFamilies(std::vector<std::string> *out)
{
    assert(out != nullptr);
    out->clear();
    if (!FcInit()) return false;
    FcPattern *all = FcPatternCreate();
    FcObjectSet *fields = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet *set = (all && fields) ? FcFontList(nullptr, all, fields) : nullptr;
    if (fields) FcObjectSetDestroy(fields);
    if (all) FcPatternDestroy(all);
    if (set == nullptr) return false;
    std::vector<std::string> names;
    for (int i = 0; i < set->nfont; ++i) {
        // The first family name is the font's own; later ones are the same
        // family in other languages.
        FcChar8 *family = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family != nullptr)
            names.emplace_back(reinterpret_cast<const char *>(family));
    }
    FcFontSetDestroy(set);
    *out = FontFamilyNames(names);
    return true;
}
