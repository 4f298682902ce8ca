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
// mode-1 flush the changed lists are written into sectors the allocator
// hands out (free in the committed file) or from the end of the file, so
// that the header's offsets 2 and 30 always name exact copies and no
// sector is ever listed twice or lost.
//
// What the allocator hands out is the pointers of the head blocks, which
// the map (free_map.cpp) holds sorted by position: a hold takes them from
// few windows of neighbouring sectors rather than in list order (see
// "Choosing where a hold's sectors come from" below). List B's head is
// kept to its densest windows: the sectors a commit frees join it, and
// what is scattered goes down the chain, to reach list A when A runs dry.
#include <algorithm>
#include <array>
#include <cassert>
#include <cerrno>

#include "database/engine/engine_state.h"
#include "database/engine/free_map.h"

using namespace dbformat;

namespace {

// Working space kept from one call to the next (its room is reused, its
// contents are not), at namespace scope as engine_state.h asks.
std::vector<uint32_t> NextBlockPtrs;      // LoadNext
std::vector<uint32_t> WindowPerWindow;    // ByWindowCount: zero between calls
std::vector<uint64_t> WindowGroups;       // ByWindowCount: count (or its complement) above window
std::vector<uint32_t> WindowPlaced;       // ByWindowCount
std::vector<uint32_t> GatherPtrs, GatherBlocks;   // ChainsToA
std::vector<uint32_t> SecondBlockPtrs;    // D4FreeListsStore: B's second block
std::vector<uint32_t> StoreReserved;      // D4FreeListsStore: the sectors for the lists' blocks
std::vector<uint32_t> StoreNewB;          // D4FreeListsStore: B's new head
std::vector<uint32_t> StoreChainA;        // D4FreeListsStore: A's chain order

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

// True while list B's sectors may be handed out: no copy is open that
// may still read what B holds (B's sectors were freed after its view).
bool BUsable() { return Db.copies == 0; }

// Whether the map holds list B's head pointers (see BUsable).
bool MapWithB = false;

uint32_t WindowOf(uint32_t ptr) { return ptr / SectorSize / D4WindowSectors; }

// How many of list A's head pointers lie in each window (all of them,
// valid or not). Most sectors are taken from B's head, and one that A
// holds nothing of the window of is not looked for in A's: the search
// through a head of hundreds cost more than the rest of the take.
std::vector<uint32_t> AInWindow;

void CountInA(std::span<const uint32_t> ptrs) {
    for (uint32_t p : ptrs) {
        uint32_t w = WindowOf(p);
        if (w >= AInWindow.size()) AInWindow.resize(std::max<size_t>(w + 1, AInWindow.size() * 2), 0);
        AInWindow[w]++;
    }
}

// (ptrs: pointers counted before.)
void UncountInA(std::span<const uint32_t> ptrs) {
    for (uint32_t p : ptrs) {
        assert(WindowOf(p) < AInWindow.size() && AInWindow[WindowOf(p)] > 0);
        AInWindow[WindowOf(p)]--;
    }
}

void RecountA() {
    std::fill(AInWindow.begin(), AInWindow.end(), 0);
    CountInA(Db.listA.mem);
}

bool MayBeInA(uint32_t p) {
    uint32_t w = WindowOf(p);
    return w < AInWindow.size() && AInWindow[w] != 0;
}

// The pointers the lists of the file held when it was opened, sorted,
// until they are checked against the segment tree (then empty). The
// check walks the whole tree, which at a million records reads tens of
// thousands of sectors scattered over the file; it is put off until the
// first of these pointers is about to be handed out (TakeFromWindow), so
// that an open and the reads after it touch what they read, not the file.
// Until then a sector in use that is released is looked up here: listed
// free too, it would be handed out twice once the tree no longer names it.
std::vector<uint32_t> Unchecked;

bool IsUnchecked(uint32_t p) { return !Unchecked.empty() && std::binary_search(Unchecked.begin(), Unchecked.end(), p); }

// Checks the pointers of Unchecked against the segment tree as it is now:
// none may be one of its nodes or the first sector of a live segment. The
// tree's sectors that this run released were looked up when released, so
// together that covers the tree as the file held it. Damage otherwise.
bool CheckAgainstTree() {
    std::vector<uint32_t> used;
    std::vector<std::pair<uint32_t, uint32_t>> segments;
    std::string report;
    if (!D4SegmentWalk(&used, &segments, &report)) {
        if (!Db.damaged) D4Damaged("D4Segment tree unreadable");
        return false;
    }
    for (auto &[seg, ptr] : segments) used.push_back(ptr);
    for (uint32_t p : used) {
        if (IsUnchecked(p)) {
            D4Damaged("D4FreeList lists a sector in use");
            return false;
        }
    }
    Unchecked.clear();
    Unchecked.shrink_to_fit();
    return true;
}

// Appends the pointers of a block just read to the list's head in
// memory (and to the map); empty entries (-1) are dropped and counted out.
void AppendToMem(FreeList &l, const std::vector<uint32_t> &ptrs) {
    bool inMap = &l == &Db.listA || MapWithB;
    size_t from = l.mem.size();
    for (uint32_t p : ptrs) {
        if (p == DiskNone) {
            D4MessageText("D4DiskGetFree freePtr==-1");
            Db.freeCount--;
            continue;
        }
        l.mem.push_back(p);
    }
    if (&l == &Db.listA) CountInA(std::span(l.mem).subspan(from));
    if (inMap) D4FreeMapAddValid(std::span(l.mem).subspan(from));
}

// Makes the next block of the chain part of the list's head in memory.
// Loaded into an empty head, its sector then holds an exact copy of it;
// appended to pointers already there, the head is stale and the block's
// sector free with the next commit.
bool LoadNext(FreeList &l) {
    uint32_t at = l.next;
    std::vector<uint32_t> &ptrs = NextBlockPtrs;
    uint32_t next;
    if (!ReadBlock(at, &ptrs, &next)) return false;
    DropStoredCopy(l);
    bool exact = l.mem.empty() && std::find(ptrs.begin(), ptrs.end(), DiskNone) == ptrs.end();
    AppendToMem(l, ptrs);
    l.next = next;
    if (exact) l.stored = at;
    else {
        Db.collection.push_back(at);
        Db.freeCount++;
    }
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

// Sorts a short run of sectors that is mostly in order already (a
// window's sectors as a head holds them) by insertion: in order, it costs
// one comparison a sector. Longer runs, or runs far from order, are few.
void SortMostlySorted(uint32_t *first, uint32_t *last) {
    if (last - first > 32) {
        if (!std::is_sorted(first, last)) std::sort(first, last);
        return;
    }
    for (uint32_t *i = first + (first != last); i < last; i++) {
        uint32_t v = *i, *j = i;
        for (; j > first && *(j - 1) > v; j--) *j = *(j - 1);
        *j = v;
    }
}

// Orders free sectors by windows: each window's sectors together,
// ascending, and the windows by how many they hold (fewest first, or
// most first with mostFirst; the lower window first among equals). Every
// commit orders list B's head, so the pointers are placed by a count per
// window and only the few windows, and each window's own sectors (mostly
// in order already), are sorted; the scratch space is kept between calls.
void ByWindowCount(std::vector<uint32_t> &ptrs, bool mostFirst) {
    std::vector<uint32_t> &perWindow = WindowPerWindow;
    std::vector<uint64_t> &groups = WindowGroups;
    std::vector<uint32_t> &placed = WindowPlaced;
    groups.clear();
    for (uint32_t p : ptrs) {
        uint32_t w = WindowOf(p);
        if (w >= perWindow.size()) perWindow.resize((size_t)w + 1, 0);
        if (perWindow[w]++ == 0) groups.push_back(w);
    }
    // One key per window orders them by count, then by window.
    for (uint64_t &g : groups) {
        uint32_t count = perWindow[(uint32_t)g];
        g |= (uint64_t)(mostFirst ? ~count : count) << 32;
    }
    std::sort(groups.begin(), groups.end());
    // perWindow becomes each window's next place in the result.
    uint32_t at = 0;
    for (uint64_t g : groups) {
        uint32_t w = (uint32_t)g, count = perWindow[w];
        perWindow[w] = at;
        at += count;
    }
    placed.resize(ptrs.size());
    for (uint32_t p : ptrs) placed[perWindow[WindowOf(p)]++] = p;
    // Each window's place now lies at the end of its sectors.
    at = 0;
    for (uint64_t g : groups) {
        uint32_t &end = perWindow[(uint32_t)g];
        SortMostlySorted(placed.data() + at, placed.data() + end);
        at = end;
        end = 0;
    }
    ptrs.swap(placed);
}

// Orders free sectors for a list's head in memory: the window holding
// most of them last, so that a chain written from them (ChainOrder) puts
// the fullest windows in its head block.
void WindowOrder(std::vector<uint32_t> &ptrs) { ByWindowCount(ptrs, false); }

// The order in which a list's pointers go into a chain of blocks so that
// each block, loaded as the head, hands out from its back the pointers
// that mem would hand out next: the head block takes mem's last FreeMax.
void ChainOrder(const std::vector<uint32_t> &mem, std::vector<uint32_t> *out) {
    out->clear();
    for (size_t to = mem.size(); to > 0;) {
        size_t from = to > (size_t)FreeMax ? to - FreeMax : 0;
        out->insert(out->end(), mem.begin() + (long)from, mem.begin() + (long)to);
        to = from;
    }
}

bool WalkChain(uint32_t ptr, std::vector<uint32_t> *listed, std::vector<uint32_t> *blocks);

// ---- Choosing where a hold's sectors come from ----
//
// A commit costs a sync plus a little for every separate page it writes,
// so a hold's sectors should lie on few pages. They go two ways by how
// long they are expected to live. Short-lived ones (copies of items that
// one of the last holds wrote too: roots, the upper levels and right
// edges that most changes rewrite, list blocks) are freed again by the
// next holds; they go only where they lie as densely on pages as at the
// end of the file, else to the end, so the runs they leave behind serve
// the next holds as runs again. Long-lived ones (records, nodes whose
// last copy is older) fill the holes of the fullest window the short-
// lived would not take, when it holds what they need; otherwise the end
// of the file serves them while free sectors are few (under a fiftieth of
// the file), else the fullest window there is, so that freed space is
// reused and the file stays within a few percent of the sectors in use.
// Each way keeps to its window, lowest sector first, until the window is
// empty; what a way needs is what it took in the last hold. When the
// head pointers offer no window, the next block of list A joins them.

constexpr uint32_t EndOfFile = DiskNone - 1;   // a way's window: the file grows
struct Way {
    uint32_t window = DiskNone;   // where the way takes from now
    uint32_t taken = 0;           // sectors taken by the current outermost hold
    uint32_t need = 16;           // what the hold is expected to take
    uint32_t last = DiskNone;     // the sector it took last
};
Way Ways[2];   // indexed by D4Life

// The sectors the last eight holds took: a node whose copy lies among
// them is rewritten often (a root, an upper level, the right edge of a
// tree that grows there), and its next copy is short-lived too.
// RecentCount counts each sector's entries in Recent (indexed by sector,
// a byte each: a hold takes a sector at most once, so a count is at most
// RecentHolds), so that asking for a copy's life costs the same however
// many sectors those holds took (a hold that stores a voucher of
// thousands of rows takes tens of thousands), and keeping the counts
// costs no hashing or allocation per sector.
constexpr size_t RecentHolds = 8;
std::array<std::vector<uint32_t>, RecentHolds> Recent;
std::vector<uint8_t> RecentCount;
std::vector<uint32_t> ThisHold;
size_t RecentAt = 0;

// What a window offers a way that still needs need sectors: the lowest
// min(need, free) of its free sectors, and the pages they lie on.
struct Offer {
    uint32_t sectors = 0, pages = 0;
};
// (freeIn: the window's free sectors.)
Offer OfferOf(uint32_t window, uint32_t freeIn, uint32_t need) {
    uint32_t k = std::min(need, freeIn);
    return Offer{k, k ? D4FreeMapPagesFor(window, k) : 0};
}

// True when window offers short-lived sectors as dense a run as the end
// of the file would (give or take a page), and enough of them to be worth
// a window: all that is needed, or at least a page's worth.
bool DenseForShort(const Offer &o, uint32_t need) {
    return o.sectors >= std::min(need, 8u) && o.pages <= (o.sectors + 7) / 8 + 2;
}
bool GoodForShort(uint32_t window, uint32_t freeIn, uint32_t need) {
    // Too few sectors is known before their pages are counted.
    if (std::min(need, freeIn) < std::min(need, 8u)) return false;
    return DenseForShort(OfferOf(window, freeIn, need), need);
}

// The window for a way, or none (the lowest of equals). Short-lived
// sectors go where they lie densest on pages (among equals, where most
// are free), and only to a window GoodForShort unless free sectors are
// too many (a third of the file: the runs they left behind went unused).
// Long-lived ones go to the fullest window that short-lived ones would
// not take, other than the short way's own, and when free sectors are
// many and there is no other, to one they would; *count gets its free
// sectors.
uint32_t ChooseShortWindow(uint32_t need, bool tooMany, uint32_t *count) {
    uint32_t best = DiskNone, most = 0;
    Offer bestOffer;
    // Nothing is added to the map in the loop: the counts stay valid.
    std::span<const uint16_t> freeIn = D4FreeMapWindowCounts();
    for (uint32_t w : D4FreeMapWindows()) {
        uint32_t n = freeIn[w];
        if (!tooMany && n < std::min(need, 8u)) continue;
        // Not counted when even its sectors on the fewest pages would
        // lie less densely than the best offer's.
        uint32_t k = std::min(need, n), fewest = (k + 7) / 8;
        if (best != DiskNone && (uint64_t)bestOffer.sectors * fewest > (uint64_t)k * bestOffer.pages) continue;
        Offer o = OfferOf(w, n, need);
        if (!tooMany && !DenseForShort(o, need)) continue;
        // Denser first: more sectors per page, then more sectors.
        uint64_t x = (uint64_t)o.sectors * bestOffer.pages, y = (uint64_t)bestOffer.sectors * o.pages;
        if (best == DiskNone || x > y || (x == y && (n > most || (n == most && w < best))))
            best = w, bestOffer = o, most = n;
    }
    *count = most;
    return best;
}

// Windows compare by a key, more free sectors first, then the lower
// window: one comparison a window where most are passed over.
uint64_t FullnessKey(uint32_t window, uint32_t n) { return (uint64_t)n << 32 | (uint32_t)~window; }

uint32_t ChooseLongWindow(uint32_t shortNeed, uint32_t avoid, bool many, uint32_t *count) {
    uint64_t best = 0, spare = 0, least = 0;   // keys; 0: none yet
    std::span<const uint16_t> freeIn = D4FreeMapWindowCounts();
    for (uint32_t w : D4FreeMapWindows()) {
        uint32_t n = freeIn[w];
        uint64_t key = FullnessKey(w, n);
        // Whether short-lived sectors would take it is asked only of a
        // window that could become either choice.
        if (key <= least || w == avoid) continue;
        if (!GoodForShort(w, n, shortNeed)) best = std::max(best, key);
        else spare = std::max(spare, key);
        least = std::min(best, spare);
    }
    if (best == 0 && many) best = spare;
    *count = (uint32_t)(best >> 32);
    return best == 0 ? DiskNone : ~(uint32_t)best;
}

uint32_t ChooseWindow(D4Life life, uint32_t need, uint32_t shortNeed, uint32_t avoid, bool many, bool tooMany,
                      uint32_t *count) {
    return life == D4Life::Short ? ChooseShortWindow(need, tooMany, count)
                                 : ChooseLongWindow(shortNeed, avoid, many, count);
}

// Where in a list's head the last sector was taken from. A window's
// sectors lie together in the head, lowest first, and are taken lowest
// first, so the next one usually sits where the last one was erased; the
// fullest windows lie at the head's end (WindowOrder), so a search starts
// there. A head of 100,000 pointers then costs a step a sector, not a
// scan of the whole head.
size_t TakeHint[2] = {0, 0};

// The position of p in l's head, or its size.
size_t FindInHead(const std::vector<uint32_t> &mem, size_t hint, uint32_t p) {
    for (size_t i = hint > 0 ? hint - 1 : 0; i < std::min(mem.size(), hint + 1); i++)
        if (mem[i] == p) return i;
    auto it = std::find(mem.rbegin(), mem.rend(), p);
    return it == mem.rend() ? mem.size() : (size_t)(mem.rend() - it) - 1;
}

// Takes the next sector of window after last (D4FreeMapPick) out of the
// map and out of the list head that holds it. None on damage (*failed set).
uint32_t TakeFromWindow(uint32_t window, uint32_t last, bool *failed) {
    uint32_t p = D4FreeMapPick(window, last);
    assert(p != DiskNone);
    if (IsUnchecked(p) && !CheckAgainstTree()) {
        *failed = true;
        return DiskNone;
    }
    D4FreeMapRemove(p);
    for (int k = 0; k < 2; k++) {
        FreeList *l = k == 0 ? &Db.listA : &Db.listB;
        if (k == 0 && !MayBeInA(p)) continue;
        size_t at = FindInHead(l->mem, TakeHint[k], p);
        if (at == l->mem.size()) continue;
        l->mem.erase(l->mem.begin() + (long)at);
        if (k == 0) UncountInA({&p, 1});
        TakeHint[k] = at;
        DropStoredCopy(*l);
        Db.freeCount--;
        if (!CanBeFree(*l, p)) break;
        return p;
    }
    if (!Db.damaged) D4Damaged("D4DiskGetFree map and lists differ");
    *failed = true;
    return DiskNone;
}

// List A's head in memory takes every pointer of both chains, ordered by
// windows with the fullest last (WindowOrder), and the lists keep their
// heads alone; the commit writes A's anew. The chains' blocks are in use
// in the last commit and become free with the next. Not while a copy is
// open: what B holds may have been freed after the copy's view.
bool ChainsToA() {
    FreeList &a = Db.listA, &b = Db.listB;
    assert(BUsable());
    std::vector<uint32_t> &ptrs = GatherPtrs, &blocks = GatherBlocks;
    ptrs.clear();
    blocks.clear();
    if (!WalkChain(a.next, &ptrs, &blocks) || !WalkChain(b.next, &ptrs, &blocks)) return false;
    if (blocks.empty()) return true;
    DropStoredCopy(a);
    DropStoredCopy(b);   // its next block changes
    for (uint32_t p : blocks) {
        Db.collection.push_back(p);
        Db.freeCount++;
    }
    a.next = b.next = DiskNone;
    AppendToMem(a, ptrs);
    WindowOrder(a.mem);
    return true;
}

// Brings more free sectors into the map when its windows hold too few:
// the next block of list A while A's head holds under a block, or, once A
// is dry, the rest of list B. False when there is nothing more (or on
// failure, *failed set).
bool LoadMore(bool *failed) {
    FreeList &a = Db.listA, &b = Db.listB;
    bool ok;
    if (a.next != DiskNone && a.mem.size() < (size_t)FreeMax) ok = LoadNext(a);
    else if (a.mem.empty() && a.next == DiskNone && BUsable() && b.next != DiskNone) ok = ChainsToA();
    else return false;
    if (!ok) *failed = true;
    return ok;
}

// Hands out a free sector for an item of the given life from the lists
// (through the map) or from the end of the file, as the rules above say.
// None on failure. mayLoad: more of the lists may be read in (not while
// they are being written).
uint32_t TakeSector(D4Life life, bool mayLoad, bool *fromEnd) {
    if (MapWithB != BUsable()) D4FreeMapRebuild();
    *fromEnd = false;
    Way &way = Ways[(int)life], &shortWay = Ways[(int)D4Life::Short];
    auto left = [](const Way &w) { return w.need > w.taken ? w.need - w.taken : 1; };
    uint32_t need = left(way);
    bool failed = false;
    uint32_t p = DiskNone;
    // Free sectors are many once they pass a fiftieth of the file: the
    // long-lived then fill what holes there are, so that the file stays
    // within a few percent of the sectors in use. The short-lived are
    // freed again soon: taken at the end, they leave a run behind; only
    // past a third of the file do they fill holes too.
    uint32_t sectors = HdrGetLong(HdrLogicalEnd) / SectorSize;
    bool many = Db.freeCount >= sectors / 50, tooMany = Db.freeCount >= sectors / 3;
    if (!many) {
        // Few: the end of the file serves both ways, so that the hold's
        // sectors leave the cache in one span. The free sectors of its last
        // two windows (the short-lived ones that the holds before freed
        // there) go first, from the highest page down, then new ones.
        uint32_t last = (sectors - 1) / D4WindowSectors;
        uint32_t home = D4FreeMapWindowFree(last) > 0 ? last
                        : last > 0 && D4FreeMapWindowFree(last - 1) > 0 ? last - 1 : EndOfFile;
        way.window = EndOfFile;
        if (home == EndOfFile) {
            *fromEnd = true;
            p = GrowEnd();
        } else {
            p = TakeFromWindow(home, D4FreeMapHighest(home), &failed);
        }
    } else if (way.window == EndOfFile) {
        *fromEnd = true;
        p = GrowEnd();
    } else if (uint32_t freeIn = way.window != DiskNone ? D4FreeMapWindowFree(way.window) : 0;
               freeIn > 0 && (way.taken > 0 || (life == D4Life::Short ? GoodForShort(way.window, freeIn, need)
                                                                       : freeIn >= need))) {
        p = TakeFromWindow(way.window, way.last, &failed);
    } else {
        uint32_t count, avoid = shortWay.window;
        auto choose = [&]() { return ChooseWindow(life, need, left(shortWay), avoid, many, tooMany, &count); };
        uint32_t best = choose();
        while ((best == DiskNone || count < need) && mayLoad && LoadMore(&failed)) best = choose();
        if (failed) return DiskNone;
        bool take = best != DiskNone && (life == D4Life::Short || count >= need || many);
        // No window holds the long-lived sectors the hold still needs, so
        // they would spread over several: they join the short-lived ones'
        // window instead when it has room for both with three pages to
        // spare, and the commit writes one run of pages fewer. With less
        // to spare the short-lived soon lack room there and the file grows.
        constexpr uint32_t ShortSpare = 24;
        if (life == D4Life::Long && take && count < need && shortWay.window != DiskNone &&
            shortWay.window != EndOfFile &&
            D4FreeMapWindowFree(shortWay.window) >= left(shortWay) + need + ShortSpare)
            best = shortWay.window;
        if (take) {
            way.window = best;
            p = TakeFromWindow(best, way.last, &failed);
        } else {
            way.window = EndOfFile;
            *fromEnd = true;
            p = GrowEnd();
        }
    }
    if (p != DiskNone) {
        way.last = p;
        way.taken++;
        ThisHold.push_back(p);
    }
    return p;
}

// The first snapshot lets list A take what list B holds in memory, since
// nothing in B was freed after the snapshot opened.
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
    D4FreeMapRebuild();
}

// Spreads ptrs over the given sectors as a chain ending in tail; the list
// then has the first block in memory, stored in its sector.
bool WriteChain(FreeList &l, const std::vector<uint32_t> &ptrs, std::span<const uint32_t> sectors, uint32_t tail) {
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

// The map after a list was written as a chain from ptrs (WriteChain):
// the head block's pointers are in it when the list is (inMap), those of
// the blocks behind are not.
void MapFollowChain(const std::vector<uint32_t> &ptrs, bool inMap) {
    std::span<const uint32_t> all(ptrs);
    size_t head = inMap ? std::min(all.size(), (size_t)FreeMax) : 0;
    D4FreeMapAddValid(all.first(head));
    D4FreeMapRemoveAll(all.subspan(head));
}

}  // namespace

// True when the map holds exactly the valid pointers of the heads (list
// B's only while it may hand them out), and A's count per window is A's
// head counted afresh: what D4FreeMapRebuild makes.
bool D4FreeMapMatchesHeads() {
    std::vector<uint32_t> inWindow(AInWindow.size(), 0);
    for (uint32_t p : Db.listA.mem) {
        if (WindowOf(p) >= inWindow.size()) return false;
        inWindow[WindowOf(p)]++;
    }
    if (inWindow != AInWindow) return false;
    uint32_t count = 0;
    for (const FreeList *l : {&Db.listA, &Db.listB}) {
        if (l == &Db.listB && !MapWithB) break;
        for (uint32_t p : l->mem) {
            if (p == DiskNone || !D4PtrValid(p)) continue;
            if (!D4FreeMapHas(p)) return false;
            count++;
        }
    }
    return count == D4FreeMapCount();
}

namespace {

// The order of list B's pointers when it is written: those of the
// windows holding most of them first, so that B's head block (kept in
// memory, where the allocator sees it) holds the densest free space and
// the scattered rest goes down the chain.
void DensestFirst(std::vector<uint32_t> &ptrs) { ByWindowCount(ptrs, true); }

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

// ---- Gathering the free space ----
//
// A long-lived sector is freed alone, and its window's other free sectors
// were freed at other times: each went down list B's chain with the
// scattered rest of its commit, and A's chain keeps the order it was
// written in. The heads then show a window's free sectors one or two at a
// time, and the long-lived sectors of a hold spread over as many windows
// as they number. Every few commits (Db.gatherEvery) the chains of both
// lists are gathered into list A (ChainsToA), so that the allocator meets
// the fullest windows of all the free space first.
uint32_t CommitsSinceGather = 0;

}  // namespace

void D4FreeListsClear() {
    Db.listA = FreeList{};
    Db.listB = FreeList{};
    Db.collection.clear();
    Db.pool.clear();
    Db.freeCount = 0;
    D4FreeMapClear();
    MapWithB = false;
    AInWindow.clear();
    Unchecked.clear();
    CommitsSinceGather = 0;
    for (Way &w : Ways) w = Way{};
    // What the last holds took belongs to the file they worked on.
    for (std::vector<uint32_t> &r : Recent) r.clear();
    RecentCount.clear();
    RecentCount.shrink_to_fit();
    ThisHold.clear();
}

void D4FreeMapRebuild() {
    RecountA();
    D4FreeMapClear();
    MapWithB = BUsable();
    for (const FreeList *l : {&Db.listA, &Db.listB}) {
        if (l == &Db.listB && !MapWithB) break;
        D4FreeMapAddValid(l->mem);
    }
}

void D4AllocHoldBegins() {
    for (Way &w : Ways) {
        if (w.taken > 0) w.need = std::min(w.taken, D4WindowSectors);
        w.taken = 0;
        if (w.window == EndOfFile) w.window = DiskNone;
    }
    RecentAt = (RecentAt + 1) % RecentHolds;
    for (uint32_t p : Recent[RecentAt]) {
        assert(p / SectorSize < RecentCount.size() && RecentCount[p / SectorSize] > 0);
        RecentCount[p / SectorSize]--;
    }
    for (uint32_t p : ThisHold) {
        size_t s = p / SectorSize;
        if (s >= RecentCount.size()) RecentCount.resize(std::max(s + 1, RecentCount.size() * 2), 0);
        assert(RecentCount[s] < RecentHolds);
        RecentCount[s]++;
    }
    Recent[RecentAt].swap(ThisHold);
    ThisHold.clear();
}

D4Life D4LifeOfCopy(uint32_t ptr) {
    size_t s = ptr / SectorSize;
    return s < RecentCount.size() && RecentCount[s] != 0 ? D4Life::Short : D4Life::Long;
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
        (off == HdrFreeA ? Db.listA : Db.listB).next = head;
    }
    if (!D4FreeListsCheck(listed, blocks)) return false;
    Db.freeCount = (uint32_t)listed.size();
    for (FreeList *l : {&Db.listA, &Db.listB})
        if (l->next != DiskNone && !LoadNext(*l)) return false;
    D4FreeMapRebuild();
    return true;
}

