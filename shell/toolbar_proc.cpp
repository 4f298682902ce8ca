// toolbar_proc.cpp - the bars' window procedure: mouse, size and the
// push buttons' commands.
//
// The top bar's icon buttons are armed by a press inside their hit
// rectangle and act on a release inside it; moving off shows them
// released, moving back shows them pressed. A bottom-bar button is tracked
// the same way from press to release. The bar holds the mouse capture
// from press to release, so a release anywhere ends the press. While the
// login runs, and while nobody is logged in to the open company (a
// server's own frame), the bars take no click and their push buttons run
// nothing.
#include <cstdint>

#include "core/definitions.h"
#include "core/window_entries.h"
#include "platform/control.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/field_editing.h"
#include "shell/login.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/edit_control.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int TopBarHeight = 32;
constexpr int PrintFileItem = 7;
constexpr int FixedBottomButtons = 4;   // bottom-bar entries 1..4; module buttons follow

// The bottom-bar button being pressed: its entry (0 none) and whether it
// is drawn pressed.
struct BottomTrack {
    int entry;
    bool shownPressed;
};
BottomTrack Tracking;

bool InMacRect(int x, int y, const MacRect &r) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

bool InIconButton(int b, int x, int y)
{
    const TopBarIconButton &i = TopBarIcons[b];
    return InMacRect(x, y, i.hit) || (b == IconPrint && InMacRect(x, y, i.hit2));
}

// The bottom-bar entry under (x, y): the four fixed entries, then one
// entry for each permitted module-table window, exactly the buttons
// DrawToolbarButtons shows; 0 when none holds the point. The compact
// variant has no buttons there.
int BottomBarHit(int x, int y)
{
    if (CompactVariant) return 0;
    for (int i = 1;; i++) {
        MacRect r;
        if (i > FixedBottomButtons && !PermittedModuleEntry(i - FixedBottomButtons)) return 0;
        if (!BottomBarEntryRect(i, &r)) return 0;
        if (InMacRect(x, y, r)) return i;
    }
}

// Runs bottom-bar entry i's toolbar command with its argument.
void BottomBarRun(int i)
{
    uint8_t *def = WinTypeDef(1);
    uint16_t size;
    const uint8_t *e = def ? WinDefPartEntry(def, WinPartIconButtons, i, &size) : nullptr;
    if (!e || size < IconEntry::Argument + 2) return;
    ToolbarCommand(CurrentWindow, DefU16(e + IconEntry::Command), DefU16(e + IconEntry::Argument));
}

// After back or forward the edit control returns to the field that had
// the focus, when the window still has that field.
void RestoreFieldFocus(int n)
{
    if (!WinIsOpen(n)) return;
    int f = WinFocusFieldNumber(n);
    if (f >= 1) (void)WinGotoField(n, f, true);
}

// Runs the action of top-bar icon button b.
void IconButtonRun(int b)
{
    int n = CurrentWindow;
    switch (b) {
    case IconBack:
        if (WinIsOpen(n)) PrevRecord(n);
        RestoreFieldFocus(n);
        break;
    case IconForward:
        if (WinIsOpen(n)) NextRecord(n);
        RestoreFieldFocus(n);
        break;
    case IconPrint:
        MenuCommand(n, PrintFileItem);
        break;
    default:
        break;
    }
}

void MouseDown(uint32_t win, int x, int y)
{
    if (BarsLocked || NobodyLoggedIn()) return;
    if (win == TopBarWindow) {
        bool any = false;
        for (int b = IconBack; b <= IconPrint; b++) {
            if (!InIconButton(b, x, y)) continue;
            TopBarIcons[b].armed = TopBarIcons[b].shownPressed = 1;
            TopBarDrawIcon(b, true);
            any = true;
        }
        if (any) WinSetCapture(win);
    } else if (win == BottomBarWindow) {
        int i = BottomBarHit(x, y);
        if (i == 0) return;
        Tracking = {i, true};
        BottomBarDrawEntry(i, true);
        WinSetCapture(win);
    }
}

