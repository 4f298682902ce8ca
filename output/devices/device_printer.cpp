// device_printer.cpp - the printer (kind 1) as a report output device: a
// report job is one PDF document whose pages start with the page header
// and end with the page number at their foot.
//
// Vertical positions are points from the top margin (linePos); a line
// that would pass the page bottom breaks the page first. Horizontal
// positions are report units that the job's position table maps onto the
// usable width (printer_draw.cpp, printer_text.cpp).
#include "output/devices/device_table.h"
#include "output/output_windows.h"
#include "output/printer.h"

namespace {

constexpr int32_t ReportLineWidth = 480;   // report units of a whole line
constexpr int FullRuleAdvance = 8;

// The job start: the printer and its document; the page bottom is what
// the page leaves below the top margin. False when no document started.
bool PrinterOpenJob(const uint8_t *title)
{
    if (!PrintJobStartReport(title)) return false;
    RepOutputState.pageBottom = Printer.usableHeightPt;
    return true;
}

// The job end: the document is written and the busy message goes.
void PrinterEndJob()
{
    PrinterEndDoc();
    OutBusyClose();
}

// A page start: the next page with the page header.
void PrinterPageStart()
{
    Printer.prevTextEnd = -1;
    PrinterNewPage();
}

// A page end: the page number at its foot (flag 1: the job's last page).
void PrinterPageEnd(int flag) { PrinterPageNumber(flag); }

// A line of height h does not fit on the page.
bool PrinterLineBreaks(int32_t h) { return RepOutputState.linePos + h > RepOutputState.pageBottom; }

// A new line: no text on it yet.
void PrinterLineStart() { Printer.prevTextEnd = -1; }

// Moves down by n points, breaking the page when the position passed
// its bottom; the page is started again where needed.
void PrinterAdvance(int32_t n)
{
    OutputJobStateRec &s = RepOutputState;
    RepPageStartIfNeeded();
    s.linePos += n;
    s.lineColumn = 0;
    s.charColumnEnd = 0;
    Printer.prevTextEnd = -1;
    if (s.linePos > s.pageBottom) RepNewPage(0);
    RepPageStartIfNeeded();
}

// A text at x (its right edge at x when align is non-zero) in the normal
// or (font 1) bold face, underlined for a non-zero style, wrapped within
// the line: the other end of its column is the line's far edge.
void PrinterText(int x, int font, int, int align, int style, const uint8_t *text)
{
    RepPageStartIfNeeded();
    if (RepStopped) return;
    bool right = align != 0;
    SelectFontOf(font == 1);
    PrinterTextClipped2(x, right ? 0 : ReportLineWidth, right, style != 0, text);
    if (font == 1) SelectFontOf(false);
}

// A rule over the whole line, then an advance of 8; the page breaks
// first when the rule would pass its bottom.
void PrinterRuleFull(int, int thickness)
{
    OutputJobStateRec &s = RepOutputState;
    if (s.linePos + FullRuleAdvance > s.pageBottom) RepNewPage(0);
    RepPageStartIfNeeded();
    if (RepStopped) return;
    PrinterRule(0, ReportLineWidth, s.linePos, thickness);
    RepAdvance(FullRuleAdvance);
}

// A rule from x1 to x2 just above the current line, then a line feed.
void PrinterRuleFrom(int x1, int x2, int thickness)
{
    OutputJobStateRec &s = RepOutputState;
    if (s.linePos + 1 > s.pageBottom) RepNewPage(0);
    RepPageStartIfNeeded();
    if (RepStopped) return;
    PrinterRule(x1, x2, s.linePos - 3, thickness);
    RepLineFeed();
}

}  // namespace

const RepDevice PrinterDevice = {
    .openJob = PrinterOpenJob,
    .endJob = PrinterEndJob,
    .pageStart = PrinterPageStart,
    .pageEnd = PrinterPageEnd,
    .lineBreaks = PrinterLineBreaks,
    .lineStart = PrinterLineStart,
    .advance = PrinterAdvance,
    .text = PrinterText,
    .ruleFull = PrinterRuleFull,
    .rule = PrinterRuleFrom,
};
