// printer_draw.cpp - report coordinates on the device, the pen, lines,
// rules, column texts and the texts and frames of forms.
//
// Report code places things in points (1/72 inch) measured from the top
// margin; the device draws in its own units (300 per inch on the PDF
// printer). Vertical positions go through ReportToPrinterY. Horizontal
// report positions of rules and columns go through the device's size
// table (DeviceScaleSize) and the left margin; those of forms and frames
// through ReportToPrinterX, which stretches a document's 600-point layout
// over the page width. Everything draws on the open page; with no page
// open nothing is drawn.
#include <algorithm>
#include <cstdint>

#include "core/field_access.h"
#include "core/pstring.h"
#include "output/output_job.h"
#include "output/output_windows.h"
#include "output/printer.h"

namespace {

// A 64-bit intermediate brought back into the 32-bit range.
int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// Report positions are kept within +-2^24 points (far beyond any page), so
// that the small offsets added to them afterwards cannot overflow: a form
// received from a server may carry any 32-bit value.
constexpr int64_t CoordLimit = int64_t(1) << 24;

// A 64-bit report position brought into the range above.
int32_t ClampCoord(int64_t v) { return int32_t(std::clamp<int64_t>(v, -CoordLimit, CoordLimit)); }

// The four coordinates of an element (top, left, bottom, right, points),
// moved by the page origin.
void ElementCoords(const uint8_t *element, int32_t *top, int32_t *left, int32_t *bottom, int32_t *right)
{
    PackedDecimal d = GetDec(element, PrinterElement::Top);
    *top = ClampCoord(int64_t(DecToLong(&d)) + OutputJobState.originY);
    d = GetDec(element, PrinterElement::Left);
    *left = ClampCoord(int64_t(DecToLong(&d)) + OutputJobState.originX);
    d = GetDec(element, PrinterElement::Bottom);
    *bottom = ClampCoord(int64_t(DecToLong(&d)) + OutputJobState.originY);
    d = GetDec(element, PrinterElement::Right);
    *right = ClampCoord(int64_t(DecToLong(&d)) + OutputJobState.originX);
}

// A report column position on the device: the device's size table, then
// the left margin.
int32_t ColumnToDevice(int32_t x) { return ClampCoord(int64_t(DeviceScaleSize(x)) + OutputJobState.leftMargin); }

// The width in device units of 8-bit text in the page's font, or in the
// normal printer font while no page is open.
int TextWidthOf(std::string_view text)
{
    if (Printer.dc) return DcTextExtent(Printer.dc, text).cx;
    if (Printer.normal) return FontTextExtent(Printer.normal, text).cx;
    return 0;
}

// The outline of a frame element in a solid black pen of its width (at
// least 1), clockwise from the top-left corner back to it.
void FrameOutline(const uint8_t *element)
{
    DrawContext *dc = Printer.dc;
    if (!dc || !element) return;
    int32_t top, left, bottom, right;
    ElementCoords(element, &top, &left, &bottom, &right);
    int x1 = ReportToPrinterX(left), x2 = ReportToPrinterX(right);
    int y1 = ReportToPrinterY(top), y2 = ReportToPrinterY(bottom);
    PackedDecimal w = GetDec(element, PrinterElement::PenWidth);
    int width = std::clamp<int32_t>(DecToLong(&w), 1, 1000);
    PlPen old = DcSetPen(dc, PlPen{PlPenStyle::Solid, width, kPlBlack});
    DcMoveTo(dc, x1, y1);
    DcLineTo(dc, x2, y1);
    DcLineTo(dc, x2, y2);
    DcLineTo(dc, x1, y2);
    DcLineTo(dc, x1, y1);
    DcSetPen(dc, old);
}

}  // namespace

// A report y (points) on the device, truncated.
int32_t ReportToPrinterY(int32_t y) { return Clamp32(int64_t(y) * Printer.dpiY / 72); }

// A report x (points) on the device, truncated; in a job with a layout
// width w the result is stretched once more so that w points fill the
// page's width.
int32_t ReportToPrinterX(int32_t x)
{
    int64_t v = int64_t(x) * Printer.dpiX / 72;
    int64_t w = int64_t(OutputJobState.layoutWidth) * Printer.dpiX / 72;
    if (OutputJobState.layoutWidth > 0 && w > 0) v = v * Printer.pageWidth / w;
    return Clamp32(v);
}

// Moves the printer's pen to (x, y), device units.
void PrinterMoveTo(int x, int y)
{
    Printer.pen = PlPoint{x, y};
    if (Printer.dc) DcMoveTo(Printer.dc, x, y);
}

// Sets the printer's pen mode 0..6 (as the screen port's: 1 white, 2 and
// 6 black lines, 3 to 5 fills, 0 nothing).
void PrinterPenMode(int m)
{
    Printer.penMode = m;
    if (!Printer.dc) return;
    if (m == 1) DcSetPen(Printer.dc, kPlPenWhite);
    if (m == 2 || m == 6) DcSetPen(Printer.dc, kPlPenBlack);
}

