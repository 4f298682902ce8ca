// record_dispatch.cpp - the dispatchers of the record layer: each looks at
// RunMode and runs either the local code or, in client mode, the client
// stub found in RemoteOps. Also holds the layer's shared state words.
#include <cstring>

#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"

uint16_t RunMode = 0;
uint32_t LockOwnerId = LockOwnerSelf;
uint32_t RecPendingSequence = 0;
bool RemoteConnectionLost = false;
RemoteOpsTable RemoteOps;

namespace {

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

}  // namespace

// ---- Reading ----

bool RecFind(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position) {
    if (!RunModeIsClient()) return RecFindLocal(reg, record, parts, exact, recid, position);
    if (!ClientReady(RemoteOps.recFind != nullptr)) return false;
    bool found = RemoteOps.recFind(reg, record, parts, exact, recid, position);
    return found && !RemoteConnectionLost;
}

bool RecFindKeep(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position) {
    if (!RunModeIsClient()) return RecFindKeepLocal(reg, record, parts, exact, recid, position);
    if (!ClientReady(RemoteOps.recFindKeep != nullptr)) return false;
    bool found = RemoteOps.recFindKeep(reg, record, parts, exact, recid, position);
    return found && !RemoteConnectionLost;
}

bool RecFindByIndex(int reg, const char *index, uint8_t *record, int parts, int exact, uint32_t *recid,
                    uint32_t *position) {
    if (!RunModeIsClient()) return RecFindByIndexLocal(reg, index, record, parts, exact, recid, position);
    if (!ClientReady(RemoteOps.recFindByIndex != nullptr)) return false;
    bool found = RemoteOps.recFindByIndex(reg, index, record, parts, exact, recid, position);
    return found && !RemoteConnectionLost;
}

bool RecFindByIndexKeep(int reg, const char *index, uint8_t *record, int parts, int exact, uint32_t *recid,
                        uint32_t *position) {
    if (!RunModeIsClient()) return RecFindByIndexKeepLocal(reg, index, record, parts, exact, recid, position);
    if (!ClientReady(RemoteOps.recFindByIndexKeep != nullptr)) return false;
    bool found = RemoteOps.recFindByIndexKeep(reg, index, record, parts, exact, recid, position);
    return found && !RemoteConnectionLost;
}

bool RecExists(int reg, uint8_t *record) {
    if (!RunModeIsClient()) return RecExistsLocal(reg, record);
    if (!ClientReady(RemoteOps.recExists != nullptr)) return false;
    bool found = RemoteOps.recExists(reg, record);
    return found && !RemoteConnectionLost;
}

bool RecReadById(int reg, uint32_t recid, uint8_t *record) {
    if (!RunModeIsClient()) return RecReadByIdLocal(reg, recid, record);
    if (!ClientReady(RemoteOps.recReadById != nullptr)) return false;
    bool found = RemoteOps.recReadById(reg, recid, record);
    return found && !RemoteConnectionLost;
}

bool RecReadAt(int reg, int32_t position, uint8_t *record, uint32_t *recid) {
    if (!RunModeIsClient()) return RecReadAtLocal(reg, position, record, recid);
    if (!ClientReady(RemoteOps.recReadAt != nullptr)) return false;
    bool found = RemoteOps.recReadAt(reg, "", position, record, recid);
    return found && !RemoteConnectionLost;
}

bool RecReadAtIndex(int reg, const char *index, int32_t position, uint8_t *record, uint32_t *recid) {
    if (!RunModeIsClient()) return RecReadAtIndexLocal(reg, index, position, record, recid);
    if (!ClientReady(RemoteOps.recReadAt != nullptr)) return false;
    bool found = RemoteOps.recReadAt(reg, index ? index : "", position, record, recid);
    return found && !RemoteConnectionLost;
}

bool RecReadAtIndexC(int reg, int32_t position, uint8_t *record, const char *index, uint32_t *recid) {
    if (!RunModeIsClient()) return RecReadAtIndexCLocal(reg, position, record, index, recid);
    if (!ClientReady(RemoteOps.recReadAtIndexC != nullptr)) return false;
    bool found = RemoteOps.recReadAtIndexC(reg, position, record, index ? index : "", recid);
    return found && !RemoteConnectionLost;
}

bool RecReread(int reg, uint32_t recid, uint8_t *record, int mode) {
    if (!RunModeIsClient()) return RecRereadLocal(reg, recid, record, mode);
    if (!ClientReady(RemoteOps.recReread != nullptr)) return false;
    bool found = RemoteOps.recReread(reg, recid, record, mode);
    return found && !RemoteConnectionLost;
}

bool RecBrowseNext(int reg, uint8_t *record, uint32_t *recid, const char *text) {
    if (!RunModeIsClient()) return RecBrowseNextLocal(reg, record, recid, text);
    if (!ClientReady(RemoteOps.recBrowseNext != nullptr)) return false;
    bool found = RemoteOps.recBrowseNext(reg, record, recid, text ? text : "");
    return found && !RemoteConnectionLost;
}

bool RecBrowsePrev(int reg, uint8_t *record, uint32_t *recid, const char *text) {
    if (!RunModeIsClient()) return RecBrowsePrevLocal(reg, record, recid, text);
    if (!ClientReady(RemoteOps.recBrowsePrev != nullptr)) return false;
    bool found = RemoteOps.recBrowsePrev(reg, record, recid, text ? text : "");
    return found && !RemoteConnectionLost;
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
    if (!ClientReady(RemoteOps.recCheck != nullptr)) return RecConnectionLost;
    int result = RemoteOps.recCheck(reg, data, size, mode);
    return RemoteConnectionLost ? RecConnectionLost : result;
}

