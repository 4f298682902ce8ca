// record_local.cpp - the local code of the record layer over the engine:
// per-register state, conversion to file form around every engine call,
// record counts, browsing, and the hook order around inserts, updates,
// import stores and deletes (register_hooks.h gives the order).
//
// Records stay in memory form for the caller. A search converts the
// caller's record to file form for the key and back after; a key-only
// test works on a converted copy so the caller's record is not touched.
// Records among equal keys are located by key and record id together, so
// delete and browse reach the record meant and pass equal keys in the
// order they were inserted.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/definitions.h"
#include "core/file_form.h"
#include "core/interface_load.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/server_hooks.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/record_locks.h"
#include "database/access/register_hooks.h"
#include "database/engine/engine.h"
#include "database/engine/engine_state.h"   // a stored record's write serial; failing a hold
#include "dict_offsets.h"

namespace {

constexpr uint16_t ChainTypeRecord = 1;
constexpr size_t IndexNameRoom = 256;
constexpr uint32_t UserCodeFieldSize = 6;   // PString of at most 5 characters

bool RegValid(int reg) { return reg >= 1 && reg < RegisterCount && RegRecordSize(reg) > 0; }

void ToFile(int reg, uint8_t *record) { RecordConvert(reg, record, ConvertToFile); }
void ToMemory(int reg, uint8_t *record) { RecordConvert(reg, record, ConvertToMemory); }

// The index to use: the named one, or the current index for null or "".
// false when the register has no current index.
bool IndexToUse(int reg, const char *index, char *name) {
    if (index && index[0]) {
        std::snprintf(name, IndexNameRoom, "%s", index);
        return true;
    }
    RegIndexName(reg, name);
    return name[0] != 0;
}

// The record's fixed part in file form, with its rows slot emptied, for a
// key that must not disturb the caller's record.
std::vector<uint8_t> KeyCopy(int reg, const uint8_t *record) {
    uint32_t size = RegRecordSize(reg);
    std::vector<uint8_t> copy(record, record + size);
    int32_t slot = RegMatrixOffset(reg);
    if (slot >= 0 && (uint32_t)slot + 4 <= size) std::memset(copy.data() + slot, 0, 4);
    ToFile(reg, copy.data());
    return copy;
}

// Searches index for the record's key (the record converted around the
// call); a miss clears the record when clearOnMiss.
bool FindThrough(int reg, const char *index, uint8_t *record, int parts, int exact, int direction, bool clearOnMiss,
                 uint32_t *recid, uint32_t *position) {
    *recid = 0;
    *position = 0;
    char name[IndexNameRoom];
    bool found = false;
    if (RegValid(reg) && IndexToUse(reg, index, name)) {
        RegMarkOpen(reg);
        ToFile(reg, record);
        found = D4RecordFind(reg, name, record, parts, exact, direction, recid, position);
        ToMemory(reg, record);
    }
    if (!found) {
        *recid = 0;
        *position = 0;
        if (clearOnMiss) RecClear(reg, record);
    }
    return found;
}

// The id of the entry with the record's full key in index (the first
// among equal keys); false when none.
bool FindIdByKey(int reg, const char *name, const uint8_t *record, uint32_t *recid) {
    std::vector<uint8_t> key = KeyCopy(reg, record);
    uint32_t position = 0;
    if (D4RecordFindKey(reg, name, key.data(), 0, 1, 1, recid, &position)) return true;
    *recid = 0;
    return false;
}

// Reads the record at position of index into record; the id into *recid.
bool ReadPosition(int reg, const char *name, uint32_t position, uint8_t *record, uint32_t *recid) {
    uint32_t id = 0;
    if (position == 0 || !D4RecordReadPos(reg, name, position, record, &id)) return false;
    ToMemory(reg, record);
    *recid = id;
    return true;
}

// The write serial of stored record recid; false when it is not there or
// is no record of reg. Reads only the chain's head, and asks nothing that
// the engine would count as damage for an id that is gone.
bool StoredSerial(int reg, uint32_t recid, uint32_t *serial) {
    MemBlock h = 0;
    ChainInfo info;
    if (!D4SegmentReadNew(recid, &h, 4, &info)) return false;
    MemFree(&h);
    if (info.type != ChainTypeRecord || info.number != reg) return false;
    *serial = info.serial;
    return true;
}

// true when recid is a live record of reg.
bool StoredLive(int reg, uint32_t recid) {
    uint32_t serial = 0;
    return StoredSerial(reg, recid, &serial);
}

void CountAdd(int reg, int delta) {
    uint32_t n = RecordCounts[(size_t)reg];
    if (delta < 0) n = n > 0 ? n - 1 : 0;
    else n++;
    RegSetRecordCount(reg, n);
}

// A write failed after something of it may have been written: tells the
// user and fails the hold, so nothing of it is stored.
void WriteFailed(int *result) {
    ShowTextMessage(RecStoreFailed);
    *result = RecStoreFailed;
    DbHoldFail();
}

// Ends the hold of a validated write. A done write whose hold failed (by
// its commit, or anything earlier in an enclosing hold) is reported as not
// stored; a refusal or a failure stays what it was.
void EndWriteHold(int *result) {
    bool committed = DbHoldEnd();
    if (*result == RecDone && !committed) {
        ShowTextMessage(RecStoreFailed);
        *result = RecStoreFailed;
    }
}

// Takes every register's count from its index again (after a hold was
// abandoned, the counts kept in memory may count writes that are gone).
void RecountRegisters() {
    for (int reg = 1; reg < RegisterCount; reg++)
        if (RegValid(reg)) RecordCounts[(size_t)reg] = RegRecordCountLocal(reg);
    if (ServerHooks.sessionFlagsClear) ServerHooks.sessionFlagsClear();
}

bool Browse(int reg, uint8_t *record, uint32_t *recid, bool next) {
    char name[IndexNameRoom];
    if (!RegValid(reg) || !IndexToUse(reg, nullptr, name)) return false;
    RegMarkOpen(reg);
    std::vector<uint8_t> key = KeyCopy(reg, record);
    uint32_t p = 0;
    bool own = D4RecordPosition(reg, name, key.data(), *recid, &p);
    if (!own) {
        // Not a stored record: start from the first entry not below its
        // key, or from the last entry when every key is below it.
        uint32_t id = 0;
        if (!D4RecordFindKey(reg, name, key.data(), 0, 0, 1, &id, &p)) p = D4RecordCount(reg, name);
    }
    uint32_t stepped = p;
    if (own) stepped = next ? p + 1 : (p > 1 ? p - 1 : 1);
    return ReadPosition(reg, name, stepped, record, recid) || ReadPosition(reg, name, p, record, recid) ||
           ReadPosition(reg, name, 1, record, recid);
}

}  // namespace

