// login_loop.cpp - the login to a company and the switching of modules.
#include "shell/login.h"

#include "core/definitions.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"

constexpr int UserRegister = 44;       // users defined for the company
constexpr int CompactWindowType = 13;  // the compact variant's one window
constexpr int ModuleTableSlot = 7;     // the module table: the register windows of the modules
constexpr int ModuleEntryType = 0, ModuleEntryModule = 6;
constexpr int ModuleListType = 9;      // a type the interface file defines when it has modules
constexpr int RightWindowType = 3;     // access-list rows of the right to open a window type

// Lets the user work in the open company when it defines no users; with
// users it refuses and says why, since logging in is not possible yet.
bool LoginLoop()
{
    if (RegRecordCount(UserRegister) == 0) {
        RebuildRegisterMenu();
        return true;
    }
    ShowTextMessage(9512);
    return false;
}

// Makes the current module current again (a server after an open): the
// register popup follows it.
void ModuleReactivate() { RebuildRegisterMenu(); }

// Switches to module m; the compact variant opens its one window.
void SwitchModule(int m, int flag)
{
    if (CompactVariant && m == -1) OpenOrActivateWindow(CompactWindowType, 0, 0, false, 0);
}

// Opens the n-th entry (from 1) of the module table that belongs to the
// current module and that the user may use, as an empty window: no
// record is shown until the user asks for one. -1 opens the compact
// variant's one window. Nothing without an open company or such an entry.
void OpenModuleEntry(int n)
{
    if (!DbOpenFlag) return;
    if (n == -1 || n == 65535) {
        if (CompactVariant || !WinDefExists(ModuleListType)) OpenOrActivateWindow(CompactWindowType, 0, 0, false, 0);
        return;
    }
    for (int i = 0, k = 0, count = ListTableCount(ModuleTableSlot); i < count; i++) {
        const uint8_t *entry = ListTableEntry(ModuleTableSlot, i);
        int type = DefU16(entry + ModuleEntryType);
        if (!ModuleMatches(DefU16(entry + ModuleEntryModule)) || !MayUseWindowItem(type)) continue;
        if (++k == n) {
            OpenOrActivateWindow(type, 65535, 0, false, 0);
            return;
        }
    }
}

// True when module-table entry `code` belongs to the current module: the
// entries of every module (0), those of the current module, and any
// while no module is current in an interface file without modules.
bool ModuleMatches(int code)
{
    return code == 0 || code == CurrentModule || (CurrentModule == 0 && !WinDefExists(ModuleListType));
}

// True when the user may open windows of the type: a register window by
// its window right; a settings window (a block, no register) by its
// type's right; any other type not.
bool MayOpenWindowType(int type)
{
    if (WinTypeRegister(type) != 0) return MayUseWindowItem(type);
    if (WinTypeWord(type, 9) == 0) return false;
    int right = UserAccessRight(LoggedInUser ? DefU32(LoggedInUser + LoggedInUserAccessList) : 0, RightWindowType, type);
    return right != 0 && right != 5;
}
