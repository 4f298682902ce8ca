// engine_state.h - the engine's shared state and its internal
// operations, for the files of database/engine only.
//
// Layout of everything on disk: format.h. Public entry points: engine.h.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>
#include <sys/uio.h>

#include "core/file_form.h"
#include "core/memblock.h"
#include "database/engine/engine.h"
#include "database/engine/format.h"
#include "database/engine/sector_set.h"

// ---- Descriptors ----

// One loaded index: where its root record lives, its levels and root
// node, and the leaf last reached (to answer reads by position cheaply).
struct IndexHead {
    uint32_t rootSeg = dbformat::DiskNone;   // none: not loaded
    uint32_t levels = 0;
    uint32_t root = dbformat::DiskNone;
    uint32_t leafPtr = dbformat::DiskNone;
    uint32_t leafFirst = dbformat::DiskNone;
    uint16_t dirty = 0;
};

struct PathStep {
    uint32_t node = dbformat::DiskNone;
    uint32_t entry = 0;
};

// A database descriptor: the header, the index search path and the index
// heads through which every engine operation works. The master holds the
// file's live state; copies and snapshots give readers a fixed view.
struct DVP {
    std::array<PathStep, dbformat::IndexMaxLevels + 1> path{};   // levels 1..29
    std::array<IndexHead, dbformat::IndexHeads> heads{};
    uint16_t holdCnt = 0;
    std::array<uint8_t, dbformat::HeaderSize> header{};
};

extern DVP *CurDVp;
extern DVP *MasterDVp;
extern DVP *CopyDVp;

// ---- Free lists ----

// One free list: the pointers of its head block held in memory (mem may
// grow past one block until the next commit writes it), the rest of the
// chain on disk (next), and the sector that holds an exact copy of (mem,
// next), or none once mem changed. Sectors listed are free; the chain's
// block sectors are used. The allocator's map holds what mem holds.
struct FreeList {
    std::vector<uint32_t> mem;
    uint32_t next = dbformat::DiskNone;
    uint32_t stored = dbformat::DiskNone;
};

// ---- The state an outermost hold puts back when it fails ----

// Taken when the master's outermost hold begins (hold_rollback.cpp). A
// hold that fails puts every in-memory structure back as it was then:
// header, index heads and search path, segment-tree paths, free lists,
// the sectors handed out since the last commit, and the cache (sectors
// the hold took from free space are dropped; sectors that existed before
// the hold and were rewritten in it get their before-images back). The
// file itself needs nothing: the header on disk still names the last
// commit, and no sector of it is ever rewritten.
struct HoldRollback {
    bool active = false;
    std::array<uint8_t, dbformat::HeaderSize> header{};   // the master's, at the start
    std::array<PathStep, dbformat::IndexMaxLevels + 1> path{};
    // The master's index heads as they were at the start, each kept just
    // before the hold first changes it (D4RollbackNoteHead): a hold
    // touches a few of them, and copying all at every hold cost more than
    // the rest of the rollback together.
    std::vector<std::pair<uint16_t, IndexHead>> heads;
    std::array<bool, dbformat::IndexHeads> headKept{};
    std::array<uint32_t, dbformat::SegMaxLevels + 1> segRight{};
    std::array<PathStep, dbformat::SegMaxLevels + 1> segPath{};
    FreeList listA, listB;
    size_t collectionSize = 0;   // the collection only grows within a hold...
    bool collectionSaved = false;   // ...until a commit takes it: then a copy
    std::vector<uint32_t> collection;
    uint32_t freeCount = 0;
    uint32_t freshFrom = 0;
    bool mergeLists = false;
    bool uncommitted = false;
    uint32_t logicalEnd = 0;     // sectors at or above it were free at the start
    // Sectors free at the start that the hold took (from a free list or the
    // pool): like those above the logical end, nothing of them need return.
    SectorSet takenFree;
    std::vector<uint32_t> freshAdded;   // sectors this hold added to Db.fresh
    // The pool is a stack: entries below poolLow were never touched; those
    // popped from under the starting height, in the order popped.
    size_t poolLow = 0;
    std::vector<uint32_t> poolPopped;
    // Before-images of sectors in use at the start and rewritten in the hold.
    std::unordered_map<uint32_t, uint32_t> imaged;
    std::vector<std::array<uint8_t, dbformat::SectorSize>> images;
    bool diskRefused = false;    // a write or sync of this hold was refused
    bool syncFailed = false;
    int refusedErrno = 0;
};

