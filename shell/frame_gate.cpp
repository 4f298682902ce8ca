// frame_gate.cpp - what the frame answers while a company is open and no
// one is logged in to it.
//
// Two frames wait so: the stand-alone program or a client while its login
// window asks, and a server, whose own frame no login ever reaches. Either
// shows only what it needs and keeps the company shut; what that is, each
// command's row in the table says (frame_commands.cpp). Nothing else runs,
// whether it comes by the menus, by a Ctrl key or a right click; the bars
// take no click then (toolbar_proc.cpp), and the menus are greyed by the
// same answers (menu_state.cpp). The rights say the same, a second time:
// nobody has one then.
#include "shell/frame_gate.h"

#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "shell/frame_commands.h"
#include "shell/login.h"
#include "shell/window_table.h"

namespace {

// True when w is the window the frame waits in: the login window (a type
// of menu kind 1), or a server's status window.
bool IsWaitingWindow(FrameWait wait, int w)
{
    if (!WinIsOpen(w)) return false;
    if (wait == FrameWait::Server) return WinTypeOf(w) == WinTypes::ServerStatus;
    return WinTypeMenuKind(WinTypeOf(w)) == MenuKindEditOnly;
}

}  // namespace

FrameWait FrameWaitOf(int w)
{
    bool nobody = NobodyLoggedIn();
    if (nobody && RunMode == RunModeServer) return FrameWait::Server;
    if (nobody || (WinIsOpen(w) && WinTypeMenuKind(WinTypeOf(w)) == MenuKindEditOnly)) return FrameWait::Login;
    return FrameWait::None;
}

bool FrameCommandAllowed(int id, int w)
{
    FrameWait wait = FrameWaitOf(w);
    if (wait == FrameWait::None) return true;
    const FrameCommandRec *c = FrameCommandOf(id);
    if (!c) return false;
    switch (wait == FrameWait::Server ? c->atServer : c->atLogin) {
    case Unlogged::Yes: return true;
    case Unlogged::InItsWindow: return IsWaitingWindow(wait, w);
    case Unlogged::No: break;
    }
    return false;
}
