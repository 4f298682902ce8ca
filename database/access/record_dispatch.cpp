// record_dispatch.cpp - the dispatchers of the record layer: each looks at
// RunMode and runs either the local code or, in client mode, the client
// stub found in RemoteOps. Also holds the layer's shared state words.
#include <cstring>

#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"
#include "database/access/settings_blocks.h"
#include "database/access/write_gate.h"

uint16_t RunMode = 0;
uint32_t LockOwnerId = LockOwnerSelf;
uint32_t RecPendingSequence = 0;
bool RemoteConnectionLost = false;
RemoteOpsTable RemoteOps;

namespace {

bool LostTold = false;   // the lost connection was told (RemoteLostTell)

// Before a client call: clears the lost-connection flag. A missing stub
// means there is no way to the server: the flag is set and the user told.
bool ClientReady(bool haveStub) {
    RemoteConnectionLost = false;
    if (haveStub) return true;
    RemoteConnectionLost = true;
    ShowTextMessage(RecConnectionLost);
    return false;
}

// Shown by the operations that only work where the database is.
bool RefuseInClient() {
    if (!RunModeIsClient()) return false;
    PString t;
    PStringFromC(t, "DB Call when in client");
    ShowMessage(0, t);
    return true;
}

// A write the access group refused (told) where the program keeps the
// company: it writes nothing, and the hold it would have joined fails, so
// nothing the same action wrote before it is kept either.
bool RefusedWrite() {
    DbHoldFail();
    return false;
}

// A client call of a stub that answers yes or no: no when there is no
// stub or the connection was lost during the call.
template <typename Stub, typename... Args>
bool AskServer(Stub stub, Args... args) {
    if (!ClientReady(stub != nullptr)) return false;
    bool yes = stub(args...);
    return yes && !RemoteConnectionLost;
}

// A client call of a stub that answers a result code: RecConnectionLost
// (and no field to focus) when there is no stub or the connection was
// lost during the call.
template <typename Stub, typename... Args>
int AskServerCode(Stub stub, Args... args) {
    RecFocusClear();
    if (!ClientReady(stub != nullptr)) return RecConnectionLost;
    int result = stub(args...);
    return RemoteConnectionLost ? RecConnectionLost : result;
}

}  // namespace

void RecFocusClear() { FieldErrorPos = ErrorPosition{RecFocusNone, 0, 0}; }

void RemoteLostTell(const uint8_t *extra) {
    if (LostTold) return;
    LostTold = true;
    ShowMessage(RecConnectionLost, extra);
}

void RemoteLostReset() { LostTold = false; }

// ---- Reading ----

bool RecFind(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position) {
    if (!RunModeIsClient()) return RecFindLocal(reg, record, parts, exact, recid, position);
    return AskServer(RemoteOps.recFind, reg, record, parts, exact, recid, position);
}

bool RecFindKeep(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position) {
    if (!RunModeIsClient()) return RecFindKeepLocal(reg, record, parts, exact, recid, position);
    return AskServer(RemoteOps.recFindKeep, reg, record, parts, exact, recid, position);
}

bool RecFindByIndex(int reg, const char *index, uint8_t *record, int parts, int exact, uint32_t *recid,
                    uint32_t *position) {
    if (!RunModeIsClient()) return RecFindByIndexLocal(reg, index, record, parts, exact, recid, position);
    return AskServer(RemoteOps.recFindByIndex, reg, index, record, parts, exact, recid, position);
}

bool RecFindByIndexKeep(int reg, const char *index, uint8_t *record, int parts, int exact, uint32_t *recid,
                        uint32_t *position) {
    if (!RunModeIsClient()) return RecFindByIndexKeepLocal(reg, index, record, parts, exact, recid, position);
    return AskServer(RemoteOps.recFindByIndexKeep, reg, index, record, parts, exact, recid, position);
}

bool RecExists(int reg, uint8_t *record) {
    if (!RunModeIsClient()) return RecExistsLocal(reg, record);
    return AskServer(RemoteOps.recExists, reg, record);
}

bool RecReadById(int reg, uint32_t recid, uint8_t *record) {
    if (!RunModeIsClient()) return RecReadByIdLocal(reg, recid, record);
    return AskServer(RemoteOps.recReadById, reg, recid, record);
}

bool RecReadAt(int reg, int32_t position, uint8_t *record, uint32_t *recid) {
    if (!RunModeIsClient()) return RecReadAtLocal(reg, position, record, recid);
    return AskServer(RemoteOps.recReadAt, reg, "", position, record, recid);
}

bool RecReadAtIndex(int reg, const char *index, int32_t position, uint8_t *record, uint32_t *recid) {
    if (!RunModeIsClient()) return RecReadAtIndexLocal(reg, index, position, record, recid);
    return AskServer(RemoteOps.recReadAt, reg, index ? index : "", position, record, recid);
}