// ---- Layer start and registers ----

bool DbLayerInit() {
    bool ok = D4Init(RunModeIsClient() ? 0 : (uint32_t)DbMemoryBudget());
    LocksInit();
    for (int reg = 1; reg < RegisterCount; reg++) RegisterStates[(size_t)reg].keyDefs = RegIndexDefs(reg);
    return ok;
}

void RegMarkOpen(int reg) {
    if (reg >= 0 && (size_t)reg < RegisterStates.size()) RegisterStates[(size_t)reg].opened = 1;
}

const uint8_t *RegCurrentIndexDef(int reg) {
    int n = RegIndexCount(reg);
    for (int i = 0; i < n; i++) {
        const uint8_t *def = RegIndexDef(reg, i);
        if (def && IndexDefWord(def, 1) == 1) return def;
    }
    return nullptr;
}

void RegIndexName(int reg, char *name) {
    name[0] = 0;
    const uint8_t *def = RegCurrentIndexDef(reg);
    if (!def) return;
    const uint8_t *p = IndexDefName(def);
    std::memcpy(name, p + 1, p[0]);
    name[p[0]] = 0;
}

uint32_t RegIndexInfo(int reg, uint8_t *name, uint16_t *type, uint16_t *length) {
    const uint8_t *def = RegCurrentIndexDef(reg);
    if (!def || IndexDefPartCount(def) == 0) return 0;
    KeyPartInfo part = IndexDefPart(def, 0);
    if (name) PStringCopy(name, IndexDefName(def));
    if (type) *type = part.type;
    if (length) *length = part.length;
    return part.recordOffset;
}

uint32_t RegRecordCountLocal(int reg) {
    char name[IndexNameRoom];
    if (!RegValid(reg) || !IndexToUse(reg, nullptr, name)) return 0;
    return D4RecordCount(reg, name);
}

uint32_t RegOpenCount(int reg) {
    if (RunModeIsClient()) return RegRecordCount(reg);
    if (!D4IsOpen()) return 0;
    RegMarkOpen(reg);
    return RegRecordCount(reg);
}

void RegSetRecordCount(int reg, uint32_t n) {
    if (reg < 0 || (size_t)reg >= RecordCounts.size()) return;
    RecordCounts[(size_t)reg] = n;
    if (ServerHooks.sessionFlagsClear) ServerHooks.sessionFlagsClear();
}

