// The EDIT control: text of at most 255 characters, selection with anchor
// and caret, typing, Backspace and Delete, Home/End/arrows (with Shift
// extending the selection), mouse selection, horizontal scrolling, password
// masking and cut/copy/paste through the clipboard. With the multi-line
// style the text holds line breaks ('\n', typed by Return), its lines wrap
// at the control's width and stand from the top, and the control scrolls
// by lines to keep the caret in view.
#include <algorithm>
#include <cstring>
#include <vector>

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
    int top = 0;           // the first line shown (multi-line)
    int limit = kPlEditMaxText;
    bool focused = false;
    bool dragging = false;
};

EditState *StateOf(uint32_t win) { return CtlStateOf<EditState>(win); }

bool IsPassword(uint32_t win) { return (WinStyle(win) & PlEditStyle::Password) != 0; }
bool IsMultiLine(uint32_t win) { return (WinStyle(win) & PlEditStyle::MultiLine) != 0; }

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

// A line as shown: the text from start up to end, without the line break
// that may follow it.
struct Line {
    int start, end;
};

int TextWidth(uint32_t win, const EditState &s, int from, int to)
{
    return CtlTextWidth(CtlFont(win), std::string_view(s.text).substr(size_t(from), size_t(to - from)));
}

// The lines the text is shown on: one for a single-line control; for a
// multi-line one a line per line break, each wrapped where it would pass
// the width: after its last blank that lets it fit, else after the last
// character that fits (at least one).
std::vector<Line> LinesOf(uint32_t win, const EditState &s)
{
    const int n = int(s.text.size());
    if (!IsMultiLine(win)) return {Line{0, n}};
    const int width = PlRectWidth(WinClientRect(win)) - 2 * kMargin;
    std::vector<Line> lines;
    for (int start = 0;;) {
        int brk = int(s.text.find('\n', size_t(start)));
        if (brk < 0) brk = n;
        int from = start;
        while (TextWidth(win, s, from, brk) > width) {
            int fit = from + 1;
            while (fit < brk && TextWidth(win, s, from, fit + 1) <= width) fit++;
            int blank = int(s.text.rfind(' ', size_t(fit - 1)));
            int end = blank >= from && blank < fit ? blank + 1 : fit;
            lines.push_back({from, end});
            from = end;
        }
        lines.push_back({from, brk});
        if (brk >= n) return lines;
        start = brk + 1;
    }
}

// The line of `lines` the caret stands on at index: a wrapped line's end
// is the next line's start.
int LineOfIndex(const std::vector<Line> &lines, int index)
{
    int i = 0;
    while (i + 1 < int(lines.size()) && lines[size_t(i) + 1].start <= index) i++;
    return i;
}

int LineHeight(uint32_t win) { return std::max(1, FontMetrics(CtlFont(win)).height); }

// The top of line i as shown in the client area.
int LineY(uint32_t win, const EditState &s, int i)
{
    if (!IsMultiLine(win)) return (PlRectHeight(WinClientRect(win)) - LineHeight(win)) / 2;
    return kMargin + (i - s.top) * LineHeight(win);
}

// The character boundary of line `line` nearest to client x.
int IndexInLine(uint32_t win, const EditState &s, const Line &line, int x)
{
    int target = x - kMargin + s.xoff;
    int prev = 0;
    for (int i = line.start + 1; i <= line.end; ++i) {
        int cx = IsMultiLine(win) ? TextWidth(win, s, line.start, i) : XOf(win, s, i);
        if (cx >= target) return (target - prev < cx - target) ? i - 1 : i;
        prev = cx;
    }
    return line.end;
}

// The character boundary nearest to client point (x, y).
int IndexAt(uint32_t win, const EditState &s, int x, int y)
{
    std::vector<Line> lines = LinesOf(win, s);
    int i = IsMultiLine(win) ? s.top + (y - kMargin) / LineHeight(win) : 0;
    i = std::clamp(i, 0, int(lines.size()) - 1);
    return IndexInLine(win, s, lines[size_t(i)], x);
}

// A multi-line control shows the lines from s.top: the caret's line is
// brought into view, and no room is left empty below the last line.
void EnsureCaretLineVisible(uint32_t win, EditState &s)
{
    std::vector<Line> lines = LinesOf(win, s);
    int shown = std::max(1, (PlRectHeight(WinClientRect(win)) - 2 * kMargin) / LineHeight(win));
    int at = LineOfIndex(lines, s.caret);
    if (at < s.top) s.top = at;
    if (at >= s.top + shown) s.top = at - shown + 1;
    s.top = std::clamp(s.top, 0, std::max(0, int(lines.size()) - shown));
}

