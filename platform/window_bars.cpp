// The scroll bars of a window's own frame (the MDI workspace has them): their
// range and position, when they show, how they are drawn, and what a press on
// an arrow, the track or the thumb reports to the window.
#include <algorithm>
#include <cassert>

#include "platform/control.h"
#include "platform/control_internal.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "platform/window_internal.h"

namespace {
// Where the parts of a bar lie along its length (offsets from the bar's start).
struct BarLayout {
    int length;      // the whole bar
    int arrow;       // each arrow box
    int thumbStart;  // thumb start; thumbLength 0 = no thumb (no room)
    int thumbLength;
};

struct ThumbDrag {
    uint32_t win = 0;
    bool vertical = false;
    int grab = 0;  // pointer offset into the thumb
    int pos = 0;   // position the thumb stands for now
};
ThumbDrag gThumb;

WinBar &BarOf(WinRec *w, bool vertical) { return vertical ? w->vbar : w->hbar; }
const WinBar &BarOf(const WinRec *w, bool vertical) { return vertical ? w->vbar : w->hbar; }

// The highest position: the last page ends at max.
int PosMax(const WinBar &b) { return std::max(b.min, b.max - b.page + 1); }

BarLayout Layout(const WinBar &b, int length, int pos)
{
    BarLayout l{length, std::min(kPlFrameBarWidth, length / 2), 0, 0};
    int track = length - 2 * l.arrow;
    long long units = (long long)b.max - b.min + 1;
    if (units <= 0 || track <= 0) return l;
    int thumb = int(std::clamp<long long>((long long)track * b.page / units, 8, track));
    if (thumb >= track) return l;
    int span = PosMax(b) - b.min;
    int offset = span > 0 ? int((long long)(pos - b.min) * (track - thumb) / span) : 0;
    l.thumbStart = l.arrow + std::clamp(offset, 0, track - thumb);
    l.thumbLength = thumb;
    return l;
}

// The position whose thumb starts at `start`.
int PosAt(const WinBar &b, const BarLayout &l, int start)
{
    int track = l.length - 2 * l.arrow;
    int room = track - l.thumbLength;
    if (room <= 0) return b.min;
    long long p = b.min + (long long)(start - l.arrow) * (PosMax(b) - b.min) / room;
    return int(std::clamp<long long>(p, b.min, PosMax(b)));
}

int LengthOf(const PlRect &r, bool vertical) { return vertical ? PlRectHeight(r) : PlRectWidth(r); }

void Report(uint32_t win, bool vertical, int code, int pos)
{
    WinSend(win, vertical ? PlMsg::VScroll : PlMsg::HScroll,
            uintptr_t(uint16_t(code)) | (uintptr_t(uint16_t(int16_t(pos))) << 16), 0);
}

// A small black triangle pointing up, down, left or right (0..3) in r.
void DrawArrow(DrawContext *dc, const PlRect &r, int dir)
{
    CtlDraw3dBox(dc, r, false);
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        PlRect line;
        switch (dir) {
        case 0: line = PlRect{cx - i, cy - 2 + i, cx + i + 1, cy - 1 + i}; break;
        case 1: line = PlRect{cx - i, cy + 1 - i, cx + i + 1, cy + 2 - i}; break;
        case 2: line = PlRect{cx - 2 + i, cy - i, cx - 1 + i, cy + i + 1}; break;
        default: line = PlRect{cx + 1 - i, cy - i, cx + 2 - i, cy + i + 1}; break;
        }
        DcFillRect(dc, line, kPlBrushBlack);
    }
}

void PaintBar(const WinRec *w, DrawContext *dc, bool vertical)
{
    PlRect r = WinBarRect(w, vertical);
    if (PlRectEmpty(r)) return;
    const WinBar &b = BarOf(w, vertical);
    bool dragging = gThumb.win == w->id && gThumb.vertical == vertical;
    BarLayout l = Layout(b, LengthOf(r, vertical), dragging ? gThumb.pos : b.pos);
    DcFillRect(dc, r, kPlBrushGreyPattern);
    auto part = [&](int from, int to) {
        return vertical ? PlRect{r.left, r.top + from, r.right, r.top + to} : PlRect{r.left + from, r.top, r.left + to, r.bottom};
    };
    DrawArrow(dc, part(0, l.arrow), vertical ? 0 : 2);
    DrawArrow(dc, part(l.length - l.arrow, l.length), vertical ? 1 : 3);
    if (l.thumbLength > 0) CtlDraw3dBox(dc, part(l.thumbStart, l.thumbStart + l.thumbLength), false);
}
}  // namespace

PlRect WinBarRect(const WinRec *w, bool vertical)
{
    assert(w != nullptr);
    WinNcMetrics m = WinNcMetricsOf(w);
    int width = PlRectWidth(w->rect), height = PlRectHeight(w->rect);
    if (vertical && m.vbar > 0) return PlRect{width - m.frame - m.vbar, m.top, width - m.frame, height - m.bottom};
    if (!vertical && m.hbar > 0) return PlRect{m.left, height - m.frame - m.hbar, width - m.right, height - m.frame};
    return PlRect{0, 0, 0, 0};
}

