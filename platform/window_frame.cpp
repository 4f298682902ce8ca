// The non-client parts of windows that the layer draws itself: frames,
// the caption of child windows (title, close, minimise and maximise boxes),
// the menu-bar band of top-level windows; their hit-testing and the moving of
// a child window by its caption.
#include "platform/font.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "platform/window_internal.h"

namespace {
constexpr PlColor kActiveCaption = PlRgb(0, 0, 128);
constexpr PlColor kInactiveCaption = PlRgb(128, 128, 128);
constexpr int kBoxW = 16;
constexpr int kBoxH = 14;

struct CaptionBoxes {
    PlRect close, max, min;  // empty when absent (window coordinates)
};

CaptionBoxes BoxesOf(const WinRec *w, const WinNcMetrics &m)
{
    CaptionBoxes b{};
    int width = PlRectWidth(w->rect);
    int top = m.frame + (m.caption - kBoxH) / 2;
    int x = width - m.frame - 2 - kBoxW;
    if (w->style & PlStyle::SysMenu) {
        b.close = PlRect{x, top, x + kBoxW, top + kBoxH};
        x -= kBoxW + 2;
    }
    if (w->style & PlStyle::MaxBox) {
        b.max = PlRect{x, top, x + kBoxW, top + kBoxH};
        x -= kBoxW;
    }
    if (w->style & PlStyle::MinBox) b.min = PlRect{x, top, x + kBoxW, top + kBoxH};
    return b;
}

// A raised box with a glyph: 0 close, 1 maximise, 2 minimise, 3 restore.
void DrawBox(DrawContext *dc, const PlRect &r, int glyph)
{
    if (PlRectEmpty(r)) return;
    DcFillRect(dc, r, kPlBrushLightGrey);
    DcFillRect(dc, PlRect{r.left, r.bottom - 1, r.right, r.bottom}, kPlBrushBlack);
    DcFillRect(dc, PlRect{r.right - 1, r.top, r.right, r.bottom}, kPlBrushBlack);
    DcFillRect(dc, PlRect{r.left, r.top, r.right - 1, r.top + 1}, kPlBrushWhite);
    DcFillRect(dc, PlRect{r.left, r.top, r.left + 1, r.bottom - 1}, kPlBrushWhite);
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    DcSetPen(dc, kPlPenBlack);
    switch (glyph) {
    case 0:
        for (int i = -3; i <= 3; ++i) {
            DcSetPixel(dc, cx + i, cy + i, kPlBlack);
            DcSetPixel(dc, cx + i - 1, cy + i, kPlBlack);
            DcSetPixel(dc, cx - i, cy + i, kPlBlack);
            DcSetPixel(dc, cx - i - 1, cy + i, kPlBlack);
        }
        break;
    case 1:
        DcFrameRect(dc, PlRect{cx - 4, cy - 4, cx + 4, cy + 4}, kPlBrushBlack);
        DcFillRect(dc, PlRect{cx - 4, cy - 3, cx + 4, cy - 2}, kPlBrushBlack);
        break;
    case 2:
        DcFillRect(dc, PlRect{cx - 3, cy + 2, cx + 3, cy + 4}, kPlBrushBlack);
        break;
    default:
        DcFrameRect(dc, PlRect{cx - 4, cy - 1, cx + 2, cy + 4}, kPlBrushBlack);
        DcFrameRect(dc, PlRect{cx - 2, cy - 4, cx + 4, cy + 1}, kPlBrushBlack);
        break;
    }
}

struct DragState {
    uint32_t win = 0;
    PlPoint grab{0, 0};  // screen point minus window origin
};
DragState gDrag;
}  // namespace