// ---- Engine globals ----
//
// Everything the engine keeps between calls, the working space its files
// reuse included, lives at namespace scope (Db and each file's own
// globals), never in static locals. A static local is built at its first
// use and destroyed at exit before every exit handler registered earlier
// runs; a handler that closes the file (D4Close writes the lists, the
// cache and the header) would then reuse, and free again, buffers already
// given back. What is built before main outlives every such handler.

constexpr uint32_t D4GatherEvery = 128;

struct EngineGlobals {
    bool started = false;
    bool open = false;
    int fd = -1;
    std::string fileName;
    uint8_t fileOrder = ProgramByteOrder;
    bool swap = false;            // the open file's order is not ours
    uint8_t createOrder = ProgramByteOrder;
    int flushMode = 1;
    bool mergeLists = false;
    int copies = 0;               // open copies and snapshots
    bool damaged = false;         // damaged mode: nothing is written
    bool abortFlag = false;
    bool adviceShown = false;
    // The texts shown in damaged mode since the open, with how often each
    // came (damage.cpp shows each once).
    std::map<std::string, uint32_t> damageTexts;
    bool holdFailed = false;      // something failed since the outermost hold began
    bool readRefused = false;     // the last sector read failed for want of cache room (a refused write-back)
    // Changes since the last commit: a hold ended in flush mode 0 (or its
    // commit failed). The sectors handed out and released since then are
    // still tracked as within one hold, so the file on disk keeps the last
    // committed state until the next flush in mode 1 or the close.
    bool uncommitted = false;
    FreeList listA, listB;
    // Sectors released since the last commit; free for reuse only after it.
    std::vector<uint32_t> collection;
    // Sectors handed out since the last commit and released again: neither
    // the committed file nor an open snapshot uses them, so they are free
    // for reuse at once. They join the collection at the commit.
    std::vector<uint32_t> pool;
    uint32_t freeCount = 0;
    // Sectors handed out since the last commit (or since a snapshot opened,
    // when later): written since, so neither the committed file nor an open
    // snapshot uses them and rewriting one in place is as safe as the store
    // that first wrote it. Those at or above freshFrom (the logical end
    // when tracking began) grew the file; the others came from the free
    // lists.
    uint32_t freshFrom = dbformat::MaxLogicalEnd;
    std::unordered_set<uint32_t> fresh;
    uint32_t nextSnapshotHandle = 1;
    D4RawExportRunner rawExport = nullptr;
    // The header as the last commit wrote it (or the open read it): put
    // back on disk when a commit fails after its header was written.
    std::array<uint8_t, dbformat::HeaderSize> committedHeader{};
    // A commit failed in a way that leaves unknown what the disk holds:
    // nothing more is written until the file is opened again.
    bool writeStopped = false;
    HoldRollback rb;
    // Segment-tree paths, levels 1..50: the rightmost node per level, and
    // the node and entry chosen per level by the last lookup.
    std::array<uint32_t, dbformat::SegMaxLevels + 1> segRight{};
    std::array<PathStep, dbformat::SegMaxLevels + 1> segPath{};
    // The engine's own definition of the "Blocks" index.
    std::array<uint8_t, 40> blocksDef{};
    // The commit's write-back joins dirty sectors over clean ones even
    // while syncs are skipped (D4FileHooks): for tests of the synced path.
    bool joinWithoutSync = false;
    // Commits between two gatherings of the free lists' chains (see
    // free_lists.cpp); tests gather more often.
    uint32_t gatherEvery = D4GatherEvery;
};
extern EngineGlobals Db;

// ---- Byte order of the engine's own numbers (see format.h) ----

inline uint16_t D4GetWord(const uint8_t *p) {
    uint16_t v;
    std::memcpy(&v, p, 2);
    return Db.swap ? SwapWordValue(v) : v;
}
inline uint32_t D4GetLong(const uint8_t *p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return Db.swap ? SwapLongValue(v) : v;
}
inline void D4PutWord(uint8_t *p, uint16_t v) {
    if (Db.swap) v = SwapWordValue(v);
    std::memcpy(p, &v, 2);
}
inline void D4PutLong(uint8_t *p, uint32_t v) {
    if (Db.swap) v = SwapLongValue(v);
    std::memcpy(p, &v, 4);
}

