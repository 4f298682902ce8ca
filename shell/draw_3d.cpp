// draw_3d.cpp - the 3-D elements record windows are drawn with: etched
// boxes, sunken frames, push buttons, page and matrix-column tabs. The
// light-grey look draws light and dark edge lines; the flat look (no
// LightGreyLook) a black frame only.
#include <algorithm>
#include <cassert>

#include "core/pstring.h"
#include "platform/icon.h"
#include "shell/draw_port.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "shell/window_table.h"

namespace {

// The four edges just inside r: `light` along the top and left, `dark`
// along the bottom and right.
void Edges(const MacRect *r, int light, int dark)
{
    FillHLine(r->left, r->right - 1, r->top, light);
    FillVLine(r->left, r->top, r->bottom - 1, light);
    FillHLine(r->left, r->right - 1, r->bottom - 1, dark);
    FillVLine(r->right - 1, r->top, r->bottom - 1, dark);
}

// r shrunk by d on every side.
MacRect Inset(const MacRect *r, int d)
{
    return MacRect{int16_t(r->top + d), int16_t(r->left + d), int16_t(r->bottom - d), int16_t(r->right - d)};
}

// The face of a button or tab in r with its label centred (shifted by dx,
// dy when pressed); "v" draws the drop-down icon instead.
void ButtonFace(const MacRect *r, const uint8_t *text, bool pressed, bool bold)
{
    MacRect inner = Inset(r, 1);
    FillRectMode(&inner, LightGreyLook ? FillFace : FillWhite);
    FrameRectBlack(r);
    if (LightGreyLook) Edges(&inner, pressed ? FillDark : FillWhite, pressed ? FillWhite : FillDark);
    int dx = pressed ? 2 : 0, dy = pressed ? 1 : 0;
    int cx = (r->left + r->right) / 2 + dx, cy = (r->top + r->bottom) / 2 + dy;
    if (text[0] == 1 && text[1] == 'v') {
        DrawIconAt(kIconDropDown, cx, cy);
        return;
    }
    if (bold)
        UseSemiboldFont(PortState.portWindow);
    else
        UseRegularFontTransparent(PortState.portWindow);
    // DrawPString puts the text's top 11 pixels above y; the UI font is 12 high.
    DrawPString(cx - PStringWidth(text) / 2 + 1, cy + 6, text);
}

}  // namespace

// Draws an etched group box: r in dark grey and, one pixel right and
// down, in white. A title leaves a gap in both top edges from left + 2 to
// left + 12 + its width and stands at (left + 8, top + 4).
void DrawBox3D(const MacRect *r, const uint8_t *title)
{
    int gapFrom = r->right, gapTo = r->right;
    if (title && title[0]) {
        gapFrom = r->left + 2;
        gapTo = r->left + 12 + PStringWidth(title);
    }
    int dark = LightGreyLook ? FillDark : FillBlack;
    for (int shift = 0; shift < 2; shift++) {
        int mode = shift ? FillWhite : dark;
        if (!LightGreyLook && shift) break;
        int top = r->top + shift, left = r->left + shift, bottom = r->bottom - 1 + shift, right = r->right - 1 + shift;
        FillHLine(left, std::min(right, gapFrom - 1), top, mode);
        FillHLine(std::max(left, gapTo), right, top, mode);
        FillVLine(left, top, bottom, mode);
        FillHLine(left, right, bottom, mode);
        FillVLine(right, top, bottom, mode);
    }
    if (title && title[0]) DrawPString(r->left + 8, r->top + 4, title);
}

// Draws the sunken frame of a pane or matrix one pixel outside r: dark
// grey along the top and the left, white along the bottom and the right,
// whose right edge stands 15 pixels further out to hold the scroll bar.
// The flat look draws a black frame around the same area.
void FrameSunken3D(const MacRect *r)
{
    int left = r->left - 1, top = r->top - 1, right = r->right + 15, bottom = r->bottom;
    if (!LightGreyLook) {
        MacRect outer;
        MakeRect(&outer, left, top, right + 1, bottom + 1);
        FrameRectBlack(&outer);
        return;
    }
    FillHLine(left, right, top, FillDark);
    FillVLine(left, top, bottom, FillDark);
    FillHLine(left, right, bottom, FillWhite);
    FillVLine(right, top, bottom, FillWhite);
}

// Draws a push button of n in r with its text centred: raised, or sunken
// with the text 2 right and 1 down when pressed. A button that is not the
// default gets its inner edges once more, inset by 2.
void PushButtonDraw(int n, const MacRect *r, const uint8_t *text, bool isDefault, bool pressed)
{
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    ButtonFace(r, text, pressed, false);
    if (!isDefault && LightGreyLook) {
        MacRect inner = Inset(r, 2);
        Edges(&inner, pressed ? FillDark : FillWhite, pressed ? FillWhite : FillDark);
    }
    RestorePortWindow(saved);
}

// Draws a page tab of n for page `page`: sunken with a bold label when it
// is n's current page (or pressed), raised otherwise.
void PageTabDraw(int n, const MacRect *r, const uint8_t *text, bool isDefault, bool pressed, int page)
{
    assert(WinIsOpen(n));
    bool current = WinTable[n]->currentPage == page;
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    ButtonFace(r, text, pressed || current, current);
    RestorePortWindow(saved);
}

// Draws a tab of the matrix-column tab row of n for column page `number`.
// The selected tab (n's current column page) stands 2 pixels higher and
// has no line along its bottom, so that it joins the matrix below it.
void SecondTabDraw(int n, const MacRect *r, const uint8_t *text, bool isDefault, bool pressed, int number)
{
    assert(WinIsOpen(n));
    int shown = WinTable[n]->matrixColumnPage ? WinTable[n]->matrixColumnPage : 1;   // none chosen yet: the first
    bool selected = shown == number;
    MacRect t = *r;
    if (selected) t.top = int16_t(t.top - 2);
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    MacRect erase = *r;
    erase.top = int16_t(r->top - 2);
    FillRectMode(&erase, LightGreyLook ? FillFace : FillWhite);
    ButtonFace(&t, text, pressed, selected);
    if (selected) FillHLine(t.left + 1, t.right - 2, t.bottom - 1, LightGreyLook ? FillFace : FillWhite);
    RestorePortWindow(saved);
}

// Marks the controls of n bound to a record offset: a frame one pixel
// outside each, black when on, in the window's face colour when off.
void ButtonHighlight(int n, uint32_t fieldOffset, bool on)
{
    assert(WinIsOpen(n));
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    for (int i = 0; const uint8_t *e = WinControlByIndex(n, i); i++) {
        if (DefU16(e + ControlEntry::Offset) != fieldOffset) continue;
        MacRect r;
        WinFieldRect(n, i, &r);
        MacRect outer = Inset(&r, -1);
        int mode = on ? FillBlack : (LightGreyLook ? FillFace : FillWhite);
        Edges(&outer, mode, mode);
    }
    RestorePortWindow(saved);
}

// The x of the centre of the record-arrow icon of the main window.
int RecordArrowX() { return 20; }
