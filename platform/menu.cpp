// Menus: the item model of bars and popups, drawing of the bar and of open
// popups, and the tracking loop for mouse and keyboard that ends with a
// command posted to the owner. Also the maximised MDI child's system item.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "platform/control_internal.h"
#include "platform/mdi.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "platform/window_internal.h"

namespace {
constexpr PlColor kHighlight = PlRgb(0, 0, 128);
constexpr int kItemHeight = 18;
constexpr int kSeparatorHeight = 8;
constexpr int kSysItemWidth = 20;
constexpr int kBoxW = 16, kBoxH = 14;

struct Item {
    uint32_t flags = 0;
    int id = 0;
    uint32_t popup = 0;
    std::string text;
    bool sysItem = false;
};

struct Menu {
    bool bar = false;
    std::vector<Item> items;
};

struct Track {
    bool active = false;
    uint32_t owner = 0;
    uint32_t bar = 0;  // 0 for a popup tracked alone
    int barSel = -1;
    uint32_t popup = 0;
    uint32_t popupWin = 0;
    int popupSel = -1;
    bool done = false;
    int chosen = 0;
};

std::unordered_map<uint32_t, Menu> gMenus;
std::unordered_map<uint32_t, uint32_t> gMaxChild;  // frame -> maximised MDI child
uint32_t gNextMenu = 0x20001;
Track gTrack;

Menu *Get(uint32_t menu)
{
    auto it = gMenus.find(menu);
    return it == gMenus.end() ? nullptr : &it->second;
}

Item *ItemAt(uint32_t menu, int pos)
{
    Menu *m = Get(menu);
    if (!m || pos < 0 || pos >= int(m->items.size())) return nullptr;
    return &m->items[size_t(pos)];
}

bool Selectable(const Item &it)
{
    return !(it.flags & (PlMenuFlag::Separator | PlMenuFlag::Grayed | PlMenuFlag::Disabled));
}

std::string_view Label(const Item &it)
{
    std::string_view t = it.text;
    size_t tab = t.find('\t');
    return tab == std::string_view::npos ? t : t.substr(0, tab);
}

std::string_view KeyText(const Item &it)
{
    std::string_view t = it.text;
    size_t tab = t.find('\t');
    return tab == std::string_view::npos ? std::string_view() : t.substr(tab + 1);
}

// ---------------------------------------------------------------------------
// Bar geometry (window coordinates of the top-level window).

PlRect BarBand(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (!w) return PlRect{0, 0, 0, 0};
    WinNcMetrics m = WinNcMetricsOf(w);
    if (m.menu == 0) return PlRect{0, 0, 0, 0};
    return PlRect{m.frame, m.frame + m.caption, PlRectWidth(w->rect) - m.frame, m.frame + m.caption + m.menu};
}

std::vector<PlRect> BarItemRects(uint32_t win)
{
    std::vector<PlRect> out;
    Menu *m = Get(WinMenu(win));
    PlRect band = BarBand(win);
    if (!m || PlRectEmpty(band)) return out;
    PlFont *font = FontUiRegular();
    int x = band.left + 2;
    for (const Item &it : m->items) {
        int w = it.sysItem ? kSysItemWidth : CtlMnemonicWidth(font, Label(it)) + 14;
        out.push_back(PlRect{x, band.top + 1, x + w, band.bottom - 1});
        x += w;
    }
    return out;
}

// The maximised child's boxes at the right end: minimise, restore, close.
std::array<PlRect, 3> BarBoxes(uint32_t win)
{
    PlRect band = BarBand(win);
    int top = band.top + (PlRectHeight(band) - kBoxH) / 2;
    int x = band.right - 2 - kBoxW;
    PlRect close{x, top, x + kBoxW, top + kBoxH};
    x -= kBoxW + 2;
    PlRect restore{x, top, x + kBoxW, top + kBoxH};
    x -= kBoxW;
    PlRect min{x, top, x + kBoxW, top + kBoxH};
    return {min, restore, close};
}

PlPoint ToWindow(uint32_t win, PlPoint screen)
{
    PlRect r = WinScreenRect(win);
    return PlPoint{screen.x - r.left, screen.y - r.top};
}

int BarItemAt(uint32_t win, PlPoint screen)
{
    PlPoint p = ToWindow(win, screen);
    std::vector<PlRect> rects = BarItemRects(win);
    for (size_t i = 0; i < rects.size(); ++i)
        if (PlRectContains(rects[i], p)) return int(i);
    return -1;
}

// Which of the maximised child's boxes is at the point: 0 min, 1 restore,
// 2 close, -1 none.
int BarBoxAt(uint32_t win, PlPoint screen)
{
    auto it = gMaxChild.find(win);
    if (it == gMaxChild.end() || !WinIsWindow(it->second)) return -1;
    PlPoint p = ToWindow(win, screen);
    auto boxes = BarBoxes(win);
    for (int i = 0; i < 3; ++i)
        if (PlRectContains(boxes[size_t(i)], p)) return i;
    return -1;
}

void InvalidateBar(uint32_t win)
{
    WinRec *w = WinGet(win);
    if (w) w->ncDirty = true;
}

// ---------------------------------------------------------------------------
// Popup windows.

// The width of one column of a popup: its widest label and key text.
int PopupColumnWidth(uint32_t menu)
{
    Menu *m = Get(menu);
    PlFont *font = FontUiRegular();
    int w = 60;
    for (int i = 0; m && i < int(m->items.size()); ++i) {
        const Item &it = m->items[size_t(i)];
        int tw = CtlMnemonicWidth(font, Label(it)) + 40;
        if (!KeyText(it).empty()) tw += CtlTextWidth(font, KeyText(it)) + 24;
        w = std::max(w, tw);
    }
    return w;
}

// The client rectangles of a popup's items when its client area may be
// `limit` pixels high: the items stand one under the other and an item
// that would reach below the limit starts a new column to the right, so
// a popup longer than the screen is high shows every item on it.
std::vector<PlRect> PopupItemRects(uint32_t menu, int limit)
{
    std::vector<PlRect> out;
    Menu *m = Get(menu);
    if (!m) return out;
    int cw = PopupColumnWidth(menu), column = 0, y = 2;
    for (const Item &it : m->items) {
        int h = (it.flags & PlMenuFlag::Separator) ? kSeparatorHeight : kItemHeight;
        if (y > 2 && y + h > limit) {
            ++column;
            y = 2;
        }
        out.push_back(PlRect{column * cw + 2, y, (column + 1) * cw - 2, y + h});
        y += h;
    }
    return out;
}

// The outer size of a popup whose client area may be `limit` pixels high
// (a one-pixel border around it).
PlSize PopupSize(uint32_t menu, int limit)
{
    std::vector<PlRect> rects = PopupItemRects(menu, limit);
    int cw = PopupColumnWidth(menu), columns = 1, bottom = 2;
    for (const PlRect &r : rects) {
        columns = std::max(columns, r.right / cw + 1);
        bottom = std::max(bottom, int(r.bottom));
    }
    return PlSize{columns * cw + 2, bottom + 2};
}

// The item's rectangle in the client area of the popup window showing
// the menu, laid out on that area's height as the popup was opened.
PlRect PopupItemRect(uint32_t menu, int pos, const PlRect &client)
{
    std::vector<PlRect> rects = PopupItemRects(menu, PlRectHeight(client));
    return pos >= 0 && pos < int(rects.size()) ? rects[size_t(pos)] : PlRect{0, 0, 0, 0};
}

int PopupItemAt(PlPoint screen)
{
    if (!WinIsWindow(gTrack.popupWin)) return -1;
    PlPoint p = WinScreenToClient(gTrack.popupWin, screen);
    PlRect client = WinClientRect(gTrack.popupWin);
    if (!PlRectContains(client, p)) return -1;
    std::vector<PlRect> rects = PopupItemRects(gTrack.popup, PlRectHeight(client));
    for (int i = 0; i < int(rects.size()); ++i)
        if (PlRectContains(rects[size_t(i)], p)) return i;
    return -1;
}

bool InPopup(PlPoint screen)
{
    return WinIsWindow(gTrack.popupWin) && PlRectContains(WinScreenRect(gTrack.popupWin), screen);
}

void ClosePopup()
{
    if (WinIsWindow(gTrack.popupWin)) WinDestroy(gTrack.popupWin);
    gTrack.popupWin = 0;
    gTrack.popup = 0;
    gTrack.popupSel = -1;
}

int FirstSelectable(uint32_t menu, int from, int step)
{
    Menu *m = Get(menu);
    if (!m || m->items.empty()) return -1;
    int n = int(m->items.size());
    for (int k = 0; k < n; ++k) {
        int i = ((from + step * k) % n + n) % n;
        if (!(m->items[size_t(i)].flags & PlMenuFlag::Separator)) return i;
    }
    return -1;
}

// Opens `menu` with its top-left (or, centred, its top middle) at a screen
// point, kept inside the owner's client area.
void OpenPopup(uint32_t menu, PlPoint screen, uint32_t align, bool selectFirst)
{
    ClosePopup();
    if (!Get(menu)) return;
    uint32_t owner = gTrack.owner;
    PlPoint at = WinScreenToClient(owner, screen);
    PlRect area = WinClientRect(owner);
    // The items break into columns at the owner's lower edge; a popup
    // opened too low for a useful column uses the owner's whole height
    // and moves up.
    int below = area.bottom - std::max(area.top, at.y) - 2, whole = PlRectHeight(area) - 2;
    PlSize size = PopupSize(menu, below >= whole / 3 ? below : whole);
    if (align & PlTrack::CenterAlign) at.x -= size.cx / 2;
    else if (align & PlTrack::RightAlign) at.x -= size.cx;
    at.x = std::max(area.left, std::min(at.x, area.right - size.cx));
    at.y = std::max(area.top, std::min(at.y, area.bottom - size.cy));
    gTrack.popup = menu;
    gTrack.popupSel = selectFirst ? FirstSelectable(menu, 0, 1) : -1;
    gTrack.popupWin = WinCreate("PlMenuPopup", "", PlStyle::Child | PlStyle::Visible | PlStyle::Border,
                                PlRect{at.x, at.y, at.x + size.cx, at.y + size.cy}, owner, 0, intptr_t(menu));
}

void OpenBarItem(int pos, bool selectFirst)
{
    gTrack.barSel = pos;
    InvalidateBar(gTrack.owner);
    ClosePopup();
    Item *it = ItemAt(gTrack.bar, pos);
    if (!it || !(it->flags & PlMenuFlag::Popup) || (it->flags & PlMenuFlag::Grayed)) return;
    PlRect r = BarItemRects(gTrack.owner)[size_t(pos)];
    PlRect wr = WinScreenRect(gTrack.owner);
    OpenPopup(it->popup, PlPoint{wr.left + r.left, wr.top + BarBand(gTrack.owner).bottom}, PlTrack::LeftAlign,
              selectFirst);
}

void Choose(uint32_t menu, int pos)
{
    Item *it = ItemAt(menu, pos);
    if (!it || !Selectable(*it) || (it->flags & PlMenuFlag::Popup)) return;
    gTrack.chosen = it->id;
    gTrack.done = true;
}

void SetPopupSel(int sel)
{
    if (sel == gTrack.popupSel) return;
    gTrack.popupSel = sel;
    if (WinIsWindow(gTrack.popupWin)) WinInvalidate(gTrack.popupWin, nullptr, false);
}

// In a popup of several columns, the selectable item of the column left
// (step -1) or right (+1) of the selected one nearest its height; -1 when
// there is no such column (the keys then move along the bar).
int ItemBeside(int step)
{
    Menu *m = Get(gTrack.popup);
    if (!m || gTrack.popupSel < 0 || !WinIsWindow(gTrack.popupWin)) return -1;
    std::vector<PlRect> rects = PopupItemRects(gTrack.popup, PlRectHeight(WinClientRect(gTrack.popupWin)));
    if (gTrack.popupSel >= int(rects.size())) return -1;
    const PlRect &from = rects[size_t(gTrack.popupSel)];
    int target = from.left + step * PopupColumnWidth(gTrack.popup), best = -1, bestGap = 0;
    for (int i = 0; i < int(rects.size()); ++i) {
        if (rects[size_t(i)].left != target || (m->items[size_t(i)].flags & PlMenuFlag::Separator)) continue;
        int gap = std::abs(rects[size_t(i)].top - from.top);
        if (best < 0 || gap < bestGap) best = i, bestGap = gap;
    }
    return best;
}

int MnemonicIndex(uint32_t menu, uint32_t vk)
{
    Menu *m = Get(menu);
    if (!m) return -1;
    for (int i = 0; i < int(m->items.size()); ++i) {
        char c = CtlMnemonicOf(Label(m->items[size_t(i)]));
        if (c && uint32_t(c) == vk) return i;
    }
    return -1;
}

void HandleKey(const PlMessage &m)
{
    if (m.msg == PlMsg::SysKeyUp && m.wParam == PlKey::Menu) {
        gTrack.done = true;
        return;
    }
    if (m.msg != PlMsg::KeyDown && m.msg != PlMsg::SysKeyDown) return;
    uint32_t vk = uint32_t(m.wParam);
    bool open = gTrack.popup != 0;
    Menu *bar = Get(gTrack.bar);
    int barCount = bar ? int(bar->items.size()) : 0;
    switch (vk) {
    case PlKey::Escape:
        if (open && gTrack.bar) {
            ClosePopup();
            InvalidateBar(gTrack.owner);
        } else {
            gTrack.done = true;
        }
        return;
    case PlKey::Left:
    case PlKey::Right:
        if (open) {
            int beside = ItemBeside(vk == PlKey::Left ? -1 : 1);
            if (beside >= 0) {
                SetPopupSel(beside);
                return;
            }
        }
        if (gTrack.bar && barCount > 0) {
            int next = ((gTrack.barSel + (vk == PlKey::Left ? -1 : 1)) % barCount + barCount) % barCount;
            if (open) OpenBarItem(next, true);
            else {
                gTrack.barSel = next;
                InvalidateBar(gTrack.owner);
            }
        }
        return;
    case PlKey::Down:
    case PlKey::Up:
        if (!open && gTrack.bar) {
            OpenBarItem(std::max(0, gTrack.barSel), true);
            if (vk == PlKey::Up && gTrack.popup) SetPopupSel(FirstSelectable(gTrack.popup, -1, -1));
        } else if (open) {
            int step = vk == PlKey::Down ? 1 : -1;
            SetPopupSel(FirstSelectable(gTrack.popup, gTrack.popupSel < 0 ? (step > 0 ? 0 : -1) : gTrack.popupSel + step,
                                        step));
        }
        return;
    case PlKey::Return:
        if (open && gTrack.popupSel >= 0) Choose(gTrack.popup, gTrack.popupSel);
        else if (!open && gTrack.bar && gTrack.barSel >= 0) {
            Item *it = ItemAt(gTrack.bar, gTrack.barSel);
            if (it && (it->flags & PlMenuFlag::Popup)) OpenBarItem(gTrack.barSel, true);
            else Choose(gTrack.bar, gTrack.barSel);
        }
        return;
    case PlKey::Menu:
    case PlKey::F10:
        gTrack.done = true;
        return;
    default:
        break;
    }
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        if (open) {
            int i = MnemonicIndex(gTrack.popup, vk);
            if (i >= 0) {
                SetPopupSel(i);
                Choose(gTrack.popup, i);
            }
        } else if (gTrack.bar) {
            int i = MnemonicIndex(gTrack.bar, vk);
            if (i >= 0) {
                Item *it = ItemAt(gTrack.bar, i);
                if (it && (it->flags & PlMenuFlag::Popup)) OpenBarItem(i, true);
                else Choose(gTrack.bar, i);
            }
        }
    }
}