// Header fields of the current descriptor.
inline uint32_t HdrGetLong(int off) { return D4GetLong(CurDVp->header.data() + off); }
inline uint16_t HdrGetWord(int off) { return D4GetWord(CurDVp->header.data() + off); }
inline void HdrSetLong(int off, uint32_t v) { D4PutLong(CurDVp->header.data() + off, v); }
inline void HdrSetWord(int off, uint16_t v) { D4PutWord(CurDVp->header.data() + off, v); }

// A disk pointer that may be followed: a data sector below the logical end.
bool D4PtrValid(uint32_t ptr);

// ---- Messages and damage (damage.cpp) ----

// An assertion text with a number, shown and carried on.
void D4Message(const char *text, int64_t value);
void D4MessageText(const char *text);
// Damage found in the file: shown, damaged mode set, the current hold
// fails; the first damage of a run offers the raw export. Inside a hold
// whose write the disk refused (or after a read that failed for want of
// cache room), only the hold fails: see damage.cpp.
void D4Damaged(const char *text);
// A file fault: code 1 "Memory checksum problem", others "Filesystem
// error"; announced once, then damaged mode and the abort flag.
void DbIoError(int code);
// The disk refused a write or a sync (err is the system's error number).
// Not damage: the hold fails and is undone, the file keeps its last
// commit, and the user is told (once per hold).
void D4DiskRefused(int err, bool sync);
// The text told to the user when the disk refused a change.
std::string D4DiskRefusedText(int err);
// False (and the hold marked failed) when nothing may be written now:
// no file, damaged mode, or a descriptor other than the master.
bool D4WriteAllowed();

// ---- File (db_file.cpp) ----

bool DbFileCreate(const char *name);
int DbFileOpen(const char *name);   // D4OpenOk, D4OpenFailed or D4OpenLocked
void DbFileClose();
// Reads count bytes at offset; bytes past the file's end read as zero.
bool DbFileRead(uint8_t *buffer, uint64_t offset, uint32_t count);
bool DbFileWrite(const uint8_t *buffer, uint64_t offset, uint32_t count);
// Writes the pieces one after the other from offset.
bool DbFileWriteGather(std::span<const struct iovec> pieces, uint64_t offset);
bool DbFileFlush();
// The file's bytes at offset as the system holds them (through the read
// mapping, valid until the next write or read of the file); null when
// they cannot be seen that way.
const uint8_t *DbFileMapped(uint64_t offset, uint32_t count);
// The file's size as this layer knows it: at the open, grown by our writes.
uint64_t DbFileSize();
// Asks the system for the file's size; a file shorter than the engine's
// logical end was cut by another program: damaged mode. False then.
bool DbFileCheckSize();
// Grows the file past need bytes by a step written with zeros (a
// sixteenth of its size, at least 64 KB) and syncs it, so that the syncs
// of the commits that fill it carry no change of the file's size. False
// when the disk refused.
bool DbFileExtend(uint64_t need);
// Syncs the directory that holds the file, so that a new file's name
// survives a power loss.
bool DbFileSyncDirectory(const char *name);
void DbDiskHook(uint32_t logicalEnd);
// The one path to the file for the engine: refused in damaged mode
// unless forced. Keeps the physical end in the header.
bool D4DiskWriteAt(const uint8_t *data, uint64_t offset, uint32_t length, bool force);
// Writes the pieces one after the other from offset. Those fromCache are
// new and noted for the commit; the others repeat what the file holds
// there.
bool D4DiskWriteSpan(std::span<const struct iovec> pieces, std::span<const uint8_t> fromCache, uint64_t offset);

// ---- Commit record (commit_record.cpp) ----

// A 64-bit hash of length bytes.
uint64_t D4Hash64(const uint8_t *data, size_t length, uint64_t seed);
// Notes a write of whole sectors at offset (sector 0 aside) for the
// next commit's run list.
void D4CommitNoteWrite(uint64_t offset, const uint8_t *data, uint32_t length);
// The sectors free in the commit being made (given in two parts):
// written or not, none is listed in it. Called before the cache's
// write-back of the commit.
void D4CommitNoteFreed(std::span<const uint32_t> freed, std::span<const uint32_t> moreFreed);
// Forgets the sectors noted as written for which forget(ptr) is true
// (free again after a failed hold), or all of them (back to the commit).
void D4CommitForgetIf(bool (*forget)(uint32_t ptr));
void D4CommitForgetAll();
// True when the sectors written since the last commit are many (a bulk
// hold): its commit syncs them on their own anyway, so growing the file
// ahead of them saves nothing.
bool D4CommitIsBulk();
// Writes sector 0 of a commit from the master's header: with the runs
// written since the last durable commit and one sync when they fit the
// record, or after a sync of them otherwise. On failure the last commit's
// header goes back. True when the commit is durable.
bool D4CommitWrite();
// The sectors the commit record on disk names (none when sector 0 holds
// no checked record); false when sector 0 cannot be read or its run
// count is impossible.
bool D4CommitListedOnDisk(std::vector<uint32_t> *sectors);
// At the open, with sector 0 as read (512 bytes): checks the commit
// record and, when the commit was torn, puts the header it copied back
// on disk and into s. 0 as read, 1 rolled back, -1 the file failed.
int D4CommitCheckAtOpen(uint8_t *s);

