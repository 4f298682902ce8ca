// preview_draw.cpp - painting the preview window from its store.
//
// The window from the top: the search strip (the Find field), the page
// header's band (PreviewWin::HeaderHeight pixels, its items at pos + 497),
// then the content rectangle, where an item laid out at layoutPos has its
// baseline at content top + layoutPos - scroll + PreviewTopOffset and its
// x mapped through the window's position table plus the left margin.
// Form elements lie at their page's place below the ones before.
#include <algorithm>
#include <cassert>
#include <utility>

#include "core/field_access.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "shell/draw_port.h"
#include "shell/window_table.h"

namespace {

// A horizontal rule from x1 to x2 at y, as thick as its thickness word
// says (6: a double rule).
void RuleLine(int n, int x1, int x2, int y, int thickness)
{
    if (x2 < x1) std::swap(x1, x2);
    if (thickness == 6) {
        PortLine(n, x1, y - 1, x2, y - 1, 2);
        PortLine(n, x1, y + 1, x2, y + 1, 2);
        return;
    }
    int lines = thickness < 1 ? 1 : thickness > 4 ? 4 : thickness;
    for (int i = 0; i < lines; i++) PortLine(n, x1, y + i, x2, y + i, 2);
}

// The port's face in pixel height `height`, made once per height; null
// when it cannot be made.
PlFont *FaceOfHeight(int height)
{
    static PlFont *made[64] = {};
    if (height <= 0 || height >= 64 || !PortState.dc) return nullptr;
    if (!made[height]) {
        const PlFont *face = DcFont(PortState.dc);
        if (!face) return nullptr;
        made[height] = FontCreate(FontResolvedFamily(face), height, 400, false);
    }
    return made[height];
}

// Draws text at (x, y) in the port's face, narrower when it is wider than
// room: in the largest smaller size (down to three quarters) that keeps it
// within room, as the layout gave it the room the printed text takes.
void DrawWithin(int x, int y, const uint8_t *text, int32_t room)
{
    const PlFont *face = PortState.dc ? DcFont(PortState.dc) : nullptr;
    if (!face || room <= 0 || PStringWidth(text) <= room + 1) {
        DrawPString(x, y, text);
        return;
    }
    const int height = FontPixelHeight(face);
    PlFont *smaller = nullptr;
    for (int h = height - 1; h >= height * 3 / 4 && h > 0; h--) {
        smaller = FaceOfHeight(h);
        if (!smaller) break;
        PlFont *previous = DcSelectFont(PortState.dc, smaller);
        const bool fits = PStringWidth(text) <= room + 1;
        DcSelectFont(PortState.dc, previous);
        if (fits) break;
    }
    if (!smaller) {
        DrawPString(x, y, text);
        return;
    }
    PlFont *previous = DcSelectFont(PortState.dc, smaller);
    DrawPString(x, y, text);
    DcSelectFont(PortState.dc, previous);
}

// Draws the text or rule item p with its baseline at y (content pixels
// offset by the content's left edge); a found text inverted. A text the
// layout gave less room than it takes is drawn narrower to keep to it.
void DrawItem(int n, const uint8_t *p, int32_t y, bool found)
{
    const MacRect &c = WinTable[n]->contentRect;
    if (GetU16(p, PreviewItemAt::Kind) == ItemRule) {
        int x1 = c.left + PreviewMapX(n, GetU16(p, PreviewItemAt::X));
        int x2 = c.left + PreviewMapX(n, GetU16(p, PreviewItemAt::Font));
        RuleLine(n, x1, x2, y - 8, GetU16(p, PreviewItemAt::Link));
        return;
    }
    int32_t left, right;
    PreviewItemEdges(n, p, &left, &right);
    if (found)
        SetTextStyle(n, 1, false);
    else
        UseRegularFontTransparent(n);
    DrawWithin(c.left + left, y, p + PreviewItemAt::Text, right - left);
    if (found) SetTextStyle(n, 0, false);
    if (GetU16(p, PreviewItemAt::Style)) PortLine(n, c.left + left, y + 2, c.left + right, y + 2, 2);
}

// Draws one form element p of the store with the page top at y0.
void DrawFormItem(int n, const uint8_t *p, int32_t y0)
{
    const MacRect &c = WinTable[n]->contentRect;
    int top = y0 + GetI32(p, PreviewItemAt::Pos);
    int bottom = top + GetU16(p, PreviewItemAt::LineHeight);
    int left = c.left + PreviewLeftMargin + int16_t(GetU16(p, PreviewItemAt::X));
    int right = c.left + PreviewLeftMargin + int16_t(GetU16(p, PreviewItemAt::Font));
    int16_t align = int16_t(GetU16(p, PreviewItemAt::Link));
    int thickness = int16_t(GetU16(p, PreviewItemAt::Style));
    switch (GetU16(p, PreviewItemAt::Kind)) {
    case ItemFormLine:
        PortLine(n, left, top, right, bottom, 2);
        return;
    case ItemFormBox: {
        MacRect r;
        MakeRect(&r, left, top, right, bottom);
        if (align >= 1 && align <= 4) FillRectMode(&r, align);
        PackedDecimal w;
        DecFromLong(&w, thickness < 1 ? 1 : thickness);
        FrameRectWidth(&r, &w);
        return;
    }
    case ItemFormText: {
        // Within its box, as the page lays it out: a text the screen's
        // wider face would run out of the box (into the value beside a
        // label) is drawn narrower.
        const uint8_t *t = p + PreviewItemAt::Text;
        UseRegularFontTransparent(n);
        int width = std::min(PStringWidth(t), right - left);
        int x = align < 0 ? right - width : align > 0 ? (left + right - width) / 2 : left;
        DrawWithin(x, bottom - 3, t, right - left);
        return;
    }
    default:
        return;
    }
}

}  // namespace

