// The LISTBOX control: a single-selection list of 8-bit strings with its own
// vertical scroll bar (a ScrollBar child at the right edge), keyboard and
// mouse selection, selection by typing a row's beginning, and the
// selection-change and double-click notifications to the parent. The multiple-selection queries (selection count, selected
// state of a row) answer for the one selected row, so that code written for
// either kind of list works.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/control.h"
#include "platform/control_internal.h"
#include "platform/queue.h"
#include "platform/window.h"

namespace {
constexpr PlColor kSelBack = PlRgb(0, 0, 128);
// Most characters of a row that the text queries hand out: the program reads
// rows into 256-byte buffers.
constexpr int kMaxRowText = 255;
// Characters typed within this many milliseconds of the one before make one
// beginning to look for; a pause starts a new one.
constexpr uint32_t kTypeAheadPauseMs = 1000;

struct ListState {
    std::vector<std::string> items;
    int cur = -1;
    int top = 0;
    bool focused = false;
    uint32_t bar = 0;
    std::string typed;        // the beginning typed so far
    uint32_t typedAt = 0;     // the tick of its last character
};

ListState *StateOf(uint32_t win) { return CtlStateOf<ListState>(win); }

int RowHeight(uint32_t win) { return FontMetrics(CtlFont(win)).height + 2; }

int Visible(uint32_t win)
{
    int h = RowHeight(win);
    return h > 0 ? std::max(1, PlRectHeight(WinClientRect(win)) / h) : 1;
}

int MaxTop(uint32_t win, const ListState &s) { return std::max(0, int(s.items.size()) - Visible(win)); }

// Rows area: the client area without the scroll bar.
PlRect RowsRect(uint32_t win, const ListState &s)
{
    PlRect c = WinClientRect(win);
    if (s.bar && WinIsVisible(s.bar)) c.right -= kPlScrollBarWidth;
    return c;
}

void PlaceBar(uint32_t win, ListState &s)
{
    if (!s.bar) return;
    PlRect c = WinClientRect(win);
    WinMove(s.bar, PlRect{c.right - kPlScrollBarWidth, 0, c.right, c.bottom});
}

void UpdateBar(uint32_t win, ListState &s)
{
    if (!s.bar) return;
    int maxTop = MaxTop(win, s);
    bool needed = maxTop > 0;
    bool keep = (WinStyle(win) & PlListStyle::DisableNoScroll) != 0;
    bool show = needed || keep;
    bool shown = (WinStyle(s.bar) & PlStyle::Visible) != 0;
    if (show && !shown) WinShow(s.bar, PlShow::ShowNoActivate);
    else if (!show && shown) WinShow(s.bar, PlShow::Hide);
    ScrollBarSetRange(s.bar, 0, maxTop, false);
    ScrollBarSetPos(s.bar, s.top, false);
    WinEnable(s.bar, needed);
    WinInvalidate(s.bar, nullptr, false);
}

void Redraw(uint32_t win, ListState &s)
{
    UpdateBar(win, s);
    WinInvalidate(win, nullptr, true);
}

void SetTop(uint32_t win, ListState &s, int top)
{
    top = std::clamp(top, 0, MaxTop(win, s));
    if (top == s.top) return;
    s.top = top;
    Redraw(win, s);
}

void EnsureVisible(uint32_t win, ListState &s, int row)
{
    if (row < 0) return;
    if (row < s.top) SetTop(win, s, row);
    else if (row >= s.top + Visible(win)) SetTop(win, s, row - Visible(win) + 1);
}

void Select(uint32_t win, ListState &s, int row, bool notify)
{
    if (s.items.empty()) return;
    row = std::clamp(row, 0, int(s.items.size()) - 1);
    bool changed = row != s.cur;
    s.cur = row;
    EnsureVisible(win, s, row);
    WinInvalidate(win, nullptr, true);
    if (changed && notify && (WinStyle(win) & PlListStyle::Notify)) CtlNotify(win, PlLbn::SelChange);
}

// A letter of the 8-bit character set in lower case: A-Z and the accented
// capitals (0xC0..0xDE but the multiplication sign) have theirs 0x20 on.
uint8_t Lower(uint8_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return uint8_t(c + 0x20);
    return c;
}

// Whether row text begins with `typed`, letters in either case.
bool BeginsWith(const std::string &text, const std::string &typed)
{
    if (text.size() < typed.size()) return false;
    for (size_t i = 0; i < typed.size(); i++)
        if (Lower(uint8_t(text[i])) != Lower(uint8_t(typed[i]))) return false;
    return true;
}

// A character typed into the list: it extends the beginning typed before
// it (or starts a new one after a pause), and the first row from the
// selected one on that begins so is selected. One character typed again
// alone steps to the next row beginning with it.
void TypeAhead(uint32_t win, ListState &s, uint8_t c)
{
    const uint32_t now = PlTickCount();
    if (s.typed.empty() || now - s.typedAt > kTypeAheadPauseMs) s.typed.clear();
    s.typedAt = now;
    const bool again = s.typed.size() == 1 && Lower(uint8_t(s.typed[0])) == Lower(c);
    if (!again) s.typed += char(c);
    const int n = int(s.items.size());
    const int from = s.cur < 0 ? 0 : s.cur + (again || s.typed.size() == 1 ? 1 : 0);
    for (int k = 0; k < n; k++) {
        const int row = (from + k) % n;
        if (!BeginsWith(s.items[size_t(row)], s.typed)) continue;
        Select(win, s, row, true);
        return;
    }
}

int RowAt(uint32_t win, const ListState &s, int y)
{
    int row = s.top + y / RowHeight(win);
    return (y >= 0 && row < int(s.items.size())) ? row : -1;
}

void Paint(uint32_t win, ListState &s)
{
    PlPaint ps;
    if (!WinBeginPaint(win, &ps)) return;
    DrawContext *dc = ps.dc;
    PlRect rows = RowsRect(win, s);
    DcFillRect(dc, rows, kPlBrushWhite);
    PlFont *font = CtlFont(win);
    DcSelectFont(dc, font);
    DcSetBkMode(dc, PlBkMode::Transparent);
    int h = RowHeight(win);
    bool enabled = WinIsEnabled(win);
    for (int i = s.top, y = 0; i < int(s.items.size()) && y < rows.bottom; ++i, y += h) {
        PlRect r{0, y, rows.right, y + h};
        bool sel = i == s.cur;
        if (sel) DcFillRect(dc, r, PlSolidBrush(kSelBack));
        DcSetTextColor(dc, !enabled ? kPlGrey : sel ? kPlWhite : kPlBlack);
        DcTextOut(dc, 2, y + 1, s.items[size_t(i)]);
        if (sel && s.focused) DcDrawFocusRect(dc, r);
    }
    WinEndPaint(win, &ps);
}

int Insert(uint32_t win, ListState &s, int at, const char *text)
{
    std::string t = text ? text : "";
    if (at < 0 || at > int(s.items.size())) at = int(s.items.size());
    s.items.insert(s.items.begin() + at, t);
    if (s.cur >= at) ++s.cur;
    Redraw(win, s);
    return at;
}
// A list box with the vertical-scroll style gets its bar as a child. The
// state is looked up again after the bar is made: making a window may
// change the table of states.
void AddScrollBar(uint32_t win)
{
    if (!(WinStyle(win) & PlStyle::VScroll)) return;
    uint32_t bar = WinCreate("ScrollBar", "", PlStyle::Child, PlRect{0, 0, kPlScrollBarWidth, 10}, win, 0, 0);
    if (ListState *s = StateOf(win)) s->bar = bar;
}
}  // namespace

