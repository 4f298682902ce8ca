// shell.h - the application shell's global state: the flags that the
// message loops, the window procedures and the commands share, and the
// frame's fixed windows. One thread reads and writes them; they live in
// shell_state.cpp. CompactVariant (core/system.h) is the shell's too.
#pragma once

#include <cstdint>

#include "core/system.h"
#include "core/work_blocks.h"
#include "platform/draw.h"
#include "platform/queue.h"

extern uint8_t QuitFlag;           // ends the main loop; every way out sets it
extern uint8_t QuitForced;         // the quit follows a failed login (1) or a lost connection (QuitLost); reset with QuitFlag
// QuitForced after a lost connection: nothing can be stored any more, so
// the windows close without asking (the user was told what was not stored).
constexpr uint8_t QuitLost = 2;
extern uint8_t DialogDoneFlag;     // ends a nested MainMessageLoop (login window): the login-done flag
extern uint8_t LoggedInFlag;       // a user is logged in to the open company
extern uint8_t LoginCancelFlag;    // the login window was cancelled
extern uint8_t ModalWindowFlag;    // a modal window (the login) runs its nested loop
extern uint16_t BusyFlag;          // non-zero: user commands, keys and clicks are dropped
extern uint8_t StateRefreshFlag;   // menus and toolbar must be recomputed for CurrentWindow
extern uint8_t RedrawPendingFlag;  // some window carries its changed mark
extern uint16_t CurrentWindow;     // number of the active MDI child, 0 none
extern uint8_t ShiftDown, CtrlDown;  // key state as last read
extern uint8_t ShortcutMarksShown; // the current window's shortcut marks are drawn
extern uint8_t DbOpenFlag;         // a company is open (a client has no engine file)
extern uint8_t StartupFlag;        // 1 from WinMain entry until the main loop runs
extern uint8_t RunActiveFlag;      // a run is active: top-level item 6 greyed
extern uint8_t BarsLocked;         // login in progress: clicks on the bars are ignored
extern uint8_t LightGreyLook;      // set before the window classes are registered
extern uint16_t LastKeyDown;       // virtual key of the previous key-down
extern uint32_t FrameWindow, MdiClientWindow, TopBarWindow, BottomBarWindow;
extern PlPen DottedPen;            // one-pixel dotted black pen
extern PlBrush GreyPatternBrush;   // the 50% grey checkerboard brush

constexpr uint32_t MsgShowYourself = PlMsg::User;   // a second start asks the frame to show
constexpr uint32_t MsgSocketEvent = PlMsg::Socket;  // socket readiness, posted to the frame

// Sets every variable above to its start value (program start, tests).
void ShellStateReset();
