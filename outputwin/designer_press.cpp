// designer_press.cpp - the mouse in a form designer: a press starts a
// rubber band (drawing a new item with the current tool, or choosing the
// items it encloses), a resize by a grab mark, or a drag of the
// selection; the pointer's moves redraw the frame; the release does what
// the press began.
//
// The press lives in the one PressState of the window framework. The
// current tool is the designer's last chosen button 1..5 (dialogChoice);
// it goes back to none once it has drawn an item, or when a press finds
// nothing under the pointer.
#include <cstdlib>

#include "output/layer_operations.h"
#include "core/window_kind.h"
#include "outputwin/designer.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/window_mouse.h"
#include "shell/window_table.h"

namespace {

constexpr int DragThreshold = 3;   // a drag of this many pixels or fewer moves nothing
enum Side { SideTop = 1, SideRight = 2, SideBottom = 3, SideLeft = 4 };

int PointX(int32_t p) { return int16_t(p & 0xFFFF); }
int PointY(int32_t p) { return int16_t(uint32_t(p) >> 16); }

// True when (x, y) lies in r, its right and bottom edges included: a
// line item has no width.
bool Within(const MacRect &r, int x, int y) { return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom; }

// The press's frame as the focus rectangle draws it, edges included.
void DrawFrame(int w, const MacRect &r)
{
    MacRect f;
    MakeRect(&f, r.left, r.top, r.right + 1, r.bottom + 1);
    DrawFocusRectIn(w, &f);
}

// Starts a designer press of the kind in w: the pointer is held by w
// until the release.
void Start(int w, PressKind kind, int32_t point, const MacRect &frame)
{
    PressStateRec &s = PressState;
    s.kind = kind;
    s.window = w;
    s.anchor = point;
    s.rect = frame;
    s.start = frame;
    s.dx = s.dy = 0;
    s.inside = true;
    s.controlEntry = s.iconEntry = nullptr;
    if (kind == PressDesignerDrag) DesignerDragFrames(w, 0, 0);
    else DrawFrame(w, frame);
    if (WinTable[w]->mdiChild) WinSetCapture(WinTable[w]->mdiChild);
}

// A resize from a grab mark of a selected item's rectangle r under
// (x, y): a corner keeps its opposite corner, a mid-side mark moves its
// side alone. True when one started.
bool MarkPress(int w, int32_t point, const MacRect &r)
{
    int mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
    const int corners[4][4] = {{r.left, r.top, r.right, r.bottom},
                               {r.right, r.top, r.left, r.bottom},
                               {r.left, r.bottom, r.right, r.top},
                               {r.right, r.bottom, r.left, r.top}};
    for (const auto &c : corners) {
        if (!DesignerHitMark(point, c[0], c[1])) continue;
        int32_t opposite = int32_t((uint32_t(uint16_t(c[3])) << 16) | uint16_t(c[2]));
        Start(w, PressDesignerCorner, opposite, r);
        return true;
    }
    const int sides[4][3] = {{mx, r.top, SideTop}, {r.right, my, SideRight}, {mx, r.bottom, SideBottom},
                             {r.left, my, SideLeft}};
    for (const auto &c : sides) {
        if (!DesignerHitMark(point, c[0], c[1])) continue;
        Start(w, PressDesignerSide, point, r);
        PressState.side = c[2];
        return true;
    }
    return false;
}

// The frame of a resize or rubber band with the pointer at (x, y).
MacRect FrameAt(const PressStateRec &s, int x, int y)
{
    MacRect r = s.rect;
    if (s.kind == PressDesignerSide) {
        switch (s.side) {
        case SideTop: r.top = int16_t(y); break;
        case SideRight: r.right = int16_t(x); break;
        case SideBottom: r.bottom = int16_t(y); break;
        default: r.left = int16_t(x); break;
        }
        if (r.top > r.bottom) std::swap(r.top, r.bottom);
        if (r.left > r.right) std::swap(r.left, r.right);
        return r;
    }
    RectFromPoints(&r, PointX(s.anchor), PointY(s.anchor), x, y);
    return r;
}

}  // namespace

