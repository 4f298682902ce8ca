// The MDI client and its children: creation, activation, destruction with
// the choice of the next active child, maximise/minimise/restore, cascade,
// tile and icon arrangement, and the default frame and child procedures.
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "platform/mdi.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "platform/window_internal.h"

static void PassActivationOn(uint32_t client, uint32_t child);

namespace {
struct ClientState {
    uint32_t active = 0;
    bool maximized = false;
    int firstChildId = 1;
    int created = 0;
    uint32_t nextActivated = 0;
};

std::unordered_map<uint32_t, ClientState> &States()
{
    static std::unordered_map<uint32_t, ClientState> states;
    return states;
}

ClientState *StateOf(uint32_t client)
{
    auto it = States().find(client);
    return it == States().end() ? nullptr : &it->second;
}

bool IsClient(uint32_t win) { return WinIsWindow(win) && WinClassName(win) == "MDIClient"; }

uint32_t ClientOfChild(uint32_t child)
{
    uint32_t p = WinParent(child);
    return IsClient(p) ? p : 0;
}

// Maximised mode began or ended: the workspace's bars go or come back, and
// the menu bar shows or drops the child's buttons.
void NotifyMax(uint32_t client)
{
    MdiFitScrollBars(client);
    ClientState *s = StateOf(client);
    if (!s || !WinHooksRef().mdiMaxChanged) return;
    WinHooksRef().mdiMaxChanged(WinTopLevel(client), s->maximized ? s->active : 0);
}

void SetCaption(uint32_t child, bool on) { WinSetCaptionActive(child, on); }

// The children that take part in arranging, topmost first.
std::vector<uint32_t> Children(uint32_t client, bool skipDisabled)
{
    std::vector<uint32_t> out;
    for (int i = 0; uint32_t c = WinChildAt(client, i); ++i) {
        if (!WinGet(c)->visible) continue;
        if (skipDisabled && !WinIsEnabled(c)) continue;
        out.push_back(c);
    }
    return out;
}

// Leaves maximised mode before an arrangement.
void LeaveMaximized(uint32_t client)
{
    ClientState *s = StateOf(client);
    if (s && s->maximized && WinIsWindow(s->active)) MdiRestore(s->active);
}

// The client area above the row of minimised children.
PlRect ArrangeArea(uint32_t client)
{
    PlRect area = WinClientRect(client);
    for (int i = 0; uint32_t c = WinChildAt(client, i); ++i)
        if (WinIsIconic(c) && WinGet(c)->visible) {
            area.bottom -= kWinCaptionHeight + 8;
            break;
        }
    if (area.bottom < area.top + 40) area.bottom = area.top + 40;
    return area;
}

void MouseActivate(uint32_t win)
{
    for (uint32_t w = win; w; w = WinParent(w)) {
        uint32_t client = ClientOfChild(w);
        if (client) {
            ClientState *s = StateOf(client);
            if (s && s->active != w) MdiActivate(client, w);
            return;
        }
    }
}

bool CaptionCommand(uint32_t win, WinNcHit hit)
{
    if (!ClientOfChild(win)) return false;
    if (hit == WinNcHit::Minimize) MdiMinimize(win);
    else if (hit == WinNcHit::Maximize) MdiMaximize(win);
    else MdiRestore(win);
    return true;
}

// A child destroyed without the MDI destroy message.
void ChildDestroying(uint32_t win)
{
    uint32_t client = ClientOfChild(win);
    ClientState *s = StateOf(client);
    if (s && s->active == win) PassActivationOn(client, win);
}

void ChildLayout(uint32_t parent)
{
    if (IsClient(parent)) MdiFitScrollBars(parent);
}

void InstallHooks()
{
    WinHooksRef().childLayout = ChildLayout;
    WinHooksRef().destroying = ChildDestroying;
    WinHooksRef().mouseActivate = MouseActivate;
    WinHooksRef().captionCommand = CaptionCommand;
}
}  // namespace

uint32_t MdiCreateClient(uint32_t frame, const PlRect &rect, uint32_t style, int id, int firstChildId)
{
    InstallHooks();
    return WinCreate("MDIClient", "", style | PlStyle::Child | PlStyle::Visible, rect, frame, id, firstChildId);
}

uint32_t MdiClientOf(uint32_t frame)
{
    for (int i = 0; uint32_t c = WinChildAt(frame, i); ++i)
        if (IsClient(c)) return c;
    return 0;
}

bool MdiIsChild(uint32_t win) { return ClientOfChild(win) != 0; }

