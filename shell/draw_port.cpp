// draw_port.cpp - port selection, clipping, fonts and text, the pen and
// its lines.
#include "shell/draw_port.h"

PortStateRec PortState;
PlFont *UiFontNormal, *UiFontBold;

// Makes window n the port (0: none), releasing the context held before.
void SetPortWindow(int n) {}

// The current port window number, also stored in *saved.
int GetPortWindow(int *saved)
{
    *saved = 0;
    return 0;
}

// Makes a saved port window current again.
void RestorePortWindow(int saved) {}

// Clips the port to r; returns a token of the previous clip (0: none).
int ClipToRect(int n, const MacRect *r) { return 0; }

// The same operation as ClipToRect.
int ClipToRect2(int n, const MacRect *r) { return 0; }

// Returns to the clip of a token; 0 gets the port afresh, without any clip.
void RestoreClip(int n, int previous) {}

// Opaque background, normal UI font.
void UseRegularFont(int n) {}

// Transparent background, bold UI font.
void UseSemiboldFont(int n) {}

// Opaque background, bold UI font.
void UseSemiboldFontOpaque(int n) {}

// Transparent background, normal UI font.
void UseRegularFontTransparent(int n) {}

// Inverse (1) or normal colours, then the bold or normal UI font.
void SetTextStyle(int n, int inverse, bool bold) {}

// Opaque white text on black.
void SetTextInverse() {}

// Opaque black text on white.
void SetTextNormal() {}

// Draws a PString with its baseline starting at (x, y).
void DrawPString(int x, int y, const uint8_t *text) {}

// Width in pixels of a PString in the port's font.
int PStringWidth(const uint8_t *text) { return 0; }

// Remembers (x, y) as the pen position.
void MoveTo(int x, int y) {}

// Sets the pen mode 0..6 and its pen.
void SetPenMode(int m) {}

// Draws or fills from the pen position to (x, y) as the pen mode says.
void LineToMode(int x, int y) {}

// A one-pixel red line to (x, y).
void RedLineTo(int x, int y) {}

// A red (flag) or white one-pixel line to (x, y).
void MarkLineTo(int x, int y, bool flag) {}

// One line in window n in the given mode, keeping the current port.
void PortLine(int n, int x1, int y1, int x2, int y2, int mode) {}
