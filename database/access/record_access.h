// record_access.h - the only way the rest of the program reaches records,
// locks on the server's tables and settings blocks stored in the database.
//
// Every operation takes a register (or block) number first and exists in
// up to three tiers:
//   Name        the dispatcher: looks at RunMode; in client mode (3) it
//               calls the client stub through RemoteOps, otherwise the
//               local code;
//   NameLocal   the local code over the engine (record_local.cpp); on a
//               server it runs inside the handling of a client's request;
//   NameRemote  the client stub (database/access/remote*.cpp) that sends
//               the request to the server and reads its reply.
// All three tiers of one operation take the same arguments and give the
// same kind of result.
//
// The unasked tier: a write's dispatcher asks the access group's write
// check before it writes (write_gate.h), and its local code, marked
// "unasked" below (the record and settings-block writes and the lock
// takes), asks no one: it writes whatever it is given, for whoever runs.
// So only code that has asked already, or that writes for no person,
// calls it: the product files named here, which
// tests/core/unasked_writes.sh holds the program to (tests, benchmarks and
// fuzz targets lay down their data as they like):
//   unasked caller: database/access/record_dispatch.cpp  the dispatchers, once asked
//   unasked caller: net/server_dispatch.cpp  a client's request, asked there for its person
//   unasked caller: database/access/record_local.cpp  the tier itself: a checked write stores through the plain one
//   unasked caller: database/access/record_locks.cpp  the lock takes themselves
//   unasked caller: database/access/settings_blocks.cpp  the block stores, and an import's rows (its run was asked)
//   unasked caller: database/access/person_password.cpp  the program's own conversion of stored passwords
// A settings block is asked where its window takes the block's lock
// (RegisterLockTakeCall) and, at a server, by the store request itself.
//
// Records are byte buffers of the register's record size in memory form;
// the local code converts them to file form right before each engine call
// and back right after. Index positions are 1-based; record ids are
// segment numbers of the database file.
//
// The current index of a register is its first index definition whose
// current-index flag is set. The flag is the SECOND of the three u16
// words that follow the node size in an index definition
// (IndexDefWord(def, 1) == 1); the dictionary writes "words 1 1 1" for
// such an index. A register with no flagged index has no current index:
// finds through it fail and its record count is 0.
//
// Client mode without a server: when RemoteOps holds no stub for an
// operation, or the stub sets RemoteConnectionLost, the dispatcher
// reports the distinct failure RecConnectionLost where the operation
// returns a result code, and "not found" / false / 0 elsewhere, with
// RemoteConnectionLost left set for callers that want to tell the two
// apart. It never reports such a call as done.
#pragma once

#include <cstdint>

#include "core/memblock.h"
#include "dict_offsets.h"

// ---- Run mode, owner, shared state ----

// 0 and 1 stand-alone, 2 server, 3 client.
extern uint16_t RunMode;
constexpr uint16_t RunModeServer = 2;
constexpr uint16_t RunModeClient = 3;
inline bool RunModeIsClient() { return RunMode == RunModeClient; }

// The owner id that locks record (the server sets it to the session id of
// the request it serves; stand-alone it is the program's own id).
extern uint32_t LockOwnerId;
// The program's own id: the "no free session" answer of the session
// request, so no session id can ever be it.
constexpr uint32_t LockOwnerSelf = 0xFFFFFFFFu;

// The pending import sequence number (set by the import path before a
// store, cleared by every local insert and update).
extern uint32_t RecPendingSequence;

// ---- Results of writes, checks and settings stores ----
//
// One result space for the validated writes, the delete, the record check
// and the settings stores, local and on the wire alike:
//   0         RecDone: done;
//   -1        RecRefused: a check refused (validation, record check,
//             settings check, delete check) after showing its own text;
//             whatever non-zero value the check gave becomes -1;
//   above 0   the number of the text that was shown: RecKeyExists,
//             Texts::RecordInUse, RecConnectionLost, RecNotFound,
//             RecStoreFailed.
// A result never names a field. Where a window puts the focus after a
// failure travels beside the result, in FieldErrorPos (core/ui_text.h):
// the field's record offset, and for a row cell the row and the field's
// offset in the row. Every validated write and delete, record check and
// settings store first sets it to RecFocusNone; then a check fills it through
// FieldError / FieldErrorAt, and a duplicate key names the first field of
// the current index. On the wire it is the errpos after the result.
//
// Holds: the validated writes each run inside a hold (DbHoldBegin /
// DbHoldEnd), which may sit inside a caller's hold. Success (RecDone, or
// true) means every write of the hold is stored, as far as the flush mode
// stores anything (mode 0 reaches the file at the next commit); failure
// means none is. A write that fails after anything of it was written -
// the engine refused, or a before- or after-hook could not store what it
// had to (a posting) - fails the outermost hold, so nothing of that hold
// is stored and every write reported inside it after that is a failure
// too. A refusal (a check said no, the record is gone or locked) writes
// nothing and leaves the hold as it was.

