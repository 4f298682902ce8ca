// Helpers shared by the built-in controls, menus and dialogs: notification
// of the parent, fonts, three-dimensional boxes and mnemonic texts.
#include <cctype>
#include <string>

#include "platform/control_internal.h"
#include "platform/queue.h"
#include "platform/window.h"

void CtlNotify(uint32_t win, int code)
{
    uint32_t parent = WinParent(win);
    if (!parent) return;
    WinSend(parent, PlMsg::Command, uintptr_t(uint16_t(WinControlId(win))) | (uintptr_t(uint16_t(code)) << 16),
            intptr_t(win));
}

PlFont *CtlFont(uint32_t win)
{
    PlFont *f = WinFont(win);
    return f ? f : FontUiRegular();
}

int CtlTextWidth(PlFont *font, std::string_view text)
{
    if (text.empty() || !font) return 0;
    return FontTextExtent(font, text).cx;
}

void CtlDraw3dBox(DrawContext *dc, const PlRect &r, bool pressed)
{
    DcFillRect(dc, r, kPlBrushLightGrey);
    DcFrameRect(dc, r, kPlBrushBlack);
    PlRect in{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (PlRectEmpty(in)) return;
    const PlBrush &hi = pressed ? kPlBrushGrey : kPlBrushWhite;
    const PlBrush &lo = pressed ? kPlBrushLightGrey : kPlBrushGrey;
    DcFillRect(dc, PlRect{in.left, in.top, in.right, in.top + 1}, hi);
    DcFillRect(dc, PlRect{in.left, in.top, in.left + 1, in.bottom}, hi);
    DcFillRect(dc, PlRect{in.left, in.bottom - 1, in.right, in.bottom}, lo);
    DcFillRect(dc, PlRect{in.right - 1, in.top, in.right, in.bottom}, lo);
}

void CtlDrawCentred(DrawContext *dc, PlFont *font, const PlRect &r, std::string_view text, PlColor color)
{
    DcSelectFont(dc, font);
    DcSetTextColor(dc, color);
    DcSetBkMode(dc, PlBkMode::Transparent);
    PlSize ext = DcTextExtent(dc, text);
    DcTextOut(dc, r.left + (PlRectWidth(r) - ext.cx) / 2, r.top + (PlRectHeight(r) - ext.cy) / 2, text);
}

// Splits a mnemonic text into what is shown and the index of the underlined
// character (-1 when none).
static std::string Plain(std::string_view text, int *underline)
{
    std::string out;
    *underline = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&' && *underline < 0) *underline = int(out.size());
        }
        out.push_back(text[i]);
    }
    return out;
}

int CtlMnemonicWidth(PlFont *font, std::string_view text)
{
    int u;
    return CtlTextWidth(font, Plain(text, &u));
}

int CtlDrawMnemonic(DrawContext *dc, PlFont *font, int x, int y, std::string_view text, PlColor color)
{
    int u;
    std::string plain = Plain(text, &u);
    DcSelectFont(dc, font);
    DcSetTextColor(dc, color);
    DcSetBkMode(dc, PlBkMode::Transparent);
    DcTextOut(dc, x, y, plain);
    PlSize ext = DcTextExtent(dc, plain);
    if (u >= 0) {
        int x0 = x + CtlTextWidth(font, std::string_view(plain).substr(0, size_t(u)));
        int x1 = x + CtlTextWidth(font, std::string_view(plain).substr(0, size_t(u) + 1));
        int base = y + FontMetrics(font).ascent + 1;
        DcFillRect(dc, PlRect{x0, base, x1, base + 1}, PlSolidBrush(color));
    }
    return ext.cx;
}

char CtlMnemonicOf(std::string_view text)
{
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return char(std::toupper(static_cast<unsigned char>(text[i + 1])));
    }
    return 0;
}