// Every pointer the lists of a file just opened hold is checked here
// for what costs no more than reading the lists: within the logical end,
// listed once, and not one of the lists' own blocks. Whether one is a
// segment-tree node or the first sector of a live segment is checked
// against the tree before the first of them is handed out (see
// Unchecked); later sectors of chains and index nodes would cost a read
// of every record and index, and are left to the integrity check.
bool D4FreeListsCheck(const std::vector<uint32_t> &listed, const std::vector<uint32_t> &blocks) {
    Unchecked.clear();
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
    for (uint32_t p : blocks) {
        if (std::binary_search(sorted.begin(), sorted.end(), p)) {
            D4Damaged("D4FreeList lists a sector in use");
            return false;
        }
    }
    sorted.erase(std::remove(sorted.begin(), sorted.end(), DiskNone), sorted.end());
    Unchecked = std::move(sorted);
    return true;
}

// Hands out a free sector: first one released since the last commit
// after it was handed out (the pool), then one of the lists' head blocks
// or the end of the file, as the window rules above choose.
uint32_t D4DiskGetFree(D4Life life) {
    if (Db.mergeLists) MergeLists();
    uint32_t p = DiskNone;
    bool wasFree = true;
    if (!Db.pool.empty()) {
        p = D4PoolPop(&wasFree);
        Db.freeCount--;
        Ways[(int)life].taken++;
    } else {
        bool fromEnd;
        p = TakeSector(life, true, &fromEnd);
        if (p == DiskNone || fromEnd) return p;
    }
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
// A sector of the file as opened that its lists also name is damage
// (see Unchecked).
static bool ReleaseOne(uint32_t ptr) {
    if (IsUnchecked(ptr)) {
        D4Damaged("D4FreeList lists a sector in use");
        return false;
    }
    if (D4SectorFresh(ptr)) D4PoolPush(ptr);
    else Db.collection.push_back(ptr);
    Db.freeCount++;
    return true;
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
    if (!chain) return ReleaseOne(ptr);
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
        if (!ReleaseOne(ptr)) return false;
        if (next == DiskNone || next == ChainEnd) return true;
        if (!D4PtrValid(next)) {
            D4Damaged("D4DiskRelease >logEndOfDisk");
            return false;
        }
        ptr = next;
    }
}