void BoxCommand(uint32_t frame, int box);

void HandleMouse(const PlMessage &m)
{
    PlPoint pt = m.pt;
    uint32_t owner = gTrack.owner;
    int barItem = gTrack.bar ? BarItemAt(owner, pt) : -1;
    switch (m.msg) {
    case PlMsg::MouseMove:
        if (InPopup(pt)) SetPopupSel(PopupItemAt(pt));
        else if (barItem >= 0 && barItem != gTrack.barSel && (gTrack.popup || (m.wParam & PlMouseKey::LButton)))
            OpenBarItem(barItem, false);
        return;
    case PlMsg::LButtonDown:
    case PlMsg::LButtonDblClk:
    case PlMsg::RButtonDown:
        if (InPopup(pt)) return;
        if (barItem >= 0) {
            if (barItem == gTrack.barSel && gTrack.popup) gTrack.done = true;
            else OpenBarItem(barItem, false);
            return;
        }
        if (gTrack.bar && BarBoxAt(owner, pt) >= 0) {
            BoxCommand(owner, BarBoxAt(owner, pt));
            gTrack.done = true;
            return;
        }
        gTrack.done = true;  // a click elsewhere ends the menu
        return;
    case PlMsg::LButtonUp:
    case PlMsg::RButtonUp:
        if (InPopup(pt)) {
            int i = PopupItemAt(pt);
            if (i >= 0) Choose(gTrack.popup, i);
        } else if (barItem >= 0 && barItem == gTrack.barSel) {
            Item *it = ItemAt(gTrack.bar, barItem);
            if (it && !(it->flags & PlMenuFlag::Popup)) Choose(gTrack.bar, barItem);
        }
        return;
    default:
        return;
    }
}