// ---- Sector cache (sector_cache.cpp) ----

uint16_t D4SectorChecksum(const uint8_t *data);
bool D4CacheInit(uint32_t bytes);
void D4CacheReset();
int D4CacheFind(uint32_t ptr);          // slot or -1
bool D4CacheWriteBack();
bool D4CacheIsDirty(uint32_t ptr);
// The sectors whose cached bytes are still to be written, ascending.
void D4CacheDirtySectors(std::vector<uint32_t> *ptrs);
// Forgets every cached sector for which drop(ptr) is true, dirty or not.
void D4CacheDrop(bool (*drop)(uint32_t ptr));
// Puts data back as the content of sector ptr (a dirty slot; without a
// cache, straight to the file). Bypasses the hold's bookkeeping.
bool D4CacheRestore(uint32_t ptr, const uint8_t *data);
bool D4SectorRead(uint8_t *buffer, uint32_t ptr);
bool D4SectorWrite(const uint8_t *buffer, uint32_t ptr);
// The cached bytes of sector ptr, valid until the next call into the
// cache (null on failure): for readers that only look.
const uint8_t *D4SectorPeek(uint32_t ptr);
// Writes sector ptr as a plain item (format.h) of length <= 504 bytes.
bool D4SectorWritePlain(uint32_t ptr, const uint8_t *data, uint32_t length);
// Adds delta to each u32 at the given byte offsets (of the sector) of
// sector ptr, in place.
bool D4SectorAddLongs(uint32_t ptr, std::span<const uint32_t> offsets, uint32_t delta);

// ---- Items over sectors (disk_items.cpp) ----

struct ChainInfo {
    uint16_t type = 0;      // 0 plain
    uint16_t number = 0;
    uint32_t serial = 0;
    uint32_t length = 0;    // stored data length
};

// How long an item is expected to live until it is rewritten or freed:
// the allocator keeps the two apart (free_lists.cpp).
enum class D4Life { Short = 0, Long = 1 };

uint32_t D4DiskStore(const uint8_t *data, uint32_t length, uint16_t type, uint16_t number, uint32_t serial,
                     D4Life life);
bool D4DiskWrite(const uint8_t *data, uint32_t ptr, uint32_t length);
uint32_t D4DiskUpdate(const uint8_t *data, uint32_t ptr, uint32_t length, bool chain);
// True when an item at ptr may be rewritten where it is (D4DiskUpdate
// would keep it there); otherwise a change must move it.
bool D4DiskInPlace(uint32_t ptr);
// Reads up to length data bytes (the rest zero-filled).
bool D4DiskReadChain(uint8_t *buffer, uint32_t ptr, uint32_t length, ChainInfo *info);
bool D4DiskRead(uint8_t *buffer, uint32_t ptr, uint32_t length, uint32_t *serial);
bool D4DiskReadNew(uint32_t ptr, MemBlock *out, uint32_t limit, ChainInfo *info);
int64_t D4DiskGetSize(uint32_t ptr);    // -1 on failure
// Reads a plain item of at most 504 bytes into buffer (512 bytes);
// *length gets its data length. Damage when the sector is no plain item.
bool D4ReadPlain(uint32_t ptr, uint8_t *buffer, uint32_t *length, const char *what);
// The same check without a copy: the item's data as the cache holds
// them, valid until the next call into the cache; null on failure.
const uint8_t *D4PeekPlain(uint32_t ptr, uint32_t *length, const char *what);
// D4DiskReadNew into a buffer the caller keeps for reuse (resized to the
// bytes read).
bool D4DiskReadInto(uint32_t ptr, std::vector<uint8_t> *out, uint32_t limit, ChainInfo *info);

