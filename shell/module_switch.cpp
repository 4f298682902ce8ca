// module_switch.cpp - the current module: switching to another, and
// opening the module table's windows that belong to it.
#include "shell/login.h"

#include "core/definitions.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"

namespace {
constexpr int CompactWindowType = 13;  // the compact variant's one window
constexpr int ModuleTableSlot = 7;     // the module table: the register windows of the modules
constexpr int ModuleEntryType = 0, ModuleEntryModule = 6;
constexpr int ModuleListType = 9;      // a type the interface file defines when it has modules
}  // namespace

// Makes the current module current again (a server after an open): the
// register popup follows it.
void ModuleReactivate() { RebuildRegisterMenu(); }

// Switches to module m; the compact variant opens its one window.
void SwitchModule(int m, int flag)
{
    if (CompactVariant && m == -1) OpenOrActivateWindow(CompactWindowType, 0, 0, false, 0);
}

// Makes `module` current after `previous`; not built yet: nothing changes.
void ActivateModule(int module, int previous) {}

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