bool IsMouse(uint32_t msg) { return msg >= PlMsg::MouseMove && msg <= PlMsg::RButtonUp; }
bool IsKey(uint32_t msg) { return msg >= PlMsg::KeyDown && msg <= PlMsg::SysKeyUp; }

void SysCommand(uint32_t frame, int id)
{
    auto it = gMaxChild.find(frame);
    uint32_t child = it == gMaxChild.end() ? 0 : it->second;
    if (!WinIsWindow(child)) return;
    if (id == kPlScRestore) MdiRestore(child);
    else if (id == kPlScMinimize) MdiMinimize(child);
    else if (id == kPlScClose) MsgPost(child, PlMsg::Close, 0, 0);
}

void BoxCommand(uint32_t frame, int box)
{
    SysCommand(frame, box == 0 ? kPlScMinimize : box == 1 ? kPlScRestore : kPlScClose);
}

// Runs the tracking loop; returns the chosen command (0 = none).
int RunTrack(bool post)
{
    uint32_t owner = gTrack.owner;
    WinSend(owner, PlMsg::InitMenu, gTrack.bar ? gTrack.bar : gTrack.popup, 0);
    WinSetCapture(owner);
    InvalidateBar(owner);
    while (!gTrack.done) {
        PlMessage m;
        PlGet g = MsgGet(&m);
        if (g == PlGet::Quit) {
            MsgPostQuit(int(m.wParam));
            break;
        }
        if (g != PlGet::Message || !WinIsWindow(owner)) break;  // nothing more can come
        if (IsMouse(m.msg)) HandleMouse(m);
        else if (IsKey(m.msg)) HandleKey(m);
        else if (m.msg != PlMsg::Char) MsgDispatch(m);
    }
    ClosePopup();
    if (WinCapture() == owner) WinReleaseCapture();
    int chosen = gTrack.chosen;
    gTrack = Track{};
    InvalidateBar(owner);
    if (chosen == kPlScRestore || chosen == kPlScMinimize || chosen == kPlScClose) {
        SysCommand(owner, chosen);
        return chosen;
    }
    if (chosen && post && WinIsWindow(owner)) MsgPost(owner, PlMsg::Command, uintptr_t(uint16_t(chosen)), 0);
    return chosen;
}