void EnsureCaretVisible(uint32_t win, EditState &s)
{
    if (IsMultiLine(win)) {
        EnsureCaretLineVisible(win, s);
        return;
    }
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
    // A line break (CR, LF or CR LF) is one '\n' in a multi-line text and
    // nothing in a single line.
    const bool multi = IsMultiLine(win);
    std::string in;
    for (size_t i = 0; i < text.size(); i++) {
        char c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (c == '\r' || c == '\n') {
            if (multi) in.push_back('\n');
        } else if (c != 0) {
            in.push_back(c);
        }
    }
    int room = s.limit - (int(s.text.size()) - (hi - lo));
    if (room < 0) room = 0;
    if (int(in.size()) > room) in.resize(size_t(room));
    std::string next = s.text.substr(0, size_t(lo)) + in + s.text.substr(size_t(hi));
    if (!multi && !(WinStyle(win) & PlEditStyle::AutoHScroll)) {
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
    int h = LineHeight(win);
    int x0 = kMargin - s.xoff;
    int lo = SelLo(s), hi = SelHi(s);
    std::vector<Line> lines = LinesOf(win, s);
    const int caretLine = LineOfIndex(lines, s.caret);
    for (int i = IsMultiLine(win) ? s.top : 0; i < int(lines.size()); i++) {
        const Line &line = lines[size_t(i)];
        int y = LineY(win, s, i);
        if (y >= c.bottom) break;
        auto part = [&](int from, int to) { return std::string_view(shown).substr(size_t(from), size_t(to - from)); };
        auto x = [&](int index) { return x0 + CtlTextWidth(font, part(line.start, index)); };
        DcSetTextColor(dc, enabled ? kPlBlack : kPlGrey);
        DcTextOut(dc, x0, y, part(line.start, line.end));
        int a = std::max(lo, line.start), b = std::min(hi, line.end);
        if (a < b && s.focused) {
            DcFillRect(dc, PlRect{x(a), y, x(b), y + h}, PlSolidBrush(kSelBack));
            DcSetTextColor(dc, kPlWhite);
            DcTextOut(dc, x(a), y, part(a, b));
        }
        if (s.focused && i == caretLine) {
            int cx = x(s.caret);
            DcFillRect(dc, PlRect{cx, y, cx + 1, y + h}, kPlBrushBlack);
        }
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

// The index on the line `delta` lines from the caret's nearest to the
// caret's x; the caret's own index when there is no such line.
int IndexOnLineFrom(uint32_t win, const EditState &s, int delta)
{
    std::vector<Line> lines = LinesOf(win, s);
    int at = LineOfIndex(lines, s.caret), to = at + delta;
    if (to < 0 || to >= int(lines.size())) return s.caret;
    const Line &from = lines[size_t(at)];
    return IndexInLine(win, s, lines[size_t(to)], kMargin + TextWidth(win, s, from.start, s.caret));
}

// Where Home (home set) or End puts the caret: the text's start or end,
// or in a multi-line control without Ctrl the caret line's start or end
// (a wrapped line ends before the blank or character it wrapped after).
int LineEdgeIndex(uint32_t win, const EditState &s, bool home, bool ctrl)
{
    if (!IsMultiLine(win) || ctrl) return home ? 0 : int(s.text.size());
    std::vector<Line> lines = LinesOf(win, s);
    size_t at = size_t(LineOfIndex(lines, s.caret));
    const Line &line = lines[at];
    if (home) return line.start;
    bool wrapped = at + 1 < lines.size() && lines[at + 1].start == line.end;
    return wrapped ? line.end - 1 : line.end;
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
    case PlKey::Up:
    case PlKey::Down:
        if (IsMultiLine(win)) MoveCaret(win, s, IndexOnLineFrom(win, s, vk == PlKey::Up ? -1 : 1), shift);
        break;
    case PlKey::Home:
    case PlKey::End:
        MoveCaret(win, s, LineEdgeIndex(win, s, vk == PlKey::Home, ctrl), shift);
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
    case 13:  // Return: a new line in a multi-line control
        if (IsMultiLine(win) && !readOnly && Replace(win, s, "\n")) Changed(win, s, true);
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
        s.xoff = s.top = 0;
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
        MoveCaret(win, *again, IndexAt(win, *again, PlLoShort(lParam), PlHiShort(lParam)), shift);
        again->dragging = true;
        WinSetCapture(win);
        return 0;
    }
    case PlMsg::MouseMove:
        if (s.dragging) MoveCaret(win, s, IndexAt(win, s, PlLoShort(lParam), PlHiShort(lParam)), true);
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
