// settings_windows.cpp - saving the records of settings windows (kind 8:
// one record of a settings block; kind 9: a block of rows held by a handle
// at the start of the record) and storing a settings block together with
// the copies of it that the program keeps in memory.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/definitions.h"
#include "core/interface_load.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "shell/field_editing.h"
#include "shell/login.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_events.h"
#include "shell/window_table.h"

namespace {

// After a settings store of n with `result`: on success the type hears of
// it (event 24) and n closes (freeing its block lock); on failure the
// focus goes to the field the store named. True when stored.
bool SettingsStored(int n, int result)
{
    if (result != RecDone) {
        WinStoreFailedFocus(n, result);
        return false;
    }
    WindowEvent(n, WindowEventCode::Stored, nullptr, nullptr);
    WinClose(n);
    StateRefreshFlag = 1;
    return true;
}

// The first empty row left between filled rows stops a save: its first
// cell gets the focus. True when the rows may be stored.
bool RowsReady(int n)
{
    int empty = MatrixTrimBeforeSave(n);
    if (empty == 0) return true;
    WinGotoField(n, empty, true);
    return false;
}
}  // namespace

// The OK of a kind-9 settings window: stores the rows held at the start
// of n's record as n's block; then closes n. True when stored.
//
// The rows go through the record store of the layer, which runs the
// block's check (as it does for a client's rows on the server): the rows
// store of the layer does not, since an import stores blocks whose checks
// read registers imported after them. So a window never stores what the
// check refuses (overlapping ranges, a gap between fiscal years), and
// what the check completes (a new year's order code) is stored with it.
bool WinSaveRecord(int n)
{
    if (!WinIsOpen(n) || !RowsReady(n)) return false;
    WindowRec *w = WinTable[n];
    int block = WinTypeWord(w->windowType, 9);
    if (!MayStoreBlockHere(block)) return false;
    if (!w->record || WinTypeWord(w->windowType, 2) < 4) return SettingsStored(n, RecStoreFailed);
    MemBlock rows;
    memcpy(&rows, w->record, 4);
    uint32_t size = MemIsValid(rows) ? MemSize(rows) : 0;
    std::vector<uint8_t> bytes(size);
    if (size) {
        memcpy(bytes.data(), MemLock(rows), size);
        MemUnlock(rows);
    }
    // An empty table is stored as no rows; the layer wants a buffer all the same.
    static const uint8_t none[1] = {0};
    int result = SettingsRecordStore(block, size ? bytes.data() : none, size);
    // Stand-alone the layer has brought the bound copies up to date with
    // what it stored; a client's copies follow the rows the server took.
    if (result == RecDone && RunModeIsClient()) SettingsBlockBindingRefresh(block, rows);
    return SettingsStored(n, result);
}

// The OK of a kind-8 settings window: stores n's record as its block
// (with the copies bound to it), then closes n. True when stored.
bool WinSaveSettingsRecord(int n)
{
    if (!WinIsOpen(n) || !RowsReady(n)) return false;
    WindowRec *w = WinTable[n];
    if (!MayStoreBlockHere(WinTypeWord(w->windowType, 9))) return false;
    int result = SettingsRecordStore(WinTypeWord(w->windowType, 9), w->record, WinTypeWord(w->windowType, 2));
    return SettingsStored(n, result);
}

// Stores settings block `block` from `size` bytes of buffer with its
// check; once stored, every record copy of the block that the program
// keeps (a bound buffer) takes the new bytes and counts as loaded. A
// record-layer result: RecDone, or the failure the layer already told
// (RecStoreFailed as well for a block no descriptor names).
int SettingsRecordStore(int block, const uint8_t *buffer, uint32_t size)
{
    int found = -1;
    if (!buffer || !SettingsBlockDesc(block, &found) || found < 0) return RecStoreFailed;
    int result = SettingsBlockStore(block, buffer, size);
    if (result != RecDone) return result;
    for (int i = 0; i < SettingsBlockDescCount(); i++) {
        const uint8_t *desc = SettingsBlockDescAt(i);
        if (!desc || SettingsDescNumber(desc) != block || size_t(i) >= SettingsBlockStates.size()) continue;
        SettingsBlockState &state = SettingsBlockStates[size_t(i)];
        if (SettingsDescKind(desc) == 0 || !state.binding) continue;
        uint32_t bytes = std::min(state.size, size);
        memcpy(state.binding, buffer, bytes);
        state.loaded = 1;
    }
    return RecDone;
}

// True when the block of settings window n (kind 8) was stored anew since
// n read it: by another window on the same block or by another user. A
// block that cannot be read now counts as unchanged.
bool SettingsRecordChanged(int n)
{
    if (!WinIsOpen(n)) return false;
    WindowRec *w = WinTable[n];
    uint32_t size = WinTypeWord(w->windowType, 2);
    if (!w->stored || size == 0) return false;
    std::vector<uint8_t> now(size, 0);
    if (!SettingsBlockRead(WinTypeWord(w->windowType, 9), now.data(), size)) return false;
    return memcmp(now.data(), w->stored, size) != 0;
}

// Reads settings window n's block into its record (and its copy as read)
// again and shows it.
void SettingsRecordReread(int n)
{
    if (!WinIsOpen(n)) return;
    WindowRec *w = WinTable[n];
    uint32_t size = WinTypeWord(w->windowType, 2);
    if (!w->record || size == 0) return;
    (void)SettingsBlockRead(WinTypeWord(w->windowType, 9), w->record, size);
    if (w->stored) memcpy(w->stored, w->record, size);
    WinRecordRefresh(n);
}
