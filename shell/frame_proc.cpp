// frame_proc.cpp - the frame's window procedure and its commands.
#include <cstdint>

#include "core/definitions.h"
#include "core/list_slot.h"
#include "core/message_sink.h"
#include "platform/display.h"
#include "platform/mdi.h"
#include "platform/window.h"
#include "shell/login.h"
#include "shell/menus.h"
#include "shell/net_services.h"
#include "shell/procedures.h"
#include "shell/record_commands.h"
#include "shell/settings_menu.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/toolbar.h"
#include "shell/window_events.h"
#include "shell/window_mouse.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

// The MDI client stands this far below the frame's top until the bars
// are placed.
constexpr int MdiClientTop = 30;

// Opens the About window (type 18) unless one is open, which is then
// brought to the top.
void AboutWindowCommand()
{
    int n = WinFindByDef(18);
    if (!n) {
        OpenWindow(18, 0);
        return;
    }
    if (WinIsIconic(WinTable[n]->mdiChild)) MdiRestore(WinTable[n]->mdiChild);
    MdiActivate(MdiClientWindow, WinTable[n]->mdiChild);
}

// Runs `op` on the MDI child of every open window (minimise, restore).
static void ForEachChild(void (*op)(uint32_t child))
{
    for (int n = WinFirst; n <= WinLast; n++)
        if (WinIsOpen(n) && WinTable[n]->mdiChild) op(WinTable[n]->mdiChild);
}

// Dispatches a frame command id (menus, the Window and Help menus)
// for the current window w.
static void FrameCommand(int id, int w)
{
    if (id >= 101 && id <= 111) {
        MenuCommand(w, id - 100);
        RedrawWindowOne();
    } else if (id >= 200 && id <= 299) {
        EditCommand(w, id - 200);
    } else if (id >= 300 && id <= 398) {
        RecordCommand(w, id - 300);
    } else if (id >= 399 && id <= 499) {
        OpenModuleEntry(id - 400);
    } else if (id == 500) {
        SwitchModule(-1, 0);
    } else if (id >= ModuleMenuFirstId && id <= 599) {
        const uint8_t *entry = ListTableEntry(ListSlot::ModuleMenu, id - ModuleMenuFirstId);
        if (entry) SwitchModule(DefU16(entry + ModuleMenuEntry::Module), 0);
        RedrawWindowOne();
    } else if (id >= SettingsMenuFirstId && id <= SettingsMenuLastId) {
        SettingsMenuCommand(id);
    } else if (id >= 700 && id <= 799) {
        if (WinIsOpen(w)) {
            // The pressed button goes in b, where the record windows'
            // handlers read it, and in a for the older handlers.
            int op = id - 700;
            WindowEvent(w, WindowEventCode::Button, &op, &op);
        }
    }
    switch (id) {
    case CmdAbout: AboutWindowCommand(); break;
    case CmdQuit: QuitFlag = 1; break;
    case CmdHelp: HelpOpen(); break;
    case CmdCascade: MdiCascade(MdiClientWindow, kPlTileSkipDisabled); break;
    case CmdTileHorizontal: MdiTile(MdiClientWindow, kPlTileHorizontal); break;
    case CmdTileVertical: MdiTile(MdiClientWindow, kPlTileVertical); break;
    case CmdArrangeIcons: MdiArrangeIcons(MdiClientWindow); break;
    case CmdCloseAll:
        for (int n = WinFirst; n <= WinLast; n++)
            if (WinIsOpen(n)) CloseRecordWindow(n);
        break;
    case CmdMinimizeAll: ForEachChild(MdiMinimize); break;
    case CmdRestoreAll: ForEachChild(MdiRestore); break;
    case CmdPlacementSave:
        if (WinIsOpen(w)) WinPlacementSaveCommand(w);
        break;
    case CmdPlacementDefault:
        if (WinIsOpen(w)) WindowReset(w);
        break;
    default: break;
    }
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
        FrameCommand(int16_t(PlLoWord(intptr_t(wParam))), CurrentWindow);
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