void DbHoldBegin() {
    if (D4IsOpen() && !RunModeIsClient()) D4Hold();
}

bool DbHoldEnd() {
    if (!D4IsOpen() || RunModeIsClient() || D4HoldCount() == 0) return true;
    bool outermost = D4HoldCount() == 1;
    bool ok = D4DiskFlush();
    if (outermost && !ok) RecountRegisters();
    return ok;
}

void DbHoldFail() {
    if (D4IsOpen() && !RunModeIsClient() && D4HoldCount() > 0) D4HoldFail();
}

// ---- Reading ----

bool RecFindLocal(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position) {
    return FindThrough(reg, nullptr, record, parts, exact, 1, true, recid, position);
}

bool RecFindKeepLocal(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position) {
    return FindThrough(reg, nullptr, record, parts, exact, -1, false, recid, position);
}

bool RecFindByIndexLocal(int reg, const char *index, uint8_t *record, int parts, int exact, uint32_t *recid,
                         uint32_t *position) {
    return FindThrough(reg, index, record, parts, exact, 1, true, recid, position);
}

bool RecFindByIndexKeepLocal(int reg, const char *index, uint8_t *record, int parts, int exact, uint32_t *recid,
                             uint32_t *position) {
    return FindThrough(reg, index, record, parts, exact, -1, false, recid, position);
}

bool RecExistsLocal(int reg, uint8_t *record) {
    char name[IndexNameRoom];
    if (!RegValid(reg) || !IndexToUse(reg, nullptr, name)) return false;
    RegMarkOpen(reg);
    uint32_t recid = 0;
    return FindIdByKey(reg, name, record, &recid);
}

bool RecReadByIdLocal(int reg, uint32_t recid, uint8_t *record) {
    if (!RegValid(reg) || RegIsSimple(reg)) return false;
    RegMarkOpen(reg);
    if (D4RecordReadRecid(reg, recid, record) != 1) return false;
    ToMemory(reg, record);
    return true;
}

bool RecReadAtLocal(int reg, int32_t position, uint8_t *record, uint32_t *recid) {
    return RecReadAtIndexLocal(reg, nullptr, position, record, recid);
}

bool RecReadAtIndexLocal(int reg, const char *index, int32_t position, uint8_t *record, uint32_t *recid) {
    char name[IndexNameRoom];
    if (position <= 0 || !RegValid(reg) || !IndexToUse(reg, index, name)) return false;
    RegMarkOpen(reg);
    return ReadPosition(reg, name, (uint32_t)position, record, recid);
}

bool RecReadAtIndexCLocal(int reg, int32_t position, uint8_t *record, const char *index, uint32_t *recid) {
    RecMatrixDrop(reg, record);
    bool found = RecReadAtIndexLocal(reg, index, position, record, recid);
    RecFreeMatrix(reg, record);
    return found;
}

bool RecRereadLocal(int reg, uint32_t recid, uint8_t *record, int mode) {
    if (mode == 2) RecordUnlock(LockOwnerId, reg, recid);
    return RecReadByIdLocal(reg, recid, record);
}

bool RecBrowseNextLocal(int reg, uint8_t *record, uint32_t *recid, const char *) {
    return Browse(reg, record, recid, true);
}

bool RecBrowsePrevLocal(int reg, uint8_t *record, uint32_t *recid, const char *) {
    return Browse(reg, record, recid, false);
}

void RecClear(int reg, uint8_t *record) {
    if (!record) return;
    RecFreeMatrix(reg, record);
    std::memset(record, 0, RegRecordSize(reg));
}

void RecNewDefaultsLocal(int reg, uint8_t *record) {
    RecClear(reg, record);
    int32_t slot = RegMatrixOffset(reg);
    if (slot >= 0 && (uint32_t)slot + 4 <= RegRecordSize(reg)) {
        MemBlock rows = MemAlloc(0);
        std::memcpy(record + slot, &rows, 4);
    }
    NewRecordDefaults(reg, record);
}

void RecNewDefaultsOtherLocal(int reg, uint8_t *record) { NewRecordDefaultsOther(reg, record); }

// ---- Writing ----

bool RecInsertLocal(int reg, uint8_t *record, uint32_t *recid) {
    *recid = 0;
    if (!RegValid(reg)) return false;
    int32_t userCode = RegUserCodeOffset(reg);
    if (userCode >= 0 && (uint32_t)userCode + UserCodeFieldSize <= RegRecordSize(reg))
        CurrentUserCode(record + userCode);
    RegMarkOpen(reg);
    ToFile(reg, record);
    uint32_t id = 0;
    bool ok = D4RecordInsert(reg, record, &id);
    RecPendingSequence = 0;
    ToMemory(reg, record);
    if (!ok) return false;
    *recid = id;
    CountAdd(reg, +1);
    return true;
}

