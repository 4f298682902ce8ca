// device_char_printer.cpp - the character printer on a port (kind 10):
// its text and overstrike lines, texts, rules, advances and pages.
//
// A line is built in two buffers of 255 columns (1..255): the text line
// and the overstrike line that underlines it. An advance prints them
// (PrinterPutLine, margin 8) and moves one line whatever its height; a
// page holds 66 lines and starts with the page header. Report positions
// become columns through the job's position table and charUnit (4).
#include <algorithm>
#include <cassert>

#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/output_windows.h"

namespace {

constexpr int LineColumns = 255;     // columns 1..255 of a line buffer
constexpr int PrintedColumns = 120;  // columns printed of each line
constexpr int LineMargin = 8;        // blanks before every printed line
constexpr int32_t PageLines = 66;
constexpr int ColumnUnit = 4;        // report units a column

struct CharLineRec {
    uint8_t text[LineColumns + 1];   // [0] unused: columns are 1-based
    uint8_t over[LineColumns + 1];
    bool textEmpty, overEmpty;
};
CharLineRec CharLine;

// The port the job prints to: the standard first one.
const uint8_t ReportPort[] = {4, 'L', 'P', 'T', '1'};

// Report units a column (charUnit; never 0).
int Unit() { return RepOutputState.charUnit > 0 ? RepOutputState.charUnit : ColumnUnit; }

// The column of report position x.
int ColumnOf(int x) { return int(DeviceScaleSize(x) / Unit()); }

// Sends one control byte (CR, LF, form feed) to the port.
void SendByte(uint8_t b) { CharPortSend(&b, 1); }

// The job start: 66 lines a page, no header lines, no position table;
// the port opened (refused: told, stopped); columns of 4 units.
bool CharOpenJob(const uint8_t *)
{
    OutputJobStateRec &s = RepOutputState;
    s.pageBottom = PageLines;
    s.headerLine = 65535;
    s.positions = DefaultPositions;
    RepBlankLine();
    if (!CharPortBegin(ReportPort)) return false;
    PString busy;
    GetUiText(busy, Texts::PrintStarting);
    OutBusyShow(busy);
    s.charUnit = ColumnUnit;
    return true;
}

// A page starts at its first line with the page header.
void CharPageStart()
{
    RepOutputState.linePos = 0;
    RepPrintPageHeader();
}

// A page ends with a form feed.
void CharPageEnd(int) { SendByte(12); }

// A line breaks the page when the page's lines are used up.
bool CharLineBreaks(int32_t) { return RepOutputState.linePos + 1 > RepOutputState.pageBottom; }

// An advance: the line printed, one line down whatever n, the buffers
// blanked; past the page's last line the page breaks and the next starts.
void CharAdvance(int32_t)
{
    CharPrinterFlushLine();
    OutputJobStateRec &s = RepOutputState;
    s.linePos += 1;
    s.lineColumn = 0;
    s.charColumnEnd = 0;
    RepBlankLine();
    if (s.linePos > s.pageBottom) RepNewPage(0);
    RepPageStartIfNeeded();
}

// A text of the line.
void CharText(int x, int, int, int align, int style, const uint8_t *text) { CharPrinterText(x, align, style, text); }

// A rule over the page width ("=" for thickness 6, else "-") on a line of its own.
void CharRuleFull(int, int thickness)
{
    if (RepOutputState.linePos > RepOutputState.pageBottom) RepNewPage(0);
    RepPageStartIfNeeded();
    RepBlankLine();
    FillBytes(CharLine.text + 1, thickness == 6 ? '=' : '-', PrintedColumns);
    CharLine.textEmpty = false;
    RepAdvance(8);
}

// A rule from x1 to x2 on the current line, then a line feed.
void CharRule(int x1, int x2, int thickness)
{
    CharPrinterRule(x1, x2, thickness);
    RepLineFeed();
}

// The job end: a stopped job still ejects its page; the port closes (a
// close that loses bytes is a failed write, told by RepEndJob).
void CharEndJob()
{
    if (RepStopped && !RepOutputState.writeFailed) SendByte(12);
    OutBusyClose();
    CharPortEnd();
}

}  // namespace

const RepDevice CharPrinterDevice = {.openJob = CharOpenJob,
                                     .endJob = CharEndJob,
                                     .pageStart = CharPageStart,
                                     .pageEnd = CharPageEnd,
                                     .lineBreaks = CharLineBreaks,
                                     .lineStart = RepBlankLine,
                                     .advance = CharAdvance,
                                     .text = CharText,
                                     .ruleFull = CharRuleFull,
                                     .rule = CharRule};

// Places a text in the line buffers: left-aligned it takes the columns
// after x's column, right-aligned those ending at it. A text that would
// overprint what the line already holds goes to the next line first.
// Columns left of 1 (a right-aligned text longer than its column) and
// beyond 255 are dropped. A non-zero style underlines it.
void CharPrinterText(int x, int align, int style, const uint8_t *text)
{
    assert(text);
    int n = text[0];
    if (n == 0) return;
    int c = ColumnOf(x);
    int first = align ? c - n + 1 : c + 1;
    int end = align ? c : c + n;
    OutputJobStateRec &s = RepOutputState;
    if (std::max(first, 1) <= s.charColumnEnd) {
        RepAdvance(s.lineHeight);   // prints the line, blanks the buffers
        if (RepStopped) return;
    }
    s.charColumnEnd = int16_t(std::clamp(end, 0, LineColumns));
    for (int i = 0; i < n; i++) {
        int col = first + i;
        if (col < 1 || col > LineColumns) continue;
        CharLine.text[col] = text[i + 1];
        if (style) CharLine.over[col] = '-';
    }
    CharLine.textEmpty = false;
    if (style) CharLine.overEmpty = false;
}

// Fills the text line from x1's column to x2's with "=" (thickness 6)
// or "-".
void CharPrinterRule(int x1, int x2, int thickness)
{
    int a = std::max(ColumnOf(x1), 1), b = std::min(ColumnOf(x2), LineColumns);
    for (int col = a; col <= b; col++) CharLine.text[col] = thickness == 6 ? '=' : '-';
    CharLine.textEmpty = false;
}

// Blanks the text and overstrike lines and marks them empty.
void RepBlankLine()
{
    FillBytes(CharLine.text, ' ', LineColumns + 1);
    FillBytes(CharLine.over, ' ', LineColumns + 1);
    CharLine.textEmpty = CharLine.overEmpty = true;
}

// Prints the line: the text line with its margin, CR; the overstrike
// line (when it holds marks) the same way over it, CR; then LF. A line
// of blanks sends CR LF alone.
void CharPrinterFlushLine()
{
    if (!CharLine.textEmpty) PrinterPutLine(CharLine.text + 1, PrintedColumns, LineMargin);
    SendByte(13);
    if (!CharLine.overEmpty) {
        PrinterPutLine(CharLine.over + 1, PrintedColumns, LineMargin);
        SendByte(13);
    }
    SendByte(10);
}
