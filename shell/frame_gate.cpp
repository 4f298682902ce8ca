// frame_gate.cpp - what the frame answers while a company is open and no
// one is logged in to it.
//
// Two frames wait so: the stand-alone program or a client while its login
// window asks, and a server, whose own frame no login ever reaches. Either
// shows only what it needs and keeps the company shut: the login window
// (its fields may be cut, copied and pasted), a server's status window and
// its one operation (serve clients again), the arrangement of the windows,
// Help, About and the way out. Nothing else runs, whether it comes by the
// menus, by a Ctrl key or a right click; the bars take no click then
// (toolbar_proc.cpp) and the menus are greyed to match (menu_state.cpp).
// The rights say the same, a second time: nobody has one then.
#include "shell/login.h"

#include "core/system.h"
#include "dict_offsets.h"
#include "shell/procedures.h"
#include "shell/window_table.h"

namespace {

constexpr int EditFirst = 200, EditLast = 299, OpsFirst = 700, OpsLast = 799;
constexpr int CompactExit = 111;   // File item 11 quits in the compact variant

// True when w is an open window of the type.
bool WindowIs(int w, int type) { return WinIsOpen(w) && WinTypeOf(w) == type; }

}  // namespace

bool FrameCommandAllowed(int id, int w)
{
    if (!NobodyLoggedIn()) return true;
    switch (id) {
    case CmdQuit:
    case CmdAbout:
    case CmdHelp:
    case CmdCascade:
    case CmdTileHorizontal:
    case CmdTileVertical:
    case CmdArrangeIcons:
    case CmdMinimizeAll:
    case CmdRestoreAll: return true;
    case CompactExit: return CompactVariant;
    default: break;
    }
    if (id >= EditFirst && id <= EditLast) return WindowIs(w, WinTypes::Login);
    if (id >= OpsFirst && id <= OpsLast) return WindowIs(w, WinTypes::ServerStatus);
    return false;
}