bool RecReadAtIndexC(int reg, int32_t position, uint8_t *record, const char *index, uint32_t *recid) {
    if (!RunModeIsClient()) return RecReadAtIndexCLocal(reg, position, record, index, recid);
    return AskServer(RemoteOps.recReadAtIndexC, reg, position, record, index ? index : "", recid);
}

bool RecReread(int reg, uint32_t recid, uint8_t *record, int mode) {
    if (!RunModeIsClient()) return RecRereadLocal(reg, recid, record, mode);
    return AskServer(RemoteOps.recReread, reg, recid, record, mode);
}

bool RecBrowseNext(int reg, uint8_t *record, uint32_t *recid, const char *text) {
    if (!RunModeIsClient()) return RecBrowseNextLocal(reg, record, recid, text);
    return AskServer(RemoteOps.recBrowseNext, reg, record, recid, text ? text : "");
}

bool RecBrowsePrev(int reg, uint8_t *record, uint32_t *recid, const char *text) {
    if (!RunModeIsClient()) return RecBrowsePrevLocal(reg, record, recid, text);
    return AskServer(RemoteOps.recBrowsePrev, reg, record, recid, text ? text : "");
}

void RecNewDefaults(int reg, uint8_t *record) {
    if (!RunModeIsClient()) return RecNewDefaultsLocal(reg, record);
    if (ClientReady(RemoteOps.recNewDefaults != nullptr)) RemoteOps.recNewDefaults(reg, record);
}

void RecNewDefaultsOther(int reg, uint8_t *record) {
    if (!RunModeIsClient()) return RecNewDefaultsOtherLocal(reg, record);
    if (ClientReady(RemoteOps.recNewDefaultsOther != nullptr)) RemoteOps.recNewDefaultsOther(reg, record);
}

int RecCheck(int reg, uint8_t *data, uint32_t size, int mode) {
    if (!RunModeIsClient()) return RecCheckLocal(reg, data, size, mode);
    return AskServerCode(RemoteOps.recCheck, reg, data, size, mode);
}

uint32_t RegRecordCount(int reg) {
    if (!RunModeIsClient()) return RegRecordCountLocal(reg);
    if (!ClientReady(RemoteOps.regRecordCount != nullptr)) return 0;
    uint32_t n = RemoteOps.regRecordCount(reg);
    return RemoteConnectionLost ? 0 : n;
}

// ---- Writing ----

// Each write below runs as a WriteOperation: asked of the user's group
// unless an allowed write or operation made it, and what its hooks write
// in turn passes (write_gate.h). A checked write refused leaves the
// caller's hold as it was, as any refusal of its checks does; a write
// without checks that is refused fails the hold (RefusedWrite).

void RecInsertChecked(int reg, uint8_t *record, uint32_t *recid, int *result) {
    WriteOperation write(ReqInsertChecked, reg, record, 0);
    if (int refused = write.refused) {
        *recid = 0;
        *result = refused;
        RecFocusClear();
        return;
    }
    if (!RunModeIsClient()) return RecInsertCheckedLocal(reg, record, recid, result);
    *recid = 0;
    *result = RecConnectionLost;
    RecFocusClear();
    if (!ClientReady(RemoteOps.recInsertChecked != nullptr)) return;
    RemoteOps.recInsertChecked(reg, record, recid, result);
    if (RemoteConnectionLost) {
        *recid = 0;
        *result = RecConnectionLost;
    }
}

void RecUpdateChecked(int reg, uint8_t *record, uint32_t recid, int *result) {
    WriteOperation write(ReqUpdateChecked, reg, record, recid);
    if (int refused = write.refused) {
        *result = refused;
        RecFocusClear();
        return;
    }
    if (!RunModeIsClient()) return RecUpdateCheckedLocal(reg, record, recid, result);
    *result = RecConnectionLost;
    RecFocusClear();
    if (!ClientReady(RemoteOps.recUpdateChecked != nullptr)) return;
    RemoteOps.recUpdateChecked(reg, record, recid, result);
    if (RemoteConnectionLost) *result = RecConnectionLost;
}

int RecDeleteChecked(int reg, uint8_t *record, uint32_t *recid, const char *text) {
    WriteOperation write(ReqDeleteChecked, reg, record, *recid);
    if (int refused = write.refused) {
        RecFocusClear();
        return refused;
    }
    if (!RunModeIsClient()) return RecDeleteCheckedLocal(reg, record, recid, text);
    return AskServerCode(RemoteOps.recDeleteChecked, reg, record, recid, text ? text : "");
}

// The operations below have no client request: on a client they refuse
// ("DB Call when in client") instead of running against no database.

