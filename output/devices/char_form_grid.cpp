// char_form_grid.cpp - a form page on the character printer: a grid of
// CharGridColumns x CharGridLines characters that the form's texts are
// placed in, sent line by line at the page's end.
//
// Form positions are points on a frame 485 wide (x 30..515) and 748 high
// (y 11..759); a position's column and line are its share of the grid.
// The port is open from the page's start to its end.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"

int16_t CharGridColumns = 120, CharGridLines = 0;

namespace {

constexpr int FrameWidth = 515 - 30, FrameHeight = 759 - 11;
constexpr int MaxGridLines = 2000;
constexpr int32_t TextBaseline = 18;   // a form text's top lies this far above its line
constexpr int32_t EdgeInset = 2;       // aligned texts keep this far from the edge

MemBlock Grid = 0;
bool GridPageOpen = false;   // between a page start and its end

// Makes the grid at least columns x lines bytes; new bytes are blanks.
// False when it could not grow (told).
bool GridFit(uint32_t bytes)
{
    uint32_t have = Grid ? MemSize(Grid) : 0;
    if (bytes <= have) return true;
    if (!Grid ? (Grid = MemAlloc(bytes)) == 0 : !MemRealloc(&Grid, bytes)) return false;
    uint8_t *p = MemLock(Grid);
    assert(p);
    FillBytes(p + have, ' ', int(bytes - have));
    MemUnlock(Grid);
    return true;
}

// The grid's size in bytes at the current columns and lines.
uint32_t GridBytes() { return uint32_t(std::max<int>(CharGridColumns, 0)) * uint32_t(std::max<int>(CharGridLines, 0)); }

}  // namespace

// Starts a form page: opens the port the destination names (its text up
// to the first blank), sends the control bytes written after that blank,
// blanks the grid. False when the port did not open (told, stopped).
bool CharGridPageStart(const uint8_t *dest)
{
    assert(dest);
    PString port, controls;
    int blank = 1;
    while (blank <= dest[0] && dest[blank] != ' ') blank++;
    port[0] = uint8_t(blank - 1);
    std::memcpy(port + 1, dest + 1, port[0]);
    if (!CharPortBegin(port)) return false;
    // The control text takes the port digit and a blank before the bytes.
    PString text;
    int rest = std::min(dest[0] - blank, 253);
    text[0] = 0;
    if (rest > 0) {
        text[0] = uint8_t(rest + 2);
        text[1] = text[2] = ' ';
        std::memcpy(text + 3, dest + blank + 1, size_t(rest));
    }
    PrinterControlString(text, controls);
    if (controls[0] && !CharPortSend(controls + 1, controls[0])) return false;
    MemFree(&Grid);
    GridPageOpen = GridFit(GridBytes());
    return GridPageOpen;
}

// The form's line count and form-feed byte; the grid grows with blanks.
// A line count outside 1..2000 is refused (the grid stays).
void CharGridGeometry(int lines, int formFeed)
{
    FormFeedAtEnd = uint8_t(formFeed);
    if (lines < 1 || lines > MaxGridLines || lines == CharGridLines) return;
    CharGridLines = int16_t(lines);
    if (GridPageOpen) GridFit(GridBytes());
}

// Places a form text on the grid. The rectangle (top, left, bottom,
// right, points) less the form origin gives the text's start by its
// alignment: -1 ends it inside the right edge, 0 starts it inside the
// left edge, 1 centres it, any other starts it at the left edge. A
// right-aligned text starts as many columns before its column as it has
// characters; the start is kept inside the grid and the line clamped.
void CharGridText(const uint8_t *text, const PackedDecimal rect[4], int lineIndex, int align)
{
    assert(text && rect);
    int cols = CharGridColumns, lines = CharGridLines, n = text[0];
    if (!Grid || MemSize(Grid) < GridBytes() || cols <= 0 || lines <= 0 || n == 0) return;
    // In 64 bits: a form's rectangle may hold any 32-bit value.
    int64_t top = int64_t(DecToLong(&rect[0])) - FormOriginY, left = int64_t(DecToLong(&rect[1])) - FormOriginX;
    int64_t right = int64_t(DecToLong(&rect[3])) - FormOriginX;
    int64_t y = top - TextBaseline, x;
    int64_t width = int64_t(n) * FrameWidth / cols;   // a grid column's width a character
    switch (align) {
    case -1: x = right - EdgeInset; break;
    case 0: x = left + EdgeInset; break;
    case 1: x = (left + right - width) / 2; break;
    default: x = left; break;
    }
    int64_t col = x * cols / FrameWidth;
    if (align == -1) col -= n;
    col = std::clamp<int64_t>(col, 0, std::max(cols - n, 0));
    int64_t line = std::clamp<int64_t>(y * lines / FrameHeight + lineIndex, 0, lines - 1);
    uint8_t *p = MemLock(Grid);
    assert(p && MemSize(Grid) >= GridBytes());
    for (int i = 0; i < n && col + i < cols; i++) p[line * cols + col + i] = text[i + 1];
    MemUnlock(Grid);
}

// Ends a form page: each grid line (trailing blanks dropped) then CR LF,
// a form feed when the form asks for one; the grid freed, the port
// closed. A stopped page sends nothing more; a failed write is told.
void CharGridPageEnd()
{
    static const uint8_t crlf[2] = {13, 10}, formFeed = 12;
    uint8_t *p = Grid ? MemLock(Grid) : nullptr;
    int cols = CharGridColumns;
    for (int l = 0; p && !RepStopped && l < CharGridLines; l++) {
        PrinterPutLine(p + l * cols, cols, 0);
        CharPortSend(crlf, 2);
    }
    if (p) MemUnlock(Grid);
    if (!RepStopped && FormFeedAtEnd == 1) CharPortSend(&formFeed, 1);
    MemFree(&Grid);
    GridPageOpen = false;
    CharPortEnd();
    if (RepOutputState.writeFailed) ShowTextMessage(Texts::OutputNotWritten);
}

// Drops a form page that was started but never ended (a stopped job, or
// commands that closed the print without the page's end): the grid is
// freed and the port closed, and nothing of the page is sent.
void CharGridDiscard()
{
    MemFree(&Grid);
    if (GridPageOpen) CharPortEnd();
    GridPageOpen = false;
}
