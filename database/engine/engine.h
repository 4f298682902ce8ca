// engine.h - what other folders may call of the database engine.
//
// The engine keeps a whole company in one file of 512-byte sectors
// (layout in database/engine/format.h): records of every register as
// typed chains reached through a segment tree, counted B-tree indexes
// per register index, and numbered blocks (settings blocks). One file is
// open at a time; the engine is single-threaded.
//
// Records are byte buffers of the register's record size, in file form
// (the record layer converts them before and after each call). A
// register with rows keeps a u32 MemBlock handle of its rows at the
// register's rows offset; a handle of 0xFFFFFFFF asks a read to skip the
// rows. Record ids are segment numbers, never reused; index positions
// are 1-based.
//
// Failure is by result. Every changing operation returns false when it
// did not happen, and then nothing of it is stored (see the holds below).
// After a checksum mismatch, a read fault or damage found in the file the
// engine is in damaged mode and every changing operation, every hold end
// and the close report failure until the next open or create. A write or
// sync the disk refuses is no damage: the hold fails and is undone, and
// the file stays at its last commit.
#pragma once

#include <cerrno>
#include <cstdint>
#include <string>

#include "core/memblock.h"

struct DVP;

// ---- Start, files ----

// Engine start with a cache of cacheBytes (0: no cache, every sector goes
// to the file). Builds the "Blocks" definition and the descriptors.
bool D4Init(uint32_t cacheBytes);
void D4Exit();

// Results of D4Create and D4Open. Only D4OpenNoFile says that nothing is
// there by that name, so only then may a caller create a database there.
constexpr int D4OpenOk = 0;
constexpr int D4OpenNoFile = 1;       // no file by that name
constexpr int D4OpenLocked = 2;       // another program holds the file
constexpr int D4OpenNotDatabase = 3;  // too short or unreadable header
constexpr int D4OpenNotAFile = 4;     // a folder, a device or another non-file
constexpr int D4OpenNoAccess = 5;     // there, but not to be read and written by us
constexpr int D4OpenFailed = 6;       // cannot be created, or another fault of the system
constexpr int D4OpenWrongFormat = 1555;

// The sentence a caller shows for a result of D4Open or D4Create, to be
// followed by the file name ("" for D4OpenOk).
constexpr const char *D4OpenResultText(int result) {
    switch (result) {
    case D4OpenOk: return "";
    case D4OpenNoFile: return "There is no database file by this name: ";
    case D4OpenLocked: return "The database is in use by another program: ";
    case D4OpenNotDatabase: return "This is not a database: ";
    case D4OpenNotAFile: return "This is a folder or a device, not a database file: ";
    case D4OpenNoAccess: return "The database file may not be read and written: ";
    case D4OpenWrongFormat: return "Wrong database format: ";
    default: return "The database file cannot be opened: ";
    }
}

// Creates (truncating) and opens a new database; arg is not used.
int D4Create(const char *name, uint16_t arg);
// Opens an existing database under an exclusive lock.
int D4Open(const char *name, uint16_t arg);
// Gives the closed database file `from` the name `to`, in the same
// folder, where no file may be (one that is stays untouched), and syncs
// the folder so that the name survives a power loss. A refusal is told
// as a refused write; false then, and the file is at neither name when
// the folder's sync failed. Counts as one write for the test hooks.
bool D4FileRenameNew(const char *from, const char *to);
// How many writes and syncs the disk refused since the program started:
// a caller that must know whether a whole piece of work reached the disk
// (a company being made) compares it before and after.
uint64_t D4DiskRefusals();
// Stores the free lists, index heads and cache, clears the in-use word
// and closes. false when anything could not be written (the file then
// still describes its last committed state; a refusal of the disk is
// told).
bool D4Close();
bool D4IsOpen();

// ---- Holds ----