// Paints window n: the content from the scroll position over its
// visible height, the form elements, the header band and the page marks.
// Nothing while a job received from a server is still arriving.
void PreviewPaint(int n)
{
    if (RemoteJobActive || !PreviewIsOpen(n)) return;
    WinContentRect(n);
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    const MacRect c = WinTable[n]->contentRect;
    int clip = ClipToRect(n, &c);
    EraseRectWhite(&c);
    PreviewDrawFrom(n, 0, c.bottom - c.top);
    PreviewDrawForms(n);
    RestoreClip(n, clip);
    PreviewDrawAbove(n);
    PreviewDrawMarks(n);
    RestorePortWindow(saved);
}

// Draws the indexed items laid out between top and bottom of the
// content (pixels from its top), from the scroll position.
void PreviewDrawFrom(int n, int32_t top, int32_t bottom)
{
    if (!PreviewIsOpen(n)) return;
    uint8_t *rec = WinRecordBuffer(n);
    MemBlock store = GetU32(rec, PreviewWin::Store);
    uint32_t used = uint32_t(GetI32(rec, PreviewWin::StoreUsed));
    int32_t s = WinTable[n]->paneScroll, found = GetI32(rec, PreviewWin::FoundItem);
    uint32_t off = PreviewIndexSeek(n, top + s - PreviewTopOffset);
    if (off >= used) return;
    const uint8_t *base = MemLock(store);
    if (!base) return;
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    int32_t y0 = WinTable[n]->contentRect.top + PreviewTopOffset - s;
    while (off < used) {
        const uint8_t *p = base + off;
        uint32_t size = GetU16(p, PreviewItemAt::Size);
        assert(size >= PreviewItemAt::Text + 2);
        int32_t lp = GetI32(p, PreviewItemAt::LayoutPos);
        if (GetU16(p, PreviewItemAt::Kind) <= ItemRule && GetI32(p, PreviewItemAt::Pos) >= 0) {
            if (lp - s >= bottom + PreviewTopOffset) break;
            DrawItem(n, p, y0 + lp, int32_t(off) == found);
        }
        off += size;
    }
    MemUnlock(store);
    RestorePortWindow(saved);
}