constexpr int RecDone = 0;
constexpr int RecRefused = -1;               // a check refused (it showed why)
// The results that are text numbers take them from the dictionary; a
// record or register in use is Texts::RecordInUse.
constexpr int RecKeyExists = Texts::RecordKeyExists;     // insert: the key exists
constexpr int RecConnectionLost = Texts::ConnectionLost; // "The connection to the server was lost"
constexpr int RecNotFound = Texts::RecordVanished;       // "The record no longer exists"
constexpr int RecStoreFailed = Texts::RecordNotStored;   // "The record could not be stored"
constexpr int RecDeleteRefused = RecRefused;             // the delete check said no

// FieldErrorPos.field when a failure names no field.
constexpr uint16_t RecFocusNone = 65535;
// Sets FieldErrorPos to "no field".
void RecFocusClear();

// Set by a client stub whose transport lost the connection; cleared by
// the dispatcher before each client call.
extern bool RemoteConnectionLost;
// Tells the user that the connection to the server was lost (text 9501,
// then `extra` when given), once a connection: later calls tell nothing
// until RemoteLostReset, which a new connection calls.
void RemoteLostTell(const uint8_t *extra = nullptr);
void RemoteLostReset();

// ---- Layer start and registers ----

// Engine start with the cache budget (DbMemoryBudget of core/system.h; 0
// in client mode), the lock tables,
// and the key-definition pointers of registers 1 .. count - 1.
bool DbLayerInit();
// Marks the register opened (RegisterStates[reg].opened = 1).
void RegMarkOpen(int reg);
// The current index definition of the register, or null.
const uint8_t *RegCurrentIndexDef(int reg);
// The current index's name as a zero-terminated string into name (at
// least 256 bytes); empty when there is none.
void RegIndexName(int reg, char *name);
// The record offset of the current index's first key part (0 when none);
// its name (PString, 256 bytes), data type and length when asked for.
uint32_t RegIndexInfo(int reg, uint8_t *name, uint16_t *type, uint16_t *length);
// The key count of the current index (0 when it has none).
uint32_t RegRecordCount(int reg);
uint32_t RegRecordCountLocal(int reg);
// 0 when no database is open, else marks the register opened and gives
// RegRecordCount.
uint32_t RegOpenCount(int reg);
// Stores n as the register's record count and clears the server's
// per-session flags so every session receives the new counts.
void RegSetRecordCount(int reg, uint32_t n);
// Hold around a group of writes: D4Hold / D4DiskFlush, only when a
// database is open and not in client mode. DbHoldEnd gives false when
// anything in the hold failed (see Holds above); after the outermost hold
// failed, the record counts are taken again from the indexes.
void DbHoldBegin();
bool DbHoldEnd();
// Marks the outermost open hold failed, so nothing of it is stored (no
// hold open: nothing to do).
void DbHoldFail();

// ---- Reading ----
// index: a zero-terminated index name; null or "" means the current index.

// Through the current index, direction 1; a miss clears the record.
bool RecFind(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position);
// RecFind of the record whose first key part record holds, exactly: the
// read every lookup by a code or a serial number makes.
inline bool RecFindByFirstKey(int reg, uint8_t *record) {
    uint32_t recid = 0, position = 0;
    return RecFind(reg, record, 1, 1, &recid, &position);
}
bool RecFindLocal(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position);
// Direction -1 (the last entry not above the key when not exact); a miss
// leaves the record unchanged.
bool RecFindKeep(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position);
bool RecFindKeepLocal(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position);
bool RecFindByIndex(int reg, const char *index, uint8_t *record, int parts, int exact, uint32_t *recid,
                    uint32_t *position);
bool RecFindByIndexLocal(int reg, const char *index, uint8_t *record, int parts, int exact, uint32_t *recid,
                         uint32_t *position);
bool RecFindByIndexKeep(int reg, const char *index, uint8_t *record, int parts, int exact, uint32_t *recid,
                        uint32_t *position);
bool RecFindByIndexKeepLocal(int reg, const char *index, uint8_t *record, int parts, int exact,
                             uint32_t *recid, uint32_t *position);
