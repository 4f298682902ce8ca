// draw_port.cpp - port selection, clipping, fonts and text, the pen and
// its lines.
//
// The port holds at most one device context: that of the current port
// window's MDI child. Clips pushed on it are counted here, so that a clip
// token names a depth of the context's clip stack; a token outlives its
// context harmlessly, because a new context starts the count again.
#include "shell/draw_port.h"

#include <cassert>
#include <string_view>

#include "platform/window.h"
#include "shell/window_table.h"

PortStateRec PortState;
PlFont *UiFontNormal, *UiFontBold;

static int PortClipDepth;   // clips pushed on PortState.dc

// The normal and bold UI fonts: the ones made at start-up, else the
// platform's own.
static PlFont *NormalFont() { return UiFontNormal ? UiFontNormal : FontUiRegular(); }
static PlFont *BoldFont() { return UiFontBold ? UiFontBold : FontUiSemibold(); }

// The MDI child of window n when n is open and has a live one; else 0.
static uint32_t PortChildOf(int n)
{
    if (!WinIsOpen(n)) return 0;
    uint32_t child = WinTable[n]->mdiChild;
    return child && WinIsWindow(child) ? child : 0;
}

// Makes window n the port (0: none). The context held before is released
// first; a window without a live child leaves no port current. The same
// window again keeps its context, unless its slot now holds another
// window than the one the context belongs to.
void SetPortWindow(int n)
{
    if (n == PortState.portWindow && (n == 0 || PortChildOf(n) == PortState.window)) return;
    if (PortState.dc) WinReleaseDc(PortState.window, PortState.dc);
    PortState.dc = nullptr;
    PortState.window = 0;
    PortState.portWindow = 0;
    PortClipDepth = 0;
    uint32_t child = PortChildOf(n);
    if (!child) return;
    DrawContext *dc = WinGetDc(child);
    if (!dc) return;
    PortState.dc = dc;
    PortState.window = child;
    PortState.portWindow = n;
}

// The current port window number, also stored in *saved.
int GetPortWindow(int *saved)
{
    *saved = PortState.portWindow;
    return PortState.portWindow;
}

// Makes a saved port window current again.
void RestorePortWindow(int saved) { SetPortWindow(saved); }

// Clips the port to r (within the clip it had); returns a token of the
// clip before, 0 when no port is current.
int ClipToRect(int n, const MacRect *r)
{
    if (!PortState.dc) return 0;
    PlRect clip;
    RectToWin(r, &clip);
    DcPushClip(PortState.dc, clip);
    return ++PortClipDepth;
}

// The same operation as ClipToRect.
int ClipToRect2(int n, const MacRect *r) { return ClipToRect(n, r); }

// Returns to the clip a token names. Token 0 releases and gets window n's
// port again, which removes every clip.
void RestoreClip(int n, int previous)
{
    if (previous == 0) {
        SetPortWindow(0);
        SetPortWindow(n);
        return;
    }
    if (!PortState.dc) return;
    while (PortClipDepth >= previous) {
        DcPopClip(PortState.dc);
        PortClipDepth--;
    }
}

// Selects a background mode and font on the port when window n exists
// with its child window.
static void PortFont(int n, PlBkMode mode, PlFont *font)
{
    if (!PortChildOf(n) || !PortState.dc) return;
    DcSetBkMode(PortState.dc, mode);
    DcSelectFont(PortState.dc, font);
}

// Opaque background, normal UI font.
void UseRegularFont(int n) { PortFont(n, PlBkMode::Opaque, NormalFont()); }

// Transparent background, bold UI font.
void UseSemiboldFont(int n) { PortFont(n, PlBkMode::Transparent, BoldFont()); }

// Opaque background, bold UI font.
void UseSemiboldFontOpaque(int n) { PortFont(n, PlBkMode::Opaque, BoldFont()); }

// Transparent background, normal UI font.
void UseRegularFontTransparent(int n) { PortFont(n, PlBkMode::Transparent, NormalFont()); }

// Inverse colours when inverse is 1, normal ones otherwise; then the bold
// UI font when bold is set, else the normal one.
void SetTextStyle(int n, int inverse, bool bold)
{
    if (inverse == 1)
        SetTextInverse();
    else
        SetTextNormal();
    if (PortState.dc) DcSelectFont(PortState.dc, bold ? BoldFont() : NormalFont());
}