void StartBar(uint32_t win, int item, bool openPopup)
{
    if (gTrack.active || !Get(WinMenu(win))) return;
    gTrack = Track{};
    gTrack.active = true;
    gTrack.owner = win;
    gTrack.bar = WinMenu(win);
    gTrack.barSel = item;
    if (openPopup) OpenBarItem(item, false);
    RunTrack(true);
}

// ---------------------------------------------------------------------------
// Hooks of the window core.

void DrawBar(uint32_t win, DrawContext *dc, const PlRect &band)
{
    Menu *m = Get(WinMenu(win));
    if (!m) return;
    PlFont *font = FontUiRegular();
    std::vector<PlRect> rects = BarItemRects(win);
    int h = FontMetrics(font).height;
    for (size_t i = 0; i < m->items.size() && i < rects.size(); ++i) {
        const Item &it = m->items[i];
        PlRect r = rects[i];
        bool sel = gTrack.active && gTrack.owner == win && gTrack.barSel == int(i);
        if (it.sysItem) {
            PlRect box{r.left + 2, r.top + 2, r.left + 2 + kBoxW, r.bottom - 2};
            CtlDraw3dBox(dc, box, sel);
            DcFillRect(dc, PlRect{box.left + 4, (box.top + box.bottom) / 2 - 1, box.right - 4, (box.top + box.bottom) / 2 + 1},
                       kPlBrushBlack);
            continue;
        }
        if (sel) DcFillRect(dc, r, PlSolidBrush(kHighlight));
        PlColor color = sel ? kPlWhite : (it.flags & PlMenuFlag::Grayed) ? kPlGrey : kPlBlack;
        CtlDrawMnemonic(dc, font, r.left + 7, r.top + (PlRectHeight(r) - h) / 2, Label(it), color);
    }
    auto mc = gMaxChild.find(win);
    if (mc != gMaxChild.end() && WinIsWindow(mc->second)) {
        auto boxes = BarBoxes(win);
        for (int i = 0; i < 3; ++i) {
            PlRect b = boxes[size_t(i)];
            CtlDraw3dBox(dc, b, false);
            int cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
            if (i == 0) DcFillRect(dc, PlRect{cx - 3, cy + 2, cx + 3, cy + 4}, kPlBrushBlack);
            else if (i == 1) DcFrameRect(dc, PlRect{cx - 3, cy - 3, cx + 3, cy + 3}, kPlBrushBlack);
            else
                for (int k = -3; k <= 3; ++k) {
                    DcSetPixel(dc, cx + k, cy + k, kPlBlack);
                    DcSetPixel(dc, cx - k, cy + k, kPlBlack);
                }
        }
    }
    (void)band;
}

