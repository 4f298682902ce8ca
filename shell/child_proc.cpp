// child_proc.cpp - the MDI children's window procedure, the window
// number of a child, and pane scrolling.
#include <cassert>

#include "output/devices/report_output.h"
#include "platform/control.h"
#include "platform/mdi.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/procedures.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "shell/window_mouse.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

// The window number whose MDI child this is; 0 when none.
int WindowNumberOf(uint32_t child)
{
    if (!child) return 0;
    for (int n = WinFirst; n <= WinLast; n++)
        if (WinTable[n] && WinTable[n]->mdiChild == child) return n;
    return 0;
}

// Moves the pane of scroll bar `bar` of window n by a scroll code: a line
// is 12 pixels in report and designer windows (types 5 and 23), else one
// row; a page keeps one step of overlap. The new position goes to the
// list, the contents, the designer pane or the matrix by window kind.
void ScrollPane(int n, uint32_t bar, int code, int position)
{
    assert(WinIsOpen(n));
    WindowRec *w = WinTable[n];
    int p = 0;
    for (int i = 0; i < ControlSlotCount; i++)
        if (w->controls[i].control && w->controls[i].control == bar) {
            p = i;
            break;
        }
    int type = WinTypeOf(n);
    int step = (type == 5 || type == 23) ? 12 : 1;
    int kind = WinKindOf(n);
    int32_t c = w->controls[p].position, g = w->controls[p].pageSize, to;
    switch (code) {
    case PlSb::LineUp: to = c - step; break;
    case PlSb::LineDown: to = c + step; break;
    case PlSb::PageUp: to = c - g + step; break;
    case PlSb::PageDown: to = c + g - step; break;
    // A preview's bar may count steps of several pixels (a long report).
    case PlSb::ThumbPosition: to = kind == 4 ? PreviewBarTop(n, position) : position; break;
    default: return;
    }
    if (kind == 1 || kind == 2) {
        ListScrollTo(n, p, to);
    } else if (kind == 4) {
        PreviewScroll(n, p, to);
    } else if (kind == 11) {
        WinScrollPane(n, p, to);
    } else if (WinHasMatrix(n)) {
        WinCommitField(n);
        MatrixScrollTo(n, p, to);
    }
    if (WinIsOpen(n) && WinTable[n]->controls[p].position != c) WinScrollBarsUpdate(n);
}

// Follows a new size of window n: the list box keeps its resolved
// rectangle, the window is repainted and, unless busy, the field under
// edit is committed and a list goes back to browsing; the page held in
// the page-scroll word is chosen again. The size that comes while
// OpenWindow is still making the child finds no page laid out yet
// (current page 0) and chooses none: OpenWindow lays out page 1 right
// after, which would commit a field focused here at once and tell the
// type of a field nobody edited.
static void ChildSize(int n)
{
    StateRefreshFlag = 1;
    if (!BusyFlag) WinCommitField(n);
    InvalidateWindowNumber(n);
    MacRect r;
    if (WinTable[n]->listBox && WinListBoxRect(n, &r)) {
        PlRect pr;
        RectToWin(&r, &pr);
        WinMove(WinTable[n]->listBox, pr);
    }
    int kind = WinKindOf(n);
    if (!BusyFlag && (kind == 1 || kind == 2)) WinSetRecState(n, 4);
    if (kind == 4) PreviewResized(n);
    if (WinTable[n]->currentPage != 0) WinChoosePage(n, WinTable[n]->pageScroll);
}

// Paints window n through the drawing port, keeping the port of any
// drawing it interrupted.
static void ChildPaint(uint32_t win, int n)
{
    PlPaint ps;
    if (!WinBeginPaint(win, &ps)) return;
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    WinPaintFrame(n);
    WinPaintContents(n);
    WinEndPaint(win, &ps);
    RestorePortWindow(saved);
}

// MDI activation of window n: the one losing it gives up its operations
// popup; the one gaining it becomes CurrentWindow and shows its popup.
static void ChildMdiActivate(uint32_t win, int n, uint32_t losing, uint32_t gaining)
{
    if (losing == win) {
        RemoveWindowMenu(n);
        WinScrollBarsUpdate(n);
        if (CurrentWindow == n) CurrentWindow = 0;
    }
    if (gaining == win) {
        StateRefreshFlag = 1;
        CurrentWindow = uint16_t(n);
        int kind = WinKindOf(n);
        if (kind != 5) InsertWindowMenu(n);
        if (kind == 1 || kind == 2) WinMarkChanged(n);
        WinScrollBarsUpdate(n);
    }
}

// Window procedure of every record window's MDI child. Keys, clicks and
// control commands are dropped while BusyFlag is set; paint and size are
// always handled.
intptr_t MPMDIChildWndProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::Create) {
        // The child's messages during its creation already need its
        // number: OpenWindow passes it as the create parameter.
        int n = int(lParam);
        if (WinIsOpen(n) && !WinTable[n]->mdiChild) WinTable[n]->mdiChild = win;
        return 0;
    }
    int n = WindowNumberOf(win);
    if (n == 0) return MdiDefChildProc(win, msg, wParam, lParam);
    int32_t point = int32_t(lParam);
    switch (msg) {
    case PlMsg::KeyDown:
        if (wParam == PlKey::Escape) UserCancelFlag = 1;
        return 0;
    case PlMsg::Size:
        ChildSize(n);
        return MdiDefChildProc(win, msg, wParam, lParam);
    case PlMsg::Activate: StateRefreshFlag = 1; return 0;
    case PlMsg::SetFocus:
        if (WinTable[n]->listBox) WinSetFocus(WinTable[n]->listBox);
        if (WinTable[n]->editControl) WinSetFocus(WinTable[n]->editControl);
        return 0;
    case PlMsg::Paint: ChildPaint(win, n); return 0;
    case PlMsg::Close:
        if (BusyFlag || WinTypeOf(n) == 15) return 0;
        CloseRecordWindow(n);
        return 0;
    case PlMsg::QueryEndSession: return 1;
    case PlMsg::ActivateApp: ShiftDown = CtrlDown = 0; return 0;
    case PlMsg::Command:
        if (BusyFlag) return 0;
        if (PlLoWord(intptr_t(wParam)) == 0)
            WinControlNotify(n, uint32_t(lParam), PlHiWord(intptr_t(wParam)));
        else if (PlLoWord(intptr_t(wParam)) == 2)
            WindowOkAction(n);
        return 0;
    case PlMsg::VScroll:
        if (!BusyFlag) ScrollPane(n, uint32_t(lParam), PlLoWord(intptr_t(wParam)), PlHiShort(intptr_t(wParam)));
        return 0;
    case PlMsg::MouseMove:
        if (!BusyFlag) WinMouseTrack(n, point);
        return 0;
    case PlMsg::LButtonDown:
        if (!BusyFlag) WindowMouseClick(n, point, ShiftDown, false);
        return 0;
    case PlMsg::LButtonDblClk:
        if (!BusyFlag) WindowMouseClick(n, point, ShiftDown, true);
        return 0;
    case PlMsg::LButtonUp:
        if (PressRunning()) WinMouseRelease(BusyFlag ? 0 : n, point);
        return 0;
    case PlMsg::MdiActivate: ChildMdiActivate(win, n, uint32_t(wParam), uint32_t(lParam)); return 0;
    default: return MdiDefChildProc(win, msg, wParam, lParam);
    }
}