// All parts, exact, current index; the record is not changed.
bool RecExists(int reg, uint8_t *record);
bool RecExistsLocal(int reg, uint8_t *record);
bool RecReadById(int reg, uint32_t recid, uint8_t *record);
bool RecReadByIdLocal(int reg, uint32_t recid, uint8_t *record);
// A negative position gives false. RecReadAt and RecReadAtIndex share the
// client request (RecReadAtRemote with the index name; RecReadAt sends "").
bool RecReadAt(int reg, int32_t position, uint8_t *record, uint32_t *recid);
bool RecReadAtLocal(int reg, int32_t position, uint8_t *record, uint32_t *recid);
bool RecReadAtIndex(int reg, const char *index, int32_t position, uint8_t *record, uint32_t *recid);
bool RecReadAtIndexLocal(int reg, const char *index, int32_t position, uint8_t *record, uint32_t *recid);
// Reads without rows (the rows slot stays 0).
bool RecReadAtIndexC(int reg, int32_t position, uint8_t *record, const char *index, uint32_t *recid);
bool RecReadAtIndexCLocal(int reg, int32_t position, uint8_t *record, const char *index, uint32_t *recid);
// Mode 2 first removes every lock of the current owner on the record.
bool RecReread(int reg, uint32_t recid, uint8_t *record, int mode);
bool RecRereadLocal(int reg, uint32_t recid, uint8_t *record, int mode);
// Browsing the current index; text (an index name or "") is only sent to
// the server. *recid in: the record's own id; out: the id now shown.
bool RecBrowseNext(int reg, uint8_t *record, uint32_t *recid, const char *text);
bool RecBrowseNextLocal(int reg, uint8_t *record, uint32_t *recid, const char *text);
bool RecBrowsePrev(int reg, uint8_t *record, uint32_t *recid, const char *text);
bool RecBrowsePrevLocal(int reg, uint8_t *record, uint32_t *recid, const char *text);
// Frees the rows, zero-fills the record, rows slot 0 (memory only).
void RecClear(int reg, uint8_t *record);
// A new record with its defaults (NewRecordDefaults of the register's
// hooks) and an empty rows block; ...Other runs NewRecordDefaultsOther.
void RecNewDefaults(int reg, uint8_t *record);
void RecNewDefaultsLocal(int reg, uint8_t *record);
void RecNewDefaultsOther(int reg, uint8_t *record);
void RecNewDefaultsOtherLocal(int reg, uint8_t *record);
// The register's record check (mode as the checks define): RecDone or
// RecRefused (the position in FieldErrorPos), or RecConnectionLost.
int RecCheck(int reg, uint8_t *data, uint32_t size, int mode);
int RecCheckLocal(int reg, uint8_t *data, uint32_t size, int mode);

// ---- Writing ----

// *result (see the result space above): RecDone, RecKeyExists, RecRefused
// (the validation said no), RecNotFound (update: the stored record is
// gone), Texts::RecordInUse (update: another owner holds its lock),
// RecStoreFailed (the engine, a hook or the hold's commit failed) or
// RecConnectionLost. *recid is 0 when nothing was stored. The update
// releases the caller's lock on the record once it is stored.
void RecInsertChecked(int reg, uint8_t *record, uint32_t *recid, int *result);
void RecInsertCheckedLocal(int reg, uint8_t *record, uint32_t *recid, int *result);   // unasked
void RecUpdateChecked(int reg, uint8_t *record, uint32_t recid, int *result);
void RecUpdateCheckedLocal(int reg, uint8_t *record, uint32_t recid, int *result);   // unasked
// Deletes the record with id *recid after the delete check, then reads the
// record now at the same position (its id back into *recid; 0 and a
// cleared record when none is left). Result: RecDone, RecNotFound (the id
// is no live record of the register), Texts::RecordInUse (another owner
// holds its lock), RecDeleteRefused (the delete check said no),
// RecStoreFailed or RecConnectionLost. Only a done delete changes the
// caller's record and id; it leaves no lock on the record behind.
int RecDeleteChecked(int reg, uint8_t *record, uint32_t *recid, const char *text);
int RecDeleteCheckedLocal(int reg, uint8_t *record, uint32_t *recid, const char *text);   // unasked
// Before/after insert hooks only, no key test and no validation; false
// when anything failed (the hold failed with it).
bool RecInsertUnchecked(int reg, uint8_t *record, uint32_t *recid);
bool RecInsertUncheckedLocal(int reg, uint8_t *record, uint32_t *recid);   // unasked
// Local only: before-delete hook, delete, count - 1; no hold of its own.
// An id that is no live record of the register is refused (text 9502)
// before anything is asked of the engine; a failing hook or engine call
// fails the caller's hold. The record's locks go with it.
bool RecDeleteHooked(int reg, uint8_t *record, uint32_t recid);
bool RecDeleteHookedLocal(int reg, uint8_t *record, uint32_t recid);   // unasked
// Mode 1 rewrites record *recid, any other mode inserts (*recid gets the
// new id); no hooks.
bool RecStore(int reg, uint8_t *record, int mode, uint32_t *recid);
bool RecStoreLocal(int reg, uint8_t *record, int mode, uint32_t *recid);   // unasked
// Stores by the full key: inserts when absent, rewrites when present and
// replace is allowed; true when stored.
bool RecStoreByKey(int reg, uint8_t *record, int replace, uint32_t *recid);
bool RecStoreByKeyLocal(int reg, uint8_t *record, int replace, uint32_t *recid);   // unasked
// The import store with the store hooks; true when stored. False also
// when the stored copy is kept (newer, or no overwrite); *failed (when
// given) then tells a store that was tried and refused (the engine or the
// disk said no, and the hold failed) from a copy kept.
bool RecImportStore(int reg, uint8_t *record, int overwrite, uint32_t sequence, bool *failed = nullptr);
bool RecImportStoreLocal(int reg, uint8_t *record, int overwrite, uint32_t sequence,
                         bool *failed = nullptr);   // unasked
