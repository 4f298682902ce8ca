// The program's icon set: each picture is painted by a short routine into a
// 32x32 ARGB32 surface on first use (no antialiasing, so alpha is 0 or 255 and
// the mask is exact) and kept for the run. Pictures are plain shapes in the
// 16 classic colours so that they read well on the light-grey bars.
#include "platform/icon.h"

#include <algorithm>
#include <array>

#include "platform/draw_internal.h"

namespace {

constexpr PlColor kNavy = PlRgb(0, 0, 128);
constexpr PlColor kTeal = PlRgb(0, 128, 128);
constexpr PlColor kDarkGreen = PlRgb(0, 128, 0);
constexpr PlColor kMaroon = PlRgb(128, 0, 0);
constexpr PlColor kYellow = PlRgb(255, 255, 0);

// A small painter over the icon's cairo context.
struct Painter {
    cairo_t *cr;
    void Box(int l, int t, int r, int b, PlColor c)
    {
        cairo_rectangle(cr, l, t, r - l, b - t);
        DcSetSourceColor(cr, c);
        cairo_fill(cr);
    }
    void Frame(int l, int t, int r, int b, PlColor c)
    {
        Box(l, t, r, t + 1, c);
        Box(l, b - 1, r, b, c);
        Box(l, t, l + 1, b, c);
        Box(r - 1, t, r, b, c);
    }
    // A framed box filled with `fill`.
    void Panel(int l, int t, int r, int b, PlColor fill, PlColor edge = kPlBlack)
    {
        Box(l, t, r, b, fill);
        Frame(l, t, r, b, edge);
    }
    void Polygon(std::initializer_list<PlPoint> pts, PlColor c)
    {
        bool first = true;
        for (PlPoint p : pts) {
            if (first) cairo_move_to(cr, p.x, p.y);
            else cairo_line_to(cr, p.x, p.y);
            first = false;
        }
        cairo_close_path(cr);
        DcSetSourceColor(cr, c);
        cairo_fill(cr);
    }
    void Disc(double cx, double cy, double r, PlColor c)
    {
        cairo_arc(cr, cx, cy, r, 0, 6.2831853);
        DcSetSourceColor(cr, c);
        cairo_fill(cr);
    }
    // Horizontal text-like lines inside a page.
    void Lines(int l, int r, int top, int bottom, int step, PlColor c)
    {
        for (int y = top; y < bottom; y += step) Box(l, y, r, y + 1, c);
    }
};

// A sheet of paper with a folded top-right corner.
void Page(Painter &p)
{
    p.Polygon({{6, 2}, {21, 2}, {27, 8}, {27, 30}, {6, 30}}, kPlWhite);
    p.Frame(6, 2, 7, 30, kPlBlack);
    p.Box(6, 2, 21, 3, kPlBlack);
    p.Box(6, 29, 27, 30, kPlBlack);
    p.Box(26, 8, 27, 30, kPlBlack);
    for (int i = 0; i < 6; i++) p.Box(21 + i, 2 + i, 22 + i, 3 + i, kPlBlack);
    p.Box(20, 2, 21, 9, kPlBlack);
    p.Box(20, 8, 27, 9, kPlBlack);
}

void Printer(Painter &p, bool pressed)
{
    int d = pressed ? 1 : 0;
    p.Panel(9 + d, 4 + d, 23 + d, 14 + d, kPlWhite);  // paper
    p.Lines(11 + d, 21 + d, 7 + d, 13 + d, 2, kPlGrey);
    p.Panel(4 + d, 13 + d, 28 + d, 25 + d, pressed ? kPlGrey : kPlLightGrey);  // body
    p.Box(8 + d, 21 + d, 24 + d, 23 + d, kPlBlack);  // output slot
    p.Box(23 + d, 16 + d, 26 + d, 18 + d, kDarkGreen);
}

// Up and down arrows on a button face; `pressed` 1 = upper half, 2 = lower.
void UpDown(Painter &p, int pressed)
{
    p.Panel(5, 4, 27, 17, pressed == 1 ? kPlBlack : kPlLightGrey);
    p.Panel(5, 17, 27, 30, pressed == 2 ? kPlBlack : kPlLightGrey);
    p.Polygon({{16, 7}, {23, 14}, {9, 14}}, pressed == 1 ? kPlWhite : kPlBlack);
    p.Polygon({{9, 20}, {23, 20}, {16, 27}}, pressed == 2 ? kPlWhite : kPlBlack);
}

// The record arrows: previous in the left half, next in the right half.
// state: 0 disabled, 1 enabled, 2 pressed.
void Arrows(Painter &p, int prev, int next)
{
    auto colours = [](int state, PlColor *face, PlColor *arrow) {
        *face = state == 2 ? kPlBlack : kPlLightGrey;
        *arrow = state == 0 ? kPlGrey : state == 2 ? kPlWhite : kPlBlack;
    };
    PlColor face, arrow;
    colours(prev, &face, &arrow);
    p.Panel(1, 6, 16, 26, face);
    p.Polygon({{4, 16}, {13, 8}, {13, 24}}, arrow);
    colours(next, &face, &arrow);
    p.Panel(16, 6, 31, 26, face);
    p.Polygon({{19, 8}, {28, 16}, {19, 24}}, arrow);
}

void Radio(Painter &p, bool on, bool pressed)
{
    p.Disc(16, 16, 7, kPlBlack);
    p.Disc(16, 16, 6, pressed ? kPlLightGrey : kPlWhite);
    if (on) p.Disc(16, 16, 3, kPlBlack);
}

void CheckMark(Painter &p, int l, int t, PlColor c)
{
    // A tick 9 pixels wide, two pixels thick.
    for (int i = 0; i < 3; i++) p.Box(l + i, t + 4 + i, l + i + 1, t + 7 + i, c);
    for (int i = 0; i < 6; i++) p.Box(l + 3 + i, t + 5 - i, l + 4 + i, t + 8 - i, c);
}

void CheckBox(Painter &p, bool on, bool pressed)
{
    p.Panel(9, 9, 23, 23, pressed ? kPlLightGrey : kPlWhite);
    if (on) CheckMark(p, 11, 10, kPlBlack);
}

using PaintFn = void (*)(Painter &);

struct IconDef {
    int number;
    PaintFn paint;
};

// Ascending by number.
const IconDef kIcons[] = {
    {kIconPrint, [](Painter &p) { Printer(p, false); }},
    {kIconRecordUpDown, [](Painter &p) { UpDown(p, 0); }},
    {kIconPrintPressed, [](Painter &p) { Printer(p, true); }},
    {kIconBackPressed, [](Painter &p) { UpDown(p, 1); }},
    {kIconForwardPressed, [](Painter &p) { UpDown(p, 2); }},
    {kIconFrame, [](Painter &p) {  // a bound ledger
         p.Panel(5, 3, 27, 29, kNavy);
         p.Box(8, 3, 10, 29, kPlBlack);
         p.Panel(13, 8, 24, 14, kPlWhite);
         p.Box(15, 10, 22, 11, kPlBlack);
     }},
    {kIconReport, [](Painter &p) {  // a page with a bar chart
         Page(p);
         p.Box(9, 20, 12, 27, kNavy);
         p.Box(14, 14, 17, 27, kMaroon);
         p.Box(19, 17, 22, 27, kDarkGreen);
     }},
    {kIconDocument, [](Painter &p) {  // a written page
         Page(p);
         p.Lines(9, 24, 11, 27, 3, kPlBlack);
     }},
    {kIconList, [](Painter &p) {  // rows with bullets
         p.Panel(3, 4, 29, 28, kPlWhite);
         for (int y = 8; y < 26; y += 5) {
             p.Box(6, y, 9, y + 3, kTeal);
             p.Box(11, y + 1, 26, y + 2, kPlBlack);
         }
     }},
    {kIconMaintenance, [](Painter &p) {  // an index card with fields
         p.Panel(2, 7, 30, 26, kYellow);
         p.Box(2, 11, 30, 12, kMaroon);
         p.Panel(5, 15, 18, 19, kPlWhite);
         p.Panel(5, 20, 26, 24, kPlWhite);
     }},
    {kIconSettings, [](Painter &p) {  // three sliders
         p.Panel(3, 3, 29, 29, kPlLightGrey);
         for (int i = 0; i < 3; i++) {
             int x = 9 + 7 * i, knob = 8 + 6 * ((i + 1) % 3);
             p.Box(x, 7, x + 1, 26, kPlBlack);
             p.Panel(x - 3, knob, x + 4, knob + 4, kNavy);
         }
     }},
    {kIconReportWindow, [](Painter &p) {  // a page with a table grid
         Page(p);
         for (int y = 11; y <= 26; y += 5) p.Box(9, y, 24, y + 1, kPlGrey);
         p.Box(15, 11, 16, 27, kPlGrey);
     }},
    {kIconDefault, [](Painter &p) {  // a window with a title bar
         p.Panel(3, 5, 29, 27, kPlWhite);
         p.Box(4, 6, 28, 10, kNavy);
     }},
    {kIconDropDown, [](Painter &p) { p.Polygon({{11, 13}, {22, 13}, {16, 19}}, kPlBlack); }},
    {kIconRadioOff, [](Painter &p) { Radio(p, false, false); }},
    {kIconRadioOn, [](Painter &p) { Radio(p, true, false); }},
    {kIconRadioOffPressed, [](Painter &p) { Radio(p, false, true); }},
    {kIconRadioOnPressed, [](Painter &p) { Radio(p, true, true); }},
    {kIconCheckOff, [](Painter &p) { CheckBox(p, false, false); }},
    {kIconCheckOn, [](Painter &p) { CheckBox(p, true, false); }},
    {kIconCheckOffPressed, [](Painter &p) { CheckBox(p, false, true); }},
    {kIconCheckOnPressed, [](Painter &p) { CheckBox(p, true, true); }},
    // A set flag in a cell: a tick on the cell's white, and on a selected
    // (black) row the tick on a white panel, so that both read as set.
    {kIconCellFlag, [](Painter &p) { CheckMark(p, 12, 11, kPlBlack); }},
    {kIconCellFlagSelected, [](Painter &p) {
         p.Panel(11, 11, 21, 21, kPlWhite, kPlGrey);
         CheckMark(p, 12, 11, kPlBlack);
     }},
    {kIconOverflowLeft, [](Painter &p) { p.Polygon({{12, 16}, {16, 12}, {16, 20}}, kPlRed); }},
    {kIconOverflowRight, [](Painter &p) { p.Polygon({{16, 12}, {20, 16}, {16, 20}}, kPlRed); }},
    {kIconArrowsNone, [](Painter &p) { Arrows(p, 0, 0); }},
    {kIconArrowsNext, [](Painter &p) { Arrows(p, 0, 1); }},
    {kIconArrowsPrev, [](Painter &p) { Arrows(p, 1, 0); }},
    {kIconArrowsBoth, [](Painter &p) { Arrows(p, 1, 1); }},
    {kIconArrowsPrevPressed, [](Painter &p) { Arrows(p, 2, 0); }},
    {kIconArrowsPrevPressedNext, [](Painter &p) { Arrows(p, 2, 1); }},
    {kIconArrowsNextPressed, [](Painter &p) { Arrows(p, 0, 2); }},
    {kIconArrowsNextPressedPrev, [](Painter &p) { Arrows(p, 1, 2); }},
};
constexpr size_t kIconCount = sizeof kIcons / sizeof kIcons[0];

const IconDef *FindIcon(int number)
{
    const IconDef *end = kIcons + kIconCount;
    const IconDef *it = std::lower_bound(kIcons, end, number, [](const IconDef &d, int n) { return d.number < n; });
    if (it == end || it->number != number) return nullptr;
    return it;
}

}  // namespace

