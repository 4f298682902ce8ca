// draw_shapes.cpp - frames, fills, inversion and the focus rectangle on
// the port, and the MacRect helpers.
#include "shell/draw_port.h"

// A one-pixel black frame.
void FrameRectBlack(const MacRect *r) {}

// A black frame whose width is the given number, at least 1.
void FrameRectWidth(const MacRect *r, const PackedDecimal *width) {}

// Fills with white.
void EraseRectWhite(const MacRect *r) {}

// Inverts the pixels.
void InvertRectPort(const MacRect *r) {}

// Fills white (1), black (2), grey (3) or light grey (4).
void FillRectMode(const MacRect *r, int mode) {}

// The focus rectangle in window n, keeping the current port.
void DrawFocusRectIn(int n, const MacRect *r) {}

// Fills r from left, top, right, bottom.
void MakeRect(MacRect *r, int left, int top, int right, int bottom) { *r = MacRect{}; }

// The normalised rectangle spanned by two points.
void RectFromPoints(MacRect *r, int x1, int y1, int x2, int y2) { *r = MacRect{}; }

// True when a and b overlap.
bool IntersectMacRect(const MacRect *a, const MacRect *b) { return false; }

// The smallest rectangle holding a and b.
void UnionMacRect(const MacRect *a, const MacRect *b, MacRect *out) { *out = MacRect{}; }

// Moves a platform rectangle by dx, dy.
void OffsetMacRect(PlRect *r, int dx, int dy) {}