// Writes both lists so that the header names exact copies of their head
// blocks. List B's head takes everything collected since the last flush
// besides what it held; when that overflows a block, the block behind it
// joins, and the densest windows go into the head, the rest (full blocks
// but the last) behind it. The blocks go into sectors the allocator hands
// out (free in the committed file; B's only while no copy is open) or
// from the end of the file, never into one the committed file still uses.
bool D4FreeListsStore() {
    FreeList &a = Db.listA, &b = Db.listB;
    // Free for reuse at once, and free in the new commit too.
    Db.collection.insert(Db.collection.end(), Db.pool.begin(), Db.pool.end());
    Db.pool.clear();
    if (BUsable() && ++CommitsSinceGather >= Db.gatherEvery && (a.next != DiskNone || b.next != DiskNone)) {
        CommitsSinceGather = 0;
        if (!ChainsToA()) return false;
    }
    for (FreeList *l : {&a, &b})
        while (l->stored == DiskNone && l->mem.empty() && l->next != DiskNone)
            if (!LoadNext(*l)) return false;
    if (!Db.collection.empty()) DropStoredCopy(b);
    if (b.stored == DiskNone && b.mem.size() + Db.collection.size() > (size_t)FreeMax && b.next != DiskNone) {
        // B's second block joins the head, so the overflow fills it.
        std::vector<uint32_t> &ptrs = SecondBlockPtrs;
        uint32_t next;
        if (!ReadBlock(b.next, &ptrs, &next)) return false;
        if (ptrs.size() < (size_t)FreeMax) {
            Db.collection.push_back(b.next);
            Db.freeCount++;
            b.next = next;
            AppendToMem(b, ptrs);
        }
    }

    // A list whose copy is stale needs its pointers written anew.
    auto needA = [&]() -> size_t {
        if (a.stored != DiskNone || (a.mem.empty() && a.next == DiskNone)) return 0;
        return std::max<size_t>(1, BlocksFor(a.mem.size()));
    };
    auto needB = [&]() -> size_t {
        return b.stored != DiskNone ? 0 : BlocksFor(b.mem.size() + Db.collection.size());
    };
    std::vector<uint32_t> &reserved = StoreReserved;
    reserved.clear();
    for (;;) {
        size_t need = needA() + needB();
        if (reserved.size() < need) {
            bool fromEnd;
            uint32_t p = TakeSector(D4Life::Short, false, &fromEnd);
            if (p == DiskNone) return false;
            if (!fromEnd) D4RollbackNoteTaken(p, false);
            reserved.push_back(p);
        } else if (reserved.size() > need && b.stored != DiskNone) {
            DropStoredCopy(b);   // the sectors beyond the need become blocks of B
        } else {
            break;
        }
    }
    std::vector<uint32_t> &newB = StoreNewB;
    newB.clear();
    uint32_t tailB = b.next;
    if (b.stored == DiskNone) {
        newB.swap(Db.collection);   // the collection keeps newB's space
        newB.insert(newB.end(), b.mem.begin(), b.mem.end());
        newB.erase(std::remove(newB.begin(), newB.end(), DiskNone), newB.end());
        DensestFirst(newB);
    }
    D4CommitNoteFreed(newB, a.mem);
    // Sectors beyond the need (when a list shrank below a block while
    // sectors were taken) become further, sparser blocks of B.
    size_t forA = needA();
    size_t forB = reserved.size() - forA;
    assert(forB >= BlocksFor(newB.size()));
    // The map follows the heads as they change here rather than being
    // rebuilt from both heads at every commit: what goes down a chain
    // leaves it, what the collection adds to B's head joins it.
    bool followMap = MapWithB == BUsable();
    if (forA > 0) {
        std::span<const uint32_t> sectors = std::span(reserved).first(forA);
        std::vector<uint32_t> &chainA = StoreChainA;
        ChainOrder(a.mem, &chainA);
        bool written = WriteChain(a, chainA, sectors, a.next);
        // A's head now holds its last block (once that is written): what
        // lay before it went down the chain.
        if (a.stored == sectors[0]) UncountInA(std::span(chainA).subspan(a.mem.size()));
        if (!written) return false;
        if (followMap) MapFollowChain(chainA, true);
    }
    if (forB > 0) {
        std::span<const uint32_t> sectors = std::span(reserved).subspan(forA);
        if (!WriteChain(b, newB, sectors, tailB)) return false;
        if (followMap) MapFollowChain(newB, MapWithB);
    } else if (b.stored == DiskNone) {
        b.mem.clear();
        b.next = tailB;
        if (tailB != DiskNone && !LoadNext(b)) return false;
    }
    if (!followMap) D4FreeMapRebuild();
    assert(D4FreeMapMatchesHeads());
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
