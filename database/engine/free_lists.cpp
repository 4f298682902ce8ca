// free_lists.cpp - sector allocation and release through free lists A
// and B and the collection of sectors released since the last flush
// (block layout in format.h).
//
// List A holds sectors that were free when the file was opened (and, once
// a snapshot opened, everything freed before it); list B holds sectors
// freed and flushed since, and is not used while a descriptor copy is
// open, so that copies keep reading the sectors they know. Sectors
// released in a hold are collected and become free only after the next
// commit (a flush in mode 1 or the close; a flush in mode 0 commits
// nothing): until the header is written, the file on disk still
// describes the previous state and none of its sectors is overwritten.
//
// Each list keeps its head block in memory. While `stored` names a sector,
// that sector holds an exact copy of the in-memory block; once the block
// changes, the copy is stale and its sector joins the collection. At a
// mode-1 flush the changed lists are written into sectors taken from
// list A (free in the committed file) or from the end of the file, so
// that the header's offsets 2 and 30 always name exact copies and no
// sector is ever listed twice or lost.
#include <algorithm>
#include <cassert>
#include <cerrno>

#include "database/engine/engine_state.h"

using namespace dbformat;

namespace {

uint32_t BlocksFor(size_t n) { return (uint32_t)((n + FreeMax - 1) / FreeMax); }

// Reads the free-list block at ptr: its pointers and next block.
bool ReadBlock(uint32_t ptr, std::vector<uint32_t> *ptrs, uint32_t *next) {
    uint8_t data[SectorSize];
    uint32_t length;
    if (!D4ReadPlain(ptr, data, &length, "D4FreeList block")) return false;
    uint16_t count = D4GetWord(data + FreeCount);
    *next = D4GetLong(data + FreeNext);
    if (length < FreeBlockSize || count > FreeMax || (*next != DiskNone && !D4PtrValid(*next))) {
        D4Damaged("D4FreeList block");
        return false;
    }
    ptrs->clear();
    for (int i = 0; i < count; i++) ptrs->push_back(D4GetLong(data + FreePtrs + 4 * i));
    return true;
}

bool WriteBlock(uint32_t ptr, const uint32_t *ptrs, size_t count, uint32_t next) {
    uint8_t data[FreeBlockSize] = {};
    D4PutWord(data + FreeCount, (uint16_t)count);
    D4PutLong(data + FreeNext, next);
    for (size_t i = 0; i < count; i++) D4PutLong(data + FreePtrs + 4 * i, ptrs[i]);
    return D4DiskWrite(data, ptr, FreeBlockSize);
}

// A stale copy's sector is free once the next commit is written.
void DropStoredCopy(FreeList &l) {
    if (l.stored == DiskNone) return;
    Db.collection.push_back(l.stored);
    Db.freeCount++;
    l.stored = DiskNone;
}

// Makes the next block of the chain the list's head block; its sector
// then holds an exact copy of it.
bool LoadNext(FreeList &l) {
    uint32_t at = l.next;
    std::vector<uint32_t> ptrs;
    uint32_t next;
    if (!ReadBlock(at, &ptrs, &next)) return false;
    DropStoredCopy(l);
    l.mem = std::move(ptrs);
    l.next = next;
    l.stored = at;
    return true;
}

// True when p, just taken from list l, can be a free sector: a data
// sector below the logical end, not one handed out since the last commit
// (those are never listed: released, they go to the pool), and not the
// list's next block. Damage otherwise: using it would overwrite a sector
// in use while reporting success.
bool CanBeFree(const FreeList &l, uint32_t p) {
    if (!D4PtrValid(p)) {
        D4Damaged("D4DiskGetFree freePtr outside logical file");
        return false;
    }
    if (D4SectorFresh(p) || p == l.next) {
        D4Damaged("D4DiskGetFree freePtr names a sector in use");
        return false;
    }
    return true;
}

// Takes a pointer from list l: none when it is empty, or on failure
// (*failed set).
uint32_t TakeFrom(FreeList &l, bool *failed) {
    for (;;) {
        if (!l.mem.empty()) {
            uint32_t p = l.mem.back();
            l.mem.pop_back();
            DropStoredCopy(l);
            Db.freeCount--;
            if (p == DiskNone) {
                D4MessageText("D4DiskGetFree freePtr==-1");
                continue;
            }
            if (!CanBeFree(l, p)) {
                *failed = true;
                return DiskNone;
            }
            return p;
        }
        if (l.next == DiskNone) return DiskNone;
        if (!LoadNext(l)) {
            *failed = true;
            return DiskNone;
        }
    }
}

// The next never-used sector: the logical end grows by one sector.
uint32_t GrowEnd() {
    uint32_t end = HdrGetLong(HdrLogicalEnd);
    if (end >= MaxLogicalEnd) {
        D4DiskRefused(EFBIG, false);
        return DiskNone;
    }
    // The file grows ahead of the logical end, in steps (not under a bulk
    // hold, whose own writes grow it).
    if (!D4CommitIsBulk() && !DbFileExtend((uint64_t)end + SectorSize)) return DiskNone;
    HdrSetLong(HdrLogicalEnd, end + SectorSize);
    DbDiskHook(end + SectorSize);
    return end;
}

// Windows of neighbouring sectors: 128 sectors, 16 pages of 4 KB.
constexpr uint32_t WindowSectors = 128;

// Orders free sectors for handing out from the back: the window holding
// most of them first, then the next fullest, each window's sectors from
// the lowest up. A hold then takes its sectors from one or two windows,
// they leave the cache in few runs, and the commit syncs few pages.
std::vector<uint32_t> WindowOrder(std::vector<uint32_t> ptrs) {
    std::sort(ptrs.begin(), ptrs.end());
    struct Group {
        size_t from, count;
    };
    std::vector<Group> groups;
    for (size_t i = 0; i < ptrs.size();) {
        size_t j = i;
        uint32_t w = ptrs[i] / SectorSize / WindowSectors;
        while (j < ptrs.size() && ptrs[j] / SectorSize / WindowSectors == w) j++;
        groups.push_back({i, j - i});
        i = j;
    }
    std::stable_sort(groups.begin(), groups.end(), [](const Group &x, const Group &y) { return x.count > y.count; });
    std::vector<uint32_t> out;
    out.reserve(ptrs.size());
    for (const Group &g : groups) out.insert(out.end(), ptrs.begin() + (long)g.from, ptrs.begin() + (long)(g.from + g.count));
    std::reverse(out.begin(), out.end());   // the first to go out last
    return out;
}

// The order in which a list's pointers go into a chain of blocks so that
// each block, loaded as the head, hands out from its back the pointers
// that mem would hand out next: the head block takes mem's last FreeMax.
std::vector<uint32_t> ChainOrder(const std::vector<uint32_t> &mem) {
    std::vector<uint32_t> out;
    out.reserve(mem.size());
    for (size_t to = mem.size(); to > 0;) {
        size_t from = to > (size_t)FreeMax ? to - FreeMax : 0;
        out.insert(out.end(), mem.begin() + (long)from, mem.begin() + (long)to);
        to = from;
    }
    return out;
}

bool WalkChain(uint32_t ptr, std::vector<uint32_t> *listed, std::vector<uint32_t> *blocks);

// The window the last sector handed out from list A lay in.
uint32_t CurrentWindow = DiskNone;
// A window is worth moving to when it has this many free sectors; below
// that, sectors come from the end of the file while the free sectors are
// few (under a fiftieth of the file), so the file stays within a few
// percent of the sectors in use.
constexpr size_t MinWindowFree = 12;

uint32_t WindowOf(uint32_t ptr) { return ptr / SectorSize / WindowSectors; }

// True when the next sector should come from the end of the file rather
// than from list A: A's next window holds too few free sectors to keep a
// hold on few pages, and there are few free sectors in all.
bool PreferEnd() {
    const FreeList &a = Db.listA;
    if (a.mem.empty()) return false;
    uint32_t w = WindowOf(a.mem.back());
    if (w == CurrentWindow) return false;
    size_t n = 0;
    for (auto it = a.mem.rbegin(); it != a.mem.rend() && WindowOf(*it) == w && n < MinWindowFree; ++it) n++;
    if (n >= MinWindowFree) return false;
    return Db.freeCount < HdrGetLong(HdrLogicalEnd) / SectorSize / 50;
}

// List A has run dry: it takes everything list B holds, ordered by
// windows, and B starts anew. B's block sectors are in use in the last
// commit and become free with the next. Not while a copy is open: what
// B holds may have been freed after the copy's view.
bool RefillFromB() {
    FreeList &a = Db.listA, &b = Db.listB;
    assert(a.mem.empty() && a.next == DiskNone && Db.copies == 0);
    std::vector<uint32_t> ptrs = b.mem, blocks;
    if (!WalkChain(b.next, &ptrs, &blocks)) return false;
    DropStoredCopy(a);
    DropStoredCopy(b);
    for (uint32_t p : blocks) {
        Db.collection.push_back(p);
        Db.freeCount++;
    }
    ptrs.erase(std::remove(ptrs.begin(), ptrs.end(), DiskNone), ptrs.end());
    a.mem = WindowOrder(std::move(ptrs));
    b = FreeList{};
    return true;
}

// The first snapshot lets list A take what list B holds, since nothing
// in B was freed after the snapshot opened.
void MergeLists() {
    Db.mergeLists = false;
    FreeList &a = Db.listA, &b = Db.listB;
    if (a.mem.empty() && a.next == DiskNone) {
        DropStoredCopy(a);
        a = std::move(b);
        b = FreeList{};
    } else if (!b.mem.empty()) {
        DropStoredCopy(a);
        DropStoredCopy(b);
        a.mem.insert(a.mem.end(), b.mem.begin(), b.mem.end());
        b.mem.clear();
    }
}

// Spreads ptrs over the given sectors as a chain ending in tail; the list
// then has the first block in memory, stored in its sector.
bool WriteChain(FreeList &l, const std::vector<uint32_t> &ptrs, const std::vector<uint32_t> &sectors,
                uint32_t tail) {
    assert(!sectors.empty() && ptrs.size() <= sectors.size() * FreeMax);
    for (size_t k = 0; k < sectors.size(); k++) {
        size_t from = std::min(ptrs.size(), k * FreeMax);
        size_t to = std::min(ptrs.size(), from + FreeMax);
        uint32_t next = k + 1 < sectors.size() ? sectors[k + 1] : tail;
        if (!WriteBlock(sectors[k], ptrs.data() + from, to - from, next)) return false;
        if (k == 0) {
            l.mem.assign(ptrs.begin() + from, ptrs.begin() + to);
            l.next = next;
            l.stored = sectors[0];
        }
    }
    return true;
}

// Walks a chain on disk from ptr, appending its pointers and blocks.
bool WalkChain(uint32_t ptr, std::vector<uint32_t> *listed, std::vector<uint32_t> *blocks) {
    uint32_t limit = HdrGetLong(HdrLogicalEnd) / SectorSize;
    std::vector<uint32_t> ptrs;
    while (ptr != DiskNone) {
        if (limit-- == 0) {
            D4Damaged("D4FreeList chain loops");
            return false;
        }
        uint32_t next;
        if (!ReadBlock(ptr, &ptrs, &next)) return false;
        if (blocks) blocks->push_back(ptr);
        if (listed) listed->insert(listed->end(), ptrs.begin(), ptrs.end());
        ptr = next;
    }
    return true;
}

}  // namespace