std::span<const int> IconNumbers()
{
    static const auto numbers = [] {
        std::array<int, kIconCount> n{};
        for (size_t i = 0; i < kIconCount; i++) n[i] = kIcons[i].number;
        return n;
    }();
    return numbers;
}

bool IconExists(int number) { return FindIcon(number) != nullptr; }

cairo_surface_t *IconSurface(int number)
{
    // A plain array, never destroyed: the surfaces live for the whole run.
    static cairo_surface_t *cache[kIconCount];
    const IconDef *def = FindIcon(number);
    if (def == nullptr) return nullptr;
    cairo_surface_t *&slot = cache[def - kIcons];
    if (slot != nullptr) return slot;
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kPlIconSize, kPlIconSize);
    cairo_t *cr = cairo_create(s);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    Painter p{cr};
    def->paint(p);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    slot = s;
    return s;
}

bool DcDrawIcon(DrawContext *dc, int number, int x, int y)
{
    cairo_surface_t *s = IconSurface(number);
    if (s == nullptr) {
        DcFillRect(dc, PlRect{x, y, x + kPlIconSize, y + kPlIconSize}, kPlBrushLightGrey);
        DcFrameRect(dc, PlRect{x, y, x + kPlIconSize, y + kPlIconSize}, kPlBrushBlack);
        return false;
    }
    cairo_t *cr = dc->cr;
    cairo_save(cr);
    cairo_set_source_surface(cr, s, x, y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, x, y, kPlIconSize, kPlIconSize);
    cairo_fill(cr);
    cairo_restore(cr);
    return true;
}

bool DcDrawIconCentred(DrawContext *dc, int number, int cx, int cy)
{
    return DcDrawIcon(dc, number, cx - kPlIconSize / 2, cy - kPlIconSize / 2);
}