// Deletes every record of the register (no hooks); count 0.
bool RegDeleteAll(int reg);
bool RegDeleteAllLocal(int reg);   // unasked
// The plain local insert and update (user code stamp, conversion, count).
bool RecInsertLocal(int reg, uint8_t *record, uint32_t *recid);   // unasked
bool RecUpdateLocal(int reg, uint8_t *record, uint32_t recid);   // unasked

// ---- Locks (tables in record_locks.h) ----

// Takes the record lock for the current owner and reads the record.
bool RecordLockTakeCall(int reg, uint32_t recid, uint8_t *record);
bool RecordLockTakeLocal(int reg, uint32_t recid, uint8_t *record);   // unasked
// Removes the current owner's locks on the record.
bool RecordUnlockCall(int reg, uint32_t recid);
bool RecordUnlockLocal(int reg, uint32_t recid);
bool RegisterLockTakeCall(int number);
bool RegisterLockTakeLocal(int number);   // unasked
bool RegisterUnlockCall(int number);
bool RegisterUnlockLocal(int number);

// ---- Settings blocks stored in the database (binding in settings_blocks.h) ----

// Reads block into buffer (size bytes, zero-filled first) in memory form;
// false when the block is absent.
bool SettingsBlockRead(int block, uint8_t *buffer, uint32_t size);
bool SettingsBlockReadLocal(int block, uint8_t *buffer, uint32_t size);
// Frees the handle in *var and puts a new one with the stored rows (0 for
// an absent block) in memory form.
bool SettingsBlockFetch(MemBlock *var, int block);
bool SettingsBlockFetchLocal(MemBlock *var, int block);
// Stores with the settings check: RecDone, RecRefused (the check said no;
// the position in FieldErrorPos), RecStoreFailed (a block outside
// 129..227, a size other than the block's record size or a whole number
// of its rows, or the engine failed; nothing stored) or RecConnectionLost.
int SettingsBlockStore(int block, const uint8_t *data, uint32_t size);
int SettingsBlockStoreLocal(int block, const uint8_t *data, uint32_t size);   // unasked
// Stores the rows held by handle (no settings check locally, the same
// block and size test); result as above.
int SettingsBlockStoreHandle(int block, MemBlock handle);
int SettingsBlockStoreHandleLocal(int block, MemBlock handle);   // unasked
// Local only: the stored size (0 in client mode, after a message).
uint32_t SettingsBlockSize(int block);

// ---- Client stubs (remote.cpp) ----
// Defined by the client side; each takes the arguments of its dispatcher.
// A stub whose transport fails sets RemoteConnectionLost and leaves the
// caller's values as they were.

bool RecFindRemote(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position);
bool RecFindKeepRemote(int reg, uint8_t *record, int parts, int exact, uint32_t *recid, uint32_t *position);
bool RecFindByIndexRemote(int reg, const char *index, uint8_t *record, int parts, int exact, uint32_t *recid,
                          uint32_t *position);
bool RecFindByIndexKeepRemote(int reg, const char *index, uint8_t *record, int parts, int exact,
                              uint32_t *recid, uint32_t *position);