void WinPaintNonClient(WinRec *w)
{
    w->ncDirty = false;
    if (!WinIsVisible(w->id)) return;
    WinNcMetrics m = WinNcMetricsOf(w);
    if (m.top == 0 && m.left == 0) return;
    DrawContext *dc = WinGetWindowDc(w->id);
    if (!dc) return;
    int width = PlRectWidth(w->rect), height = PlRectHeight(w->rect);
    PlRect all{0, 0, width, height};
    if (m.frame > 0) {
        DcFrameRect(dc, all, kPlBrushBlack);
        for (int i = 1; i < m.frame; ++i)
            DcFrameRect(dc, PlRect{i, i, width - i, height - i}, i == m.frame - 1 ? kPlBrushGrey : kPlBrushLightGrey);
    }
    if (m.caption > 0) {
        PlRect cap{m.frame, m.frame, width - m.frame, m.frame + m.caption};
        DcFillRect(dc, cap, PlSolidBrush(w->captionActive ? kActiveCaption : kInactiveCaption));
        CaptionBoxes b = BoxesOf(w, m);
        int textRight = b.min.right ? b.min.left : b.max.right ? b.max.left : b.close.right ? b.close.left : cap.right;
        DcPushClip(dc, PlRect{cap.left, cap.top, textRight - 2, cap.bottom});
        DcSelectFont(dc, FontUiSemibold());
        DcSetTextColor(dc, kPlWhite);
        DcSetBkMode(dc, PlBkMode::Transparent);
        PlSize ext = DcTextExtent(dc, w->title);
        DcTextOut(dc, cap.left + 4, cap.top + (m.caption - ext.cy) / 2, w->title);
        DcPopClip(dc);
        DrawBox(dc, b.close, 0);
        DrawBox(dc, b.max, w->state == WinState::Maximized || w->state == WinState::Minimized ? 3 : 1);
        DrawBox(dc, b.min, w->state == WinState::Minimized ? 1 : 2);
    }
    if (m.menu > 0) {
        PlRect band{m.frame, m.frame + m.caption, width - m.frame, m.frame + m.caption + m.menu};
        DcFillRect(dc, band, kPlBrushLightGrey);
        if (WinHooksRef().drawMenuBar) WinHooksRef().drawMenuBar(w->id, dc, band);
        DcFillRect(dc, PlRect{band.left, band.bottom - 1, band.right, band.bottom}, kPlBrushGrey);
    }
    WinReleaseDc(w->id, dc);
}

WinNcHit WinNcHitTest(const WinRec *w, PlPoint screen)
{
    if (!w) return WinNcHit::None;
    PlRect sr = WinScreenRect(w->id);
    PlPoint p{screen.x - sr.left, screen.y - sr.top};
    WinNcMetrics m = WinNcMetricsOf(w);
    int width = PlRectWidth(w->rect);
    if (m.caption > 0 && p.y >= m.frame && p.y < m.frame + m.caption && p.x >= m.frame && p.x < width - m.frame) {
        CaptionBoxes b = BoxesOf(w, m);
        if (PlRectContains(b.close, p)) return WinNcHit::Close;
        if (PlRectContains(b.max, p))
            return w->state == WinState::Normal ? WinNcHit::Maximize : WinNcHit::Restore;
        if (PlRectContains(b.min, p))
            return w->state == WinState::Minimized ? WinNcHit::Maximize : WinNcHit::Minimize;
        return WinNcHit::Caption;
    }
    if (m.menu > 0 && p.y >= m.frame + m.caption && p.y < m.frame + m.caption + m.menu) return WinNcHit::MenuBar;
    if (!PlRectContains(PlRect{0, 0, width, PlRectHeight(w->rect)}, p)) return WinNcHit::None;
    PlRect client{m.left, m.top, width - m.right, PlRectHeight(w->rect) - m.bottom};
    return PlRectContains(client, p) ? WinNcHit::None : WinNcHit::Frame;
}

void WinNcButtonDown(uint32_t win, WinNcHit hit, PlPoint screen)
{
    WinRec *w = WinGet(win);
    if (!w) return;
    switch (hit) {
    case WinNcHit::Close:
        MsgPost(win, PlMsg::Close, 0, 0);
        return;
    case WinNcHit::Minimize:
    case WinNcHit::Maximize:
    case WinNcHit::Restore:
        if (WinHooksRef().captionCommand && WinHooksRef().captionCommand(win, hit)) return;
        WinShow(win, hit == WinNcHit::Minimize   ? PlShow::Minimized
                     : hit == WinNcHit::Maximize ? PlShow::Maximized
                                                 : PlShow::Restore);
        return;
    case WinNcHit::MenuBar:
        if (WinHooksRef().menuBarClick) WinHooksRef().menuBarClick(win, screen);
        return;
    case WinNcHit::Caption:
        if (w->parent && w->state == WinState::Normal) {
            PlRect sr = WinScreenRect(win);
            gDrag.win = win;
            gDrag.grab = PlPoint{screen.x - sr.left, screen.y - sr.top};
        }
        return;
    default:
        return;
    }
}

void WinNcMouseMove(PlPoint screen, bool leftDown)
{
    WinRec *w = WinGet(gDrag.win);
    if (!w || !leftDown) {
        gDrag.win = 0;
        return;
    }
    PlPoint inParent = WinScreenToClient(w->parent, PlPoint{screen.x - gDrag.grab.x, screen.y - gDrag.grab.y});
    PlRect r = w->rect;
    WinMove(w->id, PlRect{inParent.x, inParent.y, inParent.x + PlRectWidth(r), inParent.y + PlRectHeight(r)});
}

void WinNcButtonUp(PlPoint screen)
{
    if (gDrag.win) WinNcMouseMove(screen, true);
    gDrag.win = 0;
}

bool WinNcDragging() { return gDrag.win != 0; }

void WinSetCaptionActive(uint32_t win, bool on)
{
    WinRec *w = WinGet(win);
    if (!w || w->captionActive == on) return;
    w->captionActive = on;
    w->ncDirty = true;
}
