// window_mouse.h - the mouse on a record window: clicks on fields and
// controls, dialog buttons by window type, the reset of a window, and the
// tracking of a press on a drawn control from button down to button up.
#pragma once

#include <cstdint>

#include "core/definitions.h"

// ---- window_mouse.cpp ----
// A click at point (y high, x low) in n, single or double.
void WindowMouseClick(int n, int32_t point, bool shift, bool dbl);
// A notification of control `control` of n.
void WinControlNotify(int n, uint32_t control, int code);
// Runs push button `control` of n with its button code.
void DialogButton(int n, int control, int code, int flag);
// The slot index of n's control whose platform handle is `control`, on a shown page; 65535 none.
int WindowControlLookup(int n, uint32_t control);
// Command 809: n back to its type's default rectangle, stored as its placement, list column 0, page 1.
void WindowReset(int n);
// A button press on the edit control of a window's field under edit,
// the first since the control opened, while the whole text the control
// opened with is still selected: the text stays selected, so that what
// the user types replaces it, as after a click into any other field.
// True when the press was taken here (it is not dispatched).
bool FirstClickKeepsOfferedText(uint32_t win, uint32_t msg);

// ---- press_tracking.cpp ----
// What a press in progress is on. Kinds 9..12 are the form designer's:
// dragging the selection, a rubber band, a resize by a corner mark and a
// resize by a mid-side mark.
enum PressKind : uint8_t { PressNone, PressPush, PressCheck, PressRadio, PressIcon, PressHeader,
                           PressPrevArrow, PressNextArrow, PressDesignerDrag = 9, PressDesignerBand = 10,
                           PressDesignerCorner = 11, PressDesignerSide = 12, PressTab = 13, PressMatrixTab = 14 };
// The one press in progress: its kind, window, rectangle, the icons of its
// two faces, the control slot and record offset it changes, the radio value,
// its definition entries, and whether the pointer is inside.
struct PressStateRec {
    uint8_t kind;                          // PressKind; PressNone when no press runs
    int window;
    MacRect rect;
    uint16_t pressedIcon, normalIcon;
    int control;
    uint16_t field, radioValue;
    const uint8_t *controlEntry, *iconEntry;
    bool inside, shift, dbl;
    // designer presses: the press point (y high, x low), the side a
    // mid-side mark moves (1 top, 2 right, 3 bottom, 4 left), the drag's
    // offset and the rectangle the resize started from
    int32_t anchor;
    int side;
    int dx, dy;
    MacRect start;
};
extern PressStateRec PressState;
// Starts a press on a drawn control, icon button, list header or arrow at point; true when taken.
bool WinMousePress(int n, int32_t point, bool shift, bool dbl);
// Starts a press on an icon button of n at point; true when taken.
bool IconButtonPress(int n, int32_t point);
// Starts a press on a list column's header of n at point; true when taken.
bool ListHeaderPress(int n, int32_t point);
// Starts a press on the record arrows of n at point; true when taken.
bool RecordArrowPress(int n, int32_t point);
// One move step of the press in progress.
void WinMouseTrack(int n, int32_t point);
// Ends the press in progress at point, running its action when inside.
void WinMouseRelease(int n, int32_t point);
// True while a press is in progress.
bool PressRunning();
// Works check box or radio button `control` of n, by a press or its
// shortcut: editing starts first (nothing when it cannot), the type is
// asked when `askType`, then the value word toggles or takes the radio's
// value, the type hears of it (WindowListChoice) and the controls are
// redrawn when the value changed. True when it changed.
bool WinControlChoose(int n, int control, bool askType);
// Shows matrix-column page `page` of n: the field under edit is committed
// and n repainted.
void MatrixTabChoose(int n, int page);