// Sets opaque text of one colour on another.
static void PortTextColours(PlColor text, PlColor back)
{
    if (!PortState.dc) return;
    DcSetBkMode(PortState.dc, PlBkMode::Opaque);
    DcSetTextColor(PortState.dc, text);
    DcSetBkColor(PortState.dc, back);
}

// Opaque white text on black.
void SetTextInverse() { PortTextColours(kPlWhite, kPlBlack); }

// Opaque black text on white.
void SetTextNormal() { PortTextColours(kPlBlack, kPlWhite); }

// Draws a PString on dc with the baseline of the UI font at (x, y): the
// text's top-left corner goes to (x - 1, y - 11).
void DcDrawPString(DrawContext *dc, int x, int y, const uint8_t *text)
{
    if (dc && text[0]) DcTextOut(dc, x - 1, y - 11, PStringView(text));
}

// Width in pixels of a PString in dc's font, or in the normal UI font
// when there is no context.
int DcPStringWidth(DrawContext *dc, const uint8_t *text)
{
    if (text[0] == 0) return 0;
    return dc ? DcTextExtent(dc, PStringView(text)).cx : FontTextExtent(NormalFont(), PStringView(text)).cx;
}

// Draws a PString on the port with its baseline starting at (x, y).
void DrawPString(int x, int y, const uint8_t *text) { DcDrawPString(PortState.dc, x, y, text); }

// Width in pixels of a PString in the port's font.
int PStringWidth(const uint8_t *text) { return DcPStringWidth(PortState.dc, text); }

// Remembers (x, y) as the pen position and moves the port's pen there.
void MoveTo(int x, int y)
{
    PortState.penX = x;
    PortState.penY = y;
    if (PortState.dc) DcMoveTo(PortState.dc, x, y);
}

// Stores pen mode m; modes 1, 2 and 6 select their stock pen.
void SetPenMode(int m)
{
    PortState.penMode = m;
    if (!PortState.dc) return;
    if (m == 1) DcSetPen(PortState.dc, kPlPenWhite);
    if (m == 2 || m == 6) DcSetPen(PortState.dc, kPlPenBlack);
}

// The end point of a line to (x, y): a vertical line (x as remembered by
// the last MoveTo) ends one pixel lower and a horizontal one one pixel
// further right, so that the pixel at (x, y) is drawn too.
static void LineEnd(int *x, int *y)
{
    int rx = PortState.penX, ry = PortState.penY;
    if (*x == rx) ++*y;
    if (*y == ry) ++*x;
}

// Draws from the context's pen position to (x, y) as the pen mode says:
// modes 1, 2 and 6 a line with the adjusted end point; modes 3 and 5 a
// grey and mode 4 a light-grey fill from the remembered position to
// (x + 1, y + 1); mode 0 nothing.
void LineToMode(int x, int y)
{
    DrawContext *dc = PortState.dc;
    int m = PortState.penMode;
    if (!dc || m < 0 || m > 6) return;
    if (m == 1 || m == 2 || m == 6) {
        DcSetPen(dc, m == 1 ? kPlPenWhite : kPlPenBlack);   // a context got since SetPenMode has its own pen
        LineEnd(&x, &y);
        DcLineTo(dc, x, y);
    } else if (m >= 3) {
        PlRect r{PortState.penX, PortState.penY, x + 1, y + 1};
        DcFillRect(dc, r, m == 4 ? kPlBrushLightGrey : kPlBrushGrey);
    }
}

// A one-pixel solid line of colour c to the adjusted end point; the pen
// selected before is kept.
static void ColourLineTo(int x, int y, PlColor c)
{
    DrawContext *dc = PortState.dc;
    if (!dc) return;
    PlPen old = DcSetPen(dc, PlPen{PlPenStyle::Solid, 1, c});
    LineEnd(&x, &y);
    DcLineTo(dc, x, y);
    DcSetPen(dc, old);
}

// A one-pixel red line to (x, y).
void RedLineTo(int x, int y) { ColourLineTo(x, y, kPlRed); }

// A red (flag) or white one-pixel line to (x, y).
void MarkLineTo(int x, int y, bool flag) { ColourLineTo(x, y, flag ? kPlRed : kPlWhite); }

// One line in window n in the given mode; the port is saved and restored.
void PortLine(int n, int x1, int y1, int x2, int y2, int mode)
{
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    SetPenMode(mode);
    MoveTo(x1, y1);
    LineToMode(x2, y2);
    RestorePortWindow(saved);
}