bool RecInsertUnchecked(int reg, uint8_t *record, uint32_t *recid) {
    if (RefuseInClient()) return false;
    WriteOperation write(ReqInsertChecked, reg, record, 0);
    if (write.refused) return RefusedWrite();
    return RecInsertUncheckedLocal(reg, record, recid);
}

bool RecDeleteHooked(int reg, uint8_t *record, uint32_t recid) {
    if (RefuseInClient()) return false;
    WriteOperation write(ReqDeleteChecked, reg, record, recid);
    if (write.refused) return RefusedWrite();
    return RecDeleteHookedLocal(reg, record, recid);
}

bool RecStore(int reg, uint8_t *record, int mode, uint32_t *recid) {
    if (RefuseInClient()) return false;
    const bool update = mode == 1;
    WriteOperation write(update ? ReqUpdateChecked : ReqInsertChecked, reg, record, update ? *recid : 0);
    if (write.refused) return RefusedWrite();
    return RecStoreLocal(reg, record, mode, recid);
}

// A store by key may insert: asked as an insert, the stricter question.
bool RecStoreByKey(int reg, uint8_t *record, int replace, uint32_t *recid) {
    if (RefuseInClient()) return false;
    WriteOperation write(ReqInsertChecked, reg, record, 0);
    if (write.refused) return RefusedWrite();
    return RecStoreByKeyLocal(reg, record, replace, recid);
}

bool RecImportStore(int reg, uint8_t *record, int overwrite, uint32_t sequence, bool *failed) {
    if (failed) *failed = false;
    if (RefuseInClient()) {
        if (failed) *failed = true;
        return false;
    }
    WriteOperation write(ReqInsertChecked, reg, record, 0);
    if (write.refused) {
        if (failed) *failed = true;
        return RefusedWrite();
    }
    return RecImportStoreLocal(reg, record, overwrite, sequence, failed);
}

bool RegDeleteAll(int reg) {
    if (RefuseInClient()) return false;
    WriteOperation write(ReqDeleteChecked, reg, nullptr, 0);
    if (write.refused) return RefusedWrite();
    return RegDeleteAllLocal(reg);
}

// ---- Locks ----

bool RecordLockTakeCall(int reg, uint32_t recid, uint8_t *record) {
    if (LocalWriteRefused(ReqRecordLockTake, reg, nullptr, recid)) return false;
    if (!RunModeIsClient()) return RecordLockTakeLocal(reg, recid, record);
    return AskServer(RemoteOps.recordLockTake, reg, recid, record);
}

bool RecordUnlockCall(int reg, uint32_t recid) {
    if (!RunModeIsClient()) return RecordUnlockLocal(reg, recid);
    return AskServer(RemoteOps.recordUnlock, reg, recid);
}

bool RegisterLockTakeCall(int number) {
    if (LocalBlockRefused(number)) return false;
    if (!RunModeIsClient()) return RegisterLockTakeLocal(number);
    return AskServer(RemoteOps.registerLockTake, number);
}

bool RegisterUnlockCall(int number) {
    if (!RunModeIsClient()) return RegisterUnlockLocal(number);
    return AskServer(RemoteOps.registerUnlock, number);
}

// ---- Settings blocks ----

bool SettingsBlockRead(int block, uint8_t *buffer, uint32_t size) {
    if (!RunModeIsClient()) return SettingsBlockReadLocal(block, buffer, size);
    return AskServer(RemoteOps.settingsBlockRead, block, buffer, size);
}

bool SettingsBlockFetch(MemBlock *var, int block) {
    if (!RunModeIsClient()) return SettingsBlockFetchLocal(var, block);
    return AskServer(RemoteOps.settingsBlockFetch, var, block);
}

int SettingsBlockStore(int block, const uint8_t *data, uint32_t size) {
    if (!RunModeIsClient()) return SettingsBlockStoreLocal(block, data, size);
    return AskServerCode(RemoteOps.settingsBlockStore, block, data, size);
}

int SettingsBlockStoreHandle(int block, MemBlock handle) {
    if (!RunModeIsClient()) return SettingsBlockStoreHandleLocal(block, handle);
    // The server runs the check; the bound copy follows only a store that
    // was done.
    uint32_t size = handle ? MemSize(handle) : 0;
    uint8_t *data = handle ? MemLock(handle) : nullptr;
    static const uint8_t none[1] = {0};
    int result = SettingsBlockStore(block, data ? data : none, size);
    if (handle) MemUnlock(handle);
    if (result == RecDone) SettingsBlockBindingRefresh(block, handle);
    return result;
}

uint32_t SettingsBlockSize(int block) {
    if (RefuseInClient()) return 0;
    return SettingsBlockSizeLocal(block);
}