uint32_t MdiCreateChild(uint32_t client, const PlMdiCreate &create)
{
    ClientState *s = StateOf(client);
    if (!s) return 0;
    bool maximize = s->maximized && WinIsWindow(s->active);
    int id = s->firstChildId + s->created;
    uint32_t style = (create.style | PlStyle::Child) & ~(PlStyle::Visible | PlStyle::Maximize);
    uint32_t child = WinCreate(create.className, create.title, style, create.rect, client, id, create.param);
    if (!child) return 0;
    s = StateOf(client);
    if (!s) return child;
    s->created++;
    WinShow(child, PlShow::Show);
    if (maximize || (create.style & PlStyle::Maximize)) {
        MdiActivate(client, child);
        MdiMaximize(child);
    } else {
        MdiActivate(client, child);
    }
    return WinIsWindow(child) ? child : 0;
}

void MdiActivate(uint32_t client, uint32_t child)
{
    ClientState *s = StateOf(client);
    if (!s || (child && ClientOfChild(child) != client)) return;
    uint32_t old = s->active;
    if (old == child) {
        if (child && WinFocus() != child && !WinIsChildOf(WinFocus(), child)) WinSetFocus(child);
        return;
    }
    bool wasMax = s->maximized && WinIsWindow(old);
    s->active = child;
    if (WinIsWindow(old)) SetCaption(old, false);
    if (child) {
        SetCaption(child, true);
        WinBringToTop(child);
    }
    // In maximised mode the new child takes over the maximised state.
    if (wasMax && child) {
        WinShow(child, PlShow::Maximized);
        WinShow(old, PlShow::Restore);
        WinBringToTop(child);
    } else if (wasMax) {
        s->maximized = false;
    }
    if (WinIsWindow(old)) WinSend(old, PlMsg::MdiActivate, old, intptr_t(child));
    s = StateOf(client);
    if (!s || s->active != child) return;
    if (child) {
        WinSend(child, PlMsg::MdiActivate, old, intptr_t(child));
        s = StateOf(client);
        if (s && s->active == child && WinIsWindow(child) && !WinIsChildOf(WinFocus(), child)) WinSetFocus(child);
    }
    if (wasMax) NotifyMax(client);
}

uint32_t MdiGetActive(uint32_t client, bool *maximized)
{
    ClientState *s = StateOf(client);
    uint32_t a = s && WinIsWindow(s->active) ? s->active : 0;
    if (maximized) *maximized = a && s->maximized;
    return a;
}

uint32_t MdiNextActivated(uint32_t client)
{
    ClientState *s = StateOf(client);
    return s ? s->nextActivated : 0;
}

void MdiNext(uint32_t client)
{
    ClientState *s = StateOf(client);
    if (!s) return;
    std::vector<uint32_t> kids = Children(client, false);
    if (kids.size() < 2) return;
    // The topmost is the active one; the bottom one comes up next.
    MdiActivate(client, kids.back());
}

bool MdiTranslateAccel(uint32_t client, const PlMessage &m)
{
    constexpr uint32_t kF4 = PlKey::F1 + 3, kF6 = PlKey::F1 + 5;
    if (m.msg != PlMsg::KeyDown || (m.wParam != kF4 && m.wParam != kF6)) return false;
    if (!StateOf(client) || (m.win != client && !WinIsChildOf(m.win, client))) return false;
    // Only Ctrl: with Alt the keys belong to the menus, with Shift to the program.
    if (PlKeyState(PlKey::Control) >= 0 || PlKeyState(PlKey::Menu) < 0 || PlKeyState(PlKey::Shift) < 0) return false;
    uint32_t active = MdiGetActive(client, nullptr);
    if (!active || !WinIsEnabled(active)) return false;
    if (m.wParam == kF4) WinSend(active, PlMsg::Close, 0, 0);
    else MdiNext(client);
    return true;
}

// Passes the activation from `child`, about to be destroyed, to the next
// child (or to none); remembers which one that was.
static void PassActivationOn(uint32_t client, uint32_t child)
{
    ClientState *s = StateOf(client);
    if (!s) return;
    s->nextActivated = 0;
    if (s->active == child) {
        uint32_t next = 0;
        for (uint32_t c : Children(client, false)) {
            WinRec *cw = WinGet(c);
            if (c != child && cw && !cw->destroying) {
                next = c;
                break;
            }
        }
        bool wasMax = s->maximized;
        if (next) {
            MdiActivate(client, next);
        } else {
            s->active = 0;
            s->maximized = false;
            WinSend(child, PlMsg::MdiActivate, child, 0);
            if (wasMax) NotifyMax(client);
        }
        s = StateOf(client);
        if (s) s->nextActivated = next;
    }
}