// D4Hold opens a hold; D4DiskFlush ends one, and the end of the
// outermost hold commits: in flush mode 1 the index heads, the free
// lists and the cache reach the file, then it is synced, the header is
// written and synced again (the header is the commit point); in mode 0
// nothing is forced and nothing committed: the holds since the last
// commit act as one until the next flush in mode 1 or the close, so a
// crash in between leaves the last committed state.
//
// The rule: the outermost hold is all or nothing. Success (true from the
// outermost D4DiskFlush) means every write of the hold is stored (in
// mode 0: kept with the holds before it, to be committed with them);
// failure means none is. A hold fails when any engine operation inside
// it failed, when D4HoldFail was called or a hold inside it ended with
// D4HoldEnd(false), when the disk refused a write or sync of its commit,
// or in damaged mode. A failed outermost hold is undone: nothing of it
// reaches the file, and every read then answers as before the hold began
// (in mode 0 the earlier successful holds stay). The caller gets false;
// a refused disk write is told to the user once. D4DiskFlush of an inner
// hold returns false once anything in the outermost hold failed.
void D4Hold();
bool D4DiskFlush();
// Marks the current outermost hold as failed: its end undoes it.
void D4HoldFail();
// Ends a hold: marks the outermost hold failed when ok is false, then
// D4DiskFlush. True only when both went well.
bool D4HoldEnd(bool ok);
// Sets the flush mode (0 or 1, kept) and commits when no hold is open.
bool D4Flush(int mode);
int D4HoldCount();

// ---- Records (register numbers 1..132) ----

// Stores a new record and its key in every index; *recid gets the id
// (0 for a simple register).
bool D4RecordInsert(int reg, uint8_t *record, uint32_t *recid);
// Rewrites record recid; only indexes whose key changed are touched.
bool RecordIDUpdate(int reg, uint32_t recid, uint8_t *record);
// Deletes record recid and its keys.
bool D4RecordIDDelete(int reg, uint32_t recid);
// Reads record recid into record (its rows into a new handle). 1 read,
// 0 not.
int D4RecordReadRecid(int reg, uint32_t recid, uint8_t *record);
// The stored record recid as a new record buffer (rows included) in
// *out; free it with D4RecordFree.
bool D4RecordReadStored(int reg, uint32_t recid, MemBlock *out);
void D4RecordFree(int reg, MemBlock *record);
// Searches index `index` with the key built from record, comparing the
// first `parts` key parts (0: all), exact 1 or 0, direction 1 forward or
// -1 backward. Found: the record is read (a simple register's key is
// copied in), *recid and *position set.
bool D4RecordFind(int reg, const char *index, uint8_t *record, int parts, int exact, int direction,
                  uint32_t *recid, uint32_t *position);
// The same search without reading the record.
bool D4RecordFindKey(int reg, const char *index, uint8_t *record, int parts, int exact, int direction,
                     uint32_t *recid, uint32_t *position);
// Reads the record at position (1-based) of the index.
bool D4RecordReadPos(int reg, const char *index, uint32_t position, uint8_t *record, uint32_t *recid);
// Number of keys of the index; 0 when it does not exist.
uint32_t D4RecordCount(int reg, const char *index);
// The position of record recid's own entry in the index (its key built
// from record), found among equal keys by the id. false when absent.
bool D4RecordPosition(int reg, const char *index, const uint8_t *record, uint32_t recid,
                      uint32_t *position);

// Index definition of the register by name (null, after "Error in key",
// when the register has no such index).
const uint8_t *D4IndexFindByName(int reg, const char *name);
// Builds the full index name "Register:Index" into full (a PString
// buffer); false when it would not fit a master-list entry.
bool D4IndexFullName(int reg, const uint8_t *def, uint8_t *full);
// Builds the key of record for def into key (key length bytes).
void BuildKey(int reg, const uint8_t *def, const uint8_t *record, uint8_t *key);

// ---- Numbered blocks ----

bool D4BlockStore(int number, const uint8_t *data, uint32_t size);
uint32_t D4BlockGetSize(int number);   // 0 when absent
// Zero-fills buffer over size bytes, then fills it from the block. false
// when the block is absent or could not be read.
bool D4BlockRead(int number, uint8_t *buffer, uint32_t size);

