// The single-line EDIT control: text of at most 255 characters, selection
// with anchor and caret, typing, Backspace and Delete, Home/End/arrows (with
// Shift extending the selection), mouse selection, horizontal scrolling,
// password masking and cut/copy/paste through the clipboard.
#include <algorithm>
#include <cstring>

#include "platform/clipboard.h"
#include "platform/control.h"
#include "platform/control_internal.h"
#include "platform/queue.h"
#include "platform/window.h"

namespace {
constexpr PlColor kSelBack = PlRgb(0, 0, 128);
constexpr int kMargin = 1;

struct EditState {
    std::string text;
    int anchor = 0;
    int caret = 0;
    int xoff = 0;          // pixels scrolled to the left
    int limit = kPlEditMaxText;
    bool focused = false;
    bool dragging = false;
};

EditState *StateOf(uint32_t win) { return CtlStateOf<EditState>(win); }

bool IsPassword(uint32_t win) { return (WinStyle(win) & PlEditStyle::Password) != 0; }

// The text as shown (masked for passwords).
std::string Shown(uint32_t win, const EditState &s)
{
    return IsPassword(win) ? std::string(s.text.size(), '*') : s.text;
}

int XOf(uint32_t win, const EditState &s, int index)
{
    std::string shown = Shown(win, s);
    return CtlTextWidth(CtlFont(win), std::string_view(shown).substr(0, size_t(index)));
}

// The character boundary nearest to client x.
int IndexAt(uint32_t win, const EditState &s, int x)
{
    int target = x - kMargin + s.xoff;
    int n = int(s.text.size());
    int prev = 0;
    for (int i = 1; i <= n; ++i) {
        int cx = XOf(win, s, i);
        if (cx >= target) return (target - prev < cx - target) ? i - 1 : i;
        prev = cx;
    }
    return n;
}

void EnsureCaretVisible(uint32_t win, EditState &s)
{
    int width = PlRectWidth(WinClientRect(win)) - 2 * kMargin;
    if (width <= 0) return;
    int cx = XOf(win, s, s.caret);
    if (cx - s.xoff > width - 1) s.xoff = cx - width + 1 + width / 4;
    if (cx < s.xoff) s.xoff = std::max(0, cx - width / 4);
    int total = XOf(win, s, int(s.text.size()));
    if (total - s.xoff < width - 1) s.xoff = std::max(0, total - width + 1);
}

void Changed(uint32_t win, EditState &s, bool notify)
{
    EnsureCaretVisible(win, s);
    WinInvalidate(win, nullptr, false);
    if (notify) CtlNotify(win, PlEn::Change);
}

int SelLo(const EditState &s) { return std::min(s.anchor, s.caret); }
int SelHi(const EditState &s) { return std::max(s.anchor, s.caret); }

// Puts text in place of the selection as far as the limit (and, without
// automatic scrolling, the width) allows. Returns false when nothing fitted.
bool Replace(uint32_t win, EditState &s, std::string_view text)
{
    int lo = SelLo(s), hi = SelHi(s);
    std::string in;
    for (char c : text)
        if (c != '\r' && c != '\n' && c != 0) in.push_back(c);
    int room = s.limit - (int(s.text.size()) - (hi - lo));
    if (room < 0) room = 0;
    if (int(in.size()) > room) in.resize(size_t(room));
    std::string next = s.text.substr(0, size_t(lo)) + in + s.text.substr(size_t(hi));
    if (!(WinStyle(win) & PlEditStyle::AutoHScroll)) {
        int width = PlRectWidth(WinClientRect(win)) - 2 * kMargin;
        while (!in.empty()) {
            std::string shown = IsPassword(win) ? std::string(next.size(), '*') : next;
            if (CtlTextWidth(CtlFont(win), shown) <= width) break;
            in.pop_back();
            next = s.text.substr(0, size_t(lo)) + in + s.text.substr(size_t(hi));
        }
    }
    if (in.empty() && lo == hi) return false;
    s.text = next;
    s.caret = s.anchor = lo + int(in.size());
    return true;
}

void Copy(uint32_t win, const EditState &s)
{
    if (IsPassword(win) || SelLo(s) == SelHi(s)) return;  // passwords are not copied out
    ClipboardSetText(std::string_view(s.text).substr(size_t(SelLo(s)), size_t(SelHi(s) - SelLo(s))));
}

void Paint(uint32_t win, EditState &s)
{
    PlPaint ps;
    if (!WinBeginPaint(win, &ps)) return;
    DrawContext *dc = ps.dc;
    PlRect c = WinClientRect(win);
    bool enabled = WinIsEnabled(win);
    DcFillRect(dc, c, enabled ? kPlBrushWhite : kPlBrushLightGrey);
    PlFont *font = CtlFont(win);
    DcSelectFont(dc, font);
    DcSetBkMode(dc, PlBkMode::Transparent);
    std::string shown = Shown(win, s);
    int h = FontMetrics(font).height;
    int y = (PlRectHeight(c) - h) / 2;
    int x0 = kMargin - s.xoff;
    DcSetTextColor(dc, enabled ? kPlBlack : kPlGrey);
    DcTextOut(dc, x0, y, shown);
    int lo = SelLo(s), hi = SelHi(s);
    if (lo != hi && s.focused) {
        int a = x0 + XOf(win, s, lo), b = x0 + XOf(win, s, hi);
        DcFillRect(dc, PlRect{a, y, b, y + h}, PlSolidBrush(kSelBack));
        DcSetTextColor(dc, kPlWhite);
        DcTextOut(dc, a, y, std::string_view(shown).substr(size_t(lo), size_t(hi - lo)));
    }
    if (s.focused) {
        int cx = x0 + XOf(win, s, s.caret);
        DcFillRect(dc, PlRect{cx, y, cx + 1, y + h}, kPlBrushBlack);
    }
    WinEndPaint(win, &ps);
}

void MoveCaret(uint32_t win, EditState &s, int to, bool extend)
{
    s.caret = std::clamp(to, 0, int(s.text.size()));
    if (!extend) s.anchor = s.caret;
    EnsureCaretVisible(win, s);
    WinInvalidate(win, nullptr, false);
}

void KeyDown(uint32_t win, EditState &s, uint32_t vk)
{
    bool shift = PlKeyState(PlKey::Shift) < 0;
    bool ctrl = PlKeyState(PlKey::Control) < 0;
    bool readOnly = (WinStyle(win) & PlEditStyle::ReadOnly) != 0;
    switch (vk) {
    case PlKey::Left:
        if (!shift && SelLo(s) != SelHi(s)) MoveCaret(win, s, SelLo(s), false);
        else MoveCaret(win, s, s.caret - 1, shift);
        break;
    case PlKey::Right:
        if (!shift && SelLo(s) != SelHi(s)) MoveCaret(win, s, SelHi(s), false);
        else MoveCaret(win, s, s.caret + 1, shift);
        break;
    case PlKey::Home:
        MoveCaret(win, s, 0, shift);
        break;
    case PlKey::End:
        MoveCaret(win, s, int(s.text.size()), shift);
        break;
    case PlKey::Delete:
        if (readOnly) break;
        if (shift) {  // Shift+Delete cuts
            Copy(win, s);
            if (Replace(win, s, "")) Changed(win, s, true);
            break;
        }
        if (SelLo(s) == SelHi(s)) {
            if (s.caret >= int(s.text.size())) break;
            s.anchor = s.caret + 1;
        }
        if (Replace(win, s, "")) Changed(win, s, true);
        break;
    case PlKey::Insert:
        if (ctrl) Copy(win, s);
        else if (shift && !readOnly) WinSend(win, PlMsg::Paste, 0, 0);
        break;
    default:
        break;
    }
}

void Char(uint32_t win, EditState &s, uint32_t ch)
{
    bool readOnly = (WinStyle(win) & PlEditStyle::ReadOnly) != 0;
    switch (ch) {
    case 3:  // Ctrl+C
        Copy(win, s);
        return;
    case 24:  // Ctrl+X
        if (!readOnly) WinSend(win, PlMsg::Cut, 0, 0);
        return;
    case 22:  // Ctrl+V
        if (!readOnly) WinSend(win, PlMsg::Paste, 0, 0);
        return;
    case 8:  // Backspace
        if (readOnly) return;
        if (SelLo(s) == SelHi(s)) {
            if (s.caret == 0) return;
            s.anchor = s.caret - 1;
        }
        if (Replace(win, s, "")) Changed(win, s, true);
        return;
    default:
        break;
    }
    if (ch < 32 || ch > 255 || readOnly) return;
    char c = char(ch);
    if (Replace(win, s, std::string_view(&c, 1))) Changed(win, s, true);
}
}  // namespace

