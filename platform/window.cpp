// The window tree: class registry, creation and destruction, z-order,
// geometry, show/hide with minimised and maximised states, enable,
// activation, focus, capture, titles and extra words. Painting is in
// window_paint.cpp, the frame and caption in window_frame.cpp.
#include <algorithm>
#include <cassert>
#include <cstring>
#include <strings.h>

#include "platform/queue.h"
#include "platform/window.h"
#include "platform/window_internal.h"

WinSystem &WinSys()
{
    static WinSystem sys;
    return sys;
}

WinHooks &WinHooksRef()
{
    static WinHooks hooks;
    return hooks;
}

WinRec *WinGet(uint32_t win)
{
    if (win == 0) return nullptr;
    auto &map = WinSys().windows;
    auto it = map.find(win);
    return it == map.end() ? nullptr : it->second.get();
}

const WinClassRec *WinClassOf(const WinRec *w)
{
    if (!w || w->cls < 0) return nullptr;
    return &WinSys().classes[size_t(w->cls)];
}

int WinFindClassIndex(std::string_view name)
{
    const auto &classes = WinSys().classes;
    for (size_t i = 0; i < classes.size(); ++i) {
        const std::string &n = classes[i].name;
        if (n.size() == name.size() && strncasecmp(n.data(), name.data(), n.size()) == 0) return int(i);
    }
    return -1;
}

static bool AddClass(const PlWindowClass &cls, bool builtIn)
{
    if (cls.name.empty() || !cls.proc || cls.extraBytes < 0 || cls.extraBytes > 64) return false;
    if (WinFindClassIndex(cls.name) >= 0) return false;
    WinSys().classes.push_back(
        WinClassRec{std::string(cls.name), cls.proc, cls.icon, cls.background, cls.style, cls.extraBytes, builtIn});
    return true;
}

void WinEnsureBuiltInClasses()
{
    static bool done = false;
    if (done && WinFindClassIndex("MDIClient") >= 0) return;
    done = true;
    AddClass({"MDIClient", MdiClientProc, 0, kPlWorkspace, 0, 0}, true);
    AddClass({"Edit", EditProc, 0, kPlWhite, PlClassStyle::DblClks, 0}, true);
    AddClass({"ListBox", ListBoxProc, 0, kPlWhite, PlClassStyle::DblClks, 0}, true);
    AddClass({"ScrollBar", ScrollBarProc, 0, kPlLightGrey, 0, 0}, true);
    AddClass({"Button", ButtonProc, 0, kPlLightGrey, 0, 0}, true);
    AddClass({"PlDialog", DialogBoxProc, 0, kPlLightGrey, 0, 0}, true);
    AddClass({"PlMenuPopup", MenuPopupProc, 0, kPlLightGrey, 0, 0}, true);
}

bool WinRegisterClass(const PlWindowClass &cls)
{
    WinEnsureBuiltInClasses();
    return AddClass(cls, false);
}

bool WinClassExists(std::string_view name)
{
    WinEnsureBuiltInClasses();
    return WinFindClassIndex(name) >= 0;
}

// ---------------------------------------------------------------------------
// Geometry helpers.

WinNcMetrics WinNcMetricsOf(const WinRec *w)
{
    WinNcMetrics m{};
    if (!w) return m;
    // A top-level window's frame and caption belong to the display's window
    // manager; the layer draws only its menu bar.
    if (w->parent == 0) {
        if (w->menu != 0) m.menu = kWinMenuHeight;
    } else {
        if (w->style & PlStyle::ThickFrame) m.frame = 4;
        else if (w->style & PlStyle::DlgFrame) m.frame = 3;
        else if (w->style & PlStyle::Border) m.frame = 1;
        if (w->style & PlStyle::Caption) m.caption = kWinCaptionHeight;
    }
    m.vbar = w->vbar.shown ? kPlFrameBarWidth : 0;
    m.hbar = w->hbar.shown ? kPlFrameBarWidth : 0;
    m.left = m.frame;
    m.right = m.frame + m.vbar;
    m.bottom = m.frame + m.hbar;
    m.top = m.frame + m.caption + m.menu;
    return m;
}

PlSize WinOuterSizeFor(uint32_t style, bool hasMenu, int w, int h)
{
    WinRec probe;
    probe.style = style;
    probe.parent = (style & PlStyle::Child) ? 1 : 0;
    probe.menu = hasMenu ? 1 : 0;
    WinNcMetrics m = WinNcMetricsOf(&probe);
    return PlSize{w + m.left + m.right, h + m.top + m.bottom};
}