uint32_t RegRecordCount(int reg) {
    if (!RunModeIsClient()) return RegRecordCountLocal(reg);
    if (!ClientReady(RemoteOps.regRecordCount != nullptr)) return 0;
    uint32_t n = RemoteOps.regRecordCount(reg);
    return RemoteConnectionLost ? 0 : n;
}

// ---- Writing ----

void RecInsertChecked(int reg, uint8_t *record, uint32_t *recid, int *result) {
    if (!RunModeIsClient()) return RecInsertCheckedLocal(reg, record, recid, result);
    *recid = 0;
    *result = RecConnectionLost;
    if (!ClientReady(RemoteOps.recInsertChecked != nullptr)) return;
    RemoteOps.recInsertChecked(reg, record, recid, result);
    if (RemoteConnectionLost) {
        *recid = 0;
        *result = RecConnectionLost;
    }
}

void RecUpdateChecked(int reg, uint8_t *record, uint32_t recid, int *result) {
    if (!RunModeIsClient()) return RecUpdateCheckedLocal(reg, record, recid, result);
    *result = RecConnectionLost;
    if (!ClientReady(RemoteOps.recUpdateChecked != nullptr)) return;
    RemoteOps.recUpdateChecked(reg, record, recid, result);
    if (RemoteConnectionLost) *result = RecConnectionLost;
}

int RecDeleteChecked(int reg, uint8_t *record, uint32_t *recid, const char *text) {
    if (!RunModeIsClient()) return RecDeleteCheckedLocal(reg, record, recid, text);
    if (!ClientReady(RemoteOps.recDeleteChecked != nullptr)) return RecConnectionLost;
    int result = RemoteOps.recDeleteChecked(reg, record, recid, text ? text : "");
    return RemoteConnectionLost ? RecConnectionLost : result;
}

// The operations below have no client request: on a client they refuse
// ("DB Call when in client") instead of running against no database.

bool RecInsertUnchecked(int reg, uint8_t *record, uint32_t *recid) {
    if (RefuseInClient()) return false;
    return RecInsertUncheckedLocal(reg, record, recid);
}

bool RecDeleteHooked(int reg, uint8_t *record, uint32_t recid) {
    if (RefuseInClient()) return false;
    return RecDeleteHookedLocal(reg, record, recid);
}

bool RecStore(int reg, uint8_t *record, int mode, uint32_t *recid) {
    if (RefuseInClient()) return false;
    return RecStoreLocal(reg, record, mode, recid);
}

bool RecStoreByKey(int reg, uint8_t *record, int replace, uint32_t *recid) {
    if (RefuseInClient()) return false;
    return RecStoreByKeyLocal(reg, record, replace, recid);
}

bool RecImportStore(int reg, uint8_t *record, int overwrite, uint32_t sequence) {
    if (RefuseInClient()) return false;
    return RecImportStoreLocal(reg, record, overwrite, sequence);
}

bool RegDeleteAll(int reg) {
    if (RefuseInClient()) return false;
    return RegDeleteAllLocal(reg);
}

// ---- Locks ----

bool RecordLockTakeCall(int reg, uint32_t recid, uint8_t *record) {
    if (!RunModeIsClient()) return RecordLockTakeLocal(reg, recid, record);
    if (!ClientReady(RemoteOps.recordLockTake != nullptr)) return false;
    bool taken = RemoteOps.recordLockTake(reg, recid, record);
    return taken && !RemoteConnectionLost;
}

bool RecordUnlockCall(int reg, uint32_t recid) {
    if (!RunModeIsClient()) return RecordUnlockLocal(reg, recid);
    if (!ClientReady(RemoteOps.recordUnlock != nullptr)) return false;
    bool done = RemoteOps.recordUnlock(reg, recid);
    return done && !RemoteConnectionLost;
}

bool RegisterLockTakeCall(int number) {
    if (!RunModeIsClient()) return RegisterLockTakeLocal(number);
    if (!ClientReady(RemoteOps.registerLockTake != nullptr)) return false;
    bool taken = RemoteOps.registerLockTake(number);
    return taken && !RemoteConnectionLost;
}

bool RegisterUnlockCall(int number) {
    if (!RunModeIsClient()) return RegisterUnlockLocal(number);
    if (!ClientReady(RemoteOps.registerUnlock != nullptr)) return false;
    bool done = RemoteOps.registerUnlock(number);
    return done && !RemoteConnectionLost;
}

// ---- Settings blocks ----

bool SettingsBlockRead(int block, uint8_t *buffer, uint32_t size) {
    if (!RunModeIsClient()) return SettingsBlockReadLocal(block, buffer, size);
    if (!ClientReady(RemoteOps.settingsBlockRead != nullptr)) return false;
    bool found = RemoteOps.settingsBlockRead(block, buffer, size);
    return found && !RemoteConnectionLost;
}

bool SettingsBlockFetch(MemBlock *var, int block) {
    if (!RunModeIsClient()) return SettingsBlockFetchLocal(var, block);
    if (!ClientReady(RemoteOps.settingsBlockFetch != nullptr)) return false;
    bool found = RemoteOps.settingsBlockFetch(var, block);
    return found && !RemoteConnectionLost;
}

int SettingsBlockStore(int block, const uint8_t *data, uint32_t size) {
    if (!RunModeIsClient()) return SettingsBlockStoreLocal(block, data, size);
    if (!ClientReady(RemoteOps.settingsBlockStore != nullptr)) return RecConnectionLost;
    int result = RemoteOps.settingsBlockStore(block, data, size);
    return RemoteConnectionLost ? RecConnectionLost : result;
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