bool MdiDestroyChild(uint32_t client, uint32_t child)
{
    if (!StateOf(client) || ClientOfChild(child) != client) return false;
    PassActivationOn(client, child);
    WinDestroy(child);
    ClientState *s = StateOf(client);
    if (s && s->active == child) s->active = 0;
    return true;
}

void MdiMaximize(uint32_t child)
{
    uint32_t client = ClientOfChild(child);
    ClientState *s = StateOf(client);
    if (!s) return;
    if (s->active != child) MdiActivate(client, child);
    s = StateOf(client);
    if (!s) return;
    // Another maximised child returns to its normal size first.
    for (int i = 0; uint32_t c = WinChildAt(client, i); ++i)
        if (c != child && WinIsZoomed(c)) WinShow(c, PlShow::Restore);
    WinShow(child, PlShow::ShowNoActivate);
    WinShow(child, PlShow::Maximized);
    s->maximized = true;
    WinInvalidateTree(client, true);
    NotifyMax(client);
}

void MdiRestore(uint32_t child)
{
    uint32_t client = ClientOfChild(child);
    ClientState *s = StateOf(client);
    if (!s) return;
    bool wasMax = WinIsZoomed(child);
    WinShow(child, PlShow::Restore);
    if (wasMax && s->active == child) {
        s->maximized = false;
        NotifyMax(client);
    }
    if (s->active != child) MdiActivate(client, child);
}

void MdiMinimize(uint32_t child)
{
    uint32_t client = ClientOfChild(child);
    ClientState *s = StateOf(client);
    if (!s) return;
    bool wasMax = WinIsZoomed(child);
    WinShow(child, PlShow::Minimized);
    if (wasMax && s->active == child) {
        s->maximized = false;
        NotifyMax(client);
    }
}

void MdiCascade(uint32_t client, uintptr_t flags)
{
    if (!StateOf(client)) return;
    LeaveMaximized(client);
    PlRect area = ArrangeArea(client);
    std::vector<uint32_t> kids;
    for (uint32_t c : Children(client, (flags & kPlTileSkipDisabled) != 0))
        if (!WinIsIconic(c)) kids.push_back(c);
    if (kids.empty()) return;
    const int step = kWinCaptionHeight + 4;
    int w = std::max(120, PlRectWidth(area) * 3 / 4);
    int h = std::max(80, PlRectHeight(area) * 3 / 4);
    int fit = std::max(1, std::min((PlRectWidth(area) - w) / step, (PlRectHeight(area) - h) / step) + 1);
    // The bottom window goes to the top-left; the active one ends up last.
    int i = 0;
    for (auto it = kids.rbegin(); it != kids.rend(); ++it, ++i) {
        int k = i % fit;
        WinMove(*it, PlRect{area.left + k * step, area.top + k * step, area.left + k * step + w, area.top + k * step + h});
    }
}

void MdiTile(uint32_t client, uintptr_t how)
{
    if (!StateOf(client)) return;
    LeaveMaximized(client);
    PlRect area = ArrangeArea(client);
    std::vector<uint32_t> kids;
    for (uint32_t c : Children(client, (how & kPlTileSkipDisabled) != 0))
        if (!WinIsIconic(c)) kids.push_back(c);
    int n = int(kids.size());
    if (n == 0) return;
    bool horizontal = (how & kPlTileHorizontal) != 0;
    // Up to three windows in one strip; more make a grid.
    int strips = n <= 3 ? 1 : int(std::ceil(std::sqrt(double(n))));
    int perStrip = (n + strips - 1) / strips;
    int idx = 0;
    for (int s = 0; s < strips && idx < n; ++s) {
        int count = std::min(perStrip, n - idx);
        if (s == strips - 1) count = n - idx;
        for (int k = 0; k < count; ++k, ++idx) {
            PlRect r;
            if (horizontal) {
                // Rows one above the other; strips are columns.
                int x0 = area.left + PlRectWidth(area) * s / strips, x1 = area.left + PlRectWidth(area) * (s + 1) / strips;
                int y0 = area.top + PlRectHeight(area) * k / count, y1 = area.top + PlRectHeight(area) * (k + 1) / count;
                r = PlRect{x0, y0, x1, y1};
            } else {
                int y0 = area.top + PlRectHeight(area) * s / strips, y1 = area.top + PlRectHeight(area) * (s + 1) / strips;
                int x0 = area.left + PlRectWidth(area) * k / count, x1 = area.left + PlRectWidth(area) * (k + 1) / count;
                r = PlRect{x0, y0, x1, y1};
            }
            WinMove(kids[size_t(idx)], r);
        }
    }
}

