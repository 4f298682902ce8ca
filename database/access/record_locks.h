// record_locks.h - the record and register locks that keep two users on
// one server from changing the same record or settings block at once.
//
// Two small tables live on the machine that owns the database: record
// locks (owner, register, record id) and register locks (owner, register
// or settings-block number). The owner is LockOwnerId: the session id of
// the request being served on a server, the program's own id stand-alone.
// Locks are advisory: these operations check and take them, the write
// paths release them, and a validated update refuses while another owner
// holds the record.
//
// Every owner removes only its own entries; LocksReleaseOwner clears all
// of one owner when its session ends.
#pragma once

#include <array>
#include <cstdint>

#include "database/access/settings_blocks.h"

struct RecordLock {
    uint32_t owner;
    uint16_t reg;
    uint32_t recid;   // 0xFFFFFFFF: the entry is free
};

struct RegisterLock {
    uint32_t owner;
    uint16_t number;   // 65535: the entry is free
};

constexpr int RecordLockEntries = 100;
constexpr int RegisterLockEntries = 20;
constexpr uint32_t RecordLockFree = 0xFFFFFFFFu;
constexpr uint16_t RegisterLockFree = 65535;

extern std::array<RecordLock, RecordLockEntries> RecordLockTable;
extern std::array<RegisterLock, RegisterLockEntries> RegisterLockTable;

// Every entry free (owner 0).
void LocksInit();

// true (text 1520 shown) when any owner holds the record; always false in
// client mode.
bool RecordLocked(int reg, uint32_t recid);
// true when an owner other than owner holds the record (no message).
bool RecordLockedByOther(uint32_t owner, int reg, uint32_t recid);
// Adds a lock in the first free entry; false (text 1406) when all are taken.
bool RecordLockAdd(uint32_t owner, int reg, uint32_t recid);
// Removes owner's entries on the record; true.
bool RecordUnlock(uint32_t owner, int reg, uint32_t recid);
// Removes every owner's entries on a record that was deleted.
void RecordLocksDrop(int reg, uint32_t recid);
// false when the record is locked (text 1520). Otherwise adds the lock for
// the current owner and reads the record by id; true only when the lock
// was taken (a full table shows text 1406, still reads, and gives false).
bool RecordLockTake(int reg, uint32_t recid, uint8_t *record);

// Register locks are taken on register numbers 1..132 and settings-block
// numbers 129..227; no other number has a place in the table.
constexpr int RegisterLockFirst = 1, RegisterLockLast = SettingsBlockLast;
inline bool RegisterLockNumberValid(int number) {
    return number >= RegisterLockFirst && number <= RegisterLockLast;
}

// true (text 1520 shown) when any owner holds the number.
bool RegisterLocked(int number);
// false, text 1407, when full; false for a number outside the table.
bool RegisterLockAdd(uint32_t owner, int number);
// owner's entries only; false for a number outside the table, else true.
bool RegisterUnlock(uint32_t owner, int number);
// Takes the lock for the current owner: refused (text 1408) for a number
// outside the table; refused (text 1520, then 1408) when anyone holds it;
// refused (text 1402) when exclusive use is not allowed now, unless the
// number names an unbound settings block.
bool RegisterLockTake(int number);
// Releases the current owner's register lock on a settings block after
// it was stored.
void SettingsBlockStoreUnlock(int block);

// Removes every record and register lock of owner.
void LocksReleaseOwner(uint32_t owner);
