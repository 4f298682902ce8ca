// record_locks.cpp - the record and register lock tables and their local
// operations. The tables are touched only from the one program thread.
#include "database/access/record_locks.h"

#include "core/server_hooks.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/settings_blocks.h"
#include "dict_offsets.h"

std::array<RecordLock, RecordLockEntries> RecordLockTable;
std::array<RegisterLock, RegisterLockEntries> RegisterLockTable;

namespace {

bool Holds(const RecordLock &e, int reg, uint32_t recid) {
    return e.recid != RecordLockFree && e.reg == (uint16_t)reg && e.recid == recid;
}

bool ExclusiveAllowed() {
    return ServerHooks.sessionsAllowExclusive ? ServerHooks.sessionsAllowExclusive() : true;
}

}  // namespace

void LocksInit() {
    RecordLockTable.fill(RecordLock{0, 0, RecordLockFree});
    RegisterLockTable.fill(RegisterLock{0, RegisterLockFree});
}

bool RecordLocked(int reg, uint32_t recid) {
    if (RunModeIsClient()) return false;
    for (const RecordLock &e : RecordLockTable)
        if (Holds(e, reg, recid)) {
            ShowTextMessage(Texts::RecordInUse);
            return true;
        }
    return false;
}

bool RecordLockedByOther(uint32_t owner, int reg, uint32_t recid) {
    for (const RecordLock &e : RecordLockTable)
        if (Holds(e, reg, recid) && e.owner != owner) return true;
    return false;
}

bool RecordLockAdd(uint32_t owner, int reg, uint32_t recid) {
    for (RecordLock &e : RecordLockTable)
        if (e.recid == RecordLockFree) {
            e = RecordLock{owner, (uint16_t)reg, recid};
            return true;
        }
    ShowTextMessage(Texts::RecordLockTableFull);
    return false;
}

bool RecordUnlock(uint32_t owner, int reg, uint32_t recid) {
    for (RecordLock &e : RecordLockTable)
        if (Holds(e, reg, recid) && e.owner == owner) e = RecordLock{0, 0, RecordLockFree};
    return true;
}

void RecordLocksDrop(int reg, uint32_t recid) {
    for (RecordLock &e : RecordLockTable)
        if (Holds(e, reg, recid)) e = RecordLock{0, 0, RecordLockFree};
}

bool RecordLockTake(int reg, uint32_t recid, uint8_t *record) {
    if (RecordLocked(reg, recid)) return false;
    bool taken = RecordLockAdd(LockOwnerId, reg, recid);
    // The record is read even without a lock, so the caller can show it.
    bool read = RecReadByIdLocal(reg, recid, record);
    if (taken && !read) RecordUnlock(LockOwnerId, reg, recid);
    return taken && read;
}

bool RegisterLocked(int number) {
    if (!RegisterLockNumberValid(number)) return false;
    for (const RegisterLock &e : RegisterLockTable)
        if (e.number != RegisterLockFree && e.number == (uint16_t)number) {
            ShowTextMessage(Texts::RecordInUse);
            return true;
        }
    return false;
}

bool RegisterLockAdd(uint32_t owner, int number) {
    if (!RegisterLockNumberValid(number)) return false;
    for (RegisterLock &e : RegisterLockTable)
        if (e.number == RegisterLockFree) {
            e = RegisterLock{owner, (uint16_t)number};
            return true;
        }
    ShowTextMessage(Texts::RegisterLockTableFull);
    return false;
}

bool RegisterUnlock(uint32_t owner, int number) {
    if (!RegisterLockNumberValid(number)) return false;
    for (RegisterLock &e : RegisterLockTable)
        if (e.number != RegisterLockFree && e.number == (uint16_t)number && e.owner == owner)
            e = RegisterLock{0, RegisterLockFree};
    return true;
}

bool RegisterLockTake(int number) {
    // A number the table cannot hold would alias another (or the free
    // mark) once cut to 16 bits.
    if (!RegisterLockNumberValid(number)) {
        ShowTextMessage(Texts::RegisterLockRefused);
        return false;
    }
    // A settings window on a block the program does not bind needs no
    // exclusive use of the company.
    bool exclusiveTest = !SettingsBlockIsUnbound(number);
    if (RegisterLocked(number)) {
        ShowTextMessage(Texts::RegisterLockRefused);
        return false;
    }
    if (exclusiveTest && !ExclusiveAllowed()) {
        ShowTextMessage(Texts::RegisterNeedsSingleUser);
        return false;
    }
    return RegisterLockAdd(LockOwnerId, number);
}

void SettingsBlockStoreUnlock(int block) { RegisterUnlock(LockOwnerId, block); }

void LocksReleaseOwner(uint32_t owner) {
    for (RecordLock &e : RecordLockTable)
        if (e.recid != RecordLockFree && e.owner == owner) e = RecordLock{0, 0, RecordLockFree};
    for (RegisterLock &e : RegisterLockTable)
        if (e.number != RegisterLockFree && e.owner == owner) e = RegisterLock{0, RegisterLockFree};
}

// The local forms of the lock dispatchers run for the current owner.
bool RecordLockTakeLocal(int reg, uint32_t recid, uint8_t *record) { return RecordLockTake(reg, recid, record); }
bool RecordUnlockLocal(int reg, uint32_t recid) { return RecordUnlock(LockOwnerId, reg, recid); }
bool RegisterLockTakeLocal(int number) { return RegisterLockTake(number); }
bool RegisterUnlockLocal(int number) { return RegisterUnlock(LockOwnerId, number); }
