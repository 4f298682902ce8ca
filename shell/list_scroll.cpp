// list_scroll.cpp - moving through a list: scrolling a pane, keeping a
// position visible, moving the selection by keys and clicks.
//
// A scroll by exactly one row moves the pane's pixels and reads and draws
// only the row that came into view; any other jump (and every scroll of a
// client, whose rows come from the server in one request) fills the whole
// pane again at once, so that rowIds always match the pane's top row.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "database/access/record_access.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/list_windows.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// The rows n shows: its register's record count, or a filtered list's
// rows as last taken when its rows were read (a key or a click must not
// move them from under the rows on screen).
int32_t RecordCount(int n)
{
    if (ListFilterOn(n)) return WinTable[n]->filter.count;
    int reg = WinRegisterOf(n);
    return reg ? int32_t(RegOpenCount(reg)) : 0;
}

// Fills r of window n white and takes it out of what n must repaint:
// the band a one-row scroll uncovered, once its row is drawn anew.
void SettleExposed(int n, const MacRect *r)
{
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    FillRectMode(r, FillWhite);
    RestorePortWindow(saved);
}

// Takes r of window n out of what n must repaint.
void Validate(int n, const MacRect *r)
{
    PlRect pr;
    RectToWin(r, &pr);
    WinValidate(WinTable[n]->mdiChild, &pr);
}

}  // namespace

// Scrolls pane `pane` of list window n so that position t is its top row,
// clamped to the slot's minimum and to the last top that still fills the
// pane (never below 1); nothing when that is the top already. One row
// down or up moves the pane's pixels by a row height and reads the one
// row that came into view; other jumps, and every scroll of a client,
// fill the pane again. The menus and bars follow.
void ListScrollTo(int n, int pane, int32_t t)
{
    if (!WinIsOpen(n) || WinRegisterOf(n) == 0) return;
    int slot = ListPaneSlot(n, pane);
    if (slot < 0) return;
    ControlSlot &s = WinTable[n]->controls[slot];
    t = std::max(t, s.minimum);
    t = std::min(t, std::max<int32_t>(1, s.maximum - s.rowsShown + 1));
    if (t == s.position) return;
    int h = std::max<int>(1, WinTable[n]->listRowHeight);
    int rows = ListRowCount(n);
    int32_t step = t - s.position;
    if (RunModeIsClient() || (step != 1 && step != -1) || rows < 1 || pane != 0) {
        s.position = t;
        ListRefresh(n);
        StateRefreshFlag = 1;
        return;
    }
    MacRect r, inner, exposed;
    WinColumnRect(n, pane, &r);
    MakeRect(&inner, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    s.position = t;
    if (step == 1) {
        ScrollWindowRect(n, &inner, 0, -h);
        ListShiftRowIds(n, -1);
        MakeRect(&exposed, inner.left, inner.bottom - h, inner.right, inner.bottom);
        SettleExposed(n, &exposed);
        int row = rows - 1;
        ListFetchRow(n, &r, row * h + r.top + ListBaselineBelowTop, t + row, row);
    } else {
        ScrollWindowRect(n, &inner, 0, h);
        ListShiftRowIds(n, 1);
        MakeRect(&exposed, inner.left, inner.top, inner.right, inner.top + h);
        SettleExposed(n, &exposed);
        ListFetchRow(n, &r, r.top + ListBaselineBelowTop, t, 0);
    }
    Validate(n, &exposed);
    StateRefreshFlag = 1;
}

// Moves rowIds by one entry after a one-row scroll: dir 1 towards the end
// (a row entered at the top), -1 towards the start (one entered at the
// bottom); the entry that comes free is -1 until its row is read.
void ListShiftRowIds(int n, int dir)
{
    int rows = ListRowCount(n);
    if (rows < 1 || (dir != 1 && dir != -1)) return;
    MemBlock h = WinTable[n]->rowIds;
    uint8_t *ids = MemLock(h);
    int32_t none = -1;
    size_t moved = size_t(rows - 1) * sizeof none;
    if (dir == -1) {
        memmove(ids, ids + sizeof none, moved);
        memcpy(ids + moved, &none, sizeof none);
    } else {
        memmove(ids + sizeof none, ids, moved);
        memcpy(ids, &none, sizeof none);
    }
    MemUnlock(h);
}

// Scrolls pane `pane` of n so that position p is among its filled rows.
void ListEnsureVisible(int n, int pane, int32_t p)
{
    int slot = ListPaneSlot(n, pane);
    if (slot < 0) return;
    const ControlSlot &s = WinTable[n]->controls[slot];
    if (p < s.position)
        ListScrollTo(n, pane, p);
    else if (p >= s.position + s.rowsShown - 1)
        ListScrollTo(n, pane, p - s.rowsShown + 2);
}

// Moves n's selection by delta rows from its first (delta < 1) or last
// row, extending it when asked; without extend the old selection is
// unmarked first. The new row is scrolled into view and the scroll bar
// follows. False when the new position lies outside the register.
bool ListMoveSelection(int n, int delta, bool extend)
{
    if (!WinIsOpen(n) || ListPaneSlot(n, 0) < 0) return false;
    int32_t base;
    if (delta < 1)
        ListSelFirst(n, &base);
    else
        ListSelLast(n, &base);
    int32_t p = base + delta;
    if (p < 1 || p > RecordCount(n)) return false;
    if (!extend && ListHasSelection(n)) ListUnmarkAll(n, 0);
    ListEnsureVisible(n, 0, p);
    ListSelectTo(n, 0, p, extend);
    WinScrollBarsUpdate(n);
    return true;
}

// A click at window y in pane `pane` of n: without extend the selection
// is dropped first; then the row under y is selected (or the selection
// extended to it) when it shows a position of the register. A click on
// the pane's frame, on its cut last band or below the last record
// selects nothing.
void ListMouseClick(int n, int pane, int y, bool extend)
{
    int slot = ListPaneSlot(n, pane);
    if (slot < 0) return;
    MacRect r;
    WinColumnRect(n, pane, &r);
    int h = std::max<int>(1, WinTable[n]->listRowHeight);
    if (!extend) ListUnmarkAll(n, pane);
    if (y < r.top + 1) return;
    int row = (y - r.top - 1) / h;
    if (row >= ListRowCount(n)) return;
    int32_t p = WinTable[n]->controls[slot].position + row;
    if (p >= 1 && p <= RecordCount(n)) ListSelectTo(n, pane, p, extend);
}