void D4FreeListsClear() {
    Db.listA = FreeList{};
    Db.listB = FreeList{};
    Db.collection.clear();
    Db.pool.clear();
    Db.freeCount = 0;
}

// Loads the head blocks of both lists from the header and counts every
// free sector of both chains.
bool D4FreeListsLoad() {
    D4FreeListsClear();
    std::vector<uint32_t> listed, blocks;
    for (int off : {HdrFreeA, HdrFreeB}) {
        uint32_t head = HdrGetLong(off);
        if (head == DiskNone) continue;
        if (!D4PtrValid(head)) {
            D4Damaged("D4DiskOpen free list head outside logical file");
            return false;
        }
        if (!WalkChain(head, &listed, &blocks)) return false;
        FreeList &l = off == HdrFreeA ? Db.listA : Db.listB;
        l.next = head;
        if (!LoadNext(l)) return false;
    }
    Db.freeCount = (uint32_t)listed.size();
    return D4FreeListsCheck(listed, blocks);
}

// Every pointer the lists of a file just opened hold is checked once here,
// before any can be handed out; the lists written later are this run's
// own. The segment tree is walked for its nodes and every segment's first
// sector (a leaf entry each), which costs a sector per 62 segments; later
// sectors of chains and index nodes would cost a read of every record and
// index, and are left to the integrity check.
bool D4FreeListsCheck(const std::vector<uint32_t> &listed, const std::vector<uint32_t> &blocks) {
    if (listed.empty()) return true;
    std::vector<uint32_t> sorted = listed;
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 0; i < sorted.size(); i++) {
        if (sorted[i] == DiskNone) continue;   // an empty entry, skipped when taken
        if (!D4PtrValid(sorted[i])) {
            D4Damaged("D4DiskGetFree freePtr outside logical file");
            return false;
        }
        if (i > 0 && sorted[i] == sorted[i - 1]) {
            D4Damaged("D4FreeList sector listed twice");
            return false;
        }
    }
    std::vector<uint32_t> used = blocks;
    std::vector<std::pair<uint32_t, uint32_t>> segments;
    std::string report;
    if (!D4SegmentWalk(&used, &segments, &report)) {
        if (!Db.damaged) D4Damaged("D4Segment tree unreadable");
        return false;
    }
    for (auto &[seg, ptr] : segments) used.push_back(ptr);
    for (uint32_t p : used) {
        if (std::binary_search(sorted.begin(), sorted.end(), p)) {
            D4Damaged("D4FreeList lists a sector in use");
            return false;
        }
    }
    return true;
}