void MouseMove(uint32_t win, int x, int y)
{
    if (win == TopBarWindow) {
        for (int b = IconBack; b <= IconPrint; b++) {
            TopBarIconButton &i = TopBarIcons[b];
            if (!i.armed) continue;
            bool inside = InIconButton(b, x, y);
            if (inside != (i.shownPressed != 0)) {
                i.shownPressed = inside;
                TopBarDrawIcon(b, inside);
            }
        }
    } else if (win == BottomBarWindow && Tracking.entry) {
        MacRect r;
        bool inside = BottomBarEntryRect(Tracking.entry, &r) && InMacRect(x, y, r);
        if (inside != Tracking.shownPressed) {
            Tracking.shownPressed = inside;
            BottomBarDrawEntry(Tracking.entry, inside);
        }
    }
}

void MouseUp(uint32_t win, int x, int y)
{
    if (WinCapture() == win) WinReleaseCapture();
    if (win == BottomBarWindow && Tracking.entry) {
        int entry = Tracking.entry;
        Tracking = {0, false};
        BottomBarDrawEntry(entry, false);
        MacRect r;
        if (!BusyFlag && BottomBarEntryRect(entry, &r) && InMacRect(x, y, r)) BottomBarRun(entry);
        return;
    }
    if (win != TopBarWindow) return;
    bool run[3] = {};
    for (int b = IconBack; b <= IconPrint; b++) {
        TopBarIconButton &i = TopBarIcons[b];
        if (!i.armed) continue;
        i.armed = i.shownPressed = 0;
        TopBarDrawIcon(b, false);
        run[b] = !BusyFlag && InIconButton(b, x, y);
    }
    for (int b = IconBack; b <= IconPrint; b++)
        if (run[b]) IconButtonRun(b);
}

// Fits a bar to the frame's client area: the top bar 32 high at the top,
// the bottom bar at the bottom. Moves only when the place changed, since
// the move itself sends the bar a size message.
void FitToFrame(uint32_t win)
{
    uint32_t frame = WinParent(win);
    if (!frame) return;
    PlRect c = WinClientRect(frame);
    int width = PlRectWidth(c) + 2 * kPlBorderWidth - 2;
    PlRect want = win == TopBarWindow ? PlRect{0, 0, width, TopBarHeight}
                                      : PlRect{0, c.bottom - BottomBarHeight(), width, c.bottom};
    PlRect now = WinRect(win);
    if (!PlRectEqual(now, want)) WinMove(win, want);
}

// A push button of the top bar was clicked: record commands 4 to 7.
void PushButtonCommand(uintptr_t wParam, intptr_t lParam)
{
    if (PlLoWord(intptr_t(wParam)) != 0 || BusyFlag || NobodyLoggedIn()) return;
    for (int i = 0; i < 4; i++)
        if (TopBarButtons[i] && TopBarButtons[i] == uint32_t(lParam)) {
            RecordCommand(CurrentWindow, 4 + i);
            return;
        }
}

}  // namespace

// Window procedure of both bars: presses of the icon and bottom-bar
// buttons, fitting to the frame, paint, and the push buttons' commands.
intptr_t MPToolWndProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    int x = PlLoShort(lParam), y = PlHiShort(lParam);
    switch (msg) {
    case PlMsg::LButtonDown:
        MouseDown(win, x, y);
        return 0;
    case PlMsg::MouseMove:
        if (wParam & PlMouseKey::LButton) MouseMove(win, x, y);
        return 0;
    case PlMsg::LButtonUp:
        MouseUp(win, x, y);
        return 0;
    case PlMsg::Size:
        if (win == TopBarWindow || win == BottomBarWindow) FitToFrame(win);
        return 0;
    case PlMsg::Paint: {
        PlPaint ps;
        if (!WinBeginPaint(win, &ps)) return 0;
        PlRect client = WinClientRect(win);
        if (win == TopBarWindow)
            TopBarPaint(ps.dc, client);
        else if (win == BottomBarWindow)
            BottomBarPaint(ps.dc, client);
        WinEndPaint(win, &ps);
        return 0;
    }
    case PlMsg::Command:
        if (win == TopBarWindow) PushButtonCommand(wParam, lParam);
        return 0;
    default:
        return WinDefProc(win, msg, wParam, lParam);
    }
}