void BarClick(uint32_t win, PlPoint screen)
{
    int box = BarBoxAt(win, screen);
    if (box >= 0) {
        BoxCommand(win, box);
        return;
    }
    int item = BarItemAt(win, screen);
    if (item >= 0) StartBar(win, item, true);
}

bool MenuKey(uint32_t win, uint32_t vkey, uint32_t)
{
    Menu *m = Get(WinMenu(win));
    if (!m || m->items.empty() || gTrack.active) return false;
    if (vkey == PlKey::Menu || vkey == PlKey::F10) {
        StartBar(win, 0, false);
        return true;
    }
    int i = MnemonicIndex(WinMenu(win), vkey);
    if (i < 0) return false;
    Item &it = m->items[size_t(i)];
    if (it.flags & PlMenuFlag::Popup) StartBar(win, i, true);
    else if (Selectable(it)) MsgPost(win, PlMsg::Command, uintptr_t(uint16_t(it.id)), 0);
    return true;
}

void MaxChanged(uint32_t frame, uint32_t child)
{
    uint32_t bar = WinMenu(frame);
    Menu *m = Get(bar);
    if (child) gMaxChild[frame] = child;
    else gMaxChild.erase(frame);
    if (!m) return;
    bool has = !m->items.empty() && m->items.front().sysItem;
    if (child && !has) {
        uint32_t sys = MenuCreatePopup();
        MenuAppend(sys, 0, kPlScRestore, "&Restore");
        MenuAppend(sys, 0, kPlScMinimize, "Mi&nimize");
        MenuAppend(sys, PlMenuFlag::Separator, 0, "");
        MenuAppend(sys, 0, kPlScClose, "&Close");
        Item it;
        it.flags = PlMenuFlag::Popup;
        it.popup = sys;
        it.sysItem = true;
        m = Get(bar);
        m->items.insert(m->items.begin(), it);
    } else if (!child && has) {
        MenuDelete(bar, 0);
    }
    InvalidateBar(frame);
}