// Hands out a free sector: first one released since the last commit
// after it was handed out (the pool), then from list A, then B (not while
// a copy is open), then the next sector past the logical end.
uint32_t D4DiskGetFree() {
    if (Db.mergeLists) MergeLists();
    uint32_t p = DiskNone;
    bool wasFree = true;
    if (!Db.pool.empty()) {
        p = D4PoolPop(&wasFree);
        Db.freeCount--;
    } else {
        bool failed = false;
        if (PreferEnd()) return GrowEnd();
        p = TakeFrom(Db.listA, &failed);
        if (p != DiskNone) CurrentWindow = WindowOf(p);
        if (p == DiskNone && !failed && Db.copies == 0 && (!Db.listB.mem.empty() || Db.listB.next != DiskNone)) {
            if (!RefillFromB()) return DiskNone;
            p = TakeFrom(Db.listA, &failed);
        }
        if (failed) return DiskNone;
    }
    if (p == DiskNone) return GrowEnd();
    bool added = Db.fresh.insert(p).second;
    // A pool entry released in this very hold was in use when it began:
    // the rollback keeps its before-image at its first rewrite.
    if (wasFree) D4RollbackNoteTaken(p, added);
    else if (added && Db.rb.active) Db.rb.freshAdded.push_back(p);
    return p;
}

