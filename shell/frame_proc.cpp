// frame_proc.cpp - the frame's window procedure; its commands are the
// table's (frame_commands.cpp), asked of the gate first (frame_gate.cpp).
#include <cstdint>

#include "core/message_sink.h"
#include "dict_offsets.h"
#include "platform/display.h"
#include "platform/mdi.h"
#include "platform/window.h"
#include "shell/frame_commands.h"
#include "shell/frame_gate.h"
#include "shell/menus.h"
#include "shell/net_services.h"
#include "shell/procedures.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/toolbar.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

// The MDI client stands this far below the frame's top until the bars
// are placed.
constexpr int MdiClientTop = 30;

// Opens the About window unless one is open, which is then brought to
// the top.
void AboutWindowCommand()
{
    int n = WinFindByDef(WinTypes::About);
    if (!n) {
        OpenWindow(WinTypes::About, 0);
        return;
    }
    if (WinIsIconic(WinTable[n]->mdiChild)) MdiRestore(WinTable[n]->mdiChild);
    MdiActivate(MdiClientWindow, WinTable[n]->mdiChild);
}

// Creates the MDI client below the top bar and the two bars; -1 (the
// frame is not made) when the client cannot be created. From now on a
// user sits at the frame, so the beep of a refused action (the business
// rules sound it through the core's sink) reaches the speaker.
static intptr_t FrameCreate(uint32_t win)
{
    PlRect c = WinClientRect(win);
    PlRect r{0, MdiClientTop, c.right, c.bottom > MdiClientTop ? c.bottom : MdiClientTop};
    uint32_t style = PlStyle::Child | PlStyle::ClipChildren | PlStyle::VScroll | PlStyle::HScroll;
    uint32_t client = MdiCreateClient(win, r, style, MdiClientId, MdiFirstChildId);
    if (!client) return -1;
    MdiClientWindow = client;
    WinShow(client, PlShow::Show);
    ToolbarsCreate(win);
    BeepSinkSet(PlBeep);
    return 0;
}

// Window procedure of the frame. User commands and the close box are
// dropped while BusyFlag is set; every way out of the program only sets
// QuitFlag, so that the one exit path (the end of the main loop) closes
// the company.
intptr_t MPFrameWndProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    switch (msg) {
    case PlMsg::Create: return FrameCreate(win);
    case PlMsg::Size:
        if (TopBarWindow) WinSend(TopBarWindow, msg, wParam, lParam);
        RedrawWindowOne();
        if (BottomBarWindow) {
            WinSend(BottomBarWindow, msg, wParam, lParam);
            WinInvalidate(BottomBarWindow, nullptr, true);
        }
        if (MdiClientWindow) MdiClientResize(win);
        return 0;
    case PlMsg::Close:
        if (!BusyFlag) QuitFlag = 1;
        return 0;
    case PlMsg::Destroy:
        FrameCleanup();
        MsgPostQuit(0);
        return 0;
    case PlMsg::QueryEndSession: return 1;
    case PlMsg::ActivateApp: CtrlDown = 0; return 0;
    case PlMsg::InitMenu: return 0;
    case PlMsg::MdiRestore:
    case PlMsg::MdiMaximize: StateRefreshFlag = 1; return 0;
    case PlMsg::Command:
        if (BusyFlag || !FrameCommandAllowed(int16_t(PlLoWord(intptr_t(wParam))), CurrentWindow)) return 0;
        FrameCommandRun(int16_t(PlLoWord(intptr_t(wParam))), CurrentWindow);
        return MdiDefFrameProc(win, MdiClientWindow, msg, wParam, lParam);
    case MsgShowYourself:
        WinBringToFront(win);
        return 0;
    case MsgSocketEvent:
        if (SocketsActive && NetServices.onSocketEvent)
            NetServices.onSocketEvent(win, int(wParam), int(lParam));
        return 0;
    default: return MdiDefFrameProc(win, MdiClientWindow, msg, wParam, lParam);
    }
}