bool DesignerPress(int w, int32_t point, bool shift)
{
    if (!WinIsOpen(w) || WinKindOf(w) != KindCode(WindowKind::Designer)) return false;
    DesignerContentRect(w);
    const MacRect content = WinTable[w]->contentRect;
    if (!PtInMacRect(point, &content)) return false;
    int x = PointX(point), y = PointY(point);
    MacRect dot{int16_t(y), int16_t(x), int16_t(y), int16_t(x)};
    uint16_t &tool = WinTable[w]->dialogChoice;
    if (tool >= FormItemText && tool <= FormItemPicture) {
        Start(w, PressDesignerBand, point, dot);
        return true;
    }
    for (int i = 0, count = DesignerSelectedCount(w); i < count; i++) {
        MacRect r;
        if (DesignerItemRect(w, DesignerSelectedAt(w, i), &r) && MarkPress(w, point, r)) return true;
    }
    for (int n = 0, count = DesignerItemCount(w); n < count; n++) {
        MacRect r;
        if (!DesignerItemRect(w, n, &r) || r.top < content.top) continue;
        if (r.left == r.right) r.left--, r.right++;
        if (r.top == r.bottom) r.top--, r.bottom++;
        if (!Within(r, x, y)) continue;
        DesignerSelectItem(w, n, shift);
        if (!WinIsOpen(w)) return true;
        Start(w, PressDesignerDrag, point, r);
        return true;
    }
    tool = FormItemNone;
    if (!shift) DesignerSelectOnly(w, -1);
    Start(w, PressDesignerBand, point, dot);
    return true;
}

bool DesignerTrack(int w, int32_t point)
{
    PressStateRec &s = PressState;
    if (s.kind < PressDesignerDrag || s.kind > PressDesignerSide) return false;
    if (w != s.window || !WinIsOpen(w)) return true;
    int x = PointX(point), y = PointY(point);
    if (s.kind == PressDesignerDrag) {
        int dx = x - PointX(s.anchor), dy = y - PointY(s.anchor);
        if (dx == s.dx && dy == s.dy) return true;
        DesignerDragFrames(w, s.dx, s.dy);
        s.dx = dx, s.dy = dy;
        DesignerDragFrames(w, s.dx, s.dy);
        return true;
    }
    MacRect r = FrameAt(s, x, y);
    if (r.top == s.rect.top && r.left == s.rect.left && r.bottom == s.rect.bottom && r.right == s.rect.right)
        return true;
    DrawFrame(w, s.rect);
    s.rect = r;
    DrawFrame(w, s.rect);
    return true;
}

bool DesignerRelease(int n, int32_t point)
{
    PressStateRec &s = PressState;
    if (s.kind < PressDesignerDrag || s.kind > PressDesignerSide) return false;
    int w = s.window;
    if (n == w) DesignerTrack(w, point);
    PressStateRec done = s;
    s.kind = PressNone;
    if (!WinIsOpen(w)) return true;
    if (WinTable[w]->mdiChild && WinCapture() == WinTable[w]->mdiChild) WinReleaseCapture();
    switch (done.kind) {
    case PressDesignerDrag:
        DesignerDragFrames(w, done.dx, done.dy);
        if (std::abs(done.dx) + std::abs(done.dy) > DragThreshold) DesignerMoveSelection(w, done.dx, done.dy);
        else if (done.dbl) DesignerOpenPart(w);
        break;
    case PressDesignerBand: {
        DrawFrame(w, done.rect);
        uint16_t &tool = WinTable[w]->dialogChoice;
        if (tool >= FormItemText && tool <= FormItemPicture) {
            int kind = tool;
            tool = FormItemNone;
            (void)DesignerAddItem(w, &done.rect, kind);
        } else {
            DesignerClickSelect(w, &done.rect);
        }
        break;
    }
    default: {
        DrawFrame(w, done.rect);
        const MacRect &a = done.rect, &b = done.start;
        if (a.top != b.top || a.left != b.left || a.bottom != b.bottom || a.right != b.right)
            DesignerSetSelectionRect(w, &done.rect);
        break;
    }
    }
    return true;
}