void WinBarsPaint(const WinRec *w, DrawContext *dc)
{
    PaintBar(w, dc, true);
    PaintBar(w, dc, false);
    if (w->vbar.shown && w->hbar.shown) {
        // The square where the two bars meet.
        PlRect v = WinBarRect(w, true), h = WinBarRect(w, false);
        DcFillRect(dc, PlRect{v.left, h.top, v.right, h.bottom}, kPlBrushLightGrey);
    }
}

bool WinGetScrollInfo(uint32_t win, bool vertical, PlScrollInfo *out)
{
    WinRec *w = WinGet(win);
    if (!w || !out || !(w->style & (vertical ? PlStyle::VScroll : PlStyle::HScroll))) return false;
    const WinBar &b = BarOf(w, vertical);
    *out = PlScrollInfo{b.min, b.max, b.page, b.pos, b.shown};
    return true;
}

bool WinSetScrollInfo(uint32_t win, bool vertical, int min, int max, int page, int pos)
{
    WinRec *w = WinGet(win);
    if (!w || !(w->style & (vertical ? PlStyle::VScroll : PlStyle::HScroll))) return false;
    WinBar &b = BarOf(w, vertical);
    WinBar n;
    n.min = min;
    n.max = std::max(min, max);
    n.page = std::max(0, page);
    n.pos = std::clamp(pos, n.min, PosMax(n));
    n.shown = (long long)n.max - n.min + 1 > n.page;
    bool toggled = n.shown != b.shown;
    bool changed = toggled || n.min != b.min || n.max != b.max || n.page != b.page || n.pos != b.pos;
    b = n;
    if (!changed) return true;
    w->ncDirty = true;
    if (gThumb.win == win && gThumb.vertical == vertical && !n.shown) gThumb.win = 0;
    if (toggled) {
        // The client area grew or shrank by the bar's width.
        if (w->parent && w->visible) WinInvalidateArea(w->parent, w->rect);
        WinInvalidateTree(win, true);
        PlRect c = WinClientRect(win);
        uintptr_t kind = w->state == WinState::Maximized   ? kPlSizeMaximized
                         : w->state == WinState::Minimized ? kPlSizeMinimized
                                                           : kPlSizeRestored;
        WinSend(win, PlMsg::Size, kind, PlMakeLong(PlRectWidth(c), PlRectHeight(c)));
    }
    return WinGet(win) != nullptr;
}

bool WinBarButtonDown(uint32_t win, bool vertical, PlPoint p)
{
    WinRec *w = WinGet(win);
    if (!w) return false;
    PlRect r = WinBarRect(w, vertical);
    if (!PlRectContains(r, p)) return false;
    const WinBar &b = BarOf(w, vertical);
    BarLayout l = Layout(b, LengthOf(r, vertical), b.pos);
    int t = vertical ? p.y - r.top : p.x - r.left;
    int code;
    if (t < l.arrow) code = PlSb::LineUp;
    else if (t >= l.length - l.arrow) code = PlSb::LineDown;
    else if (l.thumbLength > 0 && t >= l.thumbStart && t < l.thumbStart + l.thumbLength) {
        gThumb = ThumbDrag{win, vertical, t - l.thumbStart, b.pos};
        return true;
    } else if (l.thumbLength > 0 && t < l.thumbStart) code = PlSb::PageUp;
    else code = PlSb::PageDown;
    Report(win, vertical, code, b.pos);
    if (WinGet(win)) Report(win, vertical, PlSb::EndScroll, BarOf(w, vertical).pos);
    return false;
}

void WinBarDragMove(PlPoint p)
{
    WinRec *w = WinGet(gThumb.win);
    if (!w) {
        gThumb.win = 0;
        return;
    }
    PlRect r = WinBarRect(w, gThumb.vertical);
    const WinBar &b = BarOf(w, gThumb.vertical);
    BarLayout l = Layout(b, LengthOf(r, gThumb.vertical), b.pos);
    int t = gThumb.vertical ? p.y - r.top : p.x - r.left;
    int pos = PosAt(b, l, t - gThumb.grab);
    if (pos == gThumb.pos) return;
    gThumb.pos = pos;
    w->ncDirty = true;
    Report(w->id, gThumb.vertical, PlSb::ThumbTrack, pos);
}

void WinBarDragEnd(PlPoint p)
{
    WinBarDragMove(p);
    ThumbDrag done = gThumb;
    gThumb.win = 0;
    WinRec *w = WinGet(done.win);
    if (!w) return;
    w->ncDirty = true;
    Report(done.win, done.vertical, PlSb::ThumbPosition, done.pos);
    if (WinGet(done.win)) Report(done.win, done.vertical, PlSb::EndScroll, done.pos);
}
