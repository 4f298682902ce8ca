// sector_cache.cpp - the write-back cache of 512-byte sectors in front of
// the database file.
//
// Slots form one doubly linked list from the oldest to the newest end; a
// hit or a write moves a slot to the newest end and a miss takes the
// oldest slot (written back first when dirty). A hash of disk pointers
// finds a cached sector without walking the list. Every slot keeps a
// checksum of its bytes, checked whenever the bytes leave the slot, so
// that memory corruption is caught before it reaches the file or a
// reader.
#include <algorithm>
#include <cassert>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define ORVEL_CHECKSUM_AVX2 1
#endif

#include "database/engine/engine_state.h"

namespace {

using namespace dbformat;

constexpr int None = -1;
constexpr uint32_t SlotBytes = 528;        // the room one slot takes of the budget
constexpr uint32_t ChunkBytes = 32000;

struct Slot {
    uint16_t dirty = 0;
    uint16_t checksum = 0;
    int older = None;
    int newer = None;
    int hashNext = None;
    uint32_t ptr = DiskNone;
    uint8_t data[SectorSize];
};

// The slots in use, in room reserved for SlotLimit of them: a slot is
// made the first time one is needed, so a process pays in memory and in
// each open's reset only for the sectors it has read (most processes
// read far fewer than the cache holds). Never reallocated, so the bytes
// a peek hands out stay where they are.
std::vector<Slot> Slots;
uint32_t SlotLimit = 0;   // 0: no cache
int Oldest = None, Newest = None;
// The slots made dirty since the last write-back, so that a commit need
// not look at every slot. A slot cleaned some other way (written back
// alone, emptied, dropped) stays listed until the next write-back, and
// one dirtied again may be listed twice: readers keep the listed slots
// that are dirty now, once each.
std::vector<int> DirtyList;
// The hash has a power of two buckets, at least twice the slots, so that
// chains stay short at every cache size.
std::vector<int> Buckets;
uint32_t BucketMask = 0;
// Working space of the write-back, reused by each commit.
std::vector<int> ListedDirty;             // D4CacheDirtySectors
std::vector<int> WriteDirty;              // D4CacheWriteBack
std::vector<struct iovec> WritePieces;    // D4CacheWriteBack: one write's pieces
std::vector<uint8_t> WriteFromCache;      // D4CacheWriteBack: which pieces are new

uint32_t BucketOf(uint32_t ptr) { return (ptr / SectorSize) & BucketMask; }

void Unlink(int s) {
    Slot &x = Slots[s];
    if (x.older != None) Slots[x.older].newer = x.newer; else Oldest = x.newer;
    if (x.newer != None) Slots[x.newer].older = x.older; else Newest = x.older;
    x.older = x.newer = None;
}

// D4CacheAppend: puts slot s at the newest end.
void Append(int s) {
    Slot &x = Slots[s];
    x.older = Newest;
    x.newer = None;
    if (Newest != None) Slots[Newest].newer = s; else Oldest = s;
    Newest = s;
}

// D4CacheTouch
void Touch(int s) {
    if (s == Newest) return;
    Unlink(s);
    Append(s);
}

void HashRemove(int s) {
    uint32_t b = BucketOf(Slots[s].ptr);
    int *link = &Buckets[b];
    while (*link != None) {
        if (*link == s) {
            *link = Slots[s].hashNext;
            Slots[s].hashNext = None;
            return;
        }
        link = &Slots[*link].hashNext;
    }
}

void HashAdd(int s) {
    uint32_t b = BucketOf(Slots[s].ptr);
    Slots[s].hashNext = Buckets[b];
    Buckets[b] = s;
}

void MarkDirty(int s) {
    if (Slots[s].dirty) return;
    Slots[s].dirty = 1;
    DirtyList.push_back(s);
}

// The slots dirty now, each once, in the order of their disk pointers.
// Between write-backs a bulk hold dirties and writes back far more slots
// than the cache has, so the list is also compacted this way whenever it
// grows past a few times the slots.
void SortDirty(std::vector<int> *dirty) {
    dirty->clear();
    for (int s : DirtyList)
        if (Slots[s].dirty) dirty->push_back(s);
    std::sort(dirty->begin(), dirty->end(), [](int a, int b) { return Slots[a].ptr < Slots[b].ptr; });
    dirty->erase(std::unique(dirty->begin(), dirty->end()), dirty->end());
}

void CompactDirtyList() {
    if (DirtyList.size() <= 4 * (size_t)SlotLimit + 64) return;
    std::vector<int> dirty;
    SortDirty(&dirty);
    DirtyList.swap(dirty);
}

// Verifies a slot's checksum before its bytes are used or written.
bool SlotIntact(const Slot &x) {
    if (D4SectorChecksum(x.data) == x.checksum) return true;
    DbIoError(1);
    return false;
}

// Writes back dirty slot s together with the dirty cached sectors that
// follow and precede it on disk, as one write: sectors stored one after
// the other (a hold's new records) then leave the cache in runs instead
// of one by one. The other slots stay cached, clean, where they are.
bool WriteSlot(int s) {
    constexpr int RunMax = 64;
    auto dirtyAt = [](uint32_t ptr) {
        int t = ptr >= SectorSize ? D4CacheFind(ptr) : None;
        return t != None && Slots[t].dirty ? t : None;
    };
    uint32_t first = Slots[s].ptr;
    int count = 1;
    while (count < RunMax / 2 && dirtyAt(first - SectorSize) != None) {
        first -= SectorSize;
        count++;
    }
    while (count < RunMax && dirtyAt(first + (uint32_t)count * SectorSize) != None) count++;
    if (count == 1) {
        // A lone sector (an index node, mostly) goes out from its slot.
        if (!SlotIntact(Slots[s])) return false;
        if (!D4DiskWriteAt(Slots[s].data, first, SectorSize, false)) return false;
        Slots[s].dirty = 0;
        return true;
    }
    static uint8_t run[RunMax * SectorSize];
    std::array<int, RunMax> members;
    for (int i = 0; i < count; i++) {
        members[i] = dirtyAt(first + (uint32_t)i * SectorSize);
        const Slot &x = Slots[members[i]];
        if (!SlotIntact(x)) return false;
        std::memcpy(run + (size_t)i * SectorSize, x.data, SectorSize);
    }
    if (!D4DiskWriteAt(run, first, (uint32_t)count * SectorSize, false)) return false;
    for (int i = 0; i < count; i++) Slots[members[i]].dirty = 0;
    return true;
}

// D4CacheTakeOldest: an unused slot, the oldest one emptied (written back
// first when dirty). In damaged mode nothing can be written, so a clean
// slot is preferred and a dirty one is given up. -1 on failure.
int TakeOldest() {
    int s = Oldest;
    // An emptied slot waiting at the oldest end first, then a new one
    // while there is room, then the oldest sector's.
    if (Slots.size() < SlotLimit && (s == None || Slots[s].ptr != DiskNone)) {
        Slots.emplace_back();
        return (int)Slots.size() - 1;
    }
    if (s == None) return None;
    if (Slots[s].dirty) {
        if (Db.damaged) {
            int c = s;
            while (c != None && Slots[c].dirty) c = Slots[c].newer;
            if (c != None) s = c;
        } else if (!WriteSlot(s)) {
            return None;
        }
    }
    Slot &x = Slots[s];
    if (x.ptr != DiskNone) HashRemove(s);
    x.ptr = DiskNone;
    x.dirty = 0;
    Unlink(s);
    return s;
}

}  // namespace