void MdiArrangeIcons(uint32_t client)
{
    if (!StateOf(client)) return;
    PlRect area = WinClientRect(client);
    int h = kWinCaptionHeight + 8;
    int x = area.left, y = area.bottom - h;
    std::vector<uint32_t> kids = Children(client, false);
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        if (!WinIsIconic(*it)) continue;
        if (x + kWinMinimizedWidth > area.right && x > area.left) {
            x = area.left;
            y -= h;
        }
        WinMove(*it, PlRect{x, y, x + kWinMinimizedWidth, y + h});
        x += kWinMinimizedWidth;
    }
}

intptr_t MdiClientProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case PlMsg::Create: {
        ClientState s;
        s.firstChildId = lParam > 0 ? int(lParam) : 1;
        States()[win] = s;
        InstallHooks();
        return 0;
    }
    case PlMsg::Destroy:
        States().erase(win);
        return 0;
    case PlMsg::Size: {
        ClientState *s = StateOf(win);
        if (s && s->maximized && WinIsWindow(s->active)) {
            WinRec *c = WinGet(s->active);
            WinNcMetrics m = WinNcMetricsOf(c);
            PlRect area = WinClientRect(win);
            WinMove(s->active,
                    PlRect{area.left - m.left, area.top - m.top, area.right + m.right, area.bottom + m.bottom});
        }
        if (WinIsWindow(win)) MdiFitScrollBars(win);
        return 0;
    }
    case PlMsg::HScroll:
    case PlMsg::VScroll:
        MdiScrollMessage(win, msg == PlMsg::VScroll, wParam);
        return 0;
    case PlMsg::MdiCreate: {
        const auto *cs = reinterpret_cast<const PlMdiCreate *>(lParam);
        return cs ? intptr_t(MdiCreateChild(win, *cs)) : 0;
    }
    case PlMsg::MdiDestroy:
        MdiDestroyChild(win, uint32_t(wParam));
        return 0;
    case PlMsg::MdiActivate:
        MdiActivate(win, uint32_t(wParam));
        return 0;
    case PlMsg::MdiRestore:
        MdiRestore(uint32_t(wParam));
        return 0;
    case PlMsg::MdiMaximize:
        MdiMaximize(uint32_t(wParam));
        return 0;
    case PlMsg::MdiNext:
        MdiNext(win);
        return 0;
    case PlMsg::MdiTile:
        MdiTile(win, wParam);
        return 1;
    case PlMsg::MdiCascade:
        MdiCascade(win, wParam);
        return 1;
    case PlMsg::MdiIconArrange:
        MdiArrangeIcons(win);
        return 0;
    case PlMsg::MdiGetActive: {
        bool maxed = false;
        uint32_t a = MdiGetActive(win, &maxed);
        if (lParam) *reinterpret_cast<bool *>(lParam) = maxed;
        return intptr_t(a);
    }
    case PlMsg::SetFocus: {
        ClientState *s = StateOf(win);
        if (s && WinIsWindow(s->active)) WinSetFocus(s->active);
        return 0;
    }
    default:
        return WinDefProc(win, msg, wParam, lParam);
    }
}

intptr_t MdiDefFrameProc(uint32_t frame, uint32_t client, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case PlMsg::SetFocus: {
        uint32_t a = MdiGetActive(client, nullptr);
        if (a) WinSetFocus(a);
        else if (WinIsWindow(client)) WinSetFocus(client);
        return 0;
    }
    case PlMsg::Size:
        if (WinIsWindow(client)) WinMove(client, WinClientRect(frame));
        return 0;
    case PlMsg::User:
        WinBringToFront(frame);
        return 0;
    default:
        return WinDefProc(frame, msg, wParam, lParam);
    }
}

intptr_t MdiDefChildProc(uint32_t child, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    uint32_t client = ClientOfChild(child);
    switch (msg) {
    case PlMsg::Close:
        if (client) MdiDestroyChild(client, child);
        else WinDestroy(child);
        return 0;
    default:
        return WinDefProc(child, msg, wParam, lParam);
    }
}
