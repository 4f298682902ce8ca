// window_utils.cpp - captions, activation, sizes, scrolling and painting
// of windows by number, and record stepping.
#include "shell/window_utils.h"

#include <string_view>

#include "core/pstring.h"
#include "core/window_kind.h"
#include "platform/control.h"
#include "platform/mdi.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"

// Window kinds (word 0 of the type) that the utilities tell apart.

// The live MDI child of window n; 0 when n is not open or has none.
static uint32_t ChildOf(int n)
{
    if (!WinIsOpen(n)) return 0;
    uint32_t child = WinTable[n]->mdiChild;
    return child && WinIsWindow(child) ? child : 0;
}

// Sets the caption of n's child from a PString.
void SetWindowTitle(int n, const uint8_t *text)
{
    if (uint32_t child = ChildOf(n)) WinSetTitle(child, PStringView(text));
}

// Brings n to the top, restoring it when minimised. A designer window
// then erases its content rectangle and is marked for repainting.
void ActivateWindowNumber(int n)
{
    uint32_t child = ChildOf(n);
    if (!child) return;
    if (WinIsIconic(child))
        MdiRestore(child);
    else
        MdiActivate(WinParent(child), child);
    if (WinKindOf(n) != KindCode(WindowKind::Designer)) return;
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    EraseRectWhite(&WinTable[n]->contentRect);
    RestorePortWindow(saved);
    WinMarkChanged(n);
}

// Maximises n's child.
void MaximizeWindowNumber(int n)
{
    if (uint32_t child = ChildOf(n)) MdiMaximize(child);
}

// Destroys n's child through its MDI client; the port is cleared first,
// so that no context of the child outlives it.
void DestroyWindowNumber(int n)
{
    SetPortWindow(0);
    if (uint32_t child = ChildOf(n)) MdiDestroyChild(WinParent(child), child);
}

// True when n is minimised; false for 0.
bool IsWindowIconic(int n)
{
    uint32_t child = ChildOf(n);
    return child && WinIsIconic(child);
}

// Scrolls r of window n by dx, dy, invalidating what is uncovered, and
// gets n's port again: a context got before the scroll keeps its old clip.
void ScrollWindowRect(int n, const MacRect *r, int dx, int dy)
{
    uint32_t child = ChildOf(n);
    if (!child) return;
    PlRect pr;
    RectToWin(r, &pr);
    WinScrollRect(child, &pr, dx, dy);
    SetPortWindow(0);
    SetPortWindow(n);
}

// Resizes a platform window without moving it.
void SetWindowSize(uint32_t window, int width, int height) { WinSetSize(window, width, height); }

// n's window rectangle in the client coordinates of the frame that holds it.
void WinRectInFrame(int n, MacRect *out)
{
    *out = MacRect{};
    uint32_t child = ChildOf(n);
    if (!child) return;
    PlRect s = WinScreenRect(child);
    uint32_t frame = WinTopLevel(child);
    PlPoint tl = WinScreenToClient(frame, PlPoint{s.left, s.top});
    PlRect r = PlRectOffset(s, tl.x - s.left, tl.y - s.top);
    RectFromWin(&r, out);
}

// Erases n's client area white in n's port, restoring the port after.
// Report and designer windows lay out their contents here once report
// output exists.
void WinPaint(int n, const MacRect *r)
{
    uint32_t child = ChildOf(n);
    if (!child) return;
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    PlRect client = WinClientRect(child);
    MacRect all;
    RectFromWin(&client, &all);
    EraseRectWhite(&all);
    RestorePortWindow(saved);
}

// Invalidates the frame's two bars, erasing them.
void RedrawWindowOne()
{
    if (TopBarWindow) WinInvalidate(TopBarWindow, nullptr, true);
    if (BottomBarWindow) WinInvalidate(BottomBarWindow, nullptr, true);
}

// Steps window n by a page or a record: list and pane windows scroll
// their pane by a page through the child's vertical-scroll handling.
// Record windows (kinds 3 and 11) step through their register's records.
// A window listing in a list box (the report, document, function, window
// and module lists) hands the key to its list box, which moves the
// selection a page on and scrolls it into view, so Return then runs
// the row paged to.
static void StepRecord(int n, int pageCode)
{
    uint32_t child = ChildOf(n);
    if (!child) return;
    int kind = WinKindOf(n);
    if (kind == 3 || kind == 11) {
        (pageCode == PlSb::PageDown ? WinRecordNext : WinRecordPrev)(n);
        return;
    }
    if (uint32_t list = WinListBox(n)) {
        WinSend(list, PlMsg::KeyDown, pageCode == PlSb::PageDown ? PlKey::PageDown : PlKey::PageUp, 0);
        return;
    }
    if (kind == KindCode(WindowKind::List) || kind == KindCode(WindowKind::ChoiceList) ||
        kind == KindCode(WindowKind::Preview))
        WinSend(child, PlMsg::VScroll, uintptr_t(pageCode), 0);
}

// Next record or page down by window kind.
void NextRecord(int n) { StepRecord(n, PlSb::PageDown); }

// Previous record or page up by window kind.
void PrevRecord(int n) { StepRecord(n, PlSb::PageUp); }