intptr_t ListBoxProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    intptr_t result = 0;
    ListState *sp = CtlCommonMessages<ListState>(win, msg, wParam, lParam, &result, Paint,
                                                 [](uint32_t w, ListState &) { AddScrollBar(w); });
    if (!sp) return result;
    ListState &s = *sp;
    switch (msg) {
    case PlMsg::Size:
        PlaceBar(win, s);
        if (ListState *again = StateOf(win)) {
            again->top = std::min(again->top, MaxTop(win, *again));
            Redraw(win, *again);
        }
        return 0;
    case PlLb::AddString:
        return Insert(win, s, -1, reinterpret_cast<const char *>(lParam));
    case PlLb::InsertString:
        return Insert(win, s, int(intptr_t(wParam)), reinterpret_cast<const char *>(lParam));
    case PlLb::DeleteString: {
        int i = int(intptr_t(wParam));
        if (i < 0 || i >= int(s.items.size())) return -1;
        s.items.erase(s.items.begin() + i);
        if (s.cur == i) s.cur = -1;
        else if (s.cur > i) --s.cur;
        s.top = std::min(s.top, MaxTop(win, s));
        Redraw(win, s);
        return intptr_t(s.items.size());
    }
    case PlLb::ResetContent:
        s.items.clear();
        s.cur = -1;
        s.top = 0;
        Redraw(win, s);
        return 0;
    case PlLb::SetCurSel: {
        int i = int(intptr_t(wParam));
        if (i < 0 || i >= int(s.items.size())) {
            s.cur = -1;
            WinInvalidate(win, nullptr, true);
            return -1;
        }
        Select(win, s, i, false);
        return i;
    }
    case PlLb::GetCurSel:
        return s.cur;
    case PlLb::GetSel: {
        int i = int(intptr_t(wParam));
        if (i < 0 || i >= int(s.items.size())) return -1;
        return i == s.cur ? 1 : 0;
    }
    case PlLb::GetSelCount:
        return s.cur >= 0 ? 1 : 0;
    case PlLb::GetText: {
        int i = int(intptr_t(wParam));
        char *buf = reinterpret_cast<char *>(lParam);
        if (i < 0 || i >= int(s.items.size()) || !buf) return -1;
        // Callers hand in 256 bytes: a longer row is cut to what they hold.
        size_t n = std::min(s.items[size_t(i)].size(), size_t(kMaxRowText));
        std::memcpy(buf, s.items[size_t(i)].data(), n);
        buf[n] = 0;
        return intptr_t(n);
    }
    case PlLb::GetTextLen: {
        int i = int(intptr_t(wParam));
        if (i < 0 || i >= int(s.items.size())) return -1;
        // What GetText gives, so that a buffer of this length plus one is enough.
        return intptr_t(std::min(s.items[size_t(i)].size(), size_t(kMaxRowText)));
    }
    case PlLb::GetCount:
        return intptr_t(s.items.size());
    case PlLb::GetTopIndex:
        return s.top;
    case PlLb::SetTopIndex:
        SetTop(win, s, int(intptr_t(wParam)));
        return 0;
    case PlMsg::VScroll: {
        int code = PlLoWord(intptr_t(wParam));
        int pos = PlHiWord(intptr_t(wParam));
        int page = std::max(1, Visible(win) - 1);
        switch (code) {
        case PlSb::LineUp: SetTop(win, s, s.top - 1); break;
        case PlSb::LineDown: SetTop(win, s, s.top + 1); break;
        case PlSb::PageUp: SetTop(win, s, s.top - page); break;
        case PlSb::PageDown: SetTop(win, s, s.top + page); break;
        case PlSb::ThumbTrack:
        case PlSb::ThumbPosition: SetTop(win, s, pos); break;
        default: break;
        }
        if (s.bar) ScrollBarSetPos(s.bar, s.top, true);
        return 0;
    }
    case PlMsg::KeyDown: {
        int page = std::max(1, Visible(win) - 1);
        int cur = s.cur < 0 ? s.top - 1 : s.cur;
        switch (wParam) {
        case PlKey::Up: Select(win, s, s.cur < 0 ? s.top : cur - 1, true); break;
        case PlKey::Down: Select(win, s, cur + 1, true); break;
        case PlKey::PageUp: Select(win, s, cur - page, true); break;
        case PlKey::PageDown: Select(win, s, cur + page, true); break;
        case PlKey::Home: Select(win, s, 0, true); break;
        case PlKey::End: Select(win, s, int(s.items.size()) - 1, true); break;
        default: break;
        }
        return 0;
    }
    case PlMsg::Char:
        if (wParam >= 0x20 && wParam != 0x7F) TypeAhead(win, s, uint8_t(wParam));
        return 0;
    case PlMsg::LButtonDown:
    case PlMsg::LButtonDblClk: {
        if (WinFocus() != win) WinSetFocus(win);
        ListState *again = StateOf(win);
        if (!again) return 0;
        int row = RowAt(win, *again, PlHiShort(lParam));
        if (row < 0) return 0;
        Select(win, *again, row, true);
        again = StateOf(win);
        if (again && msg == PlMsg::LButtonDblClk && (WinStyle(win) & PlListStyle::Notify))
            CtlNotify(win, PlLbn::DblClk);
        return 0;
    }
    case PlMsg::SetFocus:
        s.focused = true;
        WinInvalidate(win, nullptr, true);
        return 0;
    case PlMsg::KillFocus:
        s.focused = false;
        WinInvalidate(win, nullptr, true);
        return 0;
    case PlMsg::ShowWindow:
        if (wParam) UpdateBar(win, s);
        return 0;
    default:
        return WinDefProc(win, msg, wParam, lParam);
    }
}

int ListBoxAdd(uint32_t list, std::string_view text)
{
    std::string t(text);
    return int(WinSend(list, PlLb::AddString, 0, reinterpret_cast<intptr_t>(t.c_str())));
}

std::string ListBoxText(uint32_t list, int index)
{
    ListState *s = StateOf(list);
    if (!s || index < 0 || index >= int(s->items.size())) return std::string();
    return s->items[size_t(index)];
}

int ListBoxCount(uint32_t list) { return int(WinSend(list, PlLb::GetCount, 0, 0)); }
int ListBoxCurSel(uint32_t list) { return StateOf(list) ? int(WinSend(list, PlLb::GetCurSel, 0, 0)) : -1; }
void ListBoxSetCurSel(uint32_t list, int index) { WinSend(list, PlLb::SetCurSel, uintptr_t(intptr_t(index)), 0); }
int ListBoxTopIndex(uint32_t list) { return int(WinSend(list, PlLb::GetTopIndex, 0, 0)); }

uint32_t ListBoxScrollBar(uint32_t list)
{
    ListState *s = StateOf(list);
    return s ? s->bar : 0;
}

int ListBoxRowHeight(uint32_t list) { return RowHeight(list); }