void D4FreshReset(bool holdBegins) {
    Db.fresh.clear();
    Db.freshFrom = holdBegins ? HdrGetLong(HdrLogicalEnd) : MaxLogicalEnd;
}

bool D4SectorFresh(uint32_t ptr) { return ptr >= Db.freshFrom || Db.fresh.count(ptr) != 0; }

// A released sector handed out since the last commit (and since any
// snapshot opened) is used by nothing else: reusable at once. Any other
// waits for the next commit.
static void ReleaseOne(uint32_t ptr) {
    if (D4SectorFresh(ptr)) D4PoolPush(ptr);
    else Db.collection.push_back(ptr);
    Db.freeCount++;
}

// Releases one sector, or with chain set every sector of the chain that
// starts there. Released sectors become free at the next flush.
bool D4DiskRelease(uint32_t ptr, bool chain) {
    if (CurDVp->holdCnt < 1) {
        D4Message("D4DiskRelease holdCnt ", CurDVp->holdCnt);
        assert(!"D4DiskRelease outside a hold");
        return false;
    }
    if (ptr == DiskNone) {
        D4MessageText("D4DiskRelease -1");
        D4HoldFail();
        return false;
    }
    if (!D4WriteAllowed()) return false;
    if (!D4PtrValid(ptr)) {
        D4Damaged("D4DiskRelease >logEndOfDisk");
        return false;
    }
    if (!chain) {
        ReleaseOne(ptr);
        return true;
    }
    uint8_t sector[SectorSize];
    uint16_t seq = 0;
    for (;;) {
        if (!D4SectorRead(sector, ptr)) return false;
        uint32_t next = D4GetLong(sector + ChainNext);
        // A typed chain's sequence words must count up; that also ends any loop.
        if (next != DiskNone) {
            uint16_t s = D4GetWord(sector + ChainSeq);
            if (s != (uint16_t)(seq + 1)) {
                D4Damaged("D4DiskRelease chain sequence");
                return false;
            }
            seq = s;
        }
        ReleaseOne(ptr);
        if (next == DiskNone || next == ChainEnd) return true;
        if (!D4PtrValid(next)) {
            D4Damaged("D4DiskRelease >logEndOfDisk");
            return false;
        }
        ptr = next;
    }
}