// Draws the form elements that reach into the visible content.
void PreviewDrawForms(int n)
{
    uint8_t *rec = WinRecordBuffer(n);
    if (GetI16(rec, PreviewWin::FormPages) <= 0) return;
    MemBlock store = GetU32(rec, PreviewWin::Store);
    uint32_t used = uint32_t(GetI32(rec, PreviewWin::StoreUsed));
    const uint8_t *base = used ? MemLock(store) : nullptr;
    if (!base) return;
    const MacRect &c = WinTable[n]->contentRect;
    int32_t s = WinTable[n]->paneScroll, y0 = c.top + PreviewTopOffset - s;
    for (uint32_t off = 0; off < used;) {
        const uint8_t *p = base + off;
        uint32_t size = GetU16(p, PreviewItemAt::Size);
        assert(size >= PreviewItemAt::Text + 2);
        if (GetU16(p, PreviewItemAt::Kind) >= ItemFormText) {
            int32_t top = y0 + GetI32(p, PreviewItemAt::Pos);
            int32_t bottom = top + GetU16(p, PreviewItemAt::LineHeight);
            if (bottom >= c.top - 20 && top <= c.bottom + 20) DrawFormItem(n, p, y0);
        }
        off += size;
    }
    MemUnlock(store);
}

// Draws the page header's items (pos below 0) in the band above the
// content, each with its baseline at pos + 497 below the search strip.
void PreviewDrawAbove(int n)
{
    if (!PreviewIsOpen(n)) return;
    uint8_t *rec = WinRecordBuffer(n);
    MemBlock store = GetU32(rec, PreviewWin::Store);
    uint32_t used = uint32_t(GetI32(rec, PreviewWin::StoreUsed));
    const uint8_t *base = used ? MemLock(store) : nullptr;
    if (!base) return;
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    MacRect band = WinTable[n]->contentRect;
    band.bottom = band.top;
    band.top = int16_t(band.top - GetI16(rec, PreviewWin::HeaderHeight));
    if (band.bottom > band.top) EraseRectWhite(&band);
    UseRegularFontTransparent(n);
    for (uint32_t off = 0; off < used;) {
        const uint8_t *p = base + off;
        uint32_t size = GetU16(p, PreviewItemAt::Size);
        assert(size >= PreviewItemAt::Text + 2);
        int32_t pos = GetI32(p, PreviewItemAt::Pos);
        if (GetU16(p, PreviewItemAt::Kind) == ItemText && pos < 0) {
            int32_t at = PreviewMapX(n, GetU16(p, PreviewItemAt::X));
            if (p[PreviewItemAt::Align]) at -= PStringWidth(p + PreviewItemAt::Text);
            DrawPString(band.left + at, PreviewSearchStrip + pos + 497, p + PreviewItemAt::Text);
        }
        off += size;
    }
    MemUnlock(store);
    RestorePortWindow(saved);
}

// Draws the page marks in XOR: the line under the header band, a double
// line at the bottom of the content, the right page edge from the top of
// the content to its bottom and a short tick at the edge. The edge of a
// report is its right column stop; forms are drawn on the whole page, so
// theirs is the page's width, clear of every text the form places.
void PreviewDrawMarks(int n)
{
    if (!PreviewIsOpen(n)) return;
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    DrawContext *dc = PortState.dc;
    if (dc) {
        const MacRect &c = WinTable[n]->contentRect;
        const uint8_t *rec = WinRecordBuffer(n);
        const int right = GetI16(rec, PreviewWin::FormPages) > 0 ? int(FormPageWidth)
                                                                  : int(GetU16(rec, PreviewWin::Positions + 20));
        int edge = c.left + PreviewLeftMargin + right;
        PlRop rop = DcSetRop(dc, PlRop::Xor);
        PlPen pen = DcSetPen(dc, kPlPenWhite);
        auto line = [dc](int x1, int y1, int x2, int y2) {
            DcMoveTo(dc, x1, y1);
            DcLineTo(dc, x2, y2);
        };
        line(c.left, c.top - 1, c.right, c.top - 1);
        line(c.left, c.bottom - 3, c.right, c.bottom - 3);
        line(c.left, c.bottom - 1, c.right, c.bottom - 1);
        if (edge < c.right) {
            line(edge, c.top, edge, c.bottom - 3);
            line(edge, c.top + PreviewTopOffset - 8, edge + 5, c.top + PreviewTopOffset - 8);
        }
        DcSetPen(dc, pen);
        DcSetRop(dc, rop);
    }
    RestorePortWindow(saved);
}