bool RecUpdateLocal(int reg, uint8_t *record, uint32_t recid) {
    if (!RegValid(reg)) return false;
    RegMarkOpen(reg);
    ToFile(reg, record);
    bool ok = RecordIDUpdate(reg, recid, record);
    RecPendingSequence = 0;
    ToMemory(reg, record);
    return ok;
}

void RecInsertCheckedLocal(int reg, uint8_t *record, uint32_t *recid, int *result) {
    *recid = 0;
    *result = RecDone;
    RecFocusClear();
    DbHoldBegin();
    uint32_t id = 0;
    if (InsertKeyExists(reg, record)) {
        ShowTextMessage(Texts::RecordKeyExists);
        *result = RecKeyExists;
        FieldErrorPos.field = (uint16_t)RegIndexInfo(reg, nullptr, nullptr, nullptr);
    } else if (ValidateRecord(reg, record, record, 1) != 0) {
        *result = RecRefused;
    } else if (BeforeInsertHook(reg, record) == 0 || !RecInsertLocal(reg, record, &id) ||
               AfterInsertHook(reg, record, id, 1) == 0) {
        WriteFailed(result);
    }
    EndWriteHold(result);
    if (*result == RecDone) *recid = id;
}

void RecUpdateCheckedLocal(int reg, uint8_t *record, uint32_t recid, int *result) {
    *result = RecDone;
    RecFocusClear();
    DbHoldBegin();
    RegMarkOpen(reg);
    MemBlock storedHandle = 0;
    uint8_t *stored = RecBufferNew(reg, &storedHandle);
    if (!stored || !RecReadByIdLocal(reg, recid, stored)) {
        // Deleted meanwhile (or never stored): nothing to validate against.
        ShowTextMessage(RecNotFound);
        *result = RecNotFound;
    } else if (RecordLockedByOther(LockOwnerId, reg, recid)) {
        ShowTextMessage(Texts::RecordInUse);
        *result = Texts::RecordInUse;
    } else {
        PreserveStoredFields(reg, stored, record);
        if (ValidateRecord(reg, record, stored, 2) != 0) {
            *result = RecRefused;
        } else if (BeforeUpdateHook(reg, record, stored, recid) == 0 || !RecUpdateLocal(reg, record, recid) ||
                   AfterUpdateHook(reg, record, stored, recid) == 0) {
            WriteFailed(result);
        }
    }
    RecBufferFree(reg, &storedHandle);
    EndWriteHold(result);
    // The caller keeps its lock until the change is stored.
    if (*result == RecDone) RecordUnlock(LockOwnerId, reg, recid);
}

int RecDeleteCheckedLocal(int reg, uint8_t *record, uint32_t *recid, const char *) {
    int result = RecDone;
    char name[IndexNameRoom];
    uint32_t p = 0;
    const uint32_t gone = *recid;
    RecFocusClear();
    DbHoldBegin();
    RegMarkOpen(reg);
    if (!RegValid(reg) || !IndexToUse(reg, nullptr, name) || !StoredLive(reg, gone)) {
        ShowTextMessage(RecNotFound);
        result = RecNotFound;
    } else if (RecordLockedByOther(LockOwnerId, reg, gone)) {
        ShowTextMessage(Texts::RecordInUse);
        result = Texts::RecordInUse;
    } else if (CanDeleteRecord(reg, record, 1) == 0) {
        result = RecDeleteRefused;
    } else {
        // The stored record, read again, is what goes; its own index entry
        // is found by key and id, whatever equal keys surround it.
        MemBlock storedHandle = 0;
        uint8_t *stored = RecBufferNew(reg, &storedHandle);
        bool there = stored && RecReadByIdLocal(reg, gone, stored);
        if (there) {
            std::vector<uint8_t> key = KeyCopy(reg, stored);
            there = D4RecordPosition(reg, name, key.data(), gone, &p);
        }
        if (!there) {
            ShowTextMessage(RecNotFound);
            result = RecNotFound;
        } else if (BeforeDeleteHook(reg, stored) == 0 || !D4RecordIDDelete(reg, gone)) {
            WriteFailed(&result);
        } else {
            CountAdd(reg, -1);
        }
        RecBufferFree(reg, &storedHandle);
    }
    EndWriteHold(&result);
    if (RegValid(reg)) RegSetRecordCount(reg, RegRecordCountLocal(reg));
    if (result != RecDone) return result;
    // Nobody's lock outlives the record; the caller is shown the record
    // that now stands at the same position.
    RecordLocksDrop(reg, gone);
    uint32_t left = D4RecordCount(reg, name);
    if (!ReadPosition(reg, name, std::min(p, left), record, recid)) {
        RecClear(reg, record);
        *recid = 0;
    }
    return result;
}