#if defined(ORVEL_CHECKSUM_AVX2)
namespace {
// The sum below, thirty-two bytes at a time, for processors that have
// the wider registers (every slot's bytes are summed on each read of it).
__attribute__((target("avx2"))) uint16_t ChecksumAvx2(const uint8_t *data) {
    const __m256i flip = _mm256_set1_epi8((char)0x80), zero = _mm256_setzero_si256();
    __m256i acc = zero;
    for (uint32_t i = 0; i < SectorSize; i += 32) {
        __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(data + i));
        acc = _mm256_add_epi64(acc, _mm256_sad_epu8(_mm256_xor_si256(v, flip), zero));
    }
    __m128i half = _mm_add_epi64(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
    return (uint16_t)((uint64_t)_mm_cvtsi128_si64(half) + (uint64_t)_mm_cvtsi128_si64(_mm_unpackhi_epi64(half, half)));
}

bool CpuHasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}
const bool HasAvx2 = CpuHasAvx2();
}  // namespace
#endif

// The 16-bit sum of the 512 bytes taken as signed. A byte taken as
// signed is (byte ^ 0x80) - 128, and 512 x 128 = 65536 vanishes in 16
// bits, so the sum equals that of the flipped bytes taken unsigned,
// which the processor adds sixteen (or thirty-two) at a time.
uint16_t D4SectorChecksum(const uint8_t *data) {
#if defined(ORVEL_CHECKSUM_AVX2)
    if (HasAvx2) return ChecksumAvx2(data);
#endif
#if defined(__SSE2__)
    const __m128i flip = _mm_set1_epi8((char)0x80), zero = _mm_setzero_si128();
    __m128i acc = zero;
    for (uint32_t i = 0; i < SectorSize; i += 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        acc = _mm_add_epi64(acc, _mm_sad_epu8(_mm_xor_si128(v, flip), zero));
    }
    uint64_t low = (uint64_t)_mm_cvtsi128_si64(acc);
    uint64_t high = (uint64_t)_mm_cvtsi128_si64(_mm_unpackhi_epi64(acc, acc));
    return (uint16_t)(low + high);
#else
    uint32_t sum = 0;
    for (uint32_t i = 0; i < SectorSize; i++) sum += (uint8_t)(data[i] ^ 0x80u);
    return (uint16_t)sum;
#endif
}