intptr_t EditProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    intptr_t result = 0;
    EditState *sp =
        CtlCommonMessages<EditState>(win, msg, wParam, lParam, &result, Paint, [](uint32_t w, EditState &made) {
            made.text = WinTitle(w).substr(0, kPlEditMaxText);   // the text given at creation
        });
    if (!sp) return result;
    EditState &s = *sp;
    switch (msg) {
    case PlMsg::SetText: {
        const char *t = reinterpret_cast<const char *>(lParam);
        s.text = std::string(t ? t : "").substr(0, size_t(s.limit));
        s.anchor = s.caret = 0;
        s.xoff = 0;
        Changed(win, s, true);
        return 1;
    }
    case PlMsg::GetText: {
        char *buf = reinterpret_cast<char *>(lParam);
        if (!buf || wParam == 0) return 0;
        size_t n = std::min(size_t(wParam) - 1, s.text.size());
        std::memcpy(buf, s.text.data(), n);
        buf[n] = 0;
        return intptr_t(n);
    }
    case PlMsg::GetTextLength:
    case PlEm::LineLength:
        return intptr_t(s.text.size());
    case PlEm::GetSel: {
        uint32_t lo = uint32_t(SelLo(s)), hi = uint32_t(SelHi(s));
        if (wParam) *reinterpret_cast<uint32_t *>(wParam) = lo;
        if (lParam) *reinterpret_cast<uint32_t *>(lParam) = hi;
        return intptr_t(lo | (hi << 16));
    }
    case PlEm::SetSel: {
        int n = int(s.text.size());
        int start = int(intptr_t(wParam)), end = int(lParam);
        if (start < 0) {
            s.anchor = s.caret;  // removes the selection
        } else {
            if (end < 0 || end > n) end = n;
            s.anchor = std::min(start, n);
            s.caret = end;
        }
        EnsureCaretVisible(win, s);
        WinInvalidate(win, nullptr, false);
        return 0;
    }
    case PlEm::ReplaceSel: {
        const char *t = reinterpret_cast<const char *>(lParam);
        if (Replace(win, s, t ? t : "")) Changed(win, s, true);
        return 0;
    }
    case PlEm::LimitText:
        s.limit = (wParam == 0 || wParam > uintptr_t(kPlEditMaxText)) ? kPlEditMaxText : int(wParam);
        return 0;
    case PlMsg::Cut:
        if (IsPassword(win)) return 0;
        Copy(win, s);
        if (Replace(win, s, "")) Changed(win, s, true);
        return 0;
    case PlMsg::Copy:
        Copy(win, s);
        return 0;
    case PlMsg::Paste: {
        std::string t;
        if (ClipboardGetText(&t) && Replace(win, s, t)) Changed(win, s, true);
        return 0;
    }
    case PlMsg::Clear:
        if (Replace(win, s, "")) Changed(win, s, true);
        return 0;
    case PlMsg::SetFocus:
        s.focused = true;
        WinInvalidate(win, nullptr, false);
        return 0;
    case PlMsg::KillFocus:
        s.focused = false;
        s.dragging = false;
        WinInvalidate(win, nullptr, false);
        return 0;
    case PlMsg::KeyDown:
        KeyDown(win, s, uint32_t(wParam));
        return 0;
    case PlMsg::Char:
        Char(win, s, uint32_t(wParam));
        return 0;
    case PlMsg::LButtonDown: {
        if (WinFocus() != win) WinSetFocus(win);
        EditState *again = StateOf(win);
        if (!again) return 0;
        bool shift = (wParam & PlMouseKey::Shift) != 0;
        MoveCaret(win, *again, IndexAt(win, *again, PlLoShort(lParam)), shift);
        again->dragging = true;
        WinSetCapture(win);
        return 0;
    }
    case PlMsg::MouseMove:
        if (s.dragging) MoveCaret(win, s, IndexAt(win, s, PlLoShort(lParam)), true);
        return 0;
    case PlMsg::LButtonUp:
        if (s.dragging) {
            s.dragging = false;
            if (WinCapture() == win) WinReleaseCapture();
        }
        return 0;
    case PlMsg::LButtonDblClk:
        s.anchor = 0;
        s.caret = int(s.text.size());
        EnsureCaretVisible(win, s);
        WinInvalidate(win, nullptr, false);
        return 0;
    case PlMsg::Size:
        EnsureCaretVisible(win, s);
        return 0;
    default:
        return WinDefProc(win, msg, wParam, lParam);
    }
}

