// page_setup.cpp - the page set-up a user keeps per window type, and the
// print set-up dialog that edits it.
//
// A set-up is one record of register "PageSetupVc" keyed by the user's
// code, an order flag and the window type; its rows handle (DeviceMode)
// holds the bytes DlgPrintSetupToBytes makes. The set-up dialog stores,
// loads and deletes under the one flag PageSetupDialogFlag, so that what
// one of them keeps the others find, on a server as stand-alone.
#include "shell/page_setup.h"

#include <cstring>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "shell/shell.h"

namespace {

// A record of the set-up register, freed with its rows when it goes.
struct SetupRecord {
    int reg = 0;
    MemBlock handle = 0;
    uint8_t *record = nullptr;

    explicit SetupRecord(int r) : reg(r) { record = RecBufferNew(reg, &handle); }
    ~SetupRecord() { RecBufferFree(reg, &handle); }
    SetupRecord(const SetupRecord &) = delete;
    SetupRecord &operator=(const SetupRecord &) = delete;
};

// The set-up register while a company is open; 0 otherwise.
int SetupRegister()
{
    if (!DbOpenFlag) return 0;
    return RegByName("PageSetupVc");
}

// Clears the record and puts the key (the current user, orderFlag,
// windowType) into it.
void PutKey(SetupRecord &r, int orderFlag, int windowType)
{
    uint8_t user[6];
    CurrentUserCode(user);
    RecClear(r.reg, r.record);
    PutText(r.record, PageSetupVc::UserCode, user);
    PutU16(r.record, PageSetupVc::OrderFlag, uint16_t(orderFlag));
    PutU16(r.record, PageSetupVc::WinType, uint16_t(windowType));
}

// Finds the set-up of (the current user, orderFlag, windowType); true
// when one is stored, with its rows in the record and its id in *recid.
// A miss leaves a cleared record.
bool FindSetup(SetupRecord &r, int orderFlag, int windowType, uint32_t *recid)
{
    PutKey(r, orderFlag, windowType);
    uint32_t position = 0;
    return RecFind(r.reg, r.record, 3, 1, recid, &position);
}

// True when the last record call of a client found no server (the
// record layer has told the user).
bool ServerLost() { return RunModeIsClient() && RemoteConnectionLost; }

// A new block holding a copy of `from`; 0 for a null block or when memory
// cannot be had (the memory layer has said so).
MemBlock BlockCopy(MemBlock from)
{
    if (from == 0 || !MemIsValid(from)) return 0;
    uint32_t size = MemSize(from);
    MemBlock to = MemAlloc(size);
    if (to == 0) return 0;
    std::memcpy(MemLock(to), MemLock(from), size);
    MemUnlock(from);
    MemUnlock(to);
    return to;
}

}  // namespace

// Frees the block in *handle, then, while a company is open, finds the
// set-up of (the current user, orderFlag, windowType) and puts a copy of
// its device mode into *handle. A missing register or set-up leaves the
// handle null: the printer's defaults apply.
void PageSetupLoad(int windowType, int orderFlag, MemBlock *handle)
{
    MemFree(handle);
    int reg = SetupRegister();
    if (reg <= 0) return;
    SetupRecord r(reg);
    uint32_t recid = 0;
    if (!r.record || !FindSetup(r, orderFlag, windowType, &recid)) return;
    *handle = BlockCopy(RecMatrixHandle(reg, r.record));
}

// Stores a copy of the block in *device as the set-up of (the current
// user, orderFlag, windowType): the stored record is updated, or a new one
// inserted. A null block has nothing to store: false, nothing told. Every
// other failure is told (no company or register: text PageSetupNotStored;
// a refused write: the record layer's own text) and gives false.
bool PageSetupStore(int windowType, int orderFlag, const MemBlock *device)
{
    if (device == nullptr || *device == 0) return false;
    int reg = SetupRegister();
    if (reg <= 0) {
        ShowTextMessage(Texts::PageSetupNotStored);
        return false;
    }
    SetupRecord r(reg);
    if (!r.record) return false;
    uint32_t recid = 0;
    bool found = FindSetup(r, orderFlag, windowType, &recid);
    if (ServerLost()) return false;                  // no server to store at; told
    if (!found) PutKey(r, orderFlag, windowType);   // the miss cleared it
    MemBlock copy = BlockCopy(*device);
    if (copy == 0) return false;
    RecFreeMatrix(reg, r.record);
    PutU32(r.record, PageSetupVc::DeviceMode, copy);
    int result = RecDone;
    if (found) RecUpdateChecked(reg, r.record, recid, &result);
    else RecInsertChecked(reg, r.record, &recid, &result);
    return result == RecDone;
}

// The print set-up dialog of a window type, owned by the MDI client. With
// Ctrl held the stored set-up is deleted first, so a cancel then leaves
// none. The dialog starts from the stored set-up (or the defaults); on OK
// its set-up is stored. A client that lost its server (told by the record
// layer) shows no dialog. True when a set-up was stored.
bool PrintSetupDialog(int unused, int windowType)
{
    (void)unused;
    if (PlKeyState(PlKey::Control) < 0) (void)PageSetupRecordSave(windowType);
    if (ServerLost()) return false;   // told once, by the record layer
    MemBlock stored = 0;
    PageSetupLoad(windowType, PageSetupDialogFlag, &stored);
    if (ServerLost()) return false;
    PlPrintSetup setup;
    (void)PageSetupFromHandle(stored, &setup);
    MemFree(&stored);
    if (!DlgPrintSetupDialog(MdiClientWindow, &setup)) return false;
    std::vector<uint8_t> bytes = DlgPrintSetupToBytes(setup);
    MemBlock device = MemAlloc(uint32_t(bytes.size()));
    if (device == 0) return false;
    std::memcpy(MemLock(device), bytes.data(), bytes.size());
    MemUnlock(device);
    bool ok = PageSetupStore(windowType, PageSetupDialogFlag, &device);
    MemFree(&device);
    return ok;
}

// Deletes the set-up of (the current user, PageSetupDialogFlag,
// windowType) while a company is open; true when one was deleted. None
// stored, no company or a refused delete (told by the record layer) give
// false.
bool PageSetupRecordSave(int windowType)
{
    int reg = SetupRegister();
    if (reg <= 0) return false;
    SetupRecord r(reg);
    uint32_t recid = 0;
    if (!r.record || !FindSetup(r, PageSetupDialogFlag, windowType, &recid)) return false;
    return RecDeleteChecked(reg, r.record, &recid, "") == RecDone;
}

// Replaces the block in *to by a copy of the block in *from; a null (or
// stale) source leaves *to null. The copy is made before *to is freed, so
// from and to may name the same handle.
void CopyGlobalToMem(const MemBlock *from, MemBlock *to)
{
    MemBlock copy = from ? BlockCopy(*from) : 0;
    MemFree(to);
    *to = copy;
}

// The same copy the other way; this program keeps both kinds of block
// alike.
void CopyMemToGlobal(const MemBlock *from, MemBlock *to) { CopyGlobalToMem(from, to); }
