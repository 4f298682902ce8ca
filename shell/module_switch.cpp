// module_switch.cpp - the current module: switching to another, what
// follows it (menus, menu lists, bars, the network), and opening the
// module table's windows that belong to it.
//
// The module table (list slot 7) names the register windows of the
// modules; its 8-byte entries are the window type, the menu text, the
// button label and the module (0: every module). The register popup, the
// bottom bar's module buttons and Ctrl+1.. all count its permitted
// entries the same way, through PermittedModuleEntry.
#include "shell/login.h"

#include <cassert>

#include "core/definitions.h"
#include "core/list_slot.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "shell/list_windows.h"
#include "shell/menu_lists.h"
#include "shell/menus.h"
#include "shell/net_services.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {
constexpr int ServerModule = 1;           // the module a server works in

// Refills the list of every open window of `type`.
void RefillListsOfType(int type)
{
    for (int n = WinFirst; n <= WinLast; n++)
        if (WinIsOpen(n) && WinTypeOf(n) == type) MenuListFill(n);
}
}  // namespace

// Makes the server's module current after a company is opened: the
// menus follow it and the network layer opens the server's window.
void ModuleReactivate() { ActivateModule(ServerModule, CurrentModule); }

// Switches to module m. 65535 (or -1, as the frame's command 500 gives it)
// opens the module list while a company is open. Any other module is
// entered when it is not the current one and may be entered now (which
// may run the login); otherwise nothing changes. `flag` is what the
// caller passes along (1 from a bottom-bar button) and changes nothing.
void SwitchModule(int m, int flag)
{
    (void)flag;
    if (m == -1 || m == 65535) {
        if (DbOpenFlag) OpenOrActivateWindow(WinTypes::ModuleList, 0, 0, false, 0);
        return;
    }
    if (m < 0 || m == CurrentModule) return;
    if (ModuleEnterCheck(m)) ActivateModule(m, CurrentModule);
}

// Makes `module` current after `previous`: the module popup checks it,
// the lists of the open report, window, document and function lists and
// the register popup are filled for it, the bars redraw with its buttons
// and module line, and the network layer hears of the change. A type-1
// window (with its icon grid) is never opened, so it has none to rebuild.
void ActivateModule(int module, int previous)
{
    assert(module >= 0 && module <= 0xffff);
    CheckModuleMenu(module);
    CurrentModule = uint16_t(module);
    WindowType1Refresh();
    RefillListsOfType(WinTypes::ReportList);
    RefillListsOfType(WinTypes::WindowList);
    RebuildRegisterMenu();
    RedrawWindowOne();
    RefillListsOfType(WinTypes::DocumentList);
    RefillListsOfType(WinTypes::FunctionList);
    if (NetServices.moduleOneSwitch) NetServices.moduleOneSwitch(module, previous);
}

// The k-th (from 1) entry of the module table that belongs to the current
// module (ModuleMatches) and whose window the user may use and open (a
// settings window by the right the Settings menu asks too); null when
// there is none. The bottom bar shows these as buttons; opening one
// needs an open company.
const uint8_t *PermittedModuleEntry(int k)
{
    if (k < 1) return nullptr;
    for (int i = 0, count = ListTableCount(ListSlot::ModuleWindows); i < count; i++) {
        const uint8_t *entry = ListTableEntry(ListSlot::ModuleWindows, i);
        if (!entry) return nullptr;
        const int type = DefU16(entry + ModuleWindowsEntry::Type);
        if (!ModuleMatches(DefU16(entry + ModuleWindowsEntry::Module)) || !MayUseWindowItem(type) ||
            !MayOpenWindow(type))
            continue;
        if (--k == 0) return entry;
    }
    return nullptr;
}

// Opens the n-th permitted entry (from 1) of the module table as an empty
// window (a list with all its rows): no record is shown until the user
// asks for one. -1 or 65535
// opens the module list when the interface file has no modules. Nothing
// without an open company or such an entry.
void OpenModuleEntry(int n)
{
    if (!DbOpenFlag) return;
    if (n == -1 || n == 65535) {
        // Only an interface file with modules defines the job queue's type.
        if (CompactVariant || !WinDefExists(WinTypes::JobQueue))
            OpenOrActivateWindow(WinTypes::ModuleList, 0, 0, false, 0);
        return;
    }
    const uint8_t *entry = PermittedModuleEntry(n);
    if (!entry) return;
    const int type = DefU16(entry + ModuleWindowsEntry::Type);
    const bool opened = WinFindByDef(type) == 0;
    const int m = OpenOrActivateWindow(type, 65535, 0, false, 0);
    // A list a record window limited to its own rows is the whole
    // register's again when its module opens it.
    ListFilterClear(m);
    // A record window opened here holds no record yet: it shows what a
    // new one starts with, ready for typing, and stays free to browse.
    if (m && opened) (void)WinShowNewDefaults(m);
}

// True when module-table entry `code` belongs to the current module: the
// entries of every module (0), those of the current module, and any
// while no module is current in an interface file without modules.
bool ModuleMatches(int code)
{
    // Without modules (no job queue type defined) every entry counts.
    return code == 0 || code == CurrentModule || (CurrentModule == 0 && !WinDefExists(WinTypes::JobQueue));
}