// ---- Free lists (free_lists.cpp) ----

uint32_t D4DiskGetFree(D4Life life);
// Short when sector ptr was taken by one of the last eight holds: an item
// whose copy there is rewritten will likely be rewritten soon again.
D4Life D4LifeOfCopy(uint32_t ptr);
// Forgets the sectors handed out so far (the outermost hold begins after
// a commit, a snapshot opens, or the file changes).
void D4FreshReset(bool holdBegins);
// Checks, at the open, that every sector listed free lies in the file,
// is listed once and is none of the lists' own blocks; whether one is a
// segment-tree node or the first sector of a live segment is checked
// before the first of them is handed out. Damage otherwise.
bool D4FreeListsCheck(const std::vector<uint32_t> &listed, const std::vector<uint32_t> &blocks);
// True when ptr was handed out since the last commit (see Db.fresh).
bool D4SectorFresh(uint32_t ptr);
bool D4DiskRelease(uint32_t ptr, bool chain);
// The outermost hold on the master begins: the allocator sizes the window
// it looks for by what the last hold took.
void D4AllocHoldBegins();
// Rebuilds the allocator's map from the lists' head blocks (after they
// were put back, or a copy opened or closed).
void D4FreeMapRebuild();
// True when the map holds exactly what D4FreeMapRebuild would put in it.
bool D4FreeMapMatchesHeads();
bool D4FreeListsLoad();                 // at open
void D4FreeListsClear();                // at create
bool D4SaveFlush();                     // end of hold, mode 1 (free lists, cache, header)
bool D4SaveFlushCompact();              // end of hold, mode 0 (nothing committed)
bool D4FreeListsStore();                // lists to the file, header offsets set
// Every sector listed as free and every list block, for checks.
bool D4FreeListSectors(std::vector<uint32_t> *listed, std::vector<uint32_t> *blocks, std::string *report);

// ---- The allocator's map of free sectors (free_map.cpp) ----

// Windows of neighbouring sectors: 128 sectors, 16 pages of 4 KB.
constexpr uint32_t D4WindowSectors = 128;
void D4FreeMapClear();
bool D4FreeMapHas(uint32_t ptr);
void D4FreeMapAdd(uint32_t ptr);
void D4FreeMapRemove(uint32_t ptr);
uint32_t D4FreeMapCount();
// The number of sectors of window (sector index / 128) in the map.
uint32_t D4FreeMapWindowFree(uint32_t window);
// The windows holding any sector of the map, in no order.
const std::vector<uint32_t> &D4FreeMapWindows();
// The sector of window to hand out next (left in the map), or none: the
// lowest on the page of last while it has any, else on the window's page
// with most free sectors.
uint32_t D4FreeMapPick(uint32_t window, uint32_t last);
// The number of 4 KB pages that need sectors of window lie on when they
// are handed out in D4FreeMapPick's order.
uint32_t D4FreeMapPagesFor(uint32_t window, uint32_t need);
// The highest sector of window in the map, or none.
uint32_t D4FreeMapHighest(uint32_t window);

// ---- Segment tree (segment_tree.cpp) ----

void D4SegmentPathsInit();
bool D4SegmentPathLoad();
uint32_t D4SegmentNew(const uint8_t *data, uint32_t length, uint16_t type, uint16_t number, uint32_t serial);
bool D4SegmentUpdate(uint32_t seg, const uint8_t *data, uint32_t length, uint16_t type, uint16_t number,
                     uint32_t serial);
bool D4SegmentRead(uint32_t seg, uint8_t *buffer, uint32_t length);
bool D4SegmentReadNew(uint32_t seg, MemBlock *out, uint32_t limit, ChainInfo *info);
bool D4SegmentReadInto(uint32_t seg, std::vector<uint8_t> *out, uint32_t limit, ChainInfo *info);
// Forgets the leaf that the last lookup found (the tree changed, or
// another file is open).
void D4SegmentLookupForget();
int64_t D4SegmentGetSize(uint32_t seg);
bool D4SegmentRelease(uint32_t seg);
// The disk pointer of segment seg, or none (damage reported) when absent.
uint32_t FindSegment(uint32_t seg);
// Every node and every segment's first sector, for checks.
bool D4SegmentWalk(std::vector<uint32_t> *nodes, std::vector<std::pair<uint32_t, uint32_t>> *segments,
                   std::string *report);

// ---- Keys (key_compare.cpp) ----