std::string EditGetText(uint32_t edit)
{
    EditState *s = StateOf(edit);
    return s ? s->text : std::string();
}

void EditSetText(uint32_t edit, std::string_view text)
{
    std::string t(text);
    WinSend(edit, PlMsg::SetText, 0, reinterpret_cast<intptr_t>(t.c_str()));
}

void EditSetSel(uint32_t edit, int start, int end) { WinSend(edit, PlEm::SetSel, uintptr_t(intptr_t(start)), end); }

void EditGetSel(uint32_t edit, int *start, int *end)
{
    uint32_t a = 0, b = 0;
    WinSend(edit, PlEm::GetSel, reinterpret_cast<uintptr_t>(&a), reinterpret_cast<intptr_t>(&b));
    if (start) *start = int(a);
    if (end) *end = int(b);
}

void EditReplaceSel(uint32_t edit, std::string_view text)
{
    std::string t(text);
    WinSend(edit, PlEm::ReplaceSel, 0, reinterpret_cast<intptr_t>(t.c_str()));
}

int EditCaret(uint32_t edit)
{
    EditState *s = StateOf(edit);
    return s ? s->caret : 0;
}

int EditScrollOffset(uint32_t edit)
{
    EditState *s = StateOf(edit);
    return s ? s->xoff : 0;
}