void InstallHooks()
{
    WinHooks &h = WinHooksRef();
    h.drawMenuBar = DrawBar;
    h.menuBarClick = BarClick;
    h.menuKey = MenuKey;
    h.mdiMaxChanged = MaxChanged;
    h.destroyMenu = [](uint32_t menu) { MenuDestroy(menu); };
}

uint32_t NewMenu(bool bar)
{
    InstallHooks();
    uint32_t id = gNextMenu++;
    gMenus[id] = Menu{bar, {}};
    return id;
}
}  // namespace

intptr_t MenuPopupProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    static std::unordered_map<uint32_t, uint32_t> menuOf;
    switch (msg) {
    case PlMsg::Create:
        menuOf[win] = uint32_t(lParam);
        return 0;
    case PlMsg::Destroy:
        menuOf.erase(win);
        return 0;
    case PlMsg::EraseBkgnd:
        return 1;
    case PlMsg::Paint: {
        PlPaint ps;
        if (!WinBeginPaint(win, &ps)) return 0;
        uint32_t menu = menuOf[win];
        Menu *m = Get(menu);
        PlRect c = WinClientRect(win);
        DcFillRect(ps.dc, c, kPlBrushLightGrey);
        PlFont *font = FontUiRegular();
        int fh = FontMetrics(font).height;
        std::vector<PlRect> rects = PopupItemRects(menu, PlRectHeight(c));
        for (int i = 0; m && i < int(m->items.size()) && i < int(rects.size()); ++i) {
            const Item &it = m->items[size_t(i)];
            PlRect r = rects[size_t(i)];
            if (it.flags & PlMenuFlag::Separator) {
                int y = (r.top + r.bottom) / 2;
                DcFillRect(ps.dc, PlRect{r.left + 2, y - 1, r.right - 2, y}, kPlBrushGrey);
                DcFillRect(ps.dc, PlRect{r.left + 2, y, r.right - 2, y + 1}, kPlBrushWhite);
                continue;
            }
            bool sel = gTrack.popupWin == win && gTrack.popupSel == i;
            if (sel) DcFillRect(ps.dc, r, PlSolidBrush(kHighlight));
            PlColor color = (it.flags & PlMenuFlag::Grayed) ? kPlGrey : sel ? kPlWhite : kPlBlack;
            int ty = r.top + (PlRectHeight(r) - fh) / 2;
            if (it.flags & PlMenuFlag::Checked) {
                PlBrush b = PlSolidBrush(color);
                int cx = r.left + 8, cy = r.top + 9;
                for (int k = 0; k < 3; ++k) DcFillRect(ps.dc, PlRect{cx + k, cy + k - 1, cx + k + 1, cy + k + 1}, b);
                for (int k = 0; k < 5; ++k) DcFillRect(ps.dc, PlRect{cx + 3 + k, cy + 1 - k, cx + 4 + k, cy + 3 - k}, b);
            }
            CtlDrawMnemonic(ps.dc, font, r.left + 20, ty, Label(it), color);
            std::string_view keys = KeyText(it);
            if (!keys.empty()) {
                DcSetTextColor(ps.dc, color);
                DcTextOut(ps.dc, r.right - 12 - CtlTextWidth(font, keys), ty, keys);
            }
        }
        WinEndPaint(win, &ps);
        return 0;
    }
    default:
        return WinDefProc(win, msg, wParam, lParam);
    }
}