int D4CompareWord(const uint8_t *a, const uint8_t *b);
int D4CompareLong(const uint8_t *a, const uint8_t *b);
int D4CompareType7(const uint8_t *a, const uint8_t *b);
int D4DataCompare(uint16_t type, uint16_t length, const uint8_t *a, const uint8_t *b);
int D4KeyCompare(const uint8_t *def, const uint8_t *a, const uint8_t *b, int parts, int direction, bool leaf);
// The first `parts` key parts of a and b (0 or more than the count: all).
int D4KeyComparePrefix(const uint8_t *def, const uint8_t *a, const uint8_t *b, int parts);
// False (with "Error in key") when def cannot describe a usable index.
bool D4IndexDefValid(const uint8_t *def);

// ---- Counted indexes (counted_index.cpp, index_heads.cpp) ----

// Loads the head of index `name` (a PString) into the current
// descriptor, creating the index when create is set. null when absent.
IndexHead *D4IndexHeadLoad(const uint8_t *name, const uint8_t *def, bool create);
bool D4IndexHeadsSave();
void D4IndexHeadsReset(DVP *d);
uint32_t D4MasterListCreate();
bool D4IndexSearch(int reg, const uint8_t *name, const uint8_t *def, const uint8_t *key, int parts, int exact,
                   int direction, uint32_t *recid, uint32_t *position, uint8_t *record);
bool D4IndexReadPos(int reg, const uint8_t *name, const uint8_t *def, uint32_t position, uint32_t *recid,
                    uint8_t *record);
uint32_t D4IndexCount(const uint8_t *name, const uint8_t *def);
bool D4IndexInsert(int reg, const uint8_t *name, const uint8_t *def, uint32_t recid, const uint8_t *key);
bool D4IndexDelete(int reg, const uint8_t *name, const uint8_t *def, uint32_t recid, const uint8_t *key);
// Position of the entry with this key and record id; 0 when absent.
uint32_t D4IndexFindEntry(const uint8_t *name, const uint8_t *def, const uint8_t *key, uint32_t recid);
// Index nodes read or looked at since the program started: lets tests
// check that a lookup costs one descent.
uint64_t D4IndexNodeVisits();
// Walks one index from its root for checks: every node into *nodes and
// every entry's record id into *recids; false with *report on problems.
bool D4IndexWalkOne(const uint8_t *def, uint32_t levels, uint32_t root, std::vector<uint32_t> *nodes,
                    std::vector<uint32_t> *recids, std::string *report);

// ---- Records and blocks (records.cpp, numbered_blocks.cpp) ----

void D4BlocksIndexInit();
uint32_t D4NextRecordId(uint32_t ignored);
bool D4RecordPack(int reg, const uint8_t *record, MemBlock *out, uint32_t *length);
bool D4RecordUnpack(int reg, uint8_t *record, const uint8_t *data, uint32_t length);

// ---- Holds and header (holds.cpp) ----

bool D4HeaderWrite();
void D4SnapshotsDropAll();
// Back to the last commit as the file holds it: header, free lists,
// paths, heads and cache are reloaded (engine_open.cpp).
bool D4ReloadCommitted();

// ---- Undoing a failed hold (hold_rollback.cpp) ----

// Takes the state of the master at the start of its outermost hold.
void D4RollbackBegin();
// Forgets it: the hold succeeded.
void D4RollbackEnd();
// Puts the state taken at the start back; false when the cache could not
// take back the before-images (the caller then reloads the last commit).
bool D4RollbackApply();
// Before sector ptr is rewritten in a hold: keeps its before-image when
// it was in use at the hold's start. False when it cannot be read.
bool D4RollbackNoteWrite(uint32_t ptr);
// Before index head i of descriptor d changes: keeps it as it was at
// the start of the master's hold (only the master's heads go back).
void D4RollbackNoteHead(const DVP *d, int i);
// A sector free at the start of the hold was handed out.
void D4RollbackNoteTaken(uint32_t ptr, bool addedToFresh);
// The commit is about to take the collection: keep a copy of it.
void D4RollbackSaveCollection();
// Pops from and pushes onto Db.pool, keeping what the rollback needs.
uint32_t D4PoolPop(bool *wasThereAtStart);
void D4PoolPush(uint32_t ptr);

// Every index of the master list: name, then root record segment, levels
// and root node as they hold now (index_heads.cpp).
bool D4MasterListWalk(std::vector<std::pair<std::string, std::array<uint32_t, 3>>> *out, std::string *report);