// ---- Descriptors and snapshots (used by the server) ----

DVP *D4DescriptorNew();
void D4DescriptorFree(DVP *d);
bool CopyDVP(const DVP *source, DVP *target);
// Mode 3: a fresh copy of the master becomes current; other modes: d
// (the master when null). *previous gets the current one for
// D4DescriptorRestore.
bool D4DescriptorSelect(int mode, DVP *d, DVP **previous);
void D4DescriptorRestore(int mode, DVP *previous);
DVP *D4SnapshotOpen(uint32_t *handle);
void D4SnapshotClose(DVP *d, uint32_t handle);

// ---- State shown to the user ----

uint32_t D4FreeSectorCount();   // "DB Free sectors:"
int D4MasterCount();            // "DB Master count:"
bool D4DamagedMode();
bool D4AbortFlag();
void D4ClearAbortFlag();
int D4FlushMode();
// True when the open file's byte order differs from the program's.
bool D4FileOrderDiffers();

// ---- Damage and rescue ----

// The raw data export that the first damage of a run offers; returns
// true when it ran to its end (the program then ends). Installed by the
// data-exchange layer; none installed: damage only shows its texts.
using D4RawExportRunner = bool (*)();
void D4SetRawExportRunner(D4RawExportRunner runner);

// What the rescue scan hands to the export: the pass of a register's
// records and of a block, one intact record (unpacked into a record
// buffer of the register, rows included) or block, and progress.
struct D4RescueSink {
    int (*registerClass)(int reg) = nullptr;
    int (*blockClass)(int block) = nullptr;
    void (*record)(int reg, uint32_t serial, uint8_t *record) = nullptr;
    void (*block)(int block, uint32_t serial, const uint8_t *data, uint32_t size) = nullptr;
    void (*progress)(int pass, uint32_t offset, uint32_t physicalEnd) = nullptr;
};
// Four passes over every sector up to the physical end, straight from
// the file, handing over every intact typed chain in its pass that the
// last commit holds: reached by its segment tree, or (when that tree is
// broken) below its logical end, not listed free and not written after it.
bool D4RawRescue(const D4RescueSink &sink);

// Walks every structure of the open file and checks that each sector
// below the logical end is used once or free once. Problems go to
// *report; false when any was found.
bool D4IntegrityCheck(std::string *report);

// ---- Test hooks of the file layer ----

// Lets the first writesAllowed writes reach the file and drops every
// later write and sync silently, as a crash would (-1: no limit).
// skipSync makes syncs do nothing (for fast tests on durable disks).
// failWriteAt / failSyncAt make the write or sync with that count (1 the
// first after the hooks were set; -1 none) fail with failErrno, as a full
// or failing disk would, and nothing of it reach the file.
struct D4FileHooks {
    int64_t writesAllowed = -1;
    bool skipSync = false;
    int64_t failWriteAt = -1;
    int64_t failSyncAt = -1;
    int failErrno = ENOSPC;
    int64_t writesDone = 0;   // counted writes since the hooks were set
    int64_t syncsDone = 0;
    int64_t twoSyncCommits = 0;   // commits whose run list did not fit
    int64_t pagesCommitted = 0;   // 4 KB pages named by one-sync commits' runs
    // The open trusts every commit record without reading its sectors
    // (to show that the power-loss test catches a missing check).
    bool skipCommitCheck = false;
    // Each call that writes to the file takes at most this many bytes,
    // as a short write does (0: no limit).
    int64_t writeLimit = 0;
    // Told of every write that reaches the file and every sync done.
    void (*onWrite)(uint64_t offset, const uint8_t *data, uint32_t count) = nullptr;
    void (*onSync)() = nullptr;
};
extern D4FileHooks D4TestHooks;
// The byte-order flag the next D4Create writes (tests of foreign files).
void D4TestSetCreateByteOrder(uint8_t flag);
// Flips a byte of a cached sector without renewing its checksum, as
// memory corruption would; false when the sector is not cached.
bool D4TestCorruptCachedSector(uint32_t ptr, int offset);
