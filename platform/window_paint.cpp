// Painting of windows: the per-top-level RGB24 surfaces, invalid regions,
// paint begin/end, immediate drawing contexts clipped to what is visible,
// scrolling of a rectangle, pixel read-back and PNG export.
#include <algorithm>

#include "platform/queue.h"
#include "platform/window.h"
#include "platform/window_internal.h"

void WinMarkSurfaceChanged(WinRec *w)
{
    while (w && w->parent) w = WinGet(w->parent);
    if (w) w->surfaceChanged = true;
}

void WinSurfaceResize(WinRec *w)
{
    int width = std::max(1, PlRectWidth(w->rect));
    int height = std::max(1, PlRectHeight(w->rect));
    if (w->surface && cairo_image_surface_get_width(w->surface) == width &&
        cairo_image_surface_get_height(w->surface) == height)
        return;
    cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t *cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    if (w->surface) {
        cairo_set_source_surface(cr, w->surface, 0, 0);
        cairo_paint(cr);
        cairo_surface_destroy(w->surface);
    }
    cairo_destroy(cr);
    cairo_surface_flush(s);
    w->surface = s;
    w->surfaceChanged = true;
}

void WinSurfaceFree(WinRec *w)
{
    if (w->surface) cairo_surface_destroy(w->surface);
    w->surface = nullptr;
}

cairo_surface_t *WinSurface(uint32_t topLevel)
{
    WinRec *w = WinGet(topLevel);
    return (w && !w->parent) ? w->surface : nullptr;
}

bool WinTakeSurfaceChanged(uint32_t topLevel)
{
    WinRec *w = WinGet(topLevel);
    if (!w) return false;
    bool c = w->surfaceChanged;
    w->surfaceChanged = false;
    return c;
}

static cairo_surface_t *SurfaceOf(const WinRec *w)
{
    while (w && w->parent) w = WinGet(w->parent);
    return w ? w->surface : nullptr;
}

// ---------------------------------------------------------------------------
// Invalidation.

void WinInvalidate(uint32_t win, const PlRect *rect, bool erase)
{
    WinRec *w = WinGet(win);
    if (!w) return;
    PlRect c = WinClientRect(win);
    PlRect r = rect ? PlRectIntersect(*rect, c) : c;
    if (PlRectEmpty(r)) return;
    RectListAdd(w->invalid, r);
    if (erase) w->eraseNeeded = true;
}

void WinInvalidateTree(uint32_t win, bool erase)
{
    WinRec *w = WinGet(win);
    if (!w) return;
    w->ncDirty = true;
    WinInvalidate(win, nullptr, erase);
    for (uint32_t c : w->children) WinInvalidateTree(c, erase);
}

void WinInvalidateArea(uint32_t parent, const PlRect &rect)
{
    WinRec *p = WinGet(parent);
    if (!p || PlRectEmpty(rect)) return;
    PlRect c = WinClientRect(parent);
    WinInvalidate(parent, &rect, true);
    if (!PlRectEqual(PlRectIntersect(rect, c), rect)) p->ncDirty = true;
    for (uint32_t child : p->children) {
        WinRec *cw = WinGet(child);
        if (!cw || !cw->visible) continue;
        PlRect i = PlRectIntersect(rect, cw->rect);
        if (PlRectEmpty(i)) continue;
        cw->ncDirty = true;
        WinNcMetrics m = WinNcMetricsOf(cw);
        WinInvalidateArea(child, PlRectOffset(i, -(cw->rect.left + m.left), -(cw->rect.top + m.top)));
    }
}

void WinValidate(uint32_t win, const PlRect *rect)
{
    WinRec *w = WinGet(win);
    if (!w) return;
    if (!rect) {
        w->invalid.clear();
        w->eraseNeeded = false;
        return;
    }
    RectListSubtract(w->invalid, *rect);
    if (w->invalid.empty()) w->eraseNeeded = false;
}

bool WinHasInvalid(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w && !w->invalid.empty();
}

PlRect WinInvalidBox(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w ? RectListBox(w->invalid) : PlRect{0, 0, 0, 0};
}

// Pre-order walk: paints pending non-client parts on the way and returns the
// first visible window with an invalid client region.
static uint32_t FindPaintIn(WinRec *w)
{
    if (!w->visible) return 0;
    if (w->ncDirty) WinPaintNonClient(w);
    if (!w->invalid.empty() && !w->redrawOff) return w->id;
    std::vector<uint32_t> kids = w->children;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        WinRec *c = WinGet(*it);
        if (!c) continue;
        uint32_t found = FindPaintIn(c);
        if (found) return found;
    }
    return 0;
}

uint32_t WinFindPaintTarget()
{
    std::vector<uint32_t> tops = WinSys().topLevels;
    for (uint32_t t : tops) {
        WinRec *w = WinGet(t);
        if (!w) continue;
        uint32_t found = FindPaintIn(w);
        if (found) return found;
    }
    return 0;
}

void WinUpdate(uint32_t win)
{
    // Bounded: a procedure that never validates must not hang the caller.
    for (int guard = 0; guard < 10000; ++guard) {
        WinRec *w = WinGet(win);
        if (!w) return;
        uint32_t target = FindPaintIn(w);
        if (!target) return;
        WinSend(target, PlMsg::Paint, 0, 0);
        WinRec *t = WinGet(target);
        if (t && !t->invalid.empty()) WinValidate(target, nullptr);
    }
}

// ---------------------------------------------------------------------------
// Drawing contexts.