// Draws from the pen position to (x, y) as the pen mode says: a line whose
// end point is drawn too, or a fill of the rectangle the two points span.
void PrinterLineTo(int x, int y)
{
    DrawContext *dc = Printer.dc;
    int m = Printer.penMode;
    if (!dc || m < 1 || m > 6) return;
    if (m == 1 || m == 2 || m == 6) {
        DcSetPen(dc, m == 1 ? kPlPenWhite : kPlPenBlack);
        if (x == Printer.pen.x) y++;
        if (y == Printer.pen.y) x++;
        DcMoveTo(dc, Printer.pen.x, Printer.pen.y);
        DcLineTo(dc, x, y);
    } else {
        PlRect r{Printer.pen.x, Printer.pen.y, x + 1, y + 1};
        DcFillRect(dc, r, m == 4 ? kPlBrushLightGrey : kPlBrushGrey);
    }
}

// The width of a PString on the printer, device units.
int PrinterPStringWidth(const uint8_t *text) { return text ? TextWidthOf(PStringView(text)) : 0; }

// The width of a zero-terminated text on the printer, device units.
int PrinterTextWidth(const uint8_t *text)
{
    return text ? TextWidthOf(std::string_view(reinterpret_cast<const char *>(text))) : 0;
}

// A PString at device x with its top 10 points above report line y (so
// that y is about the text's baseline).
void PrinterTextAt(int32_t y, int32_t x, const uint8_t *text)
{
    if (!Printer.dc || !text) return;
    DcTextOut(Printer.dc, x, ReportToPrinterY(ClampCoord(int64_t(y) - 10)), PStringView(text));
}

// A horizontal black line between two report positions, 8 points above
// line y (y measured from the top margin).
void PrinterRule(int32_t x1, int32_t x2, int32_t y, int unused)
{
    DrawContext *dc = Printer.dc;
    if (!dc) return;
    int row = ReportToPrinterY(ClampCoord(int64_t(OutputJobState.topMargin) + y - 8));
    DcSetPen(dc, kPlPenBlack);
    DcMoveTo(dc, ColumnToDevice(x1), row);
    DcLineTo(dc, ColumnToDevice(x2), row);
}

// A PString on the current line at report position x (a small x names a
// stop of the job's position table), starting there or, right-aligned,
// ending there.
void PrinterTextAtColumn(int x, bool right, const uint8_t *text)
{
    if (!text) return;
    x = ColumnToDevice(x);
    if (right) x -= PrinterPStringWidth(text);
    PrinterTextAt(ClampCoord(int64_t(OutputJobState.topMargin) + OutputJobState.linePos), x, text);
}

// A PString in the rectangle c (top, left, bottom, right) on the screen
// port, as the form designer and the preview show a form's text: in the
// record's face with its point size as the pixel height, its baseline 14
// below the top, 2 in from the edge it is aligned to (1: centred).
void PrinterTextInColumn(const uint8_t *text, const PackedDecimal c[4], const uint8_t *fontRecord, int align)
{
    DrawContext *dc = OutPortContext();
    if (!dc || !text || !c || !fontRecord) return;
    PString face;
    GetText(fontRecord, FontVc::WinFontName, face);
    PrinterFontSized(face, 0, GetI16(fontRecord, FontVc::WinSize));
    int32_t top = ClampCoord(DecToLong(&c[0])), left = ClampCoord(DecToLong(&c[1]));
    int32_t right = ClampCoord(DecToLong(&c[3]));
    std::string_view s = PStringView(text);
    int width = DcTextExtent(dc, s).cx;
    int32_t x = left + 2;
    if (align == 1) x = (left + right - width) / 2;
    if (align == -1) x = right - 2 - width;
    PlFont *font = DcFont(dc);
    int ascent = font ? FontMetrics(font).ascent : 0;
    PlBkMode mode = DcSetBkMode(dc, PlBkMode::Transparent);
    DcTextOut(dc, x, top + 14 - ascent, s);
    DcSetBkMode(dc, mode);
}

// A form's text element on the printer: the font of its font record, its
// top 2 points below the element's top, 2 points in from the edge it is
// aligned to, or centred by its width on the printer. A text in a
// bar-code face is drawn as bars filling the element's rectangle.
void PrinterFormText(const uint8_t *text, const uint8_t *element)
{
    if (!Printer.dc || !text || !element) return;
    int32_t top, left, bottom, right;
    ElementCoords(element, &top, &left, &bottom, &right);
    PString face;
    GetText(element + PrinterElement::FontRecord, FontVc::WinFontName, face);
    if (IsCode128Face(face) || IsEan13Face(face)) {
        // No bar-code font ships: the bars are drawn.
        PrinterBarcodeBars(face, text, top, left, bottom, right);
        return;
    }
    PrinterFontSelect(element + PrinterElement::FontRecord);
    int16_t align = GetI16(element, PrinterElement::Align);
    int width = PrinterPStringWidth(text);
    int32_t x = ReportToPrinterX(left + 2);
    if (align == 1) x = (ReportToPrinterX(left) + ReportToPrinterX(right) - width) / 2;
    if (align == -1) x = ReportToPrinterX(right - 2) - width;
    DcTextOut(Printer.dc, x, ReportToPrinterY(top + 2), PStringView(text));
}

// A form's frame element on the printer.
void PrinterFormLine(const uint8_t *element) { FrameOutline(element); }

// A report's frame element on the printer.
void PrinterReportLine(const uint8_t *element) { FrameOutline(element); }