uint32_t MenuCreateBar() { return NewMenu(true); }
uint32_t MenuCreatePopup() { return NewMenu(false); }

bool MenuDestroy(uint32_t menu)
{
    Menu *m = Get(menu);
    if (!m) return false;
    std::vector<uint32_t> subs;
    for (const Item &it : m->items)
        if (it.popup) subs.push_back(it.popup);
    gMenus.erase(menu);
    for (uint32_t s : subs) MenuDestroy(s);
    return true;
}

bool MenuIsMenu(uint32_t menu) { return Get(menu) != nullptr; }

bool MenuInsert(uint32_t menu, int position, uint32_t flags, uint32_t id, std::string_view text)
{
    Menu *m = Get(menu);
    if (!m) return false;
    if ((flags & PlMenuFlag::Popup) && !Get(id)) return false;
    Item it;
    it.flags = flags;
    it.text = std::string(text);
    if (flags & PlMenuFlag::Popup) it.popup = id;
    else if (!(flags & PlMenuFlag::Separator)) it.id = int(id);
    if (position < 0 || position > int(m->items.size())) position = int(m->items.size());
    m->items.insert(m->items.begin() + position, it);
    return true;
}

bool MenuAppend(uint32_t menu, uint32_t flags, uint32_t id, std::string_view text)
{
    return MenuInsert(menu, -1, flags, id, text);
}

bool MenuRemove(uint32_t menu, int position)
{
    Menu *m = Get(menu);
    if (!m || position < 0 || position >= int(m->items.size())) return false;
    m->items.erase(m->items.begin() + position);
    return true;
}

bool MenuDelete(uint32_t menu, int position)
{
    Item *it = ItemAt(menu, position);
    if (!it) return false;
    uint32_t popup = it->popup;
    MenuRemove(menu, position);
    if (popup) MenuDestroy(popup);
    return true;
}

int MenuItemCount(uint32_t menu)
{
    Menu *m = Get(menu);
    return m ? int(m->items.size()) : -1;
}

int MenuItemId(uint32_t menu, int position)
{
    Item *it = ItemAt(menu, position);
    return it ? it->id : -1;
}

