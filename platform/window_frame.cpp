// The non-client parts of windows that the layer draws itself: frames,
// the caption of child windows (title, close, minimise and maximise boxes),
// the menu-bar band of top-level windows; their hit-testing, the moving of a
// child window by its caption and its sizing by the edges and corners of its
// thick frame. The mouse is captured while either lasts.
#include <algorithm>

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

enum class DragKind : uint8_t { None, Move, Size, Thumb };

struct DragState {
    DragKind kind = DragKind::None;
    uint32_t win = 0;
    PlPoint grab{0, 0};  // Move: screen point minus window origin; Size: the screen point pressed
    WinNcHit edge = WinNcHit::None;  // Size: the part of the frame held
    PlRect start{};                  // Size: the window rectangle when pressed
};
DragState gDrag;

void StartDrag(DragKind kind, uint32_t win, PlPoint grab, WinNcHit edge, const PlRect &start)
{
    gDrag = DragState{kind, win, grab, edge, start};
    WinSetCapture(win);
}

void EndDrag()
{
    if (gDrag.win && WinCapture() == gDrag.win) WinReleaseCapture();
    gDrag = DragState{};
}

bool SizesLeft(WinNcHit h) { return h == WinNcHit::Left || h == WinNcHit::TopLeft || h == WinNcHit::BottomLeft; }
bool SizesRight(WinNcHit h) { return h == WinNcHit::Right || h == WinNcHit::TopRight || h == WinNcHit::BottomRight; }
bool SizesTop(WinNcHit h) { return h == WinNcHit::Top || h == WinNcHit::TopLeft || h == WinNcHit::TopRight; }
bool SizesBottom(WinNcHit h)
{
    return h == WinNcHit::Bottom || h == WinNcHit::BottomLeft || h == WinNcHit::BottomRight;
}

// The sizing part of a thick frame at window point p (None when p is not on
// the frame or the window cannot be sized now).
WinNcHit SizingPart(const WinRec *w, const WinNcMetrics &m, PlPoint p)
{
    if (!w->parent || !(w->style & PlStyle::ThickFrame) || w->state != WinState::Normal || m.frame == 0)
        return WinNcHit::None;
    int width = PlRectWidth(w->rect), height = PlRectHeight(w->rect);
    bool left = p.x < m.frame, right = p.x >= width - m.frame;
    bool top = p.y < m.frame, bottom = p.y >= height - m.frame;
    if (!left && !right && !top && !bottom) return WinNcHit::None;
    // Near a corner the edge sizes both ways.
    bool nearLeft = p.x < kWinSizeCorner, nearRight = p.x >= width - kWinSizeCorner;
    bool nearTop = p.y < kWinSizeCorner, nearBottom = p.y >= height - kWinSizeCorner;
    if ((left || top) && nearLeft && nearTop) return WinNcHit::TopLeft;
    if ((right || top) && nearRight && nearTop) return WinNcHit::TopRight;
    if ((left || bottom) && nearLeft && nearBottom) return WinNcHit::BottomLeft;
    if ((right || bottom) && nearRight && nearBottom) return WinNcHit::BottomRight;
    if (left) return WinNcHit::Left;
    if (right) return WinNcHit::Right;
    return top ? WinNcHit::Top : WinNcHit::Bottom;
}

// The window rectangle for the pointer at `screen` while an edge is held:
// the held edges follow the pointer, the others stay, and the window keeps
// its minimum track size by stopping the held edge.
PlRect SizedRect(PlPoint screen)
{
    int dx = screen.x - gDrag.grab.x, dy = screen.y - gDrag.grab.y;
    PlRect r = gDrag.start;
    if (SizesLeft(gDrag.edge)) r.left = std::min(r.left + dx, r.right - kWinMinTrackWidth);
    if (SizesRight(gDrag.edge)) r.right = std::max(r.right + dx, r.left + kWinMinTrackWidth);
    if (SizesTop(gDrag.edge)) r.top = std::min(r.top + dy, r.bottom - kWinMinTrackHeight);
    if (SizesBottom(gDrag.edge)) r.bottom = std::max(r.bottom + dy, r.top + kWinMinTrackHeight);
    return r;
}
}  // namespace

void WinPaintNonClient(WinRec *w)
{
    w->ncDirty = false;
    if (!WinIsVisible(w->id)) return;
    WinNcMetrics m = WinNcMetricsOf(w);
    if (m.top == 0 && m.left == 0 && m.right == 0 && m.bottom == 0) return;
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
    if (m.vbar > 0 || m.hbar > 0) WinBarsPaint(w, dc);
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
    if (PlRectContains(WinBarRect(w, true), p)) return WinNcHit::VScroll;
    if (PlRectContains(WinBarRect(w, false), p)) return WinNcHit::HScroll;
    WinNcHit sizing = SizingPart(w, m, p);
    if (sizing != WinNcHit::None) return sizing;
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
            StartDrag(DragKind::Move, win, PlPoint{screen.x - sr.left, screen.y - sr.top}, hit, w->rect);
        }
        return;
    case WinNcHit::Left:
    case WinNcHit::Right:
    case WinNcHit::Top:
    case WinNcHit::Bottom:
    case WinNcHit::TopLeft:
    case WinNcHit::TopRight:
    case WinNcHit::BottomLeft:
    case WinNcHit::BottomRight:
        StartDrag(DragKind::Size, win, screen, hit, w->rect);
        return;
    case WinNcHit::HScroll:
    case WinNcHit::VScroll: {
        PlRect sr = WinScreenRect(win);
        if (WinBarButtonDown(win, hit == WinNcHit::VScroll, PlPoint{screen.x - sr.left, screen.y - sr.top}))
            StartDrag(DragKind::Thumb, win, PlPoint{sr.left, sr.top}, hit, w->rect);
        return;
    }
    default:
        return;
    }
}

void WinNcMouseMove(PlPoint screen, bool leftDown)
{
    WinRec *w = WinGet(gDrag.win);
    if (!w || !leftDown) {
        // The button went up unseen (or the window went away): the drag ends
        // where it stands.
        if (gDrag.kind == DragKind::Thumb && w) WinBarDragEnd(PlPoint{screen.x - gDrag.grab.x, screen.y - gDrag.grab.y});
        EndDrag();
        return;
    }
    switch (gDrag.kind) {
    case DragKind::Move: {
        PlPoint inParent = WinScreenToClient(w->parent, PlPoint{screen.x - gDrag.grab.x, screen.y - gDrag.grab.y});
        PlRect r = w->rect;
        WinMove(w->id, PlRect{inParent.x, inParent.y, inParent.x + PlRectWidth(r), inParent.y + PlRectHeight(r)});
        return;
    }
    case DragKind::Size:
        WinMove(w->id, SizedRect(screen));
        return;
    case DragKind::Thumb:
        WinBarDragMove(PlPoint{screen.x - gDrag.grab.x, screen.y - gDrag.grab.y});
        return;
    case DragKind::None:
        return;
    }
}

void WinNcButtonUp(PlPoint screen)
{
    WinRec *w = WinGet(gDrag.win);
    if (w && gDrag.kind == DragKind::Thumb) WinBarDragEnd(PlPoint{screen.x - gDrag.grab.x, screen.y - gDrag.grab.y});
    else if (w) WinNcMouseMove(screen, true);
    EndDrag();
}

bool WinNcDragging() { return gDrag.win != 0; }

void WinSetCaptionActive(uint32_t win, bool on)
{
    WinRec *w = WinGet(win);
    if (!w || w->captionActive == on) return;
    w->captionActive = on;
    w->ncDirty = true;
}
