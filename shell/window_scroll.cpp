// window_scroll.cpp - a record window's scroll bars, and the scrolling of
// its report, preview and designer panes.
#include <algorithm>
#include <cassert>

#include "output/devices/report_output.h"
#include "outputwin/designer.h"
#include "platform/control.h"
#include "platform/window.h"
#include "shell/window_drawing.h"
#include "shell/window_table.h"

// Brings the scroll bars of n up to the panes they move. A bar ranges
// from the pane's first top row (0 for a matrix, 1 for a list, whose
// positions count from 1) to the last top row that still fills the pane
// (scrollTopMax - rowsShown + 1), so that its position is the pane's top
// row; a top row outside that range shows as the range's end. When every
// row fits, the bar keeps its range and position unless the pane is
// scrolled down, when it still reaches back to the top. Slots without a
// created bar are skipped.
void WinScrollBarsUpdate(int n)
{
    assert(WinIsOpen(n));
    // A preview's bar counts pixels of its laid-out report, not rows.
    if (WinKindOf(n) == KindCode(WindowKind::Preview)) {
        PreviewBarUpdate(n);
        return;
    }
    for (int i = 0; i < ControlSlotCount; i++) {
        const uint8_t *e = WinControlByIndex(n, i);
        if (!e) break;
        ControlSlot &s = WinTable[n]->controls[i];
        if (DefU16(e + ControlEntry::Kind) != CtlScroll || !s.control || !WinIsWindow(s.control)) continue;
        int32_t top = s.position, max = s.maximum, low = std::max<int32_t>(0, s.minimum);
        if (s.rowsShown <= max) {
            int32_t range = std::max(low, max - s.rowsShown + 1);
            int32_t position = top >= low && top <= range ? top : range;
            ScrollBarSetRange(s.control, low, range, true);
            ScrollBarSetPos(s.control, position, true);
        } else if (top > low) {
            ScrollBarSetRange(s.control, low, top, true);
            ScrollBarSetPos(s.control, top, true);
        }
    }
}

// Scrolls a form designer's pane of n to `top` pixels of the form
// (within the slot's range) and repaints its content.
void WinScrollPane(int n, int slot, int32_t top)
{
    if (!WinIsOpen(n) || slot < 0 || slot >= ControlSlotCount) return;
    ControlSlot &s = WinTable[n]->controls[size_t(slot)];
    int32_t low = s.minimum, high = std::max(s.minimum, s.maximum - s.pageSize);
    top = std::clamp(top, low, high);
    if (top == s.position && top == WinTable[n]->paneScroll) return;
    s.position = top;
    WinTable[n]->paneScroll = top;
    if (s.control) ScrollBarSetPos(s.control, top, true);
    DesignerPaint(n);
}