// Cuts the budget into chunks of at most 32000 bytes, each holding
// floor(n / 528) - 1 slots.
bool D4CacheInit(uint32_t bytes) {
    uint32_t count = 0;
    while (bytes > 0) {
        uint32_t n = std::min(bytes, ChunkBytes);
        if (n / SlotBytes > 1) count += n / SlotBytes - 1;
        bytes -= n;
    }
    Slots = std::vector<Slot>();
    Slots.reserve(count);
    SlotLimit = count;
    uint32_t buckets = 1024;
    while (buckets < 2 * count) buckets *= 2;
    Buckets.assign(buckets, None);
    BucketMask = buckets - 1;
    D4CacheReset();
    return true;
}

void D4CacheReset() {
    std::fill(Buckets.begin(), Buckets.end(), None);
    Oldest = Newest = None;
    DirtyList.clear();
    Slots.clear();
}

int D4CacheFind(uint32_t ptr) {
    if (Buckets.empty()) return None;
    for (int s = Buckets[BucketOf(ptr)]; s != None; s = Slots[s].hashNext)
        if (Slots[s].ptr == ptr) return s;
    return None;
}

void D4CacheDirtySectors(std::vector<uint32_t> *ptrs) {
    std::vector<int> &dirty = ListedDirty;
    SortDirty(&dirty);
    ptrs->clear();
    for (int s : dirty) ptrs->push_back(Slots[s].ptr);
}

bool D4CacheIsDirty(uint32_t ptr) {
    int s = D4CacheFind(ptr);
    return s != None && Slots[s].dirty;
}

// Writes every dirty slot, in the order of their disk pointers. Dirty
// sectors that lie close together go out as one write together with the
// clean sectors between them, whose bytes the write takes from the file
// itself (a page the system no longer holds is read in by the write):
// the sync that follows then carries one request to the disk per span
// instead of one per separate page, and a request costs far more than
// the few pages more it carries. The repeated sectors keep their
// content, so the commit does not list them. Without syncs (see
// D4FileHooks) no request is paid for, and only sectors that follow one
// another go out together: repeating clean bytes would cost copies and
// page writes for nothing.
bool D4CacheWriteBack() {
    std::vector<int> &dirty = WriteDirty;
    SortDirty(&dirty);
    DirtyList.assign(dirty.begin(), dirty.end());   // what a failed write leaves dirty stays listed
    if (dirty.empty()) return true;
    if (Db.damaged) return false;
    // Clean bytes one write may repeat between dirty ones.
    const uint32_t GapMax = D4TestHooks.skipSync && !Db.joinWithoutSync ? 0 : 32 << 10;
    constexpr uint32_t SpanMax = 256 << 10;   // bytes of one write
    std::vector<struct iovec> &pieces = WritePieces;
    std::vector<uint8_t> &fromCache = WriteFromCache;
    size_t i = 0;
    while (i < dirty.size()) {
        const uint32_t first = Slots[dirty[i]].ptr;
        // The dirty sectors one write may take, and whether clean bytes
        // lie between them.
        size_t j = i + 1;
        uint32_t end = SectorSize;
        bool gaps = false;
        for (; j < dirty.size(); j++) {
            uint32_t at = Slots[dirty[j]].ptr - first;
            assert(at >= end);
            if (at - end > GapMax || at + SectorSize > SpanMax) break;
            gaps |= at > end;
            end = at + SectorSize;
        }
        // The clean bytes between them are the file's own, handed to the
        // write through the read mapping: copying them out first (a read
        // per span, before that a read per gap) cost a tenth of a synced
        // hold's processor time. Without the mapping only neighbours join.
        const uint8_t *file = gaps ? DbFileMapped(first, end) : nullptr;
        pieces.clear();
        fromCache.clear();
        uint32_t spanEnd = 0;
        size_t k = i;
        for (; k < j; k++) {
            Slot &x = Slots[dirty[k]];
            uint32_t at = x.ptr - first;
            if (at > spanEnd) {
                if (!file) break;
                pieces.push_back({const_cast<uint8_t *>(file + spanEnd), at - spanEnd});
                fromCache.push_back(0);
            }
            if (!SlotIntact(x)) return false;
            pieces.push_back({x.data, SectorSize});
            fromCache.push_back(1);
            spanEnd = at + SectorSize;
        }
        if (!D4DiskWriteSpan(pieces, fromCache, first)) return false;
        for (size_t m = i; m < k; m++) Slots[dirty[m]].dirty = 0;
        i = k;
    }
    DirtyList.clear();
    return true;
}

