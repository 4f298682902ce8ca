// designer_draw.cpp - the form designer's selection list (16-bit item
// numbers kept in the window) and the two drawing operations its pane
// uses, in the current drawing port.
#include <cassert>

#include "core/field_access.h"
#include "core/window_kind.h"
#include "output/layer_operations.h"
#include "shell/draw_port.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int PaneHeader = 32, ScrollBarKept = 15;
constexpr uint16_t NoItem = 65535;

// A coordinate as a whole number of pixels.
int Pixels(const PackedDecimal &d) { return DecIsBlank(&d) ? 0 : int(DecToLong(&d)); }

}  // namespace

// True when item is one of the 16-bit item numbers the list holds.
bool DesignerItemInList(uint16_t item, MemBlock list)
{
    if (!MemIsValid(list)) return false;
    const uint8_t *p = MemLock(list);
    if (!p) return false;
    bool found = false;
    for (uint32_t i = 0, n = MemSize(list) / 2; i < n && !found; i++) found = GetU16(p, i * 2) == item;
    MemUnlock(list);
    return found;
}

// True when item is in the selection of designer window n.
bool DesignerItemSelected(int n, uint16_t item)
{
    return WinIsOpen(n) && DesignerItemInList(item, WinTable[n]->designerSelection);
}

// The first item of designer window n's selection; 65535 when none is selected.
uint16_t DesignerFirstSelected(int n)
{
    if (!WinIsOpen(n)) return NoItem;
    MemBlock list = WinTable[n]->designerSelection;
    if (!MemIsValid(list) || MemSize(list) < 2) return NoItem;
    const uint8_t *p = MemLock(list);
    uint16_t first = p ? GetU16(p, 0) : NoItem;
    if (p) MemUnlock(list);
    return first;
}

// Frames the rectangle (top, left, bottom, right) with the pen width in
// the current port; the right and bottom edges lie one unit further out
// so that a frame covers the cells of its last row and column. The two
// words are the caller's and change nothing here.
void DecRectFrame(const PackedDecimal rect[4], const PackedDecimal *penWidth, int, int)
{
    assert(rect && penWidth);
    MacRect r;
    MakeRect(&r, Pixels(rect[1]), Pixels(rect[0]), Pixels(rect[3]) + 1, Pixels(rect[2]) + 1);
    FrameRectWidth(&r, penWidth);
}

// Draws a line in XOR mode from the rectangle's first corner (top, left)
// to its opposite one, so that drawing it twice restores the pane.
void DecRectXorLine(const PackedDecimal rect[4])
{
    assert(rect);
    DrawContext *dc = PortState.dc;
    if (!dc) return;
    PlRop old = DcSetRop(dc, PlRop::Xor);
    PlPen pen = DcSetPen(dc, kPlPenWhite);
    DcMoveTo(dc, Pixels(rect[1]), Pixels(rect[0]));
    DcLineTo(dc, Pixels(rect[3]), Pixels(rect[2]));
    DcSetPen(dc, pen);
    DcSetRop(dc, old);
}

// The content rectangle of designer window n: the client area less the
// pane header at the top and the scroll bar's strip at the bottom; the
// pane's visible height is kept in the window.
void DesignerContentRect(int n)
{
    if (!WinIsOpen(n) || WinKindOf(n) != KindCode(WindowKind::Designer)) return;
    MacRect client;
    WindowClientRect(n, &client);
    WindowRec *w = WinTable[n];
    MacRect &c = w->contentRect;
    c = client;
    c.top = int16_t(client.top + PaneHeader);
    c.bottom = int16_t(client.bottom - ScrollBarKept);
    if (c.bottom < c.top) c.bottom = c.top;
    w->paneHeight = c.bottom - c.top;
}