// A context on `surface` with the origin at `origin` and clipped to `clips`;
// an empty clip list still clips everything away.
static DrawContext *MakeDc(cairo_surface_t *surface, PlPoint origin, const std::vector<PlRect> &clips)
{
    if (!surface) return nullptr;
    static const PlRect kNothing{0, 0, 0, 0};
    if (clips.empty()) return DcCreate(surface, origin.x, origin.y, &kNothing, 1);
    return DcCreate(surface, origin.x, origin.y, clips.data(), int(clips.size()));
}

bool WinBeginPaint(uint32_t win, PlPaint *ps)
{
    WinRec *w = WinGet(win);
    if (!w || !ps) return false;
    PlRect cs = WinSurfaceClientRect(w);
    std::vector<PlRect> vis = WinVisibleRects(w, true);
    std::vector<PlRect> clips;
    for (const PlRect &inv : w->invalid) {
        PlRect s = PlRectOffset(inv, cs.left, cs.top);
        for (const PlRect &v : vis) {
            PlRect i = PlRectIntersect(s, v);
            if (!PlRectEmpty(i)) clips.push_back(i);
        }
    }
    ps->box = RectListBox(w->invalid);
    bool erase = w->eraseNeeded;
    w->invalid.clear();
    w->eraseNeeded = false;
    ps->dc = MakeDc(SurfaceOf(w), PlPoint{cs.left, cs.top}, clips);
    ps->erased = false;
    if (!ps->dc) return false;
    if (erase) ps->erased = WinSend(win, PlMsg::EraseBkgnd, reinterpret_cast<uintptr_t>(ps->dc), 0) != 0;
    return true;
}

void WinEndPaint(uint32_t win, PlPaint *ps)
{
    if (ps && ps->dc) DcDestroy(ps->dc);
    if (ps) ps->dc = nullptr;
    WinMarkSurfaceChanged(WinGet(win));
}

DrawContext *WinGetDc(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (!w) return nullptr;
    PlRect cs = WinSurfaceClientRect(w);
    return MakeDc(SurfaceOf(w), PlPoint{cs.left, cs.top}, WinVisibleRects(w, true));
}

DrawContext *WinGetWindowDc(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (!w) return nullptr;
    PlRect ws = WinSurfaceRect(w);
    return MakeDc(SurfaceOf(w), PlPoint{ws.left, ws.top}, WinVisibleRects(w, false));
}

void WinReleaseDc(uint32_t win, DrawContext *dc)
{
    if (dc) DcDestroy(dc);
    WinMarkSurfaceChanged(WinGet(win));
}

void WinScrollRect(uint32_t win, const PlRect *rect, int dx, int dy)
{
    WinRec *w = WinGet(win);
    if (!w) return;
    PlRect client = WinClientRect(win);
    PlRect r = rect ? PlRectIntersect(*rect, client) : client;
    if (PlRectEmpty(r) || (dx == 0 && dy == 0)) return;
    // The invalid parts inside r move with the pixels.
    std::vector<PlRect> moved;
    for (const PlRect &inv : w->invalid) {
        PlRect i = PlRectIntersect(inv, r);
        if (!PlRectEmpty(i)) moved.push_back(PlRectIntersect(PlRectOffset(i, dx, dy), r));
    }
    for (const PlRect &m : moved) WinInvalidate(win, &m, w->eraseNeeded);
    // Pixels can be moved only when all of r is visible; otherwise repaint r.
    PlRect cs = WinSurfaceClientRect(w);
    PlRect rs = PlRectOffset(r, cs.left, cs.top);
    std::vector<PlRect> hidden{rs};
    for (const PlRect &v : WinVisibleRects(w, true)) RectListSubtract(hidden, v);
    cairo_surface_t *surface = SurfaceOf(w);
    PlRect exposed{0, 0, 0, 0};
    if (!hidden.empty() || !surface || std::abs(dx) >= PlRectWidth(r) || std::abs(dy) >= PlRectHeight(r)) {
        WinInvalidate(win, &r, true);
        return;
    }
    cairo_surface_flush(surface);
    if (!PlSurfaceScroll(surface, rs, dx, dy, &exposed)) {
        WinInvalidate(win, &r, true);
        return;
    }
    cairo_surface_mark_dirty(surface);
    PlRect ex = PlRectOffset(exposed, -cs.left, -cs.top);
    WinInvalidate(win, &ex, true);
    WinMarkSurfaceChanged(w);
}

uint32_t WinClientPixel(uint32_t win, int x, int y)
{
    WinRec *w = WinGet(win);
    if (!w) return 0;
    if (!PlRectContains(WinClientRect(win), PlPoint{x, y})) return 0;
    PlRect cs = WinSurfaceClientRect(w);
    cairo_surface_t *s = SurfaceOf(w);
    if (!s) return 0;
    cairo_surface_flush(s);
    return PlSurfacePixel(s, cs.left + x, cs.top + y);
}

bool WinSavePng(uint32_t win, const std::string &path)
{
    WinRec *w = WinGet(win);
    cairo_surface_t *s = SurfaceOf(w);
    if (!w || !s) return false;
    PlRect r = WinSurfaceRect(w);
    int width = std::max(1, PlRectWidth(r));
    int height = std::max(1, PlRectHeight(r));
    cairo_surface_flush(s);
    cairo_surface_t *out = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t *cr = cairo_create(out);
    cairo_set_source_surface(cr, s, -r.left, -r.top);
    cairo_paint(cr);
    cairo_destroy(cr);
    bool ok = cairo_surface_write_to_png(out, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(out);
    return ok;
}