// The bytes of sector ptr as the cache holds them (read in first when
// not cached), valid until the next call into the cache; null on
// failure. Readers that only look at a sector use this and copy nothing.
const uint8_t *D4SectorPeek(uint32_t ptr) {
    Db.readRefused = false;
    if (!D4PtrValid(ptr)) {
        D4Damaged("D4SectorRead DiskPtr outside logical file");
        return nullptr;
    }
    int s = D4CacheFind(ptr);
    if (s != None) {
        if (!SlotIntact(Slots[s])) return nullptr;
        Touch(s);
        return Slots[s].data;
    }
    if (SlotLimit == 0) {
        static uint8_t direct[SectorSize];
        return DbFileRead(direct, ptr, SectorSize) ? direct : nullptr;
    }
    s = TakeOldest();
    if (s == None) {
        // No room: the disk refused the write-back of the oldest sector.
        // The file is intact; the hold this read serves fails.
        Db.readRefused = !Db.damaged;
        D4HoldFail();
        return nullptr;
    }
    Slot &x = Slots[s];
    if (!DbFileRead(x.data, ptr, SectorSize)) {
        Append(s);
        return nullptr;
    }
    x.ptr = ptr;
    x.checksum = D4SectorChecksum(x.data);
    x.dirty = 0;
    HashAdd(s);
    Append(s);
    return x.data;
}

bool D4SectorRead(uint8_t *buffer, uint32_t ptr) {
    const uint8_t *p = D4SectorPeek(ptr);
    if (!p) return false;
    std::memcpy(buffer, p, SectorSize);
    return true;
}

namespace {

// The slot that sector ptr is written into: its cached slot, or the
// oldest one emptied (then not yet in the hash or the list). None when
// there is no cache; -2 on failure.
constexpr int WriteFailed = -2;
int WriteTarget(uint32_t ptr, bool *cached) {
    *cached = false;
    if (!D4WriteAllowed()) return WriteFailed;
    if (!D4PtrValid(ptr)) {
        D4Damaged("D4SectorWrite DiskPtr outside logical file");
        return WriteFailed;
    }
    if (!D4RollbackNoteWrite(ptr)) {
        D4HoldFail();
        return WriteFailed;
    }
    int s = D4CacheFind(ptr);
    if (s != None) {
        *cached = true;
        return s;
    }
    if (SlotLimit == 0) return None;
    s = TakeOldest();
    if (s == None) {
        D4HoldFail();
        return WriteFailed;
    }
    return s;
}

// Marks slot s as holding the new bytes of sector ptr.
void WriteDone(int s, uint32_t ptr, bool cached) {
    Slot &x = Slots[s];
    x.checksum = D4SectorChecksum(x.data);
    MarkDirty(s);
    CompactDirtyList();
    if (cached) {
        Touch(s);
    } else {
        x.ptr = ptr;
        HashAdd(s);
        Append(s);
    }
}

}  // namespace

bool D4SectorWrite(const uint8_t *buffer, uint32_t ptr) {
    bool cached;
    int s = WriteTarget(ptr, &cached);
    if (s == WriteFailed) return false;
    if (s == None) return D4DiskWriteAt(buffer, ptr, SectorSize, false);
    std::memcpy(Slots[s].data, buffer, SectorSize);
    WriteDone(s, ptr, cached);
    return true;
}