static PlRect ClientInParent(const WinRec *w)
{
    WinNcMetrics m = WinNcMetricsOf(w);
    PlRect r{w->rect.left + m.left, w->rect.top + m.top, w->rect.right - m.right, w->rect.bottom - m.bottom};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

// Screen position of the client origin of w.
static PlPoint ClientOriginScreen(const WinRec *w)
{
    PlPoint p{0, 0};
    for (const WinRec *cur = w; cur; cur = WinGet(cur->parent)) {
        PlRect c = ClientInParent(cur);
        p.x += c.left;
        p.y += c.top;
    }
    return p;
}

static const WinRec *TopLevelOf(const WinRec *w)
{
    while (w && w->parent) w = WinGet(w->parent);
    return w;
}

PlRect WinSurfaceRect(const WinRec *w)
{
    const WinRec *top = TopLevelOf(w);
    if (!top) return PlRect{0, 0, 0, 0};
    if (w == top) return PlRect{0, 0, PlRectWidth(w->rect), PlRectHeight(w->rect)};
    PlPoint po = ClientOriginScreen(WinGet(w->parent));
    PlRect r = PlRectOffset(w->rect, po.x - top->rect.left, po.y - top->rect.top);
    return r;
}

PlRect WinSurfaceClientRect(const WinRec *w)
{
    const WinRec *top = TopLevelOf(w);
    if (!top) return PlRect{0, 0, 0, 0};
    PlPoint o = ClientOriginScreen(w);
    PlRect c = WinClientRect(w->id);
    return PlRectOffset(c, o.x - top->rect.left, o.y - top->rect.top);
}

std::vector<PlRect> WinVisibleRects(const WinRec *w, bool clientOnly)
{
    std::vector<PlRect> list;
    if (!w || !WinIsVisible(w->id)) return list;
    const WinRec *top = TopLevelOf(w);
    PlRect r = clientOnly ? WinSurfaceClientRect(w) : WinSurfaceRect(w);
    r = PlRectIntersect(r, PlRect{0, 0, PlRectWidth(top->rect), PlRectHeight(top->rect)});
    for (const WinRec *p = WinGet(w->parent); p; p = WinGet(p->parent)) r = PlRectIntersect(r, WinSurfaceClientRect(p));
    if (PlRectEmpty(r)) return list;
    list.push_back(r);
    // Siblings above the window and above each of its ancestors.
    for (const WinRec *cur = w; cur->parent; cur = WinGet(cur->parent)) {
        const WinRec *parent = WinGet(cur->parent);
        for (uint32_t sib : parent->children) {
            if (sib == cur->id) break;
            const WinRec *s = WinGet(sib);
            if (s && s->visible) RectListSubtract(list, WinSurfaceRect(s));
        }
    }
    // Children show only inside the client area: a child that reaches past
    // it does not hide the window's frame or scroll bars.
    PlRect inside = WinSurfaceClientRect(w);
    for (uint32_t child : w->children) {
        const WinRec *c = WinGet(child);
        if (c && c->visible) RectListSubtract(list, PlRectIntersect(WinSurfaceRect(c), inside));
    }
    return list;
}

// ---------------------------------------------------------------------------
// Rectangle lists.

void RectListSubtract(std::vector<PlRect> &list, const PlRect &cut)
{
    if (PlRectEmpty(cut)) return;
    std::vector<PlRect> out;
    out.reserve(list.size() + 4);
    for (const PlRect &r : list) {
        PlRect i = PlRectIntersect(r, cut);
        if (PlRectEmpty(i)) {
            out.push_back(r);
            continue;
        }
        if (i.top > r.top) out.push_back(PlRect{r.left, r.top, r.right, i.top});
        if (i.bottom < r.bottom) out.push_back(PlRect{r.left, i.bottom, r.right, r.bottom});
        if (i.left > r.left) out.push_back(PlRect{r.left, i.top, i.left, i.bottom});
        if (i.right < r.right) out.push_back(PlRect{i.right, i.top, r.right, i.bottom});
    }
    list.swap(out);
}

void RectListAdd(std::vector<PlRect> &list, const PlRect &r)
{
    if (PlRectEmpty(r)) return;
    for (const PlRect &e : list)
        if (PlRectEqual(PlRectIntersect(e, r), r)) return;  // already covered
    // Keep the list short: many small rectangles collapse into their box.
    if (list.size() >= 16) {
        PlRect box = PlRectUnion(RectListBox(list), r);
        list.assign(1, box);
        return;
    }
    std::vector<PlRect> piece{r};
    for (const PlRect &e : list) RectListSubtract(piece, e);
    list.insert(list.end(), piece.begin(), piece.end());
}

PlRect RectListBox(const std::vector<PlRect> &list)
{
    PlRect box{0, 0, 0, 0};
    for (const PlRect &r : list) box = PlRectUnion(box, r);
    return box;
}

// ---------------------------------------------------------------------------
// Creation and destruction.

static std::vector<uint32_t> &SiblingList(WinRec *w)
{
    if (w->parent == 0) return WinSys().topLevels;
    return WinGet(w->parent)->children;
}

static void Unlink(WinRec *w)
{
    auto &list = SiblingList(w);
    list.erase(std::remove(list.begin(), list.end(), w->id), list.end());
}

// Tells the layer above that a child of `parent` changed its place or
// visibility (the MDI workspace fits its scroll bars to its children).
static void NotifyLayout(uint32_t parent)
{
    if (parent && WinGet(parent) && WinHooksRef().childLayout) WinHooksRef().childLayout(parent);
}

static void SendSizeAndMove(WinRec *w, uintptr_t kind)
{
    uint32_t id = w->id;
    PlRect c = WinClientRect(id);
    WinSend(id, PlMsg::Size, kind, PlMakeLong(PlRectWidth(c), PlRectHeight(c)));
    WinRec *again = WinGet(id);
    if (!again) return;
    PlRect cp = ClientInParent(again);
    WinSend(id, PlMsg::Move, 0, PlMakeLong(cp.left, cp.top));
}

uint32_t WinCreate(std::string_view className, std::string_view title, uint32_t style, const PlRect &rect,
                   uint32_t parent, int id, intptr_t param)
{
    WinEnsureBuiltInClasses();
    int cls = WinFindClassIndex(className);
    if (cls < 0) return 0;
    if (parent != 0 && !WinGet(parent)) return 0;
    WinSystem &sys = WinSys();
    auto rec = std::make_unique<WinRec>();
    uint32_t win = sys.nextId++;
    if (sys.nextId == 0) sys.nextId = 1;
    rec->id = win;
    rec->cls = cls;
    rec->parent = parent;
    rec->rect = rect;
    if (rect.right < rect.left) rec->rect.right = rect.left;
    if (rect.bottom < rect.top) rec->rect.bottom = rect.top;
    rec->restore = rec->rect;
    rec->style = style & ~(PlStyle::Visible | PlStyle::Maximize);
    if (parent) rec->style |= PlStyle::Child;
    else rec->style &= ~PlStyle::Child;
    rec->enabled = !(style & PlStyle::Disabled);
    rec->controlId = id;
    rec->title = std::string(title);
    rec->extra.assign(size_t(sys.classes[size_t(cls)].extraBytes), 0);
    rec->ncDirty = true;
    WinRec *w = rec.get();
    sys.windows.emplace(win, std::move(rec));
    SiblingList(w).insert(SiblingList(w).begin(), win);
    if (parent == 0) WinSurfaceResize(w);

    if (WinSend(win, PlMsg::Create, 0, param) == -1) {
        if (WinGet(win)) WinDestroy(win);
        return 0;
    }
    w = WinGet(win);
    if (!w) return 0;
    SendSizeAndMove(w, kPlSizeRestored);
    if (!WinGet(win)) return 0;
    if (style & PlStyle::Maximize) WinShow(win, PlShow::Maximized);
    else if (style & PlStyle::Visible) WinShow(win, PlShow::Show);
    return WinGet(win) ? win : 0;
}

// Sends destroy to w, then to each of its descendants (parents first).
static void SendDestroyTree(uint32_t win)
{
    WinSend(win, PlMsg::Destroy, 0, 0);
    WinRec *w = WinGet(win);
    if (!w) return;
    std::vector<uint32_t> kids = w->children;
    for (uint32_t k : kids) {
        WinRec *c = WinGet(k);
        if (!c || c->destroying) continue;
        c->destroying = true;
        SendDestroyTree(k);
    }
}

static void FreeTree(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (!w) return;
    std::vector<uint32_t> kids = w->children;
    for (uint32_t k : kids) FreeTree(k);
    w = WinGet(win);
    if (!w) return;
    Unlink(w);
    WinSurfaceFree(w);
    uint32_t menu = w->parent == 0 ? w->menu : 0;
    WinSys().windows.erase(win);
    if (menu && WinHooksRef().destroyMenu) WinHooksRef().destroyMenu(menu);
}

static uint32_t NextTopLevelToActivate(uint32_t except)
{
    for (uint32_t t : WinSys().topLevels) {
        WinRec *w = WinGet(t);
        if (t != except && w && w->visible && !w->destroying) return t;
    }
    return 0;
}

bool WinDestroy(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (!w) return false;
    if (w->destroying) return true;
    w->destroying = true;
    if (WinHooksRef().destroying) WinHooksRef().destroying(win);
    WinSystem &sys = WinSys();
    if (sys.capture == win || WinIsChildOf(sys.capture, win)) sys.capture = 0;
    // The focus leaves the window (the program puts it where it wants).
    if (sys.focus == win || WinIsChildOf(sys.focus, win)) WinSetFocus(0);
    if (sys.active == win) {
        uint32_t next = NextTopLevelToActivate(win);
        if (next) WinActivate(next);
        else {
            sys.active = 0;
            WinSend(win, PlMsg::Activate, 0, 0);
        }
    }
    w = WinGet(win);
    if (w && w->visible && w->parent) {
        w->visible = false;
        WinInvalidateArea(w->parent, w->rect);
    }
    uint32_t parent = w ? w->parent : 0;
    SendDestroyTree(win);
    FreeTree(win);
    if (WinSys().focus && !WinGet(WinSys().focus)) WinSys().focus = 0;
    NotifyLayout(parent);
    return true;
}

bool WinIsWindow(uint32_t win) { return WinGet(win) != nullptr; }

uint32_t WinParent(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w ? w->parent : 0;
}

uint32_t WinTopLevel(uint32_t win)
{
    const WinRec *t = TopLevelOf(WinGet(win));
    return t ? t->id : 0;
}

uint32_t WinFirstChild(uint32_t win)
{
    WinRec *w = WinGet(win);
    return (w && !w->children.empty()) ? w->children.front() : 0;
}

uint32_t WinNextSibling(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (!w) return 0;
    auto &list = SiblingList(w);
    auto it = std::find(list.begin(), list.end(), win);
    if (it == list.end() || ++it == list.end()) return 0;
    return *it;
}

int WinChildCount(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w ? int(w->children.size()) : 0;
}

uint32_t WinChildAt(uint32_t win, int index)
{
    WinRec *w = WinGet(win);
    if (!w || index < 0 || size_t(index) >= w->children.size()) return 0;
    return w->children[size_t(index)];
}

bool WinIsChildOf(uint32_t win, uint32_t ancestor)
{
    if (win == 0 || ancestor == 0) return false;
    for (WinRec *w = WinGet(WinParent(win)); w; w = WinGet(w->parent))
        if (w->id == ancestor) return true;
    return false;
}

void WinBringToTop(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (!w) return;
    auto &list = SiblingList(w);
    if (!list.empty() && list.front() == win) return;
    Unlink(w);
    SiblingList(w).insert(SiblingList(w).begin(), win);
    if (w->visible && w->parent) {
        w->ncDirty = true;
        WinInvalidateTree(win, true);
    }
}

uint32_t WinFindTopLevel(std::string_view className)
{
    int cls = WinFindClassIndex(className);
    if (cls < 0) return 0;
    for (uint32_t t : WinSys().topLevels) {
        WinRec *w = WinGet(t);
        if (w && w->cls == cls && !w->destroying) return t;
    }
    return 0;
}

std::string WinClassName(uint32_t win)
{
    const WinClassRec *c = WinClassOf(WinGet(win));
    return c ? c->name : std::string();
}

int WinClassIcon(uint32_t win)
{
    const WinClassRec *c = WinClassOf(WinGet(win));
    return c ? c->icon : 0;
}

int WinControlId(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w ? w->controlId : 0;
}

uint32_t WinStyle(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (!w) return 0;
    uint32_t s = w->style;
    if (w->visible) s |= PlStyle::Visible;
    if (!w->enabled) s |= PlStyle::Disabled;
    return s;
}

void WinSetStyle(uint32_t win, uint32_t style)
{
    WinRec *w = WinGet(win);
    if (!w) return;
    w->style = style & ~(PlStyle::Visible | PlStyle::Disabled | PlStyle::Maximize);
    if (w->parent) w->style |= PlStyle::Child;
    w->ncDirty = true;
}

// ---------------------------------------------------------------------------
// Geometry.

PlRect WinRect(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w ? w->rect : PlRect{0, 0, 0, 0};
}

PlRect WinScreenRect(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (!w) return PlRect{0, 0, 0, 0};
    if (!w->parent) return w->rect;
    PlPoint o = ClientOriginScreen(WinGet(w->parent));
    return PlRectOffset(w->rect, o.x, o.y);
}

PlRect WinClientRect(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (!w) return PlRect{0, 0, 0, 0};
    PlRect c = ClientInParent(w);
    return PlRect{0, 0, PlRectWidth(c), PlRectHeight(c)};
}

PlRect WinClientScreenRect(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (!w) return PlRect{0, 0, 0, 0};
    PlPoint o = ClientOriginScreen(w);
    return PlRectOffset(WinClientRect(win), o.x, o.y);
}

PlPoint WinClientToScreen(uint32_t win, PlPoint p)
{
    WinRec *w = WinGet(win);
    if (!w) return p;
    PlPoint o = ClientOriginScreen(w);
    return PlPoint{p.x + o.x, p.y + o.y};
}

PlPoint WinScreenToClient(uint32_t win, PlPoint p)
{
    WinRec *w = WinGet(win);
    if (!w) return p;
    PlPoint o = ClientOriginScreen(w);
    return PlPoint{p.x - o.x, p.y - o.y};
}

// Moves w to rect and tells it; `kind` goes with the size message.
static bool MoveInternal(uint32_t win, const PlRect &rectIn, uintptr_t kind, bool forceSize)
{
    WinRec *w = WinGet(win);
    if (!w) return false;
    PlRect rect = rectIn;
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    PlRect old = w->rect;
    bool sized = PlRectWidth(old) != PlRectWidth(rect) || PlRectHeight(old) != PlRectHeight(rect);
    bool moved = old.left != rect.left || old.top != rect.top;
    if (!sized && !moved && !forceSize) return true;
    if (w->visible && w->parent) WinInvalidateArea(w->parent, old);
    w->rect = rect;
    if (!w->parent && sized) WinSurfaceResize(w);
    if (w->visible) {
        w->ncDirty = true;
        WinInvalidateTree(win, true);
    }
    if (sized || forceSize) {
        PlRect c = WinClientRect(win);
        WinSend(win, PlMsg::Size, kind, PlMakeLong(PlRectWidth(c), PlRectHeight(c)));
    }
    w = WinGet(win);
    if (w && moved) {
        PlRect cp = ClientInParent(w);
        WinSend(win, PlMsg::Move, 0, PlMakeLong(cp.left, cp.top));
    }
    w = WinGet(win);
    if (w) NotifyLayout(w->parent);
    return true;
}

bool WinMove(uint32_t win, const PlRect &rect)
{
    WinRec *w = WinGet(win);
    if (!w) return false;
    uintptr_t kind = w->state == WinState::Maximized   ? kPlSizeMaximized
                     : w->state == WinState::Minimized ? kPlSizeMinimized
                                                       : kPlSizeRestored;
    if (w->state == WinState::Normal) w->restore = rect;
    return MoveInternal(win, rect, kind, false);
}

bool WinSetSize(uint32_t win, int width, int height)
{
    WinRec *w = WinGet(win);
    if (!w) return false;
    return WinMove(win, PlRect{w->rect.left, w->rect.top, w->rect.left + width, w->rect.top + height});
}

PlRect WinDesktopRect() { return WinSys().desktop; }

void WinSetDesktopSize(int width, int height)
{
    WinSys().desktop = PlRect{0, 0, std::max(1, width), std::max(1, height)};
}

// ---------------------------------------------------------------------------
// Show and state.

bool WinIsVisible(uint32_t win)
{
    for (WinRec *w = WinGet(win); w; w = WinGet(w->parent))
        if (!w->visible) return false;
    return win != 0 && WinGet(win) != nullptr;
}

bool WinIsIconic(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w && w->state == WinState::Minimized;
}

bool WinIsZoomed(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w && w->state == WinState::Maximized;
}

PlRect WinRestoreRect(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w ? w->restore : PlRect{0, 0, 0, 0};
}

void WinSetRestoreRect(uint32_t win, const PlRect &rect)
{
    WinRec *w = WinGet(win);
    if (w) w->restore = rect;
}

static void SetVisible(WinRec *w, bool on)
{
    if (w->visible == on) return;
    uint32_t win = w->id;
    if (!on) {
        WinSystem &sys = WinSys();
        if (sys.focus == win || WinIsChildOf(sys.focus, win)) WinSetFocus(w->parent);
        w = WinGet(win);
        if (!w) return;
        w->visible = false;
        if (w->parent) WinInvalidateArea(w->parent, w->rect);
        WinSend(win, PlMsg::ShowWindow, 0, 0);
        if (WinSys().active == win) {
            uint32_t next = NextTopLevelToActivate(win);
            if (next) WinActivate(next);
        }
    } else {
        w->visible = true;
        w->ncDirty = true;
        WinInvalidateTree(win, true);
        WinSend(win, PlMsg::ShowWindow, 1, 0);
    }
    w = WinGet(win);
    if (w) NotifyLayout(w->parent);
}

// The rectangle of a maximised window: its client area covers the parent's
// client area (top-level: the desktop), so the frame lies outside.
static PlRect MaximizedRect(const WinRec *w)
{
    PlRect area = w->parent ? WinClientRect(w->parent) : WinSys().desktop;
    if (!w->parent) return area;
    WinNcMetrics m = WinNcMetricsOf(w);
    return PlRect{area.left - m.left, area.top - m.top, area.right + m.right, area.bottom + m.bottom};
}

static PlRect MinimizedRect(const WinRec *w)
{
    WinNcMetrics m = WinNcMetricsOf(w);
    int h = m.frame * 2 + (m.caption ? m.caption : kWinCaptionHeight);
    PlRect area = w->parent ? WinClientRect(w->parent) : WinSys().desktop;
    // Place it in the first free slot along the bottom edge of the parent.
    int x = 0;
    for (;;) {
        PlRect cand{x, area.bottom - h, x + kWinMinimizedWidth, area.bottom};
        bool taken = false;
        if (w->parent) {
            for (uint32_t s : WinGet(w->parent)->children) {
                WinRec *o = WinGet(s);
                if (o && o != w && o->state == WinState::Minimized && o->rect.left == cand.left &&
                    o->rect.top == cand.top)
                    taken = true;
            }
        }
        if (!taken || x + 2 * kWinMinimizedWidth > area.right) return cand;
        x += kWinMinimizedWidth;
    }
}

static void SetState(WinRec *w, WinState state)
{
    uint32_t win = w->id;
    if (w->state == state) return;
    if (w->state == WinState::Normal) w->restore = w->rect;
    w->state = state;
    switch (state) {
    case WinState::Maximized:
        MoveInternal(win, MaximizedRect(w), kPlSizeMaximized, true);
        break;
    case WinState::Minimized:
        MoveInternal(win, MinimizedRect(w), kPlSizeMinimized, true);
        break;
    case WinState::Normal:
        MoveInternal(win, w->restore, kPlSizeRestored, true);
        break;
    }
}

bool WinShow(uint32_t win, PlShow how)
{
    WinRec *w = WinGet(win);
    if (!w) return false;
    bool was = w->visible;
    switch (how) {
    case PlShow::Hide:
        SetVisible(w, false);
        return was;
    case PlShow::Minimized:
        SetState(w, WinState::Minimized);
        break;
    case PlShow::Maximized:
        SetState(w, WinState::Maximized);
        break;
    case PlShow::Normal:
    case PlShow::Restore:
        SetState(w, WinState::Normal);
        break;
    case PlShow::Show:
    case PlShow::ShowNoActivate:
        break;
    }
    w = WinGet(win);
    if (!w) return was;
    SetVisible(w, true);
    w = WinGet(win);
    if (w && !w->parent && how != PlShow::ShowNoActivate && how != PlShow::Minimized) WinActivate(win);
    return was;
}

bool WinGetPlacement(uint32_t win, PlPlacement *out)
{
    WinRec *w = WinGet(win);
    if (!w || !out) return false;
    out->show = w->state == WinState::Maximized   ? PlShow::Maximized
                : w->state == WinState::Minimized ? PlShow::Minimized
                                                  : PlShow::Normal;
    out->normal = w->state == WinState::Normal ? w->rect : w->restore;
    return true;
}

bool WinSetPlacement(uint32_t win, const PlPlacement &p)
{
    WinRec *w = WinGet(win);
    if (!w || PlRectEmpty(p.normal)) return false;
    WinNcHit kind = p.show == PlShow::Normal      ? WinNcHit::Restore
                    : p.show == PlShow::Minimized ? WinNcHit::Minimize
                    : p.show == PlShow::Maximized ? WinNcHit::Maximize
                                                  : WinNcHit::None;
    if (kind == WinNcHit::None) return false;
    // Back to normal first, so that the rectangle is the one it shows in and
    // the one a later restore returns to.
    if (w->state != WinState::Normal) {
        if (!WinHooksRef().captionCommand || !WinHooksRef().captionCommand(win, WinNcHit::Restore))
            WinShow(win, PlShow::Restore);
    }
    if (!WinGet(win)) return false;
    WinMove(win, p.normal);
    if (!WinGet(win)) return false;
    if (kind != WinNcHit::Restore) {
        if (!WinHooksRef().captionCommand || !WinHooksRef().captionCommand(win, kind))
            WinShow(win, kind == WinNcHit::Minimize ? PlShow::Minimized : PlShow::Maximized);
    }
    return WinGet(win) != nullptr;
}

bool WinBringToFront(uint32_t win)
{
    uint32_t top = WinTopLevel(win);
    WinRec *t = WinGet(top);
    if (!t || t->destroying) return false;
    if (t->state == WinState::Minimized) WinShow(top, PlShow::Restore);
    else if (!t->visible) WinShow(top, PlShow::Show);
    if (!WinGet(top)) return false;
    WinActivate(top);
    if (WinGet(top) && WinHooksRef().raiseOnDisplay) WinHooksRef().raiseOnDisplay(top);
    return WinGet(top) != nullptr;
}

bool WinEnable(uint32_t win, bool on)
{
    WinRec *w = WinGet(win);
    if (!w) return false;
    bool was = w->enabled;
    if (was == on) return was;
    w->enabled = on;
    // A disabled window takes no input: it loses the mouse as well as the
    // keyboard, or every later mouse message would still go to it.
    if (!on && (WinSys().capture == win || WinIsChildOf(WinSys().capture, win))) WinSys().capture = 0;
    if (!on && (WinSys().focus == win || WinIsChildOf(WinSys().focus, win))) WinSetFocus(0);
    WinSend(win, PlMsg::Enable, on ? 1 : 0, 0);
    if (WinGet(win)) WinInvalidate(win, nullptr, true);
    return was;
}

bool WinIsEnabled(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w && w->enabled;
}

// ---------------------------------------------------------------------------
// Activation, focus and capture.

void WinActivate(uint32_t win)
{
    uint32_t top = WinTopLevel(win);
    WinSystem &sys = WinSys();
    if (top == 0 || top == sys.active) return;
    uint32_t old = sys.active;
    sys.active = top;
    WinRec *t = WinGet(top);
    Unlink(t);
    sys.topLevels.insert(sys.topLevels.begin(), top);
    if (WinGet(old)) WinSend(old, PlMsg::Activate, 0, intptr_t(top));
    if (!WinGet(top) || sys.active != top) return;
    WinSend(top, PlMsg::Activate, 1, intptr_t(old));
    if (WinGet(top) && sys.active == top && sys.focus != top && !WinIsChildOf(sys.focus, top)) WinSetFocus(top);
}

uint32_t WinActiveWindow() { return WinSys().active; }

uint32_t WinSetFocus(uint32_t win)
{
    WinSystem &sys = WinSys();
    if (win != 0 && (!WinGet(win) || WinGet(win)->destroying)) return 0;
    uint32_t old = sys.focus;
    if (win == old) return old;
    if (win != 0) {
        uint32_t top = WinTopLevel(win);
        if (top != sys.active) {
            // Activate without moving the focus to the top-level window itself.
            uint32_t prev = sys.active;
            sys.active = top;
            WinRec *t = WinGet(top);
            Unlink(t);
            sys.topLevels.insert(sys.topLevels.begin(), top);
            if (WinGet(prev)) WinSend(prev, PlMsg::Activate, 0, intptr_t(top));
            WinSend(top, PlMsg::Activate, 1, intptr_t(prev));
            if (sys.focus != old) return old;  // the activation moved the focus itself
        }
    }
    sys.focus = win;
    if (WinGet(old)) WinSend(old, PlMsg::KillFocus, win, 0);
    if (sys.focus == win && WinGet(win)) WinSend(win, PlMsg::SetFocus, old, 0);
    return old;
}

uint32_t WinFocus()
{
    uint32_t f = WinSys().focus;
    return WinGet(f) ? f : 0;
}

void WinSetCapture(uint32_t win) { WinSys().capture = WinGet(win) ? win : 0; }
void WinReleaseCapture() { WinSys().capture = 0; }
uint32_t WinCapture()
{
    uint32_t c = WinSys().capture;
    return WinGet(c) ? c : 0;
}

// ---------------------------------------------------------------------------
// Titles, extra words, fonts, menus.

bool WinSetTitle(uint32_t win, std::string_view text)
{
    WinRec *w = WinGet(win);
    if (!w) return false;
    w->title = std::string(text);
    w->ncDirty = true;
    return true;
}

std::string WinTitle(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w ? w->title : std::string();
}

uint32_t WinGetExtra(uint32_t win, int offset)
{
    WinRec *w = WinGet(win);
    if (!w || offset < 0 || size_t(offset) + 4 > w->extra.size()) return 0;
    uint32_t v;
    std::memcpy(&v, w->extra.data() + offset, 4);
    return v;
}

bool WinSetExtra(uint32_t win, int offset, uint32_t value)
{
    WinRec *w = WinGet(win);
    if (!w || offset < 0 || size_t(offset) + 4 > w->extra.size()) return false;
    std::memcpy(w->extra.data() + offset, &value, 4);
    return true;
}

PlFont *WinFont(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w ? w->font : nullptr;
}

void WinSetFontRaw(uint32_t win, PlFont *font)
{
    WinRec *w = WinGet(win);
    if (w) w->font = font;
}

uint32_t WinMenu(uint32_t win)
{
    WinRec *w = WinGet(win);
    return w ? w->menu : 0;
}

bool WinSetMenu(uint32_t win, uint32_t menu)
{
    WinRec *w = WinGet(win);
    if (!w || w->parent) return false;
    bool changed = (w->menu != 0) != (menu != 0);
    w->menu = menu;
    w->ncDirty = true;
    if (changed) {
        // The client area changed size.
        PlRect c = WinClientRect(win);
        WinInvalidateTree(win, true);
        WinSend(win, PlMsg::Size, kPlSizeRestored, PlMakeLong(PlRectWidth(c), PlRectHeight(c)));
    }
    return true;
}

// ---------------------------------------------------------------------------
// Messages.

intptr_t WinSend(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    WinRec *w = WinGet(win);
    const WinClassRec *c = WinClassOf(w);
    if (!c) return 0;
    return c->proc(win, msg, wParam, lParam);
}

intptr_t WinDefProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    WinRec *w = WinGet(win);
    if (!w) return 0;
    switch (msg) {
    case PlMsg::Close:
        WinDestroy(win);
        return 0;
    case PlMsg::EraseBkgnd: {
        const WinClassRec *c = WinClassOf(w);
        auto *dc = reinterpret_cast<DrawContext *>(wParam);
        if (!dc || !c || c->background == kPlNoBackground) return 0;
        DcFillRect(dc, WinClientRect(win), PlSolidBrush(c->background));
        return 1;
    }
    case PlMsg::Paint: {
        PlPaint ps;
        if (WinBeginPaint(win, &ps)) WinEndPaint(win, &ps);
        return 0;
    }
    case PlMsg::SetText: {
        const char *text = reinterpret_cast<const char *>(lParam);
        WinSetTitle(win, text ? std::string_view(text) : std::string_view());
        return 1;
    }
    case PlMsg::GetText: {
        char *buf = reinterpret_cast<char *>(lParam);
        if (!buf || wParam == 0) return 0;
        size_t n = std::min(size_t(wParam) - 1, w->title.size());
        std::memcpy(buf, w->title.data(), n);
        buf[n] = 0;
        return intptr_t(n);
    }
    case PlMsg::GetTextLength:
        return intptr_t(w->title.size());
    case PlMsg::SetFont:
        w->font = reinterpret_cast<PlFont *>(wParam);
        if (lParam) WinInvalidate(win, nullptr, true);
        return 0;
    case PlMsg::GetFont:
        return reinterpret_cast<intptr_t>(w->font);
    case PlMsg::SetRedraw:
        w->redrawOff = wParam == 0;
        if (wParam) WinInvalidate(win, nullptr, true);
        return 0;
    case PlMsg::QueryEndSession:
        return 1;
    case PlMsg::MouseWheel:
        return MsgWheelDefault(win, wParam, lParam);
    case PlMsg::SysKeyDown:
    case PlMsg::SysKeyUp: {
        // Alt alone (key-up of Alt with lParam 1), F10 and Alt+letter work the
        // menu bar of the top-level window.
        bool enter = (msg == PlMsg::SysKeyUp && wParam == 18 && lParam == 1) ||
                     (msg == PlMsg::SysKeyDown && wParam != 18);
        if (enter && WinHooksRef().menuKey) WinHooksRef().menuKey(WinTopLevel(win), uint32_t(wParam), 0);
        return 0;
    }
    default:
        return 0;
    }
}

void WinResetAll()
{
    WinSystem &sys = WinSys();
    std::vector<uint32_t> tops = sys.topLevels;
    for (uint32_t t : tops) WinDestroy(t);
    sys.windows.clear();
    sys.topLevels.clear();
    sys.active = sys.focus = sys.capture = 0;
    std::vector<WinClassRec> keep;
    for (auto &c : sys.classes)
        if (c.builtIn) keep.push_back(c);
    sys.classes.swap(keep);
    sys.desktop = PlRect{0, 0, 1024, 768};
    MsgClear();
    MsgSetModal(0);
}
