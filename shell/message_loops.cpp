// message_loops.cpp - the main message loop and the bounded wait of
// nested operations.
//
// Both loops end when nothing can arrive any more (the headless display
// with no sockets), so a test never hangs in them.
#include "shell/startup.h"

#include <cstring>

#include "platform/mdi.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/field_editing.h"
#include "shell/login.h"
#include "shell/menus.h"
#include "shell/procedures.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_drawing.h"
#include "shell/window_mouse.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

// A button-up anywhere releases the top-bar icons still shown pressed.
static void ReleasePressedIcons()
{
    for (TopBarIconButton &icon : TopBarIcons) {
        if (!icon.shownPressed) continue;
        if (TopBarWindow) DrawWindowIcon(TopBarWindow, icon.iconX, icon.iconY, icon.releasedIcon);
        icon.shownPressed = 0;
    }
}

// The number of the active record window, 0 when none.
static int TopWindowNumber()
{
    if (!MdiClientWindow) return 0;
    uint32_t child = MdiGetActive(MdiClientWindow, nullptr);
    return child ? WindowNumberOf(child) : 0;
}

// A double click on the list box of window n (its first child) is n's OK
// action; true when the message was that click. A double click anywhere
// else is an ordinary message.
static bool ListDoubleClick(int n, const PlMessage &m)
{
    if (m.msg != PlMsg::LButtonDblClk || n == 0) return false;
    uint32_t first = WinFirstChild(WinTable[n]->mdiChild);
    if (first == 0 || first != m.win) return false;
    std::string cls = WinClassName(first);
    if (cls.size() != 7 || strncasecmp(cls.c_str(), "ListBox", 7) != 0) return false;
    if (!BusyFlag) WindowOkAction(n);
    return true;
}

// A double click on the field or cell under edit of window n chooses
// its value, as Ctrl+J does; true when the message was that click on a
// field that chooses from something.
static bool FieldDoubleClick(int n, const PlMessage &m)
{
    if (m.msg != PlMsg::LButtonDblClk || n == 0 || BusyFlag) return false;
    uint32_t edit = WinTable[n]->editControl;
    if (edit == 0 || m.win != edit || WinTable[n]->chooser == ChooserNone) return false;
    CmdChoose(n);
    return true;
}

// Shows the shortcut marks of window n while Shift and Ctrl are both
// held, and hides them at the first message after either is let go.
static void ShortcutMarksFollowKeys(int n)
{
    ShiftDown = (PlKeyState(PlKey::Shift) & 0x80) ? 1 : 0;
    CtrlDown = (PlKeyState(PlKey::Control) & 0x80) ? 1 : 0;
    bool both = ShiftDown && CtrlDown;
    if (both && !ShortcutMarksShown) {
        if (n) WinDrawShortcuts(n, true);
        ShortcutMarksShown = 1;
    } else if (!both && ShortcutMarksShown) {
        if (n) WinDrawShortcuts(n, false);
        ShortcutMarksShown = 0;
    }
}

// Repaints every open window that carries its changed mark, once, and
// clears the marks: many changes in one message cost one repaint.
void RepaintMarkedWindows()
{
    if (!RedrawPendingFlag) return;
    for (int n = WinFirst; n <= WinLast; n++) {
        if (!WinIsOpen(n) || !WinTable[n]->mdiChild || !WinTable[n]->changed) continue;
        WinTable[n]->changed = 0;
        int saved = 0;
        GetPortWindow(&saved);
        SetPortWindow(n);
        WinPaintFrame(n);
        if (!QuitFlag && WinIsOpen(n)) WinPaintContents(n);
        RestorePortWindow(saved);
    }
    RedrawPendingFlag = 0;
}

// Enables the bars' buttons for the current window and tells it that it
// is active again, once per change of state.
static void RefreshStateIfFlagged()
{
    if (!StateRefreshFlag) return;
    StateRefreshFlag = 0;
    EnableToolButtons(CurrentWindow);
    WindowActivated(CurrentWindow);
}

// One message of the main loop, with the shell's work around it.
void MainLoopMessage(const PlMessage &m)
{
    if (m.msg == PlMsg::LButtonUp) ReleasePressedIcons();
    int n = TopWindowNumber();
    if (!ListDoubleClick(n, m) && !FieldDoubleClick(n, m)) {
        ShortcutMarksFollowKeys(n);
        RefreshStateIfFlagged();
        if (!CompactVariant && m.msg == PlMsg::RButtonDown && MenuHandles.modulePopup &&
            MenuItemCount(MenuHandles.modulePopup) > 0 && !NobodyLoggedIn())
            MenuTrackPopup(MenuHandles.modulePopup, PlTrack::CenterAlign, PlCursorPos(), FrameWindow);
        if (!KeyPreTranslate(m) && !MdiTranslateAccel(MdiClientWindow, m) &&
            !FirstClickKeepsOfferedText(m.win, m.msg)) {
            MsgTranslate(m);
            MsgDispatch(m);
        }
        // What this message changed (an edit begun by a click on a check
        // box, say) shows on the bars now, not at the next message: a user
        // who ticks a box and goes straight for OK finds it enabled.
        RefreshStateIfFlagged();
    }
    RepaintMarkedWindows();
    // A quit asked for by this message closes the windows first; a window
    // the user keeps calls it off.
    if (QuitFlag) QuitConfirm();
}

// Gets and dispatches messages until quit (or the nested loop's end).
void MainMessageLoop()
{
    PlMessage m;
    do {
        if (MsgGet(&m) != PlGet::Message) return;
        MainLoopMessage(m);
    } while (!DialogDoneFlag && !QuitFlag);
}

// Dispatches messages until *flag is set or ms milliseconds (0: no limit)
// have passed. It waits for the time left, so a wait for a silent server
// ends on time, and measures unsigned elapsed ticks, so the wrap of the
// tick count does not matter. A quit request ends the wait and is passed
// on to the loop outside.
void ModalMessageLoop(const uint8_t *flag, int32_t ms)
{
    uint32_t start = PlTickCount();
    if (*flag) return;
    PlMessage m;
    for (;;) {
        PlGet got;
        if (ms > 0) {
            uint32_t elapsed = PlTickCount() - start;
            if (elapsed >= uint32_t(ms)) return;
            got = MsgGetTimeout(&m, uint32_t(ms) - elapsed);
        } else {
            got = MsgGet(&m);
        }
        if (got == PlGet::Quit) MsgPostQuit(int(m.wParam));
        if (got != PlGet::Message) return;
        if (!MdiTranslateAccel(MdiClientWindow, m)) {
            MsgTranslate(m);
            MsgDispatch(m);
        }
        if (*flag) return;
    }
}
