// Scrolling of the MDI workspace: the client's scroll bars follow where the
// children lie, and scrolling moves the children, as the client area itself
// always shows its own coordinates from 0, 0.
#include <algorithm>

#include "platform/control.h"
#include "platform/mdi.h"
#include "platform/window.h"
#include "platform/window_internal.h"

namespace {
constexpr int kLineStep = 16;

// Set while the bars are being fitted or the children moved, so that the
// moves and size messages this causes do not fit the bars again midway.
bool gFitting = false;

struct Fit {
    bool need;
    int min, max, page;
};

// One bar for children spanning lo..hi in an area `page` long.
Fit FitOf(int lo, int hi, int page, bool any)
{
    if (!any || (lo >= 0 && hi <= page)) return Fit{false, 0, std::max(0, page - 1), std::max(1, page)};
    return Fit{true, std::min(0, lo), std::max(page, hi) - 1, std::max(1, page)};
}
}  // namespace

void MdiFitScrollBars(uint32_t client)
{
    WinRec *w = WinGet(client);
    if (!w || gFitting || !(w->style & (PlStyle::HScroll | PlStyle::VScroll))) return;
    gFitting = true;
    bool maximized = false;
    MdiGetActive(client, &maximized);
    PlRect all{0, 0, 0, 0};
    bool any = false;
    if (!maximized) {
        for (uint32_t c : w->children) {
            WinRec *cw = WinGet(c);
            if (!cw || !cw->visible || cw->destroying) continue;
            all = any ? PlRectUnion(all, cw->rect) : cw->rect;
            any = true;
        }
    }
    // The area without bars; a bar that shows takes its width from the other
    // direction, which may then need its own bar too.
    WinNcMetrics m = WinNcMetricsOf(w);
    PlRect c = WinClientRect(client);
    int fullW = PlRectWidth(c) + m.vbar, fullH = PlRectHeight(c) + m.hbar;
    bool hasH = (w->style & PlStyle::HScroll) != 0, hasV = (w->style & PlStyle::VScroll) != 0;
    Fit h{}, v{};
    bool needH = false, needV = false;
    for (int round = 0; round < 3; ++round) {
        int width = fullW - (needV ? kPlFrameBarWidth : 0);
        int height = fullH - (needH ? kPlFrameBarWidth : 0);
        h = FitOf(all.left, all.right, width, any && hasH);
        v = FitOf(all.top, all.bottom, height, any && hasV);
        if (h.need == needH && v.need == needV) break;
        needH = h.need;
        needV = v.need;
    }
    if (hasH) WinSetScrollInfo(client, false, h.min, h.max, h.page, 0);
    if (hasV && WinIsWindow(client)) WinSetScrollInfo(client, true, v.min, v.max, v.page, 0);
    gFitting = false;
}

void MdiScrollChildren(uint32_t client, int dx, int dy)
{
    WinRec *w = WinGet(client);
    if (!w || (dx == 0 && dy == 0)) return;
    bool outer = !gFitting;
    gFitting = true;
    std::vector<uint32_t> kids = w->children;
    for (uint32_t c : kids) {
        if (!WinIsWindow(c)) continue;
        // A minimised child returns to a normal rectangle that moved along.
        if (WinIsIconic(c) || WinIsZoomed(c)) WinSetRestoreRect(c, PlRectOffset(WinRestoreRect(c), dx, dy));
        WinMove(c, PlRectOffset(WinRect(c), dx, dy));
    }
    if (outer) {
        gFitting = false;
        MdiFitScrollBars(client);
    }
}

void MdiScrollMessage(uint32_t client, bool vertical, uintptr_t wParam)
{
    PlScrollInfo info;
    if (!WinGetScrollInfo(client, vertical, &info) || !info.shown) return;
    int highest = std::max(info.min, info.max - info.page + 1);
    int to = info.pos;
    switch (int(wParam & 0xFFFF)) {
    case PlSb::LineUp: to -= kLineStep; break;
    case PlSb::LineDown: to += kLineStep; break;
    case PlSb::PageUp: to -= info.page; break;
    case PlSb::PageDown: to += info.page; break;
    case PlSb::ThumbPosition: to = int(int16_t(uint16_t(wParam >> 16))); break;
    case PlSb::Top: to = info.min; break;
    case PlSb::Bottom: to = highest; break;
    default: return;  // thumb track and end scroll move nothing
    }
    to = std::clamp(to, info.min, highest);
    int delta = to - info.pos;
    if (vertical) MdiScrollChildren(client, 0, -delta);
    else MdiScrollChildren(client, -delta, 0);
}
