// The vertical SCROLLBAR control: an arrow box at each end and a thumb in
// the track between them. It reports to its parent with message 277 (line
// up/down at the arrows, page up/down in the track, thumb track while the
// thumb is dragged and thumb position when it is let go, then end scroll);
// the parent sets the new position, as the program expects.
#include <algorithm>
#include <cstdlib>

#include "platform/control.h"
#include "platform/control_internal.h"
#include "platform/queue.h"
#include "platform/window.h"

namespace {
struct BarState {
    int min = 0, max = 100, pos = 0;
    bool tracking = false;
    int trackPos = 0;
    int grabOffset = 0;  // pointer y minus thumb top while dragging
    int pressed = -1;    // code of the pressed part, -1 none
};

BarState *StateOf(uint32_t win) { return CtlStateOf<BarState>(win); }

int ArrowSize(uint32_t win)
{
    PlRect c = WinClientRect(win);
    return std::min(PlRectWidth(c), PlRectHeight(c) / 2);
}

bool Active(uint32_t win, const BarState &s) { return s.max > s.min && WinIsEnabled(win); }

// Thumb rectangle for a position.
PlRect ThumbAt(uint32_t win, const BarState &s, int pos)
{
    PlRect c = WinClientRect(win);
    int a = ArrowSize(win);
    int track = PlRectHeight(c) - 2 * a;
    int thumb = std::min(PlRectWidth(c), track);
    if (track <= thumb || s.max <= s.min) return PlRect{0, 0, 0, 0};
    int y = a + int((long long)(pos - s.min) * (track - thumb) / (s.max - s.min));
    return PlRect{0, y, PlRectWidth(c), y + thumb};
}

// Position for a thumb top at y.
int PosAt(uint32_t win, const BarState &s, int y)
{
    PlRect c = WinClientRect(win);
    int a = ArrowSize(win);
    int track = PlRectHeight(c) - 2 * a;
    int thumb = std::min(PlRectWidth(c), track);
    if (track <= thumb) return s.min;
    long long p = s.min + (long long)(y - a) * (s.max - s.min) / (track - thumb);
    return int(std::clamp<long long>(p, s.min, s.max));
}

void Report(uint32_t win, int code, int pos)
{
    uint32_t parent = WinParent(win);
    if (!parent) return;
    WinSend(parent, PlMsg::VScroll, uintptr_t(uint16_t(code)) | (uintptr_t(uint16_t(pos)) << 16), intptr_t(win));
}

void DrawArrow(DrawContext *dc, const PlRect &r, bool up, bool pressed, bool enabled)
{
    CtlDraw3dBox(dc, r, pressed);
    int cx = (r.left + r.right) / 2 + (pressed ? 1 : 0);
    int cy = (r.top + r.bottom) / 2 + (pressed ? 1 : 0);
    PlBrush b = PlSolidBrush(enabled ? kPlBlack : kPlGrey);
    for (int i = 0; i < 4; ++i) {
        int y = up ? cy - 2 + i : cy + 1 - i;
        DcFillRect(dc, PlRect{cx - i, y, cx + i + 1, y + 1}, b);
    }
}

void Paint(uint32_t win, BarState &s)
{
    PlPaint ps;
    if (!WinBeginPaint(win, &ps)) return;
    PlRect c = WinClientRect(win);
    int a = ArrowSize(win);
    bool active = Active(win, s);
    DcFillRect(ps.dc, c, kPlBrushGreyPattern);
    DrawArrow(ps.dc, PlRect{0, 0, PlRectWidth(c), a}, true, s.pressed == PlSb::LineUp, active);
    DrawArrow(ps.dc, PlRect{0, c.bottom - a, PlRectWidth(c), c.bottom}, false, s.pressed == PlSb::LineDown, active);
    if (active) {
        PlRect t = ThumbAt(win, s, s.tracking ? s.trackPos : s.pos);
        if (!PlRectEmpty(t)) CtlDraw3dBox(ps.dc, t, false);
    }
    WinEndPaint(win, &ps);
}
}  // namespace

