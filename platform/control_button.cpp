// The push BUTTON control: a raised box with its text centred (mnemonics
// shown), pressed while the left button is held inside it; a release inside
// (or Space while it has the focus) sends command (273) with the click code to
// the parent. Disabled buttons show grey text and take no input.

#include "platform/control.h"
#include "platform/control_internal.h"
#include "platform/queue.h"
#include "platform/window.h"

namespace {
struct ButtonState {
    bool pressed = false;   // shown pressed
    bool tracking = false;  // the mouse went down on it
    bool focused = false;
};

ButtonState *StateOf(uint32_t win) { return CtlStateOf<ButtonState>(win); }

void Paint(uint32_t win, const ButtonState &s)
{
    PlPaint ps;
    if (!WinBeginPaint(win, &ps)) return;
    PlRect c = WinClientRect(win);
    bool isDefault = (WinStyle(win) & PlButtonStyle::Default) != 0;
    PlRect box = c;
    if (isDefault) {
        DcFrameRect(ps.dc, c, kPlBrushBlack);
        box = PlRect{c.left + 1, c.top + 1, c.right - 1, c.bottom - 1};
    }
    CtlDraw3dBox(ps.dc, box, s.pressed);
    PlRect textBox = s.pressed ? PlRectOffset(box, 1, 1) : box;
    PlFont *font = CtlFont(win);
    std::string title = WinTitle(win);
    int w = CtlMnemonicWidth(font, title);
    int h = FontMetrics(font).height;
    PlColor color = WinIsEnabled(win) ? kPlBlack : kPlGrey;
    CtlDrawMnemonic(ps.dc, font, textBox.left + (PlRectWidth(textBox) - w) / 2,
                    textBox.top + (PlRectHeight(textBox) - h) / 2, title, color);
    if (s.focused) DcDrawFocusRect(ps.dc, PlRect{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3});
    WinEndPaint(win, &ps);
}

void SetPressed(uint32_t win, ButtonState &s, bool on)
{
    if (s.pressed == on) return;
    s.pressed = on;
    WinInvalidate(win, nullptr, false);
}
}  // namespace

intptr_t ButtonProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    intptr_t result = 0;
    ButtonState *sp = CtlCommonMessages<ButtonState>(win, msg, wParam, lParam, &result, Paint);
    if (!sp) return result;
    ButtonState &s = *sp;
    switch (msg) {
    case PlMsg::SetText: {
        intptr_t r = WinDefProc(win, msg, wParam, lParam);
        WinInvalidate(win, nullptr, false);
        return r;
    }
    case PlMsg::LButtonDown:
    case PlMsg::LButtonDblClk:
        if (!WinIsEnabled(win)) return 0;
        s.tracking = true;
        WinSetCapture(win);
        SetPressed(win, s, true);
        return 0;
    case PlMsg::MouseMove:
        if (s.tracking) SetPressed(win, s, PlRectContains(WinClientRect(win), {PlLoShort(lParam), PlHiShort(lParam)}));
        return 0;
    case PlMsg::LButtonUp: {
        if (!s.tracking) return 0;
        s.tracking = false;
        if (WinCapture() == win) WinReleaseCapture();
        bool inside = PlRectContains(WinClientRect(win), {PlLoShort(lParam), PlHiShort(lParam)});
        SetPressed(win, s, false);
        if (inside && WinIsEnabled(win)) CtlNotify(win, PlBn::Clicked);
        return 0;
    }
    case PlMsg::KeyDown:
        if (wParam == PlKey::Space && WinIsEnabled(win)) SetPressed(win, s, true);
        return 0;
    case PlMsg::KeyUp:
        if (wParam == PlKey::Space && s.pressed) {
            SetPressed(win, s, false);
            CtlNotify(win, PlBn::Clicked);
        }
        return 0;
    case PlMsg::SetFocus:
    case PlMsg::KillFocus:
        s.focused = msg == PlMsg::SetFocus;
        WinInvalidate(win, nullptr, false);
        return 0;
    case PlMsg::Enable:
        if (!wParam) {
            s.tracking = false;
            s.pressed = false;
        }
        WinInvalidate(win, nullptr, false);
        return 0;
    default:
        return WinDefProc(win, msg, wParam, lParam);
    }
}

bool ButtonIsPressed(uint32_t button)
{
    ButtonState *s = StateOf(button);
    return s && s->pressed;
}
