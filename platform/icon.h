// The program's own masked 32x32 icons, drawn by code and kept under the
// numbers the windows ask for: the top-bar buttons, the window-class icons,
// check boxes, radio buttons, list check marks, overflow marks and the record
// arrows. An icon is opaque where its mask is set and leaves the background
// elsewhere; an unknown number draws a plain framed box instead.
#pragma once

#include <span>

#include "platform/draw.h"

constexpr int kPlIconSize = 32;

// Icon numbers (the numbers are the contract; the pictures are ours).
enum PlIconNumber : int {
    kIconPrint = 3,           // top bar, print released
    kIconRecordUpDown = 4,    // top bar, back (upper half) and forward (lower half) released
    kIconPrintPressed = 7,
    kIconBackPressed = 11,    // upper half pressed
    kIconForwardPressed = 12, // lower half pressed
    kIconFrame = 13,          // class icons 13..20
    kIconReport = 14,
    kIconDocument = 15,
    kIconList = 16,
    kIconMaintenance = 17,
    kIconSettings = 18,
    kIconReportWindow = 19,
    kIconDefault = 20,
    kIconDropDown = 130,      // the "v" push button
    kIconRadioOff = 301,      // radio button; +2 is the pressed look
    kIconRadioOn = 302,
    kIconRadioOffPressed = 303,
    kIconRadioOnPressed = 304,
    kIconCheckOff = 331,      // check box; +2 is the pressed look
    kIconCheckOn = 332,
    kIconCheckOffPressed = 333,
    kIconCheckOnPressed = 334,
    kIconCellFlag = 391,      // a set flag in a list or matrix cell (a tick)
    kIconCellFlagSelected = 392,  // the same on a selected row
    kIconOverflowLeft = 398,  // text cut at the left edge of a field
    kIconOverflowRight = 399, // text cut at the right edge
    kIconArrowsNone = 400,    // record arrows: previous (left half), next (right half)
    kIconArrowsNext = 401,
    kIconArrowsPrev = 402,
    kIconArrowsBoth = 403,
    kIconArrowsPrevPressed = 410,      // next disabled
    kIconArrowsPrevPressedNext = 411,  // next enabled
    kIconArrowsNextPressed = 412,      // previous disabled
    kIconArrowsNextPressedPrev = 413,  // previous enabled
};

// Every number that has a picture, ascending.
std::span<const int> IconNumbers();
bool IconExists(int number);

// The icon as a 32x32 ARGB32 surface (alpha 0 or 255), owned by this module and
// kept for the run; null for an unknown number.
cairo_surface_t *IconSurface(int number);

// Draws icon `number` with its top-left corner at (x, y), logical. Returns
// false for an unknown number, which draws a framed 32x32 box instead.
bool DcDrawIcon(DrawContext *dc, int number, int x, int y);
// The same centred on (cx, cy): top-left at (cx - 16, cy - 16).
bool DcDrawIconCentred(DrawContext *dc, int number, int cx, int cy);