intptr_t ScrollBarProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    intptr_t result = 0;
    BarState *sp = CtlCommonMessages<BarState>(win, msg, wParam, lParam, &result, Paint);
    if (!sp) return result;
    BarState &s = *sp;
    switch (msg) {
    case PlMsg::LButtonDown:
    case PlMsg::LButtonDblClk: {
        if (!Active(win, s)) return 0;
        int y = PlHiShort(lParam);
        PlRect c = WinClientRect(win);
        int a = ArrowSize(win);
        PlRect t = ThumbAt(win, s, s.pos);
        WinSetCapture(win);
        if (y < a) s.pressed = PlSb::LineUp;
        else if (y >= c.bottom - a) s.pressed = PlSb::LineDown;
        else if (y >= t.top && y < t.bottom) {
            s.tracking = true;
            s.trackPos = s.pos;
            s.grabOffset = y - t.top;
            s.pressed = PlSb::ThumbTrack;
            return 0;
        } else s.pressed = y < t.top ? PlSb::PageUp : PlSb::PageDown;
        WinInvalidate(win, nullptr, false);
        Report(win, s.pressed, s.pos);
        return 0;
    }
    case PlMsg::MouseMove:
        if (s.tracking) {
            int p = PosAt(win, s, PlHiShort(lParam) - s.grabOffset);
            if (p != s.trackPos) {
                s.trackPos = p;
                WinInvalidate(win, nullptr, false);
                Report(win, PlSb::ThumbTrack, p);
            }
        }
        return 0;
    case PlMsg::LButtonUp: {
        if (WinCapture() == win) WinReleaseCapture();
        BarState *again = StateOf(win);
        if (!again || again->pressed < 0) return 0;
        bool wasTracking = again->tracking;
        int p = again->trackPos;
        again->tracking = false;
        again->pressed = -1;
        WinInvalidate(win, nullptr, false);
        if (wasTracking) Report(win, PlSb::ThumbPosition, p);
        Report(win, PlSb::EndScroll, ScrollBarPos(win));
        return 0;
    }
    case PlMsg::MouseWheel: {
        // The wheel over a bar works it as its arrows do.
        int lines = MsgWheelLines(win, wParam);
        if (!Active(win, s) || lines == 0) return 0;
        for (int i = 0; i < std::abs(lines); ++i) {
            BarState *again = StateOf(win);  // the parent may have changed the table
            if (!again) return 0;
            Report(win, lines > 0 ? PlSb::LineUp : PlSb::LineDown, again->pos);
        }
        if (StateOf(win)) Report(win, PlSb::EndScroll, ScrollBarPos(win));
        return 0;
    }
    case PlMsg::Enable:
        if (!wParam) {  // disabling takes the mouse away: a drag in progress ends
            s.tracking = false;
            s.pressed = -1;
        }
        WinInvalidate(win, nullptr, false);
        return 0;
    default:
        return WinDefProc(win, msg, wParam, lParam);
    }
}

void ScrollBarSetRange(uint32_t bar, int min, int max, bool redraw)
{
    BarState *s = StateOf(bar);
    if (!s) return;
    s->min = min;
    s->max = max;
    s->pos = max > min ? std::clamp(s->pos, min, max) : min;
    if (redraw) WinInvalidate(bar, nullptr, false);
}

void ScrollBarSetPos(uint32_t bar, int pos, bool redraw)
{
    BarState *s = StateOf(bar);
    if (!s) return;
    s->pos = s->max > s->min ? std::clamp(pos, s->min, s->max) : s->min;
    if (redraw) WinInvalidate(bar, nullptr, false);
}

int ScrollBarPos(uint32_t bar)
{
    BarState *s = StateOf(bar);
    return s ? s->pos : 0;
}

void ScrollBarRange(uint32_t bar, int *min, int *max)
{
    BarState *s = StateOf(bar);
    if (min) *min = s ? s->min : 0;
    if (max) *max = s ? s->max : 0;
}

PlRect ScrollBarThumbRect(uint32_t bar)
{
    BarState *s = StateOf(bar);
    if (!s || !Active(bar, *s)) return PlRect{0, 0, 0, 0};
    return ThumbAt(bar, *s, s->tracking ? s->trackPos : s->pos);
}