bool RecExistsRemote(int reg, uint8_t *record);
bool RecReadByIdRemote(int reg, uint32_t recid, uint8_t *record);
bool RecReadAtRemote(int reg, const char *index, int32_t position, uint8_t *record, uint32_t *recid);
bool RecReadAtIndexCRemote(int reg, int32_t position, uint8_t *record, const char *index, uint32_t *recid);
bool RecRereadRemote(int reg, uint32_t recid, uint8_t *record, int mode);
bool RecBrowseNextRemote(int reg, uint8_t *record, uint32_t *recid, const char *text);
bool RecBrowsePrevRemote(int reg, uint8_t *record, uint32_t *recid, const char *text);
void RecNewDefaultsRemote(int reg, uint8_t *record);
void RecNewDefaultsOtherRemote(int reg, uint8_t *record);
int RecCheckRemote(int reg, uint8_t *data, uint32_t size, int mode);
uint32_t RegRecordCountRemote(int reg);
void RecInsertCheckedRemote(int reg, uint8_t *record, uint32_t *recid, int *result);
void RecUpdateCheckedRemote(int reg, uint8_t *record, uint32_t recid, int *result);
int RecDeleteCheckedRemote(int reg, uint8_t *record, uint32_t *recid, const char *text);
bool RecordLockTakeRemote(int reg, uint32_t recid, uint8_t *record);
bool RecordUnlockRemote(int reg, uint32_t recid);
bool RegisterLockTakeRemote(int number);
bool RegisterUnlockRemote(int number);
bool SettingsBlockReadRemote(int block, uint8_t *buffer, uint32_t size);
bool SettingsBlockFetchRemote(MemBlock *var, int block);
int SettingsBlockStoreRemote(int block, const uint8_t *data, uint32_t size);

// Fills RemoteOps with the stubs above; called by the client's start-up
// once the stubs exist (defined in remote.cpp).
void RemoteOpsInstall();

// The client branch of every dispatcher goes through this table, so that
// the layer links and runs before the stubs exist. A null entry means
// "no connection": the dispatcher returns its failure (see above).
struct RemoteOpsTable {
    bool (*recFind)(int, uint8_t *, int, int, uint32_t *, uint32_t *) = nullptr;
    bool (*recFindKeep)(int, uint8_t *, int, int, uint32_t *, uint32_t *) = nullptr;
    bool (*recFindByIndex)(int, const char *, uint8_t *, int, int, uint32_t *, uint32_t *) = nullptr;
    bool (*recFindByIndexKeep)(int, const char *, uint8_t *, int, int, uint32_t *, uint32_t *) = nullptr;
    bool (*recExists)(int, uint8_t *) = nullptr;
    bool (*recReadById)(int, uint32_t, uint8_t *) = nullptr;
    bool (*recReadAt)(int, const char *, int32_t, uint8_t *, uint32_t *) = nullptr;
    bool (*recReadAtIndexC)(int, int32_t, uint8_t *, const char *, uint32_t *) = nullptr;
    bool (*recReread)(int, uint32_t, uint8_t *, int) = nullptr;
    bool (*recBrowseNext)(int, uint8_t *, uint32_t *, const char *) = nullptr;
    bool (*recBrowsePrev)(int, uint8_t *, uint32_t *, const char *) = nullptr;
    void (*recNewDefaults)(int, uint8_t *) = nullptr;
    void (*recNewDefaultsOther)(int, uint8_t *) = nullptr;
    int (*recCheck)(int, uint8_t *, uint32_t, int) = nullptr;
    uint32_t (*regRecordCount)(int) = nullptr;
    void (*recInsertChecked)(int, uint8_t *, uint32_t *, int *) = nullptr;
    void (*recUpdateChecked)(int, uint8_t *, uint32_t, int *) = nullptr;
    int (*recDeleteChecked)(int, uint8_t *, uint32_t *, const char *) = nullptr;
    bool (*recordLockTake)(int, uint32_t, uint8_t *) = nullptr;
    bool (*recordUnlock)(int, uint32_t) = nullptr;
    bool (*registerLockTake)(int) = nullptr;
    bool (*registerUnlock)(int) = nullptr;
    bool (*settingsBlockRead)(int, uint8_t *, uint32_t) = nullptr;
    bool (*settingsBlockFetch)(MemBlock *, int) = nullptr;
    int (*settingsBlockStore)(int, const uint8_t *, uint32_t) = nullptr;
};
extern RemoteOpsTable RemoteOps;