uint32_t MenuSubMenu(uint32_t menu, int position)
{
    Item *it = ItemAt(menu, position);
    return it ? it->popup : 0;
}

std::string MenuItemText(uint32_t menu, int position)
{
    Item *it = ItemAt(menu, position);
    return it ? it->text : std::string();
}

uint32_t MenuItemFlags(uint32_t menu, int position)
{
    Item *it = ItemAt(menu, position);
    return it ? it->flags : 0;
}

int MenuFindCommand(uint32_t menu, int id)
{
    Menu *m = Get(menu);
    for (int i = 0; m && i < int(m->items.size()); ++i)
        if (!m->items[size_t(i)].popup && !(m->items[size_t(i)].flags & PlMenuFlag::Separator) &&
            m->items[size_t(i)].id == id)
            return i;
    return -1;
}

static int SetFlag(Item *it, uint32_t flag, bool set)
{
    if (!it) return -1;
    int was = (it->flags & flag) ? 1 : 0;
    if (set) it->flags |= flag;
    else it->flags &= ~flag;
    return was;
}

// Finds the item with command id in menu or its popups.
static Item *FindById(uint32_t menu, int id)
{
    Menu *m = Get(menu);
    if (!m) return nullptr;
    for (Item &it : m->items) {
        if (it.popup) {
            if (Item *found = FindById(it.popup, id)) return found;
        } else if (!(it.flags & PlMenuFlag::Separator) && it.id == id) {
            return &it;
        }
    }
    return nullptr;
}

int MenuEnableByPosition(uint32_t menu, int position, bool on)
{
    Item *it = ItemAt(menu, position);
    if (!it) return -1;
    int was = (it->flags & (PlMenuFlag::Grayed | PlMenuFlag::Disabled)) ? 0 : 1;
    it->flags &= ~(PlMenuFlag::Grayed | PlMenuFlag::Disabled);
    if (!on) it->flags |= PlMenuFlag::Grayed;
    return was;
}

int MenuEnableByCommand(uint32_t menu, int id, bool on)
{
    Item *it = FindById(menu, id);
    if (!it) return -1;
    int was = (it->flags & (PlMenuFlag::Grayed | PlMenuFlag::Disabled)) ? 0 : 1;
    it->flags &= ~(PlMenuFlag::Grayed | PlMenuFlag::Disabled);
    if (!on) it->flags |= PlMenuFlag::Grayed;
    return was;
}

int MenuCheckByPosition(uint32_t menu, int position, bool on)
{
    return SetFlag(ItemAt(menu, position), PlMenuFlag::Checked, on);
}

int MenuCheckByCommand(uint32_t menu, int id, bool on) { return SetFlag(FindById(menu, id), PlMenuFlag::Checked, on); }

void MenuBarRedraw(uint32_t win)
{
    InstallHooks();
    InvalidateBar(win);
}

PlRect MenuBarItemRect(uint32_t win, int position)
{
    std::vector<PlRect> rects = BarItemRects(win);
    if (position < 0 || position >= int(rects.size())) return PlRect{0, 0, 0, 0};
    PlRect wr = WinScreenRect(win);
    return PlRectOffset(rects[size_t(position)], wr.left, wr.top);
}

PlRect MenuOpenItemRect(uint32_t menu, int position)
{
    if (!gTrack.active || gTrack.popup != menu || !WinIsWindow(gTrack.popupWin)) return PlRect{0, 0, 0, 0};
    PlRect r = PopupItemRect(menu, position, WinClientRect(gTrack.popupWin));
    PlPoint o = WinClientToScreen(gTrack.popupWin, {0, 0});
    return PlRectOffset(r, o.x, o.y);
}

int MenuTrackPopup(uint32_t popup, uint32_t flags, PlPoint screen, uint32_t owner)
{
    owner = WinTopLevel(owner);
    if (gTrack.active || !Get(popup) || !owner) return 0;
    InstallHooks();
    gTrack = Track{};
    gTrack.active = true;
    gTrack.owner = owner;
    OpenPopup(popup, screen, flags, false);
    return RunTrack(!(flags & PlTrack::ReturnCmd));
}

bool MenuTracking() { return gTrack.active; }
int MenuTrackBarItem() { return gTrack.active ? gTrack.barSel : -1; }
int MenuTrackPopupItem() { return gTrack.active ? gTrack.popupSel : -1; }
