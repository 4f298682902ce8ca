// login_loop.cpp - the login to a company and the switching of modules.
#include "shell/login.h"

#include "core/system.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "shell/record_commands.h"

constexpr int UserRegister = 44;       // users defined for the company
constexpr int CompactWindowType = 13;  // the compact variant's one window

// Lets the user work in the open company when it defines no users; with
// users it refuses and says why, since logging in is not possible yet.
bool LoginLoop()
{
    if (RegRecordCount(UserRegister) == 0) return true;
    ShowTextMessage(9512);
    return false;
}

// Makes the current module current again (a server after an open).
void ModuleReactivate() {}

// Switches to module m; the compact variant opens its one window.
void SwitchModule(int m, int flag)
{
    if (CompactVariant && m == -1) OpenOrActivateWindow(CompactWindowType, 0, 0, false, 0);
}

// Opens entry n of the module menu; -1 the compact variant's window.
void OpenModuleEntry(int n)
{
    if (CompactVariant && n == -1) OpenOrActivateWindow(CompactWindowType, 0, 0, false, 0);
}

// True when module-table entry `code` belongs to the current module; false here.
bool ModuleMatches(int code) { return false; }

// True when the user may open windows of the type; false here.
bool MayOpenWindowType(int type) { return false; }
