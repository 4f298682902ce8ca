// draw_port.h - the one current drawing port through which the shell
// draws: a window number is made current and every primitive then acts
// on the device context of that window's MDI child.
//
// Rectangles are MacRects (top, left, bottom, right) and become platform
// rectangles only at the call. Text positions name the baseline of the UI
// font. The pen keeps the position of the last MoveTo and a mode 0..6.
// Anything drawn while no port is current is dropped. Nested drawing
// saves the port (GetPortWindow) and restores it (RestorePortWindow).
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/definitions.h"
#include "platform/draw.h"
#include "platform/font.h"

struct PortStateRec {
    DrawContext *dc;             // held context of the current port, null none
    uint32_t window;             // the platform window dc belongs to
    int portWindow;              // current port window number, 0 none
    int penX, penY;              // set only by MoveTo
    int penMode;                 // 0..6
};
extern PortStateRec PortState;
// The UI fonts made at start-up; while null the platform's UI fonts are used.
extern PlFont *UiFontNormal, *UiFontBold;

// Makes window n the port (0: none), releasing the context held before.
void SetPortWindow(int n);
// The current port window number, also stored in *saved.
int GetPortWindow(int *saved);
// Makes a saved port window current again.
void RestorePortWindow(int saved);

// Makes window n the port for the life of the object, giving the old one
// back at its end, so that every way out of a drawing routine restores it.
struct PortScope {
    int saved;
    explicit PortScope(int n)
    {
        GetPortWindow(&saved);
        SetPortWindow(n);
    }
    ~PortScope() { RestorePortWindow(saved); }
    PortScope(const PortScope &) = delete;
    PortScope &operator=(const PortScope &) = delete;
};
// Clips the port to r; returns a token of the previous clip (0: none).
int ClipToRect(int n, const MacRect *r);
// The same operation as ClipToRect.
int ClipToRect2(int n, const MacRect *r);
// Returns to the clip of a token; 0 gets the port afresh, without any clip.
void RestoreClip(int n, int previous);
// Opaque background, normal UI font.
void UseRegularFont(int n);
// Transparent background, bold UI font.
void UseSemiboldFont(int n);
// Opaque background, bold UI font.
void UseSemiboldFontOpaque(int n);
// Transparent background, normal UI font.
void UseRegularFontTransparent(int n);
// Inverse (1) or normal colours, then the bold or normal UI font.
void SetTextStyle(int n, int inverse, bool bold);
// Opaque white text on black.
void SetTextInverse();
// Opaque black text on white.
void SetTextNormal();
// Draws a PString with its baseline starting at (x, y).
void DrawPString(int x, int y, const uint8_t *text);
// Width in pixels of a PString in the port's font.
int PStringWidth(const uint8_t *text);
// The same two on a given context (a bar's paint context has no window
// number); the width without a context is that of the normal UI font.
void DcDrawPString(DrawContext *dc, int x, int y, const uint8_t *text);
int DcPStringWidth(DrawContext *dc, const uint8_t *text);
// Remembers (x, y) as the pen position.
void MoveTo(int x, int y);
// Sets the pen mode 0..6 and its pen.
void SetPenMode(int m);
// Draws or fills from the pen position to (x, y) as the pen mode says.
void LineToMode(int x, int y);
// A one-pixel red line to (x, y).
void RedLineTo(int x, int y);
// A red (flag) or white one-pixel line to (x, y).
void MarkLineTo(int x, int y, bool flag);
// One line in window n in the given mode, keeping the current port.
void PortLine(int n, int x1, int y1, int x2, int y2, int mode);
// A one-pixel black frame.
void FrameRectBlack(const MacRect *r);
// A black frame whose width is the given number, at least 1.
void FrameRectWidth(const MacRect *r, const PackedDecimal *width);
// Fills with white.
void EraseRectWhite(const MacRect *r);
// Inverts the pixels.
void InvertRectPort(const MacRect *r);
// The fill modes: white, black, grey (the dark edge of a raised shape)
// and light grey (the face of a control).
constexpr int FillWhite = 1, FillBlack = 2, FillDark = 3, FillFace = 4;
// Fills r in a fill mode; another mode fills nothing.
void FillRectMode(const MacRect *r, int mode);
// One-pixel lines filled in a mode, both ends drawn: from x1 to x2 at y,
// and from y1 to y2 at x. A line whose end lies before its start draws
// nothing, so that a shape too small for its edges leaves them out.
void FillHLine(int x1, int x2, int y, int mode);
void FillVLine(int x, int y1, int y2, int mode);
// The focus rectangle in window n, keeping the current port.
void DrawFocusRectIn(int n, const MacRect *r);
// Fills r from left, top, right, bottom.
void MakeRect(MacRect *r, int left, int top, int right, int bottom);
// The normalised rectangle spanned by two points.
void RectFromPoints(MacRect *r, int x1, int y1, int x2, int y2);
// True when a and b overlap.
bool IntersectMacRect(const MacRect *a, const MacRect *b);
// The smallest rectangle holding a and b.
void UnionMacRect(const MacRect *a, const MacRect *b, MacRect *out);
// Moves a platform rectangle by dx, dy.
void OffsetMacRect(PlRect *r, int dx, int dy);
// Draws icon `icon` centred on (x, y); nothing when it is missing.
void DrawIconAt(int icon, int x, int y);
// Draws an icon with its label centred below it.
void DrawIconLabel(int icon, int x, int y, const uint8_t *label);
// Draws an icon at (x, y) in a platform window through a context of its own.
void DrawWindowIcon(uint32_t window, int x, int y, int icon);
// Draws the bottom bar's buttons on the bar's paint context.
void DrawToolbarButtons(DrawContext *bar);