bool RecInsertUncheckedLocal(int reg, uint8_t *record, uint32_t *recid) {
    *recid = 0;
    DbHoldBegin();
    uint32_t id = 0;
    int result = RecDone;
    if (BeforeInsertHook(reg, record) == 0 || !RecInsertLocal(reg, record, &id) ||
        AfterInsertHook(reg, record, id, 1) == 0)
        WriteFailed(&result);
    EndWriteHold(&result);
    if (result == RecDone) *recid = id;
    return result == RecDone;
}

bool RecDeleteHookedLocal(int reg, uint8_t *record, uint32_t recid) {
    if (!RegValid(reg)) return false;
    RegMarkOpen(reg);
    // A stale id is a refused request, not damage: the engine is not asked.
    if (!StoredLive(reg, recid)) {
        ShowTextMessage(RecNotFound);
        return false;
    }
    if (BeforeDeleteHook(reg, record) == 0 || !D4RecordIDDelete(reg, recid)) {
        DbHoldFail();
        return false;
    }
    CountAdd(reg, -1);
    RecordLocksDrop(reg, recid);
    return true;
}

bool RecStoreLocal(int reg, uint8_t *record, int mode, uint32_t *recid) {
    if (mode == 1) return RecUpdateLocal(reg, record, *recid);
    return RecInsertLocal(reg, record, recid);
}

bool RecStoreByKeyLocal(int reg, uint8_t *record, int replace, uint32_t *recid) {
    char name[IndexNameRoom];
    *recid = 0;
    if (!RegValid(reg) || !IndexToUse(reg, nullptr, name)) return false;
    RegMarkOpen(reg);
    uint32_t id = 0;
    if (!FindIdByKey(reg, name, record, &id)) return RecInsertLocal(reg, record, recid);
    if (!replace) return false;
    // A simple register's record is its key: the same key is the same record.
    if (RegIsSimple(reg)) return true;
    *recid = id;
    return RecUpdateLocal(reg, record, id);
}

bool RecImportStoreLocal(int reg, uint8_t *record, int overwrite, uint32_t sequence, bool *failed) {
    if (failed) *failed = false;
    char name[IndexNameRoom];
    if (!RegValid(reg) || RegisterRulesWaiting(reg) || !IndexToUse(reg, nullptr, name)) return false;
    RegMarkOpen(reg);
    uint32_t id = 0;
    bool stored = false;
    if (FindIdByKey(reg, name, record, &id)) {
        bool replace = false;
        if (sequence != 0) {
            uint32_t serial = 0;
            replace = StoredSerial(reg, id, &serial) && sequence > serial;
        } else {
            replace = overwrite != 0;
        }
        if (!replace || RegIsSimple(reg)) return false;   // the stored copy is kept
        BeforeStoreHook(reg, record);
        stored = RecUpdateLocal(reg, record, id);
    } else {
        BeforeStoreHook(reg, record);
        stored = RecInsertLocal(reg, record, &id);
    }
    if (!stored) {
        // Refused (a write the disk would not take, say): the hold is
        // undone at its end, so nothing of this record was kept either.
        DbHoldFail();
        if (failed) *failed = true;
        return false;
    }
    AfterStoreHook(reg, record, id);
    return true;
}

bool RegDeleteAllLocal(int reg) {
    char name[IndexNameRoom];
    if (!RegValid(reg) || !IndexToUse(reg, nullptr, name)) return false;
    RegMarkOpen(reg);
    MemBlock h = 0;
    uint8_t *record = RecBufferNew(reg, &h);
    if (!record) return false;
    bool ok = true;
    for (;;) {
        RecMatrixDrop(reg, record);   // only the key matters
        uint32_t id = 0;
        if (!D4RecordReadPos(reg, name, 1, record, &id)) break;
        if (!D4RecordIDDelete(reg, id)) {
            ok = false;   // a record that cannot go would be read again forever
            break;
        }
    }
    RecFreeMatrix(reg, record);
    RecBufferFree(reg, &h);
    RegSetRecordCount(reg, ok ? 0 : RegRecordCountLocal(reg));
    return ok;
}