// Writes both lists so that the header names exact copies of their head
// blocks: list B gets everything collected since the last flush in front
// of it. The blocks go into sectors taken from the lists' own pointers
// (free in the committed file; B's only while no copy is open) or from
// the end of the file, never into one the committed file still uses.
bool D4FreeListsStore() {
    FreeList &a = Db.listA, &b = Db.listB;
    // Free for reuse at once, and free in the new commit too.
    Db.collection.insert(Db.collection.end(), Db.pool.begin(), Db.pool.end());
    Db.pool.clear();
    for (FreeList *l : {&a, &b})
        while (l->stored == DiskNone && l->mem.empty() && l->next != DiskNone)
            if (!LoadNext(*l)) return false;

    // A list whose copy is stale needs its pointers written anew; B's go
    // behind what was collected.
    auto needA = [&]() -> size_t {
        if (a.stored != DiskNone || (a.mem.empty() && a.next == DiskNone)) return 0;
        return std::max<size_t>(1, BlocksFor(a.mem.size()));
    };
    auto newBSize = [&]() { return Db.collection.size() + (b.stored == DiskNone ? b.mem.size() : 0); };
    std::vector<uint32_t> reserved;
    while (reserved.size() < needA() + BlocksFor(newBSize())) {
        FreeList *from = !a.mem.empty() ? &a : (Db.copies == 0 && !b.mem.empty() ? &b : nullptr);
        uint32_t p;
        if (from) {
            p = from->mem.back();
            from->mem.pop_back();
            Db.freeCount--;
            DropStoredCopy(*from);
            if (!CanBeFree(*from, p)) return false;
            D4RollbackNoteTaken(p, false);
        } else {
            p = GrowEnd();
            if (p == DiskNone) return false;
        }
        reserved.push_back(p);
    }
    std::vector<uint32_t> newB;
    newB.swap(Db.collection);
    // Highest first: taking the last then hands out neighbours in order,
    // and a hold's sectors leave the cache in few runs.
    std::sort(newB.begin(), newB.end(), std::greater<uint32_t>());
    uint32_t tailB = b.stored;
    if (b.stored == DiskNone) {
        newB.insert(newB.end(), b.mem.begin(), b.mem.end());
        tailB = b.next;
    }
    D4CommitNoteFreed(newB);
    // Sectors beyond the need (when a list shrank below a block while
    // sectors were taken) become further, sparser blocks of B.
    size_t forA = needA();
    size_t forB = reserved.size() - forA;
    assert(forB >= BlocksFor(newB.size()));
    if (forA > 0) {
        std::vector<uint32_t> sectors(reserved.begin(), reserved.begin() + (long)forA);
        std::vector<uint32_t> ptrs = ChainOrder(a.mem);
        if (!WriteChain(a, ptrs, sectors, a.next)) return false;
    }
    if (forB > 0) {
        std::vector<uint32_t> sectors(reserved.begin() + (long)forA, reserved.end());
        if (!WriteChain(b, newB, sectors, tailB)) return false;
    } else if (b.stored == DiskNone) {
        b.mem.clear();
        b.next = tailB;
        if (tailB != DiskNone && !LoadNext(b)) return false;
    }
    HdrSetLong(HdrFreeA, a.stored);
    HdrSetLong(HdrFreeB, b.stored);
    return true;
}

// Mode 0 commits nothing: the sectors collected stay in the collection,
// not to be handed out again before the next commit, since the file on
// disk (the last commit) may still use them.
bool D4SaveFlushCompact() {
    Db.mergeLists = false;
    return !Db.damaged;
}

bool D4SaveFlush() {
    Db.mergeLists = false;
    if (!D4IndexHeadsSave()) return false;
    if (!D4FreeListsStore()) return false;
    if (!D4CacheWriteBack()) return false;
    return D4HeaderWrite();
}

bool D4FreeListSectors(std::vector<uint32_t> *listed, std::vector<uint32_t> *blocks, std::string *report) {
    for (const FreeList *l : {&Db.listA, &Db.listB}) {
        listed->insert(listed->end(), l->mem.begin(), l->mem.end());
        if (l->stored != DiskNone) blocks->push_back(l->stored);
        if (!WalkChain(l->next, listed, blocks)) {
            *report += "free list chain unreadable\n";
            return false;
        }
    }
    listed->insert(listed->end(), Db.collection.begin(), Db.collection.end());
    listed->insert(listed->end(), Db.pool.begin(), Db.pool.end());
    return true;
}