// Writes sector ptr as a plain item of length data bytes (at most 504):
// next -1, the length, the data, the rest zero; composed in its slot.
bool D4SectorWritePlain(uint32_t ptr, const uint8_t *data, uint32_t length) {
    assert(length <= PlainDataMax);
    bool cached;
    int s = WriteTarget(ptr, &cached);
    if (s == WriteFailed) return false;
    uint8_t direct[SectorSize];
    uint8_t *b = s == None ? direct : Slots[s].data;
    D4PutLong(b + PlainNext, DiskNone);
    D4PutLong(b + PlainLength, length);
    if (length) std::memcpy(b + PlainData, data, length);
    std::memset(b + PlainData + length, 0, SectorSize - PlainData - length);
    if (s == None) return D4DiskWriteAt(b, ptr, SectorSize, false);
    WriteDone(s, ptr, cached);
    return true;
}

// Adds delta to each u32 at the given byte offsets of sector ptr, in
// place. A cached sector's checksum moves by the difference of the bytes
// changed (the sum is of single bytes), so a slot corrupted before stays
// detectably corrupt and the other bytes need not be summed again; for
// the same reason the bytes need no check before they are changed. A
// sector not cached is read, changed and written as a whole.
bool D4SectorAddLongs(uint32_t ptr, std::span<const uint32_t> offsets, uint32_t delta) {
    if (!D4WriteAllowed()) return false;
    if (!D4PtrValid(ptr)) {
        D4Damaged("D4SectorWrite DiskPtr outside logical file");
        return false;
    }
    if (!D4RollbackNoteWrite(ptr)) {
        D4HoldFail();
        return false;
    }
    int s = D4CacheFind(ptr);
    if (s == None) {
        uint8_t sector[SectorSize];
        if (!D4SectorRead(sector, ptr)) return false;
        for (uint32_t off : offsets) {
            assert(off + 4 <= SectorSize);
            D4PutLong(sector + off, D4GetLong(sector + off) + delta);
        }
        return D4SectorWrite(sector, ptr);
    }
    Slot &x = Slots[s];
    uint16_t sum = x.checksum;
    for (uint32_t off : offsets) {
        assert(off + 4 <= SectorSize);
        uint8_t *p = x.data + off;
        uint8_t now[4];
        D4PutLong(now, D4GetLong(p) + delta);
        for (int i = 0; i < 4; i++) sum = (uint16_t)(sum - (uint8_t)(p[i] ^ 0x80u) + (uint8_t)(now[i] ^ 0x80u));
        std::memcpy(p, now, 4);
    }
    x.checksum = sum;
    MarkDirty(s);
    Touch(s);
    return true;
}

// Empties the slots of the sectors drop names and puts them at the
// oldest end, where the next sector read or written finds them first.
void D4CacheDrop(bool (*drop)(uint32_t ptr)) {
    for (int s = 0; s < (int)Slots.size(); s++) {
        Slot &x = Slots[s];
        if (x.ptr == DiskNone || !drop(x.ptr)) continue;
        HashRemove(s);
        x.ptr = DiskNone;
        x.dirty = 0;
        Unlink(s);
        x.newer = Oldest;
        x.older = None;
        if (Oldest != None) Slots[Oldest].older = s; else Newest = s;
        Oldest = s;
    }
}

// Puts data back as sector ptr's content, dirty, as it was before a
// failed hold rewrote it; without a cache it goes to the file.
bool D4CacheRestore(uint32_t ptr, const uint8_t *data) {
    if (SlotLimit == 0) return D4DiskWriteAt(data, ptr, SectorSize, false);
    int s = D4CacheFind(ptr);
    bool cached = s != None;
    if (!cached && (s = TakeOldest()) == None) return false;
    std::memcpy(Slots[s].data, data, SectorSize);
    WriteDone(s, ptr, cached);
    return true;
}

// For tests of memory corruption: flips a byte of a cached sector
// without renewing its checksum. false when the sector is not cached.
bool D4TestCorruptCachedSector(uint32_t ptr, int offset) {
    int s = D4CacheFind(ptr);
    if (s == None || offset < 0 || offset >= (int)SectorSize) return false;
    Slots[s].data[offset] ^= 0x5A;
    return true;
}
