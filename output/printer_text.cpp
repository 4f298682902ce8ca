// printer_text.cpp - texts wrapped onto the lines of a column.
//
// A text wider than its column is cut where a proportional estimate says
// the column ends: at a blank close before that point, or else inside the
// word, which then ends with a hyphen. Every line keeps at least one
// character, so the rest always gets shorter and a column narrower than a
// character still ends (one character a line).
#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <cstring>

#include "core/pstring.h"
#include "output/output_job.h"
#include "output/printer.h"

namespace {

// How far before the estimated cut a blank may lie and still be taken.
constexpr int BlankReach = 3;

// The width of a PString on the page, device units.
int WidthOf(DrawContext *dc, const uint8_t *text) { return DcTextExtent(dc, PStringView(text)).cx; }

// Cuts `line` (at least two characters, `width` device units wide, wider
// than `column`) into the part that goes on this line and the rest
// (without a leading blank), which goes to *rest. A cut inside a word
// leaves a hyphen at the end of a line of two or more characters.
void CutLine(int64_t column, int width, uint8_t *line, uint8_t *rest)
{
    int len = line[0];
    assert(len >= 2 && width > column);
    width = std::max(1, width);
    int estimate = int(std::max<int64_t>(0, column) * len / width);
    int blank = LastBlankBefore(line, estimate);
    int keep, from;
    bool hyphen = false;
    if (blank > 1 && blank >= estimate - BlankReach) {
        keep = blank - 1;
        from = blank + 1;
    } else {
        keep = std::max(1, estimate - 1);
        from = keep + 1;
        hyphen = keep >= 2;
    }
    assert(keep >= 1 && keep < len);
    if (from <= len && line[from] == ' ') from++;
    int tail = std::max(0, len - from + 1);
    std::memcpy(rest + 1, line + from, size_t(tail));
    rest[0] = uint8_t(tail);
    line[0] = uint8_t(keep);
    if (hyphen) PStringAppendChar(line, '-');
}

// Prints a text between report positions x1 and x2, starting at x1 or,
// right-aligned, ending there, over as many lines as it needs: each line
// at the current line position, the position advanced by a line height
// before each further line (and before the first when the text would
// start left of where the previous column text ended). Underlined lines
// get a black line just below their baseline.
void WrappedText(int32_t x1, int32_t x2, bool right, bool underline, const uint8_t *text)
{
    DrawContext *dc = Printer.dc;
    if (!dc || !text) return;
    int32_t a = DeviceScaleSize(x1) + OutputJobState.leftMargin;
    int32_t b = DeviceScaleSize(x2) + OutputJobState.leftMargin;
    int64_t column = std::llabs(int64_t(b) - a);
    PString line, rest;
    PStringCopy(line, text);
    int32_t first = right ? a - WidthOf(dc, line) : a;
    // An advance may end the page, and with it the page's context: the
    // next page's is taken after each.
    if (first < Printer.prevTextEnd) {
        RepAdvance(OutputJobState.lineHeight);
        if (!(dc = Printer.dc)) return;
    }
    for (;;) {
        rest[0] = 0;
        int width = WidthOf(dc, line);
        if (line[0] >= 2 && width > column) {
            CutLine(column, width, line, rest);
            width = WidthOf(dc, line);
        }
        int32_t x = right ? a - width : a;
        int row = ReportToPrinterY(OutputJobState.topMargin + OutputJobState.linePos - 10);
        DcTextOut(dc, x, row, PStringView(line));
        if (underline && width > 0) {
            PlFont *font = DcFont(dc);
            PlFontMetrics m = font ? FontMetrics(font) : PlFontMetrics{0, 0, 0};
            int y = row + m.ascent + std::max(1, m.descent / 2);
            PlPen old = DcSetPen(dc, kPlPenBlack);
            DcMoveTo(dc, x, y);
            DcLineTo(dc, x + width, y);
            DcSetPen(dc, old);
        }
        Printer.prevTextEnd = x + width;
        if (rest[0] == 0) break;
        PStringCopy(line, rest);
        RepAdvance(OutputJobState.lineHeight);
        if (!(dc = Printer.dc)) return;
    }
}

}  // namespace

// A text wrapped in the column between report positions x1 and x2.
void PrinterTextClipped(int32_t x1, int32_t x2, bool right, bool underline, const uint8_t *text)
{
    WrappedText(x1, x2, right, underline, text);
}

// The same as PrinterTextClipped, under the name the second caller uses.
void PrinterTextClipped2(int32_t x1, int32_t x2, bool right, bool underline, const uint8_t *text)
{
    WrappedText(x1, x2, right, underline, text);
}
